#pragma once
// The player's commands on a running level, by name: what a script line, the simple
// player or a test asks the level to do. The runner has one table; a program that
// runs the whole game keeps its own beside the real application.
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "Game/LevelScreen.h"

class SDLGameApp;

namespace levelrunner {

// One player command at a frame: "start", "wave", "speed fast", "place 12 7"...
struct Command {
  int frame = 0;
  std::string verb;
  std::vector<std::string> args;
};

// A command's effect on the running level; false when its arguments are wrong.
using CommandHandler = std::function<bool(LevelScreen& level, const Command& command)>;

// The live tower standing on a cell, or null.
xBaseTowerEntity* towerAt(LevelScreen& level, int column, int row);

class Commands {
 public:
  // Knows: key, start, wave, next, place, upgrade, sell, retarget, build, click,
  // press, cancel, checkpoint, restore, select, choose, hover, pointer, speed. The
  // application (not owned) takes the pointer's position.
  explicit Commands(SDLGameApp& app);
  Commands(const Commands&) = delete;
  Commands& operator=(const Commands&) = delete;

  void registerCommand(const std::string& verb, CommandHandler handler);
  // Carries out one command on the level now; false when the verb is unknown or its
  // arguments are wrong.
  bool perform(LevelScreen& level, const Command& command) const;

 private:
  SDLGameApp& app_;
  std::map<std::string, CommandHandler> commands_;
};

}  // namespace levelrunner
