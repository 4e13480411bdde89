#pragma once
#include "Foundation/Math/QlnOperators.h"

namespace QuillonPHX2D {

// Dynamic row-major float matrix; rows are padded to a multiple of four floats.
class QLN_API xMatrix {
 public:
  xMatrix();
  ~xMatrix();
  xMatrix(const xMatrix &) = delete;
  // Sizes this matrix like the source first, then copies rows*stride floats.
  xMatrix &operator=(const xMatrix &other);

  void setSize(int rows, int cols);
  void cropRows(int n);

  float &operator()(int r, int c) { return data_[r * stride_ + c]; }
  float operator()(int r, int c) const { return data_[r * stride_ + c]; }

  float *data() { return data_; }
  const float *data() const { return data_; }
  int capacity() const { return capacity_; }
  int stride() const { return stride_; }
  int cols() const { return cols_; }
  int rows() const { return rows_; }

 private:
  float *data_;
  int capacity_;
  int stride_;
  int cols_;
  int rows_;
};

}  // namespace QuillonPHX2D
