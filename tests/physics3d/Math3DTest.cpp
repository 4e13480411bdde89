// Quaternion matrices, plane-space triads, the oriented-box overlap test and the segment
// helper of the game build's 3D math.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "GameExtensions/Math3D.h"
#include "ContactCapture.h"

using p3test::bruteSeparated;

using namespace QuillonPHX2D;

namespace {

float det33(const Mtx33& m) {
  return m(0, 0) * (m(1, 1) * m(2, 2) - m(1, 2) * m(2, 1)) - m(0, 1) * (m(1, 0) * m(2, 2) - m(1, 2) * m(2, 0)) +
         m(0, 2) * (m(1, 0) * m(2, 1) - m(1, 1) * m(2, 0));
}

Placement3D randomPlacement(std::mt19937& rng, float spread) {
  std::normal_distribution<float> g(0.0f, 1.0f);
  std::uniform_real_distribution<float> u(-spread, spread);
  float q[4] = {g(rng), g(rng), g(rng), g(rng)};
  const float n = std::sqrt(q[0] * q[0] + q[1] * q[1] + q[2] * q[2] + q[3] * q[3]);
  return Placement3D(q[0] / n, q[1] / n, q[2] / n, q[3] / n, Vec3(u(rng), u(rng), u(rng)));
}

}  // namespace

TEST(Math3D, QuaternionMatricesAreRotations) {
  std::mt19937 rng(7);
  for (int i = 0; i < 2000; ++i) {
    const Placement3D p = randomPlacement(rng, 1.0f);
    const Mtx33 r = qlnQuatToMtx33(p);
    const Mtx33 rtr = qlnTranspose33Mtx(r) * r;
    for (int a = 0; a < 3; ++a)
      for (int b = 0; b < 3; ++b) ASSERT_NEAR(rtr(a, b), a == b ? 1.0f : 0.0f, 1e-5f);
    ASSERT_NEAR(det33(r), 1.0f, 1e-5f);
  }
  const Mtx33 id = qlnQuatToMtx33(0, 0, 0, 1);
  for (int i = 0; i < 9; ++i) EXPECT_EQ(id.m[i], kIdentityMtx33.m[i]);
  const float s = std::sin(3.1415927f / 4), c = std::cos(3.1415927f / 4);
  const Vec3 turned = qlnQuatToMtx33(0, 0, s, c) * Vec3(1, 0, 0);
  EXPECT_NEAR(turned.x, 0.0f, 1e-6f);
  EXPECT_NEAR(turned.y, 1.0f, 1e-6f);
  EXPECT_NEAR(turned.z, 0.0f, 1e-6f);
}

TEST(Math3D, TransformAndProductAgree) {
  std::mt19937 rng(11);
  for (int i = 0; i < 200; ++i) {
    const Placement3D p = randomPlacement(rng, 5.0f), q = randomPlacement(rng, 1.0f);
    const Mtx34 m = qlnMtx34FromPlacement(p);
    const Vec3 v(0.3f, -1.2f, 2.0f);
    const Vec3 w = m * v;
    const Vec3 back = qlnToLocal3D(m, w);
    EXPECT_NEAR(back.x, v.x, 1e-4f);
    EXPECT_NEAR(back.y, v.y, 1e-4f);
    EXPECT_NEAR(back.z, v.z, 1e-4f);
    const Mtx33 ab = qlnQuatToMtx33(p) * qlnQuatToMtx33(q);
    const Vec3 viaProduct = ab * v;
    const Vec3 stepwise = qlnQuatToMtx33(p) * (qlnQuatToMtx33(q) * v);
    EXPECT_NEAR(viaProduct.x, stepwise.x, 1e-5f);
    EXPECT_NEAR(viaProduct.y, stepwise.y, 1e-5f);
    EXPECT_NEAR(viaProduct.z, stepwise.z, 1e-5f);
  }
}

TEST(Math3D, PlaneSpaceGivesOrthonormalTriads) {
  Vec3 p(0.0f), q(0.0f);
  qlnPlaneSpace(Vec3(0, 0, 1), p, q);
  EXPECT_EQ(p, Vec3(0, -1, 0));
  EXPECT_EQ(q, Vec3(1, 0, 0));
  qlnPlaneSpace(Vec3(1, 0, 0), p, q);
  EXPECT_EQ(p, Vec3(0, 1, 0));
  EXPECT_EQ(q, Vec3(0, 0, 1));
  std::mt19937 rng(3);
  std::normal_distribution<float> g(0.0f, 1.0f);
  for (int i = 0; i < 2000; ++i) {
    const Vec3 n = qlnNormalizeV3(Vec3(g(rng), g(rng), g(rng)));
    qlnPlaneSpace(n, p, q);
    ASSERT_NEAR(qlnLenV3(p), 1.0f, 1e-5f);
    ASSERT_NEAR(qlnLenV3(q), 1.0f, 1e-5f);
    ASSERT_NEAR(qlnDot3(p, n), 0.0f, 1e-5f);
    ASSERT_NEAR(qlnDot3(q, n), 0.0f, 1e-5f);
    ASSERT_NEAR(qlnDot3(p, q), 0.0f, 1e-5f);
    // Right-handed: n x p = q.
    const Vec3 c = qlnCross3(n, p);
    ASSERT_NEAR(c.x, q.x, 1e-5f);
    ASSERT_NEAR(c.y, q.y, 1e-5f);
    ASSERT_NEAR(c.z, q.z, 1e-5f);
  }
}

