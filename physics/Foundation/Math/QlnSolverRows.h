#pragma once
#include "Foundation/Math/xMatrix.h"
#include "Foundation/Math/xVector.h"

namespace QuillonPHX2D {

// Element and row access on the solver containers. Hot path: indices are not tested.
QLN_INLINE_API Vec2 qlnGetVec2(const xVector &v, int i) { return Vec2(v(i), v(i + 1)); }
QLN_INLINE_API Vec3 qlnGetVec3(const xVector &v, int i) { return Vec3(v(i), v(i + 1), v(i + 2)); }
QLN_INLINE_API void qlnSetVec2(xVector &v, int i, const Vec2 &a) { v(i) = a.x; v(i + 1) = a.y; }
QLN_INLINE_API void qlnSetVec3(xVector &v, int i, const Vec3 &a) { v(i) = a.x; v(i + 1) = a.y; v(i + 2) = a.z; }
QLN_INLINE_API void qlnAddVec2(xVector &v, int i, const Vec2 &a) { v(i) += a.x; v(i + 1) += a.y; }
QLN_INLINE_API void qlnAddVec3(xVector &v, int i, const Vec3 &a) { v(i) += a.x; v(i + 1) += a.y; v(i + 2) += a.z; }
QLN_API void qlnSetToZeroV(xVector &v);
QLN_API void qlnSetToValueV(xVector &v, float s);

QLN_INLINE_API Vec2 qlnGetRowVec2(const xMatrix &m, int r, int c) { return Vec2(m(r, c), m(r, c + 1)); }
QLN_INLINE_API Vec3 qlnGetRowVec3(const xMatrix &m, int r, int c) { return Vec3(m(r, c), m(r, c + 1), m(r, c + 2)); }
QLN_INLINE_API void qlnSetRowVec2(xMatrix &m, int r, int c, const Vec2 &a) { m(r, c) = a.x; m(r, c + 1) = a.y; }
QLN_INLINE_API void qlnSetRowVec3(xMatrix &m, int r, int c, const Vec3 &a) {
  m(r, c) = a.x; m(r, c + 1) = a.y; m(r, c + 2) = a.z;
}
QLN_INLINE_API void qlnAddRowVec2(xMatrix &m, int r, int c, const Vec2 &a) { m(r, c) += a.x; m(r, c + 1) += a.y; }
QLN_INLINE_API void qlnAddRowVec3(xMatrix &m, int r, int c, const Vec3 &a) {
  m(r, c) += a.x; m(r, c + 1) += a.y; m(r, c + 2) += a.z;
}
QLN_INLINE_API Mtx22 qlnGetSubMatrixM22(const xMatrix &m, int r, int c) {
  return Mtx22(m(r, c), m(r, c + 1), m(r + 1, c), m(r + 1, c + 1));
}
QLN_INLINE_API void qlnSetSubMatrixM22(xMatrix &m, int r, int c, const Mtx22 &a) {
  m(r, c) = a.m00; m(r, c + 1) = a.m01; m(r + 1, c) = a.m10; m(r + 1, c + 1) = a.m11;
}
QLN_API void qlnSetToZeroM(xMatrix &m);
QLN_API void qlnSetToValue(xMatrix &m, float s);

QLN_API bool qlnCheckFinite(const xVector &v);
QLN_API bool qlnCheckFinite(const xMatrix &m);

}  // namespace QuillonPHX2D
