#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <random>
#include <set>
#include <vector>

#include "AssertCatcher.h"
#include "Collision/Shapes/xPrimitiveShape.h"
#include "CollisionContext/Categories/CategoryDispatcher.h"
#include "CollisionContext/ClassificationSpace/xQuadTree.h"

using namespace QuillonPHX2D;

namespace {

std::unique_ptr<xPrimitiveShape> boxShape(float w, float h, float x, float y, float angle = 0.0f) {
  std::unique_ptr<xPrimitiveShape> s(new xPrimitiveShape());
  s->setEnvelope(new xPrimitiveBox(w, h));
  s->setAbsPlacement(Vec3(x, y, angle));
  return s;
}

Box2 scaled(const Box2 &b) {
  return Box2(b.minX * xQuadTree::kScale, b.minY * xQuadTree::kScale, b.maxX * xQuadTree::kScale,
              b.maxY * xQuadTree::kScale);
}

bool overlaps(const Box2 &a, const Box2 &b) {
  return a.maxX >= b.minX && a.maxY >= b.minY && a.minX <= b.maxX && a.minY <= b.maxY;
}

int levelOf(xShape *s) {
  int r[4], l;
  s->getCSPos(r, l);
  return l;
}

}  // namespace

TEST(QuadTree, LevelsRangesAndClamping) {
  xQuadTree tree;
  EXPECT_EQ(tree.depth(), 14);
  EXPECT_EQ(tree.side(), 16384.0f);
  EXPECT_EQ(tree.bounds(), Box2(-8192, -8192, 8192, 8192));

  // The widest box is clamped to +-8192 and scaled by 0.04: 655 of the root's 16384 units,
  // which is level 4 (cells 7 and 8 of 16 across the middle).
  int r[4], level;
  ASSERT_TRUE(tree.ObtainQDTCSPos(Box2(-1e6f, -10, 1e6f, 10), r, level));
  EXPECT_EQ(level, 4);
  EXPECT_EQ(r[0], 7);
  EXPECT_EQ(r[2], 8);
  // A tiny box goes no deeper than the depth.
  ASSERT_TRUE(tree.ObtainQDTCSPos(Box2(0, 0, 1e-3f, 1e-3f), r, level));
  EXPECT_EQ(level, 14);
  EXPECT_EQ(r[0], r[2]);
  // Far away coordinates land on the border cells of the clamped square.
  int far[4], farLevel;
  ASSERT_TRUE(tree.ObtainQDTCSPos(Box2(1e7f, 1e7f, 1e7f + 1, 1e7f + 1), far, farLevel));
  int edge[4], edgeLevel;
  ASSERT_TRUE(tree.ObtainQDTCSPos(Box2(8192, 8192, 8193, 8193), edge, edgeLevel));
  EXPECT_EQ(far[2], edge[2]);
  EXPECT_EQ(far[3], edge[3]);

  int dx, dy;
  xClassificationSpace::getDirectionForChildCells(2, dx, dy);
  EXPECT_EQ(dx, -1);
  EXPECT_EQ(dy, 1);

  // A segment (unbounded box) is filed in the four middle cells of that level.
  xQuadTree whole;
  auto huge = boxShape(1e9f, 1e9f, 0, 0);
  huge->setEnvelope(new xPrimitiveLineSeg(Vec2(0, 0), Vec2(1, 1)));  // unbounded box
  whole.insertToCS(huge.get());
  EXPECT_EQ(levelOf(huge.get()), 4);
  EXPECT_EQ(whole.linksInUse(), 4);
  whole.removeFromCS(huge.get());
  EXPECT_EQ(whole.cellsInUse(), 1);
  EXPECT_EQ(levelOf(huge.get()), -1);
}

