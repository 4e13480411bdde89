// level_runner <level file> [--mode N] [--difficulty N] [--seed N] [--mission N]
//              [--script FILE] [--cmd "frame command args"]... [--frames N]
//              [--shots N DIR]
// Plays a level headless and prints how it ended.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "LevelRunner.h"

namespace {
const char* const kUsage =
    "usage: level_runner <level file> [--mode N] [--difficulty N] [--seed N] [--mission N]\n"
    "                    [--script FILE] [--cmd \"frame command args\"]... [--frames N] [--shots N DIR]\n";
}  // namespace

int main(int argc, char** argv) {
  levelrunner::RunOptions options;
  std::string script;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    auto next = [&](const char* what) -> std::string {
      if (i + 1 >= argc) {
        std::fprintf(stderr, "%s needs %s\n", a.c_str(), what);
        std::exit(2);
      }
      return argv[++i];
    };
    if (a == "--help" || a == "-h") {
      std::printf("%s", kUsage);
      return 0;
    }
    if (a == "--mode") options.mode = std::atoi(next("a number").c_str());
    else if (a == "--difficulty") options.difficulty = std::atoi(next("a number").c_str());
    else if (a == "--seed") options.seed = static_cast<unsigned>(std::strtoul(next("a number").c_str(), nullptr, 10));
    else if (a == "--mission") options.missionId = std::atoi(next("a number").c_str());
    else if (a == "--frames") options.maxFrames = std::atoi(next("a number").c_str());
    else if (a == "--cmd") script += next("a command") + "\n";
    else if (a == "--script") {
      std::ifstream in(next("a file"));
      std::stringstream text;
      text << in.rdbuf();
      script += text.str() + "\n";
    } else if (a == "--shots") {
      options.screenshotEvery = std::atoi(next("a frame count").c_str());
      options.screenshotDir = next("a folder");
    } else if (a.size() > 1 && a[0] == '-') {
      std::fprintf(stderr, "unknown option %s\n%s", a.c_str(), kUsage);
      return 2;
    } else if (options.levelFile.empty()) options.levelFile = a;
    else {
      std::fprintf(stderr, "unexpected argument %s\n", a.c_str());
      return 2;
    }
  }
  if (options.levelFile.empty()) {
    std::fprintf(stderr, "%s", kUsage);
    return 2;
  }
  std::string error;
  if (!levelrunner::parseScript(script, options.script, error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 2;
  }
  levelrunner::Runner runner;
  const levelrunner::Outcome o = runner.run(options);
  std::printf("%s\n", levelrunner::describe(o).c_str());
  for (const std::string& c : o.unknownCommands) std::printf("command not understood: %s\n", c.c_str());
  return o.loaded ? 0 : 1;
}
