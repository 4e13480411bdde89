#pragma once
#include "Foundation/Templates/xArray.h"
#include "Foundation/QlnExport.h"

namespace QuillonPHX2D {

class xShape;

typedef void (*qlnColliderFn)(xShape *, xShape *);

// Narrow-phase routines by collider id pair: entry row * 7 + column, the row being the first
// shape's id. A pair found only in the mirrored entry is called with the shapes swapped.
class QLN_API xColliderTable {
 public:
  static const int kStride = 7;

  static xColliderTable *Instance();

  int stride() const { return stride_; }
  // The routine for (first id, second id), or null (also for ids outside the table).
  qlnColliderFn entry(int first, int second) const {
    if (first < 0 || second < 0 || first >= stride_ || second >= stride_) return nullptr;
    return entries_.dataPtr()[first * stride_ + second];
  }
  void setEntry(int first, int second, qlnColliderFn fn);

 private:
  xColliderTable();
  int stride_;
  xArray<qlnColliderFn> entries_;
};

QLN_API void qlnCollideCircleCircle(xShape *a, xShape *b);
QLN_API void qlnCollideCircleBox(xShape *a, xShape *b);
QLN_API void qlnCollideBoxBox(xShape *a, xShape *b);
QLN_API void qlnCollideCircleLineSeg(xShape *a, xShape *b);
QLN_API void qlnCollideBoxLineSeg(xShape *a, xShape *b);
QLN_API void qlnCollideLineSegLineSeg(xShape *a, xShape *b);

}  // namespace QuillonPHX2D
