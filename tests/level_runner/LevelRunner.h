#pragma once
// The headless level runner: loads a level into the real LevelScreen and drives it
// at a fixed 16 ms frame, as fast as the machine allows, with a script of player
// commands. Tests, the benchmark and the command-line runner share it.
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Commands.h"
#include "Game/LevelScreen.h"

class SDLGameApp;

namespace levelrunner {

// Parses "frame verb args..." lines ('#' starts a comment); false with a message on
// a line it cannot read.
bool parseScript(const std::string& text, std::vector<Command>& out, std::string& error);

struct RunOptions {
  std::string levelFile;
  int missionId = 0;
  int mode = MODE_CLASSIC;
  int difficulty = 1;
  unsigned seed = 1;
  std::vector<Command> script;
  int maxFrames = 200000;
  // 0: never draw. N: draw and save a PNG every N frames into screenshotDir.
  int screenshotEvery = 0;
  std::string screenshotDir;
  // When set, the CPU time of each frame's physics step and update, in ms.
  std::vector<double>* frameCpuMs = nullptr;
  // When set, every frame is drawn too: the wall time of its drawing until the GL
  // pipeline has finished it, and the CPU time of the drawing calls themselves, in ms.
  std::vector<double>* frameRenderMs = nullptr;
  std::vector<double>* frameRenderCpuMs = nullptr;
  // When set, the run ends after the first frame at which it answers true.
  std::function<bool(LevelScreen& level)> until;
};

struct Outcome {
  int state = 0;
  int lives = 0;
  double credits = 0.0;
  int wavesStarted = 0;
  int waveCount = 0;
  int kills = 0;
  int spawned = 0;
  int frames = 0;
  bool over = false;     // the level ended and its end delay ran out
  bool loaded = false;   // the level file gave a level with a wave to play
  std::string refusal;   // else why not, in words that follow the file's name
  std::vector<std::string> unknownCommands;
};

std::string describe(const Outcome& o);

// Called after every frame with the level and the frame number.
using FrameObserver = std::function<void(LevelScreen& level, int frame)>;

class Runner {
 public:
  // Opens the application (hidden window, GL context, content folder) once.
  Runner();
  ~Runner();
  Runner(const Runner&) = delete;
  Runner& operator=(const Runner&) = delete;

  // The runner knows the commands of Commands; further ones plug in here.
  void registerCommand(const std::string& verb, CommandHandler handler);
  // Carries out one command on the level now, as a script line would; false when the
  // verb is unknown or its arguments are wrong.
  bool perform(LevelScreen& level, const Command& command);
  const Commands& commands() const;
  // Plays the level to its end or the frame limit; a level that restarts itself (play
  // again) is followed into the new one, the frame count running on.
  Outcome run(const RunOptions& options, const FrameObserver& observer = nullptr);
  // Gives the application a fresh save that holds only the settings, as the runner
  // starts with: a test that put a player profile in it (which brings mission 0's
  // tutorial, among others) calls it when done, so the tests after it, in whatever
  // order or shard, start from the same save.
  void resetSave();

  SDLGameApp& app();
  // Draws the application's screens once and saves the frame as a PNG.
  void saveFrame(const std::string& path);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// The repository folder that holds content/: the working folder or one above it,
// else the source tree the runner was built from.
std::string findContentRoot();

// Loads the game's collision categories and materials (content/config) unless the
// process has them already. The working folder must be the repository root.
void ensureCollisionCatalogue();

}  // namespace levelrunner