TEST(QuadTree, NonFiniteBoxesAreRefused) {
  AssertCatcher catcher;
  xQuadTree tree;
  int r[4], level;
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  EXPECT_FALSE(tree.ObtainQDTCSPos(Box2(nan, 0, 1, 1), r, level));
  EXPECT_EQ(level, -1);
  EXPECT_FALSE(tree.ObtainQDTCSPos(Box2(0, 0, inf, 1), r, level));

  auto s = boxShape(1, 1, nan, 0);
  tree.insertToCS(s.get());
  EXPECT_EQ(levelOf(s.get()), -1);
  EXPECT_EQ(tree.linksInUse(), 0);
  // Moving to a finite place files it; back to NaN takes it out again.
  s->setAbsPlacement(Vec3(5, 5, 0));
  tree.moveInsideCS(s.get());
  EXPECT_GT(tree.linksInUse(), 0);
  s->setAbsPlacement(Vec3(inf, 5, 0));
  tree.moveInsideCS(s.get());
  EXPECT_EQ(tree.linksInUse(), 0);
  EXPECT_EQ(tree.cellsInUse(), 1);
  tree.removeFromCS(s.get());
  EXPECT_GE(catcher.reports(), 2);
}

TEST(QuadTree, QueriesMatchBruteForceThroughMovesAndRemovals) {
  std::mt19937 rng(20261208);
  std::uniform_real_distribution<float> pos(-7000.0f, 7000.0f);
  std::uniform_real_distribution<float> clustered(-300.0f, 300.0f);
  std::uniform_real_distribution<float> size(0.05f, 1.0f);
  std::uniform_real_distribution<float> angle(-3.2f, 3.2f);
  std::uniform_real_distribution<float> unit(0.0f, 1.0f);

  xQuadTree tree;
  std::vector<std::unique_ptr<xPrimitiveShape>> shapes;
  std::vector<bool> filed;
  auto randomPlace = [&](xPrimitiveShape *s) {
    // Mostly a dense cluster so boxes really overlap, some spread far out, sizes over many levels.
    const bool dense = unit(rng) < 0.8f;
    const float scale = unit(rng) < 0.1f ? 2000.0f : (unit(rng) < 0.5f ? 60.0f : 8.0f);
    static_cast<xPrimitiveBox *>(s->getEnvelope())->setSize(Vec2(size(rng) * scale, size(rng) * scale));
    s->setAbsPlacement(Vec3(dense ? clustered(rng) : pos(rng), dense ? clustered(rng) : pos(rng), angle(rng)));
  };
  for (int i = 0; i < 3000; ++i) {
    shapes.push_back(boxShape(1, 1, 0, 0));
    randomPlace(shapes.back().get());
    tree.insertToCS(shapes.back().get());
    filed.push_back(true);
  }

  auto checkQueries = [&](int queries) {
    for (int q = 0; q < queries; ++q) {
      xPrimitiveShape *query = shapes[rng() % shapes.size()].get();
      const Box2 qb = scaled(query->getAbsBoundingBox());
      std::set<xShape *> expected;
      for (size_t i = 0; i < shapes.size(); ++i)
        if (filed[i] && overlaps(scaled(shapes[i]->getAbsBoundingBox()), qb)) expected.insert(shapes[i].get());

      xArray<xShape *> precise;
      tree.getClosest(precise, query, true);
      std::set<xShape *> got;
      for (int i = 0; i < precise.size(); ++i) {
        EXPECT_TRUE(got.insert(precise[i]).second) << "a shape was returned twice";
        EXPECT_FALSE(precise[i]->isQueryMarked());
      }
      ASSERT_EQ(got, expected);

      xArray<xShape *> loose;
      tree.getClosest(loose, query, false);
      std::set<xShape *> looseSet;
      for (int i = 0; i < loose.size(); ++i) EXPECT_TRUE(looseSet.insert(loose[i]).second);
      EXPECT_TRUE(std::includes(looseSet.begin(), looseSet.end(), expected.begin(), expected.end()));
    }
  };

  checkQueries(300);
  for (int round = 0; round < 4; ++round) {
    for (size_t i = 0; i < shapes.size(); ++i) {
      const float u = unit(rng);
      if (u < 0.3f && filed[i]) {
        // Small moves keep the level mostly; big ones change it.
        xPrimitiveShape *s = shapes[i].get();
        if (unit(rng) < 0.7f) {
          const Vec3 p = s->absPlacement();
          s->setAbsPlacement(Vec3(p.x + clustered(rng) * 0.01f, p.y + clustered(rng) * 0.01f, p.z + 0.1f));
        } else {
          randomPlace(s);
        }
        tree.moveInsideCS(s);
      } else if (u < 0.35f) {
        if (filed[i]) tree.removeFromCS(shapes[i].get()); else tree.insertToCS(shapes[i].get());
        filed[i] = !filed[i];
      }
    }
    checkQueries(200);
  }

  for (size_t i = 0; i < shapes.size(); ++i)
    if (filed[i]) tree.removeFromCS(shapes[i].get());
  EXPECT_EQ(tree.linksInUse(), 0);
  EXPECT_EQ(tree.cellsInUse(), 1);  // only the root is left
}

