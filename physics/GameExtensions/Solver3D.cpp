#include "GameExtensions/Solver3D.h"

#include <algorithm>
#include <cmath>

#include "GameExtensions/Body3D.h"
#include "GameExtensions/Configurator3D.h"
#include "GameExtensions/ConstraintSet3D.h"

namespace QuillonPHX2D {

namespace {

void zero(xVector& v) {
  for (int i = 0; i < v.size(); ++i) v(i) = 0.0f;
}

void fill(xVector& v, float s) {
  for (int i = 0; i < v.size(); ++i) v(i) = s;
}

void zero(xMatrix& m) {
  for (int r = 0; r < m.rows(); ++r)
    for (int c = 0; c < m.cols(); ++c) m(r, c) = 0.0f;
}

// Grows without keeping contents (callers clear after resizing).
void sizeVector(xVector& v, int n) { v.setSize(n); }

Vec3 vecAt(const xVector& v, int i) { return Vec3(v(i), v(i + 1), v(i + 2)); }

void setVecAt(xVector& v, int i, const Vec3& x) {
  v(i) = x.x;
  v(i + 1) = x.y;
  v(i + 2) = x.z;
}

Vec3 mulMat3(const xVector& m, int base, const Vec3& v) {
  return Vec3(m(base) * v.x + m(base + 1) * v.y + m(base + 2) * v.z,
              m(base + 3) * v.x + m(base + 4) * v.y + m(base + 5) * v.z,
              m(base + 6) * v.x + m(base + 7) * v.y + m(base + 8) * v.z);
}

}  // namespace

// ---- streams ----

xEquationStream3D::xEquationStream3D() { resize(128); }

void xEquationStream3D::resize(int rows) {
  jacA.setSize(rows, 6);
  jacB.setSize(rows, 6);
  xVector* vectors[] = {&invDiag, &target, &force, &prevForce, &change, &lower, &upper, &softness, &epsilon};
  for (xVector* v : vectors) sizeVector(*v, rows);
  bodyA.resize(rows);
  bodyB.resize(rows);
  link.resize(rows);
  clearRows();
}

void xEquationStream3D::clearRows() {
  zero(jacA);
  zero(jacB);
  xVector* zeros[] = {&invDiag, &target, &force, &prevForce, &change, &softness, &epsilon};
  for (xVector* v : zeros) zero(*v);
  fill(lower, -QLN_MAX);
  fill(upper, QLN_MAX);
  for (int i = 0; i < link.size(); ++i) link[i] = bodyA[i] = bodyB[i] = -1;
  nextRow = 0;
  rowCount = 0;
}

xBodyStream3D::xBodyStream3D() : gravity(0.0f) { resize(1); }

void xBodyStream3D::resize(int bodies) {
  bodies_ = bodies;
  state.setSize(bodies, kStateColumns);
  zero(state);
  xVector* six[] = {&velocities, &forces, &savedForces};
  for (xVector* v : six) {
    sizeVector(*v, 6 * bodies);
    zero(*v);
  }
  sizeVector(invMass, bodies);
  zero(invMass);
  sizeVector(invInertia, 9 * bodies);
  zero(invInertia);
}

// ---- integrator ----

void xEuler1stOrder3D::integrate(xArray<xBody3D*>& bodies, xBodyStream3D& B, float h) {
  for (int k = 0; k < bodies.size(); ++k) {
    xBody3D* body = bodies[k];
    const int i = body->streamIndex();
    if (i < 0 || i >= B.bodyCount()) continue;
    Vec3 v = vecAt(B.velocities, 6 * i) + vecAt(B.forces, 6 * i) * (B.invMass(i) * h);
    setVecAt(B.velocities, 6 * i, v);
    Vec3 w(0.0f);
    if (body->canRotate()) {
      w = vecAt(B.velocities, 6 * i + 3) + mulMat3(B.invInertia, 9 * i, vecAt(B.forces, 6 * i + 3)) * h;
      setVecAt(B.velocities, 6 * i + 3, w);
    }
    for (int c = 0; c < 3; ++c) B.state(i, c) += (c == 0 ? v.x : c == 1 ? v.y : v.z) * h;
    if (body->canRotate()) {
      // dq/dt = 0.5 (w, 0) q
      float qx = B.state(i, 3), qy = B.state(i, 4), qz = B.state(i, 5), qw = B.state(i, 6);
      const float hx = 0.5f * h * w.x, hy = 0.5f * h * w.y, hz = 0.5f * h * w.z;
      const float nx = qx + hx * qw + hy * qz - hz * qy;
      const float ny = qy + hy * qw + hz * qx - hx * qz;
      const float nz = qz + hz * qw + hx * qy - hy * qx;
      const float nw = qw - hx * qx - hy * qy - hz * qz;
      const float len = std::sqrt(nx * nx + ny * ny + nz * nz + nw * nw);
      if (len > 0.0f && qlnIsFinite(len)) {
        B.state(i, 3) = nx / len;
        B.state(i, 4) = ny / len;
        B.state(i, 5) = nz / len;
        B.state(i, 6) = nw / len;
      }
    }
  }
}

// ---- solver ----

xEquationStream3D& xGaussSouthwell3D::equationStream() {
  static xEquationStream3D* stream = new xEquationStream3D();
  return *stream;
}

xBodyStream3D& xGaussSouthwell3D::bodyStream() {
  static xBodyStream3D* stream = new xBodyStream3D();
  return *stream;
}

void xGaussSouthwell3D::solve(xArray<xBody3D*>& bodies, xArray<xConstraintSet3D*>& sets,
                              xIntegrator3D* integrator, float dt) {
  if (bodies.size() == 0 || !integrator || !(dt > 0.0f) || !qlnIsFinite(dt)) return;
  xConfigurator3D* cfg = xConfigurator3D::Instance();
  xEquationStream3D& E = equationStream();
  xBodyStream3D& B = bodyStream();

  int rows = 0;
  for (int s = 0; s < sets.size(); ++s) rows += sets[s]->getMaxDOF();
  B.gravity = cfg->gravity;
  int count = 1;
  if (cfg->substepping && bodies.size() > 1 && cfg->longestSubstep > 0.0f)
    // Clamped as a float first: a huge step must not overflow the count.
    count = static_cast<int>(std::max(1.0f, std::min(64.0f, std::ceil(dt / cfg->longestSubstep))));
  h_ = cfg->fullStep ? dt : dt / count;
  cfg->lastSubstepCount = count;

  E.resize(std::max(rows, 1));
  rowsPerSet_.resize(sets.size());
  B.resize(bodies.size());
  for (int k = 0; k < bodies.size(); ++k) {
    xBody3D* body = bodies[k];
    body->setStreamIndex(k);
    setVecAt(B.savedForces, 6 * k, body->force());
    if (body->canRotate()) setVecAt(B.savedForces, 6 * k + 3, body->torque());
    const Placement3D& p = body->absPlacement();
    const float st[7] = {p.t.x, p.t.y, p.t.z, p.qx, p.qy, p.qz, p.qw};
    for (int c = 0; c < 7; ++c) B.state(k, c) = st[c];
    setVecAt(B.velocities, 6 * k, body->velocity());
    body->setVelocity(Vec3(0.0f));
    if (body->canRotate()) {
      setVecAt(B.velocities, 6 * k + 3, body->angularVelocity());
      body->setAngularVelocity(Vec3(0.0f));
    }
  }

  for (int j = 0; j < count; ++j) {
    for (int k = 0; k < B.bodyCount() * 6; ++k) B.forces(k) = B.savedForces(k);
    E.clearRows();
    zero(B.invMass);
    zero(B.invInertia);
    bodyTerms(bodies, B);
    if (sets.size() > 0) {
      formSystem(sets, E, B);
      inverseDiagonals(E, B);
      sweeps(E, B);
    }
    integrator->integrate(bodies, B, h_);
  }

  for (int k = 0; k < bodies.size(); ++k) {
    xBody3D* body = bodies[k];
    Placement3D p(B.state(k, 3), B.state(k, 4), B.state(k, 5), B.state(k, 6),
                  Vec3(B.state(k, 0), B.state(k, 1), B.state(k, 2)));
    body->setPlacement(p);
    body->setVelocity(vecAt(B.velocities, 6 * k));
    if (body->canRotate()) body->setAngularVelocity(vecAt(B.velocities, 6 * k + 3));
    body->clearForces();
  }
}

void xGaussSouthwell3D::bodyTerms(xArray<xBody3D*>& bodies, xBodyStream3D& B) {
  xConfigurator3D* cfg = xConfigurator3D::Instance();
  for (int k = 0; k < bodies.size(); ++k) {
    xBody3D* body = bodies[k];
    if (!(body->flags & kFlag3DActive)) continue;  // a zero block: the rows do not move it
    setVecAt(B.velocities, 6 * k, vecAt(B.velocities, 6 * k) * cfg->dampingFactor);
    if ((body->flags & kFlag3DGravity) && !(body->flags & kFlag3DFluidForces))
      setVecAt(B.forces, 6 * k, vecAt(B.forces, 6 * k) + B.gravity * body->mass());
    body->flags &= ~kFlag3DFluidForces;
    B.invMass(k) = body->inverseMass();
    if (body->canRotate()) {
      setVecAt(B.velocities, 6 * k + 3, vecAt(B.velocities, 6 * k + 3) * cfg->dampingFactor);
      // World inverse inertia, column by column.
      for (int c = 0; c < 3; ++c) {
        const Vec3 col = body->applyInverseInertiaWorld(Vec3(c == 0 ? 1.0f : 0.0f, c == 1 ? 1.0f : 0.0f,
                                                             c == 2 ? 1.0f : 0.0f));
        B.invInertia(9 * k + c) = col.x;
        B.invInertia(9 * k + 3 + c) = col.y;
        B.invInertia(9 * k + 6 + c) = col.z;
      }
    }
  }
}

void xGaussSouthwell3D::formSystem(xArray<xConstraintSet3D*>& sets, xEquationStream3D& E,
                                   xBodyStream3D& B) {
  E.nextRow = 0;
  for (int s = 0; s < sets.size(); ++s) {
    xConstraintSet3D* set = sets[s];
    const int n = set->formEquations(E, B, h_);
    QLN_ASSERT(n <= set->getMaxDOF());
    for (int r = E.nextRow; r < E.nextRow + n; ++r) {
      E.bodyA[r] = set->bodySrc() ? set->bodySrc()->streamIndex() : -1;
      E.bodyB[r] = set->bodyDst() ? set->bodyDst()->streamIndex() : -1;
    }
    rowsPerSet_[s] = n;
    E.nextRow += n;
  }
  E.rowCount = E.nextRow;
}

namespace {

// J M^-1 J^T of one body's part of a row.
float rowMass(const xMatrix& J, int row, int body, const xBodyStream3D& B) {
  if (body < 0) return 0.0f;
  const Vec3 lin(J(row, 0), J(row, 1), J(row, 2));
  const Vec3 ang(J(row, 3), J(row, 4), J(row, 5));
  return B.invMass(body) * qlnDot3(lin, lin) + qlnDot3(ang, mulMat3(B.invInertia, 9 * body, ang));
}

// J (M^-1 f + v / h) of one body's part of a row.
float rowSpeed(const xMatrix& J, int row, int body, const xBodyStream3D& B, float h) {
  if (body < 0) return 0.0f;
  const Vec3 lin(J(row, 0), J(row, 1), J(row, 2));
  const Vec3 ang(J(row, 3), J(row, 4), J(row, 5));
  const Vec3 a = vecAt(B.forces, 6 * body) * B.invMass(body) + vecAt(B.velocities, 6 * body) * (1.0f / h);
  const Vec3 b = mulMat3(B.invInertia, 9 * body, vecAt(B.forces, 6 * body + 3)) +
                 vecAt(B.velocities, 6 * body + 3) * (1.0f / h);
  return qlnDot3(lin, a) + qlnDot3(ang, b);
}

void addForce(const xMatrix& J, int row, int body, xBodyStream3D& B, float x) {
  if (body < 0) return;
  for (int c = 0; c < 6; ++c) B.forces(6 * body + c) += J(row, c) * x;
}

}  // namespace

void xGaussSouthwell3D::inverseDiagonals(xEquationStream3D& E, xBodyStream3D& B) {
  for (int i = 0; i < E.rowCount; ++i) {
    const float k = rowMass(E.jacA, i, E.bodyA[i], B) + rowMass(E.jacB, i, E.bodyB[i], B);
    const float denom = (E.softness(i) / h_ + 1.0f) * k + E.epsilon(i) / h_;
    // A row that no body can answer (zero mass everywhere) is left out of the sweeps.
    E.invDiag(i) = (denom > 0.0f && qlnIsFinite(denom)) ? 1.0f / denom : 0.0f;
  }
}

void xGaussSouthwell3D::sweeps(xEquationStream3D& E, xBodyStream3D& B) {
  xConfigurator3D* cfg = xConfigurator3D::Instance();
  const int rows = E.rowCount;
  order_.resize(rows);
  for (int it = 0; it < cfg->iterationLimit; ++it) {
    for (int i = 0; i < rows; ++i) order_[i] = i;
    // Rows that changed most go first; ties keep their order.
    std::stable_sort(order_.dataPtr(), order_.dataPtr() + rows,
                     [&E](int l, int r) { return E.change(l) > E.change(r); });
    for (int o = 0; o < rows; ++o) {
      const int i = order_[o];
      if (E.invDiag(i) == 0.0f) continue;
      const int a = E.bodyA[i], b = E.bodyB[i];
      addForce(E.jacA, i, a, B, -E.force(i));
      addForce(E.jacB, i, b, B, -E.force(i));
      const float residual = E.target(i) / h_ - rowSpeed(E.jacA, i, a, B, h_) - rowSpeed(E.jacB, i, b, B, h_);
      float lo = E.lower(i), hi = E.upper(i);
      if (E.link[i] >= 0) {
        lo *= E.prevForce(E.link[i]);
        hi *= E.prevForce(E.link[i]);
      }
      float x = residual * E.invDiag(i);
      if (x < lo) x = lo;
      else if (x >= hi) x = hi;
      E.change(i) = std::fabs(x - E.prevForce(i));
      E.force(i) = x;
      addForce(E.jacA, i, a, B, x);
      addForce(E.jacB, i, b, B, x);
    }
    bool converged = true;
    for (int i = 0; i < rows; ++i) {
      const float tol = cfg->relativeTest ? std::fabs(cfg->convergenceTolerance * E.change(i))
                                          : cfg->convergenceTolerance;
      if (E.change(i) > tol) converged = false;
      E.prevForce(i) = E.force(i);
    }
    if (converged) break;
  }
}

}  // namespace QuillonPHX2D
