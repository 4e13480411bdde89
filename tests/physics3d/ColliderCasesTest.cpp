// Known configurations of the 3D colliders: exact depths, point counts and orders, the table's
// lookup, the flags, and the degenerate cases that must not divide by zero.
#include <gtest/gtest.h>

#include "ContactCapture.h"
#include "GameExtensions/SeparatingAxis3D.h"

using namespace QuillonPHX2D;
using namespace p3test;

namespace {

const float kS45 = std::sin(3.1415927f / 4), kC45 = std::cos(3.1415927f / 4);

std::unique_ptr<xShape3D> sphere(float r, const Vec3& at) { return staticShape(new xPrimitiveSphere3D(r), pose(at)); }
std::unique_ptr<xShape3D> box(const Vec3& size, const Placement3D& at) {
  return staticShape(new xPrimitiveBox3D(size), at);
}
std::unique_ptr<xShape3D> plane(const Vec3& n, float d) {
  return staticShape(new xPrimitivePlane3D(n, d), pose(Vec3(0.0f)));
}

void expectNear(const Vec3& a, const Vec3& b, float tol = 1e-4f) {
  EXPECT_NEAR(a.x, b.x, tol);
  EXPECT_NEAR(a.y, b.y, tol);
  EXPECT_NEAR(a.z, b.z, tol);
}

}  // namespace

TEST(ColliderTable3D, LooksUpEachUnorderedPairOnceWithStride14) {
  xColliderTable3D* t = xColliderTable3D::Instance();
  EXPECT_EQ(t->stride(), 14);
  EXPECT_EQ(t->entry(0, 1), &qlnCollideSphereBox);
  EXPECT_EQ(t->entry(1, 0), nullptr);
  EXPECT_EQ(t->entry(3, 9), &qlnImmersePrism);
  EXPECT_EQ(t->entry(2, 9), t->entry(3, 9));
  EXPECT_EQ(t->entry(5, 5), nullptr);
  EXPECT_EQ(t->entry(9, 5), nullptr);
  EXPECT_EQ(t->entry(-1, 0), nullptr);
  EXPECT_EQ(t->entry(0, 14), nullptr);
  int filled = 0;
  for (int r = 0; r < 14; ++r)
    for (int c = 0; c < 14; ++c) filled += t->entry(r, c) != nullptr;
  EXPECT_EQ(filled, 18);
}

TEST(SphereColliders, SpherePairsAtThreeDistances) {
  CaptureWorld w;
  auto a = sphere(1.0f, Vec3(0, 0, 0));
  auto b = sphere(1.0f, Vec3(1.5f, 0, 0));
  w.collide(a.get(), b.get());
  ASSERT_EQ(w.contacts().size(), 1u);
  EXPECT_NEAR(w.contacts()[0].depth, 0.5f, 1e-6f);
  expectNear(w.contacts()[0].point, Vec3(1, 0, 0));
  expectNear(w.contacts()[0].normal, Vec3(1, 0, 0));
  b->setLocalPlacement(pose(Vec3(2.0f, 0, 0)));
  w.collide(a.get(), b.get());
  ASSERT_EQ(w.contacts().size(), 1u);
  EXPECT_NEAR(w.contacts()[0].depth, 0.0f, 1e-6f);
  b->setLocalPlacement(pose(Vec3(2.1f, 0, 0)));
  w.collide(a.get(), b.get());
  EXPECT_TRUE(w.contacts().empty());
  // Coincident centres: a fixed direction, never NaN.
  b->setLocalPlacement(pose(Vec3(0, 0, 0)));
  w.collide(a.get(), b.get());
  ASSERT_EQ(w.contacts().size(), 1u);
  expectNear(w.contacts()[0].normal, Vec3(0, 1, 0));
  EXPECT_NEAR(w.contacts()[0].depth, 2.0f, 1e-6f);
  // Sphere-sphere leaves the Tested flag alone.
  EXPECT_EQ(a->flags & kFlag3DTested, 0u);
}

