#pragma once
#include <cmath>
#include <vector>

#include "Foundation/Math/QlnOperators.h"

namespace QuillonPHX2D {

// ---- vectors ----
QLN_INLINE_API float qlnLen2V2(const Vec2 &v) { return v.x * v.x + v.y * v.y; }
QLN_INLINE_API float qlnLen2V3(const Vec3 &v) { return v.x * v.x + v.y * v.y + v.z * v.z; }
QLN_INLINE_API float qlnLenV2(const Vec2 &v) { return std::sqrt(qlnLen2V2(v)); }
QLN_INLINE_API float qlnLenV3(const Vec3 &v) { return std::sqrt(qlnLen2V3(v)); }
// No guard: a zero vector gives non-finite components, which callers test for.
QLN_INLINE_API Vec2 qlnNormalizeV2(const Vec2 &v) { return v * (1.0f / qlnLenV2(v)); }
QLN_INLINE_API Vec3 qlnNormalizeV3(const Vec3 &v) { return v * (1.0f / qlnLenV3(v)); }
QLN_INLINE_API Vec2 qlnStretchV2(const Vec2 &a, const Vec2 &b) { return Vec2(a.x * b.x, a.y * b.y); }
QLN_INLINE_API Vec3 qlnStretchV3(const Vec3 &a, const Vec3 &b) { return Vec3(a.x * b.x, a.y * b.y, a.z * b.z); }
QLN_INLINE_API Vec2 qlnLerpV2(const Vec2 &a, const Vec2 &b, float t) { return a + (b - a) * t; }
QLN_INLINE_API Vec3 qlnLerpV3(const Vec3 &a, const Vec3 &b, float t) { return a + (b - a) * t; }
QLN_INLINE_API int qlnMinorAxis(const Vec2 &v) { return std::fabs(v.y) <= std::fabs(v.x) ? 1 : 0; }
// Index of the smallest absolute component; ties go to the later axis.
QLN_INLINE_API int qlnMinorAxis(const Vec3 &v) {
  const float ax = std::fabs(v.x), ay = std::fabs(v.y), az = std::fabs(v.z);
  int best = 0;
  float bestValue = ax;
  if (ay <= bestValue) { best = 1; bestValue = ay; }
  if (az <= bestValue) { best = 2; }
  return best;
}

// ---- boxes ----
QLN_INLINE_API Vec2 qlnCenterB2(const Box2 &b) { return Vec2((b.minX + b.maxX) * 0.5f, (b.minY + b.maxY) * 0.5f); }
QLN_INLINE_API Vec2 qlnSizeB2(const Box2 &b) { return Vec2(b.maxX - b.minX, b.maxY - b.minY); }
QLN_INLINE_API Vec2 qlnGetMinB2(const Box2 &b) { return Vec2(b.minX, b.minY); }
QLN_INLINE_API Vec2 qlnGetMaxB2(const Box2 &b) { return Vec2(b.maxX, b.maxY); }
QLN_INLINE_API bool qlnIsEmptyB2(const Box2 &b) { return b.maxX < b.minX || b.maxY < b.minY; }
QLN_INLINE_API Box2 qlnExpandB2(const Box2 &b, float d) { return Box2(b.minX - d, b.minY - d, b.maxX + d, b.maxY + d); }
QLN_INLINE_API bool qlnBoxesIntersect(const Box2 &a, const Box2 &b) {
  return b.minX <= a.maxX && b.minY <= a.maxY && b.maxX >= a.minX && b.maxY >= a.minY;
}
QLN_INLINE_API bool qlnBoxesIntersect(const Box2 &a, const Box2 &b, float tol) {
  return b.minX <= a.maxX + tol && b.minY <= a.maxY + tol && b.maxX + tol >= a.minX && b.maxY + tol >= a.minY;
}
QLN_INLINE_API bool qlnBoxIntersectsPoint(const Box2 &b, const Vec2 &p) {
  return b.minX <= p.x && p.x <= b.maxX && b.minY <= p.y && p.y <= b.maxY;
}
QLN_INLINE_API bool qlnBoxIntersectsPoint(const Box2 &b, const Vec2 &p, float tol) {
  return p.x + tol >= b.minX && p.x <= b.maxX + tol && p.y + tol >= b.minY && p.y <= b.maxY + tol;
}

// ---- nearness: squared differences summed, compared with tol times the component count ----
QLN_INLINE_API bool qlnNear(float a, float b, float tol) { return std::fabs(a - b) < tol; }
QLN_INLINE_API bool qlnNearV2(const Vec2 &a, const Vec2 &b, float tol) { return qlnLen2V2(a - b) < tol * 2.0f; }
QLN_INLINE_API bool qlnNearV3(const Vec3 &a, const Vec3 &b, float tol) { return qlnLen2V3(a - b) < tol * 3.0f; }
QLN_INLINE_API bool qlnNearM22(const Mtx22 &a, const Mtx22 &b, float tol) {
  const Mtx22 d = a - b;
  return d.m00 * d.m00 + d.m01 * d.m01 + d.m10 * d.m10 + d.m11 * d.m11 < tol * 9.0f;
}
QLN_INLINE_API bool qlnNearM23(const Mtx23 &a, const Mtx23 &b, float tol) {
  const Mtx23 d = a - b;
  return d.m00 * d.m00 + d.m01 * d.m01 + d.m02 * d.m02 + d.m10 * d.m10 + d.m11 * d.m11 + d.m12 * d.m12 < tol * 12.0f;
}
QLN_INLINE_API bool qlnIsNearB2(const Box2 &a, const Box2 &b, float tol) {
  const float dx0 = a.minX - b.minX, dy0 = a.minY - b.minY, dx1 = a.maxX - b.maxX, dy1 = a.maxY - b.maxY;
  return dx0 * dx0 + dy0 * dy0 + dx1 * dx1 + dy1 * dy1 < tol * 4.0f;
}

// ---- matrices ----
QLN_INLINE_API Mtx22 qlnTranspose22Mtx(const Mtx22 &m) { return Mtx22(m.m00, m.m10, m.m01, m.m11); }
QLN_INLINE_API Mtx22 qlnDiagonal22Mtx(float s) { return Mtx22(s, 0.0f, 0.0f, s); }
QLN_INLINE_API Mtx22 qlnDiagonal22Mtx(const Vec2 &d) { return Mtx22(d.x, 0.0f, 0.0f, d.y); }
QLN_INLINE_API Mtx23 qlnDiagonal23Mtx(float s) { return Mtx23(s, 0.0f, 0.0f, 0.0f, s, 0.0f); }
QLN_INLINE_API Mtx23 qlnDiagonal23Mtx(const Vec2 &d) { return Mtx23(d.x, 0.0f, 0.0f, 0.0f, d.y, 0.0f); }
QLN_INLINE_API Vec2 qlnGetCol22Mtx(const Mtx22 &m, int j) { return Vec2(m(0, j), m(1, j)); }
QLN_INLINE_API Vec2 qlnGetCol23Mtx(const Mtx23 &m, int j) { return Vec2(m(0, j), m(1, j)); }
QLN_INLINE_API Mtx22 qlnGetRotMtx(const Mtx23 &m) { return Mtx22(m); }
QLN_INLINE_API Vec2 qlnGetOriginMtx(const Mtx23 &m) { return Vec2(m.m02, m.m12); }
QLN_INLINE_API float qlnDeterminant22Mtx(const Mtx22 &m) { return m.m00 * m.m11 - m.m01 * m.m10; }
// A singular matrix has no inverse: the zero matrix is returned so the caller sees no NaN.
QLN_INLINE_API Mtx22 qlnInvert22Mtx(const Mtx22 &m) {
  const float det = qlnDeterminant22Mtx(m);
  if (det == 0.0f) return Mtx22(0.0f);
  const float r = 1.0f / det;
  return Mtx22(m.m11 * r, -m.m01 * r, -m.m10 * r, m.m00 * r);
}
QLN_INLINE_API Mtx22 qlnAngleToMtx22(float angle) {
  const float s = std::sin(angle), c = std::cos(angle);
  return Mtx22(c, -s, s, c);
}
QLN_INLINE_API Mtx22 qlnAngleToMtx(float angle) { return qlnAngleToMtx22(angle); }
// The transform of a placement (x, y, angle).
QLN_INLINE_API Mtx23 qlnVec3ToMtx23(const Vec3 &p) {
  const float s = std::sin(p.z), c = std::cos(p.z);
  return Mtx23(c, -s, p.x, s, c, p.y);
}
QLN_INLINE_API Vec2 qlnTransformMtx22(const Mtx22 &m, const Vec2 &v) { return m * v; }
QLN_INLINE_API Vec2 qlnTransPosMtx23(const Mtx23 &m, const Vec2 &p) { return m * p; }
QLN_INLINE_API Vec2 qlnTransReversePosMtx23(const Mtx23 &m, const Vec2 &p) {
  const float dx = p.x - m.m02, dy = p.y - m.m12;
  return Vec2(m.m00 * dx + m.m10 * dy, m.m01 * dx + m.m11 * dy);
}
QLN_INLINE_API Vec2 qlnTransDirMtx23(const Mtx23 &m, const Vec2 &v) {
  return Vec2(m.m00 * v.x + m.m01 * v.y, m.m10 * v.x + m.m11 * v.y);
}
QLN_INLINE_API Vec2 qlnTransReverseDirMtx23(const Mtx23 &m, const Vec2 &v) {
  return Vec2(m.m00 * v.x + m.m10 * v.y, m.m01 * v.x + m.m11 * v.y);
}
QLN_API Box2 qlnTransformBox2Mtx23(const Mtx23 &m, const Box2 &b);

// ---- scalars ----
QLN_INLINE_API void qlnSinCos(float angle, float &s, float &c) { s = std::sin(angle); c = std::cos(angle); }
QLN_INLINE_API float qlnDegToRad(float x) { return x * QLN_PI * 0.0055555557f; }
QLN_INLINE_API float qlnRadToDeg(float x) { return x * 180.0f * 0.31830987f; }
QLN_INLINE_API float qlnWrapAngle(float a, float m) {
  const float r = std::fmod(a, m);
  return r < 0.0f ? r + m : r;
}
QLN_INLINE_API float qlnRound(float x) { return std::floor(x + 0.5f); }
QLN_INLINE_API float qlnLog2(float x) { return std::log10(x) * 3.321928f; }
// A NaN fails "x >= lo" and so comes back as lo.
QLN_INLINE_API float qlnClamp(float x, float lo, float hi) {
  if (!(x >= lo)) return lo;
  return x <= hi ? x : hi;
}
QLN_INLINE_API float qlnMax(float a, float b) { return a > b ? a : b; }
QLN_INLINE_API float qlnMin(float a, float b) { return a < b ? a : b; }
QLN_INLINE_API float qlnClampDn(float a, float b) { return qlnMax(a, b); }
QLN_INLINE_API float qlnClampUp(float a, float b) { return qlnMin(a, b); }
QLN_INLINE_API int qlnClampInt(int a, int lo, int hi) { return a < lo ? lo : (a > hi ? hi : a); }
QLN_INLINE_API bool qlnIsFinite(float x) { return std::isfinite(x); }
QLN_INLINE_API bool qlnFinite(float x) { return std::isfinite(x); }
QLN_INLINE_API bool qlnIsFiniteV2(const Vec2 &v) { return qlnIsFinite(v.x) && qlnIsFinite(v.y); }
QLN_INLINE_API bool qlnFiniteV2(const Vec2 &v) { return qlnIsFiniteV2(v); }
QLN_INLINE_API bool qlnIsFiniteV3(const Vec3 &v) { return qlnIsFinite(v.x) && qlnIsFinite(v.y) && qlnIsFinite(v.z); }
QLN_INLINE_API bool qlnFiniteV3(const Vec3 &v) { return qlnIsFiniteV3(v); }
QLN_INLINE_API bool qlnFinite22Mtx(const Mtx22 &m) {
  return qlnIsFinite(m.m00) && qlnIsFinite(m.m01) && qlnIsFinite(m.m10) && qlnIsFinite(m.m11);
}
QLN_INLINE_API bool qlnFinite23Mtx(const Mtx23 &m) {
  return qlnIsFinite(m.m00) && qlnIsFinite(m.m01) && qlnIsFinite(m.m02) && qlnIsFinite(m.m10) &&
         qlnIsFinite(m.m11) && qlnIsFinite(m.m12);
}

// ---- lines ----
QLN_INLINE_API Vec2 qlnGetPlaneNormal(const Plane3 &l) { return Vec2(l.a, l.b); }
QLN_INLINE_API float qlnPointDistance(const Plane3 &l, const Vec2 &p) { return l.a * p.x + l.b * p.y + l.c; }
QLN_API Vec2 qlnClosestPointOnLine(const Vec2 &a, const Vec2 &b, const Vec2 &p);
QLN_API bool qlnClosestPointOnEdges(const Vec2 &p1, const Vec2 &d1, const Vec2 &p2, const Vec2 &d2, float &s, float &t);

// Open uniform B-spline of order k over points[0..n], sampled at count points.
// Nothing for count <= 0 or n < 0; k is clamped to 1 .. n + 1.
QLN_API std::vector<Vec2> qlnBSpline2D(int n, int k, const Vec2 *points, int count);

}  // namespace QuillonPHX2D
