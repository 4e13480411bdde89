// Joints belong to the shared library; the game neither builds nor uses them.
#if !defined(QLN_GAME_BUILD)
#include "Dynamics/Joints/xJointAnchors.h"

#include <cmath>

#include "Dynamics/Bodies/xBody.h"
#include "physicscontext3d/solvers/linearcomplementaryproblem/iterative/xBodyStream.h"
#include "physicscontext3d/solvers/linearcomplementaryproblem/iterative/xEquationStream.h"

namespace QuillonPHX2D {
namespace {

void anchor(const xBodyStream &bs, const xBody *b, const Vec3 &local, Vec2 &p, Vec2 &d) {
  float x = 0.0f, y = 0.0f, a = 0.0f;
  if (b) {
    int i = b->getIslandIndex();
    x = bs.positions(i, 0);
    y = bs.positions(i, 1);
    a = bs.positions(i, 2);
  }
  float c = std::cos(a), s = std::sin(a);
  p = Vec2(x + c * local.x - s * local.y, y + s * local.x + c * local.y);
  d = Vec2(-s * local.x - c * local.y, c * local.x - s * local.y);
}

}  // namespace

xJointAnchors qlnJointAnchors(const xConstraintSet &s, const xBodyStream &bodies) {
  xJointAnchors a;
  anchor(bodies, s.bodySrc(), s.placementInSrc(), a.pA, a.dA);
  anchor(bodies, s.bodyDst(), s.placementInDst(), a.pB, a.dB);
  a.hasB = s.bodyDst() != nullptr;
  return a;
}

void qlnWritePointRows(xEquationStream &eq, int r, const xJointAnchors &a) {
  eq.jacobianA(r, 0) = 1.0f;
  eq.jacobianA(r, 1) = 0.0f;
  eq.jacobianA(r, 2) = a.dA.x;
  eq.jacobianA(r + 1, 0) = 0.0f;
  eq.jacobianA(r + 1, 1) = 1.0f;
  eq.jacobianA(r + 1, 2) = a.dA.y;
  if (a.hasB) {
    eq.jacobianB(r, 0) = -1.0f;
    eq.jacobianB(r, 1) = 0.0f;
    eq.jacobianB(r, 2) = -a.dB.x;
    eq.jacobianB(r + 1, 0) = 0.0f;
    eq.jacobianB(r + 1, 1) = -1.0f;
    eq.jacobianB(r + 1, 2) = -a.dB.y;
  }
  for (int k = r; k < r + 2; ++k) {
    eq.lowerBound(k) = -QLN_MAX;
    eq.upperBound(k) = QLN_MAX;
  }
}

}  // namespace QuillonPHX2D
#endif
