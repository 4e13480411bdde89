// The level's particle services: hits, rings and explosions. Entities ask the level
// for particles rather than making them, because the level owns the particle kinds
// and registers each new particle with the physics world and the scene.
#include <cmath>
#include <cstdlib>

#include "Dynamics/Bodies/xBody.h"
#include "Dynamics/World/xPhysicsContext.h"
#include "Foundation/Math/QlnFunctions.h"
#include "Game/Entities/missiles/xPlayerSmartMissileEntity.h"
#include "Game/Entities/shots/xSimpleParticle.h"
#include "Game/LevelScreen.h"
#include "sdk/QuillonPhysicsSDK.h"

using namespace QuillonPHX2D;

namespace {

constexpr const char* kParticleFiles[LevelScreen::kParticleKinds] = {
    "content/config/Entities/magicdust_particle.xml", "content/config/Entities/primitive_particle.xml"};

constexpr int kHitParticles = 20;
constexpr int kMissileBurstParticles = 10;
// The playfield a missile must be over to burst visibly (the bridge lies right of it).
constexpr float kFieldW = 1024.0f;
constexpr float kFieldH = 768.0f;
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

}  // namespace

void LevelScreen::loadParticleKinds() {
  for (int i = 0; i < kParticleKinds; ++i) {
    particleDescs_[i].loadFromFile(kParticleFiles[i]);
    particleDescs_[i].sceneEntityManager = this;
  }
}

const xSimpleParticleEntityDesc& LevelScreen::particleDescription(int kind) const {
  return particleDescs_[kind >= 0 && kind < kParticleKinds ? kind : 0];
}

void LevelScreen::flushParticleRequests() {
  // A request may not add another, but take the list first all the same.
  std::vector<std::function<void()>> requests;
  requests.swap(particleRequests_);
  for (auto& make : requests) make();
}

xSimpleParticle* LevelScreen::throwParticle(xSimpleParticleEntityDesc& desc, const Vec2& position, float angle,
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
  addEntity(particle, true);
  return particle;
}

void LevelScreen::spawnHitParticle(const Vec2& hitDirection, const Vec2& position, float strength,
                                   const Color& colour) {
  if (worldStepping()) {
    particleRequests_.push_back([=] { spawnHitParticle(hitDirection, position, strength, colour); });
    return;
  }
  const float base = std::atan2(-hitDirection.y, -hitDirection.x);
  for (int i = 0; i < kHitParticles; ++i) {
    const float angle = base + qlnDegToRad(static_cast<float>(std::rand() % 10 - 5));
    const float speed = static_cast<float>(std::rand() % 5) * 0.0625f;
    if (!throwParticle(particleDescs_[0], position, angle, colour, speed, strength)) return;
  }
}

void LevelScreen::spawnRingParticle(const Vec2& position, float strength, const Color& colour,
                                    xSimpleParticleEntityDesc description) {
  if (worldStepping()) {
    particleRequests_.push_back([=] { spawnRingParticle(position, strength, colour, description); });
    return;
  }
  for (int i = 0; i < kRingParticles; ++i) {
    const float angle = qlnDegToRad(kRingStepDeg * static_cast<float>(i));
    xSimpleParticle* p =
        throwParticle(description, position, angle, colour, strength * kRingSpeed, strength * kRingPush);
    if (!p) return;
    p->body()->setAngVelocity(kRingSpin);
    p->body()->addTorque(kRingTorque);
  }
}

void LevelScreen::spawnScatterParticle(const Vec2& position, const Color& colour, int count) {
  if (worldStepping()) {
    particleRequests_.push_back([=] { spawnScatterParticle(position, colour, count); });
    return;
  }
  for (int i = 0; i < count; ++i) {
    const float angle = qlnDegToRad(static_cast<float>(std::rand() % 360));
    const float speed = static_cast<float>(std::rand() % 5) * 0.025f;
    const float push = static_cast<float>(std::rand() % 50) * 0.025f;
    if (!throwParticle(particleDescs_[0], position, angle, colour, speed, push)) return;
  }
}

void LevelScreen::burstMissilesAtWaveEnd() {
  // A copy: the bursts add particles to the list being walked.
  const std::vector<xSharkEntity*> all = entities();
  for (xSharkEntity* e : all) {
    auto* missile = dynamic_cast<xPlayerSmartMissileEntity*>(e);
    if (!missile || isScheduledForRemoval(missile)) continue;
    const Vec3 p = missile->absPlacement();
    if (p.x >= 0.0f && p.x < kFieldW && p.y >= 0.0f && p.y < kFieldH)
      spawnScatterParticle(Vec2(p.x, p.y), Color(255, 0, 255, 255), kMissileBurstParticles);
    scheduleRemoval(missile, true);
  }
}
