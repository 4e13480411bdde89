#include "sdk/QuillonPhysicsSDK.h"

#include <cmath>
#include <new>

#include "Collision/Shapes/xShapeDesc.h"
#include "CollisionContext/Categories/CategoryDispatcher.h"
#include "CollisionContext/Materials/MaterialDispatcher.h"
#include "CollisionContext/xCollisionContext.h"
#include "Configurator/ConfigContext.h"
#include "Dynamics/Bodies/xBodyDesc.h"
#include "Dynamics/World/xPhysicsContext.h"
#include "sdk/xEntity.h"
#if !defined(QLN_GAME_BUILD)
#include "Dynamics/Joints/xJointDesc.h"
#endif

namespace QuillonPHX2D {

QuillonPhysicsSDK *g_ptrSDK = nullptr;

QuillonPhysicsSDK::QuillonPhysicsSDK()
    : physicsContext_(nullptr), collisionContext_(nullptr), timeNow_(0.0f), timeStep_(0.0f), lastTimeStep_(0.0f),
      currentTick_(0), paused_(false) {
  xCategoryDispatcher::Instance();
  xMaterialDispatcher::Instance();
  xConfigurator::Instance();
  physicsContext_ = new xPhysicsContext();
  collisionContext_ = new xCollisionContext();
}

QuillonPhysicsSDK::~QuillonPhysicsSDK() { destroyWorld(); }

void QuillonPhysicsSDK::destroyWorld() {
  // Entities first: their bodies and shapes leave the contexts while those still exist.
  // An entity's destructor may destroy other entities, so take each one out before deleting it.
  while (xEntity *e = entities_.popLast()) delete e;
  entities_.clear();
  delete physicsContext_;
  physicsContext_ = nullptr;
  delete collisionContext_;
  collisionContext_ = nullptr;
}

void QuillonPhysicsSDK::init() {
  destroyWorld();
  timeNow_ = 0.0f;
  timeStep_ = 0.0f;
  lastTimeStep_ = 0.0f;
  currentTick_ = 0;
  paused_ = false;
  physicsContext_ = new xPhysicsContext();
  collisionContext_ = new xCollisionContext();
}

void QuillonPhysicsSDK::updateF(float dt) {
  if (paused_) return;
  // The world refuses a step that is not a positive number; the clock must not run on
  // without it, or time-based sleeping would see bodies rest that never moved.
  if (!(dt > 0.0f) || !std::isfinite(dt)) return;
  timeStep_ = dt;
  if (physicsContext_) physicsContext_->updateF(dt);
  ++currentTick_;
  timeNow_ += timeStep_;
  lastTimeStep_ = timeStep_;
}

xEntity *QuillonPhysicsSDK::createEntity(xEntityDesc *d) {
  if (!d) return nullptr;
  xEntity *e = d->createEntity();
  if (!e) return nullptr;
  entities_.append(e);
  e->notifyCreated(d);
  return e;
}

bool QuillonPhysicsSDK::removeEntity(xEntity *e) {
  return entities_.remove(e, true);
}

void QuillonPhysicsSDK::destroyEntity(xEntity *e) {
  // Inside a step (an owner reacting to a collision) the world still points at the entity's
  // bodies and shapes: it is destroyed when the step ends.
  if (physicsContext_ && physicsContext_->isStepping() && entities_.contains(e)) {
    physicsContext_->deferEntityDestruction(e);
    return;
  }
  if (removeEntity(e)) delete e;
}

xBody *QuillonPhysicsSDK::createBody(xBodyDesc &d) { return d.createBody(); }

xShape *QuillonPhysicsSDK::createShape(xShapeDesc &d) { return d.createShape(); }

#if !defined(QLN_GAME_BUILD)
xConstraintSet *QuillonPhysicsSDK::createConstraintSet(xJointDesc &d) { return d.createJoint(); }
#endif

QuillonPhysicsSDK *qlnCreateQuillonSDK() {
  // One world per process: a second create replaces (and frees) the first.
  qlnDestroyQuillonSDK();
  g_ptrSDK = new (std::nothrow) QuillonPhysicsSDK();
  return g_ptrSDK;
}

void qlnDestroyQuillonSDK() {
  QuillonPhysicsSDK *sdk = g_ptrSDK;
  if (!sdk) return;
  delete sdk;
  g_ptrSDK = nullptr;
}

}  // namespace QuillonPHX2D
