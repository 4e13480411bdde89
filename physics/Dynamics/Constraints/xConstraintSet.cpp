#include "Dynamics/Constraints/xConstraintSet.h"

#include <cmath>

#include "Dynamics/Bodies/xBody.h"
#include "Foundation/QlnAssert.h"

namespace QuillonPHX2D {

xConstraintSet::xConstraintSet()
    : bodySrc_(nullptr),
      nextInSrc_(nullptr),
      bodyDst_(nullptr),
      nextInDst_(nullptr),
      flags_(0),
      releaseForce_(QLN_MAX),
      entityOwner_(nullptr),
      placementInSrc_(),
      placementInDst_() {}

xConstraintSet::~xConstraintSet() { release(); }

void xConstraintSet::setJointPlacement(const Vec3 &inSrc, const Vec3 &inDst) {
  placementInSrc_ = inSrc;
  placementInDst_ = inDst;
}

void xConstraintSet::jointPlacement(Vec3 &inSrc, Vec3 &inDst) {
  inSrc = Vec3(0.0f, 0.0f, 0.0f);
  inDst = Vec3(0.0f, 0.0f, 0.0f);
}

int xConstraintSet::formEquations(xEquationStream &, xBodyStream &, float) { return 0; }
int xConstraintSet::getMaxDOF() { return 0; }
void xConstraintSet::render() {}
void xConstraintSet::storeSolutions(xVector &, int) {}
void xConstraintSet::restoreSolutions(xVector &, int) {}

void xConstraintSet::link(xBody *src, xBody *dst) {
  // A set tied twice into one chain would make the chain a loop.
  if (!QLN_ASSERT(src != dst || src == nullptr)) dst = nullptr;
  if (src) {
    nextInSrc_ = src->getFirstJoint();
    src->setFirstJoint(this);
  }
  if (dst) {
    nextInDst_ = dst->getFirstJoint();
    dst->setFirstJoint(this);
  }
  bodySrc_ = src;
  bodyDst_ = dst;
}

void xConstraintSet::attach(xBody *src, xBody *dst) { link(src, dst); }

xConstraintSet **xConstraintSet::linkFor(xBody *b) {
  if (!b) return nullptr;
  if (b == bodySrc_) return &nextInSrc_;
  if (b == bodyDst_) return &nextInDst_;
  return nullptr;
}

xConstraintSet *xConstraintSet::getNextInBody(xBody *b) const {
  if (!b) return nullptr;
  if (b == bodySrc_) return nextInSrc_;
  if (b == bodyDst_) return nextInDst_;
  return nullptr;
}

xConstraintSet *xConstraintSet::getPrevInBody(xBody *b) const {
  if (!b) return nullptr;
  xConstraintSet *s = b->getFirstJoint();
  if (s == this) return nullptr;
  while (s) {
    xConstraintSet *next = s->getNextInBody(b);
    if (next == this) return s;
    s = next;
  }
  return nullptr;
}

void xConstraintSet::unlinkFrom(xBody *b) {
  xConstraintSet *own = getNextInBody(b);
  if (b->getFirstJoint() == this) {
    b->setFirstJoint(own);
    return;
  }
  xConstraintSet *prev = getPrevInBody(b);
  if (!prev) return;
  xConstraintSet **slot = prev->linkFor(b);
  if (slot) *slot = own;
}

void xConstraintSet::release() {
  if (!bodySrc_ && !bodyDst_) return;
  if (bodySrc_) unlinkFrom(bodySrc_);
  if (bodyDst_) unlinkFrom(bodyDst_);
  flags_ &= ~Enabled;
  bodySrc_ = bodyDst_ = nullptr;
  nextInSrc_ = nextInDst_ = nullptr;
}

void xConstraintSet::initialize(xEntity *owner, xBody *src, xBody *dst, const Vec3 &point) {
  entityOwner_ = owner;
  release();
  if (!QLN_ASSERT(src != nullptr)) return;
  link(src, dst);
  Vec3 ps = src->absPlacement();
  Vec3 pd = bodyDst_ ? bodyDst_->absPlacement() : Vec3(0.0f, 0.0f, 0.0f);
  auto local = [&point](const Vec3 &body) {
    float c = std::cos(body.z), s = std::sin(body.z);
    float dx = point.x - body.x, dy = point.y - body.y;
    return Vec3(c * dx + s * dy, -s * dx + c * dy, point.z - body.z);
  };
  setJointPlacement(local(ps), local(pd));
  flags_ |= Enabled;
}

}  // namespace QuillonPHX2D
