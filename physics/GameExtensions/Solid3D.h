#pragma once
// A shape's placed geometry, computed once per collider call: transform, centre, world axes
// and the primitive's sizes.
#include "GameExtensions/Shape3D.h"

namespace QuillonPHX2D {

struct xSolid3D {
  Mtx34 xf;
  Vec3 c;
  Vec3 ax[3];    // local x, y, z axes in world space
  Vec3 half;     // box half extents
  float r = 0;   // sphere, cylinder, capsule radius
  float h = 0;   // cylinder or capsule full height
  float core = 0;  // capsule: half length of the inner segment; cylinder: half height
  xSolid3D() : xf(0.0f), c(0.0f), ax{Vec3(0.0f), Vec3(0.0f), Vec3(0.0f)}, half(0.0f) {}

  Vec3 toLocal(const Vec3& p) const {
    const Vec3 d = p - c;
    return Vec3(qlnDot3(d, ax[0]), qlnDot3(d, ax[1]), qlnDot3(d, ax[2]));
  }
  Vec3 toWorld(const Vec3& l) const { return c + ax[0] * l.x + ax[1] * l.y + ax[2] * l.z; }
  Vec3 dirToWorld(const Vec3& l) const { return ax[0] * l.x + ax[1] * l.y + ax[2] * l.z; }
  Vec3 dirToLocal(const Vec3& d) const {
    return Vec3(qlnDot3(d, ax[0]), qlnDot3(d, ax[1]), qlnDot3(d, ax[2]));
  }
  // Capsule or cylinder core end: sign +1 is the + end.
  Vec3 end(float sign) const { return c + ax[1] * (sign * core); }
};

xSolid3D qlnSolidOf3D(const xShape3D* s);

// A world plane of a plane shape: n . p + d.
void qlnWorldPlane3D(const xShape3D* s, Vec3& n, float& d);

// Closest points of lines p1 + s d1 and p2 + t d2 (unit directions); false when parallel.
bool qlnClosestPointsOnLines3D(const Vec3& p1, const Vec3& d1, const Vec3& p2, const Vec3& d2,
                               float& s, float& t);
// Closest points of segments [p1, q1] and [p2, q2].
void qlnClosestPointsOnSegments3D(const Vec3& p1, const Vec3& q1, const Vec3& p2, const Vec3& q2,
                                  Vec3& c1, Vec3& c2);
// A unit vector, or `fallback` when v is (nearly) zero or not finite.
Vec3 qlnSafeNormalize3D(const Vec3& v, const Vec3& fallback);

}  // namespace QuillonPHX2D
