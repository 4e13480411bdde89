#include "Player.h"

#include <algorithm>
#include <chrono>
#include <cmath>

#include "Game/Entities/enemies/SimpleEnemyEntity.h"
#include "Game/Entities/towers/xBaseTowerEntity.h"

namespace levelrunner {

namespace {

constexpr int kCell = 32;
// Spacing of the points the player marks along each drawn lane.
constexpr float kPathStep = 16.0f;
// How near a ship must pass a path mark to count as traffic there.
constexpr float kTrafficRadius = 48.0f;
// Towers to own before credits go to upgrades instead of saving for the next kind.
constexpr size_t kTowersBeforeUpgrades = 3;

}  // namespace

Player::Player(const Commands& commands, const PlayerOptions& options) : commands_(commands), options_(options) {}

bool Player::act(LevelScreen& level, const std::string& verb, std::vector<std::string> args) {
  return commands_.perform(level, Command{0, verb, std::move(args)});
}

void Player::learnField(LevelScreen& level) {
  // The kinds whose info shows a damage: the ones that shoot by themselves.
  const auto& kinds = level.towerDescriptions();
  for (size_t i = 0; i < kinds.size(); ++i)
    if (kinds[i]->damage > 0) attackKinds_.push_back(static_cast<int>(i));
  std::stable_sort(attackKinds_.begin(), attackKinds_.end(),
                   [&](int a, int b) { return kinds[a]->price < kinds[b]->price; });
  // The centre lines as drawn on the field, marked every few pixels.
  for (const auto& path : level.paths()) {
    {
      const std::vector<QuillonPHX2D::Vec2> p = path.second.pointsForSide(PathDescription::Centre);
      for (size_t i = 1; i < p.size(); ++i) {
        const float dx = p[i].x - p[i - 1].x, dy = p[i].y - p[i - 1].y;
        const int steps = std::max(1, static_cast<int>(std::sqrt(dx * dx + dy * dy) / kPathStep));
        for (int s = 0; s < steps; ++s) {
          pathX_.push_back(p[i - 1].x + dx * s / steps);
          pathY_.push_back(p[i - 1].y + dy * s / steps);
          traffic_.push_back(0);
        }
      }
    }
  }
}

Player::Spot Player::bestSpot(const LevelScreen& level, float range) const {
  Spot best;
  const auto& grid = level.placementGrid();
  const float r2 = range * range;
  for (size_t cell = 0; cell < grid.size(); ++cell) {
    if (grid[cell] != 0) continue;
    Spot s;
    s.column = static_cast<int>(cell % kCell);
    s.row = static_cast<int>(cell / kCell);
    const float cx = s.column * kCell + kCell / 2.0f, cy = s.row * kCell + kCell / 2.0f;
    for (size_t i = 0; i < pathX_.size(); ++i) {
      const float dx = pathX_[i] - cx, dy = pathY_[i] - cy;
      if (dx * dx + dy * dy <= r2) s.coverage += 1 + traffic_[i];
    }
    if (s.coverage > best.coverage) best = s;
  }
  return best;
}

void Player::watchTraffic(LevelScreen& level) {
  // Where the ships fly, as anyone watching the field sees them.
  constexpr float kNear2 = kTrafficRadius * kTrafficRadius;
  for (xSimpleEnemy* e : LevelScreen::findEnemies(level)) {
    if (!level.findLiveEntity(e) || e->categoryName().rfind("enemy", 0) != 0) continue;
    const QuillonPHX2D::Vec3 p = e->absPlacement();
    for (size_t i = 0; i < pathX_.size(); ++i) {
      const float dx = pathX_[i] - p.x, dy = pathY_[i] - p.y;
      if (dx * dx + dy * dy <= kNear2) {
        ++traffic_[i];
        seenShips_ = true;
      }
    }
  }
}

bool Player::tryBuild(LevelScreen& level) {
  if (attackKinds_.empty()) return false;
  const auto& kinds = level.towerDescriptions();
  // A kind that would see none of the paths from any free cell is passed over.
  for (size_t tries = 0; tries < attackKinds_.size(); ++tries) {
    const int kind = attackKinds_[nextKind_ % attackKinds_.size()];
    const Spot spot = bestSpot(level, kinds[kind]->range);
    if (spot.coverage == 0) {
      ++nextKind_;
      continue;
    }
    if (level.credits() < kinds[kind]->price) return false;
    const std::string col = std::to_string(spot.column), row = std::to_string(spot.row);
    act(level, "place", {col, row, std::to_string(kind)});
    if (!towerAt(level, spot.column, spot.row)) return false;
    act(level, "retarget", {col, row, "first"});
    owned_.push_back(spot);
    ++towersBuilt_;
    ++nextKind_;
    return true;
  }
  return false;
}

bool Player::tryUpgrade(LevelScreen& level) {
  if (owned_.size() < kTowersBeforeUpgrades) return false;
  // The lowest-levelled tower that sees most of the paths, as its panel shows it.
  xBaseTowerEntity* pick = nullptr;
  const Spot* pickSpot = nullptr;
  for (const Spot& s : owned_) {
    xBaseTowerEntity* t = towerAt(level, s.column, s.row);
    if (!t || t->getUpgradeLevel() >= xBaseTowerEntity::kMaxUpgradeLevel) continue;
    if (!pick || t->getUpgradeLevel() < pick->getUpgradeLevel() ||
        (t->getUpgradeLevel() == pick->getUpgradeLevel() && s.coverage > pickSpot->coverage)) {
      pick = t;
      pickSpot = &s;
    }
  }
  if (!pick || level.credits() < LevelScreen::upgradePrice(*pick)) return false;
  const int before = pick->getUpgradeLevel();
  act(level, "upgrade", {std::to_string(pickSpot->column), std::to_string(pickSpot->row)});
  if (pick->getUpgradeLevel() == before) return false;
  ++upgrades_;
  return true;
}

void Player::onFrame(LevelScreen& level, int frame) {
  if (frame % options_.decideEvery != 0 || level.state() == kLevelOver) return;
  if (!started_) {
    if (!level.spawner() || !level.bridgeReady()) return;
    started_ = true;
    learnField(level);
    if (options_.fast) act(level, "speed", {"fast"});
  }
  watchTraffic(level);
  // The first towers go where the first ships are seen to fly.
  if (options_.buildTowers && (seenShips_ || level.paths().size() == 1)) {
    for (int spent = 0; spent < 8; ++spent)
      if (!tryBuild(level) && !tryUpgrade(level)) break;
  }
  if (level.sendWaveOffered() && level.countLiveEnemies() == 0) act(level, "next", {});
}

PlayResult playLevel(Runner& runner, RunOptions run, const PlayerOptions& options) {
  Player player(runner.commands(), options);
  const auto start = std::chrono::steady_clock::now();
  PlayResult r;
  r.outcome = runner.run(run, [&player](LevelScreen& level, int frame) { player.onFrame(level, frame); });
  r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  r.won = r.outcome.over && r.outcome.lives > 0;
  r.towersBuilt = player.towersBuilt();
  r.upgrades = player.upgrades();
  return r;
}

}  // namespace levelrunner
