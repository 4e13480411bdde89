#pragma once
// The 3D narrow phase: a stride-14 table of collider routines indexed by the two shapes'
// collider ids, the bounding pre-test every collider runs first, and the clipping helpers.
#include "GameExtensions/Shape3D.h"

namespace QuillonPHX2D {

typedef void (*xCollider3D)(xShape3D* first, xShape3D* second);

class xColliderTable3D {
 public:
  static constexpr int kStride = 14;
  static xColliderTable3D* Instance();
  xCollider3D entry(int row, int column) const;
  int stride() const { return kStride; }

 private:
  xColliderTable3D();
  xCollider3D table_[kStride * kStride];
};

// Both shapes' local boxes, placed as oriented boxes, overlap.
bool qlnShapesMayTouch3D(xShape3D* a, xShape3D* b);

// Keeps the part of segment pq with n . x + d >= 0; false when nothing is left.
bool qlnClipSegmentToPlane3D(const Vec3& n, float d, Vec3& p, Vec3& q);
// Sutherland-Hodgman against the half-space n . x + d >= 0. `out` must hold 2*count points.
void qlnClipPolygonToPlane3D(const Vec3* in, int count, Vec3* out, int& outCount, const Vec3& n,
                             float d);

// Hands one contact to the 3D world's collision context (no world: dropped).
void qlnReportContact3D(xShape3D* first, xShape3D* second, const Vec3& point, float depth,
                        const Vec3& normal);
void qlnMarkTested3D(xShape3D* a, xShape3D* b);

// Colliders of the table.
void qlnCollideSphereSphere(xShape3D* a, xShape3D* b);
void qlnCollideSphereCapsule(xShape3D* a, xShape3D* b);
void qlnCollideSphereBox(xShape3D* a, xShape3D* b);
void qlnCollideSphereCylinder(xShape3D* a, xShape3D* b);
void qlnCollideSpherePlane(xShape3D* a, xShape3D* b);
void qlnCollideBoxBox3D(xShape3D* a, xShape3D* b);
void qlnCollideBoxCylinder(xShape3D* a, xShape3D* b);
void qlnCollideBoxCapsule(xShape3D* a, xShape3D* b);
void qlnCollideBoxPlane(xShape3D* a, xShape3D* b);
void qlnCollideCylinderCylinder(xShape3D* a, xShape3D* b);
void qlnCollideCylinderCapsule(xShape3D* a, xShape3D* b);
void qlnCollideCylinderPlane(xShape3D* a, xShape3D* b);
void qlnCollideCapsuleCapsule(xShape3D* a, xShape3D* b);
void qlnCollideCapsulePlane(xShape3D* a, xShape3D* b);
void qlnImmerseSphere(xShape3D* a, xShape3D* fluid);
void qlnImmerseBox(xShape3D* a, xShape3D* fluid);
void qlnImmersePrism(xShape3D* a, xShape3D* fluid);

}  // namespace QuillonPHX2D
