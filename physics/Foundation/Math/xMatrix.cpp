#include "Foundation/Math/xMatrix.h"

#include <cstring>

#include "Foundation/Math/QlnFunctions.h"
#include "Foundation/Math/QlnSolverRows.h"
#include "Foundation/QlnAssert.h"

namespace QuillonPHX2D {

xMatrix::xMatrix() : data_(nullptr), capacity_(0), stride_(0), cols_(0), rows_(0) {}

xMatrix::~xMatrix() { delete[] data_; }

xMatrix &xMatrix::operator=(const xMatrix &other) {
  if (this == &other) return *this;
  setSize(other.rows_, other.cols_);
  const int n = other.rows_ * other.stride_;
  if (n > 0) std::memcpy(data_, other.data_, sizeof(float) * n);
  return *this;
}

void xMatrix::setSize(int rows, int cols) {
  if (rows < 0 || cols < 0) return;
  const int stride = (cols + 3) & ~3;
  const long long need = static_cast<long long>(stride) * rows;
  if (!QLN_ASSERT(need <= 0x7fffffff)) return;
  if (capacity_ < need) {
    delete[] data_;
    data_ = new float[need];
    capacity_ = static_cast<int>(need);
  }
  rows_ = rows;
  cols_ = cols;
  stride_ = stride;
}

void xMatrix::cropRows(int n) {
  // Never more rows than the storage holds.
  if (n >= 0 && static_cast<long long>(n) * stride_ <= capacity_) rows_ = n;
}

void qlnSetToZeroM(xMatrix &m) {
  const int n = m.rows() * m.stride();
  if (n > 0) std::memset(m.data(), 0, sizeof(float) * n);
}

void qlnSetToValue(xMatrix &m, float s) {
  for (int r = 0; r < m.rows(); ++r)
    for (int c = 0; c < m.cols(); ++c) m(r, c) = s;
}

bool qlnCheckFinite(const xMatrix &m) {
  for (int r = 0; r < m.rows(); ++r)
    for (int c = 0; c < m.cols(); ++c)
      if (!qlnIsFinite(m(r, c))) return false;
  return true;
}

}  // namespace QuillonPHX2D
