#pragma once
// Owner of 3D shapes: told of every contact and every immersion of its shapes.
#include "GameExtensions/Math3D.h"

namespace QuillonPHX2D {

class xShape3D;

class xEntity3D {
 public:
  virtual ~xEntity3D() = default;
  // Answer false to refuse the contact: it is then not turned into a constraint.
  virtual bool notifyCollision(xShape3D* first, xShape3D* second, const Vec3& point, float depth,
                               const Vec3& normal);
  virtual void notifyImmersion(xShape3D* fluid, xShape3D* immersed, float volume);
};

}  // namespace QuillonPHX2D
