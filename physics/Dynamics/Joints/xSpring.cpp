// Joints belong to the shared library; the game neither builds nor uses them.
#if !defined(QLN_GAME_BUILD)
#include "Dynamics/Joints/xSpring.h"

#include <cmath>

#include "Dynamics/Joints/xJointAnchors.h"
#include "physicscontext3d/solvers/linearcomplementaryproblem/iterative/xEquationStream.h"

namespace QuillonPHX2D {

xSpring::xSpring() : stiffness_(6000.0f), damping_(10.0f), restLength_(50.0f) {}

int xSpring::getMaxDOF() { return 2; }
int xSpring::getNUE() { return 2; }

int xSpring::formEquations(xEquationStream &eq, xBodyStream &bodies, float h) {
  if (!bodySrc_) return 0;
  int r = eq.nextRow;
  xJointAnchors a = qlnJointAnchors(*this, bodies);
  qlnWritePointRows(eq, r, a);
  Vec2 e = a.pB - a.pA;
  float len = std::sqrt(e.x * e.x + e.y * e.y);
  Vec2 rest(e.x / len * restLength_, e.y / len * restLength_);
  if (!std::isfinite(rest.x) || !std::isfinite(rest.y)) rest = Vec2(0.0f, -restLength_);
  float gain = stiffness_ / (stiffness_ * h + damping_);
  float eps = 1.0f / (h * stiffness_ + damping_);
  // A spring without stiffness and damping has no finite gain: it writes still rows that the
  // solver leaves without force.
  if (!std::isfinite(gain)) gain = 0.0f;
  eq.target(r) = (e.x - rest.x) * gain;
  eq.target(r + 1) = (e.y - rest.y) * gain;
  eq.epsilon(r) = eps;
  eq.epsilon(r + 1) = eps;
  return 2;
}

}  // namespace QuillonPHX2D
#endif
