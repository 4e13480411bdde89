#include "Game/Entities/drones/PatrolShipEntity.h"

#include <algorithm>
#include <new>

#include "AssertReport.h"
#include "Collision/Shapes/xPrimitive.h"
#include "Collision/Shapes/xPrimitiveShape.h"
#include "Collision/Shapes/xShapeDesc.h"
#include "CollisionContext/Categories/CategoryDispatcher.h"
#include "CollisionContext/ClassificationSpace/xClassificationSpace.h"
#include "CollisionContext/Materials/MaterialDispatcher.h"
#include "CollisionContext/xCollisionContext.h"
#include "DynamicResources/SfxContainer.h"
#include "Dynamics/Bodies/xBody.h"
#include "Game/Entities/shots/xEnemyBulletEntity.h"
#include "Game/Entities/shots/xPlayerBulletEntity.h"
#include "Game/Entities/towers/DeploymentTowerEntity.h"
#include "Game/LevelForEntities.h"
#include "Game/SceneEntityManager.h"
#include "Graphics.h"
#include "SafeDelete.h"
#include "sdk/QuillonPhysicsSDK.h"
#include "tinyaction/TinyActionDelay.h"

using namespace QuillonPHX2D;

namespace {

// Shots leave the ship with this velocity plus a one-step push and a spin.
constexpr float kShotVelocity = 1.0f;
constexpr float kShotForce = 25.0f;
constexpr float kShotTorque = 200.0f;
constexpr int kShotDepth = 300;

std::string categoryOf(const xShape* s) {
  const xCollisionCategory* c = s ? s->getCollisionCategory() : nullptr;
  return c ? c->categoryID() : std::string();
}

}  // namespace

xEntity* xPatrolShipDesc::createEntity() {
  xPatrolShip* made = new (std::nothrow) xPatrolShip();
  BGE_REPORT_MSG(made, "no memory for a patrol ship");
  return made;
}

xPatrolShip::xPatrolShip() = default;

xPatrolShip::~xPatrolShip() = default;

xDeploymentTowerEntity* xPatrolShip::homeTower() const {
  return homeTower_ && theLevel().isLive(homeTower_) ? homeTower_ : nullptr;
}

void xPatrolShip::notifyCreated(xEntityDesc* desc) {
  auto* d = dynamic_cast<xSimpleEnemyDesc*>(desc);
  if (!d) {
    xSimpleEnemy::notifyCreated(desc);
    return;
  }
  // The enemy's creation without its enemy bullet: the ship fires the player's.
  xSimpleEnemyDesc own(*d);
  own.templateBullet.clear();
  xSimpleEnemy::notifyCreated(&own);
  className_ = "noclass";
  reward_ = 0.0f;
  if (!d->templateBullet.empty()) {
    playerBullet_ = std::make_unique<xPlayerBulletEntityDesc>();
    playerBullet_->sceneEntityManager = d->sceneEntityManager;
    playerBullet_->loadFromFile(d->templateBullet);
    shootingDelay_ = d->shootingDelay;
    // Not scaled by the game speed: the ship's walk already is.
    shootAction_.reset();
    shootAction_.reset(new TinyActionDelay(TinyTimer(shootingDelay_ > 0 ? shootingDelay_ : 1)));
    shootAction_->start(this, kShotTimer);
  }

  // The target sensor: a circle of the ship's range that flies with it.
  queryShape_.reset();
  xPrimitiveShapeDesc sensor;
  sensor.setEnvelope(new xPrimitiveCircle(range_));
  sensor.setMaterial(xMaterialDispatcher::Instance()->defaultMaterial());
  queryShape_.reset(sensor.createShape());
  if (!queryShape_) return;
  queryShape_->setOwner(this);
  if (body_) {
    queryShape_->setAscendant(body_.get());
    queryShape_->setRelPlacement(Vec3(0.0f, 0.0f, 0.0f));
    queryShape_->setBody(body_.get());
  } else {
    queryShape_->setAbsPlacement(placement_);
  }
  queryShape_->setCollisionCategory("physics_query_target");
  queryShape_->initialize();
}

