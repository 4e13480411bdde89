#include "tinyaction/TinyCompositeAction.h"

#include "AssertReport.h"

TinyCompositeAction::~TinyCompositeAction() {
  for (TinyAction*& action : actions_) safeDelete(action);
}

TinyCompositeAction::TinyCompositeAction(const TinyCompositeAction& other)
    : TinyAction(other), bge::ActionListener() {
  actions_.reserve(other.actions_.size());
  for (const TinyAction* action : other.actions_) actions_.push_back(action->clone());
}

void TinyCompositeAction::addAction(TinyAction* action) {
  if (!BGE_REPORT(action != nullptr)) return;
  actions_.push_back(action);
}

void TinyCompositeAction::stop() {
  for (TinyAction* action : actions_) action->stop();
  TinyAction::stop();
}
