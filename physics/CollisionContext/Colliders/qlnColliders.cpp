// The narrow phase: circle, box and line-segment pairs. Every routine reports its contacts with
// a unit normal from the first shape toward the second and a depth >= 0; degenerate inputs get
// a fixed normal instead of a division by zero.
#include <cmath>

#include "CollisionContext/Colliders/qlnSeparatingAxis.h"
#include "CollisionContext/Colliders/xColliderTable.h"
#include "CollisionContext/xCollisionContext.h"
#include "Collision/Shapes/xPrimitive.h"
#include "Collision/Shapes/xPrimitiveShape.h"
#include "sdk/QuillonPhysicsSDK.h"

namespace QuillonPHX2D {
namespace {

// Distances below this (px) have no usable direction: the routines take a fixed normal instead.
constexpr float kTiny = 1e-05f;
// Room for a clipped polygon: a box (4 corners) clipped by five lines gains at most one corner
// a line, with slack.
constexpr int kClipMax = 10;
// Two boxes turned between about 41 and 70 degrees to each other (|cos| of the angle between
// them in this range) meet corner first: one contact at the corner, not a clipped face.
constexpr float kCornerContactCosLow = 0.35f;
constexpr float kCornerContactCosHigh = 0.75f;
// Clipped face points whose depths differ by less than this (px) share their mean depth, so a
// box lying flat is pushed out evenly and does not rock.
constexpr float kFlatFaceSpread = 0.001f;
// Components of a unit vector along a square's diagonal (cos 45 degrees).
constexpr float kDiagonal = 0.70710677f;

struct Pose {
  Vec2 c;
  float cs, sn;  // cos and sin of the angle
  Vec2 rot(const Vec2 &v) const { return Vec2(cs * v.x - sn * v.y, sn * v.x + cs * v.y); }
  Vec2 unrot(const Vec2 &v) const { return Vec2(cs * v.x + sn * v.y, -sn * v.x + cs * v.y); }
};

Pose poseOf(xShape *s) {
  Vec3 p = s->absPlacement();
  return Pose{Vec2(p.x, p.y), std::cos(p.z), std::sin(p.z)};
}

// Circles need no rotation: their centre is enough.
Vec2 centreOf(xShape *s) {
  Vec3 p = s->absPlacement();
  return Vec2(p.x, p.y);
}

xPrimitive *envelopeOf(xShape *s) { return static_cast<xPrimitiveShape *>(s)->getEnvelope(); }
xMaterial *materialOf(xShape *s) { return static_cast<xPrimitiveShape *>(s)->getMaterial(); }

float dot(const Vec2 &a, const Vec2 &b) { return a.x * b.x + a.y * b.y; }
float len(const Vec2 &v) { return std::sqrt(v.x * v.x + v.y * v.y); }

void report(xShape *a, xShape *b, const Vec2 &point, float depth, const Vec2 &normal) {
  if (!g_ptrSDK || !g_ptrSDK->collisionContext()) return;
  g_ptrSDK->collisionContext()->createTempContact(a, b, materialOf(a), materialOf(b), point, depth, normal);
}

void markTested(xShape *a, xShape *b) {
  a->setTested();
  b->setTested();
}

// Closest point of segment [p, q] to x; a segment of no length is its end point.
Vec2 closestOnSegment(const Vec2 &p, const Vec2 &q, const Vec2 &x) {
  Vec2 d = q - p;
  float l = len(d);
  if (!(l > kTiny)) return p;
  Vec2 u = d * (1.0f / l);
  float m = dot(x - p, u);
  if (m <= 0.0f) return p;
  if (m >= l) return q;
  return p + u * m;
}

void segmentWorld(xShape *s, Vec2 &w1, Vec2 &w2) {
  xPrimitiveLineSeg *seg = static_cast<xPrimitiveLineSeg *>(envelopeOf(s));
  Pose p = poseOf(s);
  w1 = p.c + p.rot(seg->getA());
  w2 = p.c + p.rot(seg->getB());
}

Vec2 halfExtents(xShape *s) {
  xPrimitiveBox *box = static_cast<xPrimitiveBox *>(envelopeOf(s));
  return Vec2(box->getWidth() * 0.5f, box->getHeight() * 0.5f);
}

float radiusOf(xShape *s) { return static_cast<xPrimitiveCircle *>(envelopeOf(s))->getRadius(); }

}  // namespace

void qlnCollideCircleCircle(xShape *a, xShape *b) {
  float ra = radiusOf(a), rb = radiusOf(b);
  Vec2 ca = centreOf(a), cb = centreOf(b);
  Vec2 d = cb - ca;
  float dist = len(d);
  float rsum = ra + rb;
  if (!std::isfinite(dist) || rsum < dist) return;
  markTested(a, b);
  if (dist < kTiny) {
    // Coincident centres have no direction between them: push apart along +y.
    Vec2 n(0.0f, 1.0f);
    report(a, b, ca + n * ra, rsum - dist, n);
    return;
  }
  Vec2 n = d * (1.0f / dist);
  report(a, b, ca + n * ra, rsum - dist, n);
}

void qlnCollideCircleBox(xShape *a, xShape *b) {
  float r = radiusOf(a);
  Vec2 ca = centreOf(a);
  Pose pb = poseOf(b);
  Vec2 h = halfExtents(b);
  Vec2 l = pb.unrot(ca - pb.c);

  bool outsideX = l.x <= -h.x || l.x >= h.x;
  bool outsideY = l.y <= -h.y || l.y >= h.y;
  if (outsideX && outsideY) {
    const Vec2 corners[4] = {Vec2(-h.x, -h.y), Vec2(h.x, -h.y), Vec2(h.x, h.y), Vec2(-h.x, h.y)};
    for (const Vec2 &corner : corners) {
      Vec2 toCorner = corner - l;
      float dist = len(toCorner);
      if (!(dist < r)) continue;
      Vec2 nLocal;
      if (dist < kTiny) {
        // Centre on the corner itself: push along the box's diagonal through that corner.
        nLocal = Vec2(corner.x > 0.0f ? -kDiagonal : kDiagonal, corner.y > 0.0f ? -kDiagonal : kDiagonal);
      } else {
        nLocal = toCorner * (1.0f / dist);
      }
      report(a, b, pb.c + pb.rot(corner), r - dist, pb.rot(nLocal));
      return;
    }
  }

  bool insideX = -h.x < l.x && l.x < h.x;
  if (l.y >= 0.0f) {
    float y = l.y - r;
    if (y < h.y && insideX) report(a, b, pb.c + pb.rot(Vec2(l.x, y)), h.y - y, pb.rot(Vec2(0.0f, -1.0f)));
  } else {
    float y = l.y + r;
    if (y > -h.y && insideX) report(a, b, pb.c + pb.rot(Vec2(l.x, y)), y + h.y, pb.rot(Vec2(0.0f, 1.0f)));
  }
  bool insideY = -h.y < l.y && l.y < h.y;
  if (l.x >= 0.0f) {
    float x = l.x - r;
    if (x < h.x && insideY) report(a, b, pb.c + pb.rot(Vec2(x, l.y)), h.x - x, pb.rot(Vec2(-1.0f, 0.0f)));
  } else {
    float x = l.x + r;
    if (x > -h.x && insideY) report(a, b, pb.c + pb.rot(Vec2(x, l.y)), x + h.x, pb.rot(Vec2(1.0f, 0.0f)));
  }
}

void qlnCollideCircleLineSeg(xShape *a, xShape *b) {
  float r = radiusOf(a);
  Vec2 ca = centreOf(a);
  Vec2 w1, w2;
  segmentWorld(b, w1, w2);
  Vec2 q = closestOnSegment(w1, w2, ca);
  Vec2 d = q - ca;
  float dist = len(d);
  if (!(dist >= kTiny)) return;  // centre on the segment: no direction to push along
  markTested(a, b);
  if (dist > r) return;
  Vec2 n = d * (1.0f / dist);
  float chord = r * std::sin(std::acos(qlnClamp(dist / r, -1.0f, 1.0f)));
  Vec2 side(n.y, -n.x);  // n turned a quarter
  float depth = std::fabs(r - dist);
  report(a, b, q + side * chord, depth, n);
  report(a, b, q - side * chord, depth, n);
}

void qlnCollideBoxBox(xShape *a, xShape *b) {
  qlnSATReset();
  Pose pa = poseOf(a), pb = poseOf(b);
  Vec2 ha = halfExtents(a), hb = halfExtents(b);
  Vec2 uA(pa.cs, pa.sn), vA(-pa.sn, pa.cs);
  Vec2 uB(pb.cs, pb.sn), vB(-pb.sn, pb.cs);
  Vec2 d = pb.c - pa.c;

  const Vec2 axes[4] = {uA, vA, uB, vB};
  const float own[4] = {ha.x, ha.y, hb.x, hb.y};
  bool separated = false;
  for (int i = 0; i < 4; ++i) {
    const Vec2 &ax = axes[i];
    float other = i < 2 ? std::fabs(dot(ax, uB)) * hb.x + std::fabs(dot(ax, vB)) * hb.y
                        : std::fabs(dot(ax, uA)) * ha.x + std::fabs(dot(ax, vA)) * ha.y;
    if (qlnSAT_TestBoxFaceFace(own[i] + other, dot(d, ax), ax, i)) separated = true;
  }
  int best = qlnSATGetBestAxis();
  if (separated || best < 0) return;
  markTested(a, b);
  Vec2 n = qlnSATGetSeparatingAxisVec();
  float depth = qlnSATGetBestDepth();

  float c = std::fabs(pa.cs * pb.cs + pa.sn * pb.sn);  // |cos(angle A - angle B)|
  if (c > kCornerContactCosLow && c < kCornerContactCosHigh) {
    Vec2 cornerA = pa.c + uA * (dot(uA, n) > 0.0f ? ha.x : -ha.x) + vA * (dot(vA, n) > 0.0f ? ha.y : -ha.y);
    Vec2 cornerB = pb.c + uB * (dot(uB, n) <= 0.0f ? hb.x : -hb.x) + vB * (dot(vB, n) <= 0.0f ? hb.y : -hb.y);
    Vec2 point = (best >= 2 ? cornerA : cornerB) + n * (depth * 0.5f);
    report(a, b, point, depth, n);
    return;
  }

  // Reference box: the one whose face gave the best axis; the other box is clipped against it.
  bool refIsA = best < 2;
  Vec2 refC = refIsA ? pa.c : pb.c;
  Vec2 refU = refIsA ? uA : uB, refV = refIsA ? vA : vB;
  Vec2 refH = refIsA ? ha : hb;
  Vec2 refN = refIsA ? n : Vec2(-n.x, -n.y);
  qlnSATSetNormal2(refN);
  float refDepthHalf = own[best];
  Vec2 incC = refIsA ? pb.c : pa.c;
  Vec2 incU = refIsA ? uB : uA, incV = refIsA ? vB : vA;
  Vec2 incH = refIsA ? hb : ha;

  Vec2 bufA[kClipMax], bufB[kClipMax];
  Vec2 rel = incC - refC;
  bufA[0] = rel - incU * incH.x - incV * incH.y;
  bufA[1] = rel + incU * incH.x - incV * incH.y;
  bufA[2] = rel + incU * incH.x + incV * incH.y;
  bufA[3] = rel - incU * incH.x + incV * incH.y;
  int count = 4;
  // Reference face first, then the four sides of the reference box.
  count = qlnClipPolygonByLine(bufA, count, -refN.x, -refN.y, refDepthHalf, bufB, kClipMax);
  const Vec2 sides[4] = {refU, Vec2(-refU.x, -refU.y), refV, Vec2(-refV.x, -refV.y)};
  const float sideHalf[4] = {refH.x, refH.x, refH.y, refH.y};
  Vec2 *src = bufB, *dst = bufA;
  for (int k = 0; k < 4 && count > 0; ++k) {
    count = qlnClipPolygonByLine(src, count, -sides[k].x, -sides[k].y, sideHalf[k], dst, kClipMax);
    Vec2 *t = src;
    src = dst;
    dst = t;
  }
  if (count <= 0) return;
  float s[kClipMax];
  float lo = QLN_MAX, hi = -QLN_MAX;
  for (int i = 0; i < count; ++i) {
    s[i] = refDepthHalf - dot(src[i], refN);
    lo = qlnMin(lo, s[i]);
    hi = qlnMax(hi, s[i]);
  }
  if (hi - lo < kFlatFaceSpread)
    for (int i = 0; i < count; ++i) s[i] = (hi + lo) * 0.5f;
  for (int i = 0; i < count; ++i) {
    float dep = qlnMax(s[i], 0.0f);
    report(a, b, refC + src[i] + refN * dep, dep, n);
  }
}

void qlnCollideBoxLineSeg(xShape *a, xShape *b) {
  Pose pa = poseOf(a);
  Vec2 h = halfExtents(a);
  Vec2 w1, w2;
  segmentWorld(b, w1, w2);
  Vec2 l1 = pa.unrot(w1 - pa.c), l2 = pa.unrot(w2 - pa.c);
  Vec2 m = (l1 + l2) * 0.5f, e = (l2 - l1) * 0.5f;
  if (!(std::fabs(m.x) <= std::fabs(e.x) + h.x && std::fabs(m.y) <= std::fabs(e.y) + h.y)) return;

  Vec2 q = closestOnSegment(w1, w2, pa.c);
  Vec2 d = q - pa.c;
  float dist = len(d);
  Vec2 n;
  if (dist >= kTiny) {
    n = d * (1.0f / dist);
  } else {
    // The segment's line runs through the centre: push across the segment (or along +y when
    // the segment has no length either).
    Vec2 dir = w2 - w1;
    float l = len(dir);
    n = l > kTiny ? Vec2(-dir.y / l, dir.x / l) : Vec2(0.0f, 1.0f);
    dist = 0.0f;
  }
  Vec2 uA(pa.cs, pa.sn), vA(-pa.sn, pa.cs);
  Vec2 corners[4] = {uA * -h.x - vA * h.y, uA * h.x - vA * h.y, uA * h.x + vA * h.y, uA * -h.x + vA * h.y};
  Vec2 kept[kClipMax];
  int count = qlnClipPolygonByLine(corners, 4, n.x, n.y, -dist, kept, kClipMax);
  markTested(a, b);
  for (int i = 0; i < count; ++i) {
    float depth = qlnMax(dot(n, kept[i]) - dist, 0.0f);
    report(a, b, pa.c + kept[i], depth, n);
  }
}

void qlnCollideLineSegLineSeg(xShape *, xShape *) {}

}  // namespace QuillonPHX2D
