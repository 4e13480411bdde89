#pragma once
// The 3D contact world's front object. The program declares its global pointer but never
// creates one; the frame loop steps the world only while the pointer is set.
#include "Foundation/Templates/xArray.h"

namespace QuillonPHX2D {

class xPhysicsContext3D;
class xCollisionContext3D;
class xEntity3D;

class QuillonPhysicsSDK3D {
 public:
  // Builds both contexts; a caller may replace the collision context (taking ownership).
  QuillonPhysicsSDK3D();
  ~QuillonPhysicsSDK3D();
  QuillonPhysicsSDK3D(const QuillonPhysicsSDK3D&) = delete;
  QuillonPhysicsSDK3D& operator=(const QuillonPhysicsSDK3D&) = delete;

  void updateF(float dt);

  xPhysicsContext3D* physicsContext() const { return physicsContext_; }
  xCollisionContext3D* collisionContext() const { return collisionContext_; }
  void setCollisionContext(xCollisionContext3D* cc);
  xArray<xEntity3D*>& entities() { return entities_; }

  float timeNow() const { return timeNow_; }
  float timeStep() const { return timeStep_; }
  float lastTimeStep() const { return lastTimeStep_; }
  int currentTick() const { return currentTick_; }
  bool paused() const { return paused_; }
  void setPaused(bool p) { paused_ = p; }

 private:
  xPhysicsContext3D* physicsContext_;
  xCollisionContext3D* collisionContext_;
  xArray<xEntity3D*> entities_;
  float timeNow_ = 0.0f;
  float timeStep_ = 0.0f;
  float lastTimeStep_ = 0.0f;
  int currentTick_ = 0;
  bool paused_ = false;
};

extern QuillonPhysicsSDK3D* g_ptrSDK3D;

// The frame loop's step for the 3D world: milliseconds x 0.1, or 0.01 when not positive.
float qlnStepFromMilliseconds3D(int milliseconds);

}  // namespace QuillonPHX2D

namespace QuillonPHX2D {
// What the frame loop does each frame for the 3D world: steps it by the milliseconds' step
// when a world exists. Returns whether it stepped.
bool qlnPreStep3D(int milliseconds);
}  // namespace QuillonPHX2D
