#pragma once
#include <cstddef>

#include "tinyaction/TinyCompositeAction.h"

// Runs its children one after the other. A child's end is noticed by polling on
// the next update; with chain-at-once the next child also gets that update's time.
class TinyActionSequence : public TinyCompositeAction {
 public:
  explicit TinyActionSequence(bool chainAtOnce = false);

  void update(int ms) override;
  void start(bge::ActionListener* listener, int tag) override;
  TinyAction* clone() const override;
  TinyAction* then(TinyAction* other) override;
  void actionFinished(int tag) override;

  std::size_t getCurrentIndex() const { return index_; }
  bool chainsAtOnce() const { return chainAtOnce_; }

 private:
  TinyActionSequence(const TinyActionSequence& other);

  std::size_t index_ = 0;
  TinyAction* current_ = nullptr;  // not owned: one of actions_
  bool chainAtOnce_ = false;
};
