// Joints belong to the shared library; the game neither builds nor uses them.
#if !defined(QLN_GAME_BUILD)
#include "Dynamics/Joints/xMotorConstraint.h"

#include "Dynamics/Bodies/xBody.h"

namespace QuillonPHX2D {

xMotorConstraint::xMotorConstraint() : mode_(0), limit_(), axis_(0.0f, 0.0f) {
  limit_.setMotorForce(100.0f);
  limit_.setVelocity(QLN_PI);
}

int xMotorConstraint::getMaxDOF() { return 2; }
int xMotorConstraint::getNUE() { return 0; }

int xMotorConstraint::formEquations(xEquationStream &eq, xBodyStream &, float h) {
  if (!bodySrc_ || mode_ != 0) return 0;
  int rows = 0;
  limit_.angEquLimit(eq, bodySrc_, bodyDst_, bodySrc_->absPlacement().z, rows, h);
  return rows;
}

}  // namespace QuillonPHX2D
#endif
