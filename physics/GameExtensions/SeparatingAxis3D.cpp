#include "GameExtensions/SeparatingAxis3D.h"

#include <algorithm>
#include <cmath>

#include "GameExtensions/ColliderTable3D.h"

namespace QuillonPHX2D {

namespace {

// The program-wide record; its first values differ from the reset ones so a reader that
// runs before any search can tell.
xSATState3D g_sat = {-1, -QLN_MAX, -QLN_MAX, -QLN_MAX, Vec3(0.0f), Vec3(0.0f), Vec3(0.0f), false};

Vec3 g_corners[8] = {Vec3(0.0f), Vec3(0.0f), Vec3(0.0f), Vec3(0.0f),
                     Vec3(0.0f), Vec3(0.0f), Vec3(0.0f), Vec3(0.0f)};

// Edge axes must beat the face axes by this factor, so resting boxes keep their face contacts.
constexpr float kEdgeAxisMargin = 1.02001f;
// Axes shorter than this have no direction to trust.
constexpr float kShortAxis = 1e-05f;

enum RadiusStore { kStoreFirst, kStoreSecond, kStoreBoth };

// Normalises L in place; false for an axis too short to trust.
bool unitAxis(Vec3& L) {
  const float len = qlnLenV3(L);
  if (!(len > kShortAxis)) return false;
  L = L * (1.0f / len);
  return true;
}

// Common tail of the per-axis tests: r1 and r2 are the shapes' projected radii on the unit
// axis L, d the centre distance (second minus first) along it.
bool recordAxis(const Vec3& L, float r1, float r2, float storeFirst, float storeSecond, float d,
                int index, bool negateWhenPositive, RadiusStore store) {
  const float sum = r1 + r2;
  if (std::fabs(d) > sum) {
    g_sat.separated = true;
    return true;
  }
  const float overlap = sum - std::fabs(d);
  if (overlap < g_sat.bestDepth) {
    g_sat.bestDepth = overlap;
    g_sat.bestAxis = index;
    const bool negate = negateWhenPositive ? d > 0.0f : d < 0.0f;
    g_sat.bestNormal = negate ? -L : L;
    if (store == kStoreFirst || store == kStoreBoth) g_sat.firstRadius = storeFirst;
    if (store == kStoreSecond) g_sat.secondRadius = storeSecond;
    if (store == kStoreBoth) g_sat.secondRadius = storeSecond;
  }
  g_sat.separated = false;
  return false;
}

Vec3 perpendicularToLine(const Vec3& v, const Vec3& a) { return qlnCross3(qlnCross3(v, a), a); }

}  // namespace

xSATState3D& qlnSAT3D() { return g_sat; }

void qlnSATReset3D() {
  g_sat.bestAxis = -1;
  g_sat.bestDepth = QLN_MAX;
  g_sat.firstRadius = QLN_MAX;
  g_sat.secondRadius = QLN_MAX;
  g_sat.bestNormal = Vec3(0.0f);
  g_sat.refFaceNormal = Vec3(0.0f);
  g_sat.rimPoint = Vec3(0.0f);
  g_sat.separated = false;
}

float qlnBoxRadius3D(const xSolid3D& box, const Vec3& L) {
  return std::fabs(qlnDot3(L, box.ax[0])) * box.half.x + std::fabs(qlnDot3(L, box.ax[1])) * box.half.y +
         std::fabs(qlnDot3(L, box.ax[2])) * box.half.z;
}

float qlnCapsuleRadius3D(const xSolid3D& cap, const Vec3& L) {
  return std::fabs(qlnDot3(L, cap.ax[1])) * cap.core + cap.r;
}

float qlnCylinderRadius3D(const xSolid3D& cyl, const Vec3& L) {
  // |c| is kept at most 1 so rounding never puts a negative under the root.
  const float c = std::min(std::fabs(qlnDot3(L, cyl.ax[1])), 1.0f);
  return cyl.r * std::sqrt(1.00000012f - c * c) + c * cyl.h * 0.5f;
}

bool qlnSATAxisBoxCapsule3D(const xSolid3D& box, const xSolid3D& capsule, Vec3 L, int index) {
  if (!unitAxis(L)) return false;
  const float rb = qlnBoxRadius3D(box, L);
  const float rc = qlnCapsuleRadius3D(capsule, L);
  return recordAxis(L, rb, rc, rb, rc, qlnDot3(capsule.c - box.c, L), index, false, kStoreFirst);
}

bool qlnSATAxisBoxCylinder3D(const xSolid3D& box, const xSolid3D& cyl, Vec3 L, int index) {
  if (!unitAxis(L)) return false;
  const float rb = qlnBoxRadius3D(box, L);
  const float rc = qlnCylinderRadius3D(cyl, L);
  return recordAxis(L, rb, rc, rb, rc, qlnDot3(cyl.c - box.c, L), index, true, kStoreBoth);
}

bool qlnSATAxisCylinderCapsule3D(const xSolid3D& cyl, const xSolid3D& capsule, Vec3 L, int index) {
  if (!unitAxis(L)) return false;
  const float ry = qlnCylinderRadius3D(cyl, L);
  const float rc = qlnCapsuleRadius3D(capsule, L);
  return recordAxis(L, ry, rc, ry, ry, qlnDot3(capsule.c - cyl.c, L), index, true, kStoreSecond);
}

bool qlnSATAxisCylinderCylinder3D(const xSolid3D& a, const xSolid3D& b, Vec3 L, int index) {
  if (!unitAxis(L)) return false;
  const float ra = qlnCylinderRadius3D(a, L);
  const float rb = qlnCylinderRadius3D(b, L);
  return recordAxis(L, ra, rb, ra, rb, qlnDot3(b.c - a.c, L), index, true, kStoreBoth);
}

bool qlnSATAxisCapsuleCapsule3D(const xSolid3D& a, const xSolid3D& b, Vec3 L, int index) {
  if (!unitAxis(L)) return false;
  const float ra = qlnCapsuleRadius3D(a, L);
  const float rb = qlnCapsuleRadius3D(b, L);
  return recordAxis(L, ra, rb, ra, rb, qlnDot3(b.c - a.c, L), index, true, kStoreBoth);
}

bool qlnSATFaceAxis3D(float projectedSum, float projectedDistance, const Vec3& axis, int index) {
  const float overlap = projectedSum - std::fabs(projectedDistance);
  if (overlap < 0.0f) {
    g_sat.separated = true;
    return true;
  }
  if (overlap < g_sat.bestDepth) {
    g_sat.bestDepth = overlap;
    g_sat.bestAxis = index;
    g_sat.bestNormal = projectedDistance < 0.0f ? -axis : axis;
  }
  return false;
}

bool qlnSATEdgeAxis3D(float projectedSum, float projectedDistance, const Vec3& axis, int index) {
  const float l = qlnLenV3(axis);
  if (!(l > 0.0f)) return false;
  float overlap = projectedSum - std::fabs(projectedDistance);
  if (overlap < 0.0f) {
    g_sat.separated = true;
    return true;
  }
  overlap /= l;
  if (overlap * kEdgeAxisMargin < g_sat.bestDepth) {
    g_sat.bestDepth = overlap;
    g_sat.bestAxis = index;
    const Vec3 n = axis * (1.0f / l);
    g_sat.bestNormal = projectedDistance < 0.0f ? -n : n;
  }
  return false;
}

bool qlnSATBoxBox3D(const xSolid3D& a, const xSolid3D& b) {
  const float ea[3] = {a.half.x, a.half.y, a.half.z};
  const float eb[3] = {b.half.x, b.half.y, b.half.z};
  const Vec3 t = b.c - a.c;
  float absR[3][3];
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) absR[i][j] = std::fabs(qlnDot3(a.ax[i], b.ax[j]));

