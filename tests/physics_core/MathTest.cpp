#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "Foundation/Math/QlnMath.h"

using namespace QuillonPHX2D;

namespace {
uint32_t bitsOf(float f) {
  uint32_t u;
  std::memcpy(&u, &f, sizeof u);
  return u;
}
const float kNaN = std::numeric_limits<float>::quiet_NaN();
const float kInf = std::numeric_limits<float>::infinity();
}  // namespace

TEST(MathValues, UnsetSentinelAndLargeValueBits) {
  EXPECT_EQ(bitsOf(QLN_UNSET), 0x4F7BADFCu);
  EXPECT_EQ(bitsOf(QLN_MAX), 0x7E967699u);
  EXPECT_EQ(bitsOf(-QLN_MAX), 0xFE967699u);

  Vec2 v;
  Vec3 w;
  Box2 b;
  Mtx22 m;
  Mtx23 t;
  Plane3 p;
  EXPECT_EQ(v.x, 4222483456.0f);
  EXPECT_EQ(v.y, 4222483456.0f);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(bitsOf(w(i)), 0x4F7BADFCu);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(bitsOf(p(i)), 0x4F7BADFCu);
  EXPECT_EQ(b, Box2(QLN_UNSET));
  EXPECT_EQ(m, Mtx22(QLN_UNSET));
  EXPECT_EQ(t, Mtx23(QLN_UNSET));
  EXPECT_TRUE(qlnIsEmptyB2(Box2::empty()));
  EXPECT_FALSE(qlnIsEmptyB2(Box2::unbounded()));
}

TEST(MathValues, ElementAccessFollowsRowMajorLayout) {
  Mtx22 m(1, 2, 3, 4);
  EXPECT_EQ(m(0, 1), 2.0f);
  EXPECT_EQ(m(1, 0), 3.0f);
  m(1, 1) = 9;
  EXPECT_EQ(m.m11, 9.0f);
  Mtx23 t(1, 2, 3, 4, 5, 6);
  EXPECT_EQ(t(0, 2), 3.0f);
  EXPECT_EQ(t(1, 0), 4.0f);
  EXPECT_EQ(qlnGetCol23Mtx(t, 2), Vec2(3, 6));
  EXPECT_EQ(qlnGetOriginMtx(t), Vec2(3, 6));
  EXPECT_EQ(Mtx22(t), Mtx22(1, 2, 4, 5));
  EXPECT_EQ(Mtx23(Mtx22(1, 2, 4, 5), Vec2(3, 6)), t);
  Plane3 line(Vec2(0, 1), Vec2(5, 2));  // y = 2
  EXPECT_EQ(qlnPointDistance(line, Vec2(7, 5)), 3.0f);
}

TEST(MathOperators, VectorAndMatrixArithmetic) {
  EXPECT_EQ(Vec2(1, 2) + Vec2(3, 4), Vec2(4, 6));
  EXPECT_EQ(Vec2(6, 8) / 2.0f, Vec2(3, 4));
  EXPECT_EQ(Vec2(1, 2) % Vec2(3, 4), 11.0f);
  EXPECT_EQ(Vec3(1, 0, 0) / Vec3(0, 1, 0), Vec3(0, 0, 1));
  const Mtx22 a(1, 2, 3, 4), b(0, 1, 1, 0);
  EXPECT_EQ(a * b, Mtx22(2, 1, 4, 3));
  Mtx22 c = a;
  c *= b;
  EXPECT_EQ(c, a * b);
  EXPECT_EQ(a * Vec2(1, 1), Vec2(3, 7));
  EXPECT_EQ(Vec2(1, 1) * a, Vec2(4, 6));
  EXPECT_EQ(Mtx23(1, 0, 5, 0, 1, 6) * Vec2(1, 2), Vec2(6, 8));
}

TEST(MathBoxes, UnionIntersectionAndContainment) {
  // The empty box united with a point is that point alone.
  const Box2 p = Box2::empty() | Vec2(3, -2);
  EXPECT_EQ(p, Box2(3, -2, 3, -2));
  const Box2 a(0, 0, 4, 4), b(2, 2, 6, 6);
  EXPECT_EQ(a | b, Box2(0, 0, 6, 6));
  EXPECT_EQ(a & b, Box2(2, 2, 4, 4));
  EXPECT_TRUE(qlnIsEmptyB2(a & Box2(5, 5, 6, 6)));
  EXPECT_TRUE(a >= Box2(1, 1, 4, 4));
  EXPECT_FALSE(a >= b);
  EXPECT_TRUE(Box2(1, 1, 2, 2) <= a);
  EXPECT_TRUE(a >= Vec2(4, 0));  // closed
  EXPECT_TRUE(qlnBoxesIntersect(a, Box2(4, 4, 5, 5)));
  EXPECT_FALSE(qlnBoxesIntersect(a, Box2(4.1f, 0, 5, 1)));
  EXPECT_TRUE(qlnBoxesIntersect(a, Box2(4.1f, 0, 5, 1), 0.2f));
  EXPECT_TRUE(qlnBoxIntersectsPoint(a, Vec2(-0.1f, 2), 0.2f));
  EXPECT_EQ(a + Vec2(1, 2), Box2(1, 2, 5, 6));
}

