// Joints: what they hold over many steps, and that degenerate ones stay harmless. Joints are
// part of the shared library only.
#if !defined(QLN_GAME_BUILD)
#include "Dynamics/Constraints/xContactConstraint.h"
#include "Dynamics/Integrators/xIntegrator.h"
#include "Dynamics/Joints/xBallSocket.h"
#include "Dynamics/Joints/xDirectMotionConstraint.h"
#include "Dynamics/Joints/xMotorConstraint.h"
#include "Dynamics/Joints/xSpring.h"
#include "WorldFixture.h"
#include "physicscontext3d/solvers/linearcomplementaryproblem/iterative/xEquationStream.h"
#include "physicscontext3d/solvers/linearcomplementaryproblem/iterative/xGaussSouthwell.h"

namespace worldtest {
namespace {

class Joints : public World {
 protected:
  void SetUp() override {
    World::SetUp();
    xConfigurator::Instance()->gravity = Vec2(0.0f, 0.05f);
  }
};

TEST_F(Joints, BallSocketHoldsItsPendulumLength) {
  xBody *bob = circleBody(100, 0, 5)->getMainBody();
  xBallSocket pin;
  pin.initialize(nullptr, bob, nullptr, Vec3(0, 0, 0));  // pinned to the world origin
  float swing = 0;
  for (int i = 0; i < 1000; ++i) {
    step(1.33f);
    Vec2 p(bob->absPlacement());
    // A step of 1.33 corrects the swing's drift one step late: a little slack while it swings
    // hard, and no creep over time.
    ASSERT_NEAR(len(p), 100.0f, i < 800 ? 1.5f : 0.5f) << "step " << i;
    swing = std::max(swing, p.y);
  }
  EXPECT_GT(swing, 50.0f);  // it really swung
  pin.release();
}

TEST_F(Joints, DampedSpringLosesEnergy) {
  xConfigurator *cfg = xConfigurator::Instance();
  cfg->gravity = Vec2(0.0f, 0.0f);
  cfg->dampingFactor = 1.0f;  // only the spring may take energy out
  xBody *a = circleBody(0, 0, 5)->getMainBody();
  xBody *b = circleBody(80, 0, 5)->getMainBody();
  xSpring spring;
  spring.initialize(nullptr, a, b, Vec3(0, 0, 0));
  spring.setStiffness(0.05f);
  spring.setDamping(0.5f);
  spring.setRestLength(50.0f);
  // Anchors sit at each body's centre.
  spring.setJointPlacement(Vec3(0, 0, 0), Vec3(0, 0, 0));
  auto energy = [&]() {
    Vec2 va = a->getVelocity(), vb = b->getVelocity();
    float stretch = len(Vec2(b->absPlacement()) - Vec2(a->absPlacement())) - 50.0f;
    return 0.5f * (dot(va, va) + dot(vb, vb)) + 0.5f * 0.05f * stretch * stretch;
  };
  float e0 = energy();
  float last = e0;
  for (int i = 0; i < 300; ++i) {
    step(1.33f);
    float e = energy();
    ASSERT_TRUE(std::isfinite(e));
    EXPECT_LE(e, last * 1.001f + 1e-6f) << "step " << i;
    last = e;
  }
  EXPECT_LT(last, 0.1f * e0);
  spring.release();
}

TEST_F(Joints, RowsWithoutEffectiveMassGetNoForce) {
  xBody *a = circleBody(0, 0, 5)->getMainBody();
  xBody *b = circleBody(20, 0, 5)->getMainBody();
  xSpring limp;
  limp.initialize(nullptr, a, b, Vec3(10, 0, 0));
  limp.setStiffness(0.0f);
  limp.setDamping(0.0f);
  xDirectMotionConstraint still;
  still.initialize(nullptr, a, nullptr, Vec3(0, 0, 0));
  still.setForceBounds(5.0f, 5.0f);  // both axes zero: zero Jacobian rows
  xMotorConstraint motor;             // on a body that cannot turn: no angular mass
  xBody *slider = attach(new xBody2DOF(), new xPrimitiveCircle(2.0f))->getMainBody();
  bodies.push_back(slider);
  slider->setAbsPlacement(Vec3(-50, 0, 0.5f));
  motor.initialize(nullptr, slider, nullptr, Vec3(-50, 0, 0));
  motor.limit().setLimits(-0.1f, 0.1f);
  step(1.33f, 20);
  for (xBody *body : {a, b, slider}) {
    EXPECT_TRUE(qlnIsFiniteV3(body->absPlacement()));
    EXPECT_TRUE(qlnIsFiniteV2(body->getVelocity()));
  }
  // Gravity alone moved them: the degenerate rows added nothing.
  EXPECT_NEAR(a->getVelocity().x, 0.0f, 1e-6f);
  limp.release();
  still.release();
  motor.release();
}

TEST_F(Joints, MotorWithEqualLimitsLocksTheAngle) {
  xConfigurator::Instance()->gravity = Vec2(0.0f, 0.0f);
  xBody *wheel = boxBody(0, 0, 10, 10)->getMainBody();
  wheel->setAngVelocity(0.05f);
  xMotorConstraint lock;
  lock.initialize(nullptr, wheel, nullptr, Vec3(0, 0, 0));
  lock.limit().setLimits(0.0f, 0.0f);
  lock.limit().setMotorForce(0.0f);
  step(1.33f, 200);
  EXPECT_NEAR(wheel->absPlacement().z, 0.0f, 0.01f);
  EXPECT_NEAR(wheel->getAngVelocity(), 0.0f, 0.01f);
  lock.release();
}

TEST_F(Joints, MotorDrivesTowardsItsPositionAndThenStopsWriting) {
  xConfigurator::Instance()->gravity = Vec2(0.0f, 0.0f);
  xBody *wheel = boxBody(0, 0, 10, 10)->getMainBody();
  xMotorConstraint motor;
  motor.initialize(nullptr, wheel, nullptr, Vec3(0, 0, 0));
  motor.limit().setVelocity(0.02f);
  motor.limit().setMotorAngPos(0.5f);
  step(1.33f, 400);
  EXPECT_NEAR(wheel->absPlacement().z, 0.5f, 0.02f);
  motor.release();
}

TEST_F(Joints, AContactThatCameApartLeavesNothingInTheRowsOfTheNextSet) {
  xBody *body = boxBody(0, 0, 10, 10)->getMainBody();
  body->setAbsPlacement(Vec3(0, 0, 1.0f));  // outside the motor's limits: it writes a limit row
  xContactConstraint apart;  // negative depth: it writes its coefficients, then reports no rows
  apart.initialize(body, nullptr, nullptr, nullptr, Vec2(3, 4), Vec2(0.6f, 0.8f), -1.0f, false);
  xMotorConstraint motor;
  motor.initialize(nullptr, body, nullptr, Vec3(0, 0, 0));
  motor.limit().setLimits(-0.5f, 0.5f);
  motor.limit().setMotorForce(0.0f);
  xArray<xBody *> island;
  island.append(body);
  xArray<xConstraintSet *> sets;
  sets.append(&apart);
  sets.append(&motor);
  xEuler1stOrder euler;
  sdk->physicsContext()->getSolver()->solve(island, sets, &euler, 1.33f);
  xEquationStream &eq = xGaussSouthwell::equationStream();
  ASSERT_EQ(eq.rowCount, 1);
  EXPECT_EQ(eq.jacobianA(0, 0), 0.0f);  // the motor row is purely angular
  EXPECT_EQ(eq.jacobianA(0, 1), 0.0f);
  EXPECT_EQ(eq.jacobianA(0, 2), 1.0f);
  EXPECT_EQ(eq.boundLink[0], -1);
  EXPECT_LT(body->absPlacement().z, 1.0f);  // pulled back towards its limit
  apart.release();
  motor.release();
}

TEST_F(Joints, ChainsStayConsistentWhateverOrderSetsLeave) {
  xBody *hub = addBody(0, 0);
  xBody *others[3] = {addBody(10, 0), addBody(20, 0), addBody(30, 0)};
  xBallSocket *sets[3];
  for (int i = 0; i < 3; ++i) {
    sets[i] = new xBallSocket();
    sets[i]->initialize(nullptr, hub, others[i], Vec3(5, 0, 0));
  }
  // New sets go to the head of the chain.
  EXPECT_EQ(hub->getFirstJoint(), sets[2]);
  EXPECT_EQ(sets[2]->getPrevInBody(hub), nullptr);
  EXPECT_EQ(sets[0]->getPrevInBody(hub), sets[1]);
  sets[1]->release();                      // from the middle
  EXPECT_EQ(sets[2]->getNextInBody(hub), sets[0]);
  delete sets[2];                          // deleting a linked set unlinks it first
  EXPECT_EQ(hub->getFirstJoint(), sets[0]);
  EXPECT_EQ(others[2]->getFirstJoint(), nullptr);
  delete sets[1];
  // The joint point is kept in each body's frame.
  EXPECT_EQ(sets[0]->placementInSrc(), Vec3(5, 0, 0));
  EXPECT_EQ(sets[0]->placementInDst(), Vec3(-5, 0, 0));
  delete others[0];                        // a deleted body leaves no set pointing at it
  EXPECT_EQ(sets[0]->bodyDst(), nullptr);
  EXPECT_EQ(hub->getFirstJoint(), nullptr);
  bodies.erase(std::find(bodies.begin(), bodies.end(), others[0]));
  delete sets[0];
}

}  // namespace
}  // namespace worldtest
#endif
