// The iterative solver and integrator through whole steps, at the game's scale: pixels, a step
// of 1.33 per frame, gravity of 10 m/s^2 at 32 pixels per metre.
#include "Dynamics/Constraints/xContactConstraint.h"
#include "physicscontext3d/solvers/linearcomplementaryproblem/iterative/xEquationStream.h"
#include "physicscontext3d/solvers/linearcomplementaryproblem/iterative/xGaussSouthwell.h"
#include "WorldFixture.h"

namespace worldtest {
namespace {

const float kStep = 1.33f;
const float kGravity = 0.05f;

class Solver : public World {
 protected:
  void SetUp() override {
    World::SetUp();
    xConfigurator::Instance()->gravity = Vec2(0.0f, kGravity);
    ground = staticSegment(Vec2(-400, 0), Vec2(400, 0));
  }
  float maxDepth() {
    float d = 0;
    for (int i = 0; i < contacts().size(); ++i) d = std::max(d, contacts()[i].depth);
    return d;
  }
  xShape *ground = nullptr;
};

TEST_F(Solver, BoxRestingOnASegmentSettlesAtTheSlop) {
  xBody *box = boxBody(0, -10.5f, 20, 20, 0.0f, 4.0f)->getMainBody();
  step(kStep, 300);
  float slop = xConfigurator::Instance()->penetrationSlop;
  float speed = 0;
  for (int i = 0; i < 60; ++i) {
    step(kStep);
    speed = std::max(speed, len(box->getVelocity()));
    EXPECT_LE(maxDepth(), slop + 0.01f);
  }
  EXPECT_LT(speed, 1e-3f);
  EXPECT_LT(std::fabs(box->getAngVelocity()), 1e-3f);
  EXPECT_NEAR(box->absPlacement().y, -10.0f + slop, 0.01f);
  EXPECT_NEAR(box->absPlacement().z, 0.0f, 1e-3f);
  EXPECT_GE(contacts().size(), 2);
}

TEST_F(Solver, BouncingCircleNeverRisesAboveItsDropHeight) {
  const float dropY = -100.0f;
  xBody *ball = circleBody(0, dropY, 10)->getMainBody();
  bool touched = false;
  for (int i = 0; i < 1500; ++i) {
    step(kStep);
    touched = touched || contacts().size() > 0;
    ASSERT_GE(ball->absPlacement().y, dropY - 1e-3f) << "step " << i;
  }
  EXPECT_TRUE(touched);
  EXPECT_NEAR(ball->absPlacement().y, -10.0f, 0.05f);
  EXPECT_LT(len(ball->getVelocity()), 1e-2f);
}

TEST_F(Solver, NormalForcesPushAndFrictionStaysInsideItsCone) {
  xBody *box = boxBody(0, -10.0f, 20, 20, 0.0f, 4.0f)->getMainBody();
  step(kStep, 50);
  box->setVelocity(Vec2(3.0f, 0.0f));
  xEquationStream &eq = xGaussSouthwell::equationStream();
  float startSpeed = 3.0f;
  int frictionRows = 0;
  for (int s = 0; s < 40; ++s) {
    step(kStep);
    for (int r = 0; r < eq.rowCount; ++r) {
      ASSERT_TRUE(std::isfinite(eq.force(r)));
      int normal = eq.boundLink[r];
      if (normal < 0) {
        EXPECT_GE(eq.force(r), 0.0f);
        continue;
      }
      ++frictionRows;
      float mu = 0.5f;  // two default materials
      EXPECT_LE(std::fabs(eq.force(r)), mu * eq.force(normal) * 1.01f + 1e-5f);
    }
  }
  EXPECT_GT(frictionRows, 0);
  EXPECT_LT(box->getVelocity().x, startSpeed * 0.9f);  // friction slows the slide
  EXPECT_GE(box->getVelocity().x, 0.0f);               // but never reverses it
}

TEST_F(Solver, StepsThatAreNotPositiveNumbersDoNothing) {
  xBody *ball = circleBody(0, -50, 10)->getMainBody();
  ball->setVelocity(Vec2(1.0f, 0.0f));
  Vec3 before = ball->absPlacement();
  const float bad[] = {0.0f, -1.33f, std::nanf(""), INFINITY};
  for (float dt : bad) {
    step(dt);
    EXPECT_EQ(ball->absPlacement(), before);
    EXPECT_EQ(ball->getVelocity(), Vec2(1.0f, 0.0f));
  }
  step(kStep);
  EXPECT_NE(ball->absPlacement(), before);
}

TEST_F(Solver, SubstepCountIsBoundedAndOneForALoneBody) {
  xConfigurator *cfg = xConfigurator::Instance();
  cfg->substepping = true;
  EXPECT_EQ(xGaussSouthwell::substepCount(1.33f, 1), 1);
  EXPECT_EQ(xGaussSouthwell::substepCount(1.33f, 2), 133);
  EXPECT_EQ(xGaussSouthwell::substepCount(0.05f, 2), 5);
  EXPECT_EQ(xGaussSouthwell::substepCount(1e30f, 2), xGaussSouthwell::kMaxSubsteps);
  cfg->longestSubstep = 0.0f;
  EXPECT_EQ(xGaussSouthwell::substepCount(1.0f, 2), 1);
  cfg->substepping = false;
  EXPECT_EQ(xGaussSouthwell::substepCount(1.0f, 2), 1);
}

TEST_F(Solver, SubstepsRunForwardInTime) {
  xConfigurator *cfg = xConfigurator::Instance();
  cfg->substepping = true;
  cfg->longestSubstep = 0.25f;
  circleBody(0, -9.5f, 10);
  circleBody(15, -9.5f, 10);  // overlapping: one island of two
  step(kStep);
  float start = sdk->timeNow();
  step(kStep);
  EXPECT_EQ(cfg->lastSubstepCount, 6);
  float t = sdk->physicsContext()->getSolver()->solverTime();
  EXPECT_GE(t, start);
  EXPECT_LT(t, start + kStep);
}

TEST_F(Solver, RestingBodyFallsAsleepYetStillStopsWhatHitsIt) {
  xConfigurator *cfg = xConfigurator::Instance();
  cfg->sleeping = true;
  xBody *box = boxBody(0, -10.0f, 20, 20, 0.0f, 4.0f)->getMainBody();
  for (int i = 0; i < 400 && box->isActive(); ++i) step(kStep);
  EXPECT_FALSE(box->isActive());
  Vec3 asleep = box->absPlacement();
  step(kStep, 10);
  EXPECT_EQ(box->absPlacement(), asleep);  // asleep: neither solved nor moved
  // A ball dropped on it is stopped by it: the contact pulls the sleeper into the ball's island.
  xBody *ball = circleBody(0, -45.0f, 5)->getMainBody();
  bool hit = false;
  for (int i = 0; i < 120; ++i) {
    step(kStep);
    hit = hit || contacts().size() > 0;
    ASSERT_LT(ball->absPlacement().y, -20.0f - 5.0f + 0.5f) << "step " << i;
  }
  EXPECT_TRUE(hit);
  EXPECT_NEAR(box->absPlacement().y, asleep.y, 0.05f);
}

// A body whose every move would tunnel.
class Blocked : public xBody3DOF {
 public:
  float getTunnelingFreeMoveRatio(const Vec3 &, const Vec3 &) override { return 0.0f; }
};

TEST_F(Solver, RefusedMovesKeepThePlacementButNotTheOldVelocity) {
  xConfigurator::Instance()->tunnelling = true;
  Blocked *body = new Blocked();
  bodies.push_back(body);
  body->setAbsPlacement(Vec3(0, -200, 0));
  attach(body, new xPrimitiveCircle(5));
  body->setVelocity(Vec2(2.0f, 0.0f));
  step(kStep);
  EXPECT_EQ(body->absPlacement(), Vec3(0, -200, 0));
  EXPECT_NEAR(body->getVelocity().y, kGravity * kStep, 1e-4f);  // gravity still acted
  // Our own shapes never refuse: an ordinary body moves with tunnelling on.
  xBody *free = circleBody(100, -200, 5)->getMainBody();
  step(kStep);
  EXPECT_GT(free->absPlacement().y, -200.0f);
}

TEST_F(Solver, BodyFlagsAndKindsDecideWhatEachStepApplies) {
  xBody *weightless = circleBody(-100, -300, 5)->getMainBody();
  weightless->clearGravity();
  xBody *floating = circleBody(0, -300, 5)->getMainBody();
  floating->setFluidForces();  // a fluid carries it for this step only
  xBody *slider = attach(new xBody2DOF(), new xPrimitiveCircle(5))->getMainBody();
  bodies.push_back(slider);
  slider->setAbsPlacement(Vec3(100, -300, 0.25f));
  slider->setAngVelocity(3.0f);
  step(kStep);
  EXPECT_EQ(weightless->getVelocity(), Vec2(0.0f, 0.0f));
  EXPECT_EQ(floating->getVelocity(), Vec2(0.0f, 0.0f));
  EXPECT_FALSE(floating->isFluidForces());
  EXPECT_FLOAT_EQ(slider->absPlacement().z, 0.25f);  // a body that cannot turn keeps its angle
  EXPECT_FLOAT_EQ(slider->getAngVelocity(), 3.0f);
  step(kStep);
  EXPECT_EQ(weightless->getVelocity(), Vec2(0.0f, 0.0f));
  EXPECT_GT(floating->getVelocity().y, 0.0f);  // falls again once the fluid let go
  EXPECT_GT(slider->getVelocity().y, 0.0f);
  EXPECT_EQ(weightless->getForce(), Vec2(0.0f, 0.0f));  // forces are spent every step
}

TEST_F(Solver, MaterialsAndSwitchesShapeTheContactRows) {
  xBody *body = boxBody(0, -9.9f, 20, 20)->getMainBody();
  xContactConstraint bare;
  bare.initialize(body, nullptr, nullptr, nullptr, Vec2(0, 0), Vec2(0, 1), 0.1f, false);
  EXPECT_FLOAT_EQ(bare.frictionCoefficient(), 0.5f);
  EXPECT_NEAR(bare.restitutionCoefficient(), 0.3f, 1e-4f);
  bare.release();
  xEquationStream &eq = xGaussSouthwell::equationStream();
  step(kStep);
  int withFriction = eq.rowCount;
  xConfigurator::Instance()->friction = false;
  step(kStep);
  EXPECT_EQ(withFriction, 2 * eq.rowCount);
  for (int r = 0; r < eq.rowCount; ++r) EXPECT_EQ(eq.boundLink[r], -1);
}

}  // namespace
}  // namespace worldtest
