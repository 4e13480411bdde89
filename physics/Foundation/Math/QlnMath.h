#pragma once
// Everything of the engine's math in one include.
#include "Foundation/Math/QlnConstants.h"
#include "Foundation/Math/QlnFunctions.h"
#include "Foundation/Math/QlnOperators.h"
#include "Foundation/Math/QlnSolverRows.h"
#include "Foundation/Math/xMatrix.h"
#include "Foundation/Math/xVector.h"
