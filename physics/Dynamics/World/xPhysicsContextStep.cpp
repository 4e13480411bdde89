// The world step: wake, generate contacts, build contact constraints, split the awake bodies
// into islands joined by constraint sets, solve each island, drop the contacts.
#include <algorithm>
#include <cmath>

#include "CollisionContext/xCollisionContext.h"
#include "Dynamics/Bodies/xBody.h"
#include "Dynamics/Constraints/xContactConstraint.h"
#include "Dynamics/Integrators/xIntegrator.h"
#include "Dynamics/World/xPhysicsContext.h"
#include "Foundation/QlnAssert.h"
#include "physicscontext3d/solvers/linearcomplementaryproblem/iterative/xSolverLCP.h"
#include "sdk/QuillonPhysicsSDK.h"

namespace QuillonPHX2D {
namespace {

// Island scratch, program-wide like the solver streams: the engine steps one world at a time.
struct IslandScratch {
  xArray<xBody *> unvisited;
  xArray<xBody *> bodies;
  xArray<xConstraintSet *> sets;
  // The number of the current island pass; a body marked with it is taken.
  unsigned long long pass = 0;
};

// Marks the body as taken by this pass; false when it already was.
bool take(xBody *b, unsigned long long pass) {
  if (b->islandPass() == pass) return false;
  b->setIslandPass(pass);
  return true;
}

// How many bodies ahead of the island being built the pass asks the memory for.
constexpr int kFetchAhead = 4;

IslandScratch &scratch() {
  static IslandScratch s;
  return s;
}

}  // namespace

void xPhysicsContext::updateF(float dt) {
  // The solver divides by the step: a step that is not a positive number does nothing.
  if (!(dt > 0.0f) || !std::isfinite(dt)) return;
  if (!QLN_ASSERT(!stepping_)) return;
  stepping_ = true;

  tempContacts_.fastClear();
  activeBodies_.compact();
  // Waking may append to the active list, so its count is read on every pass.
  for (int i = 0; i < activeBodies_.size(); ++i)
    if (xBody *b = activeBodies_[i]) b->activate();
  groups_ = 0;

  if (g_ptrSDK && g_ptrSDK->collisionContext()) g_ptrSDK->collisionContext()->generateContacts();
  buildContactConstraints();
  solveIslands(dt);
  releaseContactConstraints();

  stepping_ = false;
  destroyDeferredEntities();
}

void xPhysicsContext::buildContactConstraints() {
  int n = tempContacts_.size();
  if (contactConstraints_.size() + n > 0) contactConstraints_.preallocate(n);
  for (int i = 0; i < n; ++i) {
    const xTempContact &t = tempContacts_[i];
    xContactConstraint *c = contactPool_.size() > 0 ? contactPool_.pop(false) : new xContactConstraint();
    c->initialize(t.body0, t.body1, t.material0, t.material1, t.point, t.normal, t.depth, t.flag);
    contactConstraints_.append(c);
  }
}

void xPhysicsContext::releaseContactConstraints() {
  // Released constraints are kept for the next step instead of being deleted and made again.
  for (int i = 0; i < contactConstraints_.size(); ++i) {
    contactConstraints_[i]->release();
    contactPool_.append(contactConstraints_[i]);
  }
  contactConstraints_.fastClear();
}

void xPhysicsContext::solveIslands(float dt) {
  IslandScratch &s = scratch();
  s.unvisited.fastClear();
  s.unvisited.append(activeBodies_.items());
  const unsigned long long pass = ++s.pass;
  xSolverLCP *solver = solvers_.size() > 0 ? solvers_[0] : nullptr;
  xIntegrator *integrator = integrators_.size() > 0 ? integrators_[0] : nullptr;
  QLN_ASSERT(solver != nullptr && integrator != nullptr);

  // The to-do list is walked in order; bodies already taken into an island are skipped,
  // which is what removing them from the list would do.
  for (int next = 0; next < s.unvisited.size(); ++next) {
    xBody *first = s.unvisited[next];
    // Bodies lie scattered in memory: the one a few places on is fetched meanwhile.
    if (next + kFetchAhead < s.unvisited.size()) __builtin_prefetch(s.unvisited[next + kFetchAhead]);
    if (!take(first, pass)) continue;
    s.bodies.fastClear();
    s.sets.fastClear();
    s.bodies.append(first);
    for (int i = 0; i < s.bodies.size(); ++i) {
      xBody *body = s.bodies[i];
      for (xConstraintSet *set = body->getFirstJoint(); set; set = set->getNextInBody(body)) {
        if (set->isClosedSet()) continue;
        s.sets.append(set);
        set->setClosedSet();
        xBody *other = set->bodySrc() == body ? set->bodyDst() : set->bodySrc();
        if (other && take(other, pass)) s.bodies.append(other);
      }
    }
    currentSolver_ = 0;
    currentIntegrator_ = 0;
    if (solver && integrator) solver->solve(s.bodies, s.sets, integrator, dt);
    ++groups_;
    for (int i = 0; i < s.bodies.size(); ++i) s.bodies[i]->clearGroupActivated();
    for (int i = 0; i < s.sets.size(); ++i) s.sets[i]->clearClosedSet();
  }
  s.bodies.fastClear();
  s.sets.fastClear();
  s.unvisited.fastClear();
}

void xPhysicsContext::deferEntityDestruction(xEntity *e) {
  if (e && !deferredEntities_.contains(e)) deferredEntities_.append(e);
}

void xPhysicsContext::destroyDeferredEntities() {
  // Owners asked for these during the step; now nothing of the step points at them.
  while (deferredEntities_.size() > 0) {
    xEntity *e = deferredEntities_.pop(false);
    if (g_ptrSDK) g_ptrSDK->destroyEntity(e);
  }
}

}  // namespace QuillonPHX2D
