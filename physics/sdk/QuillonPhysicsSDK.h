#pragma once
#include "Foundation/QlnExport.h"
#include "Foundation/Templates/xArray.h"
#include "Foundation/Templates/xSlotList.h"
#include "sdk/xEntity.h"

namespace QuillonPHX2D {

class xPhysicsContext;
class xCollisionContext;
class xEntity;
class xEntityDesc;
class xBody;
class xBodyDesc;
class xShape;
class xShapeDesc;
class xConstraintSet;
class xJointDesc;

// The engine's front door: owns the world's two halves, the owner entities, the clock and
// the pause switch. One per process, reached through g_ptrSDK.
class QLN_API QuillonPhysicsSDK {
 public:
  QuillonPhysicsSDK();
  ~QuillonPhysicsSDK();
  // An SDK owns its contexts and entities; a copy would free them twice.
  QuillonPhysicsSDK(const QuillonPhysicsSDK &) = delete;
  QuillonPhysicsSDK &operator=(const QuillonPhysicsSDK &) = delete;

  void updateF(float dt);
  void pauseSimulation() { paused_ = true; }
  void unpauseSimulation() { paused_ = false; }
  bool isPaused() const { return paused_; }

  float timeNow() const { return timeNow_; }
  float timeStep() const { return timeStep_; }
  float lastTimeStep() const { return lastTimeStep_; }
  unsigned long currentTick() const { return currentTick_; }

  xPhysicsContext *physicsContext() { return physicsContext_; }
  xCollisionContext *collisionContext() { return collisionContext_; }

  xEntity *createEntity(xEntityDesc *d);
  bool removeEntity(xEntity *e);
  void destroyEntity(xEntity *e);
  int entitiesCount() const { return entities_.count(); }

  xBody *createBody(xBodyDesc &d);
  xShape *createShape(xShapeDesc &d);
#if !defined(QLN_GAME_BUILD)
  xConstraintSet *createConstraintSet(xJointDesc &d);
#endif

  // Starts over with a fresh world: the clock, the entity list and both contexts are
  // replaced; what they held is deleted.
  void init();
  void shutdown() {}

 private:
  void destroyWorld();

  xPhysicsContext *physicsContext_;
  xCollisionContext *collisionContext_;
  struct EntitySlot {
    static int &of(xEntity *e) { return e->worldListSlot(); }
  };
  xSlotList<xEntity, EntitySlot> entities_;  // in order of creation
  float timeNow_;
  float timeStep_;
  float lastTimeStep_;
  unsigned long currentTick_;
  bool paused_;
};

QLN_API extern QuillonPhysicsSDK *g_ptrSDK;

QLN_API QuillonPhysicsSDK *qlnCreateQuillonSDK();
QLN_API void qlnDestroyQuillonSDK();

}  // namespace QuillonPHX2D
