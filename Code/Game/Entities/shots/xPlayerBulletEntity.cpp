#include "Game/Entities/shots/xPlayerBulletEntity.h"

#include <new>

#include "AssertReport.h"
#include "Collision/Shapes/xShape.h"
#include "CollisionContext/Categories/CategoryDispatcher.h"
#include "Game/SceneEntityManager.h"
#include "XmlAttributes.h"

using namespace QuillonPHX2D;

xEntity* xPlayerBulletEntityDesc::createEntity() {
  xPlayerBulletEntity* made = new (std::nothrow) xPlayerBulletEntity();
  BGE_REPORT_MSG(made, "no memory for a tower shot");
  return made;
}

bool xPlayerBulletEntityDesc::readXml(const TiXmlElement* e, const bge::XmlReader& reader) {
  // The base reports its own failures; the bullet's attributes are read regardless.
  xPhysicsPrimitiveEntityDesc::readXml(e, reader);
  if (!e) return true;
  damage = reader.readInt(e, "damage", damage);
  sfx = reader.readString(e, "sfx", sfx);
  return true;
}

void xPlayerBulletEntity::notifyCreated(xEntityDesc* desc) {
  xPhysicsPrimitiveEntity::notifyCreated(desc);
  if (const auto* d = dynamic_cast<const xPlayerBulletEntityDesc*>(desc)) damage_ = d->damage;
}

bool xPlayerBulletEntity::notifyCollision(xShape*, xShape* other, const Vec2&, float, const Vec2&) {
  xSharkEntity* self = this;
  if (other && sceneEntityManager_) {
    const xCollisionCategory* c = other->getCollisionCategory();
    if (c && c->categoryID() == "bulletkillzone") sceneEntityManager_->scheduleRemoval(self, true);
  }
  return false;
}
