// Joints exist in the shared library only.
#if !defined(QLN_GAME_BUILD)
#include "AssertCatcher.h"
#include "Dynamics/Joints/xBallSocket.h"
#include "Dynamics/Joints/xDirectMotionConstraint.h"
#include "Dynamics/Joints/xJointDesc.h"
#include "Dynamics/Joints/xMotorConstraint.h"
#include "Dynamics/Joints/xSpring.h"
#include "WorldFixture.h"

using namespace QuillonPHX2D;

using JointDescs = WorldTest;

TEST_F(JointDescs, CreateJointTiesBodiesAndCopiesParameters) {
  xBody *a = makeBody(Vec3(0, 0, 0));
  xBody *b = makeBody(Vec3(10, 0, 0));

  xBallSocketDesc ball;
  EXPECT_EQ(ball.releaseForce, 1e38f);
  EXPECT_EQ(ball.jointPlacement, Vec3(0, 0, 0));
  ball.sourceBody = a;
  ball.jointPlacement = Vec3(5, 0, 0);
  xConstraintSet *pin = sdk->createConstraintSet(ball);
  ASSERT_NE(pin, nullptr);
  EXPECT_EQ(pin->bodySrc(), a);
  EXPECT_EQ(pin->bodyDst(), nullptr);  // tied to the world
  EXPECT_EQ(a->getFirstJoint(), pin);
  EXPECT_EQ(pin->getReleaseForce(), 1e38f);

  xSpringDesc spring;
  EXPECT_EQ(spring.stiffness, 10.0f);
  EXPECT_EQ(spring.damping, 100.0f);
  EXPECT_EQ(spring.restLength, 50.0f);
  spring.sourceBody = a;
  spring.destinationBody = b;
  spring.releaseForce = 7.0f;
  xSpring *s = static_cast<xSpring *>(spring.createJoint());
  EXPECT_EQ(s->stiffness(), 10.0f);
  EXPECT_EQ(s->damping(), 100.0f);
  EXPECT_EQ(s->restLength(), 50.0f);
  EXPECT_EQ(s->getReleaseForce(), 7.0f);
  EXPECT_EQ(b->getFirstJoint(), s);

  xMotorConstraintDesc motor;
  motor.sourceBody = a;
  motor.direction = Vec2(0, 1);
  xMotorConstraint *m0 = static_cast<xMotorConstraint *>(motor.createJoint());
  const Vec2 ownAxis = m0->axis();
  EXPECT_EQ(m0->mode(), 0);
  EXPECT_EQ(m0->limit().motorForce(), 100.0f);
  EXPECT_EQ(m0->limit().velocity(), 3.1415927f);
  EXPECT_FALSE(m0->limit().hasMotorPosition());
  motor.mode = 1;
  xMotorConstraint *m1 = static_cast<xMotorConstraint *>(motor.createJoint());
  EXPECT_EQ(m0->axis(), ownAxis);  // mode 0 leaves the joint's own axis
  EXPECT_EQ(m1->axis(), Vec2(0, 1));

  xDirectMotionConstraintDesc direct;
  direct.sourceBody = b;
  direct.axis1 = Vec2(1, 0);
  direct.axis2 = Vec2(0, 1);
  direct.lowerForce = 2;
  direct.upperForce = 3;
  direct.targetSpeed = 4;
  xDirectMotionConstraint *dm = static_cast<xDirectMotionConstraint *>(direct.createJoint());
  EXPECT_EQ(dm->axis2(), Vec2(0, 1));
  EXPECT_EQ(dm->lowerForce(), 2.0f);
  EXPECT_EQ(dm->upperForce(), 3.0f);
  EXPECT_EQ(dm->targetSpeed(), 4.0f);

  // Deleting a body releases every joint that held it.
  delete a;
  EXPECT_EQ(pin->bodySrc(), nullptr);
  EXPECT_EQ(s->bodySrc(), nullptr);
  EXPECT_EQ(b->getFirstJoint(), dm);
  delete b;
  for (xConstraintSet *j : {pin, static_cast<xConstraintSet *>(s), static_cast<xConstraintSet *>(m0),
                            static_cast<xConstraintSet *>(m1), static_cast<xConstraintSet *>(dm)})
    delete j;
}

TEST_F(JointDescs, NoSourceBodyNoJoint) {
  AssertCatcher catcher;
  xBallSocketDesc ball;
  EXPECT_EQ(ball.createJoint(), nullptr);
  xSpringDesc spring;
  spring.destinationBody = makeBody(Vec3(0, 0, 0));
  EXPECT_EQ(spring.createJoint(), nullptr);
  EXPECT_EQ(catcher.reports(), 2);
  delete spring.destinationBody;
}
#endif
