#include "Transition.h"

#include "TransitionListener.h"

void Transition::begin(TransitionListener* listener, int id) {
  running_ = true;
  listener_ = listener;
  id_ = id;
  start();
}

void Transition::finish() {
  running_ = false;
  TransitionListener* listener = listener_;
  // The listener may replace (delete) this transition; nothing follows the call.
  if (listener) listener->transitionFinished(id_);
}

void EmptyTransition::start() { finish(); }
