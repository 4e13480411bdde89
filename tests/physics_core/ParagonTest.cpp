#include <gtest/gtest.h>

#include <vector>

#include "AssertCatcher.h"
#include "Foundation/Paragon/xParagon.h"

using namespace QuillonPHX2D;

namespace {
const float kPi = 3.14159265f;

bool near(const Vec3 &a, const Vec3 &b) { return qlnNearV3(a, b, 1e-9f); }

// Records what it is told.
class Probe : public xParagon {
 public:
  explicit Probe(std::vector<Probe *> *deleted = nullptr) : deleted_(deleted) {}
  ~Probe() override {
    if (deleted_) deleted_->push_back(this);
  }
  void notifyMoved(const Vec3 &o, const Vec3 &n) override {
    moves.push_back({o, n});
    xParagon::notifyMoved(o, n);
  }
  void activate() override {
    ++activations;
    xParagon::activate();
  }
  void markActive() { setActive(); }
  std::vector<std::pair<Vec3, Vec3>> moves;
  int activations = 0;

 private:
  std::vector<Probe *> *deleted_;
};
}  // namespace

TEST(Paragon, PlacementCompositionAndReparenting) {
  Probe parent, child, other;
  EXPECT_EQ(parent.absPlacement(), Vec3(0, 0, 0));
  EXPECT_EQ(parent.flags(), 0u);
  parent.setAbsPlacement(Vec3(10, 0, kPi / 2));
  child.setAbsPlacement(Vec3(1, 0, 0));
  child.setAscendant(&parent);
  // The world placement survives the re-parenting.
  EXPECT_TRUE(near(child.absPlacement(), Vec3(1, 0, 0)));
  child.setRelPlacement(Vec3(1, 0, 0));
  EXPECT_TRUE(near(child.absPlacement(), Vec3(10, 1, kPi / 2)));

  other.setAbsPlacement(Vec3(-4, 3, 1));
  child.setAscendant(&other);
  EXPECT_TRUE(near(child.absPlacement(), Vec3(10, 1, kPi / 2)));
  EXPECT_EQ(parent.getFirstDescendant(), nullptr);
  child.setAscendant(nullptr);
  EXPECT_TRUE(near(child.getRelPlacement(), Vec3(10, 1, kPi / 2)));
  EXPECT_EQ(child.getAscendant(), nullptr);

  // Placing through an ascendant: absolute in, absolute out.
  child.setAscendant(&parent);
  child.setAbsPlacement(Vec3(3, 4, 0.5f));
  EXPECT_TRUE(near(child.absPlacement(), Vec3(3, 4, 0.5f)));
  EXPECT_TRUE(near(xParagon::relative(parent.absPlacement(), child.absPlacement()), child.getRelPlacement()));
}

TEST(Paragon, ChildListOrder) {
  Probe p, a, b, c;
  a.setAscendant(&p);
  b.setAscendant(&p);
  c.setAscendant(&p);
  // Each new child goes first.
  EXPECT_EQ(p.getFirstDescendant(), &c);
  EXPECT_EQ(c.getNextDescendant(), &b);
  EXPECT_EQ(p.getLastDescendant(), &a);
  EXPECT_EQ(c.getPreviousDescendant(), nullptr);
  EXPECT_EQ(b.getPreviousDescendant(), &c);
  EXPECT_EQ(a.getPreviousDescendant(), &b);
  EXPECT_EQ(p.getPreviousDescendant(), nullptr);
  b.setAscendant(nullptr);  // unlink from the middle
  EXPECT_EQ(c.getNextDescendant(), &a);
  EXPECT_EQ(a.getPreviousDescendant(), &c);
  EXPECT_EQ(b.getNextDescendant(), nullptr);
}

