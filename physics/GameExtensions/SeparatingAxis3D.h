#pragma once
// Separating-axis searches of the 3D narrow phase. A search tests a fixed list of candidate
// axes, stops at the first that separates, and otherwise leaves the axis of least overlap
// in one shared record that the colliders read to build their contact points.
#include "GameExtensions/Solid3D.h"

namespace QuillonPHX2D {

struct xSATState3D {
  int bestAxis;
  float bestDepth;
  float firstRadius;
  float secondRadius;
  Vec3 bestNormal;
  Vec3 refFaceNormal;  // box-box reference face, outward
  Vec3 rimPoint;       // cylinder-cylinder rim contact
  bool separated;
};

// The shared record. Before the first search it holds axis -1, depths and radii -1e38.
xSATState3D& qlnSAT3D();
void qlnSATReset3D();

// Per-axis tests: L need not be unit length; true means separated on L.
bool qlnSATAxisBoxCapsule3D(const xSolid3D& box, const xSolid3D& capsule, Vec3 L, int index);
bool qlnSATAxisBoxCylinder3D(const xSolid3D& box, const xSolid3D& cyl, Vec3 L, int index);
bool qlnSATAxisCylinderCapsule3D(const xSolid3D& cyl, const xSolid3D& capsule, Vec3 L, int index);
bool qlnSATAxisCylinderCylinder3D(const xSolid3D& a, const xSolid3D& b, Vec3 L, int index);
bool qlnSATAxisCapsuleCapsule3D(const xSolid3D& a, const xSolid3D& b, Vec3 L, int index);
bool qlnSATFaceAxis3D(float projectedSum, float projectedDistance, const Vec3& axis, int index);
bool qlnSATEdgeAxis3D(float projectedSum, float projectedDistance, const Vec3& axis, int index);

// Searches: true means separated.
bool qlnSATBoxBox3D(const xSolid3D& a, const xSolid3D& b);
bool qlnSATBoxCapsule3D(const xSolid3D& box, const xSolid3D& capsule);
bool qlnSATBoxCylinder3D(const xSolid3D& box, const xSolid3D& cyl);
bool qlnSATCapsuleCapsule3D(const xSolid3D& a, const xSolid3D& b);
bool qlnSATCylinderCapsule3D(const xSolid3D& cyl, const xSolid3D& capsule);
bool qlnSATCylinderCylinder3D(const xSolid3D& a, const xSolid3D& b);
bool qlnSATCylinderPlane3D(const Vec3& n, float d, const xSolid3D& cyl);

// Axis builders.
Vec3 qlnBoxClosestDirection3D(const Vec3& point, const xSolid3D& box, float radius);
void qlnSATEdgeAxisBoxCylinder3D(const Vec3& P, const Vec3& Q, const Vec3& K, const xSolid3D& box,
                                 const xSolid3D& cyl, int index, bool& separated);
// kind 0: cylinder-capsule test, kind 1: cylinder-cylinder test.
void qlnSATPointAxis3D(const Vec3& P0, const Vec3& P1, const Vec3& K, const Vec3& m,
                       const xSolid3D& first, const xSolid3D& second, int index, int kind,
                       bool& separated);
bool qlnCylinderRimAxisValid3D(const Vec3& K1, const Vec3& a1, float r1, const Vec3& K2,
                               const Vec3& a2, float r2, Vec3& rim1, Vec3& rim2);

// Contact-point operations.
const Vec3* qlnBoxCorners3D(const xSolid3D& box);
bool qlnClipSegmentToBox3D(const xSolid3D& box, const xSolid3D& capsule, Vec3& p1, Vec3& p2,
                           float& depth1, float& depth2);
int qlnSegmentInCylinder3D(const Vec3& p, const Vec3& q, float r, Vec3& o1, Vec3& o2);
int qlnCapsuleOverlapPoints3D(const xSolid3D& ref, const xSolid3D& other, float refRadius,
                              Vec3* out);
bool qlnCapsuleCrossAxisContacts3D(xShape3D* first, xShape3D* second, const xSolid3D& a,
                                   const xSolid3D& b);
Vec3 qlnCapsuleMidpoint3D(const Vec3& P, const Vec3& Q, const Vec3& n, float rP, float rQ);

// Projected radii on a unit axis.
float qlnBoxRadius3D(const xSolid3D& box, const Vec3& L);
float qlnCapsuleRadius3D(const xSolid3D& cap, const Vec3& L);
float qlnCylinderRadius3D(const xSolid3D& cyl, const Vec3& L);

}  // namespace QuillonPHX2D
