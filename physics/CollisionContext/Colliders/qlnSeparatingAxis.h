#pragma once
// The separating-axis record of the last box test, shared program-wide.
#include "Foundation/Math/QlnMath.h"

namespace QuillonPHX2D {

QLN_API void qlnSATReset();
QLN_API float qlnSATGetBestDepth();
QLN_API float qlnSATGetBestRadiusA();
QLN_API float qlnSATGetBestRadiusB();
QLN_API int qlnSATGetBestAxis();
QLN_API Vec2 qlnSATGetSeparatingAxisVec();
QLN_API Vec2 qlnSATGetNormal2();
QLN_API Vec2 qlnSATGetBestPoint();
QLN_API bool qlnSATIsSuccess();
QLN_API void qlnSATSetNormal2(const Vec2 &n);

// Tests one face axis: true when the boxes are separated along it; otherwise keeps the axis
// when its overlap is the smallest so far (pointing the way distance says).
QLN_API bool qlnSAT_TestBoxFaceFace(float radiusSum, float distance, const Vec2 &axis, int index);

// Clips the closed polygon pts[0..count) against a*x + b*y + c >= 0 into out; returns the new
// count, never more than maxOut.
QLN_API int qlnClipPolygonByLine(const Vec2 *pts, int count, float a, float b, float c, Vec2 *out, int maxOut);

}  // namespace QuillonPHX2D