TEST(SphereColliders, SphereAgainstCapsuleSideCapAndCore) {
  CaptureWorld w;
  auto cap = staticShape(new xPrimitiveCapsule3D(1.0f, 6.0f), pose(Vec3(0, 0, 0)));
  auto s = sphere(1.0f, Vec3(1.5f, 0, 0));
  w.collide(s.get(), cap.get());
  ASSERT_EQ(w.contacts().size(), 1u);
  EXPECT_NEAR(w.contacts()[0].depth, 0.5f, 1e-5f);
  expectNear(w.contacts()[0].point, Vec3(0.75f, 0, 0));  // halfway between the surfaces
  expectNear(w.contacts()[0].normal, Vec3(-1, 0, 0));
  EXPECT_NE(s->flags & kFlag3DTested, 0u);
  EXPECT_NE(cap->flags & kFlag3DTested, 0u);
  // Beyond the core's end the rounded cap counts: centre 1.9 above the segment end (y = 2).
  s->setLocalPlacement(pose(Vec3(0, 3.9f, 0)));
  w.collide(s.get(), cap.get());
  ASSERT_EQ(w.contacts().size(), 1u);
  EXPECT_NEAR(w.contacts()[0].depth, 0.1f, 1e-5f);
  s->setLocalPlacement(pose(Vec3(1.5f, 3.9f, 0)));
  w.collide(s.get(), cap.get());
  EXPECT_TRUE(w.contacts().empty());
  // Centre on the core, and a capsule too short for a core: finite answers.
  s->setLocalPlacement(pose(Vec3(0, 1.0f, 0)));
  w.collide(s.get(), cap.get());
  ASSERT_EQ(w.contacts().size(), 1u);
  EXPECT_TRUE(qlnIsFiniteV3(w.contacts()[0].normal));
  EXPECT_NEAR(w.contacts()[0].depth, 2.0f, 1e-5f);
  auto coreless = staticShape(new xPrimitiveCapsule3D(1.0f, 1.0f), pose(Vec3(0, 0, 0)));
  s->setLocalPlacement(pose(Vec3(0, 1.5f, 0)));
  w.collide(s.get(), coreless.get());
  ASSERT_EQ(w.contacts().size(), 1u);
  EXPECT_NEAR(w.contacts()[0].depth, 0.5f, 1e-5f);
}

TEST(SphereColliders, BoundingPreTestRejectsWithoutTouchingFlags) {
  CaptureWorld w;
  auto cap = staticShape(new xPrimitiveCapsule3D(0.5f, 2.0f), pose(Vec3(0, 0, 0)));
  auto s = sphere(0.5f, Vec3(5, 0, 0));
  EXPECT_FALSE(qlnShapesMayTouch3D(s.get(), cap.get()));
  w.collide(s.get(), cap.get());
  EXPECT_TRUE(w.contacts().empty());
  EXPECT_EQ(s->flags, 0u);
}

TEST(PlaneColliders, SphereBoxCapsuleAndCylinderOnPlanes) {
  CaptureWorld w;
  // Plane y = 0 with the solid below (normal +y); an unnormalised normal is made unit.
  auto ground = plane(Vec3(0, 2, 0), 0.0f);
  auto s = sphere(1.0f, Vec3(0, 1.0f, 0));
  w.collide(s.get(), ground.get());
  ASSERT_EQ(w.contacts().size(), 1u);
  EXPECT_NEAR(w.contacts()[0].depth, 0.0f, 1e-6f);
  expectNear(w.contacts()[0].normal, Vec3(0, -1, 0));
  s->setLocalPlacement(pose(Vec3(0, -0.5f, 0)));  // centre behind: none, however deep
  w.collide(s.get(), ground.get());
  EXPECT_TRUE(w.contacts().empty());

  auto b = box(Vec3(2, 2, 2), pose(Vec3(0, 0.9f, 0)));
  w.collide(b.get(), ground.get());
  ASSERT_EQ(w.contacts().size(), 4u);
  const Vec3 order[4] = {Vec3(-1, -0.1f, -1), Vec3(1, -0.1f, -1), Vec3(1, -0.1f, 1), Vec3(-1, -0.1f, 1)};
  for (int i = 0; i < 4; ++i) {
    expectNear(w.contacts()[i].point, order[i]);
    EXPECT_NEAR(w.contacts()[i].depth, 0.1f, 1e-5f);
  }
  b->setLocalPlacement(pose(Vec3(0, -3.0f, 0)));
  w.collide(b.get(), ground.get());
  EXPECT_EQ(w.contacts().size(), 8u);

  // A capsule lying on the plane: two contacts, the + end first; standing: one.
  auto cap = staticShape(new xPrimitiveCapsule3D(0.5f, 3.0f), pose(Vec3(0, 0.45f, 0), 0, 0, kS45, kC45));
  w.collide(cap.get(), ground.get());
  ASSERT_EQ(w.contacts().size(), 2u);
  EXPECT_LT(w.contacts()[0].point.x, w.contacts()[1].point.x);  // local +y turned to world -x
  EXPECT_NEAR(w.contacts()[0].depth, 0.05f, 1e-5f);
  cap->setLocalPlacement(pose(Vec3(0, 1.45f, 0)));
  w.collide(cap.get(), ground.get());
  ASSERT_EQ(w.contacts().size(), 1u);
  EXPECT_NEAR(w.contacts()[0].point.y, 0.0f, 1e-5f);

  // A cylinder lying on the plane: two contacts along its lowest side line.
  auto cyl = staticShape(new xPrimitiveCylinder3D(0.5f, 2.0f), pose(Vec3(0, 0.45f, 0), kS45, 0, 0, kC45));
  w.collide(cyl.get(), ground.get());
  ASSERT_EQ(w.contacts().size(), 2u);
  for (const Contact& c : w.contacts()) {
    EXPECT_NEAR(c.depth, 0.05f, 1e-4f);
    EXPECT_NEAR(std::fabs(c.point.z), 1.0f, 1e-4f);
    expectNear(c.normal, Vec3(0, -1, 0));
  }
}

