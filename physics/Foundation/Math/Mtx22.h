#pragma once
#include "Foundation/Math/Vec2.h"

namespace QuillonPHX2D {

struct Mtx23;

// Row-major 2x2 matrix; (i, j) is element i*2+j.
struct QLN_API Mtx22 {
  float m00, m01, m10, m11;

  Mtx22() : m00(QLN_UNSET), m01(QLN_UNSET), m10(QLN_UNSET), m11(QLN_UNSET) {}
  explicit Mtx22(float s) : m00(s), m01(s), m10(s), m11(s) {}
  Mtx22(float a, float b, float c, float d) : m00(a), m01(b), m10(c), m11(d) {}
  explicit Mtx22(const Mtx23 &m);

  float &operator()(int i, int j) {
    switch (i * 2 + j) {
      case 0: return m00;
      case 1: return m01;
      case 2: return m10;
      default: return m11;
    }
  }
  float operator()(int i, int j) const { return const_cast<Mtx22 &>(*this)(i, j); }
};

}  // namespace QuillonPHX2D
