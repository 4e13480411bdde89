#include "CollisionContext/Categories/CategoryDispatcher.h"

#include <new>

#include "Collision/Shapes/xShape.h"
#include "Foundation/QlnAssert.h"

namespace QuillonPHX2D {

xCollisionCategory::xCollisionCategory(const std::string &name, unsigned long flags) : name_(name), flags_(flags) {}

unsigned long xCollisionCategory::pairFlagsForCategory(int index) const {
  for (int i = 0; i < pairIndices_.size(); ++i)
    if (pairIndices_[i] == index) return pairFlags_[i];
  return 0;
}

void xCollisionCategory::addPairFlags(int index, unsigned long flags) {
  pairIndices_.append(index);
  pairFlags_.append(flags);
}

xCategoryDispatcher *xCategoryDispatcher::cdp_ptrInstance = nullptr;

xCategoryDispatcher *xCategoryDispatcher::Instance() {
  if (!cdp_ptrInstance) {
    cdp_ptrInstance = new (std::nothrow) xCategoryDispatcher();
#if defined(QLN_GAME_BUILD)
    xCategoryDispatcher *ptrInstance_ = cdp_ptrInstance;
    QLN_ASSERT(ptrInstance_ != nullptr);
#endif
  }
  return cdp_ptrInstance;
}

xCategoryDispatcher *xCategoryDispatcher::CreateSeparateInstance() { return new (std::nothrow) xCategoryDispatcher(); }

void xCategoryDispatcher::DestroySeparateInstance(xCategoryDispatcher *d) {
  if (d && d != cdp_ptrInstance) delete d;
}

xCategoryDispatcher::xCategoryDispatcher() : queryFlagsA_(0), queryFlagsB_(0) {
  createCategory("default", 2);
  registerCategoryPair("default", "default", 2);
  createCategory("ignoreall", 1);
  createCategory("notifier", 6);
  createCategory("solid_geometry", 2);
  registerCategoryPair("solid_geometry", "solid_geometry", 1);
  registerCategoryPair("solid_geometry", "default", 2);
  createCategory("item", 0);
  registerCategoryPair("item", "default", 6);
  registerCategoryPair("item", "solid_geometry", 2);
  createCategory("collision_ray", 0);
  registerCategoryPair("collision_ray", "solid_geometry", 2);
  registerCategoryPair("collision_ray", "default", 2);
  registerCategoryPair("collision_ray", "item", 2);
  createCategory("fluid_dynamic", 0);
  registerCategoryPair("fluid_dynamic", "solid_geometry", 2);
  createCategory("fluid_static", 0);
  registerCategoryPair("fluid_static", "solid_geometry", 1);
  registerCategoryPair("fluid_static", "fluid_dynamic", 1);
  registerCategoryPair("fluid_static", "default", 6);
}

xCategoryDispatcher::~xCategoryDispatcher() { categories_.deleteAll(); }

void xCategoryDispatcher::createCategory(const std::string &name, unsigned long flags) {
  if (findCategoryByName(name)) return;
  xCollisionCategory *c = new (std::nothrow) xCollisionCategory(name, flags);
  if (c) categories_.append(c);
}

bool xCategoryDispatcher::copyCategory(const std::string &source, const std::string &name) {
  xCollisionCategory *src = findCategoryByName(source);
  if (!src) return false;
  // A second category of the same name could never be found by name.
  if (findCategoryByName(name)) return false;
  xCollisionCategory *c = new (std::nothrow) xCollisionCategory(name, src->categoryFlags());
  if (!c) return false;
  const xArray<int> indices = src->categoryPairsArray();
  const xArray<unsigned long> flags = src->categoryPairsFlagsArray();
  for (int i = 0; i < indices.size(); ++i) c->addPairFlags(indices[i], flags[i]);
  categories_.append(c);
  return true;
}

bool xCategoryDispatcher::registerCategoryPair(const std::string &first, const std::string &second,
                                               unsigned long flags) {
  xCollisionCategory *a = findCategoryByName(first);
  xCollisionCategory *b = findCategoryByName(second);
  if (!a || !b) return false;
  a->addPairFlags(findCategoryIndex(b), flags);
  return true;
}

xCollisionCategory *xCategoryDispatcher::findCategoryByName(const std::string &name) {
  for (int i = 0; i < categories_.size(); ++i)
    if (categories_[i]->categoryID() == name) return categories_[i];
  return nullptr;
}

int xCategoryDispatcher::findCategoryIndex(const xCollisionCategory *c) const {
  for (int i = 0; i < categories_.size(); ++i)
    if (categories_[i] == c) return i;
  return -1;
}

void xCategoryDispatcher::configureFlagsForQuery(const xCollisionCategory *a, const xCollisionCategory *b) {
  const int ia = findCategoryIndex(a);
  const int ib = findCategoryIndex(b);
  queryFlagsA_ = (a && ib >= 0) ? a->pairFlagsForCategory(ib) : 0;
  queryFlagsB_ = (b && ia >= 0) ? b->pairFlagsForCategory(ia) : 0;
}

void xCategoryDispatcher::updateFlags(unsigned long &fa, unsigned long &fb) const {
  if (queryFlagsA_ != 0) fa = queryFlagsA_;
  if (queryFlagsB_ != 0) fb = queryFlagsB_;
}

void xCategoryDispatcher::effectiveFlags(xShape *a, xShape *b, unsigned long &fa, unsigned long &fb) {
  effectiveFlags(a ? a->getCollisionCategory() : nullptr, b ? b->getCollisionCategory() : nullptr, fa, fb);
}

void xCategoryDispatcher::effectiveFlags(const xCollisionCategory *ca, const xCollisionCategory *cb,
                                         unsigned long &fa, unsigned long &fb) {
  configureFlagsForQuery(ca, cb);
  fa = ca ? ca->categoryFlags() : 0;
  fb = cb ? cb->categoryFlags() : 0;
  updateFlags(fa, fb);
}

bool xCategoryDispatcher::shouldIgnore(xShape *a, xShape *b) {
  if (!a || !b || a == b) return true;
  unsigned long fa, fb;
  effectiveFlags(a, b, fa, fb);
  return ((fa | fb) & xCollisionCategory::Ignore) != 0;
}

bool xCategoryDispatcher::shouldLetGoThrough(xShape *a, xShape *b) {
  if (!a || !b) return true;
  unsigned long fa, fb;
  effectiveFlags(a, b, fa, fb);
  return ((fa | fb) & xCollisionCategory::LetGoThrough) != 0;
}

}  // namespace QuillonPHX2D