TEST(PlaneColliders, CylinderCapOnPlaneWhollyAndPartlySunk) {
  CaptureWorld w;
  auto ground = plane(Vec3(0, 1, 0), 0.0f);
  // Standing on its cap, sunk by 0.1: the eight octagon corners at k pi/4.
  auto cyl = staticShape(new xPrimitiveCylinder3D(1.0f, 2.0f), pose(Vec3(0, 0.9f, 0)));
  w.collide(cyl.get(), ground.get());
  ASSERT_EQ(w.contacts().size(), 8u);
  for (int k = 0; k < 8; ++k) {
    EXPECT_NEAR(w.contacts()[k].depth, 0.1f, 1e-5f);
    EXPECT_NEAR(qlnLenV3(Vec3(w.contacts()[k].point.x, 0, w.contacts()[k].point.z)), 1.0f, 1e-5f);
  }
  // Tilted 10 degrees: the cap is partly behind the plane. The sunk corners carry their depth,
  // the points where the rim crosses the plane carry 0, nothing is reported in front of it.
  const float s = std::sin(0.0872665f), c = std::cos(0.0872665f);
  cyl->setLocalPlacement(pose(Vec3(0, 1.0f, 0), 0, 0, s, c));
  w.collide(cyl.get(), ground.get());
  ASSERT_FALSE(w.contacts().empty());
  int atSurface = 0;
  for (const Contact& ct : w.contacts()) {
    EXPECT_LE(ct.point.y, 1e-5f);
    EXPECT_NEAR(ct.depth, -ct.point.y, 1e-5f);
    atSurface += ct.depth < 1e-5f;
  }
  EXPECT_EQ(atSurface, 2);
}

TEST(SecondFamily, SphereBoxForms) {
  CaptureWorld w;
  auto b = box(Vec3(2, 2, 2), pose(Vec3(0, 0, 0)));
  auto s = sphere(0.5f, Vec3(1.3f, 0, 0));  // outside a face
  w.collide(s.get(), b.get());
  ASSERT_EQ(w.contacts().size(), 1u);
  EXPECT_NEAR(w.contacts()[0].depth, 0.2f, 1e-5f);
  expectNear(w.contacts()[0].point, Vec3(1, 0, 0));
  expectNear(w.contacts()[0].normal, Vec3(-1, 0, 0));
  s->setLocalPlacement(pose(Vec3(0.8f, 0.1f, 0)));  // centre inside: deeper than the radius
  w.collide(s.get(), b.get());
  ASSERT_EQ(w.contacts().size(), 1u);
  EXPECT_GT(w.contacts()[0].depth, 0.5f);
  expectNear(w.contacts()[0].normal, Vec3(-1, 0, 0));
  s->setLocalPlacement(pose(Vec3(1.4f, 1.4f, 0)));  // off the edge, out of reach
  w.collide(s.get(), b.get());
  EXPECT_TRUE(w.contacts().empty());
}

