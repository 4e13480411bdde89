#pragma once
// A rigid body of the 3D contact world: three linear and three angular velocity components,
// a quaternion placement, and the chain of constraint sets that touch it.
#include "GameExtensions/Math3D.h"

namespace QuillonPHX2D {

class xConstraintSet3D;
class xPhysicsContext3D;
class xShape3D;

class xBody3D {
 public:
  // mass <= 0 makes a body that nothing moves (infinite mass). A body that cannot rotate
  // keeps its orientation.
  xBody3D(xPhysicsContext3D* world, float mass, const Vec3& inertiaDiagonal, bool canRotate);
  ~xBody3D();
  xBody3D(const xBody3D&) = delete;
  xBody3D& operator=(const xBody3D&) = delete;

  // Puts the body into its world's lists and wakes it.
  void initialize();
  // Wakes the body and every partner reached along its constraint chain.
  void activate();
  void deactivate();

  const Placement3D& absPlacement() const { return placement_; }
  void setPlacement(const Placement3D& p) { placement_ = p; }
  bool canRotate() const { return rotates_; }
  int getDOF() const { return rotates_ ? 6 : 3; }

  float mass() const { return mass_; }
  float inverseMass() const { return invMass_; }
  const Vec3& inverseInertiaLocal() const { return invInertia_; }
  // R diag(1/I) Rᵀ applied to v.
  Vec3 applyInverseInertiaWorld(const Vec3& v) const;

  const Vec3& velocity() const { return velocity_; }
  void setVelocity(const Vec3& v) { velocity_ = v; }
  const Vec3& angularVelocity() const { return angularVelocity_; }
  void setAngularVelocity(const Vec3& w) { angularVelocity_ = w; }
  const Vec3& force() const { return force_; }
  const Vec3& torque() const { return torque_; }
  void addForce(const Vec3& f) { force_ += f; }
  void addTorque(const Vec3& t) { torque_ += t; }
  void clearForces() { force_ = Vec3(0.0f); torque_ = Vec3(0.0f); }

  xConstraintSet3D* getFirstJoint() const { return firstSet_; }
  void setFirstJoint(xConstraintSet3D* s) { firstSet_ = s; }
  int streamIndex() const { return index_; }
  void setStreamIndex(int i) { index_ = i; }
  xPhysicsContext3D* world() const { return world_; }

  void attachShape(xShape3D* s);
  void detachShape(xShape3D* s);
  int shapeCount() const { return shapeCount_; }
  xShape3D* shape(int i) const { return shapes_[i]; }

  unsigned int flags = kFlag3DGravity;

 private:
  xPhysicsContext3D* world_;
  xConstraintSet3D* firstSet_ = nullptr;
  int index_ = -1;
  Placement3D placement_;
  Vec3 velocity_, angularVelocity_, force_, torque_;
  float mass_, invMass_;
  Vec3 invInertia_;
  bool rotates_;
  static constexpr int kMaxShapes = 8;
  xShape3D* shapes_[kMaxShapes] = {};
  int shapeCount_ = 0;
};

}  // namespace QuillonPHX2D
