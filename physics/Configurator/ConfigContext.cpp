#include "Configurator/ConfigContext.h"

#include <new>

#include "Foundation/QlnAssert.h"

namespace QuillonPHX2D {

xConfigurator *xConfigurator::cfg_ptrInstance = nullptr;

xConfigurator::xConfigurator()
    : reserved0(0), gravity(0.0f, 9.81f), longestSubstep(0.01f), penetrationSlop(0.025f),
      convergenceTolerance(0.1f), linearRestSpeed(0.0031622f), angularRestSpeed(0.0031622f), reserved1(0.5f),
      reserved2(0.0f), reserved3(0.8f), dampingFactor(0.997f), sleeping(false), substepping(false),
      tunnelling(false), separationTest(true), friction(true), restitution(true), relativeTest(true),
      angularCorrection(false), fullStep(false), storeSolutions(false), reservedSwitch0(false),
      reservedSwitch1(false), reservedSwitch2(false), lastSubstepCount(0), iterationLimit(50) {}

xConfigurator *xConfigurator::Instance() {
  if (!cfg_ptrInstance) {
    cfg_ptrInstance = new (std::nothrow) xConfigurator();
#if defined(QLN_GAME_BUILD)
    xConfigurator *ptrInstance_ = cfg_ptrInstance;
    QLN_ASSERT(ptrInstance_ != nullptr);
#endif
  }
  return cfg_ptrInstance;
}

}  // namespace QuillonPHX2D
