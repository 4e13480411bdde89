#pragma once
#include <cstddef>
#include <memory>
#include <vector>

#include "tinyaction/TinyAction.h"

// Owns an ordered list of child actions.
class TinyCompositeAction : public TinyAction, public bge::ActionListener {
 public:
  TinyCompositeAction() = default;
  ~TinyCompositeAction() override;

  void addAction(TinyAction* action);
  void stop() override;

  std::size_t getActionCount() const { return actions_.size(); }
  TinyAction* getAction(std::size_t i) const { return actions_[i].get(); }

 protected:
  TinyCompositeAction(const TinyCompositeAction& other);
  TinyCompositeAction& operator=(const TinyCompositeAction&) = delete;

  std::vector<std::unique_ptr<TinyAction>> actions_;
};
