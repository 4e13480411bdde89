// Box and cylinder pairs: a separating-axis search picks the axis of least overlap, then the
// contact points come from the geometry of that axis (face clipping for boxes, side lines and
// octagonal caps for cylinders).
#include <algorithm>
#include <cmath>

#include "GameExtensions/ColliderTable3D.h"
#include "GameExtensions/SeparatingAxis3D.h"

namespace QuillonPHX2D {

namespace {

constexpr float kPiOver8 = 0.39269909f;
constexpr float kPiOver4 = 0.78539819f;
// Points within this of a clipping face or a cylinder's surface count as inside it, so points
// lying on the surface are not lost to rounding.
constexpr float kInsideSlack = 0.01f;
// Clipped face points whose depths differ by less than this share their mean depth.
constexpr float kFlatFaceSpread = 0.001f;
// A cylinder whose axis lies within about 25 degrees of the contact normal (|cos| at least
// this) touches with its cap; otherwise with its side.
constexpr float kCapContactCos = 0.9f;

// Box-box clipped points, shared like the search record.
Vec3 g_boxPoints[16] = {};
float g_boxDepths[16] = {};
int g_boxPointCount = 0;

bool openPair(xShape3D* a, xShape3D* b, xSolid3D& A, xSolid3D& B) {
  xColliderTable3D::Instance();
  if (!qlnShapesMayTouch3D(a, b)) return false;
  A = qlnSolidOf3D(a);
  B = qlnSolidOf3D(b);
  qlnSATReset3D();
  return true;
}

// Clips a polygon in place against several planes; returns the final count.
int clipAgainst(Vec3* poly, int count, const Vec3* normals, const float* offsets, int planes) {
  Vec3 tmp[32];
  for (int k = 0; k < planes && count > 0; ++k) {
    int outCount = 0;
    qlnClipPolygonToPlane3D(poly, count, tmp, outCount, normals[k], offsets[k]);
    count = std::min(outCount, 16);
    for (int i = 0; i < count; ++i) poly[i] = tmp[i];
  }
  return count;
}

// The nine planes of a cylinder used to cut an incident polygon: first the cap plane on the
// side `capSign` (keeping what lies inside the cylinder, with a little slack), then the eight
// faces of the circumscribed octagonal prism at pi/8 + k pi/4.
void cylinderPlanes(const xSolid3D& cyl, float capSign, Vec3* normals, float* offsets) {
  const Vec3 capN = cyl.ax[1] * -capSign;
  normals[0] = capN;
  offsets[0] = cyl.h * 0.5f + 0.01f - qlnDot3(capN, cyl.c);
  for (int k = 0; k < 8; ++k) {
    const float ang = kPiOver8 + k * kPiOver4;
    const Vec3 dir = cyl.dirToWorld(Vec3(std::cos(ang), 0.0f, std::sin(ang)));
    normals[1 + k] = -dir;
    offsets[1 + k] = cyl.r + qlnDot3(dir, cyl.c);
  }
}

// The side line of a cylinder nearest direction `towards`.
void sideLine(const xSolid3D& cyl, const Vec3& towards, Vec3& p, Vec3& q) {
  const Vec3& a = cyl.ax[1];
  Vec3 w = towards - a * qlnDot3(a, towards);
  if (qlnLenV3(w) >= 1e-05f) {
    w = qlnNormalizeV3(w);
  } else {
    Vec3 t1(0.0f), t2(0.0f);
    qlnPlaneSpace(a, t1, t2);
    w = t1;
  }
  p = cyl.c - a * (cyl.h * 0.5f) + w * cyl.r;
  q = cyl.c + a * (cyl.h * 0.5f) + w * cyl.r;
}

bool insideCylinder(const xSolid3D& cyl, const Vec3& p, float slack) {
  const Vec3 l = cyl.toLocal(p);
  return std::sqrt(l.x * l.x + l.z * l.z) <= cyl.r + slack && std::fabs(l.y) <= cyl.h * 0.5f + slack;
}

// ---- box-box ----

void boxBoxFaceContacts(const xSolid3D& A, const xSolid3D& B, int k, const Vec3& n) {
  const bool refIsA = k < 3;
  const xSolid3D& ref = refIsA ? A : B;
  const xSolid3D& inc = refIsA ? B : A;
  const int refAxis = refIsA ? k : k - 3;
  const Vec3 refN = refIsA ? n : -n;  // outward normal of the reference face
  qlnSAT3D().refFaceNormal = refN;
  const float refHalf[3] = {ref.half.x, ref.half.y, ref.half.z};
  const float incHalf[3] = {inc.half.x, inc.half.y, inc.half.z};

  int best = 0;
  float bestDot = -1.0f;
  for (int i = 0; i < 3; ++i) {
    const float d = std::fabs(qlnDot3(inc.ax[i], refN));
    if (d > bestDot) {
      bestDot = d;
      best = i;
    }
  }
  const float side = qlnDot3(inc.ax[best], refN) > 0.0f ? -1.0f : 1.0f;
  const int u = (best + 1) % 3, v = (best + 2) % 3;
  const Vec3 fc = inc.c + inc.ax[best] * (side * incHalf[best]);
  const Vec3 eu = inc.ax[u] * incHalf[u], ev = inc.ax[v] * incHalf[v];
  Vec3 poly[16] = {fc + eu + ev, fc - eu + ev, fc - eu - ev, fc + eu - ev};

  Vec3 normals[5] = {-refN, Vec3(0.0f), Vec3(0.0f), Vec3(0.0f), Vec3(0.0f)};
  float offsets[5] = {refHalf[refAxis] + kInsideSlack + qlnDot3(refN, ref.c), 0, 0, 0, 0};
  int p = 1;
  for (int i = 0; i < 3; ++i) {
    if (i == refAxis) continue;
    normals[p] = -ref.ax[i];
    offsets[p++] = refHalf[i] + qlnDot3(ref.ax[i], ref.c);
    normals[p] = ref.ax[i];
    offsets[p++] = refHalf[i] - qlnDot3(ref.ax[i], ref.c);
  }
  g_boxPointCount = clipAgainst(poly, 4, normals, offsets, 5);
  for (int i = 0; i < g_boxPointCount; ++i) {
    g_boxPoints[i] = poly[i];
    g_boxDepths[i] = refHalf[refAxis] - qlnDot3(poly[i] - ref.c, refN);
  }
}

}  // namespace

void qlnBoxBoxFaceContacts3D(const xSolid3D& A, const xSolid3D& B, int k, const Vec3& n) {
  boxBoxFaceContacts(A, B, k, n);
}

void qlnCollideBoxBox3D(xShape3D* a, xShape3D* b) {
  xSolid3D A, B;
  if (!openPair(a, b, A, B)) return;
  if (qlnSATBoxBox3D(A, B) || qlnSAT3D().bestAxis < 0) return;
  qlnMarkTested3D(a, b);
  const int k = qlnSAT3D().bestAxis;
  const Vec3 n = qlnSAT3D().bestNormal;
  if (k < 6) {
    qlnBoxBoxFaceContacts3D(A, B, k, n);
    if (g_boxPointCount == 0) return;
    float dmin = g_boxDepths[0], dmax = g_boxDepths[0];
    for (int i = 1; i < g_boxPointCount; ++i) {
      dmin = std::min(dmin, g_boxDepths[i]);
      dmax = std::max(dmax, g_boxDepths[i]);
    }
    // A level stack gets one depth for all its points, so it does not rock.
    if (dmax - dmin < kFlatFaceSpread)
      for (int i = 0; i < g_boxPointCount; ++i) g_boxDepths[i] = (dmin + dmax) * 0.5f;
    const Vec3 refN = qlnSAT3D().refFaceNormal;
    for (int i = 0; i < g_boxPointCount; ++i) {
      const float depth = std::max(g_boxDepths[i], 0.0f);
      qlnReportContact3D(a, b, g_boxPoints[i] + refN * depth, depth, n);
    }
    return;
  }
  const int i = (k - 6) / 3, j = (k - 6) % 3;
  const float ea[3] = {A.half.x, A.half.y, A.half.z};
  const float eb[3] = {B.half.x, B.half.y, B.half.z};
  Vec3 pa = A.c, pb = B.c;
  for (int m = 0; m < 3; ++m) {
    if (m != i) pa += A.ax[m] * (qlnDot3(n, A.ax[m]) >= 0.0f ? ea[m] : -ea[m]);
    if (m != j) pb += B.ax[m] * (qlnDot3(n, B.ax[m]) >= 0.0f ? -eb[m] : eb[m]);
  }
  // Closest points of the two edges, kept on the edges themselves (lines could meet beyond
  // a corner when the boxes overlap deeply).
  Vec3 ca(0.0f), cb(0.0f);
  qlnClosestPointsOnSegments3D(pa - A.ax[i] * ea[i], pa + A.ax[i] * ea[i], pb - B.ax[j] * eb[j],
                               pb + B.ax[j] * eb[j], ca, cb);
  const Vec3 mid = (ca + cb) * 0.5f;
  const float depth = qlnSAT3D().bestDepth;
  qlnReportContact3D(a, b, mid + n * (depth * 0.5f), depth, n);
}

// ---- box-cylinder ----

void qlnBoxCylinderSideContacts3D(xShape3D* a, xShape3D* b, const xSolid3D& box,
                                  const xSolid3D& cyl, const Vec3& n) {
  Vec3 p(0.0f), q(0.0f);
  sideLine(cyl, n, p, q);
  p = p - box.c;
  q = q - box.c;
  const float e[3] = {box.half.x, box.half.y, box.half.z};
  for (int s = 0; s < 2; ++s)
    for (int k = 0; k < 3; ++k)
      if (!qlnClipSegmentToPlane3D(s == 0 ? box.ax[k] : -box.ax[k], e[k], p, q)) return;
  const float r = qlnSAT3D().firstRadius;
  const Vec3 ends[2] = {p, q};
  for (const Vec3& end : ends)
    qlnReportContact3D(a, b, end + box.c, std::max(0.0f, r + qlnDot3(end, n)), -n);
}

void qlnBoxCylinderCapContacts3D(xShape3D* a, xShape3D* b, const xSolid3D& box,
                                 const xSolid3D& cyl, const Vec3& n) {
  // The box face that looks at the cylinder (n points from the cylinder to the box).
  const float e[3] = {box.half.x, box.half.y, box.half.z};
  int best = 0;
  float bestDot = -1.0f;
  for (int i = 0; i < 3; ++i) {
    const float d = std::fabs(qlnDot3(box.ax[i], n));
    if (d > bestDot) {
      bestDot = d;
      best = i;
    }
  }
  const float side = qlnDot3(box.ax[best], n) > 0.0f ? -1.0f : 1.0f;
  const int u = (best + 1) % 3, v = (best + 2) % 3;
  const Vec3 fc = box.c + box.ax[best] * (side * e[best]);
  const Vec3 eu = box.ax[u] * e[u], ev = box.ax[v] * e[v];
  Vec3 poly[16] = {fc + eu + ev, fc - eu + ev, fc - eu - ev, fc + eu - ev};
  const float capSign = qlnDot3(cyl.ax[1], n) >= 0.0f ? 1.0f : -1.0f;
  Vec3 normals[9] = {};
  float offsets[9] = {};
  cylinderPlanes(cyl, capSign, normals, offsets);
  const int count = clipAgainst(poly, 4, normals, offsets, 9);
  for (int i = 0; i < count; ++i) {
    const float depth = cyl.h * 0.5f - capSign * qlnDot3(poly[i] - cyl.c, cyl.ax[1]);
    qlnReportContact3D(a, b, poly[i], std::max(0.0f, depth), -n);
  }
}

void qlnCollideBoxCylinder(xShape3D* a, xShape3D* b) {
  xSolid3D box, cyl;
  if (!openPair(a, b, box, cyl)) return;
  if (qlnSATBoxCylinder3D(box, cyl) || qlnSAT3D().bestAxis < 0) return;
  qlnMarkTested3D(a, b);
  const Vec3 n = qlnSAT3D().bestNormal;
  if (std::fabs(qlnDot3(cyl.ax[1], n)) < kCapContactCos)
    qlnBoxCylinderSideContacts3D(a, b, box, cyl, n);
  else
    qlnBoxCylinderCapContacts3D(a, b, box, cyl, n);
}

// ---- cylinder-cylinder ----

int qlnSegmentInCylinderLocal3D(const xSolid3D& cyl, Vec3 p, Vec3 q, Vec3* out) {
  p = cyl.toLocal(p);
  q = cyl.toLocal(q);
  if (!qlnClipSegmentToPlane3D(Vec3(0.0f, -1.0f, 0.0f), cyl.h * 0.5f, p, q)) return 0;
  if (!qlnClipSegmentToPlane3D(Vec3(0.0f, 1.0f, 0.0f), cyl.h * 0.5f, p, q)) return 0;
  Vec3 o1(0.0f), o2(0.0f);
  if (qlnSegmentInCylinder3D(p, q, cyl.r, o1, o2) == 0) return 0;
  out[0] = cyl.toWorld(o1);
  out[1] = cyl.toWorld(o2);
  return 2;
}

// Points of `line`'s side line facing `into`, lying inside `into`; depth is how far each lies
// inside `into` along the reported normal m.
int qlnCylinderSideContacts3D(xShape3D* a, xShape3D* b, const xSolid3D& line,
                              const xSolid3D& into, const Vec3& towards, const Vec3& m,
                              float intoRadius) {
  Vec3 p(0.0f), q(0.0f);
  sideLine(line, towards, p, q);
  Vec3 pts[2] = {Vec3(0.0f), Vec3(0.0f)};
  const int count = qlnSegmentInCylinderLocal3D(into, p, q, pts);
  for (int i = 0; i < count; ++i) {
    const float depth = std::max(intoRadius - std::fabs(qlnDot3(pts[i] - into.c, m)), 0.0f);
    qlnReportContact3D(a, b, pts[i], depth, m);
  }
  return count;
}

int qlnCylinderCapContacts3D(xShape3D* a, xShape3D* b, const xSolid3D& ref, const xSolid3D& inc,
                             const Vec3& m) {
  // Incident cap: the one of `inc` that faces `ref`.
  const float incSign = qlnDot3(ref.c - inc.c, inc.ax[1]) >= 0.0f ? 1.0f : -1.0f;
  const float refSign = qlnDot3(inc.c - ref.c, ref.ax[1]) >= 0.0f ? 1.0f : -1.0f;
  Vec3 poly[16];
  for (int k = 0; k < 8; ++k) {
    const float ang = kPiOver8 + k * kPiOver4;
    poly[k] = inc.toWorld(Vec3(inc.r * std::cos(ang), incSign * inc.h * 0.5f, inc.r * std::sin(ang)));
  }
  Vec3 normals[9] = {};
  float offsets[9] = {};
  cylinderPlanes(ref, refSign, normals, offsets);
  const int count = clipAgainst(poly, 8, normals, offsets, 9);
  for (int i = 0; i < count; ++i) {
    const float depth = ref.h * 0.5f - refSign * qlnDot3(poly[i] - ref.c, ref.ax[1]);
    qlnReportContact3D(a, b, poly[i], std::max(0.0f, depth), m);
  }
  return count;
}

// The rim of a cylinder's cap that faces `other`, as a closed 16-gon.
constexpr int kRimSides = 16;
void facingRim(const xSolid3D& cyl, const Vec3& other, Vec3* rim) {
  const float y = qlnDot3(other - cyl.c, cyl.ax[1]) >= 0.0f ? cyl.h * 0.5f : -cyl.h * 0.5f;
  for (int k = 0; k < kRimSides; ++k) {
    const float ang = k * (2.0f * QLN_PI / kRimSides);
    rim[k] = cyl.toWorld(Vec3(cyl.r * std::cos(ang), y, cyl.r * std::sin(ang)));
  }
}

// Segments a cylinder offers to the edge contact: its side line facing `towards`, then the
// edges of its facing rim.
int edgeSegments(const xSolid3D& cyl, const Vec3& towards, const Vec3& other, Vec3 (*seg)[2]) {
  sideLine(cyl, towards, seg[0][0], seg[0][1]);
  Vec3 rim[kRimSides];
  facingRim(cyl, other, rim);
  for (int k = 0; k < kRimSides; ++k) {
    seg[1 + k][0] = rim[k];
    seg[1 + k][1] = rim[(k + 1) % kRimSides];
  }
  return 1 + kRimSides;
}

// One contact where the two shapes' facing edges come closest: each cylinder offers its
// facing side line and its facing rim, a capsule its core moved by its radius towards the
// cylinder; the contact sits at the midpoint of the closest pair.
void qlnCylinderEdgeContact3D(xShape3D* a, xShape3D* b, const xSolid3D& A, const xSolid3D& B,
                              const Vec3& m) {
  Vec3 segA[1 + kRimSides][2], segB[1 + kRimSides][2];
  const int countA = edgeSegments(A, m, B.c, segA);
  int countB = 1;
  if (b->getColliderID() == kCollider3DCapsule) {
    segB[0][0] = B.end(-1.0f) - m * B.r;
    segB[0][1] = B.end(1.0f) - m * B.r;
  } else {
    countB = edgeSegments(B, -m, A.c, segB);
  }
  Vec3 best(0.0f);
  float bestDist = QLN_MAX;
  for (int i = 0; i < countA; ++i)
    for (int j = 0; j < countB; ++j) {
      Vec3 ca(0.0f), cb(0.0f);
      qlnClosestPointsOnSegments3D(segA[i][0], segA[i][1], segB[j][0], segB[j][1], ca, cb);
      const float dist = qlnLen2V3(ca - cb);
      if (dist < bestDist) {
        bestDist = dist;
        best = (ca + cb) * 0.5f;
      }
    }
  // The candidate axes only approximate the round shapes, so a search can miss a thin gap;
  // edges that stay clearly apart mean the shapes do not touch.
  const float depth = std::max(0.0f, qlnSAT3D().bestDepth);
  if (std::sqrt(bestDist) > 2.0f * depth + 0.02f) return;
  qlnReportContact3D(a, b, best, depth, m);
}

void qlnCollideCylinderCylinder(xShape3D* a, xShape3D* b) {
  xSolid3D A, B;
  if (!openPair(a, b, A, B)) return;
  if (qlnSATCylinderCylinder3D(A, B) || qlnSAT3D().bestAxis < 0) return;
  qlnMarkTested3D(a, b);
  const int k = qlnSAT3D().bestAxis;
  const Vec3 n = qlnSAT3D().bestNormal;  // from B to A
  const Vec3 m = -n;
  const float rA = qlnSAT3D().firstRadius, rB = qlnSAT3D().secondRadius;
  int count = 0;
  if (k <= 1) {
    const xSolid3D& ref = k == 0 ? A : B;
    const xSolid3D& inc = k == 0 ? B : A;
    if (std::fabs(qlnDot3(inc.ax[1], n)) > 0.5f) {
      count = qlnCylinderCapContacts3D(a, b, ref, inc, m);
    } else {
      count += qlnCylinderSideContacts3D(a, b, B, A, n, m, rA);
      count += qlnCylinderSideContacts3D(a, b, A, B, m, m, rB);
    }
    if (count == 0) qlnCylinderEdgeContact3D(a, b, A, B, m);
    return;
  }
  if (k <= 8) {
    qlnCylinderSideContacts3D(a, b, B, A, n, m, rA);
    qlnCylinderSideContacts3D(a, b, A, B, m, m, rB);
    return;
  }
  // A rim axis: the stored rim point, when it lies in both cylinders; otherwise the rim axis
  // only restated the cross axis and the side lines give the contact.
  const Vec3 rim = qlnSAT3D().rimPoint;
  const float slack = qlnSAT3D().bestDepth + kInsideSlack;
  if (insideCylinder(A, rim, slack) && insideCylinder(B, rim, slack)) {
    qlnReportContact3D(a, b, rim, qlnSAT3D().bestDepth, m);
    return;
  }
  count += qlnCylinderSideContacts3D(a, b, B, A, n, m, rA);
  count += qlnCylinderSideContacts3D(a, b, A, B, m, m, rB);
  if (count == 0) qlnCylinderEdgeContact3D(a, b, A, B, m);
}

// ---- cylinder-capsule ----

// The capsule's core, moved by its radius towards the cylinder and kept where it lies inside
// the cylinder (ends within the slack of the surface count as inside).
int qlnCylinderCapsuleCore3D(const xSolid3D& cyl, const xSolid3D& cap, const Vec3& m, Vec3* out) {
  Vec3 p = cyl.toLocal(cap.end(1.0f) - m * cap.r);
  Vec3 q = cyl.toLocal(cap.end(-1.0f) - m * cap.r);
  const float r = cyl.r;
  auto inside = [r](const Vec3& v) { return std::sqrt(v.x * v.x + v.z * v.z) - r < kInsideSlack; };
  if (!(inside(p) && inside(q))) {
    Vec3 o1(0.0f), o2(0.0f);
    if (qlnSegmentInCylinder3D(p, q, r, o1, o2) == 0) return 0;
    if (!inside(p)) p = o1;
    if (!inside(q)) q = o2;
  }
  if (!qlnClipSegmentToPlane3D(Vec3(0.0f, -1.0f, 0.0f), cyl.h * 0.5f, p, q)) return 0;
  if (!qlnClipSegmentToPlane3D(Vec3(0.0f, 1.0f, 0.0f), cyl.h * 0.5f, p, q)) return 0;
  out[0] = cyl.toWorld(p);
  out[1] = cyl.toWorld(q);
  return 2;
}

int qlnCylinderCapsuleContacts3D(xShape3D* a, xShape3D* b, const xSolid3D& cyl,
                                 const xSolid3D& cap, const Vec3& m) {
  Vec3 pts[2] = {Vec3(0.0f), Vec3(0.0f)};
  const int count = qlnCylinderCapsuleCore3D(cyl, cap, m, pts);
  const float rho = qlnSAT3D().secondRadius;
  for (int i = 0; i < count; ++i)
    qlnReportContact3D(a, b, pts[i], std::max(rho - qlnDot3(pts[i] - cyl.c, m), 0.0f), m);
  return count;
}

void qlnCylinderCapsuleDispatch3D(xShape3D* a, xShape3D* b, const xSolid3D& cyl,
                                  const xSolid3D& cap) {
  const Vec3 m = -qlnSAT3D().bestNormal;
  if (qlnCylinderCapsuleContacts3D(a, b, cyl, cap, m) == 0 && qlnSAT3D().bestAxis == 0)
    qlnCylinderEdgeContact3D(a, b, cyl, cap, m);
}

void qlnCollideCylinderCapsule(xShape3D* a, xShape3D* b) {
  xSolid3D cyl, cap;
  if (!openPair(a, b, cyl, cap)) return;
  if (qlnSATCylinderCapsule3D(cyl, cap) || qlnSAT3D().bestAxis < 0) return;
  qlnMarkTested3D(a, b);
  qlnCylinderCapsuleDispatch3D(a, b, cyl, cap);
}

// ---- cylinder-plane ----

void qlnCylinderPlaneRimContacts3D(xShape3D* a, xShape3D* b, const xSolid3D& cyl, const Vec3& n,
                                   float d) {
  // The side line deepest towards the plane, kept where it lies behind the plane.
  Vec3 p(0.0f), q(0.0f);
  sideLine(cyl, -n, p, q);
  if (!qlnClipSegmentToPlane3D(-n, -d, p, q)) return;
  qlnReportContact3D(a, b, p, std::max(0.0f, -(qlnDot3(n, p) + d)), -n);
  qlnReportContact3D(a, b, q, std::max(0.0f, -(qlnDot3(n, q) + d)), -n);
}

void qlnCylinderPlaneCapContacts3D(xShape3D* a, xShape3D* b, const xSolid3D& cyl, const Vec3& n,
                                   float d) {
  const float capY = qlnDot3(cyl.ax[1], n) < 0.0f ? cyl.h * 0.5f : -cyl.h * 0.5f;
  Vec3 octagon[8];
  for (int k = 0; k < 8; ++k) {
    const float ang = k * kPiOver4;
    octagon[k] = cyl.toWorld(Vec3(cyl.r * std::cos(ang), capY, cyl.r * std::sin(ang)));
  }
  // The part of the cap behind the plane: its corners with their depths, and the points where
  // the octagon's edges cross the plane (depth 0).
  Vec3 behind[16];
  int count = 0;
  qlnClipPolygonToPlane3D(octagon, 8, behind, count, -n, -d);
  for (int i = 0; i < count; ++i)
    qlnReportContact3D(a, b, behind[i], std::max(0.0f, -(qlnDot3(n, behind[i]) + d)), -n);
}

void qlnCollideCylinderPlane(xShape3D* a, xShape3D* b) {
  xColliderTable3D::Instance();
  if (!qlnShapesMayTouch3D(a, b)) return;
  const xSolid3D cyl = qlnSolidOf3D(a);
  Vec3 n(0.0f);
  float d = 0.0f;
  qlnWorldPlane3D(b, n, d);
  qlnSATReset3D();
  if (qlnSATCylinderPlane3D(n, d, cyl) || qlnSAT3D().bestAxis < 0) return;
  qlnMarkTested3D(a, b);
  if (std::fabs(qlnDot3(cyl.ax[1], n)) < kCapContactCos)
    qlnCylinderPlaneRimContacts3D(a, b, cyl, n, d);
  else
    qlnCylinderPlaneCapContacts3D(a, b, cyl, n, d);
}

}  // namespace QuillonPHX2D