xShape* xPatrolShip::findEnemyTargets() {
  if (!queryShape_ || !g_ptrSDK || !g_ptrSDK->collisionContext()) return nullptr;
  xArray<xShape*> found;
  g_ptrSDK->collisionContext()->collisionSpace()->getClosest(found, queryShape_.get(), true);
  const Vec3 me = absPlacement();
  xShape* best = nullptr;
  float bestDistance = 0.0f;
  for (int i = 0; i < found.size(); ++i) {
    xShape* s = found[i];
    if (s == queryShape_.get() || categoryOf(s) != "enemy") continue;
    const Vec3 c = s->absPlacement();
    const float d = qlnLenV2(Vec2(c.x - me.x, c.y - me.y));
    if (d > range_) continue;
    if (!best || d < bestDistance) {
      best = s;
      bestDistance = d;
    }
  }
  return best;
}

void xPatrolShip::shoot() {
  xShape* target = findEnemyTargets();
  if (!target || !playerBullet_ || !g_ptrSDK || !sceneEntityManager_) return;
  xDeploymentTowerEntity* home = homeTower();
  if (!BGE_REPORT_MSG(home, ("patrol ship " + std::to_string(getId()) + ": shoots without a drone station").c_str()))
    return;
  auto* bullet = dynamic_cast<xPlayerBulletEntity*>(g_ptrSDK->createEntity(playerBullet_.get()));
  if (!bullet) return;
  const Vec3 me = absPlacement();
  bullet->setAbsPlacement(me);
  bullet->setInterestRate(home->getInterestRate());
  const Vec3 t = target->absPlacement();
  const Vec2 d(t.x - me.x, t.y - me.y);
  const float len = qlnLenV2(d);
  if (len > 0.0f && bullet->body()) {
    const Vec2 n = d * (1.0f / len);
    bullet->body()->setVelocity(n * kShotVelocity);
    bullet->body()->addForce(n * kShotForce);
    bullet->body()->addTorque(kShotTorque);
  }
  bullet->setZ(kShotDepth);
  sceneEntityManager_->addEntity(bullet, true);
}

bool xPatrolShip::notifyCollision(xShape* own, xShape* other, const Vec2&, float, const Vec2&) {
  if (own != shape_.get() || !other) return false;
  if (categoryOf(other) != "enemy_bullet") return false;
  if (energy_ <= 0 || (sceneEntityManager_ && sceneEntityManager_->isScheduledForRemoval(this))) return false;
  auto* bullet = dynamic_cast<xEnemyBulletEntity*>(other->getOwner());
  if (!bullet || std::find(hitBy_.begin(), hitBy_.end(), bullet) != hitBy_.end()) return false;
  hitBy_.push_back(bullet);
  SceneEntityManager* bullets = bullet->getSceneEntityManager();
  takeDamage(bullet->getDamage(), 0.0f);
  if (energy_ <= 0) particleColor_.a = 32;
  SfxContainer::instance()->playSound("SFX_SHIP_HIT_BY_PLAYER_BULLET");
  if (bullets) bullets->scheduleRemoval(bullet, true);
  return false;
}

void xPatrolShip::update(int dt, ScreenBase* screen) {
  xSimpleEnemy::update(dt, screen);
  hitBy_.clear();
}

void xPatrolShip::actionFinished(int id) {
  if (id != kWalkEnded) {
    xSimpleEnemy::actionFinished(id);
    return;
  }
  // A patrol ship flies its path once, then makes way for the next.
  onKilled(0.0f);
  if (sceneEntityManager_) sceneEntityManager_->scheduleRemoval(this, true);
}

void xPatrolShip::onKilled(float) {
  if (left_) return;
  left_ = true;
  xDeploymentTowerEntity* home = homeTower();
  if (!home) return;
  home->dropShip(this);
  // A ship that leaves with its station (sold, restored) is not replaced.
  if (sceneEntityManager_ && sceneEntityManager_->isScheduledForRemoval(this)) return;
  if (xDeploymentTowerEntity* next = home->partner()) next->launchPatrolShip();
}

void xPatrolShip::drawLayer(Graphics* g, ScreenBase* screen) {
  xSimpleEnemy::drawLayer(g, screen);
  xDeploymentTowerEntity* home = homeTower();
  xDeploymentTowerEntity* other = home ? home->partner() : nullptr;
  if (!(home && home->isSelected()) && !(other && other->isSelected())) return;
  const Vec3 p = absPlacement();
  g->fillCircle(p.x, p.y, range_, 0.1f, Color(0, 210, 255, 16));
  g->drawCircle(p.x, p.y, range_, 0.1f, Color(0, 210, 255, 255));
}
