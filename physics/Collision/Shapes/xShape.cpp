#include "Collision/Shapes/xShape.h"

#include "CollisionContext/Categories/CategoryDispatcher.h"
#include "CollisionContext/ClassificationSpace/xClassificationSpace.h"
#include "CollisionContext/xCollisionContext.h"
#include "Foundation/QlnAssert.h"
#include "sdk/QuillonPhysicsSDK.h"

namespace QuillonPHX2D {

xShape::xShape() : mainBody_(nullptr), queryMark_(false), category_(nullptr), spare0_(0), spare1_(0), csLevel_(-1), csLinks_(-1),
      serial_(qlnNextSerial()) {
  csRange_[0] = 0;
  csRange_[1] = 0;
  csRange_[2] = -1;
  csRange_[3] = -1;
}

xShape::~xShape() {
  xCollisionContext *cc = world();
  if (cc) cc->removeShape(this);
  if (isActive()) {
    clearActive();
    if (cc) cc->removeFromActive(this);
    xParagon::deactivate();
  }
}

xCollisionContext *xShape::world() { return g_ptrSDK ? g_ptrSDK->collisionContext() : nullptr; }

void xShape::initialize() {
  xCollisionContext *cc = world();
  if (!QLN_ASSERT(cc && "xShape::initialize needs a world (qlnCreateQuillonSDK)")) return;
  setInitializedFlag();
  if (isAddedToCS()) return;
  cc->addShape(this);
}

void xShape::activate() {
  if (isActive()) return;
  setActive();
  if (xCollisionContext *cc = world()) cc->addToActive(this);
  xParagon::activate();
}

void xShape::deactivate() {
  if (!isActive()) return;
  clearActive();
  if (xCollisionContext *cc = world()) cc->removeFromActive(this);
  xParagon::deactivate();
}

void xShape::notifyMoved(const Vec3 &oldAbs, const Vec3 &newAbs) {
  xCollisionContext *cc = world();
  if (cc && isAddedToCS()) cc->moveShape(this, oldAbs, newAbs);
  xParagon::notifyMoved(oldAbs, newAbs);
}

void xShape::setBody(xBody *b) {
  for (xParagon *d = firstDescendant_; d; d = d->getNextDescendant()) {
    if (xShape *s = dynamic_cast<xShape *>(d)) s->setBody(b);
  }
  mainBody_ = b;
}

void xShape::setCollisionCategory(const std::string &name) {
  xCategoryDispatcher *reg = xCategoryDispatcher::Instance();
  setCollisionCategory(reg ? reg->findCategoryByName(name) : nullptr);
}

void xShape::setCollisionCategory(xCollisionCategory *c) {
  const xCollisionCategory *previous = category_;
  category_ = c;
  // The classification space files shapes by category.
  xCollisionContext *cc = world();
  if (cc && isAddedToCS() && c != previous) cc->collisionSpace()->recategorize(this, previous);
}

void xShape::getCSPos(int out[4], int &level) const {
  for (int i = 0; i < 4; ++i) out[i] = csRange_[i];
  level = csLevel_;
}

void xShape::setCSPos(const int in[4], int level) {
  for (int i = 0; i < 4; ++i) csRange_[i] = in[i];
  csLevel_ = level;
}

}  // namespace QuillonPHX2D
