#pragma once

// A two-finger pinch step.
struct PinchZoomEvent {
  enum Phase { Began = 0, Continuing = 1 };

  virtual ~PinchZoomEvent() = default;

  float delta = 0.0f;  // the gesture's distance change
  float scale = 1.0f;
  float previousScale = 1.0f;
  int centerX = 0;
  int centerY = 0;
  int phase = Continuing;
};
