#pragma once

// A pointer event in design coordinates (raw values for the wheel).
struct PointingDeviceEvent {
  enum Kind { Pressed = 0, Released = 1, Moved = 2, WheelDown = 3, WheelUp = 4 };
  enum Button { Left = 1, Right = 2, Middle = 4 };

  int dx = 0;
  int dy = 0;
  int x = 0;
  int y = 0;
  int kind = Moved;
  int buttons = 0;  // Button bits; the mouse instance id for the wheel
  int clicks = 0;   // click count when pressed, 1 when released, else 0
};
