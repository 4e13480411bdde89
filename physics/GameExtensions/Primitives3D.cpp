#include "GameExtensions/Primitives3D.h"

#include <algorithm>
#include <cmath>

namespace QuillonPHX2D {

namespace {
// Planes are infinite; their bounding box only has to cover any scene the 3D world runs.
constexpr float kPlaneExtent = 1e5f;
}

float xPrimitiveSphere3D::volume() const { return 4.0f / 3.0f * QLN_PI * radius * radius * radius; }

void xPrimitiveSphere3D::localBox(Vec3& mn, Vec3& mx) const {
  mn = Vec3(-radius);
  mx = Vec3(radius);
}

float xPrimitiveBox3D::volume() const { return size.x * size.y * size.z; }

void xPrimitiveBox3D::localBox(Vec3& mn, Vec3& mx) const {
  mn = size * -0.5f;
  mx = size * 0.5f;
}

float xPrimitiveCylinder3D::volume() const { return QLN_PI * radius * radius * height; }

void xPrimitiveCylinder3D::localBox(Vec3& mn, Vec3& mx) const {
  mn = Vec3(-radius, -height * 0.5f, -radius);
  mx = Vec3(radius, height * 0.5f, radius);
}

float xPrimitiveCapsule3D::volume() const {
  const float core = std::max(0.0f, height - 2.0f * radius);
  return QLN_PI * radius * radius * core + 4.0f / 3.0f * QLN_PI * radius * radius * radius;
}

void xPrimitiveCapsule3D::localBox(Vec3& mn, Vec3& mx) const {
  const float halfY = std::max(height * 0.5f, radius);
  mn = Vec3(-radius, -halfY, -radius);
  mx = Vec3(radius, halfY, radius);
}

xPrimitivePlane3D::xPrimitivePlane3D(const Vec3& n, float d)
    : xPrimitive3D(kPrimitive3DPlane), normal(0.0f, 1.0f, 0.0f), offset(d) {
  const float len = qlnLenV3(n);
  QLN_ASSERT(len > 0.0f && "plane normal of zero length");
  if (len > 0.0f && qlnIsFinite(len)) {
    normal = n * (1.0f / len);
    offset = d / len;
  }
}

void xPrimitivePlane3D::localBox(Vec3& mn, Vec3& mx) const {
  mn = Vec3(-kPlaneExtent);
  mx = Vec3(kPlaneExtent);
}

float xPrimitiveFluid3D::volume() const {
  const Vec3 s = boxMax - boxMin;
  return s.x * s.y * s.z;
}

}  // namespace QuillonPHX2D
