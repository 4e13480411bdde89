// The 3D contact world stepped as a whole: settling, resolving, the frame-loop step, pausing,
// pair filtering, owner notifications, the solver index check and replaying a scene.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "CollisionContext/Categories/CategoryDispatcher.h"
#include "HeapClutter.h"
#include "GameExtensions/Configurator3D.h"
#include "GameExtensions/ConstraintSet3D.h"
#include "GameExtensions/Entity3D.h"
#include "GameExtensions/Solver3D.h"
#include "Scene3D.h"
#include "StrictAsserts.h"

using namespace QuillonPHX2D;
using namespace p3test;

namespace {

struct RecordingOwner : xEntity3D {
  bool notifyCollision(xShape3D* first, xShape3D* second, const Vec3&, float depth, const Vec3& normal) override {
    ++collisions;
    lastFirst = first;
    lastSecond = second;
    lastNormal = normal;
    lastDepth = depth;
    return answer;
  }
  int collisions = 0;
  xShape3D* lastFirst = nullptr;
  xShape3D* lastSecond = nullptr;
  Vec3 lastNormal = Vec3(0.0f);
  float lastDepth = 0.0f;
  bool answer = true;
};

xCollisionCategory* category3D(const char* name) {
  return xCollisionContext3D::categoryDispatcher()->findCategoryByName(name);
}

}  // namespace

TEST(World3D, SphereSettlesOnABox) {
  Scene3D scene;
  // Gravity is +y here: the box below the sphere sits at larger y.
  scene.shape(new xPrimitiveBox3D(Vec3(4, 1, 4)), nullptr, at(Vec3(0, 2, 0)));
  xBody3D* ball = scene.body(1.0f, Vec3(0.1f), at(Vec3(0.1f, -1.0f, 0)));
  scene.shape(new xPrimitiveSphere3D(0.5f), ball, at(Vec3(0.0f)));
  scene.start();
  float highest = 0.0f;
  for (int i = 0; i < 600; ++i) {
    scene.step(1.0f / 60.0f, 1);
    if (i > 60) highest = std::max(highest, ball->absPlacement().t.y);
    ASSERT_TRUE(qlnIsFiniteV3(ball->absPlacement().t));
  }
  // Resting on the top face (y = 1.5) within the slop, and still.
  EXPECT_NEAR(ball->absPlacement().t.y, 1.0f, 0.04f);
  EXPECT_LT(qlnLenV3(ball->velocity()), 0.05f);
  EXPECT_NEAR(ball->absPlacement().t.x, 0.1f, 0.05f);
  EXPECT_EQ(scene.sdk.physicsContext()->contactConstraintCount(), 0);
  EXPECT_GE(scene.sdk.physicsContext()->tempContacts().size(), 1);
}

TEST(World3D, OverlappingSpheresResolveAndKeepMomentum) {
  // Once in whole steps, once split into substeps.
  for (bool substeps : {false, true}) {
    xConfigurator3D::Instance()->substepping = substeps;
    Scene3D scene;
    xBody3D* a = scene.body(1.0f, Vec3(0.1f), at(Vec3(0, 0, 0)), false);
    xBody3D* b = scene.body(1.0f, Vec3(0.1f), at(Vec3(0.6f, 0.2f, 0)), false);
    scene.shape(new xPrimitiveSphere3D(0.5f), a, at(Vec3(0.0f)));
    scene.shape(new xPrimitiveSphere3D(0.5f), b, at(Vec3(0.0f)));
    scene.start();
    scene.step(1.0f / 60.0f, 1);
    EXPECT_EQ(xConfigurator3D::Instance()->lastSubstepCount, substeps ? 2 : 1);
    scene.step(1.0f / 60.0f, 239);
    const float d = qlnLenV3(b->absPlacement().t - a->absPlacement().t);
    EXPECT_GT(d, 1.0f - 0.03f);
    const Vec3 p = a->velocity() + b->velocity();
    EXPECT_LT(qlnLenV3(p), 1e-3f);
    // They moved apart along their centre line, the one at larger x to +x.
    EXPECT_GT(b->absPlacement().t.x, 0.6f);
    EXPECT_LT(a->absPlacement().t.x, 0.0f);
    EXPECT_EQ(scene.sdk.physicsContext()->groups(), 2);  // apart: two islands
  }
  xConfigurator3D::Instance()->substepping = false;
}

