#pragma once
#include "Foundation/Paragon/xParagon.h"

namespace QuillonPHX2D {

class xConstraintSet;
class xPhysicsContext;

// A rigid body of the 2D world: a placement in the paragon tree with mass, inertia,
// velocities, accumulated force and torque, and the head of its chain of constraint sets.
class QLN_API xBody : public xParagon {
 public:
  xBody();
  explicit xBody(float mass);
  // Releases the constraint sets of its chain and detaches its shapes, so nothing keeps a
  // pointer to the freed body; leaves both body lists.
  ~xBody() override;

  // Lists the body with the world and wakes it. Without a world it reports and does nothing.
  void initialize() override;
  void activate() override;
  void deactivate() override;

  virtual void setMass(float m) { mass_ = m; }
  virtual float getMass() { return mass_; }
  virtual float getInvMass() { return 1.0f / mass_; }
  virtual float getIVec() { return inertia_; }
  virtual float getInvI() { return 1.0f / inertia_; }
  virtual Vec2 getVelocity() { return velocity_; }
  virtual float getAngVelocity() { return angVelocity_; }
  virtual void setVelocity(const Vec2 &v) { velocity_ = v; }
  virtual void setAngVelocity(const float &w) { angVelocity_ = w; }
  virtual void addVelocity(const Vec2 &v) { velocity_ += v; }
  virtual void addAngVelocity(const float &w) { angVelocity_ += w; }
  virtual float getTorque() { return torque_; }
  virtual Vec2 getForce() { return force_; }
  virtual void setTorque(const float &t) { torque_ = t; }
  virtual void setForce(const Vec2 &f) { force_ = f; }
  virtual void addTorque(const float &t) { torque_ += t; }
  virtual void addForce(const Vec2 &f) { force_ += f; }
  virtual bool canRotate() { return true; }
  virtual bool canTranslate() { return true; }
  virtual int getDOF() { return 0; }

  void setInertiaVec(float i) { inertia_ = i; }
  xConstraintSet *getFirstJoint() const { return firstJoint_; }
  void setFirstJoint(xConstraintSet *s) { firstJoint_ = s; }
  Mtx22 getInvMassMtx() const { return qlnDiagonal22Mtx(1.0f / mass_); }
  Mtx22 getInvIMtx() const { return qlnDiagonal22Mtx(1.0f / inertia_); }
  void render() {}

  int getIslandIndex() const { return islandIndex_; }
  void setIslandIndex(int i) { islandIndex_ = i; }
  // Which island pass of the world took the body last (0: none yet). A pass marks the body
  // it takes with its own number, so nothing is cleared between passes.
  unsigned long long islandPass() const { return islandPass_; }
  void setIslandPass(unsigned long long pass) { islandPass_ = pass; }
  int getSolverSetting() const { return solverSetting_; }
  void setSolverSetting(int s) { solverSetting_ = s; }
  float getLastMovingTime() const { return lastMovingTime_; }
  void setLastMovingTime(float t) { lastMovingTime_ = t; }
  float getSleepDelay() const { return sleepDelay_; }
  void setSleepDelay(float s) { sleepDelay_ = s; }

 protected:
  friend class xBodyDesc;

  // The world's physics context, or null when there is no world.
  static xPhysicsContext *world();

  int islandIndex_;
  int solverSetting_;
  float mass_;
  float lastMovingTime_;
  float reserved_;
  float inertia_;
  Vec2 velocity_;
  float sleepDelay_;
  float angVelocity_;
  Vec2 force_;
  float torque_;
  xConstraintSet *firstJoint_;
  unsigned long long islandPass_;
};

// A body that only translates.
class QLN_API xBody2DOF : public xBody {
 public:
  xBody2DOF() {}
  ~xBody2DOF() override;
  bool canRotate() override { return false; }
  bool canTranslate() override { return true; }
  int getDOF() override { return 2; }
};

// A body that translates and rotates.
class QLN_API xBody3DOF : public xBody {
 public:
  xBody3DOF() {}
  ~xBody3DOF() override;
  bool canRotate() override { return true; }
  bool canTranslate() override { return true; }
  int getDOF() override { return 3; }
};

}  // namespace QuillonPHX2D
