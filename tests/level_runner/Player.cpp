#include "Player.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>

#include "Game/Entities/enemies/SimpleEnemyEntity.h"
#include "Game/Entities/enemies/xEnemySpawner.h"
#include "Game/Entities/towers/TowerFigures.h"
#include "Game/Entities/towers/xBaseTowerEntity.h"

namespace levelrunner {

namespace {

constexpr int kCell = PlacementGrid::kCellSize;
constexpr float kFieldWidth = PlacementGrid::kFieldWidth, kFieldHeight = PlacementGrid::kFieldHeight;
// Spacing of the points the player marks along each drawn lane.
constexpr float kPathStep = 16.0f;
// How near a ship must pass a path mark to count as traffic there.
constexpr float kTrafficRadius = 48.0f;
// A stretch of path ships have been seen on counts this many times one they have not used
// yet: the first towers go where the fleets fly, but the waves take turns over the paths,
// so the others are guarded before their first ships come.
constexpr int kUsedWeight = 2;
// Damage per second summed over a path's marks that halves the worth of guarding it more:
// about two basic turrets on a straight stretch.
constexpr float kGuardedPath = 2 * 200.0f * 12;
// How fast the player's idea of a ship's energy follows the ships it sees.
constexpr float kEnergyMemory = 0.02f;
// Path that passes the station within this reach, where raiders turn to shoot it, counts
// this many times more.
constexpr float kStationReach = 160.0f;
constexpr float kStationWeight = 3.0f;
// A chain beam's further ships share its hit and are not always there: each counts this much.
constexpr float kExtraBeamShare = 0.25f;
// A tower at "every ship in reach" meets about this many at once.
constexpr float kCrowd = 2.0f;
// Towers to own before the player saves for a better buy instead of taking the best it
// can afford now.
constexpr size_t kTowersBeforeSaving = 3;
// It saves only while the best it can afford is worth less than this share of the best.
constexpr float kSaveBelow = 0.6f;
// A spot that sees less than one unguarded path mark's worth adds nothing worth a
// tower. Without this floor, credits beyond any price (a modded reward) fill every
// cell with towers that guard nothing, each buy weighing all the towers before it.
constexpr float kLeastCoverage = 1.0f;

// Damage per second the tower's figures promise on the ships in its reach, of which a
// shot bigger than the ships it meets wastes the rest.
float promisedDps(const TowerState& state, float shipEnergy) {
  const TowerFigures f = towerFigures(state);
  const bool beam = state.weapon == TowerWeapon::Beam || state.weapon == TowerWeapon::Pulse;
  float ships = f.targets < 0 ? kCrowd : static_cast<float>(std::max(1, f.targets));
  if (beam && f.targets > 1) ships = 1.0f + kExtraBeamShare * (ships - 1.0f);
  const float used = !beam && shipEnergy > 0.0f && f.perHit > 0.0f ? std::min(1.0f, shipEnergy / f.perHit) : 1.0f;
  return f.dps * ships * used;
}

}  // namespace

std::vector<PathMark> markPaths(const LevelScreen& level) {
  std::vector<PathMark> marks;
  int index = 0;
  for (const auto& path : level.model().paths) {
    const std::vector<QuillonPHX2D::Vec2> p = path.second.pointsForSide(PathDescription::Centre);
    for (size_t i = 1; i < p.size(); ++i) {
      const float dx = p[i].x - p[i - 1].x, dy = p[i].y - p[i - 1].y;
      const int steps = std::max(1, static_cast<int>(std::sqrt(dx * dx + dy * dy) / kPathStep));
      for (int s = 0; s < steps; ++s) {
        const float x = p[i - 1].x + dx * s / steps, y = p[i - 1].y + dy * s / steps;
        if (x < 0.0f || y < 0.0f || x > kFieldWidth || y > kFieldHeight) continue;
        marks.push_back({x, y, index});
      }
    }
    ++index;
  }
  return marks;
}

bool FieldPlayer::act(LevelScreen& level, const std::string& verb, std::vector<std::string> args) {
  return commands_.perform(level, Command{0, verb, std::move(args)});
}

bool FieldPlayer::looks(LevelScreen& level, int frame) {
  if (frame % options_.decideEvery != 0 || level.state() == kLevelOver) return false;
  if (!started_) {
    if (!level.spawner() || !level.bridge().ready()) return false;
    started_ = true;
    learnField(level);
    if (options_.fast) act(level, "speed", {"fast"});
  }
  return true;
}

void FieldPlayer::sendWaveWhenClear(LevelScreen& level) {
  if (level.bridge().sendWaveOffered() && level.countLiveEnemies() == 0) act(level, "next", {});
}

PlayResult playWith(Runner& runner, const RunOptions& run, FieldPlayer& player) {
  const auto start = std::chrono::steady_clock::now();
  PlayResult r;
  r.outcome = runner.run(run, [&player](LevelScreen& level, int frame) { player.onFrame(level, frame); });
  r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  r.won = r.outcome.over && r.outcome.lives > 0;
  r.towersBuilt = player.towersBuilt();
  return r;
}

void Player::learnField(LevelScreen& level) {
  // The kinds whose info shows a damage: the ones that shoot by themselves.
  const auto& kinds = level.towerDescriptions();
  for (size_t i = 0; i < kinds.size(); ++i) {
    if (kinds[i]->damage > 0) attackKinds_.push_back(static_cast<int>(i));
    const std::string& info = kinds[i]->info;
    kindNames_.push_back(info.rfind("INFO_", 0) == 0 ? info.substr(5) : info);
  }
  spent_.assign(kinds.size(), 0.0);
  // The station's parts, where raiders go to shoot them.
  std::vector<QuillonPHX2D::Vec3> parts;
  for (xSimpleEnemy* e : findEnemies(level))
    if (level.findLiveEntity(e) && e->categoryName() == "station_part") parts.push_back(e->absPlacement());
  // The centre lines as drawn on the field, marked every few pixels.
  marks_ = markPaths(level);
  pathWeight_.assign(level.model().paths.size(), 1.0f);
  traffic_.assign(marks_.size(), 0);
  for (const PathMark& m : marks_) {
    bool near = false;
    for (const QuillonPHX2D::Vec3& part : parts)
      near = near || (part.x - m.x) * (part.x - m.x) + (part.y - m.y) * (part.y - m.y) <= kStationReach * kStationReach;
    nearStation_.push_back(near);
  }
}

float Player::coverageAt(int column, int row, float range) const {
  const float cx = column * kCell + kCell / 2.0f, cy = row * kCell + kCell / 2.0f;
  const float r2 = range * range;
  float coverage = 0.0f;
  for (size_t i = 0; i < marks_.size(); ++i) {
    const float dx = marks_[i].x - cx, dy = marks_[i].y - cy;
    if (dx * dx + dy * dy <= r2)
      coverage += (traffic_[i] > 0 ? kUsedWeight : 1.0f) * pathWeight_[marks_[i].path] * (nearStation_[i] ? kStationWeight : 1.0f);
  }
  return coverage;
}

void Player::weighPaths(LevelScreen& level) {
  // A path already well guarded needs the next tower less than one still open: each
  // path's marks weigh less the more damage its stretch is under.
  std::vector<float> defence(pathWeight_.size(), 0.0f);
  for (const Owned& o : owned_) {
    xBaseTowerEntity* t = towerAt(level, o.spot.column, o.spot.row);
    if (!t) continue;
    const TowerState state = towerState(*t);
    const float dps = promisedDps(state, shipEnergy_);
    const float range = towerFigures(state).range;
    const float cx = o.spot.column * kCell + kCell / 2.0f, cy = o.spot.row * kCell + kCell / 2.0f;
    const float r2 = range * range;
    for (const PathMark& m : marks_) {
      const float dx = m.x - cx, dy = m.y - cy;
      if (dx * dx + dy * dy <= r2) defence[m.path] += dps;
    }
  }
  for (size_t p = 0; p < pathWeight_.size(); ++p) pathWeight_[p] = 1.0f / (1.0f + defence[p] / kGuardedPath);
}

Player::Spot Player::bestSpot(const LevelScreen& level, float range) const {
  Spot best;
  const auto& grid = level.grid().cells();
  for (size_t cell = 0; cell < grid.size(); ++cell) {
    if (grid[cell] != 0) continue;
    Spot s;
    s.column = PlacementGrid::columnOf(static_cast<int>(cell));
    s.row = PlacementGrid::rowOf(static_cast<int>(cell));
    s.coverage = coverageAt(s.column, s.row, range);
    if (s.coverage > best.coverage) best = s;
  }
  return best;
}

void Player::watchTraffic(LevelScreen& level) {
  // Where the ships fly, as anyone watching the field sees them.
  constexpr float kNear2 = kTrafficRadius * kTrafficRadius;
  for (xSimpleEnemy* e : findEnemies(level)) {
    if (!level.findLiveEntity(e) || e->categoryName().rfind("enemy", 0) != 0) continue;
    const QuillonPHX2D::Vec3 p = e->absPlacement();
    // The energy bars of the ships flying: what a shot usually meets.
    shipEnergy_ += kEnergyMemory * (static_cast<float>(e->energy()) - shipEnergy_);
    for (size_t i = 0; i < marks_.size(); ++i) {
      const float dx = marks_[i].x - p.x, dy = marks_[i].y - p.y;
      if (dx * dx + dy * dy <= kNear2) {
        ++traffic_[i];
        seenShips_ = true;
      }
    }
  }
}

bool Player::build(LevelScreen& level, int kind, const Spot& spot, float value) {
  const std::string col = std::to_string(spot.column), row = std::to_string(spot.row);
  const double before = level.economy().credits();
  act(level, "place", {col, row, std::to_string(kind)});
  if (!towerAt(level, spot.column, spot.row)) return false;
  act(level, "retarget", {col, row, "first"});
  owned_.push_back({spot, kind});
  ++towersBuilt_;
  spent_[kind] += before - level.economy().credits();
  if (options_.trace)
    std::fprintf(stderr, "  built %s at %d,%d: %.3f dps on the paths per credit (coverage %.1f), credits left %.0f\n",
                 kindNames_[kind].c_str(), spot.column, spot.row, value, spot.coverage, level.economy().credits());
  return true;
}

std::string Player::bestBuy() const {
  size_t best = spent_.size();
  for (size_t k = 0; k < spent_.size(); ++k)
    if (spent_[k] > 0.0 && (best == spent_.size() || spent_[k] > spent_[best])) best = k;
  return best < spent_.size() ? kindNames_[best] : std::string();
}

bool Player::spendOnce(LevelScreen& level) {
  // Every buy is worth the damage per second it adds on the paths, weighted by where the
  // ships fly, per credit. The best affordable one is bought; with a few towers standing
  // and no lives slipping away, the player saves for a much better one.
  weighPaths(level);
  const auto& kinds = level.towerDescriptions();
  const double credits = level.economy().credits();
  float bestValue = 0.0f, bestAffordable = 0.0f;
  int buyKind = -1;
  Spot buySpot;
  xBaseTowerEntity* upgradeTower = nullptr;
  Spot upgradeSpot;
  auto weigh = [&](float value, double price) {
    bestValue = std::max(bestValue, value);
    if (price > credits || value <= bestAffordable) return false;
    bestAffordable = value;
    return true;
  };
  for (int kind : attackKinds_) {
    const TowerState state = towerState(*kinds[kind]);
    const Spot spot = bestSpot(level, towerFigures(state).range);
    if (spot.coverage < kLeastCoverage) continue;
    const double price = kinds[kind]->price;
    if (weigh(promisedDps(state, shipEnergy_) * spot.coverage / static_cast<float>(price), price)) {
      buyKind = kind;
      buySpot = spot;
      upgradeTower = nullptr;
    }
  }
  for (const Owned& o : owned_) {
    xBaseTowerEntity* t = towerAt(level, o.spot.column, o.spot.row);
    if (!t || t->getUpgradeLevel() >= xBaseTowerEntity::kMaxUpgradeLevel) continue;
    // The tower as its panel shows it now and after the upgrade.
    const TowerState state = towerState(*t), next = upgradedState(state);
    const float now = promisedDps(state, shipEnergy_) * coverageAt(o.spot.column, o.spot.row, towerFigures(state).range);
    const float then = promisedDps(next, shipEnergy_) * coverageAt(o.spot.column, o.spot.row, towerFigures(next).range);
    const double price = LevelEconomy::upgradePrice(*t);
    if (weigh((then - now) / static_cast<float>(price), price)) {
      upgradeTower = t;
      upgradeSpot = o.spot;
      buyKind = -1;
    }
  }
  const bool slipping = level.flow().lives() < lastLives_;
  if (bestAffordable <= 0.0f) return false;
  if (owned_.size() >= kTowersBeforeSaving && !slipping && bestAffordable < kSaveBelow * bestValue) return false;
  if (upgradeTower) {
    const int before = upgradeTower->getUpgradeLevel();
    const double creditsBefore = level.economy().credits();
    act(level, "upgrade", {std::to_string(upgradeSpot.column), std::to_string(upgradeSpot.row)});
    if (upgradeTower->getUpgradeLevel() == before) return false;
    ++upgrades_;
    // The newest tower bought on that cell is the one standing there.
    for (auto it = owned_.rbegin(); it != owned_.rend(); ++it) {
      const Owned& o = *it;
      if (o.spot.column != upgradeSpot.column || o.spot.row != upgradeSpot.row) continue;
      spent_[o.kind] += creditsBefore - level.economy().credits();
      if (options_.trace)
        std::fprintf(stderr, "  upgraded %s at %d,%d to level %d: %.3f dps on the paths per credit, credits left %.0f\n",
                     kindNames_[o.kind].c_str(), o.spot.column, o.spot.row, before + 1, bestAffordable,
                     level.economy().credits());
      break;
    }
    return true;
  }
  return buyKind >= 0 && build(level, buyKind, buySpot, bestAffordable);
}

void Player::onFrame(LevelScreen& level, int frame) {
  if (!looks(level, frame)) return;
  watchTraffic(level);
  if (options_.trace && level.spawner() && (level.spawner()->currentWave() != tracedWave_ || frame % 600 == 0)) {
    tracedWave_ = level.spawner()->currentWave();
    int standing = 0;
    for (const Owned& o : owned_) standing += towerAt(level, o.spot.column, o.spot.row) != nullptr;
    std::fprintf(stderr, "wave %d/%d frame %d lives %d credits %.0f towers %d standing %d upgrades %d\n", tracedWave_,
                 level.spawner()->waveCount(), frame, level.flow().lives(), level.economy().credits(), towersBuilt_, standing,
                 upgrades_);
  }
  // The first towers go where the first ships are seen to fly.
  if (options_.buildTowers && (seenShips_ || level.model().paths.size() == 1)) {
    for (int spent = 0; spent < 8; ++spent)
      if (!spendOnce(level)) break;
  }
  lastLives_ = level.flow().lives();
  sendWaveWhenClear(level);
}

PlayResult playLevel(Runner& runner, RunOptions run, const PlayerOptions& options) {
  Player player(runner.commands(), options);
  PlayResult r = playWith(runner, run, player);
  r.upgrades = player.upgrades();
  r.bestBuy = player.bestBuy();
  return r;
}

}  // namespace levelrunner
