#include "tinyaction/TinyCompositeAction.h"

#include "AssertReport.h"

TinyCompositeAction::~TinyCompositeAction() = default;

TinyCompositeAction::TinyCompositeAction(const TinyCompositeAction& other)
    : TinyAction(other), bge::ActionListener() {
  actions_.reserve(other.actions_.size());
  for (const auto& action : other.actions_) actions_.emplace_back(action->clone());
}

void TinyCompositeAction::addAction(TinyAction* action) {
  if (!BGE_REPORT(action != nullptr)) return;
  actions_.emplace_back(action);
}

void TinyCompositeAction::stop() {
  for (const auto& action : actions_) action->stop();
  TinyAction::stop();
}
