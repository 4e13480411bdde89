#pragma once
// Tower placement shared by the level benchmark's modes: towers go up through the
// player's own commands, on the free cells that see most of the paths.
#include <string>
#include <vector>

#include "LevelRunner.h"

namespace levelbench {

// The kinds that went onto the field, by their names, and how many towers stand.
struct Placed {
  int towers = 0;
  std::vector<std::string> kinds;
};

// Free cells by the path points within reach of their centre, most first.
std::vector<int> cellsBySight(LevelScreen& level);

// Rounds of one tower of every kind the level offers (attack kinds, support units,
// a drone-station pair whose second station stands a few cells off, and a beacon
// linked into their route), each on the free cell that sees most of the paths,
// until `atLeast` towers stand or no round adds one. `atLeast` 0: one round. With a
// count the credits are topped up before each purchase (the fixed-credits mode refills them).
Placed placeTowers(levelrunner::Runner& runner, LevelScreen& level, int atLeast);

}  // namespace levelbench
