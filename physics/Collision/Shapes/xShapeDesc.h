#pragma once
#include <string>

#include "Collision/Shapes/xPrimitive.h"
#include "Foundation/Math/QlnMath.h"

namespace QuillonPHX2D {

class xShape;
class xMaterial;

// What a shape is made from. The placement is not applied: the caller attaches, places and
// initialises the shape.
class QLN_API xShapeDesc {
 public:
  xShapeDesc();
  virtual ~xShapeDesc();
  virtual xShape *createShape() = 0;

  std::string categoryID() const { return category_; }
  void setCategory(const std::string &name) { category_ = name; }
  const Vec3 &placement() const { return placement_; }
  void setPlacement(const Vec3 &p) { placement_ = p; }

 private:
  std::string category_;
  Vec3 placement_;
};

// Description of a primitive shape. The envelope given with setEnvelope goes to the first
// shape created (which deletes it at its end); every later shape, and every copy of the
// description, gets a clone of its own, so no envelope is ever deleted twice.
class QLN_API xPrimitiveShapeDesc : public xShapeDesc {
 public:
  xPrimitiveShapeDesc();
  xPrimitiveShapeDesc(const xPrimitiveShapeDesc &other);
  xPrimitiveShapeDesc &operator=(const xPrimitiveShapeDesc &other);
  ~xPrimitiveShapeDesc() override;

  xShape *createShape() override;

  xPrimitive *getEnvelope() const { return envelope_ ? envelope_ : spare_; }
  void setEnvelope(xPrimitive *p);
  xMaterial *getMaterial() const { return material_; }
  void setMaterial(xMaterial *m) { material_ = m; }

 private:
  xPrimitive *envelope_;  // not owned until a shape takes it
  xPrimitive *spare_;     // owned: the model later shapes are cloned from
  xMaterial *material_;
};

}  // namespace QuillonPHX2D
