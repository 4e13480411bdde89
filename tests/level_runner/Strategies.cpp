#include "Strategies.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>

#include "Game/Entities/towers/xBaseTowerEntity.h"

namespace levelrunner {

namespace {

constexpr int kCell = 32;
constexpr float kFieldWidth = 1024.0f, kFieldHeight = 768.0f;
// Spacing of the marks along each drawn lane.
constexpr float kPathStep = 16.0f;
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

StrategyPlayer::StrategyPlayer(const Commands& commands, Strategy strategy, const PlayerOptions& options)
    : commands_(commands), strategy_(strategy), options_(options) {}

bool StrategyPlayer::act(LevelScreen& level, const std::string& verb, std::vector<std::string> args) {
  return commands_.perform(level, Command{0, verb, std::move(args)});
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
  for (const auto& path : level.paths()) {
    const std::vector<QuillonPHX2D::Vec2> p = path.second.pointsForSide(PathDescription::Centre);
    for (size_t i = 1; i < p.size(); ++i) {
      const float dx = p[i].x - p[i - 1].x, dy = p[i].y - p[i - 1].y;
      const int steps = std::max(1, static_cast<int>(std::sqrt(dx * dx + dy * dy) / kPathStep));
      for (int s = 0; s < steps; ++s) {
        const float x = p[i - 1].x + dx * s / steps, y = p[i - 1].y + dy * s / steps;
        if (x < 0.0f || y < 0.0f || x > kFieldWidth || y > kFieldHeight) continue;
        pathX_.push_back(x);
        pathY_.push_back(y);
      }
    }
  }
  // The cluster stands where the paths are thickest within a middle reach.
  float best = -1.0f;
  for (size_t i = 0; i < pathX_.size(); ++i) {
    int near = 0;
    for (size_t j = 0; j < pathX_.size(); ++j)
      near += std::hypot(pathX_[i] - pathX_[j], pathY_[i] - pathY_[j]) <= 120.0f;
    if (near > best) {
      best = static_cast<float>(near);
      clusterX_ = pathX_[i];
      clusterY_ = pathY_[i];
    }
  }
}

float StrategyPlayer::distanceToPath(int column, int row) const {
  const float cx = column * kCell + kCell / 2.0f, cy = row * kCell + kCell / 2.0f;
  float nearest = 1e9f;
  for (size_t i = 0; i < pathX_.size(); ++i) nearest = std::min(nearest, std::hypot(pathX_[i] - cx, pathY_[i] - cy));
  return nearest;
}

bool StrategyPlayer::nearestFreeCell(const LevelScreen& level, float x, float y, Cell& out) const {
  const auto& grid = level.placementGrid();
  float best = 1e9f;
  for (size_t cell = 0; cell < grid.size(); ++cell) {
    if (grid[cell] != 0) continue;
    const int column = static_cast<int>(cell % kCell), row = static_cast<int>(cell / kCell);
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
  const double credits = level.credits();
  if (attackKinds_.empty()) return false;
  int kind = -1;
  Cell cell;
  switch (strategy_) {
    case Strategy::Cheapest: {
      kind = attackKinds_.front();
      if (kinds[kind]->price > credits || pathX_.empty()) return false;
      const size_t mark = (nextMark_ * kSpreadMarks) % pathX_.size();
      if (!nearestFreeCell(level, pathX_[mark], pathY_[mark], cell)) return false;
      ++nextMark_;
      break;
    }
    case Strategy::Dearest: {
      for (int k : attackKinds_)
        if (kinds[k]->price <= credits) kind = k;
      if (kind < 0) return false;
      // The free cell with the most path marks in the kind's reach.
      const auto& grid = level.placementGrid();
      const float r2 = kinds[kind]->range * kinds[kind]->range;
      int most = 0;
      for (size_t c = 0; c < grid.size(); ++c) {
        if (grid[c] != 0) continue;
        const float cx = (c % kCell) * kCell + kCell / 2.0f, cy = (c / kCell) * kCell + kCell / 2.0f;
        int seen = 0;
        for (size_t i = 0; i < pathX_.size(); ++i)
          seen += (pathX_[i] - cx) * (pathX_[i] - cx) + (pathY_[i] - cy) * (pathY_[i] - cy) <= r2;
        if (seen > most) {
          most = seen;
          cell = {static_cast<int>(c % kCell), static_cast<int>(c / kCell)};
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
      const auto& grid = level.placementGrid();
      float furthest = -1.0f;
      for (size_t c = 0; c < grid.size(); ++c) {
        if (grid[c] != 0) continue;
        const float d = distanceToPath(static_cast<int>(c % kCell), static_cast<int>(c / kCell));
        if (d > furthest) {
          furthest = d;
          cell = {static_cast<int>(c % kCell), static_cast<int>(c / kCell)};
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
                 level.credits());
  return true;
}

void StrategyPlayer::onFrame(LevelScreen& level, int frame) {
  if (frame % options_.decideEvery != 0 || level.state() == kLevelOver) return;
  if (!started_) {
    if (!level.spawner() || !level.bridgeReady()) return;
    started_ = true;
    learnField(level);
    if (options_.fast) act(level, "speed", {"fast"});
  }
  if (options_.buildTowers)
    for (int bought = 0; bought < 8; ++bought)
      if (!buyOnce(level)) break;
  if (level.sendWaveOffered() && level.countLiveEnemies() == 0) act(level, "next", {});
}

PlayResult playLevelWith(Runner& runner, RunOptions run, Strategy strategy, const PlayerOptions& options) {
  StrategyPlayer player(runner.commands(), strategy, options);
  const auto start = std::chrono::steady_clock::now();
  PlayResult r;
  r.outcome = runner.run(run, [&player](LevelScreen& level, int frame) { player.onFrame(level, frame); });
  r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  r.won = r.outcome.over && r.outcome.lives > 0;
  r.towersBuilt = player.towersBuilt();
  return r;
}

}  // namespace levelrunner
