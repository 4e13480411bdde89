#pragma once
// The engine draws and places things with the physics engine's vector types (and its unset
// value): one definition, the physics engine's own.
#include "Foundation/Math/QlnMath.h"
