#pragma once
#include "Foundation/Math/QlnMath.h"
#include "Foundation/QlnExport.h"

namespace QuillonPHX2D {

// The engine's settings. A host changes them by writing the members of the one instance.
class QLN_API xConfigurator {
 public:
  static xConfigurator *Instance();
  static xConfigurator *cfg_ptrInstance;

  void init() {}
  xConfigurator &operator=(const xConfigurator &other) = default;

  int reserved0;
  Vec2 gravity;
  float longestSubstep;
  float penetrationSlop;
  float convergenceTolerance;
  float linearRestSpeed;
  float angularRestSpeed;
  float reserved1;
  float reserved2;
  float reserved3;
  float dampingFactor;
  // Thirteen consecutive switches.
  bool sleeping;
  bool substepping;
  bool tunnelling;
  bool separationTest;
  bool friction;
  bool restitution;
  bool relativeTest;
  bool angularCorrection;
  bool fullStep;
  bool storeSolutions;
  bool reservedSwitch0;
  bool reservedSwitch1;
  bool reservedSwitch2;
  int lastSubstepCount;
  int iterationLimit;

 private:
  xConfigurator();
  ~xConfigurator() = default;
  xConfigurator(const xConfigurator &) = default;
};

}  // namespace QuillonPHX2D
