#include "Collision/Shapes/xPrimitiveShape.h"

#include <cstring>

#include "CollisionContext/Materials/MaterialDispatcher.h"
#include "CollisionContext/xCollisionContext.h"

namespace QuillonPHX2D {

xPrimitiveShape::xPrimitiveShape()
    : envelope_(nullptr), material_(nullptr), boxPlacement_(), boxLocal_(), boxAbs_(), boxKnown_(false) {
  xMaterialDispatcher *reg = xMaterialDispatcher::Instance();
  material_ = reg ? reg->defaultMaterial() : nullptr;
}

xPrimitiveShape::~xPrimitiveShape() {
  // Leave the world first: taking the shape out of the tree reads its box, hence its envelope.
  xCollisionContext *cc = world();
  if (cc) cc->removeShape(this);
  delete envelope_;
  envelope_ = nullptr;
}

float xPrimitiveShape::getTunnelingFreeMoveRatio(const Vec3 &, const Vec3 &) { return 1.0f; }

Box2 xPrimitiveShape::getAbsBoundingBox() {
  // A shape without an envelope has nothing to collide with.
  if (!envelope_) return Box2::empty();
  const Vec3 placement = absPlacement();
  const Box2 local = envelope_->getBoundingBox();
  // Compared bit for bit, so the reused box is exactly the one the transform would give.
  if (boxKnown_ && std::memcmp(&placement, &boxPlacement_, sizeof placement) == 0 &&
      std::memcmp(&local, &boxLocal_, sizeof local) == 0)
    return boxAbs_;
  boxAbs_ = qlnTransformBox2Mtx23(qlnVec3ToMtx23(placement), local);
  boxPlacement_ = placement;
  boxLocal_ = local;
  boxKnown_ = true;
  return boxAbs_;
}

int xPrimitiveShape::getColliderID() { return envelope_ ? static_cast<int>(envelope_->getType()) : -1; }

void xPrimitiveShape::setEnvelope(xPrimitive *p) {
  if (p == envelope_) return;
  delete envelope_;
  envelope_ = p;
}

}  // namespace QuillonPHX2D
