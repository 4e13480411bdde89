#pragma once
#include "Foundation/Math/Vec2.h"

namespace QuillonPHX2D {

// Axis-aligned box, closed on all sides. Minimum above maximum means empty.
struct QLN_API Box2 {
  float minX, minY, maxX, maxY;

  Box2() : minX(QLN_UNSET), minY(QLN_UNSET), maxX(QLN_UNSET), maxY(QLN_UNSET) {}
  explicit Box2(float s) : minX(s), minY(s), maxX(s), maxY(s) {}
  Box2(float x0, float y0, float x1, float y1) : minX(x0), minY(y0), maxX(x1), maxY(y1) {}
  Box2(const Vec2 &mn, const Vec2 &mx) : minX(mn.x), minY(mn.y), maxX(mx.x), maxY(mx.y) {}

  static Box2 empty() { return Box2(QLN_MAX, QLN_MAX, -QLN_MAX, -QLN_MAX); }
  static Box2 unbounded() { return Box2(-QLN_MAX, -QLN_MAX, QLN_MAX, QLN_MAX); }
};

}  // namespace QuillonPHX2D
