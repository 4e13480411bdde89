#pragma once

namespace bge {

// Every pointer event of a button, with the button's id.
class ButtonListener {
 public:
  enum Kind { Pressed = 0, Released = 1, PointerEntered = 2, PointerLeft = 3 };
  virtual ~ButtonListener() = default;
  virtual void onButtonEvent(int buttonId, int kind) = 0;
};

}  // namespace bge
