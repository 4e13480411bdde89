#include "Game/Entities/enemies/SimpleEnemyEntity.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <new>

#include "AssertReport.h"
#include "CollisionContext/Categories/CategoryDispatcher.h"
#include "CollisionContext/ClassificationSpace/xClassificationSpace.h"
#include "CollisionContext/Materials/MaterialDispatcher.h"
#include "CollisionContext/xCollisionContext.h"
#include "Collision/Shapes/xPrimitive.h"
#include "Collision/Shapes/xPrimitiveShape.h"
#include "Collision/Shapes/xShapeDesc.h"
#include "DesignSize.h"
#include "DynamicResources/SfxContainer.h"
#include "Dynamics/Bodies/xBody.h"
#include "GLTexture.h"
#include "Game/Entities/shots/xEnemyBulletEntity.h"
#include "Game/Entities/shots/xPlayerBulletEntity.h"
#include "Game/LevelForEntities.h"
#include "Game/SceneEntityManager.h"
#include "GameApp.h"
#include "Graphics.h"
#include "ResourceManager.h"
#include "Utilities.h"
#include "XmlAttributes.h"
#include "sdk/QuillonPhysicsSDK.h"
#include "tinyaction/TinyActionDelay.h"
#include "tinyaction/TinyActionSequence.h"
#include "tinyaction/TinyRelIncrementator.h"
#include "tinyaction/TinySetter.h"
#include "Store/CStatsAndAchievements.h"

using namespace QuillonPHX2D;

namespace {

constexpr float kHalfPi = 1.5707964f;
// The design area the target query box covers.
// Station parts are searched in a circle around a ship of behaviour 100, and hit
// only within a shorter reach.
constexpr float kStationQueryRadius = 128.0f;
constexpr float kStationReach = 120.0f;
// How long a hit picture takes to fade.
constexpr int kHitFlashMs = 128;
// Durations stay far from overflow whatever a slow-down factor asks.
constexpr double kLongestWalkMs = 3600000.0;

// A destroyed station part costs as many lives as a level starts with: the station is lost.
constexpr int kStationPartLives = 20;

float speedFactorNow() { return theLevel().speedFactor(); }

// A timed action never lasts 0 ms: its curve would divide by zero and a walk
// would end without moving.
int clampDuration(double ms) {
  if (!(ms >= 1.0)) return 1;
  return static_cast<int>(std::min(ms, kLongestWalkMs));
}

TinyAction* delaySequence(int ms) {
  TinyActionSequence* seq = new TinyActionSequence(false);
  seq->addAction(new TinyActionDelay(TinyTimer(clampDuration(ms))));
  return seq;
}

std::string nameOf(const xShape* s) {
  const xCollisionCategory* c = s ? s->getCollisionCategory() : nullptr;
  return c ? c->categoryID() : std::string();
}

}  // namespace

// --- description ---

// Credits one ship may pay: far beyond any balance (the richest pays 400), and
// the hard difficulty's 1.3 times it still fits an int.
constexpr int kMostReward = 1000000;

xEntity* xSimpleEnemyDesc::createEntity() {
  xSimpleEnemy* made = new (std::nothrow) xSimpleEnemy();
  BGE_REPORT_MSG(made, "no memory for an enemy ship");
  return made;
}

bool xSimpleEnemyDesc::readXml(const TiXmlElement* e, const bge::XmlReader& reader) {
  xPhysicsPrimitiveEntityDesc::readXml(e, reader);
  if (!e) return true;
  particleColor = reader.readColor(e, "particleColor", particleColor);
  templateBullet = reader.readString(e, "templateBullet", templateBullet);
  shootingDelay = reader.readInt(e, "shootingDelay", shootingDelay);
  // A ship of no energy could never be shot down.
  energy = reader.readInt(e, "energy", energy, 1);
  texturePathHit = reader.readString(e, "texturePathHit", texturePathHit);
  behavior = reader.readInt(e, "behavior", behavior);
  reward = reader.readInt(e, "reward", reward, 0, kMostReward);
  className = reader.readString(e, "class", className);
  return true;
}

// --- life ---

xSimpleEnemy::xSimpleEnemy() = default;

xSimpleEnemy::~xSimpleEnemy() {
  // The sensor last, and before the primitive entity lets go of the body it hangs on.
  walkAction_.reset();
  shootAction_.reset();
  hitFlashAction_.reset();
  slowAction_.reset();
  retired_.clear();
  queryShape_.reset();
}

