#include "Game/Entities/xExitZoneEntity.h"

#include <cstdio>
#include <new>

#include "CollisionContext/Categories/CategoryDispatcher.h"
#include "CollisionContext/Materials/MaterialDispatcher.h"
#include "Collision/Shapes/xPrimitive.h"
#include "Collision/Shapes/xPrimitiveShape.h"
#include "Collision/Shapes/xShapeDesc.h"
#include "Game/SceneEntityManager.h"
#include "Graphics.h"

using namespace QuillonPHX2D;

xEntity* xExitZoneEntityDesc::createEntity() {
  xExitZoneEntity* ppeNew = new (std::nothrow) xExitZoneEntity();
  if (!ppeNew) std::printf("ERROR: entity: ppeNew != NULL\n");
  return ppeNew;
}

void xExitZoneEntity::notifyCreated(xEntityDesc* desc) {
  auto* pedEntity = dynamic_cast<xExitZoneEntityDesc*>(desc);
  if (!pedEntity) {
    std::printf("ERROR: entity: pedEntity != NULL\n");
    return;
  }
  const xExitZoneEntityDesc& d = *pedEntity;
  const Vec3 place(d.areaX, d.areaY, 0.0f);
  xPrimitive* ppri = nullptr;
  if (d.primitiveType == xPhysicsPrimitiveEntityDesc::Circle) ppri = new xPrimitiveCircle(d.areaWidth);
  else if (d.primitiveType == xPhysicsPrimitiveEntityDesc::Box) ppri = new xPrimitiveBox(d.areaWidth, d.areaHeight);
  if (!ppri) {
    std::printf("ERROR: entity: an exit zone is a circle or a box (ppri != NULL)\n");
    return;
  }
  xPrimitiveShapeDesc shapeDesc;
  shapeDesc.setEnvelope(ppri);
  xMaterial* material = xMaterialDispatcher::Instance()->obtainMaterialByName(d.material);
  shapeDesc.setMaterial(material ? material : xMaterialDispatcher::Instance()->defaultMaterial());
  shape_ = shapeDesc.createShape();
  if (!shape_) return;
  shape_->setOwner(this);
  shape_->setAbsPlacement(place);
  shape_->setCollisionCategory(d.collisionCategory);
  shape_->initialize();
  placement_ = place;
  copyLooks(d);
}

bool xExitZoneEntity::notifyCollision(xShape*, xShape* other, const Vec2&, float, const Vec2&) {
  if (!other || !other->getCollisionCategory() || other->getCollisionCategory()->categoryID() != "enemy") {
    return false;
  }
  auto* enemy = dynamic_cast<xSharkEntity*>(other->getOwner());
  sawEnemy_ = enemy && sceneEntityManager_ && sceneEntityManager_->findLiveEntity(enemy);
  return false;
}

void xExitZoneEntity::draw(Graphics* g, ScreenBase*) {
  const auto* ps = dynamic_cast<const xPrimitiveShape*>(shape_);
  auto* box = ps ? dynamic_cast<xPrimitiveBox*>(ps->getEnvelope()) : nullptr;
  if (!box) return;
  // The shape sits at the area's centre; the filled rectangle starts half a size
  // up and left of it, so the drawing covers exactly what enemies touch.
  const Vec3 p = shape_->absPlacement();
  const int w = static_cast<int>(box->getWidth());
  const int h = static_cast<int>(box->getHeight());
  g->fillRect(static_cast<int>(p.x - box->getWidth() * 0.5f), static_cast<int>(p.y - box->getHeight() * 0.5f), w, h,
              Color(0, 255, 255, 255));
}
