#include "Game/Entities/towers/TowerFigures.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <utility>

#include "FrameStep.h"
#include "Game/Entities/drones/PatrolShipEntity.h"
#include "Game/Entities/missiles/xPlayerSmartMissileEntity.h"
#include "Game/Entities/shots/xPlayerBulletEntity.h"
#include "Game/Entities/towers/DeploymentTowerEntity.h"
#include "Game/Entities/towers/T10TowerEntity.h"
#include "Game/Entities/towers/T1TowerEntity.h"
#include "Game/Entities/towers/T2TowerEntity.h"
#include "Game/Entities/towers/T3TowerEntity.h"
#include "Game/Entities/towers/T4TowerEntity.h"
#include "Game/Entities/towers/T5TowerEntity.h"
#include "Game/Entities/towers/T6TowerEntity.h"
#include "Game/Entities/towers/T7TowerEntity.h"
#include "Game/Entities/towers/T8TowerEntity.h"
#include "Game/Entities/towers/T9TowerEntity.h"
#include "Game/Entities/towers/TowerCatalogue.h"
#include "Game/Entities/towers/xBaseBrain.h"
#include "Game/LevelForEntities.h"
#include "System/DisplayText.h"
#include "Utilities.h"
#include "widgets/LayoutReading.h"
#include "tinyaction/ActionListener.h"
#include "tinyaction/TinyAction.h"
#include "tinyaction/TinyActionSequence.h"

namespace {

constexpr float kFramesPerSecond = 1000.0f / static_cast<float>(kFrameBudgetMs);
// Upgrade steps: damage grows by a twentieth and reach by a tenth per level reached.
constexpr double kDamageStep = 0.05;
constexpr float kRangeStep = 0.1f;
constexpr float kMissileStep = 0.1f;
// A timed action that has not ended after this many frames never will for our purposes.
constexpr int kFrameLimit = 1 << 20;

// How many 16 ms frames a timed action takes from its start to the frame that reports
// its end: the game's own actions, run the way the level runs them.
class EndWatch : public bge::ActionListener {
 public:
  void actionFinished(int) override { ended = true; }
  bool ended = false;
};

int framesToEnd(TinyAction* action) {
  EndWatch watch;
  action->start(&watch, 1);
  int frames = 0;
  while (!watch.ended && frames < kFrameLimit) {
    action->update(static_cast<int>(kFrameBudgetMs));
    ++frames;
  }
  delete action;
  return std::max(frames, 1);
}

// The brain's reload cycle and the pulse's half, in frames; both are asked every
// frame the panel shows, so they are worked out once per delay.
int cycleFrames(int ms) {
  static std::map<int, int> known;
  auto found = known.find(ms);
  if (found != known.end()) return found->second;
  float progress = 0.0f;
  return known[ms] = framesToEnd(xBaseBrain::makeCycle(ms, &progress));
}

int pulseHalfFrames(int ms) {
  static std::map<int, int> known;
  auto found = known.find(ms);
  if (found != known.end()) return found->second;
  float charge = 0.0f;
  return known[ms] = framesToEnd(xT3TowerEntity::makePulse(ms, &charge));
}

TowerWeapon weaponOfDesc(const xBaseTowerDesc& d, int* missileKind) {
  if (dynamic_cast<const xT3TowerDesc*>(&d) || dynamic_cast<const xT7TowerDesc*>(&d) ||
      dynamic_cast<const xT9TowerDesc*>(&d))
    return TowerWeapon::Pulse;
  if (dynamic_cast<const xT6TowerDesc*>(&d)) *missileKind = xT6TowerEntity::kMissileKind;
  else if (dynamic_cast<const xT8TowerDesc*>(&d)) *missileKind = xT8TowerEntity::kMissileKind;
  else if (dynamic_cast<const xT10TowerDesc*>(&d)) *missileKind = xT10TowerEntity::kMissileKind;
  if (*missileKind >= 0) return TowerWeapon::Missile;
  if (dynamic_cast<const xT1TowerDesc*>(&d) || dynamic_cast<const xT2TowerDesc*>(&d) ||
      dynamic_cast<const xT4TowerDesc*>(&d) || dynamic_cast<const xT5TowerDesc*>(&d))
    return d.actionStrategy == "CONTINUOUS" ? TowerWeapon::Beam : TowerWeapon::Shot;
  return TowerWeapon::None;
}

TowerWeapon weaponOfTower(const xBaseTowerEntity& t, int* missileKind) {
  if (dynamic_cast<const xT3TowerEntity*>(&t)) return TowerWeapon::Pulse;
  if (dynamic_cast<const xT6TowerEntity*>(&t)) *missileKind = xT6TowerEntity::kMissileKind;
  else if (dynamic_cast<const xT8TowerEntity*>(&t)) *missileKind = xT8TowerEntity::kMissileKind;
  else if (dynamic_cast<const xT10TowerEntity*>(&t)) *missileKind = xT10TowerEntity::kMissileKind;
  if (*missileKind >= 0) return TowerWeapon::Missile;
  if (dynamic_cast<const xT1TowerEntity*>(&t) || dynamic_cast<const xT2TowerEntity*>(&t) ||
      dynamic_cast<const xT4TowerEntity*>(&t) || dynamic_cast<const xT5TowerEntity*>(&t)) {
    const xBaseBrain* brain = t.getBrain();
    return brain && brain->actionStrategy == kActionContinuous ? TowerWeapon::Beam : TowerWeapon::Shot;
  }
  return TowerWeapon::None;
}

}  // namespace

