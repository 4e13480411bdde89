#include "Towers.h"

#include <algorithm>
#include <utility>

#include "Game/Entities/towers/DeploymentTowerEntity.h"
#include "Game/Entities/towers/WavePointTowerEntity.h"

namespace levelbench {

namespace {

// Cells between the two drone stations of a pair.
constexpr int kPairSpacing = 6;
// A tower sees the path points within this many pixels of its cell's centre.
constexpr float kSight = 96.0f;

}  // namespace

std::vector<int> cellsBySight(LevelScreen& level) {
  std::vector<std::pair<int, int>> cells;  // (path points within reach, cell)
  for (int cell = 0; cell < static_cast<int>(level.grid().cells().size()); ++cell) {
    if (level.grid().cells()[cell] != 0) continue;
    const float x = 32.0f * (cell % 32) + 16.0f, y = 32.0f * (cell / 32) + 16.0f;
    int seen = 0;
    for (const auto& path : level.model().paths)
      for (const auto& lane : path.second.points)
        for (const auto& p : lane.second) seen += (p.x - x) * (p.x - x) + (p.y - y) * (p.y - y) < kSight * kSight;
    cells.push_back({seen, cell});
  }
  std::sort(cells.rbegin(), cells.rend());
  std::vector<int> order;
  for (const auto& c : cells) order.push_back(c.second);
  return order;
}

Placed placeTowers(levelrunner::Runner& runner, LevelScreen& level, int atLeast) {
  const std::vector<int> order = cellsBySight(level);
  auto freeCell = [&](int awayFrom) {
    for (int cell : order) {
      if (level.grid().cells()[cell] != 0) continue;
      const int dx = cell % 32 - awayFrom % 32, dy = cell / 32 - awayFrom / 32;
      if (awayFrom < 0 || dx * dx + dy * dy >= kPairSpacing * kPairSpacing) return cell;
    }
    return -1;
  };
  auto build = [&](int cell, const std::string& info) {
    if (cell < 0) return false;
    // Rounds past the first buy on the fixed-credits mode's credits, topped up again.
    if (atLeast > 0) level.economy().add(0.0);
    const size_t before = findTowers(level).size();
    runner.perform(level, {0, "build", {std::to_string(cell % 32), std::to_string(cell / 32), info}});
    return findTowers(level).size() > before;
  };
  Placed placed;
  auto note = [&](const xBaseTowerDesc& kind, int towers) {
    placed.towers += towers;
    const std::string name = kind.towerType.substr(kind.towerType.rfind('_') + 1);
    if (towers > 0 && std::find(placed.kinds.begin(), placed.kinds.end(), name) == placed.kinds.end())
      placed.kinds.push_back(name);
  };
  auto full = [&] { return atLeast > 0 && placed.towers >= atLeast; };
  for (;;) {
    const int roundStart = placed.towers;
    int station = -1;
    for (xBaseTowerDesc* kind : level.towerDescriptions()) {
      if (full()) break;
      if (dynamic_cast<xWavePointTowerDesc*>(kind)) continue;  // after the stations
      if (dynamic_cast<xDeploymentTowerDesc*>(kind)) {
        if (atLeast > 0 && atLeast - placed.towers < 2) continue;  // a pair would overshoot
        const int first = freeCell(-1);
        if (!build(first, kind->info)) continue;
        const int second = freeCell(first);
        if (build(second, kind->info)) {
          station = second;
          note(*kind, 2);
        } else {
          runner.perform(level, {0, "cancel", {}});
        }
        continue;
      }
      if (build(freeCell(-1), kind->info)) note(*kind, 1);
    }
    for (xBaseTowerDesc* kind : level.towerDescriptions()) {
      if (full()) break;
      if (!dynamic_cast<xWavePointTowerDesc*>(kind) || station < 0) continue;
      if (!build(freeCell(-1), kind->info)) continue;
      // A click on the pair's station links the beacon into the ships' route.
      runner.perform(level, {0, "click", {std::to_string(station % 32), std::to_string(station / 32)}});
      note(*kind, 1);
    }
    if (atLeast <= 0 || full() || placed.towers == roundStart) break;
  }
  return placed;
}

}  // namespace levelbench
