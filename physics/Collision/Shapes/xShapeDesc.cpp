#include "Collision/Shapes/xShapeDesc.h"

#include <new>

#include "Collision/Shapes/xPrimitiveShape.h"
#include "CollisionContext/Categories/CategoryDispatcher.h"
#include "CollisionContext/Materials/MaterialDispatcher.h"

namespace QuillonPHX2D {

xShapeDesc::xShapeDesc() : category_("default"), placement_() { placement_ = Vec3(0.0f, 0.0f, 0.0f); }

xShapeDesc::~xShapeDesc() {}

xPrimitiveShapeDesc::xPrimitiveShapeDesc() : envelope_(nullptr), spare_(nullptr), material_(nullptr) {
  xCategoryDispatcher::Instance();
  xMaterialDispatcher *reg = xMaterialDispatcher::Instance();
  material_ = reg ? reg->defaultMaterial() : nullptr;
}

xPrimitiveShapeDesc::xPrimitiveShapeDesc(const xPrimitiveShapeDesc &other)
    : xShapeDesc(other), envelope_(nullptr), spare_(nullptr), material_(other.material_) {
  const xPrimitive *model = other.getEnvelope();
  spare_ = model ? model->clone() : nullptr;
}

xPrimitiveShapeDesc &xPrimitiveShapeDesc::operator=(const xPrimitiveShapeDesc &other) {
  if (this == &other) return *this;
  xShapeDesc::operator=(other);
  const xPrimitive *model = other.getEnvelope();
  xPrimitive *copy = model ? model->clone() : nullptr;
  delete spare_;
  spare_ = copy;
  envelope_ = nullptr;
  material_ = other.material_;
  return *this;
}

xPrimitiveShapeDesc::~xPrimitiveShapeDesc() { delete spare_; }

void xPrimitiveShapeDesc::setEnvelope(xPrimitive *p) {
  delete spare_;
  spare_ = nullptr;
  envelope_ = p;
}

xShape *xPrimitiveShapeDesc::createShape() {
  xPrimitiveShape *s = new (std::nothrow) xPrimitiveShape();
  if (!s) return nullptr;
  xCategoryDispatcher *reg = xCategoryDispatcher::Instance();
  s->setCollisionCategory(reg ? reg->findCategoryByName(categoryID()) : nullptr);
  if (envelope_) {
    // The first shape takes the envelope itself; keep a model for the next ones.
    delete spare_;
    spare_ = envelope_->clone();
    s->setEnvelope(envelope_);
    envelope_ = nullptr;
  } else if (spare_) {
    s->setEnvelope(spare_->clone());
  }
  s->setMaterial(material_);
  return s;
}

}  // namespace QuillonPHX2D
