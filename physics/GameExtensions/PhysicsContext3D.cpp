#include "GameExtensions/PhysicsContext3D.h"

#include "GameExtensions/Body3D.h"
#include "GameExtensions/CollisionContext3D.h"
#include "GameExtensions/ConstraintSet3D.h"
#include "GameExtensions/PhysicsSDK3D.h"
#include "GameExtensions/Solver3D.h"

namespace QuillonPHX2D {

xPhysicsContext3D::xPhysicsContext3D() {
  integrators_.append(new xEuler1stOrder3D());
  for (int i = 0; i <= kStepSolver; ++i) solvers_.append(new xGaussSouthwell3D());
  bodies_.preallocate(64);
  activeBodies_.preallocate(64);
}

xPhysicsContext3D::~xPhysicsContext3D() {
  for (int i = 0; i < contactConstraints_.size(); ++i) {
    contactConstraints_[i]->release();
    delete contactConstraints_[i];
  }
  for (int i = 0; i < integrators_.size(); ++i) delete integrators_[i];
  for (int i = 0; i < solvers_.size(); ++i) delete solvers_[i];
}

void xPhysicsContext3D::addBody(xBody3D* b) {
  if (!bodies_.contains(b)) bodies_.append(b);
}

void xPhysicsContext3D::removeBody(xBody3D* b) { bodies_.remove(b); }

void xPhysicsContext3D::updateF(float dt) {
  tempContacts_.fastClear();
  for (int i = 0; i < activeBodies_.size(); ++i) activeBodies_[i]->activate();
  groups_ = 0;

  xCollisionContext3D* cc = g_ptrSDK3D ? g_ptrSDK3D->collisionContext() : nullptr;
  if (cc) cc->generateContacts();

  contactConstraints_.preallocate(tempContacts_.size());
  for (int i = 0; i < tempContacts_.size(); ++i) {
    const xTempContact3D& t = tempContacts_[i];
    xContactConstraint3D* c = new xContactConstraint3D();
    c->initialize(t.body0, t.body1, t.material0, t.material1, t.point, t.normal, t.depth);
    contactConstraints_.append(c);
  }

  solveIslands(dt);

  for (int i = 0; i < contactConstraints_.size(); ++i) {
    contactConstraints_[i]->release();
    delete contactConstraints_[i];
  }
  contactConstraints_.fastClear();
}

void xPhysicsContext3D::solveIslands(float dt) {
  const bool solverReady = solvers_.size() > kStepSolver && solvers_[kStepSolver] &&
                           integrators_.size() > 0 && integrators_[0];
  QLN_ASSERT(solverReady && "the 3D step needs solvers[2] and an integrator");

  xArray<xBody3D*> unvisited;
  unvisited.append(activeBodies_);
  xArray<xBody3D*> islandBodies;
  xArray<xConstraintSet3D*> islandSets;
  while (unvisited.size() > 0) {
    xBody3D* first = unvisited[0];
    unvisited.remove(0, 1);
    islandBodies.append(first);
    for (int b = 0; b < islandBodies.size(); ++b) {
      xBody3D* body = islandBodies[b];
      for (xConstraintSet3D* s = body->getFirstJoint(); s; s = s->getNextInBody(body)) {
        if (s->flags & kSet3DClosedSet) continue;
        islandSets.append(s);
        s->flags |= kSet3DClosedSet;
        xBody3D* other = s->bodySrc() == body ? s->bodyDst() : s->bodySrc();
        if (other && !islandBodies.contains(other)) {
          islandBodies.append(other);
          if (other->flags & kFlag3DActive) unvisited.remove(other);
        }
      }
    }
    if (solverReady) {
      currentSolver_ = kStepSolver;
      currentIntegrator_ = 0;
      solvers_[kStepSolver]->solve(islandBodies, islandSets, integrators_[0], dt);
      ++groups_;
    }
    for (int b = 0; b < islandBodies.size(); ++b) islandBodies[b]->flags &= ~kFlag3DGroupActivated;
    for (int s = 0; s < islandSets.size(); ++s) islandSets[s]->flags &= ~kSet3DClosedSet;
    islandBodies.fastClear();
    islandSets.fastClear();
  }
}

}  // namespace QuillonPHX2D
