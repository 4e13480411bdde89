#pragma once
#include "Foundation/Math/Mtx22.h"

namespace QuillonPHX2D {

// Row-major 2x3 rigid transform: columns 0-1 rotate, column 2 translates; (i, j) is element i*3+j.
struct QLN_API Mtx23 {
  float m00, m01, m02, m10, m11, m12;

  Mtx23()
      : m00(QLN_UNSET), m01(QLN_UNSET), m02(QLN_UNSET), m10(QLN_UNSET), m11(QLN_UNSET), m12(QLN_UNSET) {}
  explicit Mtx23(float s) : m00(s), m01(s), m02(s), m10(s), m11(s), m12(s) {}
  Mtx23(float a, float b, float c, float d, float e, float f)
      : m00(a), m01(b), m02(c), m10(d), m11(e), m12(f) {}
  Mtx23(const Mtx22 &r, const Vec2 &t) : m00(r.m00), m01(r.m01), m02(t.x), m10(r.m10), m11(r.m11), m12(t.y) {}

  float &operator()(int i, int j) {
    switch (i * 3 + j) {
      case 0: return m00;
      case 1: return m01;
      case 2: return m02;
      case 3: return m10;
      case 4: return m11;
      default: return m12;
    }
  }
  float operator()(int i, int j) const { return const_cast<Mtx23 &>(*this)(i, j); }
};

inline Mtx22::Mtx22(const Mtx23 &m) : m00(m.m00), m01(m.m01), m10(m.m10), m11(m.m11) {}

}  // namespace QuillonPHX2D
