// What the heads-up display animates: the pulse, the new-wave banner, the checkpoint
// message and the restore sweep.
#include "Game/LevelHud.h"

#include "GameApp.h"
#include "LabelManager.h"
#include "tinyaction/TinyActionDelay.h"
#include "tinyaction/TinyActionSequence.h"
#include "tinyaction/TinyLoopAction.h"
#include "tinyaction/TinyRelIncrementator.h"
#include "tinyaction/TinySetter.h"

namespace {

template <typename T>
TinyAction* rel(T* target, T amount, int ms, TinyActionOperatorFunction curve) {
  return new TinyRelIncrementator<T>(TinyTimer(ms), target, amount, curve, 1.0f);
}

}  // namespace

void LevelHud::makeAnimations() {
  TinyActionSequence* pulse = new TinyActionSequence(false);
  pulse->addAction(rel(&pulse_, 0.5f, 512, logarithmicOperatorFunction));
  pulse->addAction(new TinySetter<float>(&pulse_, 1.5f));
  pulse->addAction(rel(&pulse_, -1.0f, 1024, exponentialOperatorFunction));
  pulse->addAction(new TinySetter<float>(&pulse_, 0.5f));
  pulse->addAction(rel(&pulse_, 0.5f, 512, logarithmicOperatorFunction));
  pulse->addAction(new TinySetter<float>(&pulse_, 1.0f));
  pulseAction_.reset(new TinyLoopAction(pulse, -1));
  pulseAction_->start(nullptr, -1);

  TinyActionSequence* announce = new TinyActionSequence(false);
  announce->addAction(new TinySetter<int>(&announceAlpha_, 0));
  announce->addAction(rel(&announceAlpha_, 255, 512, exponentialOperatorFunction));
  announce->addAction(new TinyActionDelay(TinyTimer(1024)));
  announce->addAction(rel(&announceAlpha_, -255, 512, logarithmicOperatorFunction));
  announceAction_.reset(announce);

  TinyActionSequence* message = new TinyActionSequence(false);
  message->addAction(new TinySetter<int>(&messageAlpha_, 0));
  message->addAction(rel(&messageAlpha_, 255, 512, linearOperatorFunction));
  message->addAction(new TinyActionDelay(TinyTimer(3084)));
  message->addAction(rel(&messageAlpha_, -255, 512, linearOperatorFunction));
  messageAction_.reset(message);

  TinyActionSequence* sweep = new TinyActionSequence(false);
  sweep->addAction(new TinySetter<float>(&sweep_, 1024.0f));
  sweep->addAction(rel(&sweep_, -1024.0f, 2048, logarithmicOperatorFunction));
  sweepAction_.reset(sweep);
}

void LevelHud::updateFades(int dt) {
  for (TinyAction* a : {announceAction_.get(), messageAction_.get(), sweepAction_.get()})
    if (a && a->isRunning()) a->update(dt);
}

void LevelHud::updatePulse(int dt) {
  if (pulseAction_ && pulseAction_->isRunning()) pulseAction_->update(dt);
}

void LevelHud::announce() {
  if (announceAction_) announceAction_->start(nullptr, -1);
}

bool LevelHud::showMessage(const char* labelKey, bge::ActionListener* listener, int id) {
  if (!messageAction_) return false;
  GameApp* app = GameApp::instance();
  if (app && app->gameMessages()) message_ = app->gameMessages()->getLabel(labelKey);
  messageAction_->start(listener, id);
  return true;
}

bool LevelHud::startSweep(bge::ActionListener* listener, int id) {
  // The sweep ends in the restore's message: without the message there is no restore.
  if (!messageAction_ || !sweepAction_ || sweepAction_->isRunning()) return false;
  sweepAction_->start(listener, id);
  return true;
}

bool LevelHud::sweepRunning() const { return sweepAction_ && sweepAction_->isRunning(); }
