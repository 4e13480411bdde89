// Joints made from their descriptions do what the description asks once the world steps: one
// test a joint kind. Joints exist in the shared library only.
#if !defined(QLN_GAME_BUILD)
#include <algorithm>
#include <cmath>
#include <vector>

#include "AssertCatcher.h"
#include "Configurator/ConfigContext.h"
#include "Dynamics/Joints/xBallSocket.h"
#include "Dynamics/Joints/xDirectMotionConstraint.h"
#include "Dynamics/Joints/xJointDesc.h"
#include "Dynamics/Joints/xMotorConstraint.h"
#include "Dynamics/Joints/xSpring.h"
#include "WorldFixture.h"

using namespace QuillonPHX2D;

namespace {

float distance(const Vec2 &a, const Vec2 &b) { return std::hypot(b.x - a.x, b.y - a.y); }
Vec2 at(xBody *b) { return Vec2(b->absPlacement().x, b->absPlacement().y); }

// The world of WorldTest, plus the bodies and joints a test makes, which the fixture deletes.
class JointDescs : public WorldTest {
 protected:
  void SetUp() override {
    WorldTest::SetUp();
    gravity_ = xConfigurator::Instance()->gravity;
    xConfigurator::Instance()->gravity = Vec2(0.0f, 0.0f);
  }
  void TearDown() override {
    for (xConstraintSet *j : joints_) delete j;
    for (xBody *b : bodies_) delete b;
    xConfigurator::Instance()->gravity = gravity_;
    WorldTest::TearDown();
  }

  // A body of mass 1 in the world, the inertia of a disc of radius 5; turning = false makes
  // one that cannot rotate.
  xBody *body(const Vec3 &placement, bool turning = true) {
    xBody3DOFDesc spinning;
    spinning.inertia = 12.5f;
    xBody2DOFDesc sliding;
    xBody *b = sdk->createBody(turning ? static_cast<xBodyDesc &>(spinning) : static_cast<xBodyDesc &>(sliding));
    b->setAbsPlacement(placement);
    b->initialize();
    bodies_.push_back(b);
    return b;
  }
  // Deletes a body before the fixture would.
  void destroy(xBody *b) {
    bodies_.erase(std::find(bodies_.begin(), bodies_.end(), b));
    delete b;
  }
  template <class Joint = xConstraintSet>
  Joint *joint(xJointDesc &d) {
    xConstraintSet *j = sdk->createConstraintSet(d);
    if (j) joints_.push_back(j);
    return static_cast<Joint *>(j);
  }
  void step(int n) {
    for (int i = 0; i < n; ++i) sdk->updateF(1.33f);
  }

