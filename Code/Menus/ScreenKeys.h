#pragma once

struct KeyEvent;

// True for a press of Return, keypad Enter, Space or Escape: the keys that
// move the demonstration screens on.
bool isAdvanceKey(const KeyEvent& event);