TEST(SecondFamily, SphereCylinderClassesAndDegenerateCentres) {
  CaptureWorld w;
  auto cyl = staticShape(new xPrimitiveCylinder3D(1.0f, 2.0f), pose(Vec3(0, 0, 0)));
  auto s = sphere(0.5f, Vec3(0, 1.0f, 0.0f));  // level with the cap plane, on the axis
  w.collide(s.get(), cyl.get());
  ASSERT_EQ(w.contacts().size(), 1u);
  expectNear(w.contacts()[0].normal, Vec3(0, -1, 0));
  EXPECT_NEAR(w.contacts()[0].depth, 0.5f, 1e-5f);
  s->setLocalPlacement(pose(Vec3(1.2f, 1.2f, 0)));  // above the cap, outside the radius: rim
  w.collide(s.get(), cyl.get());
  ASSERT_EQ(w.contacts().size(), 1u);
  const Vec3 n = w.contacts()[0].normal;
  EXPECT_LT(n.x, -0.5f);
  EXPECT_LT(n.y, -0.5f);  // slanted
  EXPECT_NEAR(w.contacts()[0].depth, 0.5f - std::sqrt(0.08f), 1e-5f);
  s->setLocalPlacement(pose(Vec3(1.4f, 1.4f, 0)));  // both gaps pass, the rim is out of reach
  w.collide(s.get(), cyl.get());
  EXPECT_TRUE(w.contacts().empty());
  s->setLocalPlacement(pose(Vec3(0, 0.2f, 0)));  // centre on the axis inside
  w.collide(s.get(), cyl.get());
  ASSERT_EQ(w.contacts().size(), 1u);
  EXPECT_TRUE(qlnIsFiniteV3(w.contacts()[0].normal));
  EXPECT_NEAR(qlnLenV3(w.contacts()[0].normal), 1.0f, 1e-5f);
}

TEST(BoxColliders, CubeOnCubeGivesFourLevelPoints) {
  CaptureWorld w;
  auto lower = box(Vec3(2, 2, 2), pose(Vec3(0, 0, 0)));
  auto upper = box(Vec3(1, 1, 1), pose(Vec3(0.2f, 1.48f, -0.1f)));
  w.collide(lower.get(), upper.get());
  ASSERT_EQ(w.contacts().size(), 4u);
  for (const Contact& c : w.contacts()) {
    EXPECT_NEAR(c.depth, 0.02f, 1e-4f);
    expectNear(c.normal, Vec3(0, 1, 0));
    EXPECT_NEAR(c.point.y, 1.0f, 1e-4f);  // moved onto the reference face
  }
  EXPECT_EQ(qlnSAT3D().bestAxis, 1);  // ties keep the first face found: the lower box's
}

TEST(BoxColliders, EdgeToEdgeGivesOneMidpointContact) {
  CaptureWorld w;
  const float s8 = std::sin(3.1415927f / 8), c8 = std::cos(3.1415927f / 8);
  auto a = box(Vec3(1, 1, 1), pose(Vec3(0, 0, 0), 0, 0, s8, c8));
  auto b = box(Vec3(1, 1, 1), pose(Vec3(1.38f, 0, 0), 0, s8, 0, c8));
  w.collide(a.get(), b.get());
  ASSERT_EQ(w.contacts().size(), 1u);
  EXPECT_GE(qlnSAT3D().bestAxis, 6);
  const Contact& c = w.contacts()[0];
  expectNear(c.normal, Vec3(1, 0, 0), 1e-3f);
  EXPECT_NEAR(c.depth, 1.41421f - 1.38f, 1e-3f);
  expectNear(c.point, Vec3(0.70711f, 0, 0), 2e-3f);
}

