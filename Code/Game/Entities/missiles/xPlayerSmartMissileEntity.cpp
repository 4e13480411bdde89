#include "Game/Entities/missiles/xPlayerSmartMissileEntity.h"

#include <cmath>
#include <new>

#include "AssertReport.h"
#include "Collision/Shapes/xPrimitive.h"
#include "Collision/Shapes/xPrimitiveShape.h"
#include "Collision/Shapes/xShapeDesc.h"
#include "CollisionContext/Categories/CategoryDispatcher.h"
#include "CollisionContext/ClassificationSpace/xClassificationSpace.h"
#include "CollisionContext/Materials/MaterialDispatcher.h"
#include "CollisionContext/xCollisionContext.h"
#include "DesignSize.h"
#include "Dynamics/Bodies/xBody.h"
#include "Game/Entities/enemies/SimpleEnemyEntity.h"
#include "Game/SceneEntityManager.h"
#include "GLTexture.h"
#include "Graphics.h"
#include "SafeDelete.h"
#include "Texture.h"
#include "XmlAttributes.h"
#include "sdk/QuillonPhysicsSDK.h"

using namespace QuillonPHX2D;

namespace {

// The query box covers the design area, whatever size the window has: the field
// and its targets are laid out on it.
constexpr float kFarAway = 1.0e38f;
// The push toward the target each frame, on top of the turned velocity.
constexpr float kSteeringForce = 0.2f;
constexpr float kHalfPi = 1.5707963f;

bool inCategory(const xShape* shape, const char* name) {
  const xCollisionCategory* c = shape ? shape->getCollisionCategory() : nullptr;
  return c && c->categoryID() == name;
}

}  // namespace

// --- description ---

xEntity* xPlayerSmartMissileEntityDesc::createEntity() {
  xPlayerSmartMissileEntity* made = new (std::nothrow) xPlayerSmartMissileEntity();
  BGE_REPORT_MSG(made, "no memory for a missile");
  return made;
}

bool xPlayerSmartMissileEntityDesc::readXml(const TiXmlElement* e, const bge::XmlReader& reader) {
  xPhysicsPrimitiveEntityDesc::readXml(e, reader);
  if (!e) return true;
  // No crosshair image means none, not a texture made from an empty name.
  crosshair = obtainEntityTexture(reader.readString(e, "crosshairImage", ""), GLTexture::kLinear);
  damage = reader.readInt(e, "damage", damage, 0);
  type = reader.readInt(e, "type", type);
  return true;
}

// --- entity ---

xPlayerSmartMissileEntity::~xPlayerSmartMissileEntity() = default;

void xPlayerSmartMissileEntity::notifyCreated(xEntityDesc* desc) {
  xPhysicsPrimitiveEntity::notifyCreated(desc);
  if (const auto* d = dynamic_cast<const xPlayerSmartMissileEntityDesc*>(desc)) {
    crosshair_ = d->crosshair;
    damage_ = d->damage;
  }
  xPrimitiveShapeDesc query;
  query.setEnvelope(new xPrimitiveBox(bge::kDesignWidth, bge::kDesignHeight));
  query.setMaterial(xMaterialDispatcher::Instance()->defaultMaterial());
  queryShape_.reset(query.createShape());
  if (queryShape_) {
    queryShape_->setOwner(this);
    queryShape_->setCollisionCategory("physics_query_enemy");
    queryShape_->setAbsPlacement(Vec3(bge::kDesignWidth * 0.5f, bge::kDesignHeight * 0.5f, 0.0f));
    queryShape_->initialize();
  }
  state_ = kFollowing;
}

