// Joints belong to the shared library; the game neither builds nor uses them.
#if !defined(QLN_GAME_BUILD)
#include "Dynamics/Joints/xBallSocket.h"

#include "Dynamics/Joints/xJointAnchors.h"
#include "physicscontext3d/solvers/linearcomplementaryproblem/iterative/xEquationStream.h"

namespace QuillonPHX2D {
namespace {
// Regularisation of the pin's rows: enough to keep a chain of pins solvable when they pull
// against each other, too little to let the pin stretch.
constexpr float kPinEpsilon = 1e-04f;
}  // namespace

int xBallSocket::getMaxDOF() { return 2; }
int xBallSocket::getNUE() { return 2; }

int xBallSocket::formEquations(xEquationStream &eq, xBodyStream &bodies, float) {
  if (!bodySrc_) return 0;
  int r = eq.nextRow;
  xJointAnchors a = qlnJointAnchors(*this, bodies);
  qlnWritePointRows(eq, r, a);
  eq.target(r) = a.pB.x - a.pA.x;
  eq.target(r + 1) = a.pB.y - a.pA.y;
  eq.epsilon(r) = kPinEpsilon;
  eq.epsilon(r + 1) = kPinEpsilon;
  return 2;
}

}  // namespace QuillonPHX2D
#endif
