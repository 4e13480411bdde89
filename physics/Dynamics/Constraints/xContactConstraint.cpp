#include "Dynamics/Constraints/xContactConstraint.h"

#include <cmath>

#include "CollisionContext/Materials/MaterialDispatcher.h"
#include "Configurator/ConfigContext.h"
#include "Dynamics/Constraints/ContactTuning.h"
#include "Dynamics/Bodies/xBody.h"
#include "Foundation/QlnAssert.h"
#include "physicscontext3d/solvers/linearcomplementaryproblem/iterative/xBodyStream.h"
#include "physicscontext3d/solvers/linearcomplementaryproblem/iterative/xEquationStream.h"

namespace QuillonPHX2D {
namespace {

// A shape without a material counts as one with these: two of them meet with friction 0.5
// and restitution 0.3, the products of the two.
constexpr float kMissingFriction = 0.70710677f;
constexpr float kMissingRestitution = 0.54772f;
// Share of the overlap beyond the slop that a contact pushes out per unit of time: most of it,
// so piles do not sink, but not all, which would overshoot and make resting bodies jitter.
constexpr float kOverlapBiasFactor = 0.8f;
// Normal rows are all but rigid; the little softness keeps piles of rows well conditioned.
constexpr float kNormalSoftness = 1e-05f;

float cross(const Vec2 &a, const Vec2 &b) { return a.x * b.y - a.y * b.x; }

}  // namespace

xContactConstraint::xContactConstraint()
    : point_(0.0f, 0.0f),
      normal_(0.0f, 1.0f),
      depth_(0.0f),
      material0_(nullptr),
      material1_(nullptr),
      lever0_(0.0f, 0.0f),
      lever1_(0.0f, 0.0f),
      spareFlag_(false) {}

void xContactConstraint::initialize(xBody *b0, xBody *b1, xMaterial *m0, xMaterial *m1, const Vec2 &point,
                                    const Vec2 &normal, float depth, bool) {
  release();
  if (!QLN_ASSERT(b0 != nullptr)) return;
  link(b0, b1);
  point_ = point;
  normal_ = normal;
  depth_ = depth;
  material0_ = m0;
  material1_ = m1;
  Vec3 p0 = b0->absPlacement();
  lever0_ = Vec2(point.x - p0.x, point.y - p0.y);
  if (bodyDst_) {
    Vec3 p1 = bodyDst_->absPlacement();
    lever1_ = Vec2(point.x - p1.x, point.y - p1.y);
  } else {
    lever1_ = point;
  }
  flags_ |= Enabled;
}

int xContactConstraint::getMaxDOF() { return 2; }
int xContactConstraint::getNUE() { return 0; }

float xContactConstraint::frictionCoefficient() const {
  float f0 = material0_ ? material0_->dynamicFriction() : kMissingFriction;
  float f1 = material1_ ? material1_->dynamicFriction() : kMissingFriction;
  return f0 * f1;
}

float xContactConstraint::restitutionCoefficient() const {
  float r0 = material0_ ? material0_->restitution() : kMissingRestitution;
  float r1 = material1_ ? material1_->restitution() : kMissingRestitution;
  return r0 * r1;
}

int xContactConstraint::formEquations(xEquationStream &eq, xBodyStream &bs, float h) {
  if (!bodySrc_) return 0;
  xConfigurator *cfg = xConfigurator::Instance();
  const int r = eq.nextRow;
  const Vec2 n = normal_;
  const Vec2 d0 = lever0_, d1 = lever1_;

  int i0 = bodySrc_->getIslandIndex();
  Vec2 p0(bs.positions(i0, 0), bs.positions(i0, 1));
  Vec2 u0(bs.velocities(3 * i0), bs.velocities(3 * i0 + 1));
  float w0 = bodySrc_->canRotate() ? bs.velocities(3 * i0 + 2) : 0.0f;
  Vec2 p1(0.0f, 0.0f), u1(0.0f, 0.0f);
  float w1 = 0.0f;
  if (bodyDst_) {
    int i1 = bodyDst_->getIslandIndex();
    p1 = Vec2(bs.positions(i1, 0), bs.positions(i1, 1));
    u1 = Vec2(bs.velocities(3 * i1), bs.velocities(3 * i1 + 1));
    w1 = bodyDst_->canRotate() ? bs.velocities(3 * i1 + 2) : 0.0f;
  }

  // Normal row: only pushes.
  eq.jacobianA(r, 0) = -n.x;
  eq.jacobianA(r, 1) = -n.y;
  eq.jacobianA(r, 2) = -cross(d0, n);
  if (bodyDst_) {
    eq.jacobianB(r, 0) = n.x;
    eq.jacobianB(r, 1) = n.y;
    eq.jacobianB(r, 2) = cross(d1, n);
  }
  eq.lowerBound(r) = 0.0f;
  eq.upperBound(r) = QLN_MAX;

  float e = depth_;
  if (cfg->separationTest) {
    Vec2 a0 = p0 + d0, a1 = p1 + d1;
    e = depth_ + (n.x * (a0.x - a1.x) + n.y * (a0.y - a1.y));
    if (e < 0.0f) return 0;  // came apart in this substep
  }
  float slop = cfg->penetrationSlop;
  float b = (kOverlapBiasFactor / h) * qlnMax(e - slop, -slop);
  b = qlnMin(b, kContactMaxOverlapSpeed);
  if (cfg->restitution) {
    // Speed along the normal row; for two bodies the row's own relative measure.
    float v = eq.jacobianA(r, 0) * u0.x + eq.jacobianA(r, 1) * u0.y + eq.jacobianA(r, 2) * w0;
    if (bodyDst_) v += eq.jacobianB(r, 0) * u1.x + eq.jacobianB(r, 1) * u1.y + eq.jacobianB(r, 2) * w1;
    if (h >= 0.0f && -v > h) b = qlnMax(b, -v * restitutionCoefficient());
  }
  eq.target(r) = b;
  eq.softness(r) = kNormalSoftness;
  if (!cfg->friction) return 1;

  // Friction opposes body 0's motion (not the contact tangent); at rest it falls back to
  // the normal turned a quarter, its sense taken from body 0's angle.
  const int f = r + 1;
  float speed = std::sqrt(u0.x * u0.x + u0.y * u0.y);
  Vec2 t(-u0.x / speed, -u0.y / speed);
  if (!std::isfinite(t.x) || !std::isfinite(t.y)) {
    float s = bs.positions(i0, 2) >= 0.0f ? 1.0f : -1.0f;
    t = Vec2(s * n.y, -s * n.x);
  }
  eq.jacobianA(f, 0) = t.x;
  eq.jacobianA(f, 1) = t.y;
  eq.jacobianA(f, 2) = cross(d0, t);
  if (bodyDst_) {
    eq.jacobianB(f, 0) = -t.x;
    eq.jacobianB(f, 1) = -t.y;
    eq.jacobianB(f, 2) = -cross(d1, t);
  }
  float mu = frictionCoefficient();
  eq.lowerBound(f) = -mu;
  eq.upperBound(f) = mu;
  eq.boundLink[f] = r;
  eq.target(f) = 0.0f;
  eq.softness(f) = kContactFrictionSoftness;
  return 2;
}

}  // namespace QuillonPHX2D
