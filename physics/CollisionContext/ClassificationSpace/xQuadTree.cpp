#include "CollisionContext/ClassificationSpace/xQuadTree.h"

#include <cmath>

#include "Collision/Shapes/xShape.h"
#include "Foundation/QlnAssert.h"

namespace QuillonPHX2D {

namespace {
const int kNoRange[4] = {0, 0, -1, -1};

bool inRange(const int range[4], int x, int y) {
  return x >= range[0] && x <= range[2] && y >= range[1] && y <= range[3];
}

// A free slot of the array, which grows by whole blocks when none is left; -1 when it cannot.
template <typename T>
int takeSlot(xArray<T> &items, xArray<int> &free) {
  if (free.size() == 0) {
    const int base = items.size();
    items.resize(base + xQuadTree::kGrowBy, false);
    if (items.size() != base + xQuadTree::kGrowBy) return -1;
    // Highest first, so the lowest new index is taken first.
    for (int i = xQuadTree::kGrowBy - 1; i >= 0; --i) free.append(base + i);
  }
  return free.pop(false);
}

Box2 scaledBox(const Box2 &b) {
  return Box2(b.minX * xQuadTree::kScale, b.minY * xQuadTree::kScale, b.maxX * xQuadTree::kScale,
              b.maxY * xQuadTree::kScale);
}
}  // namespace

xQuadTree::xQuadTree() {
  initializeCS(kDepth, kSide);
  bounds_ = Box2(-kBound, -kBound, kBound, kBound);
}

xQuadTree::~xQuadTree() {}

void xQuadTree::initializeCS(int depth, float side) {
  depth_ = depth;
  side_ = side;
  cells_.clear();
  freeCells_.clear();
  links_.clear();
  freeLinks_.clear();
  groups_.clear();
  freeGroups_.clear();
  cells_.append(xCSCell());
  ++version_;
}

int xQuadTree::SpawnNewCell() {
  const int c = takeSlot(cells_, freeCells_);
  if (c < 0) return -1;
  cells_[c] = xCSCell();
  ++version_;
  return c;
}

int xQuadTree::takeLink() { return takeSlot(links_, freeLinks_); }

int xQuadTree::takeGroup() { return takeSlot(groups_, freeGroups_); }

void xQuadTree::AddCellLink(int cell, xShape *shape) {
  const int l = takeLink();
  if (l < 0) return;
  links_[l].shape = shape;
  links_[l].filed = ++filings_;
  attachLink(cell, l, shape->getCollisionCategory());
  shape->setQueryMark(false);
}

void xQuadTree::attachLink(int cell, int link, const xCollisionCategory *category) {
  ++version_;
  int g = cells_[cell].firstGroup;
  while (g >= 0 && groups_[g].category != category) g = groups_[g].next;
  if (g < 0) {
    g = takeGroup();
    if (g < 0) {
      links_[link] = xCSCellLink();
      freeLinks_.append(link);
      return;
    }
    groups_[g].category = category;
    groups_[g].firstLink = -1;
    groups_[g].next = cells_[cell].firstGroup;
    cells_[cell].firstGroup = g;
  }
  // A new filing is the highest and goes first; a link moved between groups keeps its place.
  int prev = -1;
  int at = groups_[g].firstLink;
  while (at >= 0 && links_[at].filed > links_[link].filed) {
    prev = at;
    at = links_[at].next;
  }
  xCSCellLink &k = links_[link];
  k.cell = cell;
  k.group = g;
  k.prev = prev;
  k.next = at;
  if (at >= 0) links_[at].prev = link;
  if (prev < 0)
    groups_[g].firstLink = link;
  else
    links_[prev].next = link;
  k.nextOfShape = k.shape->csLinks();
  k.shape->setCSLinks(link);
}

int xQuadTree::detachLink(int cell, xShape *shape) {
  // A shape is filed in at most a few cells (its level is the one whose cells are as large as
  // its box), so its own chain is short however crowded the cell.
  int before = -1;
  int l = shape->csLinks();
  while (l >= 0 && links_[l].cell != cell) {
    before = l;
    l = links_[l].nextOfShape;
  }
  if (l < 0) return -1;
  ++version_;
  xCSCellLink &k = links_[l];
  if (before < 0)
    shape->setCSLinks(k.nextOfShape);
  else
    links_[before].nextOfShape = k.nextOfShape;
  const int g = k.group;
  if (k.prev >= 0)
    links_[k.prev].next = k.next;
  else
    groups_[g].firstLink = k.next;
  if (k.next >= 0) links_[k.next].prev = k.prev;
  k.prev = k.next = k.nextOfShape = k.cell = k.group = -1;
  if (groups_[g].firstLink < 0) {
    int *slot = &cells_[cell].firstGroup;
    while (*slot != g) slot = &groups_[*slot].next;
    *slot = groups_[g].next;
    groups_[g] = xCSCellGroup();
    freeGroups_.append(g);
  }
  return l;
}

bool xQuadTree::ObtainQDTCSPos(const Box2 &box, int range[4], int &level) const {
  if (!qlnIsFinite(box.minX) || !qlnIsFinite(box.minY) || !qlnIsFinite(box.maxX) || !qlnIsFinite(box.maxY)) {
    for (int i = 0; i < 4; ++i) range[i] = kNoRange[i];
    level = -1;
    return false;
  }
  const Box2 clamped(qlnClamp(box.minX, bounds_.minX, bounds_.maxX), qlnClamp(box.minY, bounds_.minY, bounds_.maxY),
                     qlnClamp(box.maxX, bounds_.minX, bounds_.maxX), qlnClamp(box.maxY, bounds_.minY, bounds_.maxY));
  const Box2 s = scaledBox(clamped);
  // Double precision keeps the cell index consistent with the halved cell boxes of queries.
  const double w = double(bounds_.maxX) - bounds_.minX;
  const double h = double(bounds_.maxY) - bounds_.minY;
  const double u0 = (double(s.minX) - bounds_.minX) / w, u1 = (double(s.maxX) - bounds_.minX) / w;
  const double v0 = (double(s.minY) - bounds_.minY) / h, v1 = (double(s.maxY) - bounds_.minY) / h;
  double size = u1 - u0 > v1 - v0 ? u1 - u0 : v1 - v0;
  // Powers of two made exactly without a library call: this runs for every moved shape.
  const double smallest = 1.0 / double(1u << depth_);
  if (size < smallest) size = smallest;
  int l = static_cast<int>(std::floor(-std::log2(size)));
  l = qlnClampInt(l, 0, depth_);
  const double n = double(1u << l);
  const int last = (1 << l) - 1;
  range[0] = qlnClampInt(static_cast<int>(std::floor(n * u0)), 0, last);
  range[1] = qlnClampInt(static_cast<int>(std::floor(n * v0)), 0, last);
  range[2] = qlnClampInt(static_cast<int>(std::floor(n * u1)), 0, last);
  range[3] = qlnClampInt(static_cast<int>(std::floor(n * v1)), 0, last);
  level = l;
  return true;
}

void xQuadTree::AddCell(xShape *shape, int x, int y, int level) {
  int cell = 0;
  for (int i = 1; i <= level; ++i) {
    const int bit = level - i;
    const int k = 2 * ((y >> bit) & 1) + ((x >> bit) & 1);
    int child = cells_[cell].child[k];
    if (child < 0) {
      child = SpawnNewCell();  // may move the cell array: re-read through the index below
      if (child < 0) return;
      cells_[cell].child[k] = child;
    }
    cell = child;
  }
  AddCellLink(cell, shape);
}

int xQuadTree::findCell(int x, int y, int level) const {
  int cell = 0;
  for (int i = 1; i <= level && cell >= 0; ++i) {
    const int bit = level - i;
    cell = cells_[cell].child[2 * ((y >> bit) & 1) + ((x >> bit) & 1)];
  }
  return cell;
}

void xQuadTree::RemoveCell(xShape *shape, int x, int y, int level) {
  int path[32];
  int slot[32];
  int cell = 0;
  for (int i = 1; i <= level; ++i) {
    const int bit = level - i;
    const int k = 2 * ((y >> bit) & 1) + ((x >> bit) & 1);
    const int child = cells_[cell].child[k];
    if (child < 0) return;
    path[i - 1] = cell;
    slot[i - 1] = k;
    cell = child;
  }
  const int l = detachLink(cell, shape);
  if (l < 0) return;
  links_[l] = xCSCellLink();
  freeLinks_.append(l);

  // Prune empty cells upwards; the root stays.
  for (int i = level; i >= 1; --i) {
    const xCSCell &c = cells_[cell];
    if (c.firstGroup >= 0 || c.child[0] >= 0 || c.child[1] >= 0 || c.child[2] >= 0 || c.child[3] >= 0) break;
    freeCells_.append(cell);
    const int parent = path[i - 1];
    cells_[parent].child[slot[i - 1]] = -1;
    cell = parent;
  }
}

void xQuadTree::fileRange(xShape *shape, const int range[4], int level, const int *skip) {
  for (int y = range[1]; y <= range[3]; ++y)
    for (int x = range[0]; x <= range[2]; ++x)
      if (!skip || !inRange(skip, x, y)) AddCell(shape, x, y, level);
}

void xQuadTree::unfileRange(xShape *shape, const int range[4], int level, const int *skip) {
  if (level < 0) return;
  for (int y = range[1]; y <= range[3]; ++y)
    for (int x = range[0]; x <= range[2]; ++x)
      if (!skip || !inRange(skip, x, y)) RemoveCell(shape, x, y, level);
}

void xQuadTree::insertToCS(xShape *shape) {
  if (!shape) return;
  int range[4];
  int level;
  if (!QLN_ASSERT(ObtainQDTCSPos(shape->getAbsBoundingBox(), range, level) &&
                  "a shape with a non-finite bounding box is not filed")) {
    shape->setCSPos(kNoRange, -1);
    return;
  }
  shape->setCSPos(range, level);
  shape->setCSLinks(-1);  // whatever a tree it was filed in before left there
  fileRange(shape, range, level, nullptr);
}

void xQuadTree::removeFromCS(xShape *shape) {
  if (!shape) return;
  int range[4];
  int level;
  shape->getCSPos(range, level);
  unfileRange(shape, range, level, nullptr);
  shape->setCSPos(kNoRange, -1);
}

void xQuadTree::moveInsideCS(xShape *shape) {
  if (!shape) return;
  int oldRange[4], newRange[4];
  int oldLevel, newLevel;
  shape->getCSPos(oldRange, oldLevel);
  QLN_ASSERT(ObtainQDTCSPos(shape->getAbsBoundingBox(), newRange, newLevel) &&
             "a shape moved to a non-finite bounding box is taken out of the tree");
  if (newLevel == oldLevel && newLevel >= 0) {
    fileRange(shape, newRange, newLevel, oldRange);
    unfileRange(shape, oldRange, oldLevel, newRange);
  } else {
    if (newLevel >= 0) fileRange(shape, newRange, newLevel, nullptr);
    unfileRange(shape, oldRange, oldLevel, nullptr);
  }
  shape->setCSPos(newRange, newLevel);
}

void xQuadTree::recategorize(xShape *shape, const xCollisionCategory *previous) {
  if (!shape || shape->getCollisionCategory() == previous) return;
  int range[4];
  int level;
  shape->getCSPos(range, level);
  if (level < 0) return;
  for (int y = range[1]; y <= range[3]; ++y)
    for (int x = range[0]; x <= range[2]; ++x) {
      const int cell = findCell(x, y, level);
      const int l = cell >= 0 ? detachLink(cell, shape) : -1;
      if (l >= 0) attachLink(cell, l, shape->getCollisionCategory());
    }
}

void xQuadTree::getShapesFromQDT(xArray<xShape *> &result, int cell, const Box2 &cellBox, const Box2 &query,
                                 bool precise, const Selection &selection) {
  if (cell < 0 || cells_.size() == 0) return;
  // Depth first with an explicit stack, children pushed in reverse so they are visited 0 to 3
  // as a recursion would. The tree is at most depth_ + 1 levels deep: 3 pending siblings a level.
  struct Pending {
    int cell;
    float minX, minY, maxX, maxY;
  };
  Pending stack[4 * 32];
  int top = 0;
  stack[top++] = {cell, cellBox.minX, cellBox.minY, cellBox.maxX, cellBox.maxY};
  // Unchecked access in the query loop: indices come from the tree itself, and the query never
  // changes the tree.
  const xCSCell *cells = cells_.dataPtr();
  while (top > 0) {
    const Pending p = stack[--top];
    const xCSCell &c = cells[p.cell];
    collectLinks(result, p.cell, query, precise, selection);
    const float mx = (p.minX + p.maxX) * 0.5f;
    const float my = (p.minY + p.maxY) * 0.5f;
    if (!QLN_ASSERT(top <= int(sizeof stack / sizeof stack[0]) - 4 && "quadtree deeper than its depth")) break;
    if (c.child[3] >= 0 && mx <= query.maxX && my <= query.maxY) stack[top++] = {c.child[3], mx, my, p.maxX, p.maxY};
    if (c.child[2] >= 0 && mx >= query.minX && my <= query.maxY) stack[top++] = {c.child[2], p.minX, my, mx, p.maxY};
    if (c.child[1] >= 0 && mx <= query.maxX && my >= query.minY) stack[top++] = {c.child[1], mx, p.minY, p.maxX, my};
    if (c.child[0] >= 0 && mx >= query.minX && my >= query.minY) stack[top++] = {c.child[0], p.minX, p.minY, mx, my};
  }
}

bool xQuadTree::queryRanges(const Box2 &query, QueryRanges &out) const {
  // Only an upright, finite box has the per-axis ranges below; anything else takes the walk.
  if (!(query.minX <= query.maxX) || !(query.minY <= query.maxY)) return false;
  if (!qlnIsFinite(query.minX) || !qlnIsFinite(query.minY) || !qlnIsFinite(query.maxX) || !qlnIsFinite(query.maxY))
    return false;
  const int deepest = depth_;
  if (deepest < 0 || deepest > kMaxQueryDepth) return false;
  const int n = 1 << deepest;
  // Cell edges of the deepest level are exact in double (halvings of the root), so these
  // comparisons are the ones the walk makes with the halved cell boxes.
  const double cellW = (double(bounds_.maxX) - bounds_.minX) / n;
  const double cellH = (double(bounds_.maxY) - bounds_.minY) / n;
  const double x0 = bounds_.minX, y0 = bounds_.minY;
  // Lowest cell whose far edge reaches the query's low side; highest whose near edge does not
  // pass its high side. Both clamped to the root, which is where the walk also ends up.
  const double invW = n / (double(bounds_.maxX) - bounds_.minX);
  const double invH = n / (double(bounds_.maxY) - bounds_.minY);
  auto low = [n](double origin, double cell, double inv, float q) {
    double g = (double(q) - origin) * inv;
    int i = g <= 0.0 ? 0 : (g >= n - 1 ? n - 1 : int(g));
    while (i > 0 && origin + cell * i >= q) --i;
    while (i < n - 1 && origin + cell * (i + 1) < q) ++i;
    return i;
  };
  auto high = [n](double origin, double cell, double inv, float q) {
    double g = (double(q) - origin) * inv;
    int j = g <= 0.0 ? 0 : (g >= n - 1 ? n - 1 : int(g));
    while (j < n - 1 && origin + cell * (j + 1) <= q) ++j;
    while (j > 0 && origin + cell * j > q) --j;
    return j;
  };
  out.depth = deepest;
  out.x0 = low(x0, cellW, invW, query.minX);
  out.x1 = high(x0, cellW, invW, query.maxX);
  out.y0 = low(y0, cellH, invH, query.minY);
  out.y1 = high(y0, cellH, invH, query.maxY);
  return out.x0 <= out.x1 && out.y0 <= out.y1;
}

void xQuadTree::collectLinks(xArray<xShape *> &result, int cell, const Box2 &query, bool precise,
                             const Selection &selection) {
  const xCSCellLink *links = links_.dataPtr();
  auto take = [&](int l) {
    xShape *s = links[l].shape;
    if (!s || s->isQueryMarked()) return;
    if (precise) {
      const Box2 b = scaledBox(s->getAbsBoundingBox());
      if (!(b.maxX >= query.minX && b.maxY >= query.minY && b.minX <= query.maxX && b.minY <= query.maxY)) return;
    }
    if (!result.appendInPlace(s)) result.append(s);
    s->setQueryMark(true);
  };
  const int first = cells_.dataPtr()[cell].firstGroup;
  if (first >= 0 && groups_.dataPtr()[first].next < 0) {
    // A cell of one category: its one list, no merge.
    const xCSCellGroup &group = groups_.dataPtr()[first];
    if (!selection.takes(group.category)) return;
    for (int l = group.firstLink; l >= 0; l = links[l].next) take(l);
    return;
  }
  int taken = 0;
  for (int g = first; g >= 0; g = groups_.dataPtr()[g].next) {
    const xCSCellGroup &group = groups_.dataPtr()[g];
    if (!selection.takes(group.category)) continue;
    if (taken == merging_.size()) merging_.append(-1);
    merging_[taken++] = group.firstLink;
  }
  int *heads = merging_.dataPtr();
  if (taken == 1) {
    for (int l = heads[0]; l >= 0; l = links[l].next) take(l);
    return;
  }
  // Highest filing first across the groups: the order of the one list they stand for.
  for (;;) {
    int best = -1;
    for (int i = 0; i < taken; ++i)
      if (heads[i] >= 0 && (best < 0 || links[heads[i]].filed > links[heads[best]].filed)) best = i;
    if (best < 0) return;
    const int l = heads[best];
    heads[best] = links[l].next;
    take(l);
  }
}

void xQuadTree::getShapesByRanges(xArray<xShape *> &result, const QueryRanges &r, const Box2 &query, bool precise,
                                  const Selection &selection) {
  // The cells the walk visits are exactly those whose coordinates lie in the query's range
  // shifted to their level, visited in the same depth-first order (children 0 to 3).
  const xCSCell *cells = cells_.dataPtr();
  const int deepest = r.depth;
  // From the root down, a small query's range is one cell a level for most of the depth, and
  // the next query (a neighbour) mostly takes the same cells: the last such chain is reused
  // while the tree is unchanged, so only cells holding shapes are looked at on the shared part.
  ChainCache &cc = chain_;
  if (cc.version != version_ || cc.depth != deepest) {
    cc.version = version_;
    cc.depth = deepest;
    cc.length = 0;
    cc.linked = 0;
  }
  int level = 0;
  if (cc.length > 0) {
    // Level L is shared when the query's range there is one cell and the same cell as the
    // chain's: the coordinates agree on their bits above deepest - L.
    const unsigned differ = unsigned((r.x0 ^ r.x1) | (r.x0 ^ cc.x) | (r.y0 ^ r.y1) | (r.y0 ^ cc.y));
    int reuse = cc.length;
    if (differ != 0) {
      const int highest = 31 - __builtin_clz(differ);
      if (deepest - highest < reuse) reuse = deepest - highest;
    }
    cc.length = reuse;
    cc.linked &= (reuse >= 32 ? ~0u : (1u << reuse) - 1u);
    for (unsigned m = cc.linked; m != 0; m &= m - 1) collectLinks(result, cc.cell[__builtin_ctz(m)], query, precise, selection);
    level = reuse - 1;
  } else {
    cc.cell[0] = 0;
    cc.length = 1;
    cc.linked = cells[0].firstGroup >= 0 ? 1u : 0u;
    collectLinks(result, 0, query, precise, selection);
  }
  cc.x = r.x0;
  cc.y = r.y0;
  int cell = cc.cell[level];
  // Down the chain of levels where the range is one cell: no stack, one child each.
  for (;;) {
    if (level == deepest) return;
    const int shift = deepest - level - 1;
    const int cx = r.x0 >> shift, cy = r.y0 >> shift;
    if (cx != (r.x1 >> shift) || cy != (r.y1 >> shift)) break;
    const int child = cells[cell].child[2 * (cy & 1) + (cx & 1)];
    if (child < 0) return;
    cell = child;
    ++level;
    collectLinks(result, cell, query, precise, selection);
    cc.cell[level] = cell;
    cc.length = level + 1;
    if (cells[cell].firstGroup >= 0) cc.linked |= 1u << level;
  }
  struct Pending {
    int cell, level, x, y;
  };
  Pending stack[4 * (kMaxQueryDepth + 2)];
  const int capacity = int(sizeof stack / sizeof stack[0]);
  int top = 0;
  // False (with a report) when the children would not fit: the walk then stops where it is.
  auto pushChildren = [&](int parent, int parentLevel, int px, int py) {
    if (!QLN_ASSERT(top <= capacity - 4 && "quadtree deeper than its depth")) return false;
    const int shift = deepest - parentLevel - 1;
    const int cx0 = r.x0 >> shift, cx1 = r.x1 >> shift, cy0 = r.y0 >> shift, cy1 = r.y1 >> shift;
    // Reverse order so child 0 is popped first.
    for (int k = 3; k >= 0; --k) {
      const int child = cells[parent].child[k];
      if (child < 0) continue;
      const int kx = 2 * px + (k & 1), ky = 2 * py + (k >> 1);
      if (kx < cx0 || kx > cx1 || ky < cy0 || ky > cy1) continue;
      stack[top++] = {child, parentLevel + 1, kx, ky};
    }
    return true;
  };
  pushChildren(cell, level, r.x0 >> (deepest - level), r.y0 >> (deepest - level));
  while (top > 0) {
    const Pending p = stack[--top];
    collectLinks(result, p.cell, query, precise, selection);
    if (p.level < deepest && !pushChildren(p.cell, p.level, p.x, p.y)) break;
  }
}

void xQuadTree::query(xArray<xShape *> &result, xShape *shape, bool precise, const Selection &selection) {
  if (!shape) return;
  const int first = result.size();
  const Box2 query = scaledBox(shape->getAbsBoundingBox());
  QueryRanges ranges;
  if (cells_.size() > 0 && queryRanges(query, ranges))
    getShapesByRanges(result, ranges, query, precise, selection);
  else
    getShapesFromQDT(result, 0, bounds_, query, precise, selection);
  for (int i = first; i < result.size(); ++i) result[i]->setQueryMark(false);
}

void xQuadTree::getClosest(xArray<xShape *> &result, xShape *shape, bool precise) {
  query(result, shape, precise, Selection());
}

void xQuadTree::getClosest(xArray<xShape *> &result, xShape *shape, bool precise, xCategoryFilter &filter) {
  if (!shape) return;
  Selection selection;
  selection.filter = &filter;
  selection.category = shape->getCollisionCategory();
  query(result, shape, precise, selection);
}

xShape *xQuadTree::getTouchingShape(xShape *shape) {
  xArray<xShape *> found;
  getClosest(found, shape, true);
  for (int i = 0; i < found.size(); ++i)
    if (found[i]->getAscendant() != nullptr) return found[i];
  return nullptr;
}

}  // namespace QuillonPHX2D
