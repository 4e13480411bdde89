#include "sdk/xEntity.h"

namespace QuillonPHX2D {

xEntity::~xEntity() {}

bool xEntity::notifyCollision(xShape *, xShape *, const Vec2 &, float, const Vec2 &) { return true; }

void xEntity::initialize() {}

void xEntity::notifyCreated(xEntityDesc *) {}

void xEntity::notifyDeleted() {}

void xEntity::notifyJointReleased(xConstraintSet *, float) {}

Vec3 xEntity::absPlacement() { return Vec3(0.0f, 0.0f, 0.0f); }

void xEntity::setAbsPlacement(const Vec3 &) {}

xEntityDesc::~xEntityDesc() {}

xEntity *xEntityDesc::createEntity() { return nullptr; }

}  // namespace QuillonPHX2D
