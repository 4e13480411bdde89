#pragma once
// Settings of the 3D contact world: the same members and defaults as the 2D configurator,
// with gravity in three components. Separate from the 2D singleton, created on first use.
#include "GameExtensions/PhysicsBase3D.h"

namespace QuillonPHX2D {

class xConfigurator3D {
 public:
  static xConfigurator3D* Instance();

  int reserved0 = 0;
  Vec3 gravity = Vec3(0.0f, 9.81f, 0.0f);
  float longestSubstep = 0.01f;
  float penetrationSlop = 0.025f;
  float convergenceTolerance = 0.1f;
  float linearRestSpeed = 0.0031622f;
  float angularRestSpeed = 0.0031622f;
  float reserved1 = 0.5f;
  float reserved2 = 0.0f;
  float reserved3 = 0.8f;
  float dampingFactor = 0.997f;
  bool sleeping = false;
  bool substepping = false;
  bool tunnelling = false;
  bool separationTest = true;
  bool friction = true;
  bool restitution = true;
  bool relativeTest = true;
  bool angularCorrection = false;
  bool fullStep = false;
  bool storeSolutions = false;
  bool reservedSwitches[3] = {false, false, false};
  int lastSubstepCount = 0;
  int iterationLimit = 50;

 private:
  xConfigurator3D() = default;
};

}  // namespace QuillonPHX2D
