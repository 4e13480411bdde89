#include "GameExtensions/FluidVolumes3D.h"

#include <algorithm>
#include <cmath>

#include "CollisionContext/Categories/CategoryDispatcher.h"
#include "CollisionContext/Materials/MaterialDispatcher.h"
#include "GameExtensions/Body3D.h"
#include "GameExtensions/ColliderTable3D.h"
#include "GameExtensions/Configurator3D.h"
#include "GameExtensions/Entity3D.h"
#include "GameExtensions/PhysicsSDK3D.h"
#include "GameExtensions/Solid3D.h"

namespace QuillonPHX2D {

namespace {

struct xSurface3D {
  Vec3 up;
  Vec3 q;  // a point of the surface
};

// The surface: the plane through the fluid box's upper corner, normal to the fluid's local y.
xSurface3D surfaceOf(const xShape3D* fluid) {
  Vec3 mn(0.0f), mx(0.0f);
  fluid->localBoundingBox(mn, mx);
  const Mtx34 m = qlnMtx34FromPlacement(fluid->absPlacement());
  return {qlnAxisOfMtx34(m, 1), m * mx};
}

xMaterial* materialOf(const xShape3D* s) {
  return s->material() ? s->material() : xMaterialDispatcher::Instance()->defaultMaterial();
}

bool notifies(const xShape3D* s) {
  return s->owner() && s->collisionCategory() && s->collisionCategory()->isNotify();
}

// Orders a face so its vertices run counter-clockwise seen from outside.
void orientOutward(Vec3* poly, int count, const Vec3& inside) {
  Vec3 centre(0.0f);
  for (int i = 0; i < count; ++i) centre += poly[i];
  centre = centre * (1.0f / count);
  const Vec3 n = qlnCross3(poly[1] - poly[0], poly[2] - poly[0]);
  if (qlnDot3(n, centre - inside) < 0.0f) std::reverse(poly, poly + count);
}

void finish(xShape3D* immersed, xShape3D* fluid, const xImmersion3D& rec) {
  xFluidForces3D* ff = xFluidForces3D::Instance();
  const Vec3 force = ff->buoyancy(immersed, rec.volume, fluid);
  ff->apply(immersed, rec, fluid->dampingCoefficient(), force);
  ff->notifyImmersion(immersed, fluid, rec.volume);
}

bool opening(xShape3D* a, xShape3D* fluid) {
  if (!a || !fluid) return false;
  xColliderTable3D::Instance();
  return qlnShapesMayTouch3D(a, fluid);
}

}  // namespace

xFluidForces3D* xFluidForces3D::Instance() {
  static xFluidForces3D* instance = new xFluidForces3D();
  return instance;
}

Vec3 xFluidForces3D::buoyancy(xShape3D* immersed, float volume, xShape3D* fluid) {
  xMaterial* mi = materialOf(immersed);
  xMaterial* mf = materialOf(fluid);
  if (mi == mf || !mi || !mf) return Vec3(0.0f);
  if (!immersed->primitive()) return Vec3(0.0f);
  const float mass = mi->density() * immersed->primitive()->volume();
  // Weight and lift together: the lift points against gravity.
  return xConfigurator3D::Instance()->gravity * -(mf->density() * volume - mass);
}

void xFluidForces3D::apply(xShape3D* immersed, const xImmersion3D& rec, float coefficient,
                           const Vec3& force) {
  xBody3D* body = immersed->mainBody();
  if (!body) return;
  body->flags |= kFlag3DFluidForces;
  body->addForce(force);
  const float dt = g_ptrSDK3D ? g_ptrSDK3D->timeStep() : 0.0f;
  const float k = std::min(std::exp(-dt * coefficient), 1.0f);
  body->setVelocity(body->velocity() * k);
  const Vec3 r = rec.centre - immersed->absPlacement().t;
  if (qlnLenV3(r) > 0.001f && immersed->primitive()) {
    // Only the lift turns the body: the weight acts at its centre.
    const float mass = materialOf(immersed)->density() * immersed->primitive()->volume();
    const Vec3 lift = force - xConfigurator3D::Instance()->gravity * mass;
    body->addTorque(qlnCross3(r, lift));
  }
  body->setAngularVelocity(body->angularVelocity() * k);
}

void xFluidForces3D::notifyImmersion(xShape3D* immersed, xShape3D* fluid, float volume) {
  if (notifies(immersed)) immersed->owner()->notifyImmersion(fluid, immersed, volume);
  if (notifies(fluid)) fluid->owner()->notifyImmersion(fluid, immersed, volume);
}

void qlnAccumulateFanVolume3D(const Vec3& apex, const Vec3* poly, int count, float& volume,
                              Vec3& centroidSum) {
  const Vec3 a = poly[0] - apex;
  for (int i = 1; i + 1 < count; ++i) {
    const Vec3 b = poly[i] - apex, c = poly[i + 1] - apex;
    const float v = qlnDot3(a, qlnCross3(b, c)) * 0.16666667f;
    volume += v;
    centroidSum += (a + b + c) * (v * 0.25f);
  }
}

xImmersion3D qlnSubmergedPart3D(const Vec3* const* faces, const int* counts, int faceCount,
                                const Vec3& up, const Vec3& q, const Vec3& anyInside) {
  // The apex lies in the surface plane, so the cap the surface cuts off adds no volume: the
  // clipped faces alone close the submerged solid.
  const Vec3 apex = anyInside - up * (qlnDot3(up, anyInside) - qlnDot3(up, q));
  float volume = 0.0f;
  Vec3 sum(0.0f);
  Vec3 clipped[32];
  for (int f = 0; f < faceCount; ++f) {
    int n = 0;
    qlnClipPolygonToPlane3D(faces[f], counts[f], clipped, n, -up, qlnDot3(up, q));
    if (n >= 3) qlnAccumulateFanVolume3D(apex, clipped, n, volume, sum);
  }
  xImmersion3D rec{volume, apex};
  if (volume > 0.0f) rec.centre = apex + sum * (1.0f / volume);
  return rec;
}

void qlnImmerseSphere(xShape3D* a, xShape3D* fluid) {
  if (!opening(a, fluid)) return;
  const xSurface3D s = surfaceOf(fluid);
  const xSolid3D S = qlnSolidOf3D(a);
  const float r = S.r;
  const float h = qlnDot3(s.up, S.c) - qlnDot3(s.up, s.q);
  if (h > 0.0f && r <= h) return;
  const float H = std::fabs(h) < r ? r - h : 2.0f * r;
  const float V = QLN_PI * H * H * (r - H * 0.33333334f);
  finish(a, fluid, {V, S.c});
}

void qlnImmerseBox(xShape3D* a, xShape3D* fluid) {
  if (!opening(a, fluid)) return;
  const xSurface3D s = surfaceOf(fluid);
  Vec3 mn(0.0f), mx(0.0f);
  a->localBoundingBox(mn, mx);
  const Vec3 e = (mx - mn) * 0.5f;
  const Mtx34 m = qlnMtx34FromPlacement(a->absPlacement());
  const Vec3 centre = m * ((mn + mx) * 0.5f);
  Vec3 corner[8];
  for (int k = 0; k < 8; ++k)
    corner[k] = m * ((mn + mx) * 0.5f + Vec3((k & 1) ? e.x : -e.x, (k & 2) ? e.y : -e.y, (k & 4) ? e.z : -e.z));
  static const int quads[6][4] = {{0, 2, 6, 4}, {1, 3, 7, 5}, {0, 1, 5, 4},
                                  {2, 3, 7, 6}, {0, 1, 3, 2}, {4, 5, 7, 6}};
  Vec3 faces[6][4];
  const Vec3* facePtr[6];
  int counts[6];
  for (int f = 0; f < 6; ++f) {
    for (int v = 0; v < 4; ++v) faces[f][v] = corner[quads[f][v]];
    orientOutward(faces[f], 4, centre);
    facePtr[f] = faces[f];
    counts[f] = 4;
  }
  const xImmersion3D rec = qlnSubmergedPart3D(facePtr, counts, 6, s.up, s.q, centre);
  if (rec.volume > 0.0f) finish(a, fluid, rec);
}

void qlnImmersePrism(xShape3D* a, xShape3D* fluid) {
  if (!opening(a, fluid)) return;
  const xSurface3D s = surfaceOf(fluid);
  const xSolid3D P = qlnSolidOf3D(a);
  // An octagonal prism whose inscribed circle is the shape's circle.
  const float R = P.r / std::cos(QLN_PI / 8.0f);
  Vec3 top[8], bottom[8];
  for (int k = 1; k <= 8; ++k) {
    const float ang = k * 0.78539819f;
    top[k - 1] = P.toWorld(Vec3(std::sin(ang) * R, P.h * 0.5f, std::cos(ang) * R));
    bottom[k - 1] = P.toWorld(Vec3(std::sin(ang) * R, -P.h * 0.5f, std::cos(ang) * R));
  }
  Vec3 faces[10][8];
  const Vec3* facePtr[10];
  int counts[10];
  for (int k = 0; k < 8; ++k) {
    faces[0][k] = top[k];
    faces[1][k] = bottom[7 - k];
  }
  counts[0] = counts[1] = 8;
  for (int k = 0; k < 8; ++k) {
    const int n = (k + 1) % 8;
    faces[2 + k][0] = top[k];
    faces[2 + k][1] = top[n];
    faces[2 + k][2] = bottom[n];
    faces[2 + k][3] = bottom[k];
    counts[2 + k] = 4;
  }
  for (int f = 0; f < 10; ++f) {
    orientOutward(faces[f], counts[f], P.c);
    facePtr[f] = faces[f];
  }
  const xImmersion3D rec = qlnSubmergedPart3D(facePtr, counts, 10, s.up, s.q, P.c);
  if (rec.volume > 0.0f) finish(a, fluid, rec);
}

}  // namespace QuillonPHX2D