 private:
  Vec2 gravity_;
  std::vector<xBody *> bodies_;
  std::vector<xConstraintSet *> joints_;
};

TEST_F(JointDescs, BallSocketPinsItsBodyToTheWorldAtThePlacement) {
  xConfigurator::Instance()->gravity = Vec2(0.0f, 0.05f);
  xBody *bob = body(Vec3(140, 0, 0));
  xBallSocketDesc d;
  d.sourceBody = bob;
  d.jointPlacement = Vec3(40, 0, 0);  // 100 px to the left of the body
  ASSERT_NE(joint(d), nullptr);
  float lowest = 0.0f;
  for (int i = 0; i < 400; ++i) {
    step(1);
    // A little slack while it swings hard: the step corrects the drift one step late.
    ASSERT_NEAR(distance(at(bob), Vec2(40, 0)), 100.0f, 1.5f) << "step " << i;
    lowest = std::max(lowest, at(bob).y);
  }
  EXPECT_GT(lowest, 30.0f);  // it swung down around the pin
}

TEST_F(JointDescs, SpringHoldsItsJointPointsAtTheRestLengthItWasGiven) {
  // Bodies that cannot turn keep the joint points at fixed offsets: a at its centre, b 80 px
  // to the left of its own. Both start on one point, the spring pushes them apart.
  xBody *a = body(Vec3(0, 0, 0), false);
  xBody *b = body(Vec3(80, 0, 0), false);
  xSpringDesc d;
  d.sourceBody = a;
  d.destinationBody = b;
  d.stiffness = 0.05f;
  d.damping = 0.5f;
  d.restLength = 30.0f;
  ASSERT_NE(joint(d), nullptr);
  step(600);
  const Vec2 pointOfB = at(b) - Vec2(80, 0);
  EXPECT_NEAR(distance(at(a), pointOfB), 30.0f, 0.5f);
  EXPECT_LT(distance(b->getVelocity(), Vec2(0, 0)), 0.01f);  // damped to rest
}

TEST_F(JointDescs, MotorTurnsItsBodyToThePositionInModeZeroOnly) {
  xBody *wheel = body(Vec3(0, 0, 0));
  xBody *idle = body(Vec3(100, 0, 0));
  xMotorConstraintDesc d;
  d.sourceBody = wheel;
  d.velocity = 0.02f;
  d.motorPosition = 0.5f;
  ASSERT_NE(joint(d), nullptr);
  d.sourceBody = idle;
  d.mode = 1;  // another mode: the joint keeps the direction and writes no rows
  d.direction = Vec2(0, 1);
  xMotorConstraint *other = joint<xMotorConstraint>(d);
  ASSERT_NE(other, nullptr);
  EXPECT_EQ(other->axis(), Vec2(0, 1));
  step(400);
  EXPECT_NEAR(wheel->absPlacement().z, 0.5f, 0.02f);
  EXPECT_EQ(idle->absPlacement().z, 0.0f);
}

TEST_F(JointDescs, DirectMotionDrivesAlongTheFirstAxisAndHoldsTheSecond) {
  xConfigurator::Instance()->gravity = Vec2(0.0f, 0.05f);
  xBody *sled = body(Vec3(0, 0, 0), false);
  xDirectMotionConstraintDesc d;
  d.sourceBody = sled;
  d.axis1 = Vec2(1, 0);
  d.axis2 = Vec2(0, 1);
  d.lowerForce = 5.0f;
  d.upperForce = 5.0f;
  d.targetSpeed = 0.5f;
  ASSERT_NE(joint(d), nullptr);
  step(100);
  EXPECT_NEAR(std::fabs(sled->getVelocity().x), 0.5f, 0.01f);
  EXPECT_NEAR(sled->getVelocity().y, 0.0f, 0.01f);  // held against gravity
  EXPECT_NEAR(sled->absPlacement().y, 0.0f, 1.0f);
}

TEST_F(JointDescs, DeletingABodyReleasesItsJoints) {
  xBody *a = body(Vec3(0, 0, 0));
  xBody *b = body(Vec3(10, 0, 0));
  xBallSocketDesc pinDesc;
  pinDesc.sourceBody = a;
  xConstraintSet *pin = joint(pinDesc);
  xSpringDesc springDesc;
  springDesc.sourceBody = a;
  springDesc.destinationBody = b;
  xConstraintSet *spring = joint(springDesc);
  xDirectMotionConstraintDesc directDesc;
  directDesc.sourceBody = b;
  xConstraintSet *direct = joint(directDesc);
  ASSERT_TRUE(pin && spring && direct);
  EXPECT_EQ(a->getFirstJoint(), spring);
  EXPECT_EQ(b->getFirstJoint(), direct);

  destroy(a);
  EXPECT_EQ(pin->bodySrc(), nullptr);
  EXPECT_EQ(spring->bodySrc(), nullptr);
  EXPECT_EQ(spring->bodyDst(), nullptr);
  EXPECT_EQ(b->getFirstJoint(), direct);
  EXPECT_EQ(direct->getNextInBody(b), nullptr);
  step(5);  // the world steps on with what is left
  EXPECT_TRUE(qlnIsFiniteV3(b->absPlacement()));
}

TEST_F(JointDescs, NoSourceBodyNoJoint) {
  AssertCatcher catcher;
  xBallSocketDesc ball;
  EXPECT_EQ(ball.createJoint(), nullptr);
  xSpringDesc spring;
  spring.destinationBody = body(Vec3(0, 0, 0));
  EXPECT_EQ(spring.createJoint(), nullptr);
  EXPECT_EQ(catcher.reports(), 2);
}

}  // namespace
#endif
