#pragma once
#include "Dynamics/Constraints/xConstraintSet.h"
#include "Dynamics/Joints/xConstraintLimit.h"

namespace QuillonPHX2D {

// Angle limit and motor on the source body's angle (mode 0).
class QLN_API xMotorConstraint : public xConstraintSet {
 public:
  xMotorConstraint();
  int formEquations(xEquationStream &eq, xBodyStream &bodies, float h) override;
  int getMaxDOF() override;
  int getNUE() override;

  void setMode(int mode) { mode_ = mode; }
  int mode() const { return mode_; }
  xConstraintLimit &limit() { return limit_; }
  void setAxis(const Vec2 &axis) { axis_ = axis; }
  const Vec2 &axis() const { return axis_; }

 private:
  int mode_;
  xConstraintLimit limit_;
  Vec2 axis_;
};

}  // namespace QuillonPHX2D