TEST(World3D, FrameStepAndPause) {
  EXPECT_EQ(qlnStepFromMilliseconds3D(0), 0.01f);
  EXPECT_EQ(qlnStepFromMilliseconds3D(-5), 0.01f);
  EXPECT_FLOAT_EQ(qlnStepFromMilliseconds3D(16), 1.6f);
  EXPECT_FLOAT_EQ(qlnStepFromMilliseconds3D(100), 10.0f);  // no clamp, no time scale
  ASSERT_EQ(g_ptrSDK3D, nullptr);
  EXPECT_FALSE(qlnPreStep3D(16));
  {
    Scene3D scene;
    EXPECT_TRUE(qlnPreStep3D(16));
    EXPECT_EQ(scene.sdk.currentTick(), 1);
    EXPECT_FLOAT_EQ(scene.sdk.timeStep(), 1.6f);
    EXPECT_FLOAT_EQ(scene.sdk.timeNow(), 1.6f);
    scene.sdk.setPaused(true);
    EXPECT_TRUE(qlnPreStep3D(16));
    EXPECT_EQ(scene.sdk.currentTick(), 1);
    EXPECT_FLOAT_EQ(scene.sdk.timeNow(), 1.6f);
    scene.sdk.setPaused(false);
    // A step that is not a positive number leaves the world and its clock alone.
    scene.sdk.updateF(0.0f);
    scene.sdk.updateF(std::nanf(""));
    EXPECT_EQ(scene.sdk.currentTick(), 1);
  }
  EXPECT_EQ(g_ptrSDK3D, nullptr);
  EXPECT_FALSE(qlnPreStep3D(16));
}

TEST(World3D, StaticShapesAreNeverPairedAndOwnersShareTheNormal) {
  Scene3D scene;
  RecordingOwner ownerA, ownerB;
  xShape3D* s1 = scene.shape(new xPrimitiveSphere3D(1.0f), nullptr, at(Vec3(0, 0, 0)));
  xShape3D* s2 = scene.shape(new xPrimitiveSphere3D(1.0f), nullptr, at(Vec3(1, 0, 0)));
  s1->setOwner(&ownerA);
  s2->setOwner(&ownerB);
  s1->setCollisionCategory(category3D("default"));
  s2->setCollisionCategory(category3D("default"));
  scene.step(0.01f, 1);
  EXPECT_EQ(ownerA.collisions + ownerB.collisions, 0);

  // Now a body: both owners hear of the contact with the same normal.
  xBody3D* b = scene.body(1.0f, Vec3(0.4f), at(Vec3(-1.5f, 0, 0)), false);
  xShape3D* s3 = scene.shape(new xPrimitiveSphere3D(1.0f), b, at(Vec3(0.0f)));
  RecordingOwner ownerC;
  s3->setOwner(&ownerC);
  s3->setCollisionCategory(category3D("default"));
  scene.start();
  scene.step(0.01f, 1);
  EXPECT_EQ(ownerA.collisions, 1);
  EXPECT_EQ(ownerC.collisions, 1);
  EXPECT_EQ(ownerA.lastNormal, ownerC.lastNormal);
  EXPECT_EQ(ownerA.lastFirst, ownerC.lastFirst);
  // The stored contact belongs to the body, its normal turned to point away from it.
  ASSERT_EQ(scene.sdk.physicsContext()->tempContacts().size(), 1);
  const xTempContact3D& t = scene.sdk.physicsContext()->tempContacts()[0];
  EXPECT_EQ(t.body0, b);
  EXPECT_EQ(t.body1, nullptr);
  EXPECT_GT(t.normal.x, 0.9f);
  EXPECT_FALSE(t.flag);
}

