// The world step: islands, waking, contact constraints living for one step, and owners that
// destroy entities while the step runs.
#include <algorithm>
#include <vector>

#include "Dynamics/Constraints/xContactConstraint.h"
#include "Dynamics/Joints/xBallSocket.h"
#include "WorldFixture.h"

namespace worldtest {
namespace {

class Step : public World {
 protected:
  void SetUp() override {
    World::SetUp();
    xConfigurator::Instance()->gravity = Vec2(0.0f, 0.05f);
  }
};

TEST_F(Step, SeparatedPilesFormSeparateIslands) {
  staticSegment(Vec2(-1000, 0), Vec2(1000, 0));
  for (float x : {-300.0f, 300.0f}) {
    boxBody(x, -10.0f, 20, 20);
    boxBody(x, -30.0f, 20, 20);
    boxBody(x, -50.0f, 20, 20);
  }
  circleBody(0, -500.0f, 5);  // alone in the air
  step(1.33f, 3);
  EXPECT_EQ(sdk->physicsContext()->groups(), 3);
  // Contact constraints last one step; the temporary contacts stay readable.
  EXPECT_EQ(sdk->physicsContext()->contactConstraints().size(), 0);
  EXPECT_GT(contacts().size(), 0);
  for (xBody *b : bodies) EXPECT_EQ(b->getFirstJoint(), nullptr);
}

TEST_F(Step, WithoutAwakeBodiesNoIslandIsSolved) {
  xBody *b = circleBody(0, 0, 5)->getMainBody();
  staticSegment(Vec2(-10, 3), Vec2(10, 3));
  b->deactivate();
  step(1.33f);
  EXPECT_EQ(sdk->physicsContext()->groups(), 0);
  EXPECT_EQ(b->absPlacement(), Vec3(0, 0, 0));
}

#if !defined(QLN_GAME_BUILD)
TEST_F(Step, AJointWakesItsSleepingPartnerIntoOneIsland) {
  xBody *a = circleBody(0, 0, 5)->getMainBody();
  xBody *b = circleBody(100, 0, 5)->getMainBody();
  xBallSocket joint;
  joint.initialize(nullptr, a, b, Vec3(50, 0, 0));
  step(1.33f);  // clears the wake marks the bodies got when they were created
  b->deactivate();
  step(1.33f);
  EXPECT_TRUE(b->isActive());
  EXPECT_EQ(sdk->physicsContext()->groups(), 1);
  EXPECT_EQ(sdk->physicsContext()->activeBodiesCount(), 2);
  joint.release();
}
#endif

// An entity that owns a body and a shape and destroys itself when it is hit.
class SelfDestroying : public xEntity {
 public:
  SelfDestroying(World &w, float x) {
    body = new xBody3DOF();
    body->setAbsPlacement(Vec3(x, 0, 0));
    shape = new xPrimitiveShape();
    shape->setEnvelope(new xPrimitiveCircle(5.0f));
    shape->setCollisionCategory("default");
    shape->setAscendant(body);
    shape->setRelPlacement(Vec3(0, 0, 0));
    shape->setBody(body);
    shape->setOwner(this);
    body->initialize();
    shape->initialize();
    (void)w;
  }
  ~SelfDestroying() override {
    ++destroyed;
    delete shape;
    delete body;
  }
  bool notifyCollision(xShape *, xShape *, const Vec2 &, float, const Vec2 &) override {
    g_ptrSDK->destroyEntity(this);
    return true;
  }
  xBody *body;
  xPrimitiveShape *shape;
  static int destroyed;
};
int SelfDestroying::destroyed = 0;

class SelfDestroyingDesc : public xEntityDesc {
 public:
  SelfDestroyingDesc(World &w, float x) : w_(w), x_(x) {}
  xEntity *createEntity() override { return new SelfDestroying(w_, x_); }
  World &w_;
  float x_;
};

TEST_F(Step, EntityDestroyedFromItsCollisionIsGoneAfterTheStep) {
  SelfDestroying::destroyed = 0;
  SelfDestroyingDesc d1(*this, 0.0f), d2(*this, 8.0f), d3(*this, 16.0f);
  sdk->createEntity(&d1);
  sdk->createEntity(&d2);
  sdk->createEntity(&d3);
  ASSERT_EQ(sdk->entitiesCount(), 3);
  step(1.33f);
  EXPECT_EQ(SelfDestroying::destroyed, 3);
  EXPECT_EQ(sdk->entitiesCount(), 0);
  EXPECT_EQ(sdk->physicsContext()->bodiesCount(), 0);
  EXPECT_EQ(sdk->collisionContext()->shapesCount(), 0);
  step(1.33f);  // the world carries on without them
}

// The world's lists of bodies and shapes keep the order of arrival through thousands of
// removals, sleeps and wakings (the step walks them in that order), and their counts agree.
TEST_F(Step, BodyAndShapeListsKeepTheirOrderThroughRemovalsAndWakings) {
  std::vector<xBody *> all, awake;
  auto erase = [](std::vector<xBody *> &v, xBody *b) { v.erase(std::find(v.begin(), v.end(), b)); };
  auto add = [&](int n) {
    for (int i = 0; i < n; ++i) {
      xBody *b = circleBody(10.0f * static_cast<float>(all.size() + i * 7), 0.0f, 2.0f)->getMainBody();
      all.push_back(b);
      awake.push_back(b);
    }
  };
  auto check = [&](int round) {
    SCOPED_TRACE(round);
    xPhysicsContext *pc = sdk->physicsContext();
    xCollisionContext *cc = sdk->collisionContext();
    ASSERT_EQ(pc->bodiesCount(), static_cast<int>(all.size()));
    ASSERT_EQ(pc->activeBodiesCount(), static_cast<int>(awake.size()));
    ASSERT_EQ(cc->shapesCount(), static_cast<int>(all.size()));
    ASSERT_EQ(cc->activeShapesCount(), static_cast<int>(awake.size()));
    for (size_t i = 0; i < all.size(); ++i) ASSERT_EQ(pc->bodies()[static_cast<int>(i)], all[i]) << i;
    for (size_t i = 0; i < all.size(); ++i)
      ASSERT_EQ(cc->shapes()[static_cast<int>(i)]->getMainBody(), all[i]) << i;
    for (size_t i = 0; i < awake.size(); ++i) {
      ASSERT_EQ(pc->activeBodies()[static_cast<int>(i)], awake[i]) << i;
      ASSERT_EQ(cc->activeShapes()[static_cast<int>(i)]->getMainBody(), awake[i]) << i;
      ASSERT_TRUE(pc->isInActiveBodies(awake[i]));
    }
  };
  add(3000);
  check(0);
  for (int round = 1; round <= 6; ++round) {
    // Every few bodies go for good, shape first, as an entity takes them down.
    const int stride = 2 + round;
    for (size_t i = round; i < all.size(); i += stride) {
      xBody *b = all[i];
      xShape *s = nullptr;
      for (xShape *c : shapes)
        if (c->getMainBody() == b) s = c;
      shapes.erase(std::find(shapes.begin(), shapes.end(), s));
      bodies.erase(std::find(bodies.begin(), bodies.end(), b));
      delete s;
      delete b;
      if (std::find(awake.begin(), awake.end(), b) != awake.end()) erase(awake, b);
      all[i] = nullptr;
    }
    all.erase(std::remove(all.begin(), all.end(), nullptr), all.end());
    // Some fall asleep, then some of those wake again in the opposite order.
    std::vector<xBody *> slept;
    for (size_t i = 0; i < all.size(); i += 5)
      if (all[i]->isActive()) {
        all[i]->deactivate();
        erase(awake, all[i]);
        slept.push_back(all[i]);
      }
    EXPECT_FALSE(sdk->physicsContext()->isInActiveBodies(slept.front()));
    step(1.33f);
    check(round);
    for (size_t i = slept.size(); i-- > 0;)
      if (i % 3 == 0) {
        slept[i]->activate();
        awake.push_back(slept[i]);
      }
    add(200);
    step(1.33f);
    check(round);
  }
}

}  // namespace
}  // namespace worldtest
