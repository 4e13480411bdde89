#pragma once
// Other ways to play than the simple player's, each through the runner's player
// commands only, for the campaign table: what a level allows besides the sensible
// player, and that careless play loses.
#include <string>
#include <vector>

#include "Player.h"

namespace levelrunner {

enum class Strategy {
  Cheapest,  // the cheapest shooting tower, one after another along the paths
  Dearest,   // the dearest shooting tower it can afford, on the cell that sees most path
  Cluster,   // every kind in turn, all packed round one spot beside a path
  Careless,  // the cheapest tower on the free cells furthest from every path
};

// "cheapest", "dearest", "cluster", "careless"; false for any other name.
bool strategyByName(const std::string& name, Strategy& out);

class StrategyPlayer : public FieldPlayer {
 public:
  StrategyPlayer(const Commands& commands, Strategy strategy, const PlayerOptions& options)
      : FieldPlayer(commands, options), strategy_(strategy) {}
  void onFrame(LevelScreen& level, int frame) override;

 private:
  struct Cell {
    int column = 0;
    int row = 0;
  };
  void learnField(LevelScreen& level) override;
  bool buyOnce(LevelScreen& level);
  // Distance from a cell's centre to the nearest path mark.
  float distanceToPath(int column, int row) const;
  // The free cell nearest to a point, or false when none is free.
  bool nearestFreeCell(const LevelScreen& level, float x, float y, Cell& out) const;

  Strategy strategy_;
  std::vector<int> attackKinds_;  // button indices of the kinds that shoot, cheapest first
  std::vector<int> allKinds_;     // every kind but the paired drone station and its beacon
  std::vector<PathMark> marks_;
  size_t nextMark_ = 0;       // the cheapest player's way along the paths
  size_t nextKind_ = 0;       // the cluster player's turn over the kinds
  float clusterX_ = 0.0f, clusterY_ = 0.0f;
};

// Plays one level with the strategy and says how it went.
PlayResult playLevelWith(Runner& runner, RunOptions run, Strategy strategy, const PlayerOptions& options);

}  // namespace levelrunner