TEST(World3D, RefusalsIgnoredAndLetThroughPairsStoreNothing) {
  Scene3D scene;
  xCategoryDispatcher* d = xCollisionContext3D::categoryDispatcher();
  RecordingOwner owner, other;
  xBody3D* b = scene.body(1.0f, Vec3(0.4f), at(Vec3(0, 0, 0)), false);
  xShape3D* moving = scene.shape(new xPrimitiveSphere3D(1.0f), b, at(Vec3(0.0f)));
  xShape3D* wall = scene.shape(new xPrimitiveBox3D(Vec3(1, 4, 4)), nullptr, at(Vec3(1.4f, 0, 0)));
  moving->setOwner(&owner);
  wall->setOwner(&other);
  moving->setCollisionCategory(category3D("default"));
  wall->setCollisionCategory(category3D("default"));
  scene.start();
  owner.answer = false;  // the first shape's owner refuses; the other is still told
  scene.step(0.01f, 1);
  EXPECT_EQ(scene.sdk.physicsContext()->tempContacts().size(), 0);
  EXPECT_EQ(other.collisions, 1);
  owner.answer = true;
  wall->setCollisionCategory(category3D("item"));  // item toward default: told and let through
  scene.step(0.01f, 1);
  EXPECT_EQ(scene.sdk.physicsContext()->tempContacts().size(), 0);
  wall->setCollisionCategory(category3D("ignoreall"));
  const int before = owner.collisions;
  scene.step(0.01f, 1);
  EXPECT_EQ(owner.collisions, before);
  wall->setCollisionCategory(category3D("default"));
  scene.step(0.01f, 1);
  EXPECT_EQ(scene.sdk.physicsContext()->tempContacts().size(), 1);
  // The game's categories stay in the 2D registry; the 3D world has its own built-ins.
  EXPECT_NE(d, xCategoryDispatcher::Instance());
  EXPECT_EQ(d->findCategoryByName("default")->categoryFlags(), 2ul);
}

TEST(World3D, StepWithoutTheThirdSolverAssertsAndCleansUp) {
  Scene3D scene;
  xBody3D* b = scene.body(1.0f, Vec3(0.4f), at(Vec3(0, 0, 0)));
  scene.shape(new xPrimitiveSphere3D(1.0f), b, at(Vec3(0.0f)));
  scene.shape(new xPrimitiveBox3D(Vec3(4, 1, 4)), nullptr, at(Vec3(0, 1.4f, 0)));
  scene.start();
  xArray<xSolverLCP3D*>& solvers = scene.sdk.physicsContext()->solvers();
  xSolverLCP3D* third = solvers[2];
  solvers.resize(2);
  const Vec3 before = b->absPlacement().t;
  {
    ExpectAsserts expect;
    scene.step(0.01f, 1);
    EXPECT_GT(expect.reported(), 0u);
  }
  EXPECT_EQ(b->absPlacement().t, before);  // nothing solved
  EXPECT_EQ(scene.sdk.physicsContext()->groups(), 0);
  EXPECT_EQ(scene.sdk.physicsContext()->contactConstraintCount(), 0);
  EXPECT_EQ(b->getFirstJoint(), nullptr);
  solvers.append(third);
}

TEST(World3D, AwakeBodiesWakeTheirPartnersAndSleepersJoinTheIsland) {
  Scene3D scene;
  xBody3D* a = scene.body(1.0f, Vec3(0.4f), at(Vec3(0, 0, 0)), false);
  xBody3D* b = scene.body(1.0f, Vec3(0.4f), at(Vec3(1.5f, 0, 0)), false);
  scene.shape(new xPrimitiveSphere3D(1.0f), a, at(Vec3(0.0f)));
  scene.shape(new xPrimitiveSphere3D(1.0f), b, at(Vec3(0.0f)));
  a->initialize();  // b is never woken by hand
  EXPECT_EQ(scene.sdk.physicsContext()->activeBodiesCount(), 1);
  scene.step(0.01f, 1);
  EXPECT_NE(b->flags & kFlag3DActive, 0u);
  EXPECT_EQ(scene.sdk.physicsContext()->groups(), 1);
  EXPECT_EQ(a->flags & kFlag3DGroupActivated, 0u);
}

