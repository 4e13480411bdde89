#include "CollisionContext/Colliders/xColliderTable.h"

namespace QuillonPHX2D {

xColliderTable *xColliderTable::Instance() {
  static xColliderTable *instance = new xColliderTable();
  return instance;
}

xColliderTable::xColliderTable() : stride_(kStride) {
  entries_.resize(kStride * kStride, false);
  for (int i = 0; i < kStride * kStride; ++i) entries_[i] = nullptr;
  setEntry(0, 0, qlnCollideCircleCircle);
  setEntry(0, 1, qlnCollideCircleBox);
  setEntry(1, 1, qlnCollideBoxBox);
  setEntry(0, 2, qlnCollideCircleLineSeg);
  setEntry(1, 2, qlnCollideBoxLineSeg);
  setEntry(2, 2, qlnCollideLineSegLineSeg);
}

void xColliderTable::setEntry(int first, int second, qlnColliderFn fn) {
  if (first < 0 || second < 0 || first >= stride_ || second >= stride_) return;
  entries_[first * stride_ + second] = fn;
}

}  // namespace QuillonPHX2D