TEST(QuadTree, LooseQueriesReturnEveryShapeOfTheCellsTheyMeet) {
  // A loose query visits every cell (of any level) whose square touches the query box, the box
  // first clamped onto the root; it returns each shape filed in one of them, once.
  std::mt19937 rng(77);
  std::uniform_real_distribution<float> near(-2000.0f, 2000.0f);
  std::uniform_real_distribution<float> far(-400000.0f, 400000.0f);
  std::uniform_real_distribution<float> unit(0.0f, 1.0f);
  xQuadTree tree;
  std::vector<std::unique_ptr<xPrimitiveShape>> shapes;
  for (int i = 0; i < 1500; ++i) {
    const float r = unit(rng);
    const float side = r < 0.05f ? 20000.0f * unit(rng) + 1.0f : (r < 0.5f ? 6.0f : 60.0f * unit(rng) + 0.5f);
    const bool outside = unit(rng) < 0.05f;
    // Some exactly on the edges of deep cells (multiples of 25 world units scale to whole cells).
    const bool onEdge = unit(rng) < 0.2f;
    float x = outside ? far(rng) : near(rng), y = outside ? far(rng) : near(rng);
    if (onEdge) {
      x = std::round(x / 25.0f) * 25.0f - side * 0.5f;
      y = std::round(y / 25.0f) * 25.0f + side * 0.5f;
    }
    shapes.push_back(boxShape(side, side, x, y, onEdge ? 0.0f : unit(rng)));
    tree.insertToCS(shapes.back().get());
  }
  const Box2 root = tree.bounds();
  auto clampTo = [](float v, float lo, float hi) { return v < lo ? lo : (v > hi ? hi : v); };
  for (size_t q = 0; q < shapes.size(); q += 3) {
    xShape *query = shapes[q].get();
    const Box2 raw = scaled(query->getAbsBoundingBox());
    const Box2 qb(clampTo(raw.minX, root.minX, root.maxX), clampTo(raw.minY, root.minY, root.maxY),
                  clampTo(raw.maxX, root.minX, root.maxX), clampTo(raw.maxY, root.minY, root.maxY));
    std::set<xShape *> expected;
    for (auto &s : shapes) {
      int r[4], level;
      s->getCSPos(r, level);
      const double cell = double(root.maxX - root.minX) / double(1 << level);
      bool met = false;
      for (int y = r[1]; y <= r[3] && !met; ++y)
        for (int x = r[0]; x <= r[2] && !met; ++x) {
          const Box2 c(float(root.minX + cell * x), float(root.minY + cell * y), float(root.minX + cell * (x + 1)),
                       float(root.minY + cell * (y + 1)));
          met = overlaps(c, qb);
        }
      if (met) expected.insert(s.get());
    }
    xArray<xShape *> loose;
    tree.getClosest(loose, query, false);
    std::set<xShape *> got;
    for (int i = 0; i < loose.size(); ++i) EXPECT_TRUE(got.insert(loose[i]).second) << "a shape was returned twice";
    ASSERT_EQ(got, expected) << "query " << q;
  }
  for (auto &s : shapes) tree.removeFromCS(s.get());
}

