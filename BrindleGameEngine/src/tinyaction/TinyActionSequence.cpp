#include "tinyaction/TinyActionSequence.h"

TinyActionSequence::TinyActionSequence(bool chainAtOnce) : chainAtOnce_(chainAtOnce) {}

TinyActionSequence::TinyActionSequence(const TinyActionSequence& other)
    : TinyCompositeAction(other), index_(other.index_), current_(nullptr),
      chainAtOnce_(other.chainAtOnce_) {}

TinyAction* TinyActionSequence::clone() const { return new TinyActionSequence(*this); }

void TinyActionSequence::start(bge::ActionListener* listener, int tag) {
  index_ = 0;
  current_ = nullptr;
  TinyAction::start(listener, tag);
  if (actions_.empty()) {
    notifyFinished();
    return;
  }
  current_ = actions_[0].get();
  current_->start(this, 0);
}

void TinyActionSequence::update(int ms) {
  if (!isRunning()) return;
  if (current_ && current_->isRunning()) {
    current_->update(ms);
    return;
  }
  ++index_;
  if (index_ < actions_.size()) {
    current_ = actions_[index_].get();
    current_->start(this, static_cast<int>(index_));
    if (chainAtOnce_) current_->update(ms);
    return;
  }
  current_ = nullptr;
  notifyFinished();
}

TinyAction* TinyActionSequence::then(TinyAction* other) {
  addAction(other);
  return this;
}

// Children are polled through their running flag instead.
void TinyActionSequence::actionFinished(int /*tag*/) {}
