#include "tinyaction/TinyLoopAction.h"

#include "AssertReport.h"

TinyLoopAction::TinyLoopAction(TinyAction* child, int count, int iterationTag)
    : child_(child), count_(count), iterationTag_(iterationTag) {
  (void)BGE_REPORT(child_ != nullptr);
}

TinyLoopAction::TinyLoopAction(const TinyLoopAction& other)
    : TinyAction(other), bge::ActionListener(), child_(other.child_->clone()),
      count_(other.count_), iterationTag_(other.iterationTag_), completed_(other.completed_) {}

TinyLoopAction::~TinyLoopAction() {
  if (deletedWhileStarting_) *deletedWhileStarting_ = true;
}

TinyAction* TinyLoopAction::clone() const { return new TinyLoopAction(*this); }

void TinyLoopAction::startChild() {
  restartPending_ = false;
  startingChild_ = true;
  // A child that ends inside its start may end the loop, and the loop's
  // listener may delete it; the flag tells us not to touch members then.
  bool deleted = false;
  deletedWhileStarting_ = &deleted;
  child_->start(this, -1);
  if (deleted) return;
  deletedWhileStarting_ = nullptr;
  startingChild_ = false;
}

void TinyLoopAction::start(bge::ActionListener* listener, int tag) {
  TinyAction::start(listener, tag);
  completed_ = 0;
  restartPending_ = false;
  startChild();
}

void TinyLoopAction::update(int ms) {
  if (!isRunning()) return;
  if (restartPending_) {
    startChild();
    return;
  }
  child_->update(ms);
}

void TinyLoopAction::stop() {
  child_->stop();
  restartPending_ = false;
  TinyAction::stop();
}

void TinyLoopAction::actionFinished(int /*tag*/) {
  ++completed_;
  if (count_ != -1 && completed_ >= count_) {
    restartPending_ = false;
    notifyFinished();
    return;
  }
  if (startingChild_) {
    restartPending_ = true;
    return;
  }
  startChild();
}
