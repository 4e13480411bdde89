#pragma once
#include "Dynamics/Constraints/xConstraintSet.h"

namespace QuillonPHX2D {

// Damped spring with a rest length between the two joint points.
class QLN_API xSpring : public xConstraintSet {
 public:
  xSpring();
  int formEquations(xEquationStream &eq, xBodyStream &bodies, float h) override;
  int getMaxDOF() override;
  int getNUE() override;

  void setStiffness(float k) { stiffness_ = k; }
  void setDamping(float c) { damping_ = c; }
  void setRestLength(float l) { restLength_ = l; }
  float stiffness() const { return stiffness_; }
  float damping() const { return damping_; }
  float restLength() const { return restLength_; }

 private:
  float stiffness_;
  float damping_;
  float restLength_;
};

}  // namespace QuillonPHX2D
