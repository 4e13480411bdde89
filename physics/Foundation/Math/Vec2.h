#pragma once
#include "Foundation/Math/QlnConstants.h"
#include "Foundation/QlnExport.h"

namespace QuillonPHX2D {

struct Vec3;

// Point or direction in the plane.
struct QLN_API Vec2 {
  float x, y;

  Vec2() : x(QLN_UNSET), y(QLN_UNSET) {}
  explicit Vec2(float s) : x(s), y(s) {}
  Vec2(float x_, float y_) : x(x_), y(y_) {}
  explicit Vec2(const Vec3 &v);

  float &operator()(int i) { return i == 0 ? x : y; }
  float operator()(int i) const { return i == 0 ? x : y; }
};

}  // namespace QuillonPHX2D