void xSimpleEnemy::retire(std::unique_ptr<TinyAction>& action) {
  if (!action) return;
  // It may be the action whose report runs right now: it goes when the frame's
  // update of this ship is over.
  action->stop();
  retired_.push_back(std::move(action));
}

void xSimpleEnemy::notifyCreated(xEntityDesc* desc) {
  xPhysicsPrimitiveEntity::notifyCreated(desc);
  auto* d = dynamic_cast<xSimpleEnemyDesc*>(desc);
  if (!BGE_REPORT_MSG(d, "an enemy ship made from a description that is not an enemy file's")) return;
  particleColor_ = d->particleColor;
  energy_ = d->energy;
  className_ = d->className;
  counted_ = false;

  // A ship read outside a level (a content check) has no level's bullets and no
  // scene to shoot into: it does not shoot.
  if (!d->templateBullet.empty() && levelRunning()) {
    bulletDesc_ = theLevel().enemyBulletKind(d->templateBullet);
    shootingDelay_ = d->shootingDelay;
    startShotTimer();
  } else {
    shootingDelay_ = -1;
  }
  maxEnergy_ = energy_;
  reward_ = static_cast<float>(d->reward);

  if (!d->texturePathHit.empty()) {
    hitTexture_ = obtainEntityTexture(d->texturePathHit, GLTexture::kLinear);
    TinyActionSequence* flash = new TinyActionSequence(false);
    flash->addAction(new TinyRelIncrementator<int>(TinyTimer(kHitFlashMs), &hitAlpha_, -255,
                                                   logarithmicOperatorFunction, 1.0f));
    hitFlashAction_.reset(flash);
  }
  lifeClock_.start();
  behavior_ = d->behavior;

  // The target sensor. Behaviour 100 looks around the ship; every other behaviour
  // looks at the whole field through one box that stays where it is put.
  xPrimitiveShapeDesc sensor;
  const bool aroundShip = behavior_ == kWalkShootStationParts;
  if (aroundShip) sensor.setEnvelope(new xPrimitiveCircle(kStationQueryRadius));
  else sensor.setEnvelope(new xPrimitiveBox(bge::kDesignWidth, bge::kDesignHeight));
  sensor.setMaterial(xMaterialDispatcher::Instance()->defaultMaterial());
  queryShape_.reset(sensor.createShape());
  if (queryShape_) {
    queryShape_->setOwner(this);
    if (aroundShip && body_) {
      queryShape_->setAscendant(body_.get());
      queryShape_->setRelPlacement(Vec3(0.0f, 0.0f, 0.0f));
      queryShape_->setBody(body_.get());
      queryShape_->setCollisionCategory("physics_query_station_parts");
    } else if (aroundShip) {
      queryShape_->setAbsPlacement(placement_);
      queryShape_->setCollisionCategory("physics_query_station_parts");
    } else {
      queryShape_->setAbsPlacement(Vec3(bge::kDesignWidth * 0.5f, bge::kDesignHeight * 0.5f, 0.0f));
      queryShape_->setCollisionCategory("physics_query_target");
    }
    // The field-wide target sensor only asks the world what it holds (its contacts are
    // ignored, see notifyCollision): filed in the world, every shape's query would meet
    // every ship's sensor, and a crowded field would cost the square of its ships.
    if (aroundShip) queryShape_->initialize();
  }
  setZ(renderingPriority_);
}

TinyAction* xSimpleEnemy::makeShotTimer(int ms) { return delaySequence(ms); }

void xSimpleEnemy::startShotTimer() {
  shootAction_.reset();
  shootAction_.reset(makeShotTimer(static_cast<int>(shootingDelay_ * speedFactorNow())));
  shootAction_->start(this, kShotTimer);
}

// --- the walk ---

bool xSimpleEnemy::isWalking() const { return walkAction_ && walkAction_->isRunning(); }

float xSimpleEnemy::pathSpeed() const {
  if (!isWalking()) return 0.0f;
  const bool slowed = slowAction_ && slowAction_->isRunning();
  // A walk of 0 ms (a station part's may be) lasts one, as its timer does.
  return pathLength_ / static_cast<float>(std::max(walkTime(), 1)) * (slowed ? 1.0f - slowFactor_ : 1.0f);
}

void xSimpleEnemy::startWalk(int durationMs) {
  retire(walkAction_);
  if (points_.empty()) return;
  const int steps = static_cast<int>(points_.size()) - 1 - splineWalker_;
  TinyActionSequence* walk = new TinyActionSequence(false);
  walk->addAction(new TinyRelIncrementator<int>(TinyTimer(clampDuration(durationMs)), &splineWalker_,
                                                std::max(steps, 0), linearOperatorFunction, 1.0f));
  walkAction_.reset(walk);
  walkAction_->start(this, kWalkEnded);
}

