#include "Dynamics/Bodies/xBody.h"

#include "Collision/Shapes/xShape.h"
#include "Dynamics/Constraints/xConstraintSet.h"
#include "Dynamics/World/xPhysicsContext.h"
#include "Foundation/QlnAssert.h"
#include "sdk/QuillonPhysicsSDK.h"

namespace QuillonPHX2D {

xBody::xBody()
    : islandIndex_(0), solverSetting_(4), mass_(1.0f), lastMovingTime_(0.0f), reserved_(1.0f), inertia_(1.0f),
      velocity_(), sleepDelay_(0.5f), angVelocity_(0.0f), force_(), torque_(0.0f), firstJoint_(nullptr),
      islandPass_(0) {
  velocity_ = Vec2(0.0f, 0.0f);
  force_ = Vec2(0.0f, 0.0f);
  setGravity();
}

xBody::xBody(float mass) : xBody() {
  mass_ = mass;
  solverSetting_ = 10;
}

xBody::~xBody() {
  // Every set in the chain forgets this body (release moves the head along).
  while (xConstraintSet *s = firstJoint_) {
    s->release();
    if (!QLN_ASSERT(firstJoint_ != s && "constraint set did not leave the body's chain")) firstJoint_ = nullptr;
  }
  for (xParagon *d = firstDescendant_; d; d = d->getNextDescendant()) {
    xShape *shape = dynamic_cast<xShape *>(d);
    if (shape && shape->getMainBody() == this) shape->setBody(nullptr);
  }
  if (xPhysicsContext *pc = world()) pc->removeBody(this);
  if (isActive()) xBody::deactivate();
}

xBody2DOF::~xBody2DOF() {}
xBody3DOF::~xBody3DOF() {}

xPhysicsContext *xBody::world() { return g_ptrSDK ? g_ptrSDK->physicsContext() : nullptr; }

void xBody::initialize() {
  xPhysicsContext *pc = world();
  if (!QLN_ASSERT(pc && "xBody::initialize needs a world (qlnCreateQuillonSDK)")) return;
  setInitializedFlag();
  pc->addBody(this);
  activate();
}

void xBody::activate() {
  if (isGroupActivated()) return;
  setGroupActivated();
  // Waking spreads to everything tied to this body by contacts or joints.
  for (xConstraintSet *s = firstJoint_; s;) {
    xConstraintSet *next = s->getNextInBody(this);
    xBody *dst = s->bodyDst();
    xBody *src = s->bodySrc();
    if (dst && dst != this) dst->activate();
    if (src && src != this) src->activate();
    s = next;
  }
  if (isActive()) return;
  setActive();
  if (xPhysicsContext *pc = world()) pc->addToActiveBodies(this);
  xParagon::activate();
}

void xBody::deactivate() {
  if (!isActive()) return;
  clearActive();
  clearGroupActivated();
  if (xPhysicsContext *pc = world()) pc->removeFromActiveBodies(this);
  xParagon::deactivate();
}

}  // namespace QuillonPHX2D
