#include <gtest/gtest.h>

#include "FrameStep.h"
#include "Timer.h"

namespace {
uint64_t g_now = 0;
uint64_t fakeTicks() { return g_now; }

// Drives every engine clock by hand for the test's lifetime.
struct ManualClock {
  ManualClock() { previous = setTickSource(&fakeTicks); g_now = 1000; }
  ~ManualClock() { setTickSource(previous); }
  TickSource previous;
};
}  // namespace

TEST(Timer, NewTimerReadsZeroUntilStarted) {
  ManualClock clock;
  Timer t;
  g_now += 500;
  EXPECT_EQ(t.getElapsed(), 0u);
  EXPECT_TRUE(t.isPaused());
  t.start();
  g_now += 40;
  EXPECT_EQ(t.getElapsed(), 40u);
}

TEST(Timer, PausedSpanDoesNotCountAndRepeatedCallsAreIgnored) {
  ManualClock clock;
  Timer t;
  t.start();
  g_now += 100;
  t.pause();
  g_now += 30;
  t.pause();  // second pause must not move the stamp
  g_now += 20;
  EXPECT_EQ(t.getElapsed(), 100u);
  t.resume();
  g_now += 5;
  EXPECT_EQ(t.getElapsed(), 105u);  // lost exactly the 50 ms since the first pause
  t.resume();                       // already running: nothing
  g_now += 5;
  EXPECT_EQ(t.getElapsed(), 110u);
}

TEST(FrameStep, StepTable) {
  EXPECT_FLOAT_EQ(physicsStepForFrame(0, 1.0f), 0.01f);
  EXPECT_FLOAT_EQ(physicsStepForFrame(1, 1.0f), 0.1f);
  EXPECT_FLOAT_EQ(physicsStepForFrame(10, 1.0f), 1.0f);
  EXPECT_FLOAT_EQ(physicsStepForFrame(15, 1.0f), 1.5f);
  // A full frame steps less than a 15 ms one: 16 ms gives exactly 1.6, outside the range.
  EXPECT_FLOAT_EQ(physicsStepForFrame(16, 1.0f), 1.33f);
  EXPECT_FLOAT_EQ(physicsStepForFrame(100, 1.0f), 1.33f);
  EXPECT_FLOAT_EQ(physicsStepForFrame(0, 2.0f), 0.02f);
  EXPECT_FLOAT_EQ(physicsStepForFrame(15, 0.5f), 0.75f);
  EXPECT_EQ(physicsStepForFrame(15, 0.0f), 0.0f);
  EXPECT_EQ(physicsStepForFrame(16, 0.0f), 0.0f);
}