void xSimpleEnemy::followPath(const std::vector<Vec2>& points, int walkDuration) {
  points_ = points;
  splineWalker_ = 0;
  walkDuration_ = walkDuration;
  const int duration = walkTimeNow();
  pathLength_ = 0.0f;
  if (points_.size() >= 3) {
    for (size_t i = 0; i + 2 < points_.size(); ++i) pathLength_ += qlnLenV2(points_[i + 1] - points_[i]);
  }
  if (!BGE_REPORT_MSG(!points_.empty(), ("enemy ship " + std::to_string(getId()) +
                                           ": a path without points; the ship stays where it is")
                                              .c_str())) {
    retire(walkAction_);
    return;
  }
  startWalk(duration);
  // On the path from the start: a ship spawned after this frame's widget update
  // would otherwise be drawn, and touch things, where its description put it.
  placeOnPath();
}

float xSimpleEnemy::coveredLength() const {
  float covered = 0.0f;
  for (int i = 0; i + 1 < splineWalker_ && i + 1 < static_cast<int>(points_.size()); ++i) {
    covered += qlnLenV2(points_[i + 1] - points_[i]);
  }
  return covered;
}

void xSimpleEnemy::retimeWalk(float s) {
  double duration;
  if (pathLength_ > 0.0f) {
    const float remaining = std::max(pathLength_ - coveredLength(), 0.0f);
    duration = static_cast<double>(remaining) * walkTime() * s / pathLength_;
  } else {
    // A path too short to have a length: share the time out by points instead.
    const int last = static_cast<int>(points_.size()) - 1;
    const double left = last > 0 ? static_cast<double>(last - splineWalker_) / last : 0.0;
    duration = left * walkTime() * s;
  }
  startWalk(clampDuration(duration));
}

int xSimpleEnemy::walkTimeNow() const {
  return walkDuration_ <= -1 ? kDefaultWalkMs : static_cast<int>(walkDuration_ * speedFactorNow());
}

void xSimpleEnemy::resumeNormalSpeed() { retimeWalk(speedFactorNow()); }

void xSimpleEnemy::applyGameSpeed(float factor) {
  if (!walkAction_) return;
  retimeWalk(factor);
  if (shootingDelay_ >= 0) startShotTimer();
}

void xSimpleEnemy::restartPathWalk() {
  const int duration = walkTimeNow();
  startWalk(duration);
}

void xSimpleEnemy::slowDown(float factor, int durationMs) {
  if (slowAction_ && slowAction_->isRunning()) {
    slowAction_->start(this, kSlowEnded);
    return;
  }
  if (!(factor >= 0.0f && factor < 1.0f) || points_.empty()) return;
  double duration;
  if (pathLength_ > 0.0f) {
    const float remaining = std::max(pathLength_ - coveredLength(), 0.0f);
    duration = static_cast<double>(remaining) * walkTime() * speedFactorNow() / (pathLength_ * (1.0f - factor));
  } else {
    const int last = static_cast<int>(points_.size()) - 1;
    const double left = last > 0 ? static_cast<double>(last - splineWalker_) / last : 0.0;
    duration = left * walkTime() * speedFactorNow() / (1.0f - factor);
  }
  slowFactor_ = factor;
  startWalk(clampDuration(duration));
  retire(slowAction_);
  TinyActionSequence* slow = new TinyActionSequence(true);
  slow->addAction(new TinySetter<float>(&slowElapsed_, 0.0f));
  slow->addAction(new TinyRelIncrementator<float>(TinyTimer(clampDuration(durationMs)), &slowElapsed_,
                                                  static_cast<float>(durationMs), linearOperatorFunction, 1.0f));
  slowAction_.reset(slow);
  slowAction_->start(this, kSlowEnded);
}

void xSimpleEnemy::placeOnPath() {
  const int n = static_cast<int>(points_.size());
  if (!BGE_REPORT_MSG(splineWalker_ >= 0 && splineWalker_ < n,
                      ("enemy ship " + std::to_string(getId()) + ": point " + std::to_string(splineWalker_) +
                       " is off its path of " + std::to_string(n))
                          .c_str()))
    return;
  const Vec2& here = points_[splineWalker_];
  float angle = kHalfPi;
  if (splineWalker_ + 1 < n) {
    const Vec2 d = points_[splineWalker_ + 1] - here;
    angle = std::atan2(d.y, d.x) - kHalfPi;
  }
  setAbsPlacement(Vec3(here.x, here.y, angle));
}