xShape* xPlayerSmartMissileEntity::nearestEnemy(const Vec2& from) const {
  if (!queryShape_ || !g_ptrSDK || !g_ptrSDK->collisionContext()) {
    BGE_REPORT_MSG(!queryShape_ || !g_ptrSDK, "a missile looks for targets in a world without collisions");
    return nullptr;
  }
  xArray<xShape*> found;
  g_ptrSDK->collisionContext()->collisionSpace()->getClosest(found, queryShape_.get(), true);
  xShape* best = nullptr;
  float bestDistance = kFarAway;
  for (int i = 0; i < found.size(); ++i) {
    xShape* s = found[i];
    // Only an enemy ship's hull: not its sensors, not another missile's box.
    xEntity* owner = s ? s->getOwner() : nullptr;
    auto* ship = dynamic_cast<xSimpleEnemy*>(owner);
    if (!ship || s != ship->shape()) continue;
    if (s->getCollisionCategory() && !inCategory(s, "enemy")) continue;
    if (sceneEntityManager_ && !sceneEntityManager_->findLiveEntity(ship)) continue;
    const Vec3 p = s->absPlacement();
    const float d = qlnLenV2(Vec2(p.x - from.x, p.y - from.y));
    if (d < bestDistance) {
      bestDistance = d;
      best = s;
    }
  }
  return best;
}

void xPlayerSmartMissileEntity::steerToward(const Vec2& from, const Vec2& to) {
  if (!body_) return;
  const Vec2 way(to.x - from.x, to.y - from.y);
  const float length = qlnLenV2(way);
  // A target on the launch point (or a position that is not a number) gives no
  // direction: fly on unchanged rather than write a NaN into the body.
  if (!(length > 1.0e-4f) || !std::isfinite(length)) return;
  const Vec2 d = way * (1.0f / length);
  const float speed = qlnLenV2(body_->getVelocity());
  const Vec2 velocity = d * (std::isfinite(speed) ? speed : 0.0f);
  const Vec2 force = d * kSteeringForce;
  if (!BGE_REPORT_MSG(qlnIsFiniteV2(velocity) && qlnIsFiniteV2(force), "a missile's steering is not a number"))
    return;
  body_->setVelocity(velocity);
  body_->addForce(force);
  const Vec3 p = body_->absPlacement();
  body_->setAbsPlacement(Vec3(p.x, p.y, std::atan2(d.y, d.x) - kHalfPi));
}

void xPlayerSmartMissileEntity::setTarget(xSharkEntity* target) {
  target_ = target;
  targetSerial_ = target && target->shape() ? target->shape()->serial() : 0;
}

void xPlayerSmartMissileEntity::update(int, ScreenBase*) {
  const Vec3 p = absPlacement();
  const Vec2 from(p.x, p.y);
  xShape* targetShape = nullptr;
  if (state_ == kFollowing) {
    xSharkEntity* live = sceneEntityManager_ ? sceneEntityManager_->findLiveEntity(target_) : nullptr;
    if (!live || !live->shape() || live->shape()->serial() != targetSerial_) {
      target_ = nullptr;
      state_ = kSearching;
      return;
    }
    targetShape = live->shape();
  } else {
    targetShape = nearestEnemy(from);
  }
  if (!targetShape) return;
  const Vec3 t = targetShape->absPlacement();
  steerToward(from, Vec2(t.x, t.y));
}

bool xPlayerSmartMissileEntity::notifyCollision(xShape* own, xShape* other, const Vec2&, float, const Vec2&) {
  // Only the hull hits; the query box touches the whole field. A missile already on
  // its way out hits nothing more (an enemy and a kill zone in one step).
  if (own != shape_.get() || !other || !sceneEntityManager_) return false;
  if (sceneEntityManager_->isScheduledForRemoval(this)) return false;
  if (inCategory(other, "bulletkillzone")) {
    sceneEntityManager_->scheduleRemoval(this, true);
  } else if (inCategory(other, "enemy")) {
    auto* enemy = dynamic_cast<xSimpleEnemy*>(other->getOwner());
    if (!enemy) return false;
    enemy->takeDamage(damage_, interestRate_);
    sceneEntityManager_->scheduleRemoval(this, true);
  }
  return false;
}

void xPlayerSmartMissileEntity::drawLayer(Graphics* g, ScreenBase*) {
  if (!texture_) return;
  const Vec3 p = absPlacement();
  g->pushMatrix();
  g->translate(p.x, p.y);
  g->rotate(qlnRadToDeg(p.z), 0.0f, 0.0f, 1.0f);
  g->translate(-texture_->getWidth() * 0.5f, -texture_->getHeight() * 0.5f);
  g->drawImage(0, 0, texture_, imageColor_);
  g->popMatrix();
}
