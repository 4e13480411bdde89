#pragma once
#include "CollisionContext/xTempContact.h"
#include "Foundation/Math/QlnMath.h"
#include "Foundation/Paragon/xParagon.h"
#include "Foundation/Templates/xArray.h"
#include "Foundation/Templates/xSlotList.h"

namespace QuillonPHX2D {

class xBody;
class xContactConstraint;
class xEntity;
class xIntegrator;
class xSolverLCP;

// The dynamic half of the world: every body, the awake ones, the contact constraints of the
// step under way, the integrators and the solvers. Both body lists keep the order bodies came
// in (the step walks the awake ones in that order) and take a body in or out in constant time.
class QLN_API xPhysicsContext {
 public:

  xPhysicsContext();
  ~xPhysicsContext();

  // One world step.
  void updateF(float dt);

  void addBody(xBody *b);
  void removeBody(xBody *b);
  void addToActiveBodies(xBody *b);
  void removeFromActiveBodies(xBody *b);
  bool isInActiveBodies(xBody *b);
  int bodiesCount() const { return bodies_.count(); }
  int activeBodiesCount() const { return activeBodies_.count(); }
  int groups() const { return groups_; }
  xSolverLCP *getSolver();
  xIntegrator *getIntegrator();
  void moveBody(xBody *b, const Vec3 &from, const Vec3 &to);

  xArray<xContactConstraint *> &contactConstraints() { return contactConstraints_; }
  xArray<xTempContact> &tempContacts() { return tempContacts_; }
  const xArray<xBody *> &bodies();
  const xArray<xBody *> &activeBodies();
  xArray<xIntegrator *> &integrators() { return integrators_; }
  xArray<xSolverLCP *> &solvers() { return solvers_; }

  // True while updateF runs. Entities an owner destroys meanwhile (from a collision
  // notification) are destroyed when the step ends, so the step keeps no dangling pointers.
  bool isStepping() const { return stepping_; }
  void deferEntityDestruction(xEntity *e);

  xPhysicsContext(const xPhysicsContext &) = delete;
  xPhysicsContext &operator=(const xPhysicsContext &) = delete;

 private:
  xArray<xContactConstraint *> contactConstraints_;
  xArray<xTempContact> tempContacts_;
  xSlotList<xBody, xParagon::ListSlot<xParagon::AllList>> bodies_;
  xSlotList<xBody, xParagon::ListSlot<xParagon::AwakeList>> activeBodies_;
  xArray<xIntegrator *> integrators_;
  int currentIntegrator_;
  xArray<xSolverLCP *> solvers_;
  int currentSolver_;
  int groups_;

  void buildContactConstraints();
  void solveIslands(float dt);
  void releaseContactConstraints();
  void destroyDeferredEntities();

  bool stepping_;
  xArray<xEntity *> deferredEntities_;
  xArray<xContactConstraint *> contactPool_;  // released contact constraints kept for reuse
};

}  // namespace QuillonPHX2D
