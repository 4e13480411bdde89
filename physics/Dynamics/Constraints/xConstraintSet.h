#pragma once
#include "Foundation/Math/QlnMath.h"
#include "Foundation/QlnExport.h"

namespace QuillonPHX2D {

class xBody;
class xEntity;
class xEquationStream;
class xBodyStream;

// Anything that ties a source body to a destination body (or to the world) and feeds rows
// to the solver. A set is linked into both bodies' chains so island building and activation
// can walk from body to body.
class QLN_API xConstraintSet {
 public:
  enum Flags : unsigned { ClosedSet = 1u, Enabled = 2u };

  xConstraintSet();
  // Unlinks the set from its bodies: a deleted set must never stay in a chain.
  virtual ~xConstraintSet();

  virtual void setJointPlacement(const Vec3 &inSrc, const Vec3 &inDst);
  virtual void jointPlacement(Vec3 &inSrc, Vec3 &inDst);
  // Writes rows at the stream's next row; returns how many.
  virtual int formEquations(xEquationStream &eq, xBodyStream &bodies, float h);
  virtual int getMaxDOF();
  // Rows without bounds.
  virtual int getNUE() = 0;
  virtual void render();
  virtual void storeSolutions(xVector &solution, int firstRow);
  virtual void restoreSolutions(xVector &solution, int firstRow);

  void attach(xBody *src, xBody *dst);
  void release();
  void initialize(xEntity *owner, xBody *src, xBody *dst, const Vec3 &point);

  xConstraintSet *getNextInBody(xBody *b) const;
  xConstraintSet *getPrevInBody(xBody *b) const;

  xBody *bodySrc() const { return bodySrc_; }
  xBody *bodyDst() const { return bodyDst_; }
  xEntity *entityOwner() const { return entityOwner_; }
  void setEntityOwner(xEntity *owner) { entityOwner_ = owner; }

  float getReleaseForce() const { return releaseForce_; }
  void setReleaseForce(float f) { releaseForce_ = f; }

  unsigned flags() const { return flags_; }
  bool isClosedSet() const { return (flags_ & ClosedSet) != 0; }
  void setClosedSet() { flags_ |= ClosedSet; }
  void clearClosedSet() { flags_ &= ~ClosedSet; }
  bool isEnabled() const { return (flags_ & Enabled) != 0; }

  const Vec3 &placementInSrc() const { return placementInSrc_; }
  const Vec3 &placementInDst() const { return placementInDst_; }

  xConstraintSet(const xConstraintSet &) = delete;
  xConstraintSet &operator=(const xConstraintSet &) = delete;

 protected:
  // Pushes the set on the chains of the present bodies.
  void link(xBody *src, xBody *dst);

  xBody *bodySrc_;
  xConstraintSet *nextInSrc_;
  xBody *bodyDst_;
  xConstraintSet *nextInDst_;
  unsigned flags_;
  float releaseForce_;
  xEntity *entityOwner_;
  Vec3 placementInSrc_;
  Vec3 placementInDst_;

 private:
  // The link of this set that belongs to body b's chain, or null when b is neither body.
  xConstraintSet **linkFor(xBody *b);
  void unlinkFrom(xBody *b);
};

}  // namespace QuillonPHX2D