TEST(Math3D, OverlapOBBAgreesWithBruteForce) {
  std::mt19937 rng(5);
  std::uniform_real_distribution<float> size(0.2f, 2.0f);
  int overlaps = 0, separations = 0, onlyExact = 0;
  for (int i = 0; i < 3000; ++i) {
    xOBB3D a, b;
    const Vec3 ha(size(rng), size(rng), size(rng)), hb(size(rng), size(rng), size(rng));
    qlnPlaceBoxOBB(a, qlnMtx34FromPlacement(randomPlacement(rng, 2.5f)), ha * -1.0f, ha);
    qlnPlaceBoxOBB(b, qlnMtx34FromPlacement(randomPlacement(rng, 2.5f)), hb * -1.0f, hb);
    const bool brute = bruteSeparated(a, b);
    const bool sat = !qlnOverlapOBB(a, b);
    // Any gap the dense search finds, the exact test finds too.
    if (brute) {
      ASSERT_TRUE(sat) << "iteration " << i;
    }
    if (sat && !brute) ++onlyExact;  // a thin gap between the sampled directions
    (sat ? separations : overlaps)++;
  }
  EXPECT_LT(onlyExact, 60);
  EXPECT_GT(overlaps, 300);
  EXPECT_GT(separations, 300);
}

TEST(Math3D, OverlapOBBUsesEdgeAxesAndSkipsParallelOnes) {
  // Two unit cubes turned 45 degrees about z and about y: their edges face each other along x,
  // which is no face axis of either, and only that edge-edge axis separates them at 1.5 apart.
  const float s = std::sin(3.1415927f / 8), c = std::cos(3.1415927f / 8);
  xOBB3D a, b;
  qlnPlaceBoxOBB(a, qlnMtx34FromPlacement(Placement3D(0, 0, s, c, Vec3(0, 0, 0))), Vec3(-0.5f), Vec3(0.5f));
  qlnPlaceBoxOBB(b, qlnMtx34FromPlacement(Placement3D(0, s, 0, c, Vec3(1.5f, 0.0f, 0.0f))), Vec3(-0.5f),
                 Vec3(0.5f));
  EXPECT_FALSE(qlnOverlapOBB(a, b));
  qlnPlaceBoxOBB(b, qlnMtx34FromPlacement(Placement3D(0, s, 0, c, Vec3(1.38f, 0.0f, 0.0f))), Vec3(-0.5f),
                 Vec3(0.5f));
  EXPECT_TRUE(qlnOverlapOBB(a, b));
  // Axis-aligned boxes (all edge axes parallel) touching and apart.
  xOBB3D p, q;
  qlnPlaceBoxOBB(p, kIdentityMtx34, Vec3(-1.0f), Vec3(1.0f));
  qlnPlaceBoxOBB(q, qlnMtx34FromPlacement(Placement3D(0, 0, 0, 1, Vec3(1.99f, 0, 0))), Vec3(-1.0f), Vec3(1.0f));
  EXPECT_TRUE(qlnOverlapOBB(p, q));
  qlnPlaceBoxOBB(q, qlnMtx34FromPlacement(Placement3D(0, 0, 0, 1, Vec3(2.01f, 0, 0))), Vec3(-1.0f), Vec3(1.0f));
  EXPECT_FALSE(qlnOverlapOBB(p, q));
}

TEST(Math3D, ClosestPointOnSegmentClampsToTheEnds) {
  const Vec3 a(0, 0, 0), b(2, 0, 0);
  EXPECT_EQ(qlnClosestPointOnSegment3D(Vec3(5, 1, 0), a, b), b);
  EXPECT_EQ(qlnClosestPointOnSegment3D(Vec3(-1, 1, 0), a, b), a);
  EXPECT_EQ(qlnClosestPointOnSegment3D(Vec3(1, 3, -2), a, b), Vec3(1, 0, 0));
  // A segment of no length is its point, not a division by zero.
  EXPECT_EQ(qlnClosestPointOnSegment3D(Vec3(1, 1, 1), a, a), a);
}

TEST(Math3D, ConstantsAndUnsetPlacement) {
  EXPECT_EQ(kDiagMtx44(3, 3), 0.0f);
  EXPECT_EQ(kDiagMtx44(2, 2), 1.0f);
  EXPECT_GT(kEmptyBox3.min.x, kEmptyBox3.max.x);
  const Placement3D unset;
  EXPECT_EQ(unset.qw, QLN_UNSET);
  EXPECT_EQ(unset.t.z, QLN_UNSET);
  EXPECT_EQ(kIdentityMtx34(0, 3), 0.0f);
  EXPECT_EQ(kZeroVec4.w, 0.0f);
}
