#pragma once
// Shared arithmetic of the point joints: world anchors and their angular derivatives,
// read from the solver's body stream.
#include "Dynamics/Constraints/xConstraintSet.h"

namespace QuillonPHX2D {

struct xJointAnchors {
  Vec2 pA, pB;    // world anchors
  Vec2 dA, dB;    // d/dangle of R(angle) * local anchor
  bool hasB;
};

// Fills the anchors of set s at the current substep (destination = world origin when absent).
xJointAnchors qlnJointAnchors(const xConstraintSet &s, const xBodyStream &bodies);

// Writes the two point rows (x and y) at row r: source (1, 0, dA.x), (0, 1, dA.y), destination the negatives.
void qlnWritePointRows(xEquationStream &eq, int r, const xJointAnchors &a);

}  // namespace QuillonPHX2D
