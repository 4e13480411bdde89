#pragma once
// The engine draws and places things with the physics engine's vector types.
// When the physics sources are present their math header provides Vec2/Vec3;
// until then this copy with the same layout, constructors and unset value
// stands in, so engine code compiles either way.
#if __has_include("Foundation/Math/QlnMath.h")
#include "Foundation/Math/QlnMath.h"
#else
namespace QuillonPHX2D {

// Bit pattern 0x4F7BADFC: marks a component that nobody has set.
constexpr float kQlnUnset = 4222483456.0f;

class Vec3;

class Vec2 {
 public:
  Vec2() : x(kQlnUnset), y(kQlnUnset) {}
  explicit Vec2(float s) : x(s), y(s) {}
  Vec2(float x_, float y_) : x(x_), y(y_) {}
  explicit Vec2(const Vec3& v);
  float& operator()(int i) { return i == 0 ? x : y; }
  float operator()(int i) const { return i == 0 ? x : y; }
  bool operator==(const Vec2& o) const { return x == o.x && y == o.y; }
  bool operator!=(const Vec2& o) const { return !(*this == o); }
  float x, y;
};

class Vec3 {
 public:
  Vec3() : x(kQlnUnset), y(kQlnUnset), z(kQlnUnset) {}
  explicit Vec3(float s) : x(s), y(s), z(s) {}
  Vec3(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}
  Vec3(const Vec2& v, float z_) : x(v.x), y(v.y), z(z_) {}
  float& operator()(int i) { return i == 0 ? x : (i == 1 ? y : z); }
  float operator()(int i) const { return i == 0 ? x : (i == 1 ? y : z); }
  bool operator==(const Vec3& o) const { return x == o.x && y == o.y && z == o.z; }
  bool operator!=(const Vec3& o) const { return !(*this == o); }
  float x, y, z;
};

inline Vec2::Vec2(const Vec3& v) : x(v.x), y(v.y) {}

}  // namespace QuillonPHX2D
#endif
