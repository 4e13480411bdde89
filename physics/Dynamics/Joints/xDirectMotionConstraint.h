#pragma once
#include "Dynamics/Constraints/xConstraintSet.h"

namespace QuillonPHX2D {

// Drives the source body at a target speed along one axis and holds it still along another,
// within force bounds.
class QLN_API xDirectMotionConstraint : public xConstraintSet {
 public:
  xDirectMotionConstraint();
  int formEquations(xEquationStream &eq, xBodyStream &bodies, float h) override;
  int getMaxDOF() override;
  int getNUE() override;

  void setAxes(const Vec2 &first, const Vec2 &second) { axis1_ = first; axis2_ = second; }
  void setForceBounds(float lower, float upper) { lowerForce_ = lower; upperForce_ = upper; }
  void setTargetSpeed(float s) { targetSpeed_ = s; }
  const Vec2 &axis1() const { return axis1_; }
  const Vec2 &axis2() const { return axis2_; }
  float lowerForce() const { return lowerForce_; }
  float upperForce() const { return upperForce_; }
  float targetSpeed() const { return targetSpeed_; }

 private:
  Vec2 axis1_;
  Vec2 axis2_;
  float lowerForce_;
  float upperForce_;
  float targetSpeed_;
};

}  // namespace QuillonPHX2D