namespace {
// Takes its own shape out of the world from inside the notification.
struct LeavingOwner : xEntity3D {
  bool notifyCollision(xShape3D*, xShape3D*, const Vec3&, float, const Vec3&) override {
    if (own && context) context->removeShape(own);
    ++calls;
    return false;
  }
  xShape3D* own = nullptr;
  xCollisionContext3D* context = nullptr;
  int calls = 0;
};
}  // namespace

TEST(World3D, BoxAgainstSphereRunsSphereFirstAndRemovalDuringGenerationIsSafe) {
  Scene3D scene;
  RecordingOwner boxOwner;
  xShape3D* crate = scene.shape(new xPrimitiveBox3D(Vec3(2, 2, 2)), nullptr, at(Vec3(0, 0, 0)));
  crate->setOwner(&boxOwner);
  crate->setCollisionCategory(category3D("default"));
  LeavingOwner leaving;
  xBody3D* b = scene.body(1.0f, Vec3(0.4f), at(Vec3(0, 1.4f, 0)), false);
  xShape3D* ball = scene.shape(new xPrimitiveSphere3D(0.5f), b, at(Vec3(0.0f)));
  ball->setOwner(&leaving);
  ball->setCollisionCategory(category3D("default"));
  leaving.own = ball;
  leaving.context = scene.sdk.collisionContext();
  scene.start();
  scene.step(0.01f, 1);
  EXPECT_EQ(boxOwner.lastFirst, ball);  // (sphere, box): the table holds 0,1 only
  EXPECT_EQ(boxOwner.lastSecond, crate);
  EXPECT_EQ(leaving.calls, 1);
  EXPECT_FALSE(scene.sdk.collisionContext()->isInActive(ball));
  EXPECT_EQ(scene.sdk.collisionContext()->shapesCount(), 1);
  scene.step(0.01f, 1);
  EXPECT_EQ(leaving.calls, 1);
  scene.sdk.collisionContext()->addShape(ball);  // back, so the scene can tidy up as usual
}

namespace {

// A pile of spheres and boxes dropped on a floor, stepped; the bits of every body's placement
// and velocities in creation order. Clutter, when given, is stirred between the bodies.
std::vector<uint32_t> pileBits(testenv::HeapClutter* clutter) {
  Scene3D scene;
  scene.shape(new xPrimitiveBox3D(Vec3(8, 1, 8)), nullptr, at(Vec3(0, 1, 0)));
  std::vector<xBody3D*> bodies;
  for (int i = 0; i < 27; ++i) {
    const Vec3 p(-1.0f + float(i % 3) + 0.05f * float(i % 2), -0.6f - 1.1f * float(i / 9), -1.0f + float(i / 3 % 3));
    xBody3D* b = scene.body(1.0f, Vec3(0.2f), at(p));
    if (i % 2)
      scene.shape(new xPrimitiveSphere3D(0.45f), b, at(Vec3(0.0f)));
    else
      scene.shape(new xPrimitiveBox3D(Vec3(0.8f, 0.8f, 0.8f)), b, at(Vec3(0.0f)));
    if (clutter) clutter->stir();
    bodies.push_back(b);
  }
  scene.start();
  scene.step(1.0f / 60.0f, 180);
  std::vector<uint32_t> bits;
  for (xBody3D* b : bodies) {
    const Placement3D& p = b->absPlacement();
    for (float f : {p.qx, p.qy, p.qz, p.qw, p.t.x, p.t.y, p.t.z, b->velocity().x, b->velocity().y,
                    b->velocity().z, b->angularVelocity().x, b->angularVelocity().y, b->angularVelocity().z}) {
      uint32_t u;
      std::memcpy(&u, &f, sizeof u);
      bits.push_back(u);
    }
  }
  return bits;
}

}  // namespace

TEST(World3D, TheSamePileSteppedTwiceEndsBitIdentical) {
  const std::vector<uint32_t> first = pileBits(nullptr);
  testenv::HeapClutter clutter;
  const std::vector<uint32_t> second = pileBits(&clutter);
  ASSERT_EQ(first.size(), second.size());
  int differing = 0;
  for (size_t i = 0; i < first.size(); ++i)
    if (first[i] != second[i]) ++differing;
  EXPECT_EQ(differing, 0) << "of " << first.size() << " values";
}
