#include "tinyaction/TinyParalelAction.h"

#include <cstddef>

TinyAction* TinyParalelAction::clone() const { return new TinyParalelAction(*this); }

void TinyParalelAction::start(bge::ActionListener* listener, int tag) {
  TinyAction::start(listener, tag);
  if (actions_.empty()) {
    notifyFinished();
    return;
  }
  for (std::size_t i = 0; i < actions_.size(); ++i) actions_[i]->start(this, static_cast<int>(i));
}

void TinyParalelAction::update(int ms) {
  if (!isRunning()) return;
  int running = 0;
  for (const auto& action : actions_) {
    if (!action->isRunning()) continue;
    action->update(ms);
    ++running;
  }
  if (running == 0) notifyFinished();
}

TinyAction* TinyParalelAction::parallel(TinyAction* other) {
  addAction(other);
  return this;
}

// Children are polled through their running flag instead.
void TinyParalelAction::actionFinished(int /*tag*/) {}
