// What the level makes on the entities' behalf: particles, homing missiles and the
// enemy bullet kinds.
#include "Game/LevelEffects.h"

#include <cmath>
#include <cstdlib>
#include <string>

#include "AssertReport.h"
#include "Dynamics/Bodies/xBody.h"
#include "Dynamics/World/xPhysicsContext.h"
#include "Foundation/Math/QlnFunctions.h"
#include "Game/Entities/shots/xEnemyBulletEntity.h"
#include "Game/Entities/towers/TowerFigures.h"
#include "Game/PlacementGrid.h"
#include "Game/Entities/towers/xBaseTowerEntity.h"
#include "Game/SceneEntityManager.h"
#include "Game/WaveFlow.h"
#include "Store/CStatsAndAchievements.h"
#include "sdk/QuillonPhysicsSDK.h"

using namespace QuillonPHX2D;

namespace {

constexpr const char* kParticleFiles[LevelEffects::kParticleKinds] = {
    "content/config/Entities/magicdust_particle.xml", "content/config/Entities/primitive_particle.xml"};

constexpr int kHitParticles = 20;
constexpr int kMissileBurstParticles = 10;
// The playfield a missile must be over to burst visibly (the bridge lies right of it).
constexpr float kFieldW = static_cast<float>(PlacementGrid::kFieldWidth);
constexpr float kFieldH = static_cast<float>(PlacementGrid::kFieldHeight);
constexpr int kRingParticles = 12;
constexpr float kRingStepDeg = 30.0f;
// A ring turns a quarter degree per step and spreads slowly compared with its push.
constexpr float kRingSpin = 3.14159265f / 720.0f;
constexpr float kRingSpeed = 0.005f;
constexpr float kRingPush = 0.025f;
constexpr float kRingTorque = 0.005f;

Vec2 unit(float radians) { return qlnAngleToMtx22(radians) * Vec2(1.0f, 0.0f); }

bool worldStepping() {
  return g_ptrSDK && g_ptrSDK->physicsContext() && g_ptrSDK->physicsContext()->isStepping();
}

// Launch speed and thrust at normal speed; both grow as the game-speed factor falls.
constexpr float kLaunchSpeed = 0.1f;
constexpr float kLaunchThrust = 1.0f;

}  // namespace

LevelEffects::LevelEffects(SceneEntityManager& scene, const WaveFlow& flow) : scene_(scene), flow_(flow) {}

LevelEffects::~LevelEffects() = default;

void LevelEffects::loadParticleKinds() {
  for (int i = 0; i < kParticleKinds; ++i) {
    particleDescs_[i].loadFromFile(kParticleFiles[i]);
    particleDescs_[i].sceneEntityManager = &scene_;
  }
}

const xSimpleParticleEntityDesc& LevelEffects::particleDescription(int kind) const {
  return particleDescs_[kind >= 0 && kind < kParticleKinds ? kind : 0];
}

void LevelEffects::flushRequests() {
  // A request may not add another, but take the list first all the same.
  std::vector<std::function<void()>> requests;
  requests.swap(particleRequests_);
  for (auto& make : requests) make();
}

bool LevelEffects::particleRoom() const { return xSimpleParticle::live() < particleBudget_; }

xSimpleParticle* LevelEffects::throwParticle(xSimpleParticleEntityDesc& desc, const Vec2& position, float angle,
                                             const Color& colour, float speed, float push) {
  if (!g_ptrSDK) return nullptr;
  auto* particle = dynamic_cast<xSimpleParticle*>(g_ptrSDK->createEntity(&desc));
  // A kind whose file gave no body cannot move; such a particle is not shown.
  if (!particle || !particle->body()) {
    if (particle) g_ptrSDK->destroyEntity(particle);
    return nullptr;
  }
  particle->setAbsPlacement(Vec3(position.x, position.y, angle));
  particle->body()->setVelocity(unit(angle) * speed);
  particle->body()->addForce(unit(angle) * push);
  particle->setColor(colour);
  scene_.addEntity(particle, true);
  return particle;
}

void LevelEffects::spawnHit(const Vec2& hitDirection, const Vec2& position, float strength, const Color& colour) {
  if (worldStepping()) {
    particleRequests_.push_back([=] { spawnHit(hitDirection, position, strength, colour); });
    return;
  }
  const float base = std::atan2(-hitDirection.y, -hitDirection.x);
  for (int i = 0; i < kHitParticles; ++i) {
    const float angle = base + qlnDegToRad(static_cast<float>(std::rand() % 10 - 5));
    const float speed = static_cast<float>(std::rand() % 5) * 0.0625f;
    // A particle left out still draws its numbers: the game's other random choices
    // follow the same sequence however full the field is.
    if (!particleRoom()) continue;
    if (!throwParticle(particleDescs_[0], position, angle, colour, speed, strength)) return;
  }
}

