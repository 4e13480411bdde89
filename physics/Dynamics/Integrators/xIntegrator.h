#pragma once
#include "Foundation/Templates/xArray.h"
#include "Foundation/QlnExport.h"

namespace QuillonPHX2D {

class xBody;
class xBodyStream;

// Advances an island's bodies over one substep from the forces the solver gathered.
class QLN_API xIntegrator {
 public:
  virtual ~xIntegrator();
  virtual void integrate(xArray<xBody *> &bodies, xBodyStream &stream, float h) = 0;
  virtual int getOrder() = 0;
};

// Semi-implicit Euler: the new velocity moves the body.
class QLN_API xEuler1stOrder : public xIntegrator {
 public:
  void integrate(xArray<xBody *> &bodies, xBodyStream &stream, float h) override;
  int getOrder() override;
};

}  // namespace QuillonPHX2D
