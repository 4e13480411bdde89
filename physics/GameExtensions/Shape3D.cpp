#include "GameExtensions/Shape3D.h"

#include "GameExtensions/Body3D.h"

namespace QuillonPHX2D {

Placement3D qlnComposePlacement3D(const Placement3D& o, const Placement3D& i) {
  // q = qo * qi; t = to + R(qo) ti
  const float x = o.qw * i.qx + o.qx * i.qw + o.qy * i.qz - o.qz * i.qy;
  const float y = o.qw * i.qy - o.qx * i.qz + o.qy * i.qw + o.qz * i.qx;
  const float z = o.qw * i.qz + o.qx * i.qy - o.qy * i.qx + o.qz * i.qw;
  const float w = o.qw * i.qw - o.qx * i.qx - o.qy * i.qy - o.qz * i.qz;
  return Placement3D(x, y, z, w, o.t + qlnQuatToMtx33(o) * i.t);
}

xShape3D::xShape3D(xPrimitive3D* primitive, xBody3D* body, const Placement3D& local)
    : primitive_(primitive), body_(body), local_(local) {
  if (body_) body_->attachShape(this);
}

xShape3D::~xShape3D() {
  if (body_) body_->detachShape(this);
  delete primitive_;
}

Placement3D xShape3D::absPlacement() const {
  return body_ ? qlnComposePlacement3D(body_->absPlacement(), local_) : local_;
}

void xShape3D::localBoundingBox(Vec3& mn, Vec3& mx) const {
  if (primitive_) {
    primitive_->localBox(mn, mx);
  } else {
    mn = Vec3(0.0f);
    mx = Vec3(0.0f);
  }
}

}  // namespace QuillonPHX2D
