#pragma once
// Common ground of the game-only 3D contact world: the engine's math and assertions,
// plus the flag bits the 3D code shares.
#include "Foundation/Math/QlnMath.h"
#include "Foundation/QlnAssert.h"

namespace QuillonPHX2D {

// Flag bits of 3D bodies and shapes (the same values as the 2D paragon flags).
enum : unsigned int {
  kFlag3DActive = 1,
  kFlag3DGravity = 2,
  kFlag3DGroupActivated = 4,
  kFlag3DTested = 8,
  kFlag3DFluidForces = 64,
};

// Flag bits of 3D constraint sets.
enum : unsigned int {
  kSet3DClosedSet = 1,
  kSet3DEnabled = 2,
};

}  // namespace QuillonPHX2D
