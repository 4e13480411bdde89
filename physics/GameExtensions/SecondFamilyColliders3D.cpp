// Sphere, box and capsule against planes, sphere against box and cylinder, box against
// capsule and capsule against capsule.
#include <algorithm>
#include <cmath>

#include "GameExtensions/ColliderTable3D.h"
#include "GameExtensions/SeparatingAxis3D.h"

namespace QuillonPHX2D {

namespace {

bool opening(xShape3D* a, xShape3D* b) {
  xColliderTable3D::Instance();
  return qlnShapesMayTouch3D(a, b);
}

}  // namespace

void qlnCollideSpherePlane(xShape3D* a, xShape3D* b) {
  if (!opening(a, b)) return;
  const xSolid3D S = qlnSolidOf3D(a);
  Vec3 n(0.0f);
  float d = 0.0f;
  qlnWorldPlane3D(b, n, d);
  const float dist = qlnDot3(n, S.c) + d;
  if (dist < 0.0f || dist > S.r) return;
  qlnReportContact3D(a, b, S.c - n * dist, S.r - dist, -n);
}

void qlnCollideCapsulePlane(xShape3D* a, xShape3D* b) {
  if (!opening(a, b)) return;
  const xSolid3D C = qlnSolidOf3D(a);
  Vec3 n(0.0f);
  float d = 0.0f;
  qlnWorldPlane3D(b, n, d);
  const Vec3 ends[2] = {C.end(1.0f), C.end(-1.0f)};
  for (const Vec3& e : ends) {
    const float dist = qlnDot3(n, e) + d;
    if (dist <= C.r) qlnReportContact3D(a, b, e - n * dist, C.r - dist, -n);
  }
}

void qlnCollideBoxPlane(xShape3D* a, xShape3D* b) {
  if (!opening(a, b)) return;
  const xSolid3D B = qlnSolidOf3D(a);
  Vec3 n(0.0f);
  float d = 0.0f;
  qlnWorldPlane3D(b, n, d);
  static const float sign[8][3] = {{-1, -1, -1}, {1, -1, -1}, {1, -1, 1}, {-1, -1, 1},
                                   {-1, 1, -1},  {1, 1, -1},  {1, 1, 1},  {-1, 1, 1}};
  for (int k = 0; k < 8; ++k) {
    const Vec3 p = B.toWorld(Vec3(sign[k][0] * B.half.x, sign[k][1] * B.half.y, sign[k][2] * B.half.z));
    const float dist = qlnDot3(n, p) + d;
    if (dist <= 0.0f) qlnReportContact3D(a, b, p, std::fabs(dist), -n);
  }
}

void qlnCollideSphereBox(xShape3D* a, xShape3D* b) {
  if (!opening(a, b)) return;
  const xSolid3D S = qlnSolidOf3D(a), B = qlnSolidOf3D(b);
  const float radius = S.r;
  const Vec3 p = B.toLocal(S.c);
  const float pv[3] = {p.x, p.y, p.z};
  const float e[3] = {B.half.x, B.half.y, B.half.z};
  float outside[3] = {0, 0, 0}, nearFace[3] = {0, 0, 0}, faceDir[3] = {0, 0, 0};
  float D2 = 0.0f, S2 = 0.0f, faceDist = QLN_MAX;
  for (int i = 0; i < 3; ++i) {
    if (pv[i] < -e[i] || pv[i] > e[i]) {
      outside[i] = pv[i] < -e[i] ? pv[i] + e[i] : pv[i] - e[i];
      D2 += outside[i] * outside[i];
      continue;
    }
    float neg = -e[i] - pv[i];
    if (neg < -radius) neg = 0.0f;
    float pos = e[i] - pv[i];
    if (pos > radius) pos = 0.0f;
    nearFace[i] = (-neg <= pos) ? neg : pos;
    S2 += nearFace[i] * nearFace[i];
    if (nearFace[i] <= 0.0f) {
      if (e[i] + pv[i] < faceDist) {
        faceDist = e[i] + pv[i];
        faceDir[0] = faceDir[1] = faceDir[2] = 0.0f;
        faceDir[i] = -1.0f;
      }
      if (e[i] - pv[i] < faceDist) {
        faceDist = e[i] - pv[i];
        faceDir[0] = faceDir[1] = faceDir[2] = 0.0f;
        faceDir[i] = 1.0f;
      }
    }
  }
  if (radius * radius < D2) return;
  qlnMarkTested3D(a, b);
  if (D2 > 0.0f) {
    const float dist = std::sqrt(D2);
    const Vec3 u = qlnNormalizeV3(B.dirToWorld(Vec3(outside[0], outside[1], outside[2])));
    qlnReportContact3D(a, b, S.c - u * dist, radius - dist, -u);
  } else if (S2 > 0.0f) {
    const float dist = std::sqrt(S2);
    const Vec3 u = qlnNormalizeV3(B.dirToWorld(Vec3(nearFace[0], nearFace[1], nearFace[2])));
    qlnReportContact3D(a, b, S.c + u * dist, radius + dist, -u);
  } else {
    const Vec3 u = B.dirToWorld(Vec3(faceDir[0], faceDir[1], faceDir[2]));
    qlnReportContact3D(a, b, S.c + u * faceDist, faceDist + radius, -u);
  }
}

void qlnCollideSphereCylinder(xShape3D* a, xShape3D* b) {
  if (!opening(a, b)) return;
  const xSolid3D S = qlnSolidOf3D(a), C = qlnSolidOf3D(b);
  const Vec3 l = C.toLocal(S.c);
  const float rho = std::sqrt(l.x * l.x + l.z * l.z);
  const float radialGap = rho - (C.r + S.r);
  const float axialGap = std::fabs(l.y) - (C.h * 0.5f + S.r);
  if (radialGap > 0.0f || axialGap > 0.0f) return;
  const float lo = -C.h * 0.5f, hi = C.h * 0.5f;
  // Direction from the axis towards the centre; a centre on the axis takes local +x.
  const Vec3 radial = rho > 1e-12f ? Vec3(l.x / rho, 0.0f, l.z / rho) : Vec3(1.0f, 0.0f, 0.0f);
  Vec3 normal(0.0f), point(0.0f);
  float depth = 0.0f;
  if (l.y > lo && l.y < hi) {
    normal = -radial;
    point = Vec3(radial.x * C.r, l.y, radial.z * C.r);
    depth = std::fabs(radialGap);
  } else if (rho > C.r) {
    const Vec3 rim(radial.x * C.r, l.y >= hi ? hi : lo, radial.z * C.r);
    const Vec3 toRim = rim - l;
    const float dist = qlnLenV3(toRim);
    // Beyond the sphere's reach at the rim: no contact, never a negative depth.
    if (dist > S.r) return;
    normal = dist > 1e-12f ? toRim * (1.0f / dist) : Vec3(0.0f, l.y >= hi ? -1.0f : 1.0f, 0.0f);
    point = rim;
    depth = S.r - dist;
  } else {
    normal = Vec3(0.0f, l.y >= hi ? -1.0f : 1.0f, 0.0f);
    point = Vec3(l.x, l.y >= hi ? hi : lo, l.z);
    depth = std::fabs(axialGap);
  }
  qlnMarkTested3D(a, b);
  qlnReportContact3D(a, b, C.toWorld(point), depth, C.dirToWorld(normal));
}

void qlnCollideBoxCapsule(xShape3D* a, xShape3D* b) {
  if (!opening(a, b)) return;
  const xSolid3D B = qlnSolidOf3D(a), C = qlnSolidOf3D(b);
  qlnSATReset3D();
  if (qlnSATBoxCapsule3D(B, C) || qlnSAT3D().bestAxis < 0) return;
  qlnMarkTested3D(a, b);
  Vec3 p1(0.0f), p2(0.0f);
  float d1 = 0.0f, d2 = 0.0f;
  if (!qlnClipSegmentToBox3D(B, C, p1, p2, d1, d2)) return;
  const Vec3 n = qlnSAT3D().bestNormal;
  qlnReportContact3D(a, b, p2, d2, n);
  qlnReportContact3D(a, b, p1, d1, n);
}

void qlnCollideCapsuleCapsule(xShape3D* a, xShape3D* b) {
  if (!opening(a, b)) return;
  const xSolid3D A = qlnSolidOf3D(a), B = qlnSolidOf3D(b);
  qlnSATReset3D();
  if (qlnSATCapsuleCapsule3D(A, B) || qlnSAT3D().bestAxis < 0) return;
  qlnMarkTested3D(a, b);
  const Vec3 a0 = A.end(-1.0f), a1 = A.end(1.0f), b0 = B.end(-1.0f), b1 = B.end(1.0f);
  const Vec3 n = -qlnSAT3D().bestNormal;
  const int k = qlnSAT3D().bestAxis;
  Vec3 point(0.0f);
  if (k == 0) {
    qlnCapsuleCrossAxisContacts3D(a, b, A, B);
    return;
  }
  if (k <= 4) {
    const Vec3 P = k <= 2 ? a0 : a1;
    const Vec3 Q = (k == 1 || k == 3) ? b0 : b1;
    point = qlnCapsuleMidpoint3D(P, Q, n, A.r, B.r);
  } else if (k <= 6) {
    const Vec3 c0 = qlnClosestPointOnSegment3D(a0, b0, b1);
    const Vec3 c1 = qlnClosestPointOnSegment3D(a1, b0, b1);
    const Vec3 m0 = a0 + n * ((qlnLenV3(a0 - c0) + A.r - B.r) * 0.5f);
    const Vec3 m1 = a1 + n * ((qlnLenV3(a1 - c1) + A.r - B.r) * 0.5f);
    point = qlnLenV3(a0 - m0) < qlnLenV3(a1 - m1) ? m0 : m1;
  } else {
    const Vec3 c0 = qlnClosestPointOnSegment3D(b0, a0, a1);
    const Vec3 c1 = qlnClosestPointOnSegment3D(b1, a0, a1);
    const Vec3 m0 = b0 - n * ((qlnLenV3(b0 - c0) + B.r - A.r) * 0.5f);
    const Vec3 m1 = b1 - n * ((qlnLenV3(b1 - c1) + B.r - A.r) * 0.5f);
    point = qlnLenV3(b0 - m0) < qlnLenV3(b1 - m1) ? m0 : m1;
  }
  qlnReportContact3D(a, b, point, qlnSAT3D().bestDepth, n);
}

}  // namespace QuillonPHX2D
