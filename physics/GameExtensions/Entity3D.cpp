#include "GameExtensions/Entity3D.h"

namespace QuillonPHX2D {

bool xEntity3D::notifyCollision(xShape3D*, xShape3D*, const Vec3&, float, const Vec3&) { return true; }

void xEntity3D::notifyImmersion(xShape3D*, xShape3D*, float) {}

}  // namespace QuillonPHX2D
