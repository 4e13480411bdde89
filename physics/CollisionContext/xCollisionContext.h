#pragma once
#include "Foundation/Math/QlnMath.h"
#include "Foundation/Paragon/xParagon.h"
#include "Foundation/Templates/xArray.h"
#include "Foundation/Templates/xSlotList.h"

namespace QuillonPHX2D {

class xShape;
class xMaterial;
class xClassificationSpace;

// The static half of the world: every shape, the awake ones, and the classification space
// they are filed in. Both shape lists keep the order shapes came in (contacts are generated in
// that order) and take a shape in or out in constant time.
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
  int shapesCount() const { return shapes_.count(); }
  int activeShapesCount() const { return activeShapes_.count(); }
  xClassificationSpace *collisionSpace() { return cc_pCollisionSpace; }

  void generateContacts();
  bool createTempContact(xShape *a, xShape *b, xMaterial *ma, xMaterial *mb, const Vec2 &point, float depth,
                         const Vec2 &normal);

  bool isGenerating() const { return generating_; }
  const xArray<xShape *> &shapes();
  // While contacts are generated the list may hold emptied (null) places.
  const xArray<xShape *> &activeShapes();

  xCollisionContext(const xCollisionContext &) = delete;
  xCollisionContext &operator=(const xCollisionContext &) = delete;

 private:
  bool useClassificationSpace_;
  bool generating_;
  xSlotList<xShape, xParagon::ListSlot<xParagon::AllList>> shapes_;
  xSlotList<xShape, xParagon::ListSlot<xParagon::AwakeList>> activeShapes_;
  xClassificationSpace *cc_pCollisionSpace;
};

}  // namespace QuillonPHX2D
