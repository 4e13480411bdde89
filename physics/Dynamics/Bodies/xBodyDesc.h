#pragma once
#include "Dynamics/Bodies/xBody.h"

namespace QuillonPHX2D {

// What a body is made from. The placement is not applied: the caller places the body.
class QLN_API xBodyDesc {
 public:
  xBodyDesc();
  virtual ~xBodyDesc();
  virtual xBody *createBody() = 0;

  Vec3 placement;
  int islandIndex;
  int solverSetting;
  float mass;
  float reserved0;
  float inertia;
  Vec2 velocity;
  float angVelocity;
  Vec2 force;
  float torque;
  float reserved1;
  xConstraintSet *firstJoint;

 protected:
  void copyInto(xBody &b) const;
};

class QLN_API xBody2DOFDesc : public xBodyDesc {
 public:
  xBody *createBody() override;
};

class QLN_API xBody3DOFDesc : public xBodyDesc {
 public:
  xBody *createBody() override;
};

}  // namespace QuillonPHX2D
