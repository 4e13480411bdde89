#pragma once
// The dynamic half of the 3D contact world: bodies, awake bodies, the step's contact
// constraints and contact candidates, the integrators and the solvers.
#include "Foundation/Templates/xArray.h"
#include "GameExtensions/TempContact3D.h"

namespace QuillonPHX2D {

class xBody3D;
class xContactConstraint3D;
class xIntegrator3D;
class xSolverLCP3D;

class xPhysicsContext3D {
 public:
  // The step always solves with solvers[2]; three are built.
  static constexpr int kStepSolver = 2;

  xPhysicsContext3D();
  ~xPhysicsContext3D();
  xPhysicsContext3D(const xPhysicsContext3D&) = delete;
  xPhysicsContext3D& operator=(const xPhysicsContext3D&) = delete;

  void updateF(float dt);

  void addBody(xBody3D* b);
  void removeBody(xBody3D* b);
  void addToActiveBodies(xBody3D* b) { activeBodies_.append(b); }
  void removeFromActiveBodies(xBody3D* b) { activeBodies_.remove(b); }
  bool isInActiveBodies(xBody3D* b) const { return activeBodies_.contains(b); }
  int bodiesCount() const { return bodies_.size(); }
  int activeBodiesCount() const { return activeBodies_.size(); }
  int groups() const { return groups_; }

  xArray<xTempContact3D>& tempContacts() { return tempContacts_; }
  xArray<xSolverLCP3D*>& solvers() { return solvers_; }
  xArray<xIntegrator3D*>& integrators() { return integrators_; }
  int contactConstraintCount() const { return contactConstraints_.size(); }

 private:
  void solveIslands(float dt);

  xArray<xContactConstraint3D*> contactConstraints_;
  xArray<xTempContact3D> tempContacts_;
  xArray<xBody3D*> bodies_;
  xArray<xBody3D*> activeBodies_;
  xArray<xIntegrator3D*> integrators_;
  int currentIntegrator_ = 0;
  xArray<xSolverLCP3D*> solvers_;
  int currentSolver_ = 0;
  int groups_ = 0;
};

}  // namespace QuillonPHX2D
