#pragma once
#include "tinyaction/TinyCompositeAction.h"

// Runs its children together; ends the update after the last one ended.
class TinyParalelAction : public TinyCompositeAction {
 public:
  TinyParalelAction() = default;

  void update(int ms) override;
  void start(bge::ActionListener* listener, int tag) override;
  TinyAction* clone() const override;
  TinyAction* parallel(TinyAction* other) override;
  void actionFinished(int tag) override;

 private:
  TinyParalelAction(const TinyParalelAction& other) = default;
};