  for (int i = 0; i < 3; ++i) {
    const float sum = ea[i] + absR[i][0] * eb[0] + absR[i][1] * eb[1] + absR[i][2] * eb[2];
    if (qlnSATFaceAxis3D(sum, qlnDot3(t, a.ax[i]), a.ax[i], i)) return true;
  }
  for (int j = 0; j < 3; ++j) {
    const float sum = eb[j] + absR[0][j] * ea[0] + absR[1][j] * ea[1] + absR[2][j] * ea[2];
    if (qlnSATFaceAxis3D(sum, qlnDot3(t, b.ax[j]), b.ax[j], 3 + j)) return true;
  }
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) {
      const Vec3 axis = qlnCross3(a.ax[i], b.ax[j]);
      if (qlnLen2V3(axis) <= 1e-06f) continue;
      const float sum = qlnBoxRadius3D(a, axis) + qlnBoxRadius3D(b, axis);
      if (qlnSATEdgeAxis3D(sum, qlnDot3(t, axis), axis, 6 + i * 3 + j)) return true;
    }
  g_sat.separated = false;
  return false;
}

const Vec3* qlnBoxCorners3D(const xSolid3D& box) {
  static const float sign[8][3] = {{-1, 1, -1}, {1, 1, -1}, {-1, -1, -1}, {1, -1, -1},
                                   {1, 1, 1},   {1, -1, 1}, {-1, -1, 1},  {-1, 1, 1}};
  for (int k = 0; k < 8; ++k)
    g_corners[k] = box.toWorld(Vec3(sign[k][0] * box.half.x, sign[k][1] * box.half.y,
                                    sign[k][2] * box.half.z));
  return g_corners;
}

