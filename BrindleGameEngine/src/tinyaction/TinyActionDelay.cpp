#include "tinyaction/TinyActionDelay.h"

TinyActionDelay::TinyActionDelay(TinyTimer timer) : timer_(timer) {}

TinyAction* TinyActionDelay::clone() const { return new TinyActionDelay(*this); }

void TinyActionDelay::start(bge::ActionListener* listener, int tag) {
  timer_.reset();
  TinyAction::start(listener, tag);
}

void TinyActionDelay::update(int ms) {
  // The timer runs even when stopped; start resets it.
  timer_.advance(ms);
  if (isRunning() && timer_.done()) notifyFinished();
}
