#include "GameExtensions/Body3D.h"

#include "GameExtensions/CollisionContext3D.h"
#include "GameExtensions/ConstraintSet3D.h"
#include "GameExtensions/PhysicsContext3D.h"
#include "GameExtensions/PhysicsSDK3D.h"
#include "GameExtensions/Shape3D.h"

namespace QuillonPHX2D {

namespace {
float inverse(float v) { return v > 0.0f && qlnIsFinite(v) ? 1.0f / v : 0.0f; }
}  // namespace

xBody3D::xBody3D(xPhysicsContext3D* world, float mass, const Vec3& inertia, bool canRotate)
    : world_(world),
      placement_(Placement3D::identity()),
      velocity_(0.0f),
      angularVelocity_(0.0f),
      force_(0.0f),
      torque_(0.0f),
      mass_(mass > 0.0f ? mass : 0.0f),
      invMass_(inverse(mass)),
      invInertia_(inverse(inertia.x), inverse(inertia.y), inverse(inertia.z)),
      rotates_(canRotate) {}

xBody3D::~xBody3D() {
  // No partner may keep a set that points at this body.
  while (xConstraintSet3D* s = firstSet_) {
    s->release();
    if (firstSet_ == s) firstSet_ = nullptr;
  }
  if (flags & kFlag3DActive) deactivate();
  // Shapes that outlive their body keep no pointer to it.
  for (int i = 0; i < shapeCount_; ++i) shapes_[i]->forgetBody();
  shapeCount_ = 0;
  if (world_) world_->removeBody(this);
}

void xBody3D::initialize() {
  if (!world_) return;
  world_->addBody(this);
  activate();
}

void xBody3D::activate() {
  if (flags & kFlag3DGroupActivated) return;
  flags |= kFlag3DGroupActivated;
  for (xConstraintSet3D* s = firstSet_; s; s = s->getNextInBody(this)) {
    xBody3D* other = s->bodySrc() == this ? s->bodyDst() : s->bodySrc();
    if (other && other != this) other->activate();
  }
  if (!(flags & kFlag3DActive) && world_) {
    flags |= kFlag3DActive;
    world_->addToActiveBodies(this);
    xCollisionContext3D* cc = g_ptrSDK3D ? g_ptrSDK3D->collisionContext() : nullptr;
    if (cc)
      for (int i = 0; i < shapeCount_; ++i) cc->addToActive(shapes_[i]);
  }
}

void xBody3D::deactivate() {
  flags &= ~(kFlag3DActive | kFlag3DGroupActivated);
  if (world_) world_->removeFromActiveBodies(this);
  xCollisionContext3D* cc = g_ptrSDK3D ? g_ptrSDK3D->collisionContext() : nullptr;
  if (cc)
    for (int i = 0; i < shapeCount_; ++i) cc->removeFromActive(shapes_[i]);
}

Vec3 xBody3D::applyInverseInertiaWorld(const Vec3& v) const {
  const Mtx33 r = qlnQuatToMtx33(placement_);
  const Vec3 local = qlnTransposeTimes33(r, v);
  return r * Vec3(local.x * invInertia_.x, local.y * invInertia_.y, local.z * invInertia_.z);
}

void xBody3D::attachShape(xShape3D* s) {
  if (!QLN_ASSERT(shapeCount_ < kMaxShapes && "too many shapes on one 3D body")) return;
  shapes_[shapeCount_++] = s;
}

void xBody3D::detachShape(xShape3D* s) {
  for (int i = 0; i < shapeCount_; ++i)
    if (shapes_[i] == s) {
      for (int j = i + 1; j < shapeCount_; ++j) shapes_[j - 1] = shapes_[j];
      --shapeCount_;
      return;
    }
}

}  // namespace QuillonPHX2D
