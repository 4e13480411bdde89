#pragma once
#include "Foundation/Templates/xArray.h"
#include "Foundation/QlnExport.h"

namespace QuillonPHX2D {

class xBody;
class xConstraintSet;
class xIntegrator;
class xEquationStream;
class xBodyStream;

// Solves one island per call.
class QLN_API xSolverLCP {
 public:
  xSolverLCP();
  virtual ~xSolverLCP();
  // Integer mean of the bodies' solver settings; an empty list answers 0.
  virtual int meanBodySetting(xArray<xBody *> &bodies);
  virtual void hook(int, int);
  virtual void solve(xArray<xBody *> &bodies, xArray<xConstraintSet *> &sets, xIntegrator *integrator,
                     float dt) = 0;

  float substepLength() const { return h_; }
  float solverTime() const { return solverTime_; }

 protected:
  float h_;
  float solverTime_;
};

}  // namespace QuillonPHX2D
