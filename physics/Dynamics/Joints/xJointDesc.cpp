// Joints are part of the shared library only; the game neither builds nor uses them.
#if !defined(QLN_GAME_BUILD)
#include "Dynamics/Joints/xJointDesc.h"

#include <new>

#include "Dynamics/Joints/xBallSocket.h"
#include "Dynamics/Joints/xDirectMotionConstraint.h"
#include "Dynamics/Joints/xMotorConstraint.h"
#include "Dynamics/Joints/xSpring.h"
#include "Foundation/QlnAssert.h"

namespace QuillonPHX2D {

xJointDesc::xJointDesc()
    : sourceBody(nullptr), destinationBody(nullptr), entityOwner(nullptr), jointPlacement(), releaseForce(QLN_MAX) {
  jointPlacement = Vec3(0.0f, 0.0f, 0.0f);
}

xJointDesc::~xJointDesc() {}

bool xJointDesc::hasSource() const {
  return QLN_ASSERT(sourceBody != nullptr);
}

xSpringDesc::xSpringDesc() : stiffness(10.0f), damping(100.0f), restLength(50.0f) {}

xMotorConstraintDesc::xMotorConstraintDesc()
    : mode(0), motorForce(100.0f), velocity(QLN_PI), motorPosition(-QLN_MAX), direction(1.0f, 0.0f) {}

xDirectMotionConstraintDesc::xDirectMotionConstraintDesc()
    : axis1(0.0f, 0.0f), axis2(0.0f, 0.0f), lowerForce(0.0f), upperForce(0.0f), targetSpeed(0.0f) {}

namespace {
// Ties a freshly made joint between the description's bodies at its placement.
template <class Joint>
Joint *makeJoint(const xJointDesc &d) {
  Joint *j = new (std::nothrow) Joint();
  if (!j) return nullptr;
  j->initialize(d.entityOwner, d.sourceBody, d.destinationBody, d.jointPlacement);
  j->setReleaseForce(d.releaseForce);
  return j;
}
}  // namespace

xConstraintSet *xBallSocketDesc::createJoint() {
  if (!hasSource()) return nullptr;
  return makeJoint<xBallSocket>(*this);
}

xConstraintSet *xSpringDesc::createJoint() {
  if (!hasSource()) return nullptr;
  xSpring *j = makeJoint<xSpring>(*this);
  if (!j) return nullptr;
  j->setStiffness(stiffness);
  j->setDamping(damping);
  j->setRestLength(restLength);
  return j;
}

xConstraintSet *xMotorConstraintDesc::createJoint() {
  if (!hasSource()) return nullptr;
  xMotorConstraint *j = makeJoint<xMotorConstraint>(*this);
  if (!j) return nullptr;
  j->setMode(mode);
  j->limit().setMotorForce(motorForce);
  j->limit().setVelocity(velocity);
  j->limit().setMotorAngPos(motorPosition);
  if (mode == 1) j->setAxis(direction);
  return j;
}

xConstraintSet *xDirectMotionConstraintDesc::createJoint() {
  if (!hasSource()) return nullptr;
  xDirectMotionConstraint *j = makeJoint<xDirectMotionConstraint>(*this);
  if (!j) return nullptr;
  j->setAxes(axis1, axis2);
  j->setForceBounds(lowerForce, upperForce);
  j->setTargetSpeed(targetSpeed);
  return j;
}

}  // namespace QuillonPHX2D
#endif