void xSimpleEnemy::update(int dt, ScreenBase*) {
  if (shootAction_ && shootAction_->isRunning()) shootAction_->update(dt);
  if (hitFlashAction_ && hitFlashAction_->isRunning()) hitFlashAction_->update(dt);
  if (slowAction_ && slowAction_->isRunning()) slowAction_->update(dt);

  if (behavior_ == kWalkShootActors || behavior_ == kWalkShootStationParts || behavior_ == kWalkEndsLevel) {
    if (walkAction_ && walkAction_->isRunning()) walkAction_->update(dt);
    if (walkAction_ && walkAction_->isRunning()) placeOnPath();
  } else if (behavior_ == kHomeOnActors && lifeClock_.getElapsed() >= 500 && body_) {
    if (xShape* t = findActorTargets()) {
      const Vec3 me = absPlacement();
      const Vec3 them = t->absPlacement();
      const Vec2 d(them.x - me.x, them.y - me.y);
      const float len = qlnLenV2(d);
      if (len > 0.0f) {
        setAbsPlacement(Vec3(me.x, me.y, std::atan2(d.y, d.x) - kHalfPi));
        const Vec2 n = d * (1.0f / len);
        body_->addForce(n * (body_->getMass() * 0.005f));
        body_->setVelocity(n * qlnLenV2(body_->getVelocity()));
      }
    }
  } else if (behavior_ == kSpinInPlace && body_) {
    body_->setAngVelocity(rotationSpeed_);
  }
  retired_.clear();
}

void xSimpleEnemy::actionFinished(int id) {
  LevelForEntities& level = theLevel();
  switch (id) {
    case kWalkEnded:
      if (behavior_ == kWalkEndsLevel) {
        level.finishLevel();
        return;
      }
      if (level.raidsStation()) {
        // On a raided station the exit costs nothing. Raiders come round to shoot again,
        // but a ship that cannot hurt the station would come round for ever and hold the
        // wave, and the level, open: it leaves for good, unpaid.
        if (behavior_ != kWalkShootStationParts) {
          if (sceneEntityManager_) sceneEntityManager_->scheduleRemoval(this, true);
          return;
        }
        splineWalker_ = 0;
        startWalk(walkTimeNow());
        return;
      }
      splineWalker_ = 0;
      startWalk(walkTimeNow());
      level.loseLife();
      return;
    case kShotTimer:
      shoot();
      if (shootAction_) shootAction_->start(this, kShotTimer);
      return;
    case kSlowEnded:
      slowElapsed_ = 0.0f;
      retire(slowAction_);
      resumeNormalSpeed();
      return;
    default: return;
  }
}

// --- targets and shots ---

namespace {

template <typename Rank>
xShape* nearestTouching(xShape* sensor, const char* category, Rank rank) {
  if (!sensor || !g_ptrSDK || !g_ptrSDK->collisionContext()) return nullptr;
  xArray<xShape*> found;
  xCategoryNamed only(category);
  g_ptrSDK->collisionContext()->collisionSpace()->getClosest(found, sensor, true, only);
  xShape* best = nullptr;
  float bestValue = 0.0f;
  for (int i = 0; i < found.size(); ++i) {
    xShape* s = found[i];
    if (s == sensor || nameOf(s) != category) continue;
    float value;
    if (!rank(s, value)) continue;
    if (!best || value < bestValue) {
      best = s;
      bestValue = value;
    }
  }
  return best;
}

}  // namespace

xShape* xSimpleEnemy::findActorTargets() {
  const Vec3 me = absPlacement();
  return nearestTouching(queryShape_.get(), "actor", [&](xShape* s, float& value) {
    const Vec3 c = s->absPlacement();
    value = (c.x - me.x) * (c.x - me.x) + (c.y - me.y) * (c.y - me.y);
    return true;
  });
}

xShape* xSimpleEnemy::findStationPartTargets() {
  const Vec3 me = absPlacement();
  return nearestTouching(queryShape_.get(), "station_part", [&](xShape* s, float& value) {
    const Vec3 c = s->absPlacement();
    value = qlnLenV2(Vec2(c.x - me.x, c.y - me.y));
    const auto* ps = dynamic_cast<xPrimitiveShape*>(s);
    if (auto* circle = ps ? dynamic_cast<xPrimitiveCircle*>(ps->getEnvelope()) : nullptr) value -= circle->getRadius();
    return value <= kStationReach;
  });
}

