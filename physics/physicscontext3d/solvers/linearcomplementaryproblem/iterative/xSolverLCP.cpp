#include "physicscontext3d/solvers/linearcomplementaryproblem/iterative/xSolverLCP.h"

#include "Dynamics/Bodies/xBody.h"
#include "Foundation/QlnAssert.h"

namespace QuillonPHX2D {

xSolverLCP::xSolverLCP() : h_(0.0f), solverTime_(0.0f) {}

xSolverLCP::~xSolverLCP() {}

int xSolverLCP::meanBodySetting(xArray<xBody *> &bodies) {
  int n = bodies.size();
  if (!QLN_ASSERT(n > 0)) return 0;
  long sum = 0;
  for (int i = 0; i < n; ++i) sum += bodies[i]->getSolverSetting();
  return int(sum / n);
}

void xSolverLCP::hook(int, int) {}

}  // namespace QuillonPHX2D
