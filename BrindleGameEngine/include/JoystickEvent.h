#pragma once
#include <cstdint>

struct _SDL_Joystick;

// A raw joystick event as the states see it; unused fields stay -1.
struct JoystickEvent {
  _SDL_Joystick* joystick = nullptr;  // the first joystick's handle
  int32_t which = -1;                 // SDL instance id
  int32_t axis = -1;
  int16_t axisValue = 0;
  int32_t ball = -1;
  int32_t ballDx = 0;
  int32_t ballDy = 0;
  int32_t hat = -1;
  int32_t hatValue = -1;
  int32_t button = -1;
  int32_t type = -1;  // SDL event type: 1536 axis, 1537 ball, 1538 hat, 1539/1540 button
};