float upgradedDamage(float damage, int level) {
  // In double, so that 80 x 1.05 is 84 and not a hair below it.
  return static_cast<float>(static_cast<double>(damage) * (1.0 + kDamageStep * level));
}

float upgradedRange(float range, int level) { return (1.0f + kRangeStep * static_cast<float>(level)) * range; }

int missileDamage(int fileDamage, int upgradeLevel, float damageFactor) {
  return static_cast<int>((static_cast<float>(upgradeLevel) * kMissileStep + 1.0f) * static_cast<float>(fileDamage) *
                          damageFactor);
}

const char* const* missileFiles(int* count) {
  static const char* const kFiles[] = {"content/config/Entities/missiles/eagereagle.xml",
                                       "content/config/Entities/missiles/triton.xml",
                                       "content/config/Entities/missiles/doubleeagereagle.xml"};
  *count = static_cast<int>(sizeof kFiles / sizeof kFiles[0]);
  return kFiles;
}

int missileFileDamage(int missileKind) {
  if (levelRunning()) {
    const xPlayerSmartMissileEntityDesc desc = theLevel().getMissileDescription(missileKind);
    if (desc.complete) return desc.damage;
  }
  // Outside a level (the encyclopedia, the balance tables): the files, read once.
  static std::map<int, int> read;
  if (read.empty()) {
    int count = 0;
    const char* const* files = missileFiles(&count);
    for (int i = 0; i < count; ++i) {
      xPlayerSmartMissileEntityDesc desc;
      if (desc.loadFromFile(files[i]) && desc.complete) read[desc.type] = desc.damage;
    }
  }
  auto found = read.find(missileKind);
  return found != read.end() ? found->second : 0;
}

int towerUpgradePrice(double price, int upgradeLevel) {
  // The worth of a tower at its level: its price and a third of it per level reached.
  return static_cast<int>(price + price * (upgradeLevel + 1) / 3.0);
}

double towerSellRefund(double price, int upgradeLevel) {
  return (price + price * (upgradeLevel + 1) / 3.0) * kTowerSellRatio;
}

TowerState towerState(const xBaseTowerDesc& desc) {
  TowerState s;
  s.weapon = weaponOfDesc(desc, &s.missileKind);
  s.damage = static_cast<float>(desc.damage);
  s.range = desc.range;
  s.reloadDelay = desc.reloadDelay;
  s.targetCapacity = desc.quantificationStrategy == "ALL" ? -1 : desc.targetCapacity;
  s.lockOn = desc.lockingStrategy == "ON";
  s.price = desc.price;
  return s;
}

TowerState towerState(const xBaseTowerEntity& tower) {
  TowerState s;
  s.weapon = weaponOfTower(tower, &s.missileKind);
  s.damage = tower.getDamage();
  s.range = tower.getRange();
  s.upgradeLevel = tower.getUpgradeLevel();
  // The delay of the normal game speed: the figures are per second of play.
  if (const auto* pulse = dynamic_cast<const xT3TowerEntity*>(&tower)) s.reloadDelay = pulse->halfMs();
  else s.reloadDelay = tower.getBaseReloadDelay();
  s.targetCapacity = tower.getTargetCapacity();
  s.lockOn = tower.getBrain() && tower.getBrain()->lockingStrategy == kLockingOn;
  s.damageFactor = tower.getLastDamageFactor();
  s.rangeFactor = tower.getLastRangeFactor();
  s.price = tower.getPrice();
  return s;
}

