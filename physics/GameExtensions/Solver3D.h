#pragma once
// Solver of the 3D contact world: six velocity columns per body (linear, then angular), a
// seven-column state per body (position, then quaternion), and a projected Gauss-Seidel sweep
// over the rows the constraint sets write, like the 2D Gauss-Southwell solver.
#include "Foundation/Templates/xArray.h"
#include "GameExtensions/Math3D.h"

namespace QuillonPHX2D {

class xBody3D;
class xConstraintSet3D;

class xEquationStream3D {
 public:
  xEquationStream3D();
  void resize(int rows);
  void clearRows();  // zeroes the rows, bounds to +-1e38, links and bodies -1

  xMatrix jacA, jacB;  // rows x 6
  xVector invDiag, target, force, prevForce, change, lower, upper, softness, epsilon;
  xArray<int> bodyA, bodyB;  // island index of the row's bodies, -1 for none
  xArray<int> link;          // row whose previous force scales the bounds, -1 for none
  int nextRow = 0;
  int rowCount = 0;
};

class xBodyStream3D {
 public:
  static constexpr int kStateColumns = 7;
  xBodyStream3D();
  void resize(int bodies);

  int bodyCount() const { return bodies_; }
  xMatrix state;        // per body x, y, z, qx, qy, qz, qw
  xVector velocities;   // 6 per body: vx, vy, vz, wx, wy, wz
  xVector forces;       // 6 per body: force, torque
  xVector savedForces;  // 6 per body
  xVector invMass;      // 1 per body (0: not moved by the rows)
  xVector invInertia;   // 9 per body: world inverse inertia, row-major
  Vec3 gravity;

 private:
  int bodies_ = 0;
};

class xIntegrator3D {
 public:
  virtual ~xIntegrator3D() = default;
  virtual void integrate(xArray<xBody3D*>& bodies, xBodyStream3D& stream, float h) = 0;
  virtual int getOrder() = 0;
};

// Semi-implicit Euler: new velocities move the bodies; quaternions follow the angular velocity.
class xEuler1stOrder3D : public xIntegrator3D {
 public:
  void integrate(xArray<xBody3D*>& bodies, xBodyStream3D& stream, float h) override;
  int getOrder() override { return 1; }
};

class xSolverLCP3D {
 public:
  virtual ~xSolverLCP3D() = default;
  virtual void solve(xArray<xBody3D*>& bodies, xArray<xConstraintSet3D*>& sets,
                     xIntegrator3D* integrator, float dt) = 0;
  float substepLength() const { return h_; }

 protected:
  float h_ = 0.0f;
};

class xGaussSouthwell3D : public xSolverLCP3D {
 public:
  void solve(xArray<xBody3D*>& bodies, xArray<xConstraintSet3D*>& sets, xIntegrator3D* integrator,
             float dt) override;
  // The one pair of streams every island shares.
  static xEquationStream3D& equationStream();
  static xBodyStream3D& bodyStream();

 private:
  void bodyTerms(xArray<xBody3D*>& bodies, xBodyStream3D& B);
  void formSystem(xArray<xConstraintSet3D*>& sets, xEquationStream3D& E, xBodyStream3D& B);
  void inverseDiagonals(xEquationStream3D& E, xBodyStream3D& B);
  void sweeps(xEquationStream3D& E, xBodyStream3D& B);
  xArray<int> rowsPerSet_;
  xArray<int> order_;
};

}  // namespace QuillonPHX2D
