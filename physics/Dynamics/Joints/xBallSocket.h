#pragma once
#include "Dynamics/Constraints/xConstraintSet.h"

namespace QuillonPHX2D {

// Pins a point of the source body to a point of the destination body (or of the world).
class QLN_API xBallSocket : public xConstraintSet {
 public:
  int formEquations(xEquationStream &eq, xBodyStream &bodies, float h) override;
  int getMaxDOF() override;
  int getNUE() override;
};

}  // namespace QuillonPHX2D
