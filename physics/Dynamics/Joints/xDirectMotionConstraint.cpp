// Joints belong to the shared library; the game neither builds nor uses them.
#if !defined(QLN_GAME_BUILD)
#include "Dynamics/Joints/xDirectMotionConstraint.h"

#include "physicscontext3d/solvers/linearcomplementaryproblem/iterative/xEquationStream.h"

namespace QuillonPHX2D {

xDirectMotionConstraint::xDirectMotionConstraint()
    : axis1_(0.0f, 0.0f), axis2_(0.0f, 0.0f), lowerForce_(0.0f), upperForce_(0.0f), targetSpeed_(0.0f) {}

int xDirectMotionConstraint::getMaxDOF() { return 2; }
int xDirectMotionConstraint::getNUE() { return 0; }

int xDirectMotionConstraint::formEquations(xEquationStream &eq, xBodyStream &, float) {
  if (!bodySrc_) return 0;
  int r = eq.nextRow;
  const Vec2 *axes[2] = {&axis1_, &axis2_};
  for (int k = 0; k < 2; ++k) {
    const Vec2 &ax = *axes[k];
    eq.jacobianA(r + k, 0) = ax.x;
    eq.jacobianA(r + k, 1) = ax.y;
    eq.jacobianA(r + k, 2) = 0.0f;
    if (bodyDst_) {
      eq.jacobianB(r + k, 0) = -ax.x;
      eq.jacobianB(r + k, 1) = -ax.y;
      eq.jacobianB(r + k, 2) = 0.0f;
    }
    eq.lowerBound(r + k) = -lowerForce_;
    eq.upperBound(r + k) = upperForce_;
  }
  eq.target(r) = targetSpeed_;
  eq.target(r + 1) = 0.0f;
  return 2;
}

}  // namespace QuillonPHX2D
#endif
