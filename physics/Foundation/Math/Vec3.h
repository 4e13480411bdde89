#pragma once
#include "Foundation/Math/Vec2.h"

namespace QuillonPHX2D {

// Three floats. In the engine mostly a placement: x, y and the angle (radians, counter-clockwise).
struct QLN_API Vec3 {
  float x, y, z;

  Vec3() : x(QLN_UNSET), y(QLN_UNSET), z(QLN_UNSET) {}
  explicit Vec3(float s) : x(s), y(s), z(s) {}
  Vec3(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}
  Vec3(const Vec2 &v, float z_) : x(v.x), y(v.y), z(z_) {}

  float &operator()(int i) { return i == 0 ? x : (i == 1 ? y : z); }
  float operator()(int i) const { return i == 0 ? x : (i == 1 ? y : z); }
};

inline Vec2::Vec2(const Vec3 &v) : x(v.x), y(v.y) {}

}  // namespace QuillonPHX2D
