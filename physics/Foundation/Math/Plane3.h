#pragma once
#include "Foundation/Math/Vec2.h"

namespace QuillonPHX2D {

// The line a*x + b*y + c = 0; (a, b) is its normal.
struct QLN_API Plane3 {
  float a, b, c;

  Plane3() : a(QLN_UNSET), b(QLN_UNSET), c(QLN_UNSET) {}
  explicit Plane3(float s) : a(s), b(s), c(s) {}
  Plane3(float a_, float b_, float c_) : a(a_), b(b_), c(c_) {}
  Plane3(const Vec2 &n, float c_) : a(n.x), b(n.y), c(c_) {}
  // The line with normal n through p.
  Plane3(const Vec2 &n, const Vec2 &p) : a(n.x), b(n.y), c(-(n.x * p.x + n.y * p.y)) {}

  float &operator()(int i) { return i == 0 ? a : (i == 1 ? b : c); }
  float operator()(int i) const { return i == 0 ? a : (i == 1 ? b : c); }
};

}  // namespace QuillonPHX2D
