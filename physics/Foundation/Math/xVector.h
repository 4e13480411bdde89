#pragma once
#include "Foundation/Math/QlnOperators.h"

namespace QuillonPHX2D {

// Dynamic float vector for the solver's equation data. Grows, never shrinks;
// setSize does not keep the contents.
class QLN_API xVector {
 public:
  xVector();
  ~xVector();
  xVector(const xVector &) = delete;
  // Sizes this vector like the source first, then copies its elements.
  xVector &operator=(const xVector &other);

  void setSize(int n);
  void cropRows(int n);

  float &operator()(int i) { return data_[i]; }
  float operator()(int i) const { return data_[i]; }

  float *data() { return data_; }
  const float *data() const { return data_; }
  int size() const { return size_; }
  int capacity() const { return capacity_; }

 private:
  float *data_;
  int size_;
  int capacity_;  // -1 while there is no storage
};

}  // namespace QuillonPHX2D
