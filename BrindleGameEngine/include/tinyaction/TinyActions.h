#pragma once
// Everything an owner needs to build action trees.
#include "tinyaction/TinyAction.h"
#include "tinyaction/TinyActionDelay.h"
#include "tinyaction/TinyActionOperatorFunction.h"
#include "tinyaction/TinyActionSequence.h"
#include "tinyaction/TinyLoopAction.h"
#include "tinyaction/TinyParalelAction.h"
#include "tinyaction/TinyRelDecrementator.h"
#include "tinyaction/TinyRelIncrementator.h"
#include "tinyaction/TinySetter.h"
#include "tinyaction/TinyTimer.h"
