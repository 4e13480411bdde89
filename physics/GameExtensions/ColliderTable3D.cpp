#include "GameExtensions/ColliderTable3D.h"

#include <cmath>

#include "GameExtensions/CollisionContext3D.h"
#include "GameExtensions/PhysicsSDK3D.h"
#include "GameExtensions/Solid3D.h"

namespace QuillonPHX2D {

xColliderTable3D* xColliderTable3D::Instance() {
  static xColliderTable3D* instance = new xColliderTable3D();
  return instance;
}

xColliderTable3D::xColliderTable3D() {
  for (xCollider3D& c : table_) c = nullptr;
  auto set = [this](int row, int column, xCollider3D c) { table_[row * kStride + column] = c; };
  set(kCollider3DSphere, kCollider3DSphere, qlnCollideSphereSphere);
  set(kCollider3DSphere, kCollider3DBox, qlnCollideSphereBox);
  set(kCollider3DSphere, kCollider3DCylinder, qlnCollideSphereCylinder);
  set(kCollider3DSphere, kCollider3DCapsule, qlnCollideSphereCapsule);
  set(kCollider3DSphere, kCollider3DPlane, qlnCollideSpherePlane);
  set(kCollider3DSphere, kCollider3DFluid, qlnImmerseSphere);
  set(kCollider3DBox, kCollider3DBox, qlnCollideBoxBox3D);
  set(kCollider3DBox, kCollider3DCylinder, qlnCollideBoxCylinder);
  set(kCollider3DBox, kCollider3DCapsule, qlnCollideBoxCapsule);
  set(kCollider3DBox, kCollider3DPlane, qlnCollideBoxPlane);
  set(kCollider3DBox, kCollider3DFluid, qlnImmerseBox);
  set(kCollider3DCylinder, kCollider3DCylinder, qlnCollideCylinderCylinder);
  set(kCollider3DCylinder, kCollider3DCapsule, qlnCollideCylinderCapsule);
  set(kCollider3DCylinder, kCollider3DPlane, qlnCollideCylinderPlane);
  set(kCollider3DCylinder, kCollider3DFluid, qlnImmersePrism);
  set(kCollider3DCapsule, kCollider3DCapsule, qlnCollideCapsuleCapsule);
  set(kCollider3DCapsule, kCollider3DPlane, qlnCollideCapsulePlane);
  set(kCollider3DCapsule, kCollider3DFluid, qlnImmersePrism);
}

xCollider3D xColliderTable3D::entry(int row, int column) const {
  if (row < 0 || column < 0 || row >= kStride || column >= kStride) return nullptr;
  return table_[row * kStride + column];
}

bool qlnShapesMayTouch3D(xShape3D* a, xShape3D* b) {
  if (!a || !b) return false;
  Vec3 mnA(0.0f), mxA(0.0f), mnB(0.0f), mxB(0.0f);
  a->localBoundingBox(mnA, mxA);
  b->localBoundingBox(mnB, mxB);
  xOBB3D oa, ob;
  qlnPlaceBoxOBB(oa, qlnMtx34FromPlacement(a->absPlacement()), mnA, mxA);
  qlnPlaceBoxOBB(ob, qlnMtx34FromPlacement(b->absPlacement()), mnB, mxB);
  return qlnOverlapOBB(oa, ob);
}

bool qlnClipSegmentToPlane3D(const Vec3& n, float d, Vec3& p, Vec3& q) {
  const float dp = qlnDot3(n, p) + d;
  const float dq = qlnDot3(n, q) + d;
  if (dp < 0.0f && dq < 0.0f) return false;
  if (dp >= 0.0f && dq >= 0.0f) return true;
  const Vec3 x = p + (q - p) * (dp / (dp - dq));
  if (dp < 0.0f) p = x; else q = x;
  return true;
}

void qlnClipPolygonToPlane3D(const Vec3* in, int count, Vec3* out, int& outCount, const Vec3& n,
                             float d) {
  outCount = 0;
  if (count < 1) return;
  Vec3 prev = in[count - 1];
  float dPrev = qlnDot3(n, prev) + d;
  for (int i = 0; i < count; ++i) {
    const Vec3 cur = in[i];
    const float dCur = qlnDot3(n, cur) + d;
    if ((dPrev >= 0.0f) != (dCur >= 0.0f)) out[outCount++] = prev + (cur - prev) * (dPrev / (dPrev - dCur));
    if (dCur >= 0.0f) out[outCount++] = cur;
    prev = cur;
    dPrev = dCur;
  }
}

void qlnReportContact3D(xShape3D* first, xShape3D* second, const Vec3& point, float depth,
                        const Vec3& normal) {
  QLN_ASSERT(qlnIsFiniteV3(point) && qlnIsFiniteV3(normal) && qlnIsFinite(depth));
  if (!g_ptrSDK3D || !g_ptrSDK3D->collisionContext()) return;
  g_ptrSDK3D->collisionContext()->createTempContact(first, second, first->material(),
                                                    second->material(), point, depth, normal);
}

void qlnMarkTested3D(xShape3D* a, xShape3D* b) {
  a->flags |= kFlag3DTested;
  b->flags |= kFlag3DTested;
}

// ---- placed geometry ----

xSolid3D qlnSolidOf3D(const xShape3D* s) {
  xSolid3D g;
  g.xf = qlnMtx34FromPlacement(s->absPlacement());
  g.c = qlnTranslationOfMtx34(g.xf);
  for (int j = 0; j < 3; ++j) g.ax[j] = qlnAxisOfMtx34(g.xf, j);
  const xPrimitive3D* p = s->primitive();
  switch (p ? p->typeWord() : 0) {
    case kPrimitive3DSphere:
      g.r = static_cast<const xPrimitiveSphere3D*>(p)->radius;
      break;
    case kPrimitive3DBox:
      g.half = static_cast<const xPrimitiveBox3D*>(p)->size * 0.5f;
      break;
    case kPrimitive3DCylinder: {
      const auto* c = static_cast<const xPrimitiveCylinder3D*>(p);
      g.r = c->radius;
      g.h = c->height;
      g.core = c->height * 0.5f;
      break;
    }
    case kPrimitive3DCapsule: {
      const auto* c = static_cast<const xPrimitiveCapsule3D*>(p);
      g.r = c->radius;
      g.h = c->height;
      // A capsule shorter than its two caps is a sphere: its core has no length.
      g.core = std::fmax(0.0f, c->height * 0.5f - c->radius);
      break;
    }
    case kPrimitive3DFluid: {
      const auto* f = static_cast<const xPrimitiveFluid3D*>(p);
      g.half = (f->boxMax - f->boxMin) * 0.5f;
      break;
    }
    default:
      break;
  }
  return g;
}

void qlnWorldPlane3D(const xShape3D* s, Vec3& n, float& d) {
  const auto* p = static_cast<const xPrimitivePlane3D*>(s->primitive());
  const Mtx34 m = qlnMtx34FromPlacement(s->absPlacement());
  n = qlnRotationOfMtx34(m) * p->normal;
  d = p->offset - qlnDot3(n, qlnTranslationOfMtx34(m));
}

bool qlnClosestPointsOnLines3D(const Vec3& p1, const Vec3& d1, const Vec3& p2, const Vec3& d2,
                               float& s, float& t) {
  const float e = qlnDot3(d1, d2);
  const float f = 1.0f - e * e;
  if (!(f > 1e-12f)) {
    s = t = 0.0f;
    return false;
  }
  const Vec3 g = p2 - p1;
  const float A = qlnDot3(g, d1);
  const float B = -qlnDot3(g, d2);
  s = (A + e * B) / f;
  t = (B + e * A) / f;
  return true;
}

void qlnClosestPointsOnSegments3D(const Vec3& p1, const Vec3& q1, const Vec3& p2, const Vec3& q2,
                                  Vec3& c1, Vec3& c2) {
  const Vec3 d1 = q1 - p1, d2 = q2 - p2, r = p1 - p2;
  const float a = qlnDot3(d1, d1), e = qlnDot3(d2, d2), f = qlnDot3(d2, r);
  float s = 0.0f, t = 0.0f;
  if (a <= 1e-12f && e <= 1e-12f) {
    c1 = p1;
    c2 = p2;
    return;
  }
  if (a <= 1e-12f) {
    t = std::fmin(std::fmax(f / e, 0.0f), 1.0f);
  } else {
    const float c = qlnDot3(d1, r);
    if (e <= 1e-12f) {
      s = std::fmin(std::fmax(-c / a, 0.0f), 1.0f);
    } else {
      const float b = qlnDot3(d1, d2);
      const float denom = a * e - b * b;
      s = denom > 1e-12f ? std::fmin(std::fmax((b * f - c * e) / denom, 0.0f), 1.0f) : 0.0f;
      t = (b * s + f) / e;
      if (t < 0.0f) {
        t = 0.0f;
        s = std::fmin(std::fmax(-c / a, 0.0f), 1.0f);
      } else if (t > 1.0f) {
        t = 1.0f;
        s = std::fmin(std::fmax((b - c) / a, 0.0f), 1.0f);
      }
    }
  }
  c1 = p1 + d1 * s;
  c2 = p2 + d2 * t;
}

Vec3 qlnSafeNormalize3D(const Vec3& v, const Vec3& fallback) {
  const float len = qlnLenV3(v);
  if (!(len > 1e-12f) || !qlnIsFinite(len)) return fallback;
  return v * (1.0f / len);
}

// ---- sphere colliders ----

void qlnCollideSphereSphere(xShape3D* a, xShape3D* b) {
  xColliderTable3D::Instance();
  if (!qlnShapesMayTouch3D(a, b)) return;
  const xSolid3D A = qlnSolidOf3D(a), B = qlnSolidOf3D(b);
  const float d = qlnLenV3(B.c - A.c);
  if (d > A.r + B.r) return;
  // Coincident centres give no direction: separate along +y.
  const Vec3 n = d > 1e-12f ? (B.c - A.c) * (1.0f / d) : Vec3(0.0f, 1.0f, 0.0f);
  qlnReportContact3D(a, b, A.c + n * A.r, A.r + B.r - d, n);
}

void qlnCollideSphereCapsule(xShape3D* a, xShape3D* b) {
  xColliderTable3D::Instance();
  if (!qlnShapesMayTouch3D(a, b)) return;
  const xSolid3D S = qlnSolidOf3D(a), C = qlnSolidOf3D(b);
  const Vec3 local = C.toLocal(S.c);
  const float y = std::fmin(std::fmax(local.y, -C.core), C.core);
  const Vec3 qLocal(0.0f, y, 0.0f);
  const float d = qlnLenV3(local - qLocal);
  if (d > S.r + C.r) return;
  qlnMarkTested3D(a, b);
  const Vec3 q = C.toWorld(qLocal);
  // A centre on the capsule's core gives no direction: push across the capsule's local x.
  const Vec3 n = d > 1e-12f ? (q - S.c) * (1.0f / d) : C.ax[0];
  const float depth = S.r + C.r - d;
  qlnReportContact3D(a, b, S.c + n * ((d + S.r - C.r) * 0.5f), depth, n);
}

}  // namespace QuillonPHX2D