TEST(BoxColliders, BoxBoxSeparationAgreesWithTheOverlapTest) {
  std::mt19937 rng(21);
  std::uniform_real_distribution<float> size(0.3f, 2.0f);
  int separated = 0;
  for (int i = 0; i < 3000; ++i) {
    auto a = box(Vec3(size(rng), size(rng), size(rng)), randomPose(rng, 1.5f));
    auto b = box(Vec3(size(rng), size(rng), size(rng)), randomPose(rng, 1.5f));
    const xSolid3D A = qlnSolidOf3D(a.get()), B = qlnSolidOf3D(b.get());
    xOBB3D oa, ob;
    qlnPlaceBoxOBB(oa, A.xf, A.half * -1.0f, A.half);
    qlnPlaceBoxOBB(ob, B.xf, B.half * -1.0f, B.half);
    qlnSATReset3D();
    const bool sat = qlnSATBoxBox3D(A, B);
    ASSERT_EQ(sat, !qlnOverlapOBB(oa, ob)) << "iteration " << i;
    ASSERT_EQ(sat, qlnSAT3D().separated);
    if (sat) {
      ++separated;
    } else {
      ASSERT_FALSE(bruteSeparated(oa, ob)) << "iteration " << i;
      ASSERT_GE(qlnSAT3D().bestAxis, 0);
      ASSERT_GE(qlnSAT3D().bestDepth, 0.0f);
    }
  }
  EXPECT_GT(separated, 300);
}

TEST(CapsuleColliders, CrossedAndParallelCapsules) {
  CaptureWorld w;
  auto a = staticShape(new xPrimitiveCapsule3D(0.5f, 4.0f), pose(Vec3(0, 0, 0), 0, 0, kS45, kC45));  // along x
  auto b = staticShape(new xPrimitiveCapsule3D(0.5f, 4.0f), pose(Vec3(0, 0.9f, 0), kS45, 0, 0, kC45));  // along z
  w.collide(a.get(), b.get());
  EXPECT_EQ(qlnSAT3D().bestAxis, 0);
  ASSERT_GE(w.contacts().size(), 1u);
  ASSERT_LE(w.contacts().size(), 2u);
  for (const Contact& c : w.contacts()) {
    expectNear(c.normal, Vec3(0, 1, 0), 1e-4f);
    EXPECT_NEAR(c.depth, 0.1f, 1e-4f);
  }
  // Side by side and parallel: the cross axis has no length, one contact on a perpendicular.
  b->setLocalPlacement(pose(Vec3(0, 0.9f, 0.0f), 0, 0, kS45, kC45));
  w.collide(a.get(), b.get());
  ASSERT_EQ(w.contacts().size(), 1u);
  EXPECT_NE(qlnSAT3D().bestAxis, 0);
  EXPECT_NEAR(w.contacts()[0].depth, 0.1f, 1e-4f);
  expectNear(w.contacts()[0].normal, Vec3(0, 1, 0), 1e-4f);
}

TEST(CapsuleColliders, BoxCapsuleReportsPlusEndFirst) {
  CaptureWorld w;
  auto b = box(Vec3(4, 1, 4), pose(Vec3(0, 0, 0)));
  // A capsule lying along x on top of the box, 0.05 deep; local +y turned to world -x.
  auto cap = staticShape(new xPrimitiveCapsule3D(0.5f, 3.0f), pose(Vec3(0, 0.95f, 0), 0, 0, kS45, kC45));
  w.collide(b.get(), cap.get());
  ASSERT_EQ(w.contacts().size(), 2u);
  EXPECT_LT(w.contacts()[0].point.x, w.contacts()[1].point.x);
  for (const Contact& c : w.contacts()) {
    EXPECT_NEAR(c.depth, 0.05f, 1e-4f);
    expectNear(c.normal, Vec3(0, 1, 0), 1e-4f);
  }
  EXPECT_NE(cap->flags & kFlag3DTested, 0u);
}

TEST(CylinderColliders, CylinderOnBoxIsCutByTheTurnedOctagon) {
  CaptureWorld w;
  auto b = box(Vec3(4, 1, 4), pose(Vec3(0, 0, 0)));
  auto cyl = staticShape(new xPrimitiveCylinder3D(1.0f, 2.0f), pose(Vec3(0, 1.45f, 0)));
  w.collide(b.get(), cyl.get());
  ASSERT_EQ(w.contacts().size(), 8u);
  for (const Contact& c : w.contacts()) {
    EXPECT_NEAR(c.depth, 0.05f, 1e-4f);
    // Corners of the prism with faces at pi/8 + k pi/4 lie on the axes' diagonals' gaps:
    // at angles k pi/4, radius 1 / cos(pi/8).
    const float ang = std::atan2(c.point.z, c.point.x);
    const float k = ang / (3.1415927f / 4);
    EXPECT_NEAR(k, std::round(k), 1e-3f);
    EXPECT_NEAR(std::hypot(c.point.x, c.point.z), 1.0f / std::cos(3.1415927f / 8), 1e-4f);
  }
}

