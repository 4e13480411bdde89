#pragma once

namespace bge {

class Dialog;

// Kinds: 2 an animation started (opening or closing), 1 opened (the children
// are live), 3 closed (the dialog is about to be deleted).
class DialogListener {
 public:
  enum Kind { Opened = 1, AnimationStarted = 2, Closed = 3 };
  virtual ~DialogListener() = default;
  virtual void onDialogEvent(int dialogId, int kind, Dialog* dialog) = 0;
};

}  // namespace bge
