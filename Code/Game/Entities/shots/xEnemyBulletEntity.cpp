#include "Game/Entities/shots/xEnemyBulletEntity.h"

#include <new>

#include "AssertReport.h"
#include "Collision/Shapes/xShape.h"
#include "CollisionContext/Categories/CategoryDispatcher.h"
#include "Game/Entities/enemies/SimpleEnemyEntity.h"
#include "Game/Entities/towers/xBaseTowerEntity.h"
#include "Game/LevelForEntities.h"
#include "Game/SceneEntityManager.h"
#include "XmlAttributes.h"

using namespace QuillonPHX2D;

xEntity* xEnemyBulletEntityDesc::createEntity() {
  xEnemyBulletEntity* made = new (std::nothrow) xEnemyBulletEntity();
  BGE_REPORT_MSG(made, "no memory for an enemy shot");
  return made;
}

bool xEnemyBulletEntityDesc::readXml(const TiXmlElement* e, const bge::XmlReader& reader) {
  xPhysicsPrimitiveEntityDesc::readXml(e, reader);
  if (!e) return true;
  damage = reader.readInt(e, "damage", damage);
  return true;
}

void xEnemyBulletEntity::notifyCreated(xEntityDesc* desc) {
  xPhysicsPrimitiveEntity::notifyCreated(desc);
  if (const auto* d = dynamic_cast<const xEnemyBulletEntityDesc*>(desc)) damage_ = d->damage;
}

bool xEnemyBulletEntity::removeOnce() {
  if (!sceneEntityManager_ || sceneEntityManager_->isScheduledForRemoval(this)) return false;
  sceneEntityManager_->scheduleRemoval(this, true);
  return true;
}

bool xEnemyBulletEntity::notifyCollision(xShape*, xShape* other, const Vec2& point, float, const Vec2& normal) {
  if (!other || !other->getCollisionCategory()) return false;
  const std::string theirs = other->getCollisionCategory()->categoryID();
  if (theirs == "bulletkillzone") {
    removeOnce();
    return false;
  }
  const std::string mine = categoryName();
  if (theirs == "actor" && mine == "enemy_bullet") {
    // One hit per bullet, however many contact points the step reports.
    if (!removeOnce()) return false;
    if (auto* tower = dynamic_cast<xBaseTowerEntity*>(other->getOwner())) tower->takeDamage(damage_);
  } else if (theirs == "station_part") {
    // A second contact point of the same step finds the bullet queued already.
    if (!removeOnce()) return false;
    if (auto* part = dynamic_cast<xSimpleEnemy*>(other->getOwner())) part->takeDamage(damage_, 0.0f);
    theLevel().spawnHitParticle(normal * -1.0f, point, 0.4f, imageColor_);
  } else if ((theirs == "player_bullet" || theirs == "player_photontorpedo") && mine == "enemy_bullet") {
    removeOnce();
  }
  return false;
}
