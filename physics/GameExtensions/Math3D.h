#pragma once
// Three-dimensional value types and helpers that only the game build carries.
// They serve the 3D contact world: quaternion placements, rotation matrices,
// oriented boxes and the separating-axis test the colliders run first.
#include "GameExtensions/PhysicsBase3D.h"

namespace QuillonPHX2D {

// Row-major 3x3 matrix; (i, j) is element i*3+j.
struct Mtx33 {
  float m[9];
  explicit Mtx33(float s) { for (float& v : m) v = s; }
  Mtx33(float m00, float m01, float m02, float m10, float m11, float m12, float m20, float m21,
        float m22)
      : m{m00, m01, m02, m10, m11, m12, m20, m21, m22} {}
  float& operator()(int i, int j) { return m[i * 3 + j]; }
  float operator()(int i, int j) const { return m[i * 3 + j]; }
};

// Rows of (r0 r1 r2 t): rotation in columns 0-2, translation in column 3.
struct Mtx34 {
  float m[12];
  explicit Mtx34(float s) { for (float& v : m) v = s; }
  Mtx34(float m00, float m01, float m02, float m03, float m10, float m11, float m12, float m13,
        float m20, float m21, float m22, float m23)
      : m{m00, m01, m02, m03, m10, m11, m12, m13, m20, m21, m22, m23} {}
  float& operator()(int i, int j) { return m[i * 4 + j]; }
  float operator()(int i, int j) const { return m[i * 4 + j]; }
};

struct Mtx44 {
  float m[16];
  explicit Mtx44(float s) { for (float& v : m) v = s; }
  Mtx44(float m00, float m01, float m02, float m03, float m10, float m11, float m12, float m13,
        float m20, float m21, float m22, float m23, float m30, float m31, float m32, float m33)
      : m{m00, m01, m02, m03, m10, m11, m12, m13, m20, m21, m22, m23, m30, m31, m32, m33} {}
  float& operator()(int i, int j) { return m[i * 4 + j]; }
  float operator()(int i, int j) const { return m[i * 4 + j]; }
};

struct Vec4 {
  float x, y, z, w;
  explicit Vec4(float s) : x(s), y(s), z(s), w(s) {}
};

struct Box3 {
  Vec3 min, max;
  Box3(const Vec3& lo, const Vec3& hi) : min(lo), max(hi) {}
};

struct Vec3Pair {
  Vec3 a, b;
  Vec3Pair(const Vec3& first, const Vec3& second) : a(), b() { a = first; b = second; }
};

// Orientation quaternion (x, y, z, w) followed by a translation.
struct Placement3D {
  float qx, qy, qz, qw;
  Vec3 t;
  Placement3D() : qx(QLN_UNSET), qy(QLN_UNSET), qz(QLN_UNSET), qw(QLN_UNSET), t() {}
  Placement3D(float x, float y, float z, float w, const Vec3& translation)
      : qx(QLN_UNSET), qy(QLN_UNSET), qz(QLN_UNSET), qw(QLN_UNSET), t() {
    qx = x; qy = y; qz = z; qw = w; t = translation;
  }
  static Placement3D identity() { return Placement3D(0.0f, 0.0f, 0.0f, 1.0f, Vec3(0.0f, 0.0f, 0.0f)); }
};

// An oriented box: centre, rotation (local axes are its columns) and half extents.
struct xOBB3D {
  Vec3 center;
  Mtx33 rot;
  Vec3 half;
  xOBB3D() : center(0.0f), rot(0.0f), half(0.0f) {}
};

// Constants each source file builds once at start-up.
static const Mtx33 kIdentityMtx33(1, 0, 0, 0, 1, 0, 0, 0, 1);
static const Mtx34 kIdentityMtx34(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0);
static const Mtx44 kDiagMtx44(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0);
static const Vec4 kZeroVec4(0.0f);
static const Box3 kEmptyBox3(Vec3(QLN_MAX, QLN_MAX, QLN_MAX), Vec3(-QLN_MAX, -QLN_MAX, -QLN_MAX));

Mtx33 qlnQuatToMtx33(float x, float y, float z, float w);
Mtx33 qlnQuatToMtx33(const Placement3D& p);
Mtx34 qlnMtx34FromPlacement(const Placement3D& p);
Mtx33 qlnRotationOfMtx34(const Mtx34& m);
Vec3 qlnTranslationOfMtx34(const Mtx34& m);
Mtx33 qlnTranspose33Mtx(const Mtx33& m);
Mtx33 operator*(const Mtx33& l, const Mtx33& r);
Vec3 operator*(const Mtx33& m, const Vec3& v);
Vec3 operator*(const Mtx34& m, const Vec3& p);  // rotate, then translate
Vec3 qlnTransposeTimes33(const Mtx33& m, const Vec3& v);  // Rᵀ v
Vec3 qlnColumn33(const Mtx33& m, int j);
void qlnPlaneSpace(const Vec3& n, Vec3& p, Vec3& q);
void qlnPlaceBoxOBB(xOBB3D& out, const Mtx34& m, const Vec3& boxMin, const Vec3& boxMax);
bool qlnOverlapOBB(const xOBB3D& a, const xOBB3D& b);
Vec3 qlnClosestPointOnSegment3D(const Vec3& p, const Vec3& a, const Vec3& b);

// Into and out of a frame given by (R, t).
inline Vec3 qlnToLocal3D(const Mtx34& m, const Vec3& p) {
  return qlnTransposeTimes33(qlnRotationOfMtx34(m), p - qlnTranslationOfMtx34(m));
}
inline Vec3 qlnAxisOfMtx34(const Mtx34& m, int j) { return Vec3(m(0, j), m(1, j), m(2, j)); }
inline float qlnDot3(const Vec3& a, const Vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec3 qlnCross3(const Vec3& a, const Vec3& b) {
  return Vec3(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}

}  // namespace QuillonPHX2D
