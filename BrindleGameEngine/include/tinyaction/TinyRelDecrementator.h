#pragma once
// The decrementer shares its implementation with the incrementer.
#include "tinyaction/TinyRelIncrementator.h"
