// soak [--minutes N | --seconds N] [--sample-seconds N] [--min-visits N]
//      [--level-frames N] [--interrupt-frames N]
// Plays the whole game headless, level after level, restarting, leaving and
// re-entering through its screens, and prints the resident memory as it goes.
// Fails when the flow sticks, never restarted or re-entered a level, or when a run
// of twenty minutes or more grows by 10 MB or more after its first ten minutes.
#include <stdlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "LevelRunner.h"
#include "MyApp.h"
#include "ProcessExit.h"
#include "Soak.h"

namespace {

constexpr double kSettleSeconds = 600.0;
constexpr double kJudgedFromSeconds = 1200.0;
constexpr double kGrowthLimitMb = 10.0;

int g_status = 1;
std::string g_userDirs;

// The game ends the process at the end of its quit path: with the run's verdict,
// and without the run's save folder.
void exitWithVerdict(int) {
  std::error_code ec;
  if (!g_userDirs.empty()) std::filesystem::remove_all(g_userDirs, ec);
  std::fflush(stdout);
  std::exit(g_status);
}

// The run saves into a folder of its own, never into the player's.
bool makeUserDirs() {
  char folder[] = "/tmp/starmoor-soak-XXXXXX";
  if (!mkdtemp(folder)) return false;
  g_userDirs = folder;
  std::filesystem::create_directories(g_userDirs + "/data");
  std::filesystem::create_directories(g_userDirs + "/config");
  setenv("XDG_DATA_HOME", (g_userDirs + "/data").c_str(), 1);
  setenv("XDG_CONFIG_HOME", (g_userDirs + "/config").c_str(), 1);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  soak::Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (i + 1 >= argc) {
      std::fprintf(stderr, "%s needs a number\n", a.c_str());
      return 2;
    }
    const double value = std::atof(argv[++i]);
    if (a == "--minutes") options.seconds = value * 60.0;
    else if (a == "--seconds") options.seconds = value;
    else if (a == "--sample-seconds") options.sampleSeconds = value;
    else if (a == "--min-visits") options.minVisits = static_cast<int>(value);
    else if (a == "--level-frames") options.levelFrames = static_cast<int>(value);
    else if (a == "--interrupt-frames") options.interruptFrames = static_cast<int>(value);
    else {
      std::fprintf(stderr,
                   "usage: soak [--minutes N | --seconds N] [--sample-seconds N] [--min-visits N] "
                   "[--level-frames N] [--interrupt-frames N]\n");
      return 2;
    }
  }
  if (options.seconds <= 0.0 || options.sampleSeconds <= 0.0) {
    std::fprintf(stderr, "the duration and the sampling interval must be positive\n");
    return 2;
  }
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  if (!makeUserDirs()) {
    std::fprintf(stderr, "cannot make a temporary save folder\n");
    return 1;
  }
  const std::string root = levelrunner::findContentRoot();
  if (!root.empty()) std::filesystem::current_path(root);
  soak::installFrameClock();
  setProcessExitHook(&exitWithVerdict);

  MyApp app;
  app.setWindowed(true);
  app.init();
  app.setFrameLimit(false);
  soak::Driver driver(app, options);
  const soak::Report report = driver.run();

  std::printf("\nlevels entered %d, played to the results %d (won %d), visits ended %d, restarts %d, "
              "re-entries %d (%d through the main menu), frames %lld\n",
              report.levelsEntered, report.levelsFinished, report.wins, report.visits, report.restarts,
              report.reentries, report.menuReturns, report.frames);
  std::string verdict = report.failure;
  if (verdict.empty() && (report.levelsEntered == 0 || report.restarts == 0 || report.reentries == 0))
    verdict = "the run never restarted or never re-entered a level";
  if (verdict.empty() && report.samples.size() < 2) verdict = "fewer than two memory samples";
  if (options.seconds >= kJudgedFromSeconds) {
    const double growth = soak::growthAfter(report.samples, kSettleSeconds);
    std::printf("RSS growth after the first %.0f minutes: %.1f MB (limit %.0f MB)\n", kSettleSeconds / 60.0, growth,
                kGrowthLimitMb);
    if (verdict.empty() && growth >= kGrowthLimitMb) verdict = "resident memory grew by 10 MB or more";
  }
  std::printf("%s%s\n", verdict.empty() ? "SOAK PASSED" : "SOAK FAILED: ", verdict.c_str());
  g_status = verdict.empty() ? 0 : 1;
  // Out through the game's own quit path: states closed, the save written, SDL shut.
  app.requestQuit();
  while (app.runFrame()) {
  }
  exitWithVerdict(0);
}
