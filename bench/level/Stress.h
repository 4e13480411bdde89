#pragma once
// The level benchmark's stress mode: a level's field crowded far beyond the campaign
// (N ships that never die, T towers of every kind), to see how a frame's cost grows
// with what is on the field.
#include <string>
#include <vector>

#include "LevelRunner.h"

namespace levelbench {

struct StressOptions {
  std::string level = "content/levels/mission_44.xml";
  std::vector<int> ships{50, 200, 500, 1000};
  std::vector<int> towers{0, 20, 60, 120};
  int frames = 300;  // measured once every ship is on the field
  bool render = false;  // draw every frame too, and report the drawing's CPU per frame
};

// Reads "--ships 50,200 --towers 0,60 --frames 300 --level file --render" from argv[first...];
// false with a message on stderr for anything else.
bool parseStressOptions(int argc, char** argv, int first, StressOptions& options);

// One table row per cell of ships x towers, on stdout.
int runStress(levelrunner::Runner& runner, const StressOptions& options);

}  // namespace levelbench
