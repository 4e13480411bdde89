#pragma once
#include "CollisionContext/ClassificationSpace/xClassificationSpace.h"
#include "Foundation/Math/QlnMath.h"

namespace QuillonPHX2D {

// A quadtree cell: four children (-1 = none) and the head of its list of groups.
struct QLN_API xCSCell {
  int child[4] = {-1, -1, -1, -1};
  int firstGroup = -1;

  bool operator==(const xCSCell &o) const {
    return child[0] == o.child[0] && child[1] == o.child[1] && child[2] == o.child[2] && child[3] == o.child[3] &&
           firstGroup == o.firstGroup;
  }
};

// The shapes of one collision category filed in one cell, newest filing first; a cell keeps
// a group only while it holds a link. A query passes over a group whose category cannot meet
// its own without walking it.
struct QLN_API xCSCellGroup {
  const xCollisionCategory *category = nullptr;
  int firstLink = -1;
  int next = -1;

  bool operator==(const xCSCellGroup &o) const {
    return category == o.category && firstLink == o.firstLink && next == o.next;
  }
};

// Files one shape in one cell; shape is null while the link is free. Links of a group are
// chained both ways, and the links of one shape through nextOfShape (the shape holds the
// first), so taking one out costs the same however crowded its cell. `filed` counts filings
// across the tree: a cell's groups merged by it, highest first, give the order of one list
// that every filing entered at its head.
struct QLN_API xCSCellLink {
  xShape *shape = nullptr;
  int next = -1;
  int prev = -1;
  int cell = -1;
  int group = -1;
  int nextOfShape = -1;
  unsigned long long filed = 0;

  bool operator==(const xCSCellLink &o) const {
    return shape == o.shape && next == o.next && prev == o.prev && cell == o.cell && group == o.group &&
           nextOfShape == o.nextOfShape && filed == o.filed;
  }
};

// Pair of cells, part of the exported broad-phase vocabulary.
struct QLN_API xCellPair {
  int first = -1;
  int second = -1;
};

// Quadtree classification space. A shape is filed at one level, in every cell its box
// covers there. Cells and links live in arrays addressed by index (never by pointer, since
// the arrays move when they grow) and are recycled through free stacks.
class QLN_API xQuadTree : public xClassificationSpace {
 public:
  // Cells and links are added this many at a time: a level fills the tree in a few grows.
  static constexpr int kGrowBy = 64;
  // World coordinates (px) are clamped to this before filing: far beyond any level, so only
  // runaway bodies are clamped.
  static constexpr float kBound = 8192.0f;
  // World pixels to tree units. The smallest cell is one unit, 25 px across: small enough that
  // a small shape's query meets few shapes far off, large enough that it is filed in few cells.
  static constexpr float kScale = 0.04f;
  // Levels below the root, and the root's side in tree units: 2^14 smallest cells a side,
  // each one unit across.
  static constexpr int kDepth = 14;
  static constexpr float kSide = 16384.0f;

  xQuadTree();
  ~xQuadTree() override;

  void insertToCS(xShape *shape) override;
  void moveInsideCS(xShape *shape) override;
  void removeFromCS(xShape *shape) override;
  void getClosest(xArray<xShape *> &result, xShape *shape, bool precise) override;
  void getClosest(xArray<xShape *> &result, xShape *shape, bool precise, xCategoryFilter &filter) override;
  void recategorize(xShape *shape, const xCollisionCategory *previous) override;
  xShape *getTouchingShape(xShape *shape);

  // Cell range (x0, y0, x1, y1) and level of a box; false (and nothing filed) for a box that
  // is not finite.
  bool ObtainQDTCSPos(const Box2 &box, int range[4], int &level) const;

  const Box2 &bounds() const { return bounds_; }
  int cellsInUse() const { return cells_.size() - freeCells_.size(); }
  int linksInUse() const { return links_.size() - freeLinks_.size(); }
  int groupsInUse() const { return groups_.size() - freeGroups_.size(); }

  xQuadTree(const xQuadTree &) = delete;
  xQuadTree &operator=(const xQuadTree &) = delete;

 protected:
  void initializeCS(int depth, float side) override;

 private:
  void AddCell(xShape *shape, int x, int y, int level);
  void RemoveCell(xShape *shape, int x, int y, int level);
  // The cell at (x, y) of the level, or -1 where the tree has none.
  int findCell(int x, int y, int level) const;
  void AddCellLink(int cell, xShape *shape);
  // Takes the shape's link out of the cell (its group, and the group when it empties) and
  // returns it still holding the shape and its filing, or -1 when the cell has none.
  int detachLink(int cell, xShape *shape);
  // Puts a detached link into the cell's group of `category`, in its place by filing.
  void attachLink(int cell, int link, const xCollisionCategory *category);
  int SpawnNewCell();
  int takeLink();
  int takeGroup();

  // Which groups a query walks: all of them, or those the filter lets meet its category.
  struct Selection {
    xCategoryFilter *filter = nullptr;
    const xCollisionCategory *category = nullptr;
    // Whether the groups of category c are walked. A query meets the same few categories in
    // cell after cell (in a scene of one category, only that one): the last answer is kept.
    bool takes(const xCollisionCategory *c) const {
      if (!filter) return true;
      if (!asked || c != lastGroup) {
        asked = true;
        lastGroup = c;
        lastAnswer = filter->canMeet(category, c);
      }
      return lastAnswer;
    }
    mutable bool asked = false;
    mutable const xCollisionCategory *lastGroup = nullptr;
    mutable bool lastAnswer = false;
  };
  void query(xArray<xShape *> &result, xShape *shape, bool precise, const Selection &selection);
  void getShapesFromQDT(xArray<xShape *> &result, int cell, const Box2 &cellBox, const Box2 &query, bool precise,
                        const Selection &selection);

  // A query box as cell ranges of the deepest level; the ranges of a coarser level are these
  // shifted right by the difference in levels.
  static constexpr int kMaxQueryDepth = 24;
  struct QueryRanges {
    int depth = 0;
    int x0 = 0, y0 = 0, x1 = -1, y1 = -1;
  };
  bool queryRanges(const Box2 &query, QueryRanges &out) const;
  void getShapesByRanges(xArray<xShape *> &result, const QueryRanges &r, const Box2 &query, bool precise,
                         const Selection &selection);
  void collectLinks(xArray<xShape *> &result, int cell, const Box2 &query, bool precise, const Selection &selection);

  // The single-cell chain of the last ranged query (cells by level, levels holding links as
  // bits), valid while version_ matches: any change of cells or links moves the version on.
  struct ChainCache {
    unsigned version = ~0u;
    int depth = -1;
    int length = 0;
    unsigned linked = 0;
    int x = 0, y = 0;
    int cell[kMaxQueryDepth + 1] = {};
  };
  ChainCache chain_;
  unsigned version_ = 0;
  void fileRange(xShape *shape, const int range[4], int level, const int *skip);
  void unfileRange(xShape *shape, const int range[4], int level, const int *skip);

  xArray<xCSCell> cells_;
  xArray<int> freeCells_;
  xArray<xCSCellLink> links_;
  xArray<int> freeLinks_;
  xArray<xCSCellGroup> groups_;
  xArray<int> freeGroups_;
  unsigned long long filings_ = 0;
  // The heads of the groups one cell's query merges; kept so the query does not allocate.
  xArray<int> merging_;
  Box2 bounds_;
};

}  // namespace QuillonPHX2D