void xSimpleEnemy::shoot() {
  if (behavior_ == kWalkEndsLevel || !bulletDesc_ || !g_ptrSDK || !sceneEntityManager_) return;
  xShape* target = behavior_ == kWalkShootStationParts ? findStationPartTargets() : findActorTargets();
  if (!target) return;
  auto* bullet = dynamic_cast<xEnemyBulletEntity*>(g_ptrSDK->createEntity(bulletDesc_));
  if (!bullet) return;
  const Vec3 me = absPlacement();
  bullet->setAbsPlacement(Vec3(me.x, me.y, 0.0f));
  const Vec3 t = target->absPlacement();
  const Vec2 d(t.x - me.x, t.y - me.y);
  const float len = qlnLenV2(d);
  if (len > 0.0f && bullet->body()) {
    const Vec2 n = d * (1.0f / len);
    bullet->body()->setVelocity(n * 0.25f);
    bullet->body()->addForce(n * 15.0f);
  }
  sceneEntityManager_->addEntity(bullet, true);
}

// --- damage ---

bool xSimpleEnemy::notifyCollision(xShape* own, xShape* other, const Vec2&, float depth, const Vec2& normal) {
  // Only the hull reacts; the target sensor sees without being hit.
  if (own != shape_.get() || !other) return false;
  const std::string mine = nameOf(own);
  const std::string theirs = nameOf(other);
  if (theirs == "player_bullet") {
    if (mine == "station_part") return false;
    if (energy_ <= 0 || (sceneEntityManager_ && sceneEntityManager_->isScheduledForRemoval(this))) return false;
    auto* bullet = dynamic_cast<xPlayerBulletEntity*>(other->getOwner());
    if (!bullet) return false;
    // A bullet touching at two points in one step hits once.
    SceneEntityManager* bullets = bullet->getSceneEntityManager();
    if (bullets && bullets->isScheduledForRemoval(bullet)) return false;
    takeDamage(bullet->getDamage(), bullet->interestRate());
    if (energy_ <= 0) particleColor_.a = 32;
    SfxContainer::instance()->playSound("SFX_SHIP_HIT_BY_PLAYER_BULLET");
    if (bullets) bullets->scheduleRemoval(bullet, true);
    if (mine == "rock") {
      retire(walkAction_);
      if (body_) body_->addForce(Vec2(-normal.x, -normal.y) * (depth * 30.0f));
    }
    return false;
  }
  if (mine == "rock" && theirs == "rock") {
    retire(walkAction_);
    return true;
  }
  return false;
}

bool xSimpleEnemy::takeDamage(int damage, float interestRate) {
  // A ship already destroyed takes nothing more (and pays nothing twice).
  if (energy_ <= 0 && counted_) return false;
  energy_ -= damage;
  if (energy_ > 0) {
    if (hitFlashAction_) {
      hitFlashAction_->stop();
      hitAlpha_ = 255;
      hitFlashAction_->start(this, kHitFlashEnded);
    }
    const Vec3 p = absPlacement();
    theLevel().spawnScatterParticle(Vec2(p.x, p.y), particleColor_, 2);
    return false;
  }
  energy_ = 0;
  SfxContainer::instance()->playSound("SFX_SHIP_EXPLODE");
  LevelForEntities& level = theLevel();
  float reward = reward_ * (1.0f + interestRate);
  if (nameOf(shape_.get()) == "station_part") {
    reward = 0.0f;
    level.loseLives(kStationPartLives);
  }
  maxEnergy_ = static_cast<int>(maxEnergy_ * (1.0f + interestRate) + maxEnergy_);
  const Vec3 p = absPlacement();
  level.spawnScatterParticle(Vec2(p.x, p.y), particleColor_, 20);
  const Color ring(std::rand() % 255, std::rand() % 255, std::rand() % 255, std::rand() % 255);
  level.spawnRingParticle(Vec2(p.x, p.y), 64.0f, ring, level.particleDescription(0));
  onKilled(reward);
  counted_ = true;
  if (sceneEntityManager_) sceneEntityManager_->scheduleRemoval(this, true);
  return true;
}

void xSimpleEnemy::onKilled(float reward) {
  if (!counted_) {
    counted_ = true;
    if (energy_ <= 0) theLevel().bookKill(maxEnergy_, reward);
  }
  if (g_statsAndAchievements && !g_statsAndAchievements->isAchieved("ACH_FIRST_BLOOD"))
    g_statsAndAchievements->unlockAchievement("ACH_FIRST_BLOOD");
}
