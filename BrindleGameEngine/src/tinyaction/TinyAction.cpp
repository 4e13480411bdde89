#include "tinyaction/TinyAction.h"

#include "tinyaction/TinyActionSequence.h"
#include "tinyaction/TinyParalelAction.h"

void TinyAction::update(int /*ms*/) {}

void TinyAction::start(bge::ActionListener* listener, int tag) {
  listener_ = listener;
  tag_ = tag;
  running_ = true;
}

void TinyAction::stop() { running_ = false; }

TinyAction* TinyAction::clone() const { return new TinyAction(*this); }

TinyAction* TinyAction::parallel(TinyAction* other) {
  TinyParalelAction* group = new TinyParalelAction();
  group->addAction(this);
  group->addAction(other);
  return group;
}

TinyAction* TinyAction::then(TinyAction* other) {
  TinyActionSequence* sequence = new TinyActionSequence(false);
  sequence->addAction(this);
  sequence->addAction(other);
  return sequence;
}

void TinyAction::notifyFinished(int id) {
  running_ = false;
  bge::ActionListener* listener = listener_;
  const int reported = id == -1 ? tag_ : id;
  // The listener may delete us; this call is the last thing we do.
  if (listener) listener->actionFinished(reported);
}
