#include "Game/Entities/xExitZoneEntity.h"

#include <new>

#include "AssertReport.h"
#include "CollisionContext/Categories/CategoryDispatcher.h"
#include "CollisionContext/Materials/MaterialDispatcher.h"
#include "Collision/Shapes/xPrimitive.h"
#include "Collision/Shapes/xPrimitiveShape.h"
#include "Collision/Shapes/xShapeDesc.h"
#include "Game/SceneEntityManager.h"
#include "Graphics.h"

using namespace QuillonPHX2D;

xEntity* xExitZoneEntityDesc::createEntity() {
  xExitZoneEntity* made = new (std::nothrow) xExitZoneEntity();
  BGE_REPORT_MSG(made, "no memory for an exit zone");
  return made;
}

void xExitZoneEntity::notifyCreated(xEntityDesc* desc) {
  auto* zone = dynamic_cast<xExitZoneEntityDesc*>(desc);
  if (!BGE_REPORT_MSG(zone, "an exit zone made from a description that is not an exit zone file's")) return;
  const xExitZoneEntityDesc& d = *zone;
  const Vec3 place(d.areaX, d.areaY, 0.0f);
  xPrimitive* ppri = nullptr;
  if (d.primitiveType == xPhysicsPrimitiveEntityDesc::Circle) ppri = new xPrimitiveCircle(d.areaWidth);
  else if (d.primitiveType == xPhysicsPrimitiveEntityDesc::Box) ppri = new xPrimitiveBox(d.areaWidth, d.areaHeight);
  if (!BGE_ERROR_MSG(ppri, ("exit zone file " + d.fileForMessages() + ": primitiveType " +
                            std::to_string(d.primitiveType) + " is no circle or box; the zone is left out")
                               .c_str()))
    return;
  xPrimitiveShapeDesc shapeDesc;
  shapeDesc.setEnvelope(ppri);
  xMaterial* material = xMaterialDispatcher::Instance()->obtainMaterialByName(d.material);
  shapeDesc.setMaterial(material ? material : xMaterialDispatcher::Instance()->defaultMaterial());
  shape_.reset(shapeDesc.createShape());
  if (!shape_) return;
  shape_->setOwner(this);
  shape_->setAbsPlacement(place);
  shape_->setCollisionCategory(d.collisionCategory);
  shape_->initialize();
  placement_ = place;
  copyLooks(d);
}

// The zone only marks the exit: ships pass through it, and reaching the exit is
// the end of their own walk.
bool xExitZoneEntity::notifyCollision(xShape*, xShape*, const Vec2&, float, const Vec2&) { return false; }

void xExitZoneEntity::draw(Graphics* g, ScreenBase*) {
  const auto* ps = dynamic_cast<const xPrimitiveShape*>(shape_.get());
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
