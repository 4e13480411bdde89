#include "Foundation/Math/xVector.h"

#include <cstring>

#include "Foundation/Math/QlnFunctions.h"
#include "Foundation/Math/QlnSolverRows.h"

namespace QuillonPHX2D {

xVector::xVector() : data_(nullptr), size_(0), capacity_(-1) {}

xVector::~xVector() { delete[] data_; }

xVector &xVector::operator=(const xVector &other) {
  if (this == &other) return *this;
  setSize(other.size_);
  if (other.size_ > 0) std::memcpy(data_, other.data_, sizeof(float) * other.size_);
  return *this;
}

void xVector::setSize(int n) {
  if (n < 0) return;
  size_ = n;
  if (capacity_ < n) {
    delete[] data_;
    data_ = new float[n];
    capacity_ = n;
  }
}

void xVector::cropRows(int n) {
  if (size_ >= n && n >= 0) size_ = n;
}

void qlnSetToZeroV(xVector &v) {
  // The whole storage, not just the used part; nothing when there is no storage.
  if (v.capacity() > 0) std::memset(v.data(), 0, sizeof(float) * v.capacity());
}

void qlnSetToValueV(xVector &v, float s) {
  float *d = v.data();
  for (int i = 0; i < v.size(); ++i) d[i] = s;
}

bool qlnCheckFinite(const xVector &v) {
  const float *d = v.data();
  for (int i = 0; i < v.size(); ++i)
    if (!qlnIsFinite(d[i])) return false;
  return true;
}

}  // namespace QuillonPHX2D
