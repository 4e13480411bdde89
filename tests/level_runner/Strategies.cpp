#include "Strategies.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "Game/Entities/towers/xBaseTowerEntity.h"

namespace levelrunner {

namespace {

constexpr int kCell = PlacementGrid::kCellSize;
// The cheapest player steps this far along the paths for each next tower.
constexpr size_t kSpreadMarks = 8;
// A cell closer than this to a path lies on the lane itself: the cheapest and cluster
// players stand beside it.
constexpr float kBesidePath = 24.0f;

}  // namespace

bool strategyByName(const std::string& name, Strategy& out) {
  if (name == "cheapest") out = Strategy::Cheapest;
  else if (name == "dearest") out = Strategy::Dearest;
  else if (name == "cluster") out = Strategy::Cluster;
  else if (name == "careless") out = Strategy::Careless;
  else return false;
  return true;
}

void StrategyPlayer::learnField(LevelScreen& level) {
  const auto& kinds = level.towerDescriptions();
  for (size_t i = 0; i < kinds.size(); ++i) {
    const std::string& info = kinds[i]->info;
    if (info == "TDEPLOYMENT_INFO" || info == "TWAYPOINT_INFO") continue;
    allKinds_.push_back(static_cast<int>(i));
    if (kinds[i]->damage > 0) attackKinds_.push_back(static_cast<int>(i));
  }
  std::stable_sort(attackKinds_.begin(), attackKinds_.end(),
                   [&](int a, int b) { return kinds[a]->price < kinds[b]->price; });
  marks_ = markPaths(level);
  // The cluster stands where the paths are thickest within a middle reach.
  float best = -1.0f;
  for (const PathMark& m : marks_) {
    int near = 0;
    for (const PathMark& other : marks_) near += std::hypot(m.x - other.x, m.y - other.y) <= 120.0f;
    if (near > best) {
      best = static_cast<float>(near);
      clusterX_ = m.x;
      clusterY_ = m.y;
    }
  }
}

float StrategyPlayer::distanceToPath(int column, int row) const {
  const float cx = column * kCell + kCell / 2.0f, cy = row * kCell + kCell / 2.0f;
  float nearest = 1e9f;
  for (const PathMark& m : marks_) nearest = std::min(nearest, std::hypot(m.x - cx, m.y - cy));
  return nearest;
}

bool StrategyPlayer::nearestFreeCell(const LevelScreen& level, float x, float y, Cell& out) const {
  const auto& grid = level.grid().cells();
  float best = 1e9f;
  for (size_t cell = 0; cell < grid.size(); ++cell) {
    if (grid[cell] != 0) continue;
    const int column = PlacementGrid::columnOf(static_cast<int>(cell)), row = PlacementGrid::rowOf(static_cast<int>(cell));
    if (distanceToPath(column, row) < kBesidePath) continue;
    const float d = std::hypot(column * kCell + kCell / 2.0f - x, row * kCell + kCell / 2.0f - y);
    if (d < best) {
      best = d;
      out = {column, row};
    }
  }
  return best < 1e9f;
}

bool StrategyPlayer::buyOnce(LevelScreen& level) {
  const auto& kinds = level.towerDescriptions();
  const double credits = level.economy().credits();
  if (attackKinds_.empty()) return false;
  int kind = -1;
  Cell cell;
  switch (strategy_) {
    case Strategy::Cheapest: {
      kind = attackKinds_.front();
      if (kinds[kind]->price > credits || marks_.empty()) return false;
      const PathMark& mark = marks_[(nextMark_ * kSpreadMarks) % marks_.size()];
      if (!nearestFreeCell(level, mark.x, mark.y, cell)) return false;
      ++nextMark_;
      break;
    }
    case Strategy::Dearest: {
      for (int k : attackKinds_)
        if (kinds[k]->price <= credits) kind = k;
      if (kind < 0) return false;
      // The free cell with the most path marks in the kind's reach.
      const auto& grid = level.grid().cells();
      const float r2 = kinds[kind]->range * kinds[kind]->range;
      int most = 0;
      for (size_t c = 0; c < grid.size(); ++c) {
        if (grid[c] != 0) continue;
        const Cell here{PlacementGrid::columnOf(static_cast<int>(c)), PlacementGrid::rowOf(static_cast<int>(c))};
        const float cx = here.column * kCell + kCell / 2.0f, cy = here.row * kCell + kCell / 2.0f;
        int seen = 0;
        for (const PathMark& m : marks_) seen += (m.x - cx) * (m.x - cx) + (m.y - cy) * (m.y - cy) <= r2;
        if (seen > most) {
          most = seen;
          cell = here;
        }
      }
      if (most == 0) return false;
      break;
    }
    case Strategy::Cluster: {
      kind = allKinds_[nextKind_ % allKinds_.size()];
      if (kinds[kind]->price > credits || !nearestFreeCell(level, clusterX_, clusterY_, cell)) return false;
      ++nextKind_;
      break;
    }
    case Strategy::Careless: {
      kind = attackKinds_.front();
      if (kinds[kind]->price > credits) return false;
      const auto& grid = level.grid().cells();
      float furthest = -1.0f;
      for (size_t c = 0; c < grid.size(); ++c) {
        if (grid[c] != 0) continue;
        const Cell here{PlacementGrid::columnOf(static_cast<int>(c)), PlacementGrid::rowOf(static_cast<int>(c))};
        const float d = distanceToPath(here.column, here.row);
        if (d > furthest) {
          furthest = d;
          cell = here;
        }
      }
      if (furthest < 0.0f) return false;
      break;
    }
  }
  const std::string col = std::to_string(cell.column), row = std::to_string(cell.row);
  act(level, "place", {col, row, std::to_string(kind)});
  if (!towerAt(level, cell.column, cell.row)) return false;
  ++towersBuilt_;
  if (options_.trace)
    std::fprintf(stderr, "  built %s at %d,%d credits left %.0f\n", kinds[kind]->info.c_str(), cell.column, cell.row,
                 level.economy().credits());
  return true;
}

void StrategyPlayer::onFrame(LevelScreen& level, int frame) {
  if (!looks(level, frame)) return;
  if (options_.buildTowers)
    for (int bought = 0; bought < 8; ++bought)
      if (!buyOnce(level)) break;
  sendWaveWhenClear(level);
}

PlayResult playLevelWith(Runner& runner, RunOptions run, Strategy strategy, const PlayerOptions& options) {
  StrategyPlayer player(runner.commands(), strategy, options);
  return playWith(runner, run, player);
}

}  // namespace levelrunner
