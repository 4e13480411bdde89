#include <cmath>

#include "AssertCatcher.h"
#include "Dynamics/Constraints/xConstraintSet.h"
#include "WorldFixture.h"

using namespace QuillonPHX2D;

namespace {
// The smallest constraint set: only the chain links matter here.
class Link : public xConstraintSet {
 public:
  int getNUE() override { return 0; }
};
}  // namespace

using Bodies = WorldTest;

TEST_F(Bodies, DefaultsAndDescriptions) {
  xBody plain;
  EXPECT_TRUE(plain.isGravity());
  EXPECT_EQ(plain.getDOF(), 0);
  EXPECT_EQ(plain.getVelocity(), Vec2(0, 0));
  EXPECT_EQ(plain.getSolverSetting(), 4);
  xBody heavy(5.0f);
  EXPECT_EQ(heavy.getMass(), 5.0f);
  EXPECT_EQ(heavy.getSolverSetting(), 10);
  heavy.setMass(0.0f);
  EXPECT_TRUE(std::isinf(heavy.getInvMass()));

  xBody2DOF slider;
  EXPECT_FALSE(slider.canRotate());
  EXPECT_EQ(slider.getDOF(), 2);

  xBody3DOFDesc d;
  d.placement = Vec3(5, 5, 0);
  d.mass = 2.0f;
  d.inertia = 3.0f;
  d.velocity = Vec2(1, -1);
  d.angVelocity = 0.5f;
  d.solverSetting = 7;
  xBody *b = sdk->createBody(d);
  EXPECT_EQ(b->getDOF(), 3);
  EXPECT_EQ(b->absPlacement(), Vec3(0, 0, 0));  // the description's placement is not applied
  EXPECT_EQ(b->getMass(), 2.0f);
  EXPECT_EQ(b->getInvI(), 1.0f / 3.0f);
  EXPECT_EQ(b->getVelocity(), Vec2(1, -1));
  EXPECT_EQ(b->getAngVelocity(), 0.5f);
  EXPECT_EQ(b->getSolverSetting(), 7);
  EXPECT_EQ(b->getInvMassMtx(), Mtx22(0.5f, 0, 0, 0.5f));
  b->addForce(Vec2(1, 2));
  b->addForce(Vec2(1, 2));
  EXPECT_EQ(b->getForce(), Vec2(2, 4));
  delete b;
  xBody2DOFDesc d2;
  xBody *b2 = d2.createBody();
  EXPECT_EQ(b2->getDOF(), 2);
  delete b2;
}

TEST_F(Bodies, InitialiseActivateDeactivateAndDestroy) {
  xBody *b = makeBody(Vec3(1, 2, 0));
  xPrimitiveShape *s = makeBoxShape(1, 1);
  s->setAscendant(b);
  s->setBody(b);
  s->initialize();
  EXPECT_FALSE(s->isActive());

  b->initialize();
  b->initialize();
  EXPECT_EQ(pc()->bodiesCount(), 1);
  EXPECT_EQ(pc()->activeBodiesCount(), 1);
  EXPECT_TRUE(b->isActive());
  EXPECT_TRUE(s->isActive());  // the body wakes its shapes
  EXPECT_TRUE(cc()->isInActive(s));

  b->deactivate();
  EXPECT_FALSE(b->isActive());
  EXPECT_FALSE(b->isGroupActivated());
  EXPECT_FALSE(s->isActive());
  EXPECT_EQ(pc()->activeBodiesCount(), 0);
  b->deactivate();  // nothing more to do
  EXPECT_EQ(pc()->bodiesCount(), 1);

  b->activate();
  EXPECT_EQ(pc()->activeBodiesCount(), 1);
  delete b;
  EXPECT_EQ(pc()->bodiesCount(), 0);
  EXPECT_EQ(pc()->activeBodiesCount(), 0);
  // The shape survives as a root and no longer points at the freed body.
  EXPECT_EQ(s->getMainBody(), nullptr);
  EXPECT_EQ(s->getAscendant(), nullptr);
  EXPECT_FALSE(s->isActive());
  delete s;
  EXPECT_EQ(cc()->shapesCount(), 0);
}

TEST_F(Bodies, ActivationSpreadsAlongChains) {
  xBody *a = makeBody(Vec3(0, 0, 0));
  xBody *b = makeBody(Vec3(1, 0, 0));
  xBody *c = makeBody(Vec3(2, 0, 0));
  xBody *lone = makeBody(Vec3(9, 0, 0));
  Link ab, bc;
  ab.attach(a, b);
  bc.attach(b, c);
  a->initialize();
  EXPECT_TRUE(a->isActive());
  EXPECT_TRUE(b->isActive());
  EXPECT_TRUE(c->isActive());
  EXPECT_FALSE(lone->isActive());
  EXPECT_EQ(pc()->activeBodiesCount(), 3);
  EXPECT_EQ(pc()->bodiesCount(), 1);  // only a was initialised

  // GroupActivated stops activation, even for neighbours.
  b->deactivate();
  c->deactivate();
  EXPECT_TRUE(a->isGroupActivated());
  a->activate();
  EXPECT_FALSE(b->isActive());
  a->clearGroupActivated();
  a->activate();
  EXPECT_TRUE(b->isActive());
  EXPECT_TRUE(c->isActive());
  int listed = 0;
  for (int i = 0; i < pc()->activeBodiesCount(); ++i) listed += pc()->activeBodies()[i] == b;
  EXPECT_EQ(listed, 1);
  delete lone;
  delete c;
  delete b;
  delete a;
}

TEST_F(Bodies, DestroyedBodyLeavesNoSetPointingAtIt) {
  xBody *a = makeBody(Vec3(0, 0, 0));
  xBody *b = makeBody(Vec3(1, 0, 0));
  Link *l1 = new Link, *l2 = new Link, *toWorld = new Link;
  l1->attach(a, b);
  l2->attach(b, a);
  toWorld->attach(a, nullptr);
  delete a;
  EXPECT_EQ(l1->bodySrc(), nullptr);
  EXPECT_EQ(l2->bodyDst(), nullptr);
  EXPECT_EQ(toWorld->bodySrc(), nullptr);
  EXPECT_EQ(b->getFirstJoint(), nullptr);  // released sets leave the partner's chain too
  delete l1;
  delete l2;
  delete toWorld;
  delete b;
}

TEST(BodiesWithoutWorld, InitialiseFailsCleanly) {
  ASSERT_EQ(g_ptrSDK, nullptr);
  AssertCatcher catcher;
  xBody b;
  b.initialize();
  EXPECT_GE(catcher.reports(), 1);
  EXPECT_FALSE(b.isInitialized());
  b.activate();  // no world to list it in: flags only
  EXPECT_TRUE(b.isActive());
  b.deactivate();
  EXPECT_FALSE(b.isActive());
}
