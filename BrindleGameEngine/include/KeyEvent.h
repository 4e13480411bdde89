#pragma once
#include <cstdint>

// A keyboard press or release as the states see it.
struct KeyEvent {
  enum Kind { Pressed = 0, Released = 1 };

  int32_t key = 0;            // SDL key code of the event's key symbol
  int32_t modifiers = 0;      // SDL modifier bits
  int32_t kind = Pressed;
  int32_t shiftedKey = 0;     // key after the shift-key map
  char character = 0;         // translateKey(shiftedKey)
  int32_t keyFromScancode = 0;
  int32_t scancode = 0;
};