TEST(ClipHelpers, SegmentAndPolygonAgainstAPlane) {
  Vec3 p(0, -1, 0), q(0, 1, 0);
  EXPECT_TRUE(qlnClipSegmentToPlane3D(Vec3(0, 1, 0), 0.5f, p, q));  // keep y >= -0.5
  expectNear(p, Vec3(0, -0.5f, 0));
  expectNear(q, Vec3(0, 1, 0));
  Vec3 r(0, -3, 0), s(0, -2, 0);
  EXPECT_FALSE(qlnClipSegmentToPlane3D(Vec3(0, 1, 0), 0.5f, r, s));
  expectNear(r, Vec3(0, -3, 0));
  const Vec3 square[4] = {Vec3(-1, -1, 0), Vec3(1, -1, 0), Vec3(1, 1, 0), Vec3(-1, 1, 0)};
  Vec3 out[8];
  int n = 0;
  qlnClipPolygonToPlane3D(square, 4, out, n, Vec3(1, 0, 0), 0.0f);  // keep x >= 0
  ASSERT_EQ(n, 4);
  for (int i = 0; i < n; ++i) EXPECT_GE(out[i].x, -1e-6f);
  qlnClipPolygonToPlane3D(square, 0, out, n, Vec3(1, 0, 0), 0.0f);
  EXPECT_EQ(n, 0);
}

TEST(SeparatingAxis3D, EdgeAxesNeedAMarginAndEmptySearchesFindNothing) {
  qlnSATReset3D();
  EXPECT_FALSE(qlnSATFaceAxis3D(2.0f, 1.0f, Vec3(0, 1, 0), 1));  // overlap 1
  EXPECT_FALSE(qlnSATEdgeAxis3D(2.0f, 1.01f, Vec3(0, 0, 1), 6));  // 0.99: within the margin
  EXPECT_EQ(qlnSAT3D().bestAxis, 1);
  EXPECT_FALSE(qlnSATEdgeAxis3D(2.0f, 1.03f, Vec3(0, 0, 1), 7));  // 0.97 wins
  EXPECT_EQ(qlnSAT3D().bestAxis, 7);
  EXPECT_FALSE(qlnSATEdgeAxis3D(2.0f, 0.0f, Vec3(0, 0, 0), 8));  // no length: ignored
  EXPECT_EQ(qlnSAT3D().bestAxis, 7);
  EXPECT_TRUE(qlnSATEdgeAxis3D(1.0f, -1.5f, Vec3(0, 0, 2), 9));
  EXPECT_TRUE(qlnSAT3D().separated);

  // Two sphere-like capsules (no core) at one centre: every candidate axis has no length.
  CaptureWorld w;
  auto a = staticShape(new xPrimitiveCapsule3D(0.5f, 1.0f), pose(Vec3(0, 0, 0)));
  auto b = staticShape(new xPrimitiveCapsule3D(0.5f, 1.0f), pose(Vec3(0, 0, 0)));
  w.collide(a.get(), b.get());
  EXPECT_EQ(qlnSAT3D().bestAxis, -1);
  EXPECT_TRUE(w.contacts().empty());
}

TEST(SeparatingAxis3D, CapsuleCoreInsideABoxKeepsBothClippedPoints) {
  CaptureWorld w;
  auto b = box(Vec3(4, 2, 4), pose(Vec3(0, 0, 0)));
  auto cap = staticShape(new xPrimitiveCapsule3D(0.3f, 2.0f), pose(Vec3(0, 0.2f, 0), 0, 0, kS45, kC45));
  w.collide(b.get(), cap.get());
  ASSERT_EQ(w.contacts().size(), 2u);
  EXPECT_NEAR(std::fabs(w.contacts()[0].point.x - w.contacts()[1].point.x), 1.4f, 1e-4f);
}
