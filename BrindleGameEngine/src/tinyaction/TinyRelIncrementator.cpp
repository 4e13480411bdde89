#include "tinyaction/TinyRelIncrementator.h"

#include <cmath>
#include <type_traits>

namespace {

// Whole-number targets truncate toward zero; bytes clamp to their range
// rather than wrap, so an overshooting curve cannot flip a fade to opaque.
template <typename T>
T fromDouble(double v) {
  return static_cast<T>(std::trunc(v));
}
template <>
unsigned char fromDouble<unsigned char>(double v) {
  const double t = std::trunc(v);
  if (!(t > 0.0)) return 0;
  if (t > 255.0) return 255;
  return static_cast<unsigned char>(t);
}

}  // namespace

template <typename T, int Sign>
T TinyRelChangeAction<T, Sign>::valueAt(double progress) const {
  if constexpr (std::is_same_v<T, float>) {
    return startValue_ + static_cast<float>(Sign) * static_cast<float>(progress) * delta_;
  } else {
    return fromDouble<T>(static_cast<double>(startValue_) +
                         Sign * progress * static_cast<double>(delta_));
  }
}

template <typename T, int Sign>
T TinyRelChangeAction<T, Sign>::endValue() const {
  if constexpr (std::is_same_v<T, float>) {
    return startValue_ + static_cast<float>(Sign) * delta_;
  } else {
    return fromDouble<T>(static_cast<double>(startValue_) + Sign * static_cast<double>(delta_));
  }
}

template <typename T, int Sign>
void TinyRelChangeAction<T, Sign>::start(bge::ActionListener* listener, int tag) {
  timer_.reset();
  startValue_ = target_ ? *target_ : T();
  lastChange_ = T();
  updated_ = false;
  TinyAction::start(listener, tag);
  duration_ = timer_.duration;
  // Nothing to animate over no time (and the curves would divide by zero).
  if (duration_ <= 0) notifyFinished();
}

template <typename T, int Sign>
void TinyRelChangeAction<T, Sign>::update(int ms) {
  if (!isRunning()) return;
  timer_.advance(ms);
  const T old = target_ ? *target_ : T();
  const double progress = op_(static_cast<float>(timer_.elapsed), static_cast<float>(duration_),
                              factor_);
  T value = valueAt(progress);
  lastChange_ = static_cast<T>(value - old);
  updated_ = true;
  if (timer_.elapsed >= duration_) value = endValue();
  if (target_) *target_ = value;
  if (timer_.elapsed >= duration_) notifyFinished();
}

template class TinyRelChangeAction<int, 1>;
template class TinyRelChangeAction<float, 1>;
template class TinyRelChangeAction<unsigned char, 1>;
template class TinyRelChangeAction<unsigned char, -1>;
