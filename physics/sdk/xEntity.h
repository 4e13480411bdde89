#pragma once
#include "Foundation/Math/QlnMath.h"
#include "Foundation/QlnExport.h"

namespace QuillonPHX2D {

class xShape;
class xConstraintSet;
class xEntityDesc;

// The owner of bodies and shapes: the engine tells it about creation and collisions.
class QLN_API xEntity {
 public:
  xEntity() {}
  virtual ~xEntity();
  // Once for each owner whose shape's category asks for it; false drops the contact.
  virtual bool notifyCollision(xShape *own, xShape *other, const Vec2 &point, float depth, const Vec2 &normal);
  virtual void initialize();
  virtual void notifyCreated(xEntityDesc *desc);
  virtual void notifyDeleted();
  virtual void notifyJointReleased(xConstraintSet *joint, float force);
  virtual Vec3 absPlacement();
  virtual void setAbsPlacement(const Vec3 &p);

  // Where the SDK's entity list keeps this entity (-1: not listed). Only that list writes it.
  int &worldListSlot() { return worldListSlot_; }

 private:
  int worldListSlot_ = -1;
};

// The description an SDK creates an entity from. Hosts derive their own; the destructor is
// virtual so a derived description deleted through this base cleans up fully.
class QLN_API xEntityDesc {
 public:
  xEntityDesc() {}
  virtual ~xEntityDesc();
  virtual xEntity *createEntity();
};

}  // namespace QuillonPHX2D
