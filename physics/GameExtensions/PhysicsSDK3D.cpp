#include "GameExtensions/PhysicsSDK3D.h"

#include "GameExtensions/CollisionContext3D.h"
#include "GameExtensions/PhysicsContext3D.h"

namespace QuillonPHX2D {

QuillonPhysicsSDK3D* g_ptrSDK3D = nullptr;

QuillonPhysicsSDK3D::QuillonPhysicsSDK3D()
    : physicsContext_(new xPhysicsContext3D()), collisionContext_(new xCollisionContext3D()) {}

QuillonPhysicsSDK3D::~QuillonPhysicsSDK3D() {
  delete physicsContext_;
  delete collisionContext_;
  if (g_ptrSDK3D == this) g_ptrSDK3D = nullptr;
}

void QuillonPhysicsSDK3D::setCollisionContext(xCollisionContext3D* cc) {
  if (cc == collisionContext_) return;
  delete collisionContext_;
  collisionContext_ = cc;
}

void QuillonPhysicsSDK3D::updateF(float dt) {
  if (paused_) return;
  // The solver divides by the step: a step that is not a positive number does nothing.
  if (!(dt > 0.0f) || !qlnIsFinite(dt)) return;
  timeStep_ = dt;
  physicsContext_->updateF(dt);
  ++currentTick_;
  timeNow_ += timeStep_;
  lastTimeStep_ = timeStep_;
}

float qlnStepFromMilliseconds3D(int milliseconds) {
  if (milliseconds <= 0) return 0.01f;
  return static_cast<float>(milliseconds * static_cast<double>(0.1f));
}

}  // namespace QuillonPHX2D

namespace QuillonPHX2D {
bool qlnPreStep3D(int milliseconds) {
  if (!g_ptrSDK3D) return false;
  g_ptrSDK3D->updateF(qlnStepFromMilliseconds3D(milliseconds));
  return true;
}
}  // namespace QuillonPHX2D
