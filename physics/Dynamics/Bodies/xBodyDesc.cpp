#include "Dynamics/Bodies/xBodyDesc.h"

#include <new>

namespace QuillonPHX2D {

xBodyDesc::xBodyDesc()
    : placement(), islandIndex(0), solverSetting(4), mass(1.0f), reserved0(1.0f), inertia(1.0f), velocity(),
      angVelocity(0.0f), force(), torque(0.0f), reserved1(0.5f), firstJoint(nullptr) {
  placement = Vec3(0.0f, 0.0f, 0.0f);
  velocity = Vec2(0.0f, 0.0f);
  force = Vec2(0.0f, 0.0f);
}

xBodyDesc::~xBodyDesc() {}

void xBodyDesc::copyInto(xBody &b) const {
  b.islandIndex_ = islandIndex;
  b.solverSetting_ = solverSetting;
  b.mass_ = mass;
  b.inertia_ = inertia;
  b.velocity_ = velocity;
  b.angVelocity_ = angVelocity;
  b.force_ = force;
  b.torque_ = torque;
  b.firstJoint_ = firstJoint;
}

xBody *xBody2DOFDesc::createBody() {
  xBody2DOF *b = new (std::nothrow) xBody2DOF();
  if (b) copyInto(*b);
  return b;
}

xBody *xBody3DOFDesc::createBody() {
  xBody3DOF *b = new (std::nothrow) xBody3DOF();
  if (b) copyInto(*b);
  return b;
}

}  // namespace QuillonPHX2D
