#pragma once
// A simple player for the headless runner: it looks at what the screen shows (the
// drawn paths, the free cells, its credits, the offered tower kinds and their info,
// the towers it owns, the ships flying) and acts only through the runner's player
// commands. Each look it weighs every purchase it can afford (a new tower of each
// attack kind on the free cell that sees most of the paths the ships are seen to
// use, or an upgrade of a tower it owns) by the damage it adds where ships fly per
// credit, and buys the best; it aims every tower at the leading enemy and sends
// each wave once the field is clear. Campaign checks and the campaign table use it.
// What a buy adds is read from the game's own tower figures (the numbers the build
// buttons and the tower panel show), never worked out again here.
#include <string>
#include <vector>

#include "LevelRunner.h"

namespace levelrunner {

struct PlayerOptions {
  bool buildTowers = true;  // false: only sends the waves
  bool fast = true;         // plays at the fast game speed
  int decideEvery = 15;     // frames between two looks at the field
  bool trace = false;       // prints a line to stderr as each wave starts and at the end
};

struct PlayResult {
  Outcome outcome;
  bool won = false;
  int towersBuilt = 0;
  int upgrades = 0;
  double seconds = 0.0;  // wall time of the run
  std::string bestBuy;   // the kind the credits went to most (towers and their upgrades)
};

// A point every few pixels along the centre line of a drawn path, as the field shows it.
struct PathMark {
  float x = 0.0f;
  float y = 0.0f;
  int path = 0;  // the path's place in the level's order
};
// The marks of every path; entries and exits off the field are left out, out of every
// tower's sight.
std::vector<PathMark> markPaths(const LevelScreen& level);

// What every way of playing shares: it acts through the runner's player commands only,
// and starts looking once the level's spawner and bridge are up.
class FieldPlayer {
 public:
  // Acts through the commands (not owned), on whichever level it is handed.
  FieldPlayer(const Commands& commands, const PlayerOptions& options) : commands_(commands), options_(options) {}
  virtual ~FieldPlayer() = default;
  // Hand to Runner::run as its frame observer.
  virtual void onFrame(LevelScreen& level, int frame) = 0;
  int towersBuilt() const { return towersBuilt_; }

 protected:
  bool act(LevelScreen& level, const std::string& verb, std::vector<std::string> args);
  // Whether the player looks at the field on this frame; on its first look it learns the
  // field and sets the game speed.
  bool looks(LevelScreen& level, int frame);
  virtual void learnField(LevelScreen& level) = 0;
  // Sends the next wave once the bridge offers it and the field is clear.
  void sendWaveWhenClear(LevelScreen& level);

  const Commands& commands_;
  PlayerOptions options_;
  int towersBuilt_ = 0;

 private:
  bool started_ = false;
};

// Runs the level with the player as its frame observer: the outcome, the wall time and
// the towers it built.
PlayResult playWith(Runner& runner, const RunOptions& run, FieldPlayer& player);

class Player : public FieldPlayer {
 public:
  Player(const Commands& commands, const PlayerOptions& options) : FieldPlayer(commands, options) {}
  void onFrame(LevelScreen& level, int frame) override;
  int upgrades() const { return upgrades_; }
  // The tower kind (its info key without "INFO_") it spent most on; empty before any buy.
  std::string bestBuy() const;

 private:
  struct Spot {
    int column = 0;
    int row = 0;
    float coverage = 0.0f;  // path marks within the kind's range, those ships use weighing more
  };
  struct Owned {
    Spot spot;
    int kind = 0;
  };
  void learnField(LevelScreen& level) override;
  void watchTraffic(LevelScreen& level);
  bool spendOnce(LevelScreen& level);
  bool build(LevelScreen& level, int kind, const Spot& spot, float value);
  Spot bestSpot(const LevelScreen& level, float range) const;
  float coverageAt(int column, int row, float range) const;
  void weighPaths(LevelScreen& level);

  std::vector<int> attackKinds_;  // button indices of the offered kinds that shoot
  std::vector<PathMark> marks_;
  std::vector<int> traffic_;        // ships seen near each path mark so far
  std::vector<bool> nearStation_;   // marks where the path passes the station
  std::vector<float> pathWeight_;   // per path: how much a tower there is still needed
  bool seenShips_ = false;
  std::vector<Owned> owned_;
  std::vector<std::string> kindNames_;  // by button index
  std::vector<double> spent_;           // credits spent per kind, by button index
  int upgrades_ = 0;
  int tracedWave_ = -1;
  int lastLives_ = 0;  // lives at the last look
  float shipEnergy_ = 0.0f;  // a ship's energy as the bars show it, averaged over what flew
};

// Plays one level with the player and says how it went.
PlayResult playLevel(Runner& runner, RunOptions run, const PlayerOptions& options);

}  // namespace levelrunner
