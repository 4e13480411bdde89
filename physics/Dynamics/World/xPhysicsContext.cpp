#include "Dynamics/World/xPhysicsContext.h"

#include "Dynamics/Bodies/xBody.h"
#include "Dynamics/Constraints/xContactConstraint.h"
#include "Dynamics/Integrators/xIntegrator.h"
#include "physicscontext3d/solvers/linearcomplementaryproblem/iterative/xGaussSouthwell.h"

namespace QuillonPHX2D {

xPhysicsContext::xPhysicsContext() : currentIntegrator_(0), currentSolver_(0), groups_(0), stepping_(false) {
  integrators_.append(new xEuler1stOrder());
  solvers_.append(new xGaussSouthwell());
  bodies_.preallocate(64);
  activeBodies_.preallocate(64);
}

xPhysicsContext::~xPhysicsContext() {
  for (int i = 0; i < contactConstraints_.size(); ++i) contactConstraints_[i]->release();
  contactConstraints_.deleteAll();
  contactPool_.deleteAll();
  integrators_.deleteAll();
  solvers_.deleteAll();
}

void xPhysicsContext::addBody(xBody *b) { bodies_.append(b); }

void xPhysicsContext::removeBody(xBody *b) { bodies_.remove(b, true); }

void xPhysicsContext::addToActiveBodies(xBody *b) { activeBodies_.append(b); }

// Inside a step the awake list is only emptied at the body's place: the step's walks by index
// stay valid, and the list is closed up before the next walk that copies it.
void xPhysicsContext::removeFromActiveBodies(xBody *b) { activeBodies_.remove(b, !stepping_); }

const xArray<xBody *> &xPhysicsContext::bodies() { return bodies_.items(); }

const xArray<xBody *> &xPhysicsContext::activeBodies() { return activeBodies_.items(); }

bool xPhysicsContext::isInActiveBodies(xBody *b) { return activeBodies_.contains(b); }

xSolverLCP *xPhysicsContext::getSolver() {
  if (currentSolver_ < 0 || currentSolver_ >= solvers_.size()) return nullptr;
  return solvers_[currentSolver_];
}

xIntegrator *xPhysicsContext::getIntegrator() {
  if (currentIntegrator_ < 0 || currentIntegrator_ >= integrators_.size()) return nullptr;
  return integrators_[currentIntegrator_];
}

void xPhysicsContext::moveBody(xBody *, const Vec3 &, const Vec3 &) {}

}  // namespace QuillonPHX2D