TEST(Paragon, MovesReachOnlyInitialisedDescendants) {
  Probe root, ready, notReady, belowNotReady;
  ready.setAscendant(&root);
  notReady.setAscendant(&root);
  belowNotReady.setAscendant(&notReady);
  ready.setRelPlacement(Vec3(1, 0, 0));

  root.setRelPlacement(Vec3(5, 0, 0));  // nobody initialised: no notification at all
  EXPECT_TRUE(root.moves.empty());

  root.initialize();
  ready.initialize();
  belowNotReady.initialize();  // initialised, but its parent is not, so it is never told
  root.setRelPlacement(Vec3(5, 2, kPi));
  ASSERT_EQ(root.moves.size(), 1u);
  EXPECT_TRUE(near(root.moves[0].first, Vec3(5, 0, 0)));
  EXPECT_TRUE(near(root.moves[0].second, Vec3(5, 2, kPi)));
  ASSERT_EQ(ready.moves.size(), 1u);
  EXPECT_TRUE(near(ready.moves[0].first, Vec3(6, 0, 0)));
  EXPECT_TRUE(near(ready.moves[0].second, Vec3(4, 2, kPi)));
  EXPECT_TRUE(notReady.moves.empty());
  EXPECT_TRUE(belowNotReady.moves.empty());
}

TEST(Paragon, CyclesAreRefused) {
  AssertCatcher catcher;
  Probe a, b, c;
  b.setAscendant(&a);
  c.setAscendant(&b);
  a.setAscendant(&c);  // would close a loop
  a.setAscendant(&a);
  EXPECT_EQ(catcher.reports(), 2);
  EXPECT_EQ(a.getAscendant(), nullptr);
  EXPECT_EQ(c.getAscendant(), &b);
  EXPECT_TRUE(near(c.absPlacement(), Vec3(0, 0, 0)));
}

TEST(Paragon, AttachingToActiveParentActivates) {
  Probe parent, child;
  parent.markActive();
  child.setAscendant(&parent);
  EXPECT_EQ(child.activations, 1);
}

TEST(Paragon, DestructionKeepsChildrenWhereTheyAre) {
  Probe *parent = new Probe();
  Probe a, b;
  parent->setAbsPlacement(Vec3(10, 0, kPi / 2));
  a.setAscendant(parent);
  b.setAscendant(parent);
  a.setRelPlacement(Vec3(1, 0, 0));
  b.setRelPlacement(Vec3(0, 2, 0.5f));
  const Vec3 wa = a.absPlacement(), wb = b.absPlacement();
  delete parent;
  EXPECT_EQ(a.getAscendant(), nullptr);
  EXPECT_EQ(b.getNextDescendant(), nullptr);
  EXPECT_TRUE(near(a.absPlacement(), wa));
  EXPECT_TRUE(near(b.absPlacement(), wb));
}

TEST(Paragon, DestroyingHierarchies) {
  std::vector<Probe *> deleted;
  Probe *root = new Probe(&deleted);
  Probe *k1 = new Probe(&deleted);
  Probe *k2 = new Probe(&deleted);
  Probe *k3 = new Probe(&deleted);
  Probe *g = new Probe(&deleted);
  k1->setAscendant(root);
  k2->setAscendant(root);
  k3->setAscendant(root);
  g->setAscendant(k2);
  root->destroyHierarchy();
  EXPECT_EQ(deleted.size(), 5u);
  EXPECT_EQ(deleted.back(), root);

  deleted.clear();
  xEntity *owner = reinterpret_cast<xEntity *>(0x10);
  xEntity *stranger = reinterpret_cast<xEntity *>(0x20);
  Probe *r = new Probe(&deleted);
  Probe *mine1 = new Probe(&deleted);
  Probe *mine2 = new Probe(&deleted);
  Probe *theirs = new Probe(&deleted);
  r->setOwner(owner);
  mine1->setOwner(owner);
  mine2->setOwner(owner);
  theirs->setOwner(stranger);
  // Mixed siblings: the owned ones go, reading the next sibling before each deletion.
  mine1->setAscendant(r);
  theirs->setAscendant(r);
  mine2->setAscendant(r);
  r->setAbsPlacement(Vec3(3, 3, 0));
  theirs->setRelPlacement(Vec3(1, 1, 0));
  r->destroyCompleteHierarchy();
  EXPECT_EQ(deleted.size(), 3u);
  EXPECT_EQ(theirs->getAscendant(), nullptr);
  EXPECT_TRUE(near(theirs->absPlacement(), Vec3(4, 4, 0)));
  delete theirs;
}
