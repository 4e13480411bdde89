#include "GameExtensions/Math3D.h"

#include <cmath>

namespace QuillonPHX2D {

Mtx33 qlnQuatToMtx33(float x, float y, float z, float w) {
  return Mtx33(1.0f - 2.0f * (y * y + z * z), 2.0f * (x * y - w * z), 2.0f * (x * z + w * y),
               2.0f * (x * y + w * z), 1.0f - 2.0f * (x * x + z * z), 2.0f * (y * z - w * x),
               2.0f * (x * z - w * y), 2.0f * (y * z + w * x), 1.0f - 2.0f * (x * x + y * y));
}

Mtx33 qlnQuatToMtx33(const Placement3D& p) { return qlnQuatToMtx33(p.qx, p.qy, p.qz, p.qw); }

Mtx34 qlnMtx34FromPlacement(const Placement3D& p) {
  const Mtx33 r = qlnQuatToMtx33(p);
  return Mtx34(r(0, 0), r(0, 1), r(0, 2), p.t.x, r(1, 0), r(1, 1), r(1, 2), p.t.y, r(2, 0),
               r(2, 1), r(2, 2), p.t.z);
}

Mtx33 qlnRotationOfMtx34(const Mtx34& m) {
  return Mtx33(m(0, 0), m(0, 1), m(0, 2), m(1, 0), m(1, 1), m(1, 2), m(2, 0), m(2, 1), m(2, 2));
}

Vec3 qlnTranslationOfMtx34(const Mtx34& m) { return Vec3(m(0, 3), m(1, 3), m(2, 3)); }

Mtx33 qlnTranspose33Mtx(const Mtx33& m) {
  return Mtx33(m(0, 0), m(1, 0), m(2, 0), m(0, 1), m(1, 1), m(2, 1), m(0, 2), m(1, 2), m(2, 2));
}

Mtx33 operator*(const Mtx33& l, const Mtx33& r) {
  Mtx33 out(0.0f);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) {
      float s = 0.0f;
      for (int k = 0; k < 3; ++k) s += l(i, k) * r(k, j);
      out(i, j) = s;
    }
  return out;
}

Vec3 operator*(const Mtx33& m, const Vec3& v) {
  return Vec3(m(0, 0) * v.x + m(0, 1) * v.y + m(0, 2) * v.z,
              m(1, 0) * v.x + m(1, 1) * v.y + m(1, 2) * v.z,
              m(2, 0) * v.x + m(2, 1) * v.y + m(2, 2) * v.z);
}

Vec3 operator*(const Mtx34& m, const Vec3& p) {
  return Vec3(m(0, 0) * p.x + m(0, 1) * p.y + m(0, 2) * p.z + m(0, 3),
              m(1, 0) * p.x + m(1, 1) * p.y + m(1, 2) * p.z + m(1, 3),
              m(2, 0) * p.x + m(2, 1) * p.y + m(2, 2) * p.z + m(2, 3));
}

Vec3 qlnTransposeTimes33(const Mtx33& m, const Vec3& v) {
  return Vec3(m(0, 0) * v.x + m(1, 0) * v.y + m(2, 0) * v.z,
              m(0, 1) * v.x + m(1, 1) * v.y + m(2, 1) * v.z,
              m(0, 2) * v.x + m(1, 2) * v.y + m(2, 2) * v.z);
}

Vec3 qlnColumn33(const Mtx33& m, int j) { return Vec3(m(0, j), m(1, j), m(2, j)); }

void qlnPlaneSpace(const Vec3& n, Vec3& p, Vec3& q) {
  if (std::fabs(n.z) > 0.70710677f) {
    const float a = n.y * n.y + n.z * n.z;
    const float k = 1.0f / std::sqrt(a);
    p = Vec3(0.0f, -n.z * k, n.y * k);
    q = Vec3(a * k, -n.x * p.z, n.x * p.y);
  } else {
    const float a = n.x * n.x + n.y * n.y;
    const float k = 1.0f / std::sqrt(a);
    p = Vec3(-n.y * k, n.x * k, 0.0f);
    q = Vec3(-n.z * p.y, n.z * p.x, a * k);
  }
}

void qlnPlaceBoxOBB(xOBB3D& out, const Mtx34& m, const Vec3& boxMin, const Vec3& boxMax) {
  out.half = (boxMax - boxMin) * 0.5f;
  out.rot = qlnRotationOfMtx34(m);
  out.center = m * ((boxMin + boxMax) * 0.5f);
}

bool qlnOverlapOBB(const xOBB3D& a, const xOBB3D& b) {
  // B's rotation and centre offset expressed in A's frame.
  const Mtx33 r = qlnTranspose33Mtx(a.rot) * b.rot;
  const Vec3 t = qlnTransposeTimes33(a.rot, b.center - a.center);
  Mtx33 ar(0.0f);
  for (int i = 0; i < 9; ++i) ar.m[i] = std::fabs(r.m[i]);
  const float ha[3] = {a.half.x, a.half.y, a.half.z};
  const float hb[3] = {b.half.x, b.half.y, b.half.z};
  const float tv[3] = {t.x, t.y, t.z};

  for (int i = 0; i < 3; ++i) {
    const float rb = hb[0] * ar(i, 0) + hb[1] * ar(i, 1) + hb[2] * ar(i, 2);
    if (std::fabs(tv[i]) > ha[i] + rb) return false;
  }
  for (int j = 0; j < 3; ++j) {
    const float ra = ha[0] * ar(0, j) + ha[1] * ar(1, j) + ha[2] * ar(2, j);
    const float d = tv[0] * r(0, j) + tv[1] * r(1, j) + tv[2] * r(2, j);
    if (std::fabs(d) > ra + hb[j]) return false;
  }
  // Edge pairs: axis = A_i x B_j, written in A's frame. Nearly parallel edges give no axis.
  for (int i = 0; i < 3; ++i) {
    const int i1 = (i + 1) % 3, i2 = (i + 2) % 3;
    for (int j = 0; j < 3; ++j) {
      const int j1 = (j + 1) % 3, j2 = (j + 2) % 3;
      Vec3 ei(0.0f);
      (i == 0 ? ei.x : i == 1 ? ei.y : ei.z) = 1.0f;
      const Vec3 axis = qlnCross3(ei, Vec3(r(0, j), r(1, j), r(2, j)));
      if (qlnDot3(axis, axis) <= 1e-06f) continue;
      const float ra = ha[i1] * ar(i2, j) + ha[i2] * ar(i1, j);
      const float rb = hb[j1] * ar(i, j2) + hb[j2] * ar(i, j1);
      const float d = tv[i2] * r(i1, j) - tv[i1] * r(i2, j);
      if (std::fabs(d) > ra + rb) return false;
    }
  }
  return true;
}

Vec3 qlnClosestPointOnSegment3D(const Vec3& p, const Vec3& a, const Vec3& b) {
  const Vec3 ab = b - a;
  const float len = std::sqrt(qlnDot3(ab, ab));
  // A degenerate segment is its single point.
  if (!(len > 0.0f)) return a;
  const Vec3 u = ab * (1.0f / len);
  const float m = qlnDot3(p - a, u);
  if (m <= 0.0f) return a;
  if (m >= len) return b;
  return a + u * m;
}

}  // namespace QuillonPHX2D