void LevelEffects::spawnRing(const Vec2& position, float strength, const Color& colour,
                             xSimpleParticleEntityDesc description) {
  if (worldStepping()) {
    particleRequests_.push_back([=] { spawnRing(position, strength, colour, description); });
    return;
  }
  for (int i = 0; i < kRingParticles; ++i) {
    if (!particleRoom()) return;
    const float angle = qlnDegToRad(kRingStepDeg * static_cast<float>(i));
    xSimpleParticle* p =
        throwParticle(description, position, angle, colour, strength * kRingSpeed, strength * kRingPush);
    if (!p) return;
    p->body()->setAngVelocity(kRingSpin);
    p->body()->addTorque(kRingTorque);
  }
}

void LevelEffects::spawnScatter(const Vec2& position, const Color& colour, int count) {
  if (worldStepping()) {
    particleRequests_.push_back([=] { spawnScatter(position, colour, count); });
    return;
  }
  for (int i = 0; i < count; ++i) {
    const float angle = qlnDegToRad(static_cast<float>(std::rand() % 360));
    const float speed = static_cast<float>(std::rand() % 5) * 0.025f;
    const float push = static_cast<float>(std::rand() % 50) * 0.025f;
    if (!particleRoom()) continue;  // the numbers are drawn all the same, as above
    if (!throwParticle(particleDescs_[0], position, angle, colour, speed, push)) return;
  }
}

void LevelEffects::burstMissilesAtWaveEnd() {
  // A copy: the bursts add particles to the list being walked.
  const std::vector<xSharkEntity*> all = scene_.entities();
  for (xSharkEntity* e : all) {
    auto* missile = dynamic_cast<xPlayerSmartMissileEntity*>(e);
    if (!missile || scene_.isScheduledForRemoval(missile)) continue;
    const Vec3 p = missile->absPlacement();
    if (p.x >= 0.0f && p.x < kFieldW && p.y >= 0.0f && p.y < kFieldH)
      spawnScatter(Vec2(p.x, p.y), Color(255, 0, 255, 255), kMissileBurstParticles);
    scene_.scheduleRemoval(missile, true);
  }
}

void LevelEffects::loadMissileKinds() {
  missileDescs_.clear();
  int count = 0;
  const char* const* files = missileFiles(&count);
  for (int i = 0; i < count; ++i) {
    xPlayerSmartMissileEntityDesc desc;
    desc.loadFromFile(files[i]);
    missileDescs_.push_back(desc);
  }
}

xPlayerSmartMissileEntityDesc LevelEffects::missileDescription(int kind) const {
  // By the type each file declares, so the order of the files does not decide what
  // a tower fires.
  for (const xPlayerSmartMissileEntityDesc& desc : missileDescs_)
    if (desc.complete && desc.type == kind) return desc;
  return xPlayerSmartMissileEntityDesc();
}

void LevelEffects::launchMissile(const Vec2& launchPoint, xBaseTowerEntity* tower, int kind, xSharkEntity* target,
                                 float damageFactor) {
  if (!g_ptrSDK) return;
  xPlayerSmartMissileEntityDesc desc = missileDescription(kind);
  if (!BGE_ERROR_MSG(desc.complete, ("level: no missile file gives the missile kind " + std::to_string(kind) +
                                     (tower ? " that " + tower->getInfoKey() + " fires" : std::string()) +
                                     "; no missile is launched")
                                        .c_str()))
    return;
  desc.sceneEntityManager = &scene_;
  // Straight up when the target is gone or sits on the launch point.
  Vec2 direction(0.0f, -1.0f);
  if (xSharkEntity* live = scene_.findLiveEntity(target)) {
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
  scene_.addEntity(missile, true);
  if (g_statsAndAchievements) g_statsAndAchievements->addStat("STAT_1000_ROCKETS");
}

xEnemyBulletEntityDesc* LevelEffects::enemyBulletKind(const std::string& path) {
  auto it = bulletKinds_.find(path);
  if (it != bulletKinds_.end()) return it->second.get();
  auto desc = std::make_unique<xEnemyBulletEntityDesc>();
  desc->loadFromFile(path);
  xEnemyBulletEntityDesc* kept = desc.get();
  bulletKinds_[path] = std::move(desc);
  return kept;
}
