#include "physicscontext3d/solvers/linearcomplementaryproblem/iterative/xEquationStream.h"

#include <cstring>

namespace QuillonPHX2D {
namespace {

const float kBig = 1e38f;

void growVector(xVector &v, int n) { v.setSize(n); }

// setSize does not keep contents, which is fine: every user clears after resizing.
void growMatrix(xMatrix &m, int n) { m.setSize(n, 6); }

void growIndices(xArray<int> &a, int n) { a.resize(n, false); }

void fill(xVector &v, int n, float value) {
  float *d = v.data();
  for (int i = 0; i < n; ++i) d[i] = value;
}

void fillIndices(xArray<int> &a, int n, int value) {
  int *d = a.dataPtr();
  for (int i = 0; i < n; ++i) d[i] = value;
}

void zeroRows(xMatrix &m, int n) {
  if (n > 0) std::memset(m.data(), 0, sizeof(float) * size_t(m.stride()) * size_t(n));
}

}  // namespace

xEquationStream::xEquationStream() : nextRow(0), rowCount(0), sizedRows_(-1) {
  resize(128);
  clear();
}

void xEquationStream::resize(int n) {
  if (n < 0) n = 0;
  if (n == sizedRows_) return;  // every island of lone bodies asks for the same size
  sizedRows_ = n;
  growMatrix(jacobianA, n);
  growMatrix(jacobianB, n);
  growMatrix(contributionA, n);
  growMatrix(contributionB, n);
  xVector *vectors[] = {&inverseDiagonal, &residual, &target, &force, &previousForce, &change,
                        &lowerBound, &upperBound, &softness, &epsilon};
  for (xVector *v : vectors) growVector(*v, n);
  xArray<int> *lists[] = {&columnA, &columnB, &boundLink, &order, &freedomA, &freedomB, &sortScratch};
  for (xArray<int> *l : lists) growIndices(*l, n);
}

void xEquationStream::clear() {
  int n = force.size();
  resetRows(n);
  fill(epsilon, n, 1e-05f);
  fillIndices(columnA, n, -1);
  fillIndices(columnB, n, -1);
  fillIndices(freedomA, n, -1);
  fillIndices(freedomB, n, -1);
  fillIndices(order, n, -1);
  nextRow = 0;
  rowCount = 0;
}

void xEquationStream::resetRows(int n) {
  zeroRows(jacobianA, n);
  zeroRows(jacobianB, n);
  zeroRows(contributionA, n);
  zeroRows(contributionB, n);
  xVector *zeros[] = {&inverseDiagonal, &residual, &target, &force, &previousForce, &change,
                      &softness, &epsilon};
  for (xVector *v : zeros) fill(*v, n, 0.0f);
  fill(lowerBound, n, -kBig);
  fill(upperBound, n, kBig);
  fillIndices(boundLink, n, -1);
  fillIndices(columnA, n, 0);
  fillIndices(columnB, n, 0);
}

}  // namespace QuillonPHX2D
