// Contact generation: candidate pairs from the classification space, category filtering,
// the collider table, and the filing of accepted contacts for the world step.
#include <cstdint>

#include "CollisionContext/Categories/CategoryDispatcher.h"
#include "CollisionContext/ClassificationSpace/xClassificationSpace.h"
#include "CollisionContext/Colliders/xColliderTable.h"
#include "CollisionContext/xCollisionContext.h"
#include "Collision/Shapes/xShape.h"
#include "Dynamics/Bodies/xBody.h"
#include "Dynamics/World/xPhysicsContext.h"
#include "Foundation/QlnAssert.h"
#include "sdk/QuillonPhysicsSDK.h"
#include "sdk/xEntity.h"

namespace QuillonPHX2D {
namespace {

// Kept across calls so their storage is reused; contact generation is not re-entrant.
xArray<xShape *> &neighbourList() {
  static xArray<xShape *> list;
  return list;
}

xArray<xShape *> &candidateList() {
  static xArray<xShape *> list;
  return list;
}

// Effective flags per category pair, remembered for one generation pass: the registry's
// lookups are linear and the same few pairs come up thousands of times a step.
class PairFlagsCache {
 public:
  void clear() {
    for (Entry &e : slots_) e.used = false;
  }
  void flags(xCategoryDispatcher *d, const xCollisionCategory *ca, const xCollisionCategory *cb, unsigned long &fa,
             unsigned long &fb) {
    std::uintptr_t h = (reinterpret_cast<std::uintptr_t>(ca) >> 4) * 31u + (reinterpret_cast<std::uintptr_t>(cb) >> 4);
    Entry &e = slots_[(h ^ (h >> 8)) & (kSlots - 1)];
    if (!e.used || e.a != ca || e.b != cb) {
      d->effectiveFlags(ca, cb, e.fa, e.fb);
      e.a = ca;
      e.b = cb;
      e.used = true;
    }
    fa = e.fa;
    fb = e.fb;
  }

 private:
  static const int kSlots = 256;
  struct Entry {
    const xCollisionCategory *a = nullptr, *b = nullptr;
    unsigned long fa = 0, fb = 0;
    bool used = false;
  };
  Entry slots_[kSlots];
};

PairFlagsCache &pairFlags() {
  static PairFlagsCache cache;
  return cache;
}

// Shapes of categories whose pair is ignored never reach the narrow phase, so the broad
// phase need not hand them over.
class MeetingCategories : public xCategoryFilter {
 public:
  explicit MeetingCategories(xCategoryDispatcher *d) : d_(d) {}
  bool canMeet(const xCollisionCategory *query, const xCollisionCategory *other) override {
    // Query after query asks about the same pair (in a scene of one category, always): the
    // last answer is kept for the pass.
    if (known_ && query == lastQuery_ && other == lastOther_) return lastAnswer_;
    unsigned long fa = 0, fb = 0;
    pairFlags().flags(d_, query, other, fa, fb);
    known_ = true;
    lastQuery_ = query;
    lastOther_ = other;
    lastAnswer_ = ((fa | fb) & xCollisionCategory::Ignore) == 0;
    return lastAnswer_;
  }

