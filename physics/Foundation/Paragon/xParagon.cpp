#include "Foundation/Paragon/xParagon.h"

#include <cmath>

#include "Foundation/QlnAssert.h"

namespace QuillonPHX2D {

Vec3 xParagon::compose(const Vec3 &P, const Vec3 &r) {
  // A child centred on its parent (every shape on its body) needs no rotation.
  if (r.x == 0.0f && r.y == 0.0f) return Vec3(P.x, P.y, P.z + r.z);
  if (P.x == 0.0f && P.y == 0.0f && P.z == 0.0f) return r;  // a root's frame is the world's
  const float c = std::cos(P.z), s = std::sin(P.z);
  return Vec3(P.x + c * r.x - s * r.y, P.y + s * r.x + c * r.y, P.z + r.z);
}

Vec3 xParagon::relative(const Vec3 &P, const Vec3 &w) {
  const float c = std::cos(P.z), s = std::sin(P.z);
  const float dx = w.x - P.x, dy = w.y - P.y;
  return Vec3(c * dx + s * dy, -s * dx + c * dy, w.z - P.z);
}

xParagon::xParagon()
    : ascendant_(nullptr), firstDescendant_(nullptr), nextDescendant_(nullptr), relPlacement_(), flags_(0),
      owner_(nullptr), worldListSlots_{-1, -1} {
  relPlacement_ = Vec3(0.0f, 0.0f, 0.0f);
}

xParagon::~xParagon() {
  setAscendant(nullptr);
  // The children stay where they are in the world, as roots.
  const Vec3 here = relPlacement_;
  xParagon *d = firstDescendant_;
  while (d) {
    xParagon *next = d->nextDescendant_;
    d->relPlacement_ = compose(here, d->relPlacement_);
    d->ascendant_ = nullptr;
    d->nextDescendant_ = nullptr;
    d = next;
  }
  firstDescendant_ = nullptr;
}

void xParagon::initialize() { setInitializedFlag(); }

void xParagon::activate() {
  for (xParagon *d = firstDescendant_; d;) {
    xParagon *next = d->nextDescendant_;
    d->activate();
    d = next;
  }
}

void xParagon::deactivate() {
  for (xParagon *d = firstDescendant_; d;) {
    xParagon *next = d->nextDescendant_;
    d->deactivate();
    d = next;
  }
}

float xParagon::getTunnelingFreeMoveRatio(const Vec3 &from, const Vec3 &to) {
  float ratio = 1.0f;
  for (xParagon *d = firstDescendant_; d; d = d->nextDescendant_) {
    if (!d->isInitialized()) continue;
    const Vec3 r = d->relPlacement_;
    const float dr = d->getTunnelingFreeMoveRatio(from + r, to + r);
    if (dr < ratio) ratio = dr;
  }
  return ratio;
}

void xParagon::notifyMoved(const Vec3 &oldAbs, const Vec3 &newAbs) {
  for (xParagon *d = firstDescendant_; d; d = d->nextDescendant_) {
    if (!d->isInitialized()) continue;
    d->notifyMoved(compose(oldAbs, d->relPlacement_), compose(newAbs, d->relPlacement_));
  }
}

bool xParagon::isSelfOrAncestorOf(const xParagon *p) const {
  for (; p; p = p->ascendant_)
    if (p == this) return true;
  return false;
}

void xParagon::setAscendant(xParagon *p) {
  // A paragon under itself would make every walk up or down the tree endless.
  if (!QLN_ASSERT(!(p && isSelfOrAncestorOf(p)) && "setAscendant would make a cycle")) return;
  if (ascendant_) {
    relPlacement_ = compose(ascendant_->absPlacement(), relPlacement_);
    if (ascendant_->firstDescendant_ == this) {
      ascendant_->firstDescendant_ = nextDescendant_;
    } else {
      xParagon *prev = ascendant_->firstDescendant_;
      while (prev && prev->nextDescendant_ != this) prev = prev->nextDescendant_;
      if (prev) prev->nextDescendant_ = nextDescendant_;
    }
    ascendant_ = nullptr;
    nextDescendant_ = nullptr;
  }
  if (!p) return;
  nextDescendant_ = p->firstDescendant_;
  p->firstDescendant_ = this;
  ascendant_ = p;
  relPlacement_ = relative(p->absPlacement(), relPlacement_);
  if (p->isActive()) activate();
}

xParagon *xParagon::getAscendant() { return ascendant_; }
xParagon *xParagon::getFirstDescendant() { return firstDescendant_; }

xParagon *xParagon::getLastDescendant() {
  xParagon *d = firstDescendant_;
  while (d && d->nextDescendant_) d = d->nextDescendant_;
  return d;
}

xParagon *xParagon::getNextDescendant() { return nextDescendant_; }

xParagon *xParagon::getPreviousDescendant() {
  if (!ascendant_) return nullptr;
  xParagon *d = ascendant_->firstDescendant_;
  if (d == this) return nullptr;
  while (d && d->nextDescendant_ != this) d = d->nextDescendant_;
  return d;
}

void xParagon::setRelPlacement(const Vec3 &p) {
  const Vec3 P = ascendant_ ? ascendant_->absPlacement() : Vec3(0.0f, 0.0f, 0.0f);
  const Vec3 oldAbs = compose(P, relPlacement_);
  relPlacement_ = p;
  const Vec3 newAbs = compose(P, p);
  if (isInitialized()) notifyMoved(oldAbs, newAbs);
}

Vec3 xParagon::getRelPlacement() { return relPlacement_; }

void xParagon::setAbsPlacement(const Vec3 &w) {
  if (!ascendant_)
    setRelPlacement(w);
  else
    setRelPlacement(relative(ascendant_->absPlacement(), w));
}

Vec3 xParagon::absPlacement() {
  if (!ascendant_) return relPlacement_;
  return compose(ascendant_->absPlacement(), relPlacement_);
}

void xParagon::destroyHierarchy() {
  xParagon *d = firstDescendant_;
  while (d) {
    xParagon *next = d->nextDescendant_;  // read before d goes away
    d->destroyHierarchy();
    d = next;
  }
  delete this;
}

void xParagon::destroyCompleteHierarchy() {
  xParagon *d = firstDescendant_;
  while (d) {
    xParagon *next = d->nextDescendant_;  // read before d goes away
    if (d->owner_ == owner_) d->destroyCompleteHierarchy();
    d = next;
  }
  delete this;
}

}  // namespace QuillonPHX2D
