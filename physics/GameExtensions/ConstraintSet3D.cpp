#include "GameExtensions/ConstraintSet3D.h"

#include <algorithm>
#include <cmath>

#include "Dynamics/Constraints/ContactTuning.h"
#include "GameExtensions/Body3D.h"
#include "GameExtensions/Configurator3D.h"
#include "GameExtensions/Solver3D.h"

namespace QuillonPHX2D {

namespace {
// Friction of every 3D contact, as a share of its normal force (the rows are linked to it).
constexpr float kFrictionBound = 0.49999037f;
// Bounce of every 3D contact: the share of the approach speed it sends back (negative, since
// the row measures approach as a negative speed).
constexpr float kRestitution = -0.29999721f;
// Share of the overlap beyond the slop pushed out per unit of time: gentler than the 2D
// contacts, so stacked 3D bodies settle without jitter.
constexpr float kOverlapBiasFactor = 0.2f;
// Approach speeds below 30 step lengths a unit of time, with a tenth to spare, do not bounce:
// resting contacts stay at rest instead of buzzing.
constexpr float kBounceSpeedSteps = 30.0f;
constexpr float kBounceMargin = 1.1f;
// Squared tangential speeds below this have no direction: the plane's own axes are used.
constexpr float kStillTangent2 = 1e-08f;
}  // namespace

xConstraintSet3D::xConstraintSet3D() : releaseForce(0.0f), placementInSrc_(), placementInDst_() {}

void xConstraintSet3D::setJointPlacement(const Placement3D& inSrc, const Placement3D& inDst) {
  placementInSrc_ = inSrc;
  placementInDst_ = inDst;
}

void xConstraintSet3D::jointPlacement(Placement3D& inSrc, Placement3D& inDst) {
  inSrc = Placement3D::identity();
  inDst = Placement3D::identity();
}

xConstraintSet3D* xConstraintSet3D::getNextInBody(xBody3D* b) const {
  if (!b) return nullptr;
  if (b == src_) return nextInSrc_;
  if (b == dst_) return nextInDst_;
  return nullptr;
}

xConstraintSet3D* xConstraintSet3D::getPrevInBody(xBody3D* b) const {
  if (!b) return nullptr;
  xConstraintSet3D* s = b->getFirstJoint();
  if (s == this) return nullptr;
  while (s) {
    xConstraintSet3D* next = s->getNextInBody(b);
    if (next == this) return s;
    s = next;
  }
  return nullptr;
}

void xConstraintSet3D::unlinkFrom(xBody3D* b) {
  xConstraintSet3D* const own = getNextInBody(b);
  if (b->getFirstJoint() == this) {
    b->setFirstJoint(own);
    return;
  }
  xConstraintSet3D* prev = getPrevInBody(b);
  if (!prev) return;
  if (prev->src_ == b)
    prev->nextInSrc_ = own;
  else if (prev->dst_ == b)
    prev->nextInDst_ = own;
}

void xConstraintSet3D::release() {
  if (!src_ && !dst_) return;
  if (src_) unlinkFrom(src_);
  if (dst_ && dst_ != src_) unlinkFrom(dst_);
  flags &= ~kSet3DEnabled;
  src_ = dst_ = nullptr;
  nextInSrc_ = nextInDst_ = nullptr;
}

void xConstraintSet3D::attach(xBody3D* src, xBody3D* dst) {
  if (src) {
    nextInSrc_ = src->getFirstJoint();
    src->setFirstJoint(this);
  }
  if (dst) {
    nextInDst_ = dst->getFirstJoint();
    dst->setFirstJoint(this);
  }
  src_ = src;
  dst_ = dst;
}

xContactConstraint3D::xContactConstraint3D()
    : point(0.0f), normal(0.0f), lever0(0.0f), lever1(0.0f) {}

void xContactConstraint3D::initialize(xBody3D* b0, xBody3D* b1, xMaterial* m0, xMaterial* m1,
                                      const Vec3& p, const Vec3& n, float d) {
  if (!QLN_ASSERT(b0 != nullptr && "a 3D contact needs its first body")) return;
  release();
  attach(b0, b1);
  point = p;
  normal = n;
  depth = d;
  material0 = m0;
  material1 = m1;
  lever0 = p - b0->absPlacement().t;
  lever1 = b1 ? p - b1->absPlacement().t : p - Vec3(0.0f);
  flags |= kSet3DEnabled;
}

namespace {

// Position and velocities of a body as the stream holds them this substep.
bool readBody(xBodyStream3D& B, const xBody3D* body, Vec3& p, Vec3& u, Vec3& w) {
  const int i = body->streamIndex();
  const bool inStream = i >= 0 && i < B.bodyCount() && B.state.cols() >= xBodyStream3D::kStateColumns;
  if (!QLN_ASSERT(inStream && "a constrained body is missing from the body stream")) return false;
  p = Vec3(B.state(i, 0), B.state(i, 1), B.state(i, 2));
  u = Vec3(B.velocities(6 * i), B.velocities(6 * i + 1), B.velocities(6 * i + 2));
  w = body->canRotate() ? Vec3(B.velocities(6 * i + 3), B.velocities(6 * i + 4), B.velocities(6 * i + 5))
                        : Vec3(0.0f);
  return true;
}

void writeJacobian(xMatrix& J, int row, const Vec3& lin, const Vec3& ang) {
  J(row, 0) = lin.x;
  J(row, 1) = lin.y;
  J(row, 2) = lin.z;
  J(row, 3) = ang.x;
  J(row, 4) = ang.y;
  J(row, 5) = ang.z;
}

}  // namespace

int xContactConstraint3D::formEquations(xEquationStream3D& E, xBodyStream3D& B, float h) {
  xConfigurator3D* cfg = xConfigurator3D::Instance();
  const int r = E.nextRow;
  if (!src_ || !(h > 0.0f)) return 0;
  Vec3 p0(0.0f), u0(0.0f), w0(0.0f), p1(0.0f), u1(0.0f), w1(0.0f);
  if (!readBody(B, src_, p0, u0, w0)) return 0;
  if (dst_ && !readBody(B, dst_, p1, u1, w1)) return 0;
  const Vec3& n = normal;
  const float k = kOverlapBiasFactor / h;
  const Vec3 a0 = lever0 + p0, a1 = lever1 + p1;
  const Vec3 d0 = a0 - p0, d1 = a1 - p1;

  const float e = cfg->separationTest ? depth + qlnDot3(n, a0 - a1) : depth;
  if (e < 0.0f) return 0;

  const Vec3 j0Lin = -n, j0Ang = qlnCross3(d0, -n);
  const Vec3 j1Lin = n, j1Ang = qlnCross3(d1, n);
  writeJacobian(E.jacA, r, j0Lin, j0Ang);
  if (dst_) writeJacobian(E.jacB, r, j1Lin, j1Ang);
  E.lower(r) = 0.0f;
  E.upper(r) = QLN_MAX;
  const float slop = cfg->penetrationSlop;
  float b = std::min(k * std::max(e - slop, -slop), kContactMaxOverlapSpeed);

  if (cfg->restitution) {
    const float tau = h * kBounceSpeedSteps * kBounceMargin;
    // Relative approach speed as the normal row measures it.
    float s = qlnDot3(j0Lin, u0) + qlnDot3(j0Ang, w0);
    if (dst_) s += qlnDot3(j1Lin, u1) + qlnDot3(j1Ang, w1);
    if (tau >= 0.0f && -s > tau) b = std::max(b, kRestitution * s);
  }
  E.target(r) = b;
  if (!cfg->friction) return 1;

  Vec3 t1(0.0f), t2(0.0f);
  qlnPlaneSpace(-n, t1, t2);
  auto tangentSpeed = [&](const Vec3& t) {
    float c = qlnDot3(t, u0) + qlnDot3(w0, qlnCross3(d0, t));
    if (dst_) c -= qlnDot3(t, u1) + qlnDot3(w1, qlnCross3(d1, t));
    return c;
  };
  const Vec3 vt = t1 * tangentSpeed(t1) + t2 * tangentSpeed(t2);
  if (qlnLen2V3(vt) > kStillTangent2) {
    t1 = vt * (1.0f / qlnLenV3(vt));
    t2 = qlnCross3(t1, n);
  }
  const Vec3 tangents[2] = {t1, t2};
  for (int i = 0; i < 2; ++i) {
    const int row = r + 1 + i;
    const Vec3& t = tangents[i];
    writeJacobian(E.jacA, row, t, qlnCross3(d0, t));
    if (dst_) writeJacobian(E.jacB, row, -t, -qlnCross3(d1, t));
    E.lower(row) = -kFrictionBound;
    E.upper(row) = kFrictionBound;
    E.link[row] = r;
    E.target(row) = 0.0f;
    E.softness(row) = kContactFrictionSoftness;
  }
  return 3;
}

}  // namespace QuillonPHX2D
