#pragma once
#include "tinyaction/TinyAction.h"

// Writes a value into its target when started; ends on the first update.
template <typename T>
class TinySetter : public TinyAction {
 public:
  TinySetter(T* target, T value) : target_(target), value_(value) {}

  void start(bge::ActionListener* listener, int tag) override {
    if (target_) *target_ = value_;
    TinyAction::start(listener, tag);
  }
  void update(int /*ms*/) override {
    if (isRunning()) notifyFinished();
  }
  TinyAction* clone() const override { return new TinySetter<T>(*this); }

 private:
  TinySetter(const TinySetter&) = default;

  T* target_;
  T value_;
};