TowerState towerStateOfFile(const std::string& file) {
  for (const TowerKindFile& kind : towerKindFiles()) {
    if (file != kind.file) continue;
    std::unique_ptr<xBaseTowerDesc> desc = makeTowerDescription(kind.typeId);
    if (desc && desc->loadFromFile(file)) return towerState(*desc);
  }
  return TowerState();
}

TowerState upgradedState(const TowerState& state) {
  TowerState s = state;
  s.upgradeLevel = std::min(state.upgradeLevel + 1, xBaseTowerEntity::kMaxUpgradeLevel);
  s.damage = upgradedDamage(state.damage, s.upgradeLevel);
  s.range = upgradedRange(state.range, s.upgradeLevel);
  return s;
}

TowerFigures towerFigures(const TowerState& s) {
  TowerFigures f;
  f.range = s.range * s.rangeFactor;
  f.targets = s.lockOn ? 1 : s.targetCapacity;
  if (s.weapon == TowerWeapon::None) {
    f.targets = 0;
    return f;
  }
  f.attacks = true;
  const float frameSeconds = 1.0f / kFramesPerSecond;
  switch (s.weapon) {
    case TowerWeapon::Beam:
      f.perHit = s.damage * s.damageFactor;
      f.hitsPerSecond = kFramesPerSecond;
      break;
    case TowerWeapon::Pulse: {
      // Burning and resting take the same number of frames.
      const int half = pulseHalfFrames(s.reloadDelay);
      f.perHit = s.damage * s.damageFactor;
      f.hitsPerSecond = kFramesPerSecond * 0.5f;
      f.cycleSeconds = 2.0f * static_cast<float>(half) * frameSeconds;
      break;
    }
    case TowerWeapon::Shot:
    case TowerWeapon::Missile: {
      const int frames = cycleFrames(s.reloadDelay);
      f.perHit = s.weapon == TowerWeapon::Shot
                     ? s.damage * s.damageFactor
                     : static_cast<float>(missileDamage(missileFileDamage(s.missileKind), s.upgradeLevel, s.damageFactor));
      f.hitsPerSecond = kFramesPerSecond / static_cast<float>(frames);
      f.cycleSeconds = static_cast<float>(frames) * frameSeconds;
      break;
    }
    case TowerWeapon::None: break;
  }
  f.dps = f.perHit * f.hitsPerSecond;
  f.burstDps = s.weapon == TowerWeapon::Pulse ? f.perHit * kFramesPerSecond : f.dps;
  return f;
}

DroneFigures droneFigures() {
  static const DroneFigures known = [] {
    DroneFigures f;
    f.range = xPatrolShip::kRange;
    xPatrolShipDesc ship;
    xPlayerBulletEntityDesc bullet;
    if (!ship.loadFromFile(xPatrolShipDesc::kFile) || ship.shootingDelay < 0 || ship.templateBullet.empty() ||
        !bullet.loadFromFile(ship.templateBullet))
      return f;
    f.dps = static_cast<float>(bullet.damage) * kFramesPerSecond /
            static_cast<float>(framesToEnd(xSimpleEnemy::makeShotTimer(ship.shootingDelay)));
    return f;
  }();
  return known;
}

std::string droneFiguresText() {
  const DroneFigures drone = droneFigures();
  return layout::lookupText("DRONE_DAMAGE") + ": " + figureText(drone.dps) + "/s\n" + layout::lookupText("DRONE_RANGE") +
         ": " + amountText(drone.range) + "m";
}

std::string figureText(float value) {
  // Small fractional values keep their first decimal: a beam's 4.2 a frame is not 4.
  const float tenths = std::round(value * 10.0f) / 10.0f;
  if (tenths < 10.0f && tenths != std::floor(tenths)) return formatString("%.1f", static_cast<double>(tenths));
  return formatString("%d", static_cast<int>(std::lround(value)));
}
