// Contact generation: pair selection, category rules, owners' answers and the stored contacts.
#include "WorldFixture.h"

namespace worldtest {
namespace {

class Contacts : public World {
 protected:
  // Two overlapping awake circles with owners, in the given categories.
  void overlappingPair(const char *catA, const char *catB) {
    a = attach(addBody(0, 0), new xPrimitiveCircle(1.0f), catA);
    b = attach(addBody(1.5f, 0), new xPrimitiveCircle(1.0f), catB);
    a->setOwner(&ownerA);
    b->setOwner(&ownerB);
  }
  void generate() {
    contacts().fastClear();
    sdk->collisionContext()->generateContacts();
  }
  xPrimitiveShape *a = nullptr, *b = nullptr;
  RecordingOwner ownerA, ownerB;
};

TEST_F(Contacts, AwakePairIsHandledOncePerStep) {
  overlappingPair("default", "default");
  for (int i = 0; i < 3; ++i) {
    ownerA.calls.clear();
    ownerB.calls.clear();
    generate();
    ASSERT_EQ(contacts().size(), 1);
    ASSERT_EQ(ownerA.calls.size(), 1u);
    ASSERT_EQ(ownerB.calls.size(), 1u);
    // Each owner hears about its own shape first, with the normal pointing away from it.
    EXPECT_EQ(ownerA.calls[0].own, a);
    EXPECT_EQ(ownerB.calls[0].own, b);
    EXPECT_GT(ownerA.calls[0].normal.x, 0.0f);
    EXPECT_LT(ownerB.calls[0].normal.x, 0.0f);
  }
}

TEST_F(Contacts, ShapesOfOneBodyNeverCollide) {
  xBody *body = addBody(0, 0);
  attach(body, new xPrimitiveCircle(1.0f));
  attach(body, new xPrimitiveBox(1.0f, 1.0f));
  generate();
  EXPECT_EQ(contacts().size(), 0);
}

TEST_F(Contacts, IgnoredPairIsNeitherTestedNorTold) {
  overlappingPair("solid_geometry", "solid_geometry");
  generate();
  EXPECT_EQ(contacts().size(), 0);
  EXPECT_TRUE(ownerA.calls.empty() && ownerB.calls.empty());
  EXPECT_FALSE(a->isTested());
}

TEST_F(Contacts, LetGoThroughNotifiesAndStoresNothing) {
  overlappingPair("notifier", "default");
  for (int i = 0; i < 2; ++i) step(0.016f);
  EXPECT_EQ(contacts().size(), 0);
  EXPECT_EQ(ownerA.calls.size(), 2u);  // the notifier hears about it every step
  EXPECT_TRUE(ownerB.calls.empty());   // a solid shape is not told about something passing through it
  // Nothing pushed the bodies apart.
  EXPECT_NEAR(b->getMainBody()->absPlacement().x - a->getMainBody()->absPlacement().x, 1.5f, 1e-3f);
}

TEST_F(Contacts, OwnersRefusingDropTheContact) {
  overlappingPair("default", "default");
  // Whichever shape is visited first, a refusal from either owner stores nothing.
  ownerA.answer = false;
  generate();
  EXPECT_EQ(contacts().size(), 0);
  EXPECT_EQ(ownerB.calls.size(), 1u);  // b's owner is told all the same

  ownerA.answer = true;
  ownerB.answer = false;
  ownerA.calls.clear();
  generate();
  EXPECT_EQ(contacts().size(), 0);

  ownerB.answer = true;
  generate();
  EXPECT_EQ(contacts().size(), 1);
}

TEST_F(Contacts, StaticGeometryGoesSecondWithTheNormalTurnedForTheBody) {
  // Circle (static, no body) against a box body: the collider runs with the circle first, so
  // the stored contact must swap roles and turn the normal around.
  xShape *post = attach(nullptr, new xPrimitiveCircle(1.0f), "default", 0, 0);
  xPrimitiveShape *box = boxBody(1.2f, 0.0f, 1.0f, 1.0f);
  generate();
  ASSERT_EQ(contacts().size(), 1);
  const xTempContact &c = contacts()[0];
  EXPECT_EQ(c.body0, box->getMainBody());
  EXPECT_EQ(c.body1, nullptr);
  EXPECT_NEAR(c.normal.x, -1.0f, 1e-6f);  // from the box towards the post
  EXPECT_NEAR(c.depth, 0.3f, 1e-5f);
  (void)post;
}

TEST_F(Contacts, TwoStaticShapesStoreNothing) {
  xShape *s1 = attach(nullptr, new xPrimitiveCircle(1.0f), "default", 0, 0);
  xShape *s2 = attach(nullptr, new xPrimitiveCircle(1.0f), "default", 1, 0);
  s1->setOwner(&ownerA);
  s2->setOwner(&ownerB);
  EXPECT_FALSE(sdk->collisionContext()->createTempContact(s1, s2, nullptr, nullptr, Vec2(0.5f, 0), 1.0f, Vec2(1, 0)));
  EXPECT_EQ(contacts().size(), 0);
  EXPECT_EQ(ownerA.calls.size(), 1u);
}

TEST_F(Contacts, AcceptedContactWakesASleepingBody) {
  overlappingPair("default", "default");
  b->getMainBody()->deactivate();
  EXPECT_FALSE(b->getMainBody()->isActive());
  generate();
  // The woken shape joins the same pass; when its address is the higher one it meets the
  // pair again, so the pair may count twice in this step.
  EXPECT_GE(contacts().size(), 1);
  EXPECT_LE(contacts().size(), 2);
  EXPECT_TRUE(b->getMainBody()->isActive());
  EXPECT_TRUE(sdk->collisionContext()->isInActive(b));
}

}  // namespace
}  // namespace worldtest
