// The world step: islands, waking, contact constraints living for one step, and owners that
// destroy entities while the step runs.
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

}  // namespace
}  // namespace worldtest
