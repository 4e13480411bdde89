#pragma once
#include "physicscontext3d/solvers/linearcomplementaryproblem/iterative/xSolverLCP.h"

namespace QuillonPHX2D {

// Projected Gauss-Seidel over the island's rows, visiting the rows that changed most first.
class QLN_API xGaussSouthwell : public xSolverLCP {
 public:
  // More substeps than this would only come from an absurd step; the step is split no finer.
  static constexpr int kMaxSubsteps = 1024;

  xGaussSouthwell();
  ~xGaussSouthwell() override;

  void solve(xArray<xBody *> &bodies, xArray<xConstraintSet *> &sets, xIntegrator *integrator,
             float dt) override;
  virtual void formSystem(xArray<xConstraintSet *> &sets, xEquationStream &eq, xBodyStream &bs);

  // Substeps a step of dt is split into for an island of bodyCount bodies.
  static int substepCount(float dt, int bodyCount);
  // The program-wide streams (created on first use, reused by every island).
  static xEquationStream &equationStream();
  static xBodyStream &bodyStream();

  const xArray<int> &rowsPerSet() const { return rowsPerSet_; }
  // Sweeps run in the last substep of the last solve.
  int lastSweeps() const { return lastSweeps_; }

 private:
  void loadBodies(xArray<xBody *> &bodies, xBodyStream &bs);
  void bodyTerms(xArray<xBody *> &bodies, xBodyStream &bs);
  void computeInverseDiagonals(xEquationStream &eq, xBodyStream &bs);
  void sweeps(xEquationStream &eq, xBodyStream &bs);
  void relaxRow(int i, xEquationStream &eq, xBodyStream &bs);
  void relaxRowView(int i, const void *view);
  void sortRows(xEquationStream &eq);
  void writeBack(xArray<xBody *> &bodies, xBodyStream &bs);

  xArray<int> rowsPerSet_;
  int lastSweeps_;
};

}  // namespace QuillonPHX2D