 private:
  xCategoryDispatcher *d_;
  bool known_ = false;
  const xCollisionCategory *lastQuery_ = nullptr;
  const xCollisionCategory *lastOther_ = nullptr;
  bool lastAnswer_ = false;
};

// Of two awake shapes, the one made later handles their pair: the same one on every run of a
// scene (addresses would change with whatever was allocated before), so their contacts come
// in the same order and with the same orientation.
// How many awake shapes ahead of the one querying the pass asks the memory for.
constexpr int kFetchAhead = 4;

bool madeBefore(const xShape *a, const xShape *b) { return a->serial() < b->serial(); }

void collidePair(xShape *a, xShape *b, xCategoryDispatcher *categories, xColliderTable *table) {
  unsigned long fa = 0, fb = 0;
  pairFlags().flags(categories, a->getCollisionCategory(), b->getCollisionCategory(), fa, fb);
  if ((fa | fb) & xCollisionCategory::Ignore) return;
  int ia = a->getColliderID();
  int ib = b->getColliderID();
  if (ia < 0 || ib < 0) return;
  if (qlnColliderFn fn = table->entry(ia, ib)) {
    fn(a, b);
  } else if (qlnColliderFn mirrored = table->entry(ib, ia)) {
    mirrored(b, a);
  }
}

}  // namespace

void xCollisionContext::generateContacts() {
  // A notification that steps the world or generates contacts again would reuse the lists
  // this pass is walking.
  if (!QLN_ASSERT(!generating_)) return;
  generating_ = true;
  xCategoryDispatcher *categories = xCategoryDispatcher::Instance();
  xColliderTable *table = xColliderTable::Instance();
  xArray<xShape *> &neighbours = neighbourList();
  xArray<xShape *> &candidates = candidateList();
  pairFlags().clear();
  MeetingCategories meeting(categories);
  activeShapes_.compact();

  // The count is read on every pass: shapes woken by accepted contacts join this pass.
  for (int i = 0; i < activeShapes_.size(); ++i) {
    xShape *a = activeShapes_[i];
    // The shapes lie scattered in memory: those a few places on are fetched meanwhile, and
    // the body of a nearer one (its shape is in by then).
    if (i + 2 * kFetchAhead < activeShapes_.size()) {
      if (xShape *ahead = activeShapes_[i + 2 * kFetchAhead]) __builtin_prefetch(ahead);
    }
    if (i + kFetchAhead < activeShapes_.size()) {
      if (xShape *ahead = activeShapes_[i + kFetchAhead]) __builtin_prefetch(ahead->getMainBody());
    }
    if (!a) continue;
    neighbours.fastClear();
    candidates.fastClear();
    cc_pCollisionSpace->getClosest(neighbours, a, false, meeting);
    xBody *bodyA = a->getMainBody();
    const int found = neighbours.size();
    candidates.resize(found, false);
    xShape *const *near = neighbours.dataPtr();
    xShape **kept = candidates.dataPtr();
    int count = 0;
    for (int k = 0; k < found; ++k) {
      xShape *n = near[k];
      xBody *bodyN = n->getMainBody();
      // Pairs of two awake shapes are handled once, from the shape made later.
      if (bodyN && bodyN->isActive() && !madeBefore(n, a)) continue;
      if (bodyA && bodyN == bodyA) continue;  // shapes of one body never collide
      kept[count++] = n;
    }
    candidates.resize(count, false);
    for (int k = 0; k < count; ++k) {
      xShape *b = candidates[k];
      if (b == a) continue;
      collidePair(a, b, categories, table);
      // The owner of a may have taken it out of the active list meanwhile.
      if (activeShapes_[i] != a) break;
    }
  }
  neighbours.fastClear();
  candidates.fastClear();

  activeShapes_.compact();
  generating_ = false;
}

bool xCollisionContext::createTempContact(xShape *a, xShape *b, xMaterial *ma, xMaterial *mb, const Vec2 &point,
                                          float depth, const Vec2 &normal) {
  xCategoryDispatcher *categories = xCategoryDispatcher::Instance();
  bool letGoThrough = true;
  if (a && b) {
    unsigned long fa = 0, fb = 0;
    if (generating_) pairFlags().flags(categories, a->getCollisionCategory(), b->getCollisionCategory(), fa, fb);
    else categories->effectiveFlags(a, b, fa, fb);
    letGoThrough = ((fa | fb) & xCollisionCategory::LetGoThrough) != 0;
  }
  xCollisionCategory *ca = a ? a->getCollisionCategory() : nullptr;
  xCollisionCategory *cb = b ? b->getCollisionCategory() : nullptr;
  bool aLets = ca && ca->isLetGoThrough();
  bool bLets = cb && cb->isLetGoThrough();
  bool aNotifies = ca && ca->isNotify() && (aLets || !bLets);
  bool bNotifies = cb && cb->isNotify() && (bLets || !aLets);

  bool refused = false;
  if (a && aNotifies && a->getOwner() && !a->getOwner()->notifyCollision(a, b, point, depth, normal)) refused = true;
  if (b && bNotifies && b->getOwner() &&
      !b->getOwner()->notifyCollision(b, a, point, depth, Vec2(-normal.x, -normal.y)))
    return false;
  if (refused || letGoThrough) return false;

  xBody *bodyA = a->getMainBody();
  xBody *bodyB = b->getMainBody();
  if (!bodyA && !bodyB) return false;
  xTempContact c;
  if (bodyA) {
    c.body0 = bodyA;
    c.body1 = bodyB;
    c.normal = normal;
  } else {
    c.body0 = bodyB;
    c.body1 = nullptr;
    c.normal = Vec2(-normal.x, -normal.y);
  }
  c.material0 = ma;
  c.material1 = mb;
  c.point = point;
  c.depth = depth;
  c.flag = false;
  c.body0->activate();
  if (c.body1) c.body1->activate();
  if (!g_ptrSDK || !g_ptrSDK->physicsContext()) return false;
  g_ptrSDK->physicsContext()->tempContacts().append(c);
  return true;
}

}  // namespace QuillonPHX2D
