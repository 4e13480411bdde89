// Colliders: orientation and size of what they report, for ordinary and degenerate placements.
#include <random>

#include "CollisionContext/Colliders/qlnSeparatingAxis.h"
#include "CollisionContext/Colliders/xColliderTable.h"
#include "WorldFixture.h"

namespace worldtest {
namespace {

// Centre of the other side of a stored contact: body 1's position, or for static geometry the
// point of the static shape nearest to body 0.
Vec2 otherCentre(const xTempContact &c, xShape *staticShape) {
  if (c.body1) return Vec2(c.body1->absPlacement());
  Vec2 p0(c.body0->absPlacement());
  auto *seg = dynamic_cast<xPrimitiveLineSeg *>(static_cast<xPrimitiveShape *>(staticShape)->getEnvelope());
  if (!seg) return Vec2(staticShape->absPlacement());
  Vec2 a = seg->getA(), b = seg->getB(), d = b - a;
  float t = qlnClamp(dot(p0 - a, d) / dot(d, d), 0.0f, 1.0f);
  return a + d * t;
}

void expectSaneContacts(xArray<xTempContact> &cs, xShape *staticShape, const char *what) {
  for (int i = 0; i < cs.size(); ++i) {
    const xTempContact &c = cs[i];
    SCOPED_TRACE(what);
    ASSERT_NE(c.body0, nullptr);
    EXPECT_TRUE(qlnIsFiniteV2(c.point) && qlnIsFiniteV2(c.normal) && std::isfinite(c.depth));
    EXPECT_NEAR(len(c.normal), 1.0f, 1e-4f);
    EXPECT_GE(c.depth, 0.0f);
    // The normal keeps the collider's orientation for body 0: towards the other shape.
    Vec2 towards = otherCentre(c, staticShape) - Vec2(c.body0->absPlacement());
    if (len(towards) > 1e-3f) {
      EXPECT_GT(dot(c.normal, towards), -1e-3f);
    }
  }
}

TEST_F(World, EveryColliderReportsUnitNormalsTowardsTheSecondShapeInBothTableOrders) {
  std::mt19937 rng(5);
  std::uniform_real_distribution<float> pos(-1.5f, 1.5f), ang(-3.2f, 3.2f), size(0.5f, 2.0f);
  int total = 0;
  // Kinds: 0 circle, 1 box, 2 static segment. Each pair is built in both creation orders, so
  // the collider is reached through its own table entry and through the mirrored one.
  const int pairs[][2] = {{0, 0}, {0, 1}, {1, 0}, {1, 1}, {0, 2}, {1, 2}};
  for (auto &pr : pairs) {
    for (int trial = 0; trial < 150; ++trial) {
      TearDown();
      SetUp();
      xShape *staticShape = nullptr;
      for (int k = 0; k < 2; ++k) {
        int kind = pr[k];
        float x = k == 0 ? 0.0f : pos(rng), y = k == 0 ? 0.0f : pos(rng);
        if (kind == 0) circleBody(x, y, size(rng) * 0.5f);
        if (kind == 1) boxBody(x, y, size(rng), size(rng), ang(rng));
        if (kind == 2) {
          float a = ang(rng);
          Vec2 d(std::cos(a) * 3.0f, std::sin(a) * 3.0f);
          staticShape = staticSegment(Vec2(x, y) - d, Vec2(x, y) + d);
        }
      }
      sdk->collisionContext()->generateContacts();
      total += contacts().size();
      expectSaneContacts(contacts(), staticShape, "random pair");
    }
  }
  EXPECT_GT(total, 300);
}

TEST_F(World, DegenerateContactsGetAFixedFiniteNormal) {
  // Coincident circle centres.
  xPrimitiveShape *a = circleBody(0, 0, 1.0f);
  xPrimitiveShape *b = circleBody(0, 0, 0.5f);
  qlnCollideCircleCircle(a, b);
  ASSERT_EQ(contacts().size(), 1);
  EXPECT_EQ(contacts()[0].normal, Vec2(0.0f, 1.0f));
  EXPECT_FLOAT_EQ(contacts()[0].depth, 1.5f);
  expectSaneContacts(contacts(), nullptr, "coincident circles");
  contacts().fastClear();

  // Circle centre exactly on a box corner.
  xPrimitiveShape *box = boxBody(10, 0, 2, 2);
  xPrimitiveShape *c = circleBody(11, 1, 0.5f);
  qlnCollideCircleBox(c, box);
  ASSERT_EQ(contacts().size(), 1);
  expectSaneContacts(contacts(), nullptr, "centre on corner");
  EXPECT_LT(dot(contacts()[0].normal, Vec2(1, 1)), 0.0f);  // into the box
  contacts().fastClear();

  // A segment through a box centre, and a segment of no length inside a box and a circle.
  xPrimitiveShape *box2 = boxBody(20, 0, 2, 2);
  xPrimitiveShape *through = staticSegment(Vec2(18, 0), Vec2(22, 0));
  qlnCollideBoxLineSeg(box2, through);
  EXPECT_GT(contacts().size(), 0);
  xPrimitiveShape *dot0 = staticSegment(Vec2(20.2f, 0.3f), Vec2(20.2f, 0.3f));
  qlnCollideBoxLineSeg(box2, dot0);
  xPrimitiveShape *circ = circleBody(30, 0, 1.0f);
  xPrimitiveShape *dot1 = staticSegment(Vec2(30.5f, 0), Vec2(30.5f, 0));
  qlnCollideCircleLineSeg(circ, dot1);
  xPrimitiveShape *dot2 = staticSegment(Vec2(20, 0), Vec2(20, 0));
  qlnCollideBoxLineSeg(box2, dot2);
  for (int i = 0; i < contacts().size(); ++i) {
    EXPECT_TRUE(qlnIsFiniteV2(contacts()[i].normal) && std::isfinite(contacts()[i].depth));
    EXPECT_NEAR(len(contacts()[i].normal), 1.0f, 1e-4f);
    EXPECT_GE(contacts()[i].depth, 0.0f);
  }
  // A whole step over all of it keeps every body finite.
  step(0.016f, 5);
  for (xBody *body : bodies) EXPECT_TRUE(qlnIsFiniteV3(body->absPlacement()));
}

TEST_F(World, CircleAndBoxFaceCases) {
  // Exactly touching circles: one contact of depth 0.
  xPrimitiveShape *a = circleBody(0, 0, 1.0f);
  xPrimitiveShape *b = circleBody(2, 0, 1.0f);
  qlnCollideCircleCircle(a, b);
  ASSERT_EQ(contacts().size(), 1);
  EXPECT_FLOAT_EQ(contacts()[0].depth, 0.0f);
  EXPECT_EQ(contacts()[0].normal, Vec2(1.0f, 0.0f));
  contacts().fastClear();

  // A circle centre inside a box reports a y-face and an x-face contact.
  xPrimitiveShape *box = boxBody(10, 0, 4, 2);
  xPrimitiveShape *inside = circleBody(10.5f, 0.25f, 0.5f);
  qlnCollideCircleBox(inside, box);
  ASSERT_EQ(contacts().size(), 2);
  EXPECT_EQ(contacts()[0].normal, Vec2(0.0f, -1.0f));
  EXPECT_EQ(contacts()[1].normal, Vec2(-1.0f, 0.0f));
  contacts().fastClear();

  // A circle over a segment's end: two contacts on the line through that end, perpendicular to
  // the direction from the centre to it.
  xPrimitiveShape *c = circleBody(20.3f, 0.4f, 1.0f);
  xShape *seg = staticSegment(Vec2(10, 0), Vec2(20, 0));
  qlnCollideCircleLineSeg(c, seg);
  ASSERT_EQ(contacts().size(), 2);
  Vec2 n = contacts()[0].normal;
  EXPECT_NEAR(n.x, -0.6f, 1e-5f);
  EXPECT_NEAR(n.y, -0.8f, 1e-5f);
  for (int i = 0; i < 2; ++i) {
    EXPECT_NEAR(dot(contacts()[i].point - Vec2(20, 0), n), 0.0f, 1e-5f);
    EXPECT_NEAR(contacts()[i].depth, 0.5f, 1e-5f);
  }
  EXPECT_NEAR(len(contacts()[0].point - contacts()[1].point), 2.0f * 0.8660254f, 1e-4f);
}

TEST_F(World, FlatBoxOnBoxGivesFourPointsWithOneDepth) {
  xPrimitiveShape *lower = boxBody(0, 0, 2, 2);
  xPrimitiveShape *upper = boxBody(0, 1.9995f, 2, 2);
  qlnCollideBoxBox(lower, upper);
  ASSERT_EQ(contacts().size(), 4);
  for (int i = 0; i < 4; ++i) {
    EXPECT_FLOAT_EQ(contacts()[i].depth, contacts()[0].depth);
    EXPECT_NEAR(contacts()[i].normal.y, 1.0f, 1e-6f);
  }
  EXPECT_NEAR(contacts()[0].depth, 0.00025f, 1e-5f);
  EXPECT_EQ(qlnSATGetBestAxis(), 1);

  // Deeper overlap keeps the clipped corners but their depths now differ.
  contacts().fastClear();
  xPrimitiveShape *deep = boxBody(10, 1.5f, 2, 2);
  xPrimitiveShape *base = boxBody(10, 0, 2, 2);
  qlnCollideBoxBox(base, deep);
  ASSERT_EQ(contacts().size(), 4);
  float maxDepth = 0;
  for (int i = 0; i < 4; ++i) maxDepth = std::max(maxDepth, contacts()[i].depth);
  EXPECT_NEAR(maxDepth, 0.5f, 1e-5f);
}

TEST_F(World, BoxesTurnedSixtyDegreesGiveOneCornerContact) {
  xPrimitiveShape *a = boxBody(0, 0, 2, 2);
  xPrimitiveShape *b = boxBody(2.1f, 0.3f, 2, 2, 1.0471976f);
  qlnCollideBoxBox(a, b);
  ASSERT_EQ(contacts().size(), 1);
  EXPECT_NEAR(len(contacts()[0].normal), 1.0f, 1e-5f);
  EXPECT_GT(contacts()[0].depth, 0.0f);
  EXPECT_GT(contacts()[0].normal.x, 0.0f);
}

TEST_F(World, SeparatedShapesReportNothing) {
  xPrimitiveShape *a = boxBody(0, 0, 2, 2, 0.3f);
  xPrimitiveShape *b = boxBody(3, 0, 2, 2, -0.2f);
  xPrimitiveShape *c = circleBody(0, 5, 1);
  xPrimitiveShape *d = circleBody(0, 7.5f, 1);
  xShape *seg = staticSegment(Vec2(-5, -3), Vec2(5, -3));
  qlnCollideBoxBox(a, b);
  qlnCollideCircleCircle(c, d);
  qlnCollideCircleBox(c, a);
  qlnCollideCircleLineSeg(c, seg);
  qlnCollideBoxLineSeg(a, seg);
  qlnCollideLineSegLineSeg(seg, seg);
  EXPECT_EQ(contacts().size(), 0);
}

TEST(ColliderTable, SevenWideWithMirroredEntriesEmpty) {
  xColliderTable *t = xColliderTable::Instance();
  EXPECT_EQ(t->stride(), 7);
  EXPECT_EQ(t->entry(0, 1), &qlnCollideCircleBox);
  EXPECT_EQ(t->entry(1, 0), nullptr);
  EXPECT_EQ(t->entry(2, 1), nullptr);
  EXPECT_EQ(t->entry(-1, 0), nullptr);
  EXPECT_EQ(t->entry(0, 7), nullptr);
}

}  // namespace
}  // namespace worldtest