TEST(MathFunctions, DocumentedEdgeValues) {
  EXPECT_EQ(qlnNormalizeV2(Vec2(3, 4)), Vec2(0.6f, 0.8f));
  EXPECT_FALSE(qlnIsFiniteV2(qlnNormalizeV2(Vec2(0, 0))));
  EXPECT_FALSE(qlnNearV2(Vec2(0, 0), Vec2(1, 0), 0.5f));
  EXPECT_TRUE(qlnNearV2(Vec2(0, 0), Vec2(1, 0), 0.51f));
  EXPECT_FLOAT_EQ(qlnWrapAngle(-1.0f, 6.2831855f), 5.2831855f);
  EXPECT_EQ(qlnClamp(kNaN, 0.0f, 1.0f), 0.0f);
  EXPECT_EQ(qlnClamp(2.0f, 0.0f, 1.0f), 1.0f);
  EXPECT_EQ(qlnClampInt(-5, 0, 3), 0);
  EXPECT_EQ(qlnMinorAxis(Vec2(2, 2)), 1);
  EXPECT_EQ(qlnMinorAxis(Vec2(1, 2)), 0);
  EXPECT_EQ(qlnMinorAxis(Vec3(1, 1, 1)), 2);
  EXPECT_EQ(qlnMinorAxis(Vec3(1, -0.5f, 0.5f)), 2);
  EXPECT_EQ(qlnMinorAxis(Vec3(0.1f, -0.5f, 0.5f)), 0);
  EXPECT_FLOAT_EQ(qlnLog2(8.0f), 3.0f);
  EXPECT_EQ(qlnRound(-0.5f), 0.0f);
  EXPECT_FLOAT_EQ(qlnRadToDeg(qlnDegToRad(90.0f)), 90.0f);
  EXPECT_FALSE(qlnFinite23Mtx(Mtx23(1, 1, kInf, 1, 1, 1)));
  EXPECT_FALSE(qlnFinite22Mtx(Mtx22(1, kNaN, 1, 1)));
}

TEST(MathFunctions, DeterminantAndInverseAreReal) {
  const Mtx22 m(2, 1, 1, 3);
  EXPECT_FLOAT_EQ(qlnDeterminant22Mtx(m), 5.0f);
  const Mtx22 i = m * qlnInvert22Mtx(m);
  EXPECT_TRUE(qlnNearM22(i, qlnDiagonal22Mtx(1.0f), 1e-10f));
  // A singular matrix gives a finite answer, never NaN.
  EXPECT_TRUE(qlnFinite22Mtx(qlnInvert22Mtx(Mtx22(1, 2, 2, 4))));
}

TEST(MathTransforms, PlacementTransformAndItsInverse) {
  const Vec3 place(10, 5, 0.7f);
  const Mtx23 m = qlnVec3ToMtx23(place);
  const Vec2 p(3, -2);
  const Vec2 w = qlnTransPosMtx23(m, p);
  EXPECT_TRUE(qlnNearV2(qlnTransReversePosMtx23(m, w), p, 1e-10f));
  EXPECT_TRUE(qlnNearV2(qlnTransReverseDirMtx23(m, qlnTransDirMtx23(m, p)), p, 1e-10f));
  EXPECT_EQ(qlnAngleToMtx(0.3f), qlnAngleToMtx22(0.3f));
  EXPECT_TRUE(qlnNearM22(qlnTranspose22Mtx(qlnAngleToMtx22(0.3f)), qlnAngleToMtx22(-0.3f), 1e-12f));
  // A quarter turn maps the unit square onto itself.
  const Box2 r = qlnTransformBox2Mtx23(qlnVec3ToMtx23(Vec3(0, 0, QLN_PI / 2)), Box2(-1, -1, 1, 1));
  EXPECT_TRUE(qlnIsNearB2(r, Box2(-1, -1, 1, 1), 1e-10f));
  const Box2 moved = qlnTransformBox2Mtx23(qlnVec3ToMtx23(Vec3(10, 0, QLN_PI / 4)), Box2(-1, -1, 1, 1));
  EXPECT_TRUE(qlnIsNearB2(moved, Box2(8.5858f, -1.4142f, 11.4142f, 1.4142f), 1e-6f));
}

