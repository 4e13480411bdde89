#pragma once
#include "Foundation/Math/Box2.h"
#include "Foundation/Math/Mtx23.h"
#include "Foundation/Math/Plane3.h"
#include "Foundation/Math/Vec3.h"

namespace QuillonPHX2D {

// ---- Vec2 ----
QLN_INLINE_API Vec2 operator+(const Vec2 &a, const Vec2 &b) { return Vec2(a.x + b.x, a.y + b.y); }
QLN_INLINE_API Vec2 operator-(const Vec2 &a, const Vec2 &b) { return Vec2(a.x - b.x, a.y - b.y); }
QLN_INLINE_API Vec2 &operator+=(Vec2 &a, const Vec2 &b) { a.x += b.x; a.y += b.y; return a; }
QLN_INLINE_API Vec2 &operator-=(Vec2 &a, const Vec2 &b) { a.x -= b.x; a.y -= b.y; return a; }
QLN_INLINE_API Vec2 operator-(const Vec2 &a) { return Vec2(-a.x, -a.y); }
QLN_INLINE_API Vec2 operator*(const Vec2 &a, float s) { return Vec2(a.x * s, a.y * s); }
QLN_INLINE_API Vec2 operator*(float s, const Vec2 &a) { return Vec2(a.x * s, a.y * s); }
QLN_INLINE_API Vec2 &operator*=(Vec2 &a, float s) { a.x *= s; a.y *= s; return a; }
QLN_INLINE_API Vec2 operator/(const Vec2 &a, float s) { const float r = 1.0f / s; return Vec2(a.x * r, a.y * r); }
QLN_INLINE_API Vec2 &operator/=(Vec2 &a, float s) { const float r = 1.0f / s; a.x *= r; a.y *= r; return a; }
QLN_INLINE_API float operator%(const Vec2 &a, const Vec2 &b) { return a.x * b.x + a.y * b.y; }
QLN_INLINE_API bool operator==(const Vec2 &a, const Vec2 &b) { return a.x == b.x && a.y == b.y; }
QLN_INLINE_API bool operator!=(const Vec2 &a, const Vec2 &b) { return !(a == b); }

// ---- Vec3 ----
QLN_INLINE_API Vec3 operator+(const Vec3 &a, const Vec3 &b) { return Vec3(a.x + b.x, a.y + b.y, a.z + b.z); }
QLN_INLINE_API Vec3 operator-(const Vec3 &a, const Vec3 &b) { return Vec3(a.x - b.x, a.y - b.y, a.z - b.z); }
QLN_INLINE_API Vec3 &operator+=(Vec3 &a, const Vec3 &b) { a.x += b.x; a.y += b.y; a.z += b.z; return a; }
QLN_INLINE_API Vec3 &operator-=(Vec3 &a, const Vec3 &b) { a.x -= b.x; a.y -= b.y; a.z -= b.z; return a; }
QLN_INLINE_API Vec3 operator-(const Vec3 &a) { return Vec3(-a.x, -a.y, -a.z); }
QLN_INLINE_API Vec3 operator*(const Vec3 &a, float s) { return Vec3(a.x * s, a.y * s, a.z * s); }
QLN_INLINE_API Vec3 operator*(float s, const Vec3 &a) { return Vec3(a.x * s, a.y * s, a.z * s); }
QLN_INLINE_API Vec3 &operator*=(Vec3 &a, float s) { a.x *= s; a.y *= s; a.z *= s; return a; }
QLN_INLINE_API Vec3 operator/(const Vec3 &a, float s) { const float r = 1.0f / s; return Vec3(a.x * r, a.y * r, a.z * r); }
QLN_INLINE_API Vec3 &operator/=(Vec3 &a, float s) { const float r = 1.0f / s; a.x *= r; a.y *= r; a.z *= r; return a; }
QLN_INLINE_API float operator%(const Vec3 &a, const Vec3 &b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
// Cross product a x b.
QLN_INLINE_API Vec3 operator/(const Vec3 &a, const Vec3 &b) {
  return Vec3(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}
QLN_INLINE_API bool operator==(const Vec3 &a, const Vec3 &b) { return a.x == b.x && a.y == b.y && a.z == b.z; }
QLN_INLINE_API bool operator!=(const Vec3 &a, const Vec3 &b) { return !(a == b); }

// ---- Mtx22 ----
QLN_INLINE_API Mtx22 operator+(const Mtx22 &a, const Mtx22 &b) {
  return Mtx22(a.m00 + b.m00, a.m01 + b.m01, a.m10 + b.m10, a.m11 + b.m11);
}
QLN_INLINE_API Mtx22 operator-(const Mtx22 &a, const Mtx22 &b) {
  return Mtx22(a.m00 - b.m00, a.m01 - b.m01, a.m10 - b.m10, a.m11 - b.m11);
}
QLN_INLINE_API Mtx22 &operator+=(Mtx22 &a, const Mtx22 &b) { a = a + b; return a; }
QLN_INLINE_API Mtx22 &operator-=(Mtx22 &a, const Mtx22 &b) { a = a - b; return a; }
QLN_INLINE_API Mtx22 operator-(const Mtx22 &a) { return Mtx22(-a.m00, -a.m01, -a.m10, -a.m11); }
QLN_INLINE_API Mtx22 operator*(const Mtx22 &a, float s) { return Mtx22(a.m00 * s, a.m01 * s, a.m10 * s, a.m11 * s); }
QLN_INLINE_API Mtx22 operator*(float s, const Mtx22 &a) { return a * s; }
QLN_INLINE_API Mtx22 &operator*=(Mtx22 &a, float s) { a = a * s; return a; }
QLN_INLINE_API Mtx22 operator/(const Mtx22 &a, float s) { return a * (1.0f / s); }
QLN_INLINE_API Mtx22 &operator/=(Mtx22 &a, float s) { a = a * (1.0f / s); return a; }
QLN_INLINE_API Vec2 operator*(const Mtx22 &m, const Vec2 &v) {
  return Vec2(m.m00 * v.x + m.m01 * v.y, m.m10 * v.x + m.m11 * v.y);
}
// Row vector times matrix.
QLN_INLINE_API Vec2 operator*(const Vec2 &v, const Mtx22 &m) {
  return Vec2(v.x * m.m00 + v.y * m.m10, v.x * m.m01 + v.y * m.m11);
}
QLN_INLINE_API Mtx22 operator*(const Mtx22 &a, const Mtx22 &b) {
  return Mtx22(a.m00 * b.m00 + a.m01 * b.m10, a.m00 * b.m01 + a.m01 * b.m11,
               a.m10 * b.m00 + a.m11 * b.m10, a.m10 * b.m01 + a.m11 * b.m11);
}
QLN_INLINE_API Mtx22 &operator*=(Mtx22 &a, const Mtx22 &b) { a = a * b; return a; }
QLN_INLINE_API bool operator==(const Mtx22 &a, const Mtx22 &b) {
  return a.m00 == b.m00 && a.m01 == b.m01 && a.m10 == b.m10 && a.m11 == b.m11;
}
QLN_INLINE_API bool operator!=(const Mtx22 &a, const Mtx22 &b) { return !(a == b); }

// ---- Mtx23 ----
QLN_INLINE_API Mtx23 operator+(const Mtx23 &a, const Mtx23 &b) {
  return Mtx23(a.m00 + b.m00, a.m01 + b.m01, a.m02 + b.m02, a.m10 + b.m10, a.m11 + b.m11, a.m12 + b.m12);
}
QLN_INLINE_API Mtx23 operator-(const Mtx23 &a, const Mtx23 &b) {
  return Mtx23(a.m00 - b.m00, a.m01 - b.m01, a.m02 - b.m02, a.m10 - b.m10, a.m11 - b.m11, a.m12 - b.m12);
}
QLN_INLINE_API Mtx23 &operator+=(Mtx23 &a, const Mtx23 &b) { a = a + b; return a; }
QLN_INLINE_API Mtx23 &operator-=(Mtx23 &a, const Mtx23 &b) { a = a - b; return a; }
QLN_INLINE_API Mtx23 operator-(const Mtx23 &a) { return Mtx23(-a.m00, -a.m01, -a.m02, -a.m10, -a.m11, -a.m12); }
QLN_INLINE_API Mtx23 operator*(const Mtx23 &a, float s) {
  return Mtx23(a.m00 * s, a.m01 * s, a.m02 * s, a.m10 * s, a.m11 * s, a.m12 * s);
}
QLN_INLINE_API Mtx23 operator*(float s, const Mtx23 &a) { return a * s; }
QLN_INLINE_API Mtx23 &operator*=(Mtx23 &a, float s) { a = a * s; return a; }
QLN_INLINE_API Mtx23 operator/(const Mtx23 &a, float s) { return a * (1.0f / s); }
QLN_INLINE_API Mtx23 &operator/=(Mtx23 &a, float s) { a = a * (1.0f / s); return a; }
// Transformed point: rotate, then translate.
QLN_INLINE_API Vec2 operator*(const Mtx23 &m, const Vec2 &p) {
  return Vec2(m.m00 * p.x + m.m01 * p.y + m.m02, m.m10 * p.x + m.m11 * p.y + m.m12);
}
QLN_INLINE_API bool operator==(const Mtx23 &a, const Mtx23 &b) {
  return a.m00 == b.m00 && a.m01 == b.m01 && a.m02 == b.m02 && a.m10 == b.m10 && a.m11 == b.m11 && a.m12 == b.m12;
}
QLN_INLINE_API bool operator!=(const Mtx23 &a, const Mtx23 &b) { return !(a == b); }

// ---- Box2 ----
QLN_INLINE_API bool operator==(const Box2 &a, const Box2 &b) {
  return a.minX == b.minX && a.minY == b.minY && a.maxX == b.maxX && a.maxY == b.maxY;
}
QLN_INLINE_API bool operator!=(const Box2 &a, const Box2 &b) { return !(a == b); }
QLN_INLINE_API Box2 operator+(const Box2 &b, const Vec2 &v) { return Box2(b.minX + v.x, b.minY + v.y, b.maxX + v.x, b.maxY + v.y); }
QLN_INLINE_API Box2 operator-(const Box2 &b, const Vec2 &v) { return Box2(b.minX - v.x, b.minY - v.y, b.maxX - v.x, b.maxY - v.y); }
QLN_INLINE_API Box2 &operator+=(Box2 &b, const Vec2 &v) { b = b + v; return b; }
QLN_INLINE_API Box2 &operator-=(Box2 &b, const Vec2 &v) { b = b - v; return b; }
// a contains b.
QLN_INLINE_API bool operator>=(const Box2 &a, const Box2 &b) {
  return b.minX >= a.minX && b.minY >= a.minY && b.maxX <= a.maxX && b.maxY <= a.maxY;
}
QLN_INLINE_API bool operator>=(const Box2 &a, const Vec2 &p) {
  return p.x >= a.minX && p.y >= a.minY && p.x <= a.maxX && p.y <= a.maxY;
}
// a lies inside b.
QLN_INLINE_API bool operator<=(const Box2 &a, const Box2 &b) { return b >= a; }
QLN_INLINE_API bool operator<=(const Vec2 &p, const Box2 &a) { return a >= p; }
QLN_INLINE_API Box2 operator|(const Box2 &a, const Box2 &b) {
  return Box2(a.minX < b.minX ? a.minX : b.minX, a.minY < b.minY ? a.minY : b.minY,
              a.maxX > b.maxX ? a.maxX : b.maxX, a.maxY > b.maxY ? a.maxY : b.maxY);
}
QLN_INLINE_API Box2 operator|(const Box2 &a, const Vec2 &p) { return a | Box2(p, p); }
QLN_INLINE_API Box2 operator|(const Vec2 &p, const Box2 &a) { return a | Box2(p, p); }
QLN_INLINE_API Box2 &operator|=(Box2 &a, const Box2 &b) { a = a | b; return a; }
QLN_INLINE_API Box2 &operator|=(Box2 &a, const Vec2 &p) { a = a | p; return a; }
QLN_INLINE_API Box2 operator&(const Box2 &a, const Box2 &b) {
  return Box2(a.minX > b.minX ? a.minX : b.minX, a.minY > b.minY ? a.minY : b.minY,
              a.maxX < b.maxX ? a.maxX : b.maxX, a.maxY < b.maxY ? a.maxY : b.maxY);
}
QLN_INLINE_API Box2 &operator&=(Box2 &a, const Box2 &b) { a = a & b; return a; }

}  // namespace QuillonPHX2D