TEST(QuadTree, PruningStopsAtTheFirstCellStillInUse) {
  xQuadTree tree;
  auto a = boxShape(0.01f, 0.01f, 1, 1);
  auto b = boxShape(0.01f, 0.01f, 1.2f, 1.2f);
  auto big = boxShape(500, 500, 0, 0);
  tree.insertToCS(a.get());
  const int afterA = tree.cellsInUse();
  EXPECT_EQ(afterA, 1 + levelOf(a.get()));  // one chain of cells down to its level
  tree.insertToCS(b.get());
  tree.insertToCS(big.get());
  tree.removeFromCS(a.get());
  xArray<xShape *> found;
  tree.getClosest(found, b.get(), true);
  EXPECT_TRUE(found.contains(b.get()));
  EXPECT_FALSE(found.contains(a.get()));
  EXPECT_TRUE(found.contains(big.get()));
  tree.removeFromCS(b.get());
  tree.removeFromCS(big.get());
  EXPECT_EQ(tree.cellsInUse(), 1);
  // The arrays grew by whole blocks and are reused.
  tree.insertToCS(a.get());
  EXPECT_EQ(tree.cellsInUse(), afterA);
  tree.removeFromCS(a.get());
}

namespace {

// Lets the named categories meet anything, and no other.
class MeetOnly : public xCategoryFilter {
 public:
  explicit MeetOnly(std::set<const xCollisionCategory *> meeting) : meeting_(std::move(meeting)) {}
  bool canMeet(const xCollisionCategory *, const xCollisionCategory *other) override {
    return meeting_.count(other) != 0;
  }

 private:
  std::set<const xCollisionCategory *> meeting_;
};

std::vector<xShape *> listed(const xArray<xShape *> &a) {
  std::vector<xShape *> v;
  for (int i = 0; i < a.size(); ++i) v.push_back(a[i]);
  return v;
}

}  // namespace

// A cell files its shapes by category, but a query still meets them as one list that each
// filing entered at its head: newest filing first, whatever the categories, with the
// categories a filter passes over simply left out.
TEST(QuadTree, ShapesOfEveryCategoryComeNewestFilingFirst) {
  xCollisionCategory red("red", 2), blue("blue", 2), green("green", 2);
  xCollisionCategory *cycle[] = {&red, &blue, &green, &red, &red, &blue, &green, &blue};
  xQuadTree tree;
  std::vector<std::unique_ptr<xPrimitiveShape>> shapes;
  std::vector<xShape *> filing;  // oldest first
  for (xCollisionCategory *c : cycle) {
    shapes.push_back(boxShape(2, 2, 10, 10));
    shapes.back()->setCollisionCategory(c);
    tree.insertToCS(shapes.back().get());
    filing.push_back(shapes.back().get());
  }
  auto probe = boxShape(2, 2, 10, 10);
  probe->setCollisionCategory(&red);
  MeetOnly redOrGreen({&red, &green});
  auto check = [&](const char *when) {
    const std::vector<xShape *> all(filing.rbegin(), filing.rend());
    std::vector<xShape *> meeting;
    for (xShape *s : all)
      if (s->getCollisionCategory() != &blue) meeting.push_back(s);
    xArray<xShape *> loose, filtered;
    tree.getClosest(loose, probe.get(), false);
    tree.getClosest(filtered, probe.get(), false, redOrGreen);
    EXPECT_EQ(listed(loose), all) << when;
    EXPECT_EQ(listed(filtered), meeting) << when;
  };
  check("filed");

  // Moved away and back: filed anew, so the newest.
  xShape *moved = shapes[2].get();
  moved->setAbsPlacement(Vec3(4000, 4000, 0));
  tree.moveInsideCS(moved);
  moved->setAbsPlacement(Vec3(10, 10, 0));
  tree.moveInsideCS(moved);
  filing.erase(std::find(filing.begin(), filing.end(), moved));
  filing.push_back(moved);
  check("moved back");

  tree.removeFromCS(shapes[5].get());
  filing.erase(std::find(filing.begin(), filing.end(), shapes[5].get()));
  check("one removed");

  // A new category keeps the shape's place among the others.
  xShape *changed = shapes[1].get();
  changed->setCollisionCategory(&green);
  tree.recategorize(changed, &blue);
  check("blue turned green");

  for (xShape *s : filing) tree.removeFromCS(s);
  EXPECT_EQ(tree.linksInUse(), 0);
  EXPECT_EQ(tree.groupsInUse(), 0);
  EXPECT_EQ(tree.cellsInUse(), 1);
}
