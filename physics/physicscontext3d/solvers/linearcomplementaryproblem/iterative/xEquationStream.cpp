#include "physicscontext3d/solvers/linearcomplementaryproblem/iterative/xEquationStream.h"

#include <cstring>

namespace QuillonPHX2D {
namespace {

// Regularisation a cleared stream gives every row, small enough to change no answer; the
// per-substep reset leaves rows at zero for their sets to write.
constexpr float kDefaultEpsilon = 1e-05f;

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
  xMatrix *matrices[] = {&jacobianA, &jacobianB, &contributionA, &contributionB};
  for (xMatrix *m : matrices)
    if (n > 0) std::memset(m->data(), 0, sizeof(float) * size_t(m->stride()) * size_t(n));
  fill(inverseDiagonal, n, 0.0f);
  fill(residual, n, 0.0f);
  fill(epsilon, n, kDefaultEpsilon);
  fillIndices(columnA, n, -1);
  fillIndices(columnB, n, -1);
  fillIndices(freedomA, n, -1);
  fillIndices(freedomB, n, -1);
  fillIndices(order, n, -1);
  nextRow = 0;
  rowCount = 0;
}

void xEquationStream::resetRows(int n) { resetRowRange(0, n); }

void xEquationStream::resetRowRange(int from, int to) {
  if (from < 0) from = 0;
  if (to <= from) return;
  // Only the x, y and angle columns of the six are ever written or read.
  xMatrix *matrices[] = {&jacobianA, &jacobianB, &contributionA, &contributionB};
  for (xMatrix *m : matrices) {
    float *d = m->data();
    const int stride = m->stride();
    for (int i = from; i < to; ++i) {
      float *row = d + size_t(i) * stride;
      row[0] = row[1] = row[2] = 0.0f;
    }
  }
  // Inverse diagonal and residual are written for every row before anything reads them.
  xVector *zeros[] = {&target, &force, &previousForce, &change, &softness, &epsilon};
  for (xVector *v : zeros) std::memset(v->data() + from, 0, sizeof(float) * size_t(to - from));
  for (int i = from; i < to; ++i) {
    lowerBound(i) = -QLN_MAX;
    upperBound(i) = QLN_MAX;
  }
  int *links = boundLink.dataPtr(), *colA = columnA.dataPtr(), *colB = columnB.dataPtr();
  for (int i = from; i < to; ++i) {
    links[i] = -1;
    colA[i] = 0;
    colB[i] = 0;
  }
}

}  // namespace QuillonPHX2D
