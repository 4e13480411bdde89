#pragma once
#include "tinyaction/TinyAction.h"
#include "tinyaction/TinyActionOperatorFunction.h"
#include "tinyaction/TinyTimer.h"

// Moves its target from its value at start up (Sign +1) or down (Sign -1) by a
// delta over the timer's duration, shaped by the operator function; the last
// update sets the exact end value.
template <typename T, int Sign>
class TinyRelChangeAction : public TinyAction {
 public:
  TinyRelChangeAction(TinyTimer timer, T* target, T delta, TinyActionOperatorFunction op,
                      float factor)
      : timer_(timer), target_(target), delta_(delta), op_(op), factor_(factor) {}

  void start(bge::ActionListener* listener, int tag) override;
  void update(int ms) override;
  TinyAction* clone() const override { return new TinyRelChangeAction<T, Sign>(*this); }

  T getLastChange() const { return lastChange_; }
  bool hasUpdated() const { return updated_; }

 private:
  TinyRelChangeAction(const TinyRelChangeAction&) = default;
  T valueAt(double progress) const;
  T endValue() const;

  TinyTimer timer_;
  T* target_;
  T delta_;
  TinyActionOperatorFunction op_;
  float factor_;
  T startValue_ = T();
  int duration_ = 0;
  T lastChange_ = T();
  bool updated_ = false;
};

template <typename T>
using TinyRelIncrementator = TinyRelChangeAction<T, 1>;
template <typename T>
using TinyRelDecrementator = TinyRelChangeAction<T, -1>;

extern template class TinyRelChangeAction<int, 1>;
extern template class TinyRelChangeAction<float, 1>;
extern template class TinyRelChangeAction<unsigned char, 1>;
extern template class TinyRelChangeAction<unsigned char, -1>;
