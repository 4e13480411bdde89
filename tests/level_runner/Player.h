#pragma once
// A simple player for the headless runner: it looks at what the screen shows (the
// drawn paths, the free cells, its credits, the offered tower kinds and their info,
// the towers it owns, the ships flying) and acts only through the runner's player
// commands. It buys the attack kinds in turn on the free cell that sees most of the
// paths the ships are seen to use, aims every tower
// at the leading enemy, upgrades when it cannot buy, and sends each wave once the
// field is clear. Campaign checks and the campaign table use it.
#include <string>
#include <vector>

#include "LevelRunner.h"

namespace levelrunner {

struct PlayerOptions {
  bool buildTowers = true;  // false: only sends the waves
  bool fast = true;         // plays at the fast game speed
  int decideEvery = 15;     // frames between two looks at the field
};

struct PlayResult {
  Outcome outcome;
  bool won = false;
  int towersBuilt = 0;
  int upgrades = 0;
  double seconds = 0.0;  // wall time of the run
};

class Player {
 public:
  // Acts through the commands (not owned), on whichever level it is handed.
  Player(const Commands& commands, const PlayerOptions& options);
  // Hand to Runner::run as its frame observer.
  void onFrame(LevelScreen& level, int frame);
  int towersBuilt() const { return towersBuilt_; }
  int upgrades() const { return upgrades_; }

 private:
  struct Spot {
    int column = 0;
    int row = 0;
    int coverage = 0;  // path marks within the kind's range, weighted by the traffic seen
  };
  bool act(LevelScreen& level, const std::string& verb, std::vector<std::string> args);
  void learnField(LevelScreen& level);
  void watchTraffic(LevelScreen& level);
  bool tryBuild(LevelScreen& level);
  bool tryUpgrade(LevelScreen& level);
  Spot bestSpot(const LevelScreen& level, float range) const;

  const Commands& commands_;
  PlayerOptions options_;
  bool started_ = false;
  std::vector<int> attackKinds_;  // button indices of the offered kinds that shoot
  size_t nextKind_ = 0;
  std::vector<float> pathX_, pathY_;
  std::vector<int> traffic_;  // ships seen near each path mark so far
  bool seenShips_ = false;
  std::vector<Spot> owned_;
  int towersBuilt_ = 0;
  int upgrades_ = 0;
};

// Plays one level with the player and says how it went.
PlayResult playLevel(Runner& runner, RunOptions run, const PlayerOptions& options);

}  // namespace levelrunner