Vec3 qlnBoxClosestDirection3D(const Vec3& point, const xSolid3D& box, float radius) {
  const Vec3 p = box.toLocal(point);
  const float pv[3] = {p.x, p.y, p.z};
  const float e[3] = {box.half.x, box.half.y, box.half.z};
  float outside[3] = {0, 0, 0}, nearFace[3] = {0, 0, 0}, faceDir[3] = {0, 0, 0};
  float faceDist = QLN_MAX;
  for (int i = 0; i < 3; ++i) {
    if (pv[i] < -e[i]) {
      outside[i] = pv[i] + e[i];
    } else if (pv[i] > e[i]) {
      outside[i] = pv[i] - e[i];
    } else {
      float neg = -e[i] - pv[i];
      if (neg < -radius) neg = 0.0f;
      float pos = e[i] - pv[i];
      if (pos > radius) pos = 0.0f;
      const float offset = (-neg <= pos) ? neg : pos;
      nearFace[i] = offset;
      if (offset <= 0.0f) {
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
  }
  const Vec3 o(outside[0], outside[1], outside[2]);
  if (qlnLen2V3(o) > 0.0f) return box.dirToWorld(o);
  const Vec3 nf(nearFace[0], nearFace[1], nearFace[2]);
  if (qlnLen2V3(nf) > 0.0f) return box.dirToWorld(nf);
  return box.dirToWorld(Vec3(faceDir[0], faceDir[1], faceDir[2]));
}

bool qlnSATBoxCapsule3D(const xSolid3D& box, const xSolid3D& capsule) {
  const Vec3& a = capsule.ax[1];
  for (int i = 0; i < 3; ++i)
    if (qlnSATAxisBoxCapsule3D(box, capsule, qlnCross3(a, box.ax[i]), i)) return true;
  if (qlnSATAxisBoxCapsule3D(box, capsule, qlnBoxClosestDirection3D(capsule.end(1.0f), box, capsule.r), 3))
    return true;
  if (qlnSATAxisBoxCapsule3D(box, capsule, qlnBoxClosestDirection3D(capsule.end(-1.0f), box, capsule.r), 4))
    return true;
  const Vec3* corners = qlnBoxCorners3D(box);
  for (int k = 0; k < 8; ++k)
    if (qlnSATAxisBoxCapsule3D(box, capsule, perpendicularToLine(capsule.c - corners[k], a), 5 + k))
      return true;
  g_sat.separated = false;
  return false;
}

void qlnSATEdgeAxisBoxCylinder3D(const Vec3& P, const Vec3& Q, const Vec3& K, const xSolid3D& box,
                                 const xSolid3D& cyl, int index, bool& separated) {
  separated = false;
  Vec3 u = Q - P;
  if (!unitAxis(u)) return;
  const Vec3& a = cyl.ax[1];
  const float ua = qlnDot3(u, a);
  if (std::fabs(ua) < 1e-05f) return;
  const Vec3 X = P + u * (qlnDot3(K - P, a) / ua);
  const Vec3 axis = qlnCross3(qlnCross3(u, K - X), u);
  separated = qlnSATAxisBoxCylinder3D(box, cyl, axis, index);
}

bool qlnSATBoxCylinder3D(const xSolid3D& box, const xSolid3D& cyl) {
  const Vec3& a = cyl.ax[1];
  for (int i = 0; i < 3; ++i)
    if (qlnSATAxisBoxCylinder3D(box, cyl, box.ax[i], i)) return true;
  if (qlnSATAxisBoxCylinder3D(box, cyl, a, 3)) return true;
  for (int i = 0; i < 3; ++i) {
    const Vec3 axis = qlnCross3(a, box.ax[i]);
    if (qlnLen2V3(axis) <= 1e-06f) continue;
    if (qlnSATAxisBoxCylinder3D(box, cyl, axis, 4 + i)) return true;
  }
  const Vec3* corners = qlnBoxCorners3D(box);
  Vec3 c[8] = {corners[0], corners[1], corners[2], corners[3],
               corners[4], corners[5], corners[6], corners[7]};
  for (int k = 0; k < 8; ++k) {
    const Vec3 axis = perpendicularToLine(cyl.c - c[k], a);
    if (qlnLen2V3(axis) <= 1e-06f) continue;
    if (qlnSATAxisBoxCylinder3D(box, cyl, axis, 7 + k)) return true;
  }
  static const int edges[12][2] = {{1, 0}, {1, 3}, {2, 3}, {2, 0}, {4, 1}, {4, 7},
                                   {0, 7}, {5, 3}, {5, 6}, {2, 6}, {4, 5}, {6, 7}};
  for (int cap = 0; cap < 2; ++cap) {
    const Vec3 K = cyl.c + a * ((cap == 0 ? 0.5f : -0.5f) * cyl.h);
    for (int e = 0; e < 12; ++e) {
      bool separated = false;
      qlnSATEdgeAxisBoxCylinder3D(c[edges[e][0]], c[edges[e][1]], K, box, cyl, 15 + cap * 12 + e,
                                  separated);
      if (separated) return true;
    }
  }
  g_sat.separated = false;
  return false;
}

bool qlnSATCapsuleCapsule3D(const xSolid3D& A, const xSolid3D& B) {
  const Vec3& a = A.ax[1];
  const Vec3& b = B.ax[1];
  const Vec3 a0 = A.end(-1.0f), a1 = A.end(1.0f), b0 = B.end(-1.0f), b1 = B.end(1.0f);
  const Vec3 axes[9] = {qlnCross3(a, b),
                        a0 - b0,
                        a0 - b1,
                        a1 - b0,
                        a1 - b1,
                        perpendicularToLine(a0 - B.c, b),
                        perpendicularToLine(a1 - B.c, b),
                        perpendicularToLine(b0 - A.c, a),
                        perpendicularToLine(b1 - A.c, a)};
  for (int k = 0; k < 9; ++k) {
    if (qlnLen2V3(axes[k]) <= 1e-06f) continue;
    if (qlnSATAxisCapsuleCapsule3D(A, B, axes[k], k)) return true;
  }
  g_sat.separated = false;
  return false;
}

void qlnSATPointAxis3D(const Vec3& P0, const Vec3& P1, const Vec3& K, const Vec3& m,
                       const xSolid3D& first, const xSolid3D& second, int index, int kind,
                       bool& separated) {
  separated = false;
  Vec3 u = P1 - P0;
  if (!unitAxis(u)) return;
  const float um = qlnDot3(u, m);
  if (std::fabs(um) < 1e-05f) return;
  const Vec3 X = P0 + u * (qlnDot3(K - P0, m) / um);
  const Vec3 axis = perpendicularToLine(K - X, m);
  separated = kind == 0 ? qlnSATAxisCylinderCapsule3D(first, second, axis, index)
                        : qlnSATAxisCylinderCylinder3D(first, second, axis, index);
}

bool qlnSATCylinderCapsule3D(const xSolid3D& cyl, const xSolid3D& capsule) {
  const Vec3& a = cyl.ax[1];
  if (qlnSATAxisCylinderCapsule3D(cyl, capsule, a, 0)) return true;
  const Vec3 ePlus = capsule.end(1.0f), eMinus = capsule.end(-1.0f);
  const Vec3 list[3] = {qlnCross3(capsule.ax[1], a), perpendicularToLine(ePlus - cyl.c, a),
                        perpendicularToLine(eMinus - cyl.c, a)};
  for (int k = 0; k < 3; ++k) {
    if (qlnLen2V3(list[k]) <= 1e-06f) continue;
    if (qlnSATAxisCylinderCapsule3D(cyl, capsule, list[k], 1 + k)) return true;
  }
  const Vec3 capPlus = cyl.c + a * (cyl.h * 0.5f), capMinus = cyl.c - a * (cyl.h * 0.5f);
  bool separated = false;
  qlnSATPointAxis3D(eMinus, ePlus, capPlus, a, cyl, capsule, 4, 0, separated);
  if (separated) return true;
  qlnSATPointAxis3D(eMinus, ePlus, capMinus, a, cyl, capsule, 5, 0, separated);
  if (separated) return true;
  const Vec3 caps[4] = {capPlus, capPlus, capMinus, capMinus};
  const Vec3 ends[4] = {ePlus, eMinus, ePlus, eMinus};
  for (int k = 0; k < 4; ++k) {
    const Vec3 dl = cyl.dirToLocal(ends[k] - caps[k]);
    const Vec3 flat(dl.x, 0.0f, dl.z);
    const float len = qlnLenV3(flat);
    if (!(len > 1e-06f)) continue;
    const Vec3 rim = caps[k] + cyl.dirToWorld(flat * (cyl.r / len));
    if (qlnSATAxisCylinderCapsule3D(cyl, capsule, ends[k] - rim, 6 + k)) return true;
  }
  g_sat.separated = false;
  return false;
}

bool qlnCylinderRimAxisValid3D(const Vec3& K1, const Vec3& a1, float r1, const Vec3& K2,
                               const Vec3& a2, float r2, Vec3& rim1, Vec3& rim2) {
  Vec3 u = qlnCross3(a1, a2);
  const float ulen = qlnLenV3(u);
  const float ab = qlnDot3(a1, a2);
  if (!(ulen > 1e-05f) || ab * ab > 1.0f) return false;
  u = u * (1.0f / ulen);
  // The line common to both cap planes, reached from K1 within the first plane.
  const Vec3 w1 = qlnCross3(u, a1);
  const float denom = qlnDot3(a2, w1);
  if (std::fabs(denom) < 1e-06f) return false;
  const float t = qlnDot3(a2, K2 - K1) / denom;
  if (std::fabs(t) > r1) return false;
  const Vec3 X = K1 + w1 * t;
  const float s1 = std::sqrt(std::max(0.0f, r1 * r1 - t * t));
  const Vec3 p1a = X + u * s1, p1b = X - u * s1;
  rim1 = qlnLen2V3(p1a - K2) <= qlnLen2V3(p1b - K2) ? p1a : p1b;
  const Vec3 X2 = X + u * qlnDot3(K2 - X, u);
  const float t2 = qlnLenV3(K2 - X2);
  if (t2 > r2) return false;
  const float s2 = std::sqrt(std::max(0.0f, r2 * r2 - t2 * t2));
  const Vec3 p2a = X2 + u * s2, p2b = X2 - u * s2;
  rim2 = qlnLen2V3(p2a - K1) <= qlnLen2V3(p2b - K1) ? p2a : p2b;
  return true;
}

bool qlnSATCylinderCylinder3D(const xSolid3D& A, const xSolid3D& B) {
  const Vec3& a = A.ax[1];
  const Vec3& b = B.ax[1];
  if (qlnSATAxisCylinderCylinder3D(A, B, a, 0)) return true;
  if (qlnSATAxisCylinderCylinder3D(A, B, b, 1)) return true;
  const Vec3 list[3] = {qlnCross3(a, b), perpendicularToLine(A.c - B.c, b),
                        perpendicularToLine(A.c - B.c, a)};
  for (int k = 0; k < 3; ++k) {
    if (qlnLen2V3(list[k]) <= 1e-06f) continue;
    if (qlnSATAxisCylinderCylinder3D(A, B, list[k], 2 + k)) return true;
  }
  const Vec3 aPlus = A.c + a * (A.h * 0.5f), aMinus = A.c - a * (A.h * 0.5f);
  const Vec3 bPlus = B.c + b * (B.h * 0.5f), bMinus = B.c - b * (B.h * 0.5f);
  bool separated = false;
  qlnSATPointAxis3D(bMinus, bPlus, aPlus, a, A, B, 5, 1, separated);
  if (separated) return true;
  qlnSATPointAxis3D(bMinus, bPlus, aMinus, a, A, B, 6, 1, separated);
  if (separated) return true;
  qlnSATPointAxis3D(aMinus, aPlus, bPlus, b, A, B, 7, 1, separated);
  if (separated) return true;
  qlnSATPointAxis3D(aMinus, aPlus, bMinus, b, A, B, 8, 1, separated);
  if (separated) return true;
  const Vec3 capsA[4] = {aPlus, aPlus, aMinus, aMinus};
  const Vec3 capsB[4] = {bPlus, bMinus, bPlus, bMinus};
  for (int k = 0; k < 4; ++k) {
    Vec3 rimA(0.0f), rimB(0.0f);
    if (!qlnCylinderRimAxisValid3D(capsA[k], a, A.r, capsB[k], b, B.r, rimA, rimB)) continue;
    const int before = g_sat.bestAxis;
    if (qlnSATAxisCylinderCylinder3D(A, B, rimB - rimA, 9 + k)) return true;
    if (g_sat.bestAxis == 9 + k && before != 9 + k) g_sat.rimPoint = (rimA + rimB) * 0.5f;
  }
  g_sat.separated = false;
  return false;
}

bool qlnSATCylinderPlane3D(const Vec3& n, float d, const xSolid3D& cyl) {
  const float c = std::min(qlnDot3(n, cyl.ax[1]), 1.0f);
  const float radius = std::fabs(c * cyl.h * 0.5f) + cyl.r * std::sqrt(std::max(0.0f, 1.0001f - c * c));
  // The plane is one-sided: a centre behind it is deeper, never "far away".
  const float dist = qlnDot3(n, cyl.c) + d;
  if (dist > radius) {
    g_sat.separated = true;
    return true;
  }
  g_sat.bestAxis = 0;
  g_sat.bestDepth = radius - dist;
  g_sat.firstRadius = radius;
  g_sat.bestNormal = n;
  g_sat.separated = false;
  return false;
}

bool qlnClipSegmentToBox3D(const xSolid3D& box, const xSolid3D& capsule, Vec3& p1, Vec3& p2,
                           float& depth1, float& depth2) {
  const Vec3 n = g_sat.bestNormal;
  Vec3 q1 = capsule.end(-1.0f) - n * capsule.r - box.c;
  Vec3 q2 = capsule.end(1.0f) - n * capsule.r - box.c;
  const float e[3] = {box.half.x, box.half.y, box.half.z};
  for (int s = 0; s < 2; ++s)
    for (int k = 0; k < 3; ++k) {
      const Vec3 axis = s == 0 ? box.ax[k] : -box.ax[k];
      if (!qlnClipSegmentToPlane3D(axis, e[k], q1, q2)) return false;
    }
  depth2 = std::max(0.0f, g_sat.firstRadius - qlnDot3(n, q2));
  depth1 = std::max(0.0f, g_sat.firstRadius - qlnDot3(n, q1));
  p1 = q1 + box.c;
  p2 = q2 + box.c;
  return true;
}

int qlnSegmentInCylinder3D(const Vec3& p, const Vec3& q, float r, Vec3& o1, Vec3& o2) {
  if (p.x * p.x + p.z * p.z < r * r && q.x * q.x + q.z * q.z < r * r) {
    o1 = p;
    o2 = q;
    return 2;
  }
  const Vec3 dq = q - p;
  const float ell = std::sqrt(dq.x * dq.x + dq.z * dq.z);
  const Vec3 u = ell > 1e-05f ? dq * (1.0f / ell) : dq;
  const float m = -(p.x * u.x + p.z * u.z);
  const float cx = p.x + m * u.x, cz = p.z + m * u.z;
  const float dist2 = cx * cx + cz * cz;
  if (dist2 > r * r) return 0;
  const float s = std::sqrt(r * r - dist2);
  const float tLo = std::max(0.0f, m - s);
  const float tHi = std::min(ell, m + s);
  if (tHi < tLo) return 0;
  o1 = p + u * tLo;
  o2 = p + u * tHi;
  return 2;
}

int qlnCapsuleOverlapPoints3D(const xSolid3D& ref, const xSolid3D& other, float refRadius,
                              Vec3* out) {
  // The stored normal points from the second capsule to the first; shift the other capsule's
  // core towards the reference whichever of the two it is.
  const Vec3 toRef = qlnDot3(ref.c - other.c, g_sat.bestNormal) >= 0.0f ? g_sat.bestNormal
                                                                      : -g_sat.bestNormal;
  Vec3 w = toRef - other.ax[1] * qlnDot3(toRef, other.ax[1]);
  w = qlnSafeNormalize3D(w, Vec3(0.0f, 1.0f, 0.0f));
  Vec3 e1 = ref.toLocal(other.end(1.0f) + w * other.r);
  Vec3 e2 = ref.toLocal(other.end(-1.0f) + w * other.r);
  if (!qlnClipSegmentToPlane3D(Vec3(0.0f, 1.0f, 0.0f), ref.core, e1, e2)) return 0;
  if (!qlnClipSegmentToPlane3D(Vec3(0.0f, -1.0f, 0.0f), ref.core, e1, e2)) return 0;
  Vec3 o1(0.0f), o2(0.0f);
  if (qlnSegmentInCylinder3D(e1, e2, refRadius, o1, o2) == 0) return 0;
  out[0] = ref.toWorld(o1);
  out[1] = ref.toWorld(o2);
  return 2;
}

bool qlnCapsuleCrossAxisContacts3D(xShape3D* first, xShape3D* second, const xSolid3D& a,
                                   const xSolid3D& b) {
  const Vec3 n = -g_sat.bestNormal;
  Vec3 pts[2] = {Vec3(0.0f), Vec3(0.0f)};
  float refRadius = g_sat.secondRadius;
  Vec3 refCentre = b.c;
  int count = qlnCapsuleOverlapPoints3D(b, a, b.r, pts);
  if (count == 0) {
    refRadius = g_sat.firstRadius;
    refCentre = a.c;
    count = qlnCapsuleOverlapPoints3D(a, b, a.r, pts);
  }
  for (int i = 0; i < count; ++i) {
    const float depth = std::max(0.0f, refRadius - std::fabs(qlnDot3(pts[i] - refCentre, n)));
    qlnReportContact3D(first, second, pts[i], depth, n);
  }
  return count > 0;
}

Vec3 qlnCapsuleMidpoint3D(const Vec3& P, const Vec3& Q, const Vec3& n, float rP, float rQ) {
  return P + n * ((qlnLenV3(P - Q) + rP - rQ) * 0.5f);
}

}  // namespace QuillonPHX2D
