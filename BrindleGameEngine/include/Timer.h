#pragma once
#include <cstdint>

// Milliseconds since an arbitrary start. The engine reads time only through this,
// so tests can drive clocks, double clicks and frame times by hand.
using TickSource = uint64_t (*)();

// The current engine tick (SDL_GetTicks64 unless replaced).
uint64_t engineTicks();
// Replaces the tick source (nullptr restores SDL's); returns the previous one.
TickSource setTickSource(TickSource source);

// Millisecond stopwatch that can pause. A new Timer is paused at zero until started.
class Timer {
 public:
  Timer();

  void start();
  void pause();
  void resume();
  uint32_t getElapsed() const;
  bool isPaused() const { return paused_; }

 private:
  bool paused_;
  uint64_t pauseStamp_;
  uint64_t startStamp_;
};
