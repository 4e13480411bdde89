// The level's missile service: the missile kinds it reads and the launch that towers
// ask it for.
#include <cmath>
#include <string>

#include "AssertReport.h"
#include "Dynamics/Bodies/xBody.h"
#include "Game/Entities/towers/TowerFigures.h"
#include "Game/LevelScreen.h"
#include "Store/CStatsAndAchievements.h"
#include "sdk/QuillonPhysicsSDK.h"

using namespace QuillonPHX2D;

namespace {

// Launch speed and thrust at normal speed; both grow as the game-speed factor falls.
constexpr float kLaunchSpeed = 0.1f;
constexpr float kLaunchThrust = 1.0f;

}  // namespace

void LevelScreen::loadMissileKinds() {
  missileDescs_.clear();
  int count = 0;
  const char* const* files = missileFiles(&count);
  for (int i = 0; i < count; ++i) {
    xPlayerSmartMissileEntityDesc desc;
    desc.loadFromFile(files[i]);
    missileDescs_.push_back(desc);
  }
}

xPlayerSmartMissileEntityDesc LevelScreen::getMissileDescription(int kind) const {
  // By the type each file declares, so the order of the files does not decide what
  // a tower fires.
  for (const xPlayerSmartMissileEntityDesc& desc : missileDescs_)
    if (desc.complete && desc.type == kind) return desc;
  return xPlayerSmartMissileEntityDesc();
}

void LevelScreen::launchMissile(const Vec2& launchPoint, xBaseTowerEntity* tower, int kind, xSharkEntity* target,
                                float damageFactor) {
  if (!g_ptrSDK) return;
  xPlayerSmartMissileEntityDesc desc = getMissileDescription(kind);
  if (!BGE_REPORT_MSG(desc.complete, ("level: no missile file gives the missile kind " + std::to_string(kind) +
                                      (tower ? " that " + tower->getInfoKey() + " fires" : std::string()))
                                         .c_str()))
    return;
  desc.sceneEntityManager = this;
  // Straight up when the target is gone or sits on the launch point.
  Vec2 direction(0.0f, -1.0f);
  if (xSharkEntity* live = findLiveEntity(target)) {
    const Vec3 t = live->absPlacement();
    const Vec2 way(t.x - launchPoint.x, t.y - launchPoint.y);
    const float length = qlnLenV2(way);
    if (length > 1.0e-4f && std::isfinite(length)) direction = way * (1.0f / length);
  }
  const float factor = flow_.speedFactor() > 0.0f ? flow_.speedFactor() : 1.0f;
  const int level = tower ? tower->getUpgradeLevel() : 0;
  const int damage = missileDamage(desc.damage, level, damageFactor);

  auto* missile = dynamic_cast<xPlayerSmartMissileEntity*>(g_ptrSDK->createEntity(&desc));
  if (!missile) return;
  missile->setAbsPlacement(Vec3(launchPoint.x, launchPoint.y, 0.0f));
  missile->setDamage(damage);
  if (tower) missile->setInterestRate(tower->getEffectiveInterest());
  if (xBody* body = missile->body()) {
    body->setVelocity(direction * (kLaunchSpeed / factor));
    body->addForce(direction * (kLaunchThrust / factor));
  }
  missile->setTarget(target);
  missile->setVisible(true);
  addEntity(missile, true);
  if (g_statsAndAchievements) g_statsAndAchievements->addStat("STAT_1000_ROCKETS");
}
