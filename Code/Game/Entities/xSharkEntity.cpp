#include "Game/Entities/xSharkEntity.h"

#include "CollisionContext/Categories/CategoryDispatcher.h"
#include "Collision/Shapes/xShape.h"
#include "Dynamics/Bodies/xBody.h"

using namespace QuillonPHX2D;

xSharkEntity::xSharkEntity() : placement_(0.0f, 0.0f, 0.0f) {}

xSharkEntity::~xSharkEntity() = default;

void xSharkEntity::draw(Graphics*, ScreenBase*) {}

void xSharkEntity::drawLayer(Graphics*, ScreenBase*) {}

void xSharkEntity::loadResources(ResourceManager*) {}

bool xSharkEntity::notifyCollision(xShape*, xShape*, const Vec2&, float, const Vec2&) { return false; }

Vec3 xSharkEntity::absPlacement() {
  if (body_) return body_->absPlacement();
  if (shape_) return shape_->absPlacement();
  return Vec3(0.0f, 0.0f, 0.0f);
}

void xSharkEntity::setAbsPlacement(const Vec3& p) {
  if (body_) body_->setAbsPlacement(p);
  else if (shape_) shape_->setAbsPlacement(p);
}

std::string xSharkEntity::categoryName() const {
  const xCollisionCategory* c = shape_ ? shape_->getCollisionCategory() : nullptr;
  return c ? c->categoryID() : std::string();
}
