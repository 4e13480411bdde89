#pragma once
#include "Foundation/Math/QlnMath.h"
#include "Foundation/QlnExport.h"

namespace QuillonPHX2D {

class xEntity;

// Base of every placed object (bodies and shapes). Paragons form a tree; each stores its
// placement relative to its ascendant, absolute placements are composed on demand.
class QLN_API xParagon {
 public:
  enum Flags : unsigned {
    Active = 1u,
    Gravity = 2u,
    GroupActivated = 4u,
    Tested = 8u,
    Initialized = 16u,
    AddedToCS = 32u,
    FluidForces = 64u
  };

  xParagon();
  xParagon(const xParagon &other) = default;
  xParagon &operator=(const xParagon &other) = default;

  virtual ~xParagon();
  virtual void initialize();
  virtual void activate();
  virtual void deactivate();
  virtual float getTunnelingFreeMoveRatio(const Vec3 &from, const Vec3 &to);
  virtual void notifyMoved(const Vec3 &oldAbs, const Vec3 &newAbs);
  // Refused (with a report) when p is this paragon or one of its descendants.
  virtual void setAscendant(xParagon *p);
  virtual xParagon *getAscendant();
  virtual xParagon *getFirstDescendant();
  virtual xParagon *getLastDescendant();
  virtual xParagon *getNextDescendant();
  virtual xParagon *getPreviousDescendant();
  virtual void setRelPlacement(const Vec3 &p);
  virtual Vec3 getRelPlacement();
  virtual void setAbsPlacement(const Vec3 &w);
  virtual Vec3 absPlacement();

  xEntity *getOwner() const { return owner_; }
  void setOwner(xEntity *owner) { owner_ = owner; }

  // Deletes this paragon and its whole subtree, depth first.
  void destroyHierarchy();
  // Deletes this paragon and the descendants with the same owner; the others become roots.
  void destroyCompleteHierarchy();

  // Whether p is this paragon or lies below it.
  bool isSelfOrAncestorOf(const xParagon *p) const;

  unsigned flags() const { return flags_; }
  bool isActive() const { return (flags_ & Active) != 0; }
  void setActive() { flags_ |= Active; }
  void clearActive() { flags_ &= ~Active; }
  bool isGravity() const { return (flags_ & Gravity) != 0; }
  void setGravity() { flags_ |= Gravity; }
  void clearGravity() { flags_ &= ~Gravity; }
  bool isGroupActivated() const { return (flags_ & GroupActivated) != 0; }
  void setGroupActivated() { flags_ |= GroupActivated; }
  void clearGroupActivated() { flags_ &= ~GroupActivated; }
  bool isTested() const { return (flags_ & Tested) != 0; }
  void setTested() { flags_ |= Tested; }
  void clearTested() { flags_ &= ~Tested; }
  bool isInitialized() const { return (flags_ & Initialized) != 0; }
  bool isAddedToCS() const { return (flags_ & AddedToCS) != 0; }
  void setAddedToCS() { flags_ |= AddedToCS; }
  void clearAddedToCS() { flags_ &= ~AddedToCS; }
  bool isFluidForces() const { return (flags_ & FluidForces) != 0; }
  void setFluidForces() { flags_ |= FluidForces; }
  void clearFluidForces() { flags_ &= ~FluidForces; }

  // The world's lists of bodies and of shapes (every one, and the awake ones) keep each
  // paragon's place in them here, for xSlotList; -1 when not listed.
  enum WorldList { AllList = 0, AwakeList = 1 };
  template <WorldList L>
  struct ListSlot {
    static int &of(xParagon *p) { return p->worldListSlots_[L]; }
  };

  // compose(P, r): r given in the frame of P, expressed in P's parent frame.
  static Vec3 compose(const Vec3 &parent, const Vec3 &rel);
  // The inverse of compose: w expressed in the frame of P.
  static Vec3 relative(const Vec3 &parent, const Vec3 &w);

 protected:
  void setInitializedFlag() { flags_ |= Initialized; }

  xParagon *ascendant_;
  xParagon *firstDescendant_;
  xParagon *nextDescendant_;
  Vec3 relPlacement_;
  unsigned flags_;
  xEntity *owner_;
  int worldListSlots_[2];
};

}  // namespace QuillonPHX2D
