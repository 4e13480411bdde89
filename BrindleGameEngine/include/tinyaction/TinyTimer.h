#pragma once

// Millisecond counter handed by value to timed actions.
struct TinyTimer {
  int elapsed = 0;
  int duration = 0;

  TinyTimer() = default;
  explicit TinyTimer(int durationMs) : elapsed(0), duration(durationMs) {}

  void reset() { elapsed = 0; }
  void advance(int ms) { elapsed += ms; }
  bool done() const { return elapsed >= duration; }
};
