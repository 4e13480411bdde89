#pragma once
#include "Foundation/Math/QlnMath.h"
#include "Foundation/Templates/xArray.h"

namespace QuillonPHX2D {

// The solver's rows: one equation per row, each touching at most two bodies.
class QLN_API xEquationStream {
 public:
  xEquationStream();

  // Grows every member to hold n rows (never shrinks) and sets the row counts to n.
  void resize(int n);
  // Full reset: epsilon 1e-05, indices -1, next row and row count 0.
  void clear();
  // Per-substep reset of the first n rows (epsilon 0, columns 0, bound links -1).
  void resetRows(int n);
  // The same reset for rows [from, to) only.
  void resetRowRange(int from, int to);

  xMatrix jacobianA;      // rows x 6: x, y, angle coefficients of the row's first body
  xMatrix jacobianB;      // same for the second body
  xVector inverseDiagonal;
  xVector residual;
  xVector target;
  xVector force;
  xVector previousForce;
  xVector change;
  xVector lowerBound;
  xVector upperBound;
  xVector softness;
  xVector epsilon;
  xMatrix contributionA;  // the row's force times its A coefficients
  xMatrix contributionB;
  xArray<int> columnA;    // 3 x island index of the first body, -1 for none
  xArray<int> columnB;
  xArray<int> boundLink;  // row whose previous force scales this row's bounds, -1 for none
  xArray<int> order;      // visiting order of the rows
  xArray<int> freedomA;   // degrees of freedom of the first body (2 or 3), -1 for none
  xArray<int> freedomB;
  int nextRow;
  int rowCount;

  // Scratch for the row sort, kept so sorting never allocates in the sweep loop.
  xArray<int> sortScratch;

 private:
  int sizedRows_;  // the row count every member was last sized to
};

}  // namespace QuillonPHX2D