TEST(MathLines, ClosestPoints) {
  EXPECT_EQ(qlnClosestPointOnLine(Vec2(0, 0), Vec2(10, 0), Vec2(-3, 4)), Vec2(0, 0));
  EXPECT_EQ(qlnClosestPointOnLine(Vec2(0, 0), Vec2(10, 0), Vec2(13, 4)), Vec2(10, 0));
  EXPECT_EQ(qlnClosestPointOnLine(Vec2(0, 0), Vec2(10, 0), Vec2(4, 4)), Vec2(4, 0));
  EXPECT_EQ(qlnClosestPointOnLine(Vec2(2, 2), Vec2(2, 2), Vec2(4, 4)), Vec2(2, 2));

  float s = 7, t = 7;
  EXPECT_FALSE(qlnClosestPointOnEdges(Vec2(0, 0), Vec2(1, 0), Vec2(0, 1), Vec2(1, 0), s, t));
  EXPECT_EQ(s, 0.0f);
  EXPECT_EQ(t, 0.0f);
  // x axis and the vertical line x = 3: they meet at s = 3, and t = -2 from (3, 2).
  ASSERT_TRUE(qlnClosestPointOnEdges(Vec2(0, 0), Vec2(1, 0), Vec2(3, 2), Vec2(0, 1), s, t));
  EXPECT_FLOAT_EQ(s, 3.0f);
  EXPECT_FLOAT_EQ(t, -2.0f);
}

TEST(MathSpline, SamplesAndGuards) {
  const Vec2 pts[4] = {Vec2(0, 0), Vec2(10, 0), Vec2(10, 10), Vec2(0, 10)};
  std::vector<Vec2> one = qlnBSpline2D(3, 3, pts, 1);
  ASSERT_EQ(one.size(), 1u);
  EXPECT_EQ(one[0], pts[3]);

  // Order 2 is the control polygon itself.
  std::vector<Vec2> lin = qlnBSpline2D(3, 2, pts, 31);
  ASSERT_EQ(lin.size(), 31u);
  EXPECT_EQ(lin.front(), pts[0]);
  EXPECT_EQ(lin.back(), pts[3]);
  for (const Vec2 &p : lin) {
    const bool onPolygon = std::fabs(p.y) < 1e-4f || std::fabs(p.x - 10) < 1e-4f || std::fabs(p.y - 10) < 1e-4f;
    EXPECT_TRUE(onPolygon) << p.x << "," << p.y;
  }

  // Cubic: stays within the control points' hull box and starts at the first point.
  std::vector<Vec2> cubic = qlnBSpline2D(3, 4, pts, 20);
  EXPECT_EQ(cubic.front(), pts[0]);
  for (const Vec2 &p : cubic) EXPECT_TRUE(Box2(-1e-4f, -1e-4f, 10.0001f, 10.0001f) >= p);

  EXPECT_TRUE(qlnBSpline2D(3, 3, pts, 0).empty());
  EXPECT_TRUE(qlnBSpline2D(3, 3, pts, -4).empty());
  // An order above the point count is clamped instead of reading past the knots.
  std::vector<Vec2> clamped = qlnBSpline2D(3, 9, pts, 10);
  ASSERT_EQ(clamped.size(), 10u);
  for (const Vec2 &p : clamped) EXPECT_TRUE(qlnIsFiniteV2(p));
  EXPECT_EQ(clamped.front(), pts[0]);
}

TEST(MathSolverContainers, AssignmentSizesTargetAndGuards) {
  xVector small, big;
  small.setSize(2);
  big.setSize(50);
  for (int i = 0; i < 50; ++i) big(i) = float(i);
  small = big;  // must grow the target before copying
  ASSERT_EQ(small.size(), 50);
  EXPECT_GE(small.capacity(), 50);
  EXPECT_EQ(small(49), 49.0f);
  EXPECT_TRUE(qlnCheckFinite(small));
  small(7) = kNaN;
  EXPECT_FALSE(qlnCheckFinite(small));

  xVector none;  // no storage at all
  EXPECT_EQ(none.capacity(), -1);
  qlnSetToZeroV(none);
  none.setSize(-3);
  EXPECT_EQ(none.size(), 0);

  xVector v;
  v.setSize(6);
  qlnSetToValueV(v, 2.0f);
  v.cropRows(3);
  qlnSetToZeroV(v);  // zeroes all of the storage, beyond the cropped size too
  EXPECT_EQ(v.size(), 3);
  EXPECT_EQ(v.data()[5], 0.0f);
  qlnSetVec3(v, 0, Vec3(1, 2, 3));
  qlnAddVec2(v, 1, Vec2(1, 1));
  EXPECT_EQ(qlnGetVec3(v, 0), Vec3(1, 3, 4));

  xMatrix a, b;
  a.setSize(1, 1);
  b.setSize(10, 5);
  EXPECT_EQ(b.stride(), 8);
  qlnSetToValue(b, 1.5f);
  a = b;
  EXPECT_EQ(a.rows(), 10);
  EXPECT_EQ(a.cols(), 5);
  EXPECT_EQ(a(9, 4), 1.5f);
  EXPECT_TRUE(qlnCheckFinite(a));
  a(3, 2) = kInf;
  EXPECT_FALSE(qlnCheckFinite(a));
  qlnSetSubMatrixM22(a, 2, 1, Mtx22(1, 2, 3, 4));
  EXPECT_EQ(qlnGetSubMatrixM22(a, 2, 1), Mtx22(1, 2, 3, 4));
  a.setSize(-1, 4);  // ignored
  EXPECT_EQ(a.rows(), 10);
  qlnSetToZeroM(a);
  EXPECT_EQ(a(9, 4), 0.0f);
}
