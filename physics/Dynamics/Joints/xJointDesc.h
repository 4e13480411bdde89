#pragma once
#include "Foundation/Math/QlnMath.h"
#include "Foundation/QlnExport.h"

namespace QuillonPHX2D {

class xBody;
class xEntity;
class xConstraintSet;

// What a joint is made from. createJoint allocates the joint, ties it between the two bodies
// at the joint placement and copies the parameters. A null destination ties it to the world.
class QLN_API xJointDesc {
 public:
  xJointDesc();
  virtual ~xJointDesc();
  // Null (with a report) when there is no source body: a joint always has one.
  virtual xConstraintSet *createJoint() = 0;

  xBody *sourceBody;
  xBody *destinationBody;
  xEntity *entityOwner;
  Vec3 jointPlacement;
  float releaseForce;

 protected:
  bool hasSource() const;
};

class QLN_API xBallSocketDesc : public xJointDesc {
 public:
  xConstraintSet *createJoint() override;
};

class QLN_API xSpringDesc : public xJointDesc {
 public:
  xSpringDesc();
  xConstraintSet *createJoint() override;

  float stiffness;
  float damping;
  float restLength;
};

class QLN_API xMotorConstraintDesc : public xJointDesc {
 public:
  xMotorConstraintDesc();
  xConstraintSet *createJoint() override;

  int mode;
  float motorForce;
  float velocity;
  float motorPosition;
  // Copied into the joint only in mode 1.
  Vec2 direction;
};

class QLN_API xDirectMotionConstraintDesc : public xJointDesc {
 public:
  xDirectMotionConstraintDesc();
  xConstraintSet *createJoint() override;

  Vec2 axis1;
  Vec2 axis2;
  float lowerForce;
  float upperForce;
  float targetSpeed;
};

}  // namespace QuillonPHX2D
