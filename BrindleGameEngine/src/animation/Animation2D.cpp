#include "animation/Animation2D.h"

#include <iterator>
#include <utility>

#include "Graphics.h"
#include "animation/AnimationElement2D.h"
#include "animation/AnimationListener.h"
#include "animation/AnimationPlayer.h"
#include "tinyaction/TinyActions.h"

Animation2D::Animation2D(int id, AnimationPlayer* player, AnimationListener* listener)
    : player_(player), id_(id), listener_(listener) {}

Animation2D::~Animation2D() {
  if (destroyedFlag_) *destroyedFlag_ = true;
  if (player_) player_->onAnimationDeleted(this);
}

std::vector<AnimationElement2D*> Animation2D::getElements() const {
  std::vector<AnimationElement2D*> elements;
  elements.reserve(elements_.size());
  for (const auto& element : elements_) elements.push_back(element.get());
  return elements;
}

void Animation2D::setScene(const std::string& name, bool loop, int loopCount, int length) {
  name_ = name;
  loop_ = loop;
  loopCount_ = loopCount;
  length_ = length;
}

void Animation2D::addElement(AnimationElement2D* element) { elements_.emplace_back(element); }

bool Animation2D::loadElements(const std::string& folder, ResourceManager* resources) {
  folder_ = folder;
  for (const auto& element : elements_) {
    if (!element->load(folder, resources)) return false;
  }
  sortElementsByZ();
  return true;
}

void Animation2D::sortElementsByZ() {
  // Bubble sort on the truncated depth: equal depths keep their file order.
  const size_t n = elements_.size();
  for (size_t pass = 0; pass + 1 < n; ++pass) {
    for (size_t i = 0; i + 1 < n - pass; ++i) {
      if (static_cast<int>(elements_[i + 1]->z) < static_cast<int>(elements_[i]->z)) {
        std::swap(elements_[i], elements_[i + 1]);
      }
    }
  }
}

void Animation2D::buildActions(float depthOffset) {
  if (!actions_.empty()) return;
  depthOffset_ = depthOffset;
  for (const auto& element : elements_) {
    actions_.emplace_back(element->buildAction(depthOffset, loop_, loopCount_, length_));
  }
  if (elements_.empty()) {
    // A scene without objects still lasts its length and reports its end.
    TinyAction* wait = new TinyActionDelay(TinyTimer(length_));
    actions_.emplace_back(loop_ ? new TinyLoopAction(wait, loopCount_, -1) : wait);
  }
  playing_ = true;
}

void Animation2D::startActions() {
  for (size_t i = 0; i < actions_.size(); ++i) {
    if (!actions_[i]->isRunning()) actions_[i]->start(this, static_cast<int>(i));
  }
}

void Animation2D::stop() {
  for (const auto& action : actions_) action->stop();
  if (updating_) {
    // The update loop above us may still be inside one of these.
    retired_.insert(retired_.end(), std::make_move_iterator(actions_.begin()),
                    std::make_move_iterator(actions_.end()));
  }
  actions_.clear();
  ++generation_;
  playing_ = false;
  for (const auto& element : elements_) element->resetToFirstFrame();
}

void Animation2D::forgetPlayer() {
  player_ = nullptr;
  listener_ = nullptr;
  orphaned_ = true;
}

void Animation2D::update(int dt, ScreenBase* /*screen*/) {
  if (paused_ || orphaned_ || updating_) return;
  bool destroyed = false;
  destroyedFlag_ = &destroyed;
  updating_ = true;
  const int generation = generation_;
  for (size_t i = 0; i < actions_.size(); ++i) {
    actions_[i]->update(dt);
    // A listener may have deleted us, or stopped and rebuilt the actions.
    if (destroyed) return;
    if (generation != generation_) break;
  }
  updating_ = false;
  destroyedFlag_ = nullptr;
  retired_.clear();
}

void Animation2D::draw(Graphics* graphics, ScreenBase* /*screen*/) {
  if (!getManager() || orphaned_ || !graphics) return;
  for (const auto& element : elements_) {
    if (element->getType() != 0) continue;
    graphics->pushMatrix();
    element->draw(graphics, 0.0f, 0.0f);
    graphics->popMatrix();
  }
}

void Animation2D::actionFinished(int tag) {
  if (actions_.empty() || tag != static_cast<int>(actions_.size()) - 1) return;
  if (listener_) listener_->animationFinished(id_);
}
