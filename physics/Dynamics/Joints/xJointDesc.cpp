// Joints are part of the shared library only; the game neither builds nor uses them.
#if !defined(QLN_GAME_BUILD)
#include "Dynamics/Joints/xJointDesc.h"

#include "Foundation/QlnAssert.h"

namespace QuillonPHX2D {

xJointDesc::xJointDesc()
    : sourceBody(nullptr), destinationBody(nullptr), entityOwner(nullptr), jointPlacement(), releaseForce(1e38f) {
  jointPlacement = Vec3(0.0f, 0.0f, 0.0f);
}

xJointDesc::~xJointDesc() {}

bool xJointDesc::hasSource() const {
  QLN_ASSERT(sourceBody != NULL);
  return sourceBody != nullptr;
}

xSpringDesc::xSpringDesc() : stiffness(10.0f), damping(100.0f), restLength(50.0f) {}

xMotorConstraintDesc::xMotorConstraintDesc()
    : mode(0), motorForce(100.0f), velocity(3.1415927f), motorPosition(-1e38f), direction(1.0f, 0.0f) {}

xDirectMotionConstraintDesc::xDirectMotionConstraintDesc()
    : axis1(0.0f, 0.0f), axis2(0.0f, 0.0f), lowerForce(0.0f), upperForce(0.0f), targetSpeed(0.0f) {}

}  // namespace QuillonPHX2D
#endif
