#include "GameExtensions/CollisionContext3D.h"

#include "CollisionContext/Categories/CategoryDispatcher.h"
#include "GameExtensions/Body3D.h"
#include "GameExtensions/ColliderTable3D.h"
#include "GameExtensions/Entity3D.h"
#include "GameExtensions/PhysicsContext3D.h"
#include "GameExtensions/PhysicsSDK3D.h"
#include "GameExtensions/Shape3D.h"

namespace QuillonPHX2D {

xCollisionContext3D::xCollisionContext3D() {}

xCollisionContext3D::~xCollisionContext3D() {}

xCategoryDispatcher* xCollisionContext3D::categoryDispatcher() {
  static xCategoryDispatcher* dispatcher = xCategoryDispatcher::CreateSeparateInstance();
  return dispatcher;
}

void xCollisionContext3D::addShape(xShape3D* s) {
  if (!s || shapes_.contains(s)) return;
  shapes_.append(s);
}

void xCollisionContext3D::removeShape(xShape3D* s) {
  const int i = shapes_.findIndex(s);
  if (i >= 0) {
    // While generating, the pass still walks the list: leave an empty slot.
    if (generating_)
      shapes_[i] = nullptr;
    else
      shapes_.remove(i, 1);
  }
  removeFromActive(s);
}

void xCollisionContext3D::addToActive(xShape3D* s) {
  if (s && !activeShapes_.contains(s)) activeShapes_.append(s);
}

void xCollisionContext3D::removeFromActive(xShape3D* s) {
  const int i = activeShapes_.findIndex(s);
  if (i < 0) return;
  // While generating, the pass still walks the list: leave an empty slot.
  if (generating_)
    activeShapes_[i] = nullptr;
  else
    activeShapes_.remove(i, 1);
}

void xCollisionContext3D::effectiveFlags(xShape3D* a, xShape3D* b, unsigned long& fa,
                                         unsigned long& fb) {
  xCollisionCategory* ca = a->collisionCategory();
  xCollisionCategory* cb = b->collisionCategory();
  fa = ca ? ca->categoryFlags() : 0;
  fb = cb ? cb->categoryFlags() : 0;
  if (!ca || !cb) return;
  xCategoryDispatcher* d = categoryDispatcher();
  d->configureFlagsForQuery(ca, cb);
  d->updateFlags(fa, fb);
}

void xCollisionContext3D::testPair(xShape3D* a, xShape3D* b) {
  if (!a || !b || a == b) return;
  // Shapes of one body never collide; two pieces of static geometry are never paired.
  if (a->mainBody() == b->mainBody()) return;
  unsigned long fa = 0, fb = 0;
  effectiveFlags(a, b, fa, fb);
  if ((fa | fb) & xCollisionCategory::Ignore) return;
  const int ia = a->getColliderID(), ib = b->getColliderID();
  if (ia < 0 || ib < 0) return;
  const xColliderTable3D* table = xColliderTable3D::Instance();
  if (xCollider3D c = table->entry(ia, ib))
    c(a, b);
  else if (xCollider3D c2 = table->entry(ib, ia))
    c2(b, a);
}

void xCollisionContext3D::generateContacts() {
  generating_ = true;
  xColliderTable3D::Instance();
  for (int i = 0; i < activeShapes_.size(); ++i) {
    xShape3D* a = activeShapes_[i];
    if (!a) continue;
    // Every shape is a neighbour: the 3D scenes are small, so the broad phase is the list.
    for (int j = 0; j < shapes_.size(); ++j) {
      xShape3D* n = shapes_[j];
      if (!n || n == a) continue;
      // A pair of awake shapes is handled once, from the shape made later: the same one on
      // every run, as in 2D.
      xBody3D* nb = n->mainBody();
      if (nb && (nb->flags & kFlag3DActive) && !(n->serial() < a->serial())) continue;
      testPair(a, n);
      if (!activeShapes_[i]) break;  // a notification removed A
    }
  }
  for (int i = activeShapes_.size() - 1; i >= 0; --i)
    if (!activeShapes_[i]) activeShapes_.remove(i, 1);
  for (int i = shapes_.size() - 1; i >= 0; --i)
    if (!shapes_[i]) shapes_.remove(i, 1);
  generating_ = false;
}

bool xCollisionContext3D::createTempContact(xShape3D* a, xShape3D* b, xMaterial* ma, xMaterial* mb,
                                            const Vec3& point, float depth, const Vec3& normal) {
  categoryDispatcher();
  bool letGoThrough = true;
  if (a && b) {
    unsigned long fa = 0, fb = 0;
    effectiveFlags(a, b, fa, fb);
    letGoThrough = ((fa | fb) & xCollisionCategory::LetGoThrough) != 0;
  }
  if (!a || !b) return false;
  xCollisionCategory* ca = a->collisionCategory();
  xCollisionCategory* cb = b->collisionCategory();
  const bool aLets = ca && ca->isLetGoThrough(), bLets = cb && cb->isLetGoThrough();
  const bool aNotifies = ca && ca->isNotify() && (aLets || !bLets);
  const bool bNotifies = cb && cb->isNotify() && (bLets || !aLets);

  bool refused = false;
  if (a->owner() && aNotifies && !a->owner()->notifyCollision(a, b, point, depth, normal))
    refused = true;
  if (b->owner() && bNotifies && !b->owner()->notifyCollision(a, b, point, depth, normal))
    return false;
  if (refused || letGoThrough) return false;
  if (!a->mainBody() && !b->mainBody()) return false;

  xTempContact3D t;
  if (a->mainBody()) {
    t.body0 = a->mainBody();
    t.body1 = b->mainBody();
    t.normal = normal;
  } else {
    t.body0 = b->mainBody();
    t.body1 = nullptr;
    t.normal = -normal;
  }
  t.material0 = ma;
  t.material1 = mb;
  t.point = point;
  t.depth = depth;
  t.flag = false;
  t.body0->activate();
  if (t.body1) t.body1->activate();
  if (!g_ptrSDK3D || !g_ptrSDK3D->physicsContext()) return false;
  g_ptrSDK3D->physicsContext()->tempContacts().append(t);
  return true;
}

}  // namespace QuillonPHX2D
