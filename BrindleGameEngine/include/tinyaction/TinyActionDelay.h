#pragma once
#include "tinyaction/TinyAction.h"
#include "tinyaction/TinyTimer.h"

// Ends once its duration has passed; time beyond it is dropped.
class TinyActionDelay : public TinyAction {
 public:
  explicit TinyActionDelay(TinyTimer timer);

  void update(int ms) override;
  void start(bge::ActionListener* listener, int tag) override;
  TinyAction* clone() const override;

  const TinyTimer& getTimer() const { return timer_; }

 private:
  TinyActionDelay(const TinyActionDelay&) = default;

  TinyTimer timer_;
};
