#include "CollisionContext/xCollisionContext.h"

#include "Collision/Shapes/xShape.h"
#include "CollisionContext/ClassificationSpace/xQuadTree.h"

namespace QuillonPHX2D {

xCollisionContext::xCollisionContext()
    : useClassificationSpace_(true), generating_(false), cc_pCollisionSpace(new xQuadTree()) {}

xCollisionContext::~xCollisionContext() {
  // Shapes that outlive the world must not point into a freed tree.
  for (int i = 0; i < shapes_.size(); ++i)
    if (xShape *s = shapes_[i]) s->clearAddedToCS();
  shapes_.clear();
  activeShapes_.clear();
  delete cc_pCollisionSpace;
  cc_pCollisionSpace = nullptr;
}

void xCollisionContext::addShape(xShape *s) {
  if (!s || s->isAddedToCS()) return;
  shapes_.append(s);
  cc_pCollisionSpace->insertToCS(s);
  s->setAddedToCS();
}

void xCollisionContext::removeShape(xShape *s) {
  if (!s || !s->isAddedToCS()) return;
  shapes_.remove(s, true);
  cc_pCollisionSpace->removeFromCS(s);
  s->clearAddedToCS();
}

void xCollisionContext::addToActive(xShape *s) { activeShapes_.append(s); }

void xCollisionContext::removeFromActive(xShape *s) { activeShapes_.remove(s, !generating_); }

bool xCollisionContext::isInActive(xShape *s) { return activeShapes_.contains(s); }

const xArray<xShape *> &xCollisionContext::shapes() { return shapes_.items(); }

const xArray<xShape *> &xCollisionContext::activeShapes() {
  if (!generating_) activeShapes_.compact();
  return activeShapes_.withHoles();
}

void xCollisionContext::moveShape(xShape *s, const Vec3 &, const Vec3 &) { cc_pCollisionSpace->moveInsideCS(s); }

}  // namespace QuillonPHX2D
