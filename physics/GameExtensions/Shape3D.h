#pragma once
// A shape of the 3D contact world: a primitive placed in its body's frame (or in the world
// for static geometry), with the category, material and owner the contact rules read.
#include "Foundation/QlnSerial.h"
#include "GameExtensions/Primitives3D.h"

namespace QuillonPHX2D {

class xBody3D;
class xEntity3D;
class xMaterial;
class xCollisionCategory;

class xShape3D {
 public:
  // Takes ownership of the primitive. With a body the placement is relative to the body.
  xShape3D(xPrimitive3D* primitive, xBody3D* body, const Placement3D& local);
  ~xShape3D();
  xShape3D(const xShape3D&) = delete;
  xShape3D& operator=(const xShape3D&) = delete;

  Placement3D absPlacement() const;
  void localBoundingBox(Vec3& mn, Vec3& mx) const;
  int getColliderID() const { return primitive_ ? primitive_->colliderID() : -1; }

  xPrimitive3D* primitive() const { return primitive_; }
  xBody3D* mainBody() const { return body_; }
  // Called by a body that is being destroyed.
  void forgetBody() { body_ = nullptr; }
  xEntity3D* owner() const { return owner_; }
  void setOwner(xEntity3D* e) { owner_ = e; }
  xCollisionCategory* collisionCategory() const { return category_; }
  void setCollisionCategory(xCollisionCategory* c) { category_ = c; }
  xMaterial* material() const { return material_; }
  void setMaterial(xMaterial* m) { material_ = m; }
  const Placement3D& localPlacement() const { return local_; }
  void setLocalPlacement(const Placement3D& p) { local_ = p; }
  // Fluid volumes damp what they hold by exp(-dt * coefficient).
  float dampingCoefficient() const { return damping_; }
  void setDampingCoefficient(float c) { damping_ = c; }

  // Creation serial: of two awake shapes the later one handles their pair.
  QlnSerial serial() const { return serial_; }

  unsigned int flags = 0;

 private:
  QlnSerial serial_ = qlnNextSerial();
  xPrimitive3D* primitive_;
  xBody3D* body_;
  xEntity3D* owner_ = nullptr;
  xCollisionCategory* category_ = nullptr;
  xMaterial* material_ = nullptr;
  Placement3D local_;
  float damping_ = 0.0f;
};

// Composition of placements: `inner` given in the frame of `outer`.
Placement3D qlnComposePlacement3D(const Placement3D& outer, const Placement3D& inner);

}  // namespace QuillonPHX2D
