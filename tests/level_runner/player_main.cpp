// level_player <level file> [--difficulty N] [--mission N] [--mode N] [--seed N]
//              [--frames N] [--no-towers] [--normal-speed] [--trace]
//              [--strategy cheapest|dearest|cluster|careless]
// Plays a level with the simple player (or another strategy) and prints one line:
//   outcome=won|lost|unfinished lives=N towers=N upgrades=N frames=N seconds=S best=KIND
#include <cstdio>
#include <cstdlib>
#include <string>

#include "Player.h"
#include "Strategies.h"

namespace {
const char* const kUsage =
    "usage: level_player <level file> [--difficulty N] [--mission N] [--mode N] [--seed N]\n"
    "                    [--frames N] [--no-towers] [--normal-speed] [--trace] [--strategy NAME]\n";
}  // namespace

int main(int argc, char** argv) {
  levelrunner::RunOptions run;
  run.maxFrames = 150000;
  levelrunner::PlayerOptions player;
  bool simple = true;
  levelrunner::Strategy strategy = levelrunner::Strategy::Cheapest;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    auto number = [&]() -> int {
      if (i + 1 >= argc) {
        std::fprintf(stderr, "%s needs a number\n", a.c_str());
        std::exit(2);
      }
      return std::atoi(argv[++i]);
    };
    if (a == "--help" || a == "-h") {
      std::printf("%s", kUsage);
      return 0;
    }
    if (a == "--difficulty") run.difficulty = number();
    else if (a == "--mission") run.missionId = number();
    else if (a == "--mode") run.mode = number();
    else if (a == "--seed") run.seed = static_cast<unsigned>(number());
    else if (a == "--frames") run.maxFrames = number();
    else if (a == "--no-towers") player.buildTowers = false;
    else if (a == "--normal-speed") player.fast = false;
    else if (a == "--trace") player.trace = true;
    else if (a == "--strategy") {
      if (i + 1 >= argc || !levelrunner::strategyByName(argv[++i], strategy)) {
        std::fprintf(stderr, "--strategy takes cheapest, dearest, cluster or careless\n");
        return 2;
      }
      simple = false;
    } else if (a.size() > 1 && a[0] == '-') {
      std::fprintf(stderr, "unknown option %s\n%s", a.c_str(), kUsage);
      return 2;
    } else if (run.levelFile.empty()) run.levelFile = a;
    else {
      std::fprintf(stderr, "unexpected argument %s\n", a.c_str());
      return 2;
    }
  }
  if (run.levelFile.empty()) {
    std::fprintf(stderr, "%s", kUsage);
    return 2;
  }
  levelrunner::Runner runner;
  const levelrunner::PlayResult r =
      simple ? levelrunner::playLevel(runner, run, player) : levelrunner::playLevelWith(runner, run, strategy, player);
  if (!r.outcome.loaded) {
    std::fprintf(stderr, "%s: the level did not load: it %s\n", run.levelFile.c_str(), r.outcome.refusal.c_str());
    return 1;
  }
  std::fprintf(stderr, "%s\n", levelrunner::describe(r.outcome).c_str());
  std::printf("outcome=%s lives=%d towers=%d upgrades=%d frames=%d seconds=%.1f best=%s\n",
              r.won ? "won" : (r.outcome.over ? "lost" : "unfinished"), r.outcome.lives, r.towersBuilt, r.upgrades,
              r.outcome.frames, r.seconds, r.bestBuy.empty() ? "-" : r.bestBuy.c_str());
  return 0;
}
