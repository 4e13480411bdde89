#include "physicscontext3d/solvers/linearcomplementaryproblem/iterative/xGaussSouthwell.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>

#include "Configurator/ConfigContext.h"
#include "Dynamics/Bodies/xBody.h"
#include "Dynamics/Constraints/xConstraintSet.h"
#include "Dynamics/Integrators/xIntegrator.h"
#include "Foundation/QlnAssert.h"
#include "physicscontext3d/solvers/linearcomplementaryproblem/iterative/xBodyStream.h"
#include "physicscontext3d/solvers/linearcomplementaryproblem/iterative/xEquationStream.h"
#include "sdk/QuillonPhysicsSDK.h"

namespace QuillonPHX2D {
namespace {

// Tunnelling guard: a body whose move would pass through a shape is tried at shorter moves,
// each just short (by this factor) of the free part of the last, a few times at most, and not
// below a hundredth of the move, where it stays put instead.
constexpr float kTunnelBackOff = 0.99f;
constexpr int kTunnelTries = 10;
constexpr float kTunnelShortestMove = 0.01f;

std::unique_ptr<xEquationStream> g_equationStream;
std::unique_ptr<xBodyStream> g_bodyStream;

// A mass or inertia that gives no finite inverse (0, negative, unset) makes the body immovable
// along that axis instead of feeding infinities into the rows.
float safeInverse(float v) {
  float inv = 1.0f / v;
  return (v > 0.0f && std::isfinite(inv)) ? inv : 0.0f;
}

}  // namespace

xGaussSouthwell::xGaussSouthwell() : lastSweeps_(0) {}

xGaussSouthwell::~xGaussSouthwell() { rowsPerSet_.clear(); }

xEquationStream &xGaussSouthwell::equationStream() {
  if (!g_equationStream) g_equationStream.reset(new xEquationStream());
  return *g_equationStream;
}

xBodyStream &xGaussSouthwell::bodyStream() {
  if (!g_bodyStream) g_bodyStream.reset(new xBodyStream());
  return *g_bodyStream;
}

int xGaussSouthwell::substepCount(float dt, int bodyCount) {
  xConfigurator *cfg = xConfigurator::Instance();
  if (!cfg->substepping || bodyCount <= 1) return 1;
  float longest = cfg->longestSubstep;
  if (!(longest > 0.0f) || !std::isfinite(longest)) return 1;
  float n = std::ceil(dt / longest);
  if (!(n >= 1.0f)) return 1;
  return n > float(kMaxSubsteps) ? kMaxSubsteps : int(n);
}

void xGaussSouthwell::solve(xArray<xBody *> &bodies, xArray<xConstraintSet *> &sets, xIntegrator *integrator,
                            float dt) {
  // The rows divide by the substep length: a step that is not a positive number is no step.
  if (!(dt > 0.0f) || !std::isfinite(dt) || bodies.size() == 0 || !integrator) return;
  xEquationStream &eq = equationStream();
  xBodyStream &bs = bodyStream();
  xConfigurator *cfg = xConfigurator::Instance();

  int totalRows = 0;
  for (int k = 0; k < sets.size(); ++k) totalRows += sets[k]->getMaxDOF();
  bs.gravity = cfg->gravity;

  int count = substepCount(dt, bodies.size());
  h_ = cfg->fullStep ? dt : dt / float(count);
  cfg->lastSubstepCount = count;

  eq.resize(totalRows);
  rowsPerSet_.resize(sets.size(), false);
  int n = bodies.size();
  bs.resize(3 * n, n);
  bs.clear();
  loadBodies(bodies, bs);

  float start = g_ptrSDK ? g_ptrSDK->timeNow() : 0.0f;
  for (int j = 0; j < count; ++j) {
    // Solver time runs forward through the substeps, starting at the step's start.
    solverTime_ = start + float(j) * h_;
    for (int i = 0; i < n; ++i) {
      xBody *b = bodies[i];
      int c = 3 * i;
      b->setForce(Vec2(bs.savedForces(c), bs.savedForces(c + 1)));
      if (b->canRotate()) b->setTorque(bs.savedForces(c + 2));
    }
    eq.resetRows(totalRows);
    for (int r = 0; r < 3 * n; ++r) {
      bs.inverseMass(r, 0) = bs.inverseMass(r, 1) = bs.inverseMass(r, 2) = 0.0f;
      bs.forces(r) = 0.0f;
    }
    bodyTerms(bodies, bs);
    if (sets.size() > 0) {
      formSystem(sets, eq, bs);
      computeInverseDiagonals(eq, bs);
      sweeps(eq, bs);
      if (cfg->storeSolutions) {
        int offset = 0;
        for (int k = 0; k < sets.size(); ++k) {
          sets[k]->storeSolutions(eq.force, offset);
          offset += rowsPerSet_[k];
        }
      }
    }
    integrator->integrate(bodies, bs, h_);
  }
  writeBack(bodies, bs);

  if (cfg->sleeping) {
    for (int i = 0; i < n; ++i) {
      xBody *b = bodies[i];
      if (solverTime_ - b->getLastMovingTime() >= b->getSleepDelay()) b->deactivate();
    }
  }
  for (int i = 0; i < n; ++i) {
    bodies[i]->setForce(Vec2(0.0f, 0.0f));
    bodies[i]->setTorque(0.0f);
  }
}

void xGaussSouthwell::loadBodies(xArray<xBody *> &bodies, xBodyStream &bs) {
  for (int i = 0; i < bodies.size(); ++i) {
    xBody *b = bodies[i];
    int c = 3 * i;
    bool spins = b->canRotate() && b->isActive();
    Vec2 f = b->getForce();
    bs.savedForces(c) = f.x;
    bs.savedForces(c + 1) = f.y;
    if (spins) bs.savedForces(c + 2) = b->getTorque();
    Vec3 p = b->absPlacement();
    bs.positions(i, 0) = p.x;
    bs.positions(i, 1) = p.y;
    bs.positions(i, 2) = p.z;
    b->setIslandIndex(i);
    Vec2 v = b->getVelocity();
    bs.velocities(c) = v.x;
    bs.velocities(c + 1) = v.y;
    b->setVelocity(Vec2(0.0f, 0.0f));
    if (spins) {
      bs.velocities(c + 2) = b->getAngVelocity();
      b->setAngVelocity(0.0f);
    }
  }
}

void xGaussSouthwell::bodyTerms(xArray<xBody *> &bodies, xBodyStream &bs) {
  xConfigurator *cfg = xConfigurator::Instance();
  float damping = cfg->dampingFactor;
  for (int i = 0; i < bodies.size(); ++i) {
    xBody *b = bodies[i];
    if (!b->isActive()) continue;  // a sleeping island member keeps a zero block
    int c = 3 * i;
    bs.velocities(c) *= damping;
    bs.velocities(c + 1) *= damping;
    if (b->isGravity() && !b->isFluidForces()) b->addForce(bs.gravity * b->getMass());
    b->clearFluidForces();
    float invMass = safeInverse(b->getMass());
    bs.inverseMass(c, 0) = invMass;
    bs.inverseMass(c + 1, 1) = invMass;
    Vec2 f = b->getForce();
    bs.forces(c) = f.x;
    bs.forces(c + 1) = f.y;
    if (b->canRotate()) {
      bs.velocities(c + 2) *= damping;
      if (cfg->angularCorrection) b->setTorque(b->getTorque() - b->getIVec() * bs.velocities(c + 2));
      bs.inverseMass(c + 2, 2) = safeInverse(b->getIVec());
      bs.forces(c + 2) = b->getTorque();
    }
  }
}

void xGaussSouthwell::formSystem(xArray<xConstraintSet *> &sets, xEquationStream &eq, xBodyStream &bs) {
  eq.nextRow = 0;
  for (int k = 0; k < sets.size(); ++k) {
    xConstraintSet *s = sets[k];
    int first = eq.nextRow;
    int rows = s->formEquations(eq, bs, h_);
    QLN_ASSERT(rows >= 0 && rows <= s->getMaxDOF());
    if (rows < 0) rows = 0;
    xBody *src = s->bodySrc();
    xBody *dst = s->bodyDst();
    for (int r = first; r < first + rows; ++r) {
      eq.columnA[r] = src ? 3 * src->getIslandIndex() : -1;
      eq.freedomA[r] = src ? src->getDOF() : -1;
      eq.columnB[r] = dst ? 3 * dst->getIslandIndex() : -1;
      eq.freedomB[r] = dst ? dst->getDOF() : -1;
    }
    rowsPerSet_[k] = rows;
    eq.nextRow = first + rows;
    // A set that wrote fewer rows than it may (a contact that came apart) can have left
    // coefficients in the rows the next set now takes.
    int reserved = s->getMaxDOF();
    if (rows < reserved) eq.resetRowRange(first + rows, first + reserved);
  }
  eq.rowCount = eq.nextRow;
}

void xGaussSouthwell::computeInverseDiagonals(xEquationStream &eq, xBodyStream &bs) {
  float h = h_;
  for (int i = 0; i < eq.rowCount; ++i) {
    float k = 0.0f;
    int a = eq.columnA[i];
    if (a >= 0) {
      float m = bs.inverseMass(a, 0);
      k += m * (eq.jacobianA(i, 0) * eq.jacobianA(i, 0) + eq.jacobianA(i, 1) * eq.jacobianA(i, 1));
      if (eq.freedomA[i] == 3) k += bs.inverseMass(a + 2, 2) * eq.jacobianA(i, 2) * eq.jacobianA(i, 2);
    }
    int b = eq.columnB[i];
    if (b >= 0) {
      float m = bs.inverseMass(b, 0);
      k += m * (eq.jacobianB(i, 0) * eq.jacobianB(i, 0) + eq.jacobianB(i, 1) * eq.jacobianB(i, 1));
      if (eq.freedomB[i] == 3) k += bs.inverseMass(b + 2, 2) * eq.jacobianB(i, 2) * eq.jacobianB(i, 2);
    }
    float denom = (eq.softness(i) / h + 1.0f) * k + eq.epsilon(i) / h;
    // A row with no effective mass (zero Jacobian, a spring with no stiffness and no damping)
    // is left without force rather than divided by zero.
    eq.inverseDiagonal(i) = (denom > 0.0f && std::isfinite(denom)) ? 1.0f / denom : 0.0f;
  }
}

void xGaussSouthwell::sortRows(xEquationStream &eq) {
  // Rows by change, largest first, ties in index order: a strict, stable ordering.
  int n = eq.rowCount;
  int *order = eq.order.dataPtr();
  const float *change = eq.change.data();
  bool sorted = true;
  for (int i = 0; i < n; ++i) {
    order[i] = i;
    if (i > 0 && change[i] > change[i - 1]) sorted = false;
  }
  if (sorted) return;
  // Insertion-sorted runs, then bottom-up merges; no allocation (the scratch lives in the stream).
  const int run = 16;
  for (int lo = 0; lo < n; lo += run) {
    int hi = lo + run < n ? lo + run : n;
    for (int i = lo + 1; i < hi; ++i) {
      int row = order[i];
      int j = i - 1;
      while (j >= lo && change[row] > change[order[j]]) {
        order[j + 1] = order[j];
        --j;
      }
      order[j + 1] = row;
    }
  }
  int *src = order;
  int *dst = eq.sortScratch.dataPtr();
  for (int width = run; width < n; width *= 2) {
    for (int lo = 0; lo < n; lo += 2 * width) {
      int mid = lo + width < n ? lo + width : n;
      int hi = lo + 2 * width < n ? lo + 2 * width : n;
      int i = lo, j = mid, k = lo;
      while (i < mid && j < hi) dst[k++] = (change[src[j]] > change[src[i]]) ? src[j++] : src[i++];
      while (i < mid) dst[k++] = src[i++];
      while (j < hi) dst[k++] = src[j++];
    }
    int *t = src;
    src = dst;
    dst = t;
  }
  if (src != order)
    for (int i = 0; i < n; ++i) order[i] = src[i];
}

namespace {

// Raw views of the streams for the sweep loop, taken once per sweep.
struct RowView {
  const float *jacA, *jacB;  // stride floats per row
  float *conA, *conB;
  int stride;
  const float *target, *invDiag, *lower, *upper, *prev;
  float *force, *change, *residual;
  const int *colA, *colB, *dofA, *dofB, *link;
  const float *invMass;  // stride per row of the body stream's inverse-mass matrix
  int massStride;
  float *f;
  const float *v;
};

RowView viewOf(xEquationStream &eq, xBodyStream &bs) {
  RowView r;
  r.jacA = eq.jacobianA.data();
  r.jacB = eq.jacobianB.data();
  r.conA = eq.contributionA.data();
  r.conB = eq.contributionB.data();
  r.stride = eq.jacobianA.stride();
  r.target = eq.target.data();
  r.invDiag = eq.inverseDiagonal.data();
  r.lower = eq.lowerBound.data();
  r.upper = eq.upperBound.data();
  r.prev = eq.previousForce.data();
  r.force = eq.force.data();
  r.change = eq.change.data();
  r.residual = eq.residual.data();
  r.colA = eq.columnA.dataPtr();
  r.colB = eq.columnB.dataPtr();
  r.dofA = eq.freedomA.dataPtr();
  r.dofB = eq.freedomB.dataPtr();
  r.link = eq.boundLink.dataPtr();
  r.invMass = bs.inverseMass.data();
  r.massStride = bs.inverseMass.stride();
  r.f = bs.forces.data();
  r.v = bs.velocities.data();
  return r;
}

// Takes the row's own contribution out of its body's forces and measures the row on the rest.
inline float measureBody(const RowView &rv, const float *jac, const float *con, int c, int dof, float invH) {
  float *f = rv.f;
  f[c] -= con[0];
  f[c + 1] -= con[1];
  if (dof == 3) f[c + 2] -= con[2];
  float m = rv.invMass[c * rv.massStride];
  float s = jac[0] * (m * f[c] + rv.v[c] * invH) + jac[1] * (m * f[c + 1] + rv.v[c + 1] * invH);
  if (dof == 3) s += (rv.invMass[(c + 2) * rv.massStride + 2] * f[c + 2] + rv.v[c + 2] * invH) * jac[2];
  return s;
}

inline void applyBody(const RowView &rv, const float *jac, float *con, int c, int dof, float x) {
  float c0 = jac[0] * x, c1 = jac[1] * x, c2 = dof == 3 ? jac[2] * x : 0.0f;
  rv.f[c] += c0;
  rv.f[c + 1] += c1;
  if (dof == 3) rv.f[c + 2] += c2;
  con[0] = c0;
  con[1] = c1;
  con[2] = c2;
}

}  // namespace

void xGaussSouthwell::relaxRow(int i, xEquationStream &eq, xBodyStream &bs) {
  RowView rv = viewOf(eq, bs);
  relaxRowView(i, &rv);
}

void xGaussSouthwell::relaxRowView(int i, const void *view) {
  const RowView &rv = *static_cast<const RowView *>(view);
  const float invH = 1.0f / h_;
  const int off = i * rv.stride;
  const int a = rv.colA[i], b = rv.colB[i];
  const int da = rv.dofA[i], db = rv.dofB[i];
  float s = 0.0f;
  if (a >= 0) s += measureBody(rv, rv.jacA + off, rv.conA + off, a, da, invH);
  if (b >= 0) s += measureBody(rv, rv.jacB + off, rv.conB + off, b, db, invH);
  float residual = rv.target[i] * invH - s;
  rv.residual[i] = residual;
  float lo = rv.lower[i], hi = rv.upper[i];
  int link = rv.link[i];
  if (link >= 0) {
    lo *= rv.prev[link];
    hi *= rv.prev[link];
  }
  float x = residual * rv.invDiag[i];
  if (x < lo) x = lo;
  else if (x >= hi) x = hi;
  if (!std::isfinite(x)) x = 0.0f;
  rv.force[i] = x;
  rv.change[i] = std::fabs(x - rv.prev[i]);
  if (a >= 0) applyBody(rv, rv.jacA + off, rv.conA + off, a, da, x);
  if (b >= 0) applyBody(rv, rv.jacB + off, rv.conB + off, b, db, x);
}

void xGaussSouthwell::sweeps(xEquationStream &eq, xBodyStream &bs) {
  xConfigurator *cfg = xConfigurator::Instance();
  int limit = cfg->iterationLimit;
  float tol = cfg->convergenceTolerance;
  bool relative = cfg->relativeTest;
  int n = eq.rowCount;
  lastSweeps_ = 0;
  RowView rv = viewOf(eq, bs);
  for (int sweep = 0; sweep < limit; ++sweep) {
    sortRows(eq);
    const int *order = eq.order.dataPtr();
    for (int r = 0; r < n; ++r) relaxRowView(order[r], &rv);
    bool converged = true;
    for (int i = 0; i < n && converged; ++i) {
      float c = eq.change(i);
      // The relative test passes only rows that did not change at all: the intended
      // behaviour runs every sweep unless a whole sweep is still.
      converged = relative ? (c <= std::fabs(tol * c)) : (c <= tol);
    }
    for (int i = 0; i < n; ++i) eq.previousForce(i) = eq.force(i);
    ++lastSweeps_;
    if (converged) break;
  }
}

void xGaussSouthwell::writeBack(xArray<xBody *> &bodies, xBodyStream &bs) {
  xConfigurator *cfg = xConfigurator::Instance();
  for (int i = 0; i < bodies.size(); ++i) {
    xBody *b = bodies[i];
    int c = 3 * i;
    Vec3 target(bs.positions(i, 0), bs.positions(i, 1), bs.positions(i, 2));
    if (!cfg->tunnelling) {
      b->setRelPlacement(target);
    } else {
      Vec3 old = b->absPlacement();
      float fraction = 1.0f;
      for (int tries = 0; tries < kTunnelTries && fraction > kTunnelShortestMove; ++tries) {
        Vec3 candidate = old + (target - old) * fraction;
        float r = b->getTunnelingFreeMoveRatio(old, candidate);
        if (r >= 1.0f) {
          b->setRelPlacement(candidate);
          break;
        }
        fraction = r * fraction * kTunnelBackOff;
      }
    }
    b->setVelocity(Vec2(bs.velocities(c), bs.velocities(c + 1)));
    if (b->canRotate() && b->isActive()) b->setAngVelocity(bs.velocities(c + 2));
  }
}

}  // namespace QuillonPHX2D
