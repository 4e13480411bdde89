#include <cmath>

#include "Foundation/Math/QlnFunctions.h"

namespace QuillonPHX2D {

Box2 qlnTransformBox2Mtx23(const Mtx23 &m, const Box2 &b) {
  const Vec2 c = qlnCenterB2(b);
  const Vec2 h = qlnSizeB2(b) * 0.5f;
  static const float sx[4] = {-1.0f, 1.0f, 1.0f, -1.0f};
  static const float sy[4] = {-1.0f, -1.0f, 1.0f, 1.0f};
  Box2 r = Box2::empty();
  for (int i = 0; i < 4; ++i) r |= m * (c + Vec2(sx[i] * h.x, sy[i] * h.y));
  return r;
}

Vec2 qlnClosestPointOnLine(const Vec2 &a, const Vec2 &b, const Vec2 &p) {
  const float len = qlnLenV2(b - a);
  // A degenerate segment is its end point; dividing by its zero length would give NaN.
  if (!(len > 0.0f)) return a;
  const Vec2 u = (b - a) * (1.0f / len);
  const float m = (p - a) % u;
  if (m <= 0.0f) return a;
  if (m >= len) return b;
  return a + u * m;
}

bool qlnClosestPointOnEdges(const Vec2 &p1, const Vec2 &d1, const Vec2 &p2, const Vec2 &d2, float &s, float &t) {
  const float e = d1 % d2;
  const float f = 1.0f - e * e;
  if (!(f > 0.0f)) {
    s = 0.0f;
    t = 0.0f;
    return false;
  }
  const Vec2 g = p2 - p1;
  const float A = g % d1;
  const float B = -(g % d2);
  s = (A + e * B) / f;
  t = (B + e * A) / f;
  return true;
}

namespace {

// Cox-de Boor basis of order k at u over integer knots t.
double splineBasis(const int *t, int i, int k, double u) {
  if (k == 1) return (t[i] <= u && u < t[i + 1]) ? 1.0 : 0.0;
  const bool leftFlat = t[i + k - 1] == t[i];
  const bool rightFlat = t[i + k] == t[i + 1];
  if (leftFlat && rightFlat) return 0.0;
  if (leftFlat) return (t[i + k] - u) / (t[i + k] - t[i + 1]) * splineBasis(t, i + 1, k - 1, u);
  if (rightFlat) return (u - t[i]) / (t[i + k - 1] - t[i]) * splineBasis(t, i, k - 1, u);
  return (u - t[i]) / (t[i + k - 1] - t[i]) * splineBasis(t, i, k - 1, u) +
         (t[i + k] - u) / (t[i + k] - t[i + 1]) * splineBasis(t, i + 1, k - 1, u);
}

}  // namespace

std::vector<Vec2> qlnBSpline2D(int n, int k, const Vec2 *points, int count) {
  std::vector<Vec2> out;
  if (count <= 0 || n < 0 || points == nullptr) return out;
  // An order above the number of points has no valid knot vector; clamp it.
  if (k > n + 1) k = n + 1;
  if (k < 1) k = 1;

  std::vector<int> t(n + k + 1);
  for (int i = 0; i <= n + k; ++i) {
    if (i < k)
      t[i] = 0;
    else if (i <= n)
      t[i] = i - k + 1;
    else
      t[i] = n - k + 2;
  }

  out.reserve(count);
  const double step = count > 1 ? static_cast<double>(n - k + 2) / (count - 1) : 0.0;
  double u = 0.0;
  for (int j = 0; j < count - 1; ++j) {
    double x = 0.0, y = 0.0;
    for (int i = 0; i <= n; ++i) {
      const double w = splineBasis(t.data(), i, k, u);
      x += w * points[i].x;
      y += w * points[i].y;
    }
    out.push_back(Vec2(static_cast<float>(x), static_cast<float>(y)));
    u += step;
  }
  out.push_back(points[n]);
  return out;
}

}  // namespace QuillonPHX2D
