#pragma once
#include "Foundation/Math/QlnMath.h"
#include "Foundation/Templates/xArray.h"

namespace QuillonPHX2D {

class xShape;
class xMaterial;
class xClassificationSpace;

// The static half of the world: every shape, the awake ones, and the classification space
// they are filed in.
class QLN_API xCollisionContext {
 public:
  xCollisionContext();
  ~xCollisionContext();

  void addShape(xShape *s);
  void removeShape(xShape *s);
  void addToActive(xShape *s);
  // While contacts are generated the slot is only emptied, so the running pass stays valid.
  void removeFromActive(xShape *s);
  bool isInActive(xShape *s);
  void moveShape(xShape *s, const Vec3 &from, const Vec3 &to);
  int shapesCount() const { return shapes_.size(); }
  int activeShapesCount() const { return activeShapes_.size(); }
  xClassificationSpace *collisionSpace() { return cc_pCollisionSpace; }

  void generateContacts();
  bool createTempContact(xShape *a, xShape *b, xMaterial *ma, xMaterial *mb, const Vec2 &point, float depth,
                         const Vec2 &normal);

  bool isGenerating() const { return generating_; }
  xArray<xShape *> &shapes() { return shapes_; }
  xArray<xShape *> &activeShapes() { return activeShapes_; }

  xCollisionContext(const xCollisionContext &) = delete;
  xCollisionContext &operator=(const xCollisionContext &) = delete;

 private:
  bool useClassificationSpace_;
  bool generating_;
  xArray<xShape *> shapes_;
  xArray<xShape *> activeShapes_;
  xClassificationSpace *cc_pCollisionSpace;
};

}  // namespace QuillonPHX2D
