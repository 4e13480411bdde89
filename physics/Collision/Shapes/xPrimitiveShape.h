#pragma once
#include "Collision/Shapes/xPrimitive.h"
#include "Collision/Shapes/xShape.h"

namespace QuillonPHX2D {

class xMaterial;

// A shape made of one primitive (its envelope, owned) and a material (not owned).
class QLN_API xPrimitiveShape : public xShape {
 public:
  xPrimitiveShape();
  ~xPrimitiveShape() override;

  float getTunnelingFreeMoveRatio(const Vec3 &from, const Vec3 &to) override;
  Box2 getAbsBoundingBox() override;
  int getColliderID() override;

  xPrimitive *getEnvelope() const { return envelope_; }
  // The shape owns the envelope from now on; a previous one is deleted.
  void setEnvelope(xPrimitive *p);
  xMaterial *getMaterial() const { return material_; }
  void setMaterial(xMaterial *m) { material_ = m; }

  xPrimitiveShape(const xPrimitiveShape &) = delete;
  xPrimitiveShape &operator=(const xPrimitiveShape &) = delete;

 private:
  xPrimitive *envelope_;
  xMaterial *material_;
  // The last absolute box and what it was made from (placement, envelope box): a step asks for
  // the same box several times (moving the shape in the tree, its query, the colliders).
  Vec3 boxPlacement_;
  Box2 boxLocal_;
  Box2 boxAbs_;
  bool boxKnown_;
};

}  // namespace QuillonPHX2D
