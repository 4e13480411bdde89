#pragma once
// Fluid volumes: a sphere, box, cylinder or capsule overlapping a fluid-volume shape is pushed
// up by its submerged volume, damped, and turned by the buoyancy's torque; both owners hear
// of the immersion. No contact is reported for such a pair.
#include "GameExtensions/Shape3D.h"

namespace QuillonPHX2D {

struct xImmersion3D {
  float volume;
  Vec3 centre;  // centre of buoyancy
};

class xFluidForces3D {
 public:
  static xFluidForces3D* Instance();
  Vec3 buoyancy(xShape3D* immersed, float volume, xShape3D* fluid);
  void apply(xShape3D* immersed, const xImmersion3D& record, float coefficient, const Vec3& force);
  void notifyImmersion(xShape3D* immersed, xShape3D* fluid, float volume);

 private:
  xFluidForces3D() = default;
};

// Adds the signed volume of the fan of `poly` seen from `apex`, and its first moment.
void qlnAccumulateFanVolume3D(const Vec3& apex, const Vec3* poly, int count, float& volume,
                              Vec3& centroidSum);

// Submerged volume and centroid of a closed convex solid given by outward-wound faces, cut by
// the surface plane (up, point q): the part with up . (q - p) >= 0 counts.
xImmersion3D qlnSubmergedPart3D(const Vec3* const* faces, const int* counts, int faceCount,
                                const Vec3& up, const Vec3& q, const Vec3& anyInside);

}  // namespace QuillonPHX2D
