#include "WidgetManager.h"

#include <algorithm>
#include <cstdio>

#include "GameApp.h"
#include "Graphics.h"
#include "PointingDeviceEvent.h"
#include "ScreenBase.h"
#include "Widget.h"

WidgetManager::WidgetManager(ScreenBase* owner) : owner_(owner) {}

WidgetManager::~WidgetManager() {
  widgets_.clear();
  members_.clear();
  removed_.clear();
  layered_.clear();
}

namespace {

// How many widgets ahead of the one updated the walk asks the memory for.
constexpr size_t kFetchAhead = 4;

// Front-most first: the deeper value is in front.
bool inFront(const Widget* a, const Widget* b) { return a->getZ() > b->getZ(); }

}  // namespace

bool WidgetManager::contains(const Widget* widget) const { return widget && members_.count(widget) > 0; }

void WidgetManager::compact() const {
  if (removed_.empty()) return;
  size_t kept = 0, keptSorted = 0;
  for (size_t i = 0; i < widgets_.size(); ++i) {
    Widget* w = widgets_[i];
    if (removed_.count(w)) continue;
    widgets_[kept++] = w;
    if (i < sortedCount_) ++keptSorted;
  }
  widgets_.resize(kept);
  sortedCount_ = keptSorted;
  removed_.clear();
}

void WidgetManager::onKeyEvent(const KeyEvent& event) {
  if (focusedWidget_) focusedWidget_->onKeyEvent(event);
}

void WidgetManager::onJoystickEvent(const JoystickEvent& event) {
  if (focusedWidget_) focusedWidget_->onJoystickEvent(event);
}

void WidgetManager::sort() {
  // The same order a stable sort of the whole list gives: the sorted part keeps its order,
  // and the appended widgets, sorted among themselves, merge in behind the ones of their
  // depth that were there first.
  compact();
  if (orderStale_) {
    std::stable_sort(widgets_.begin(), widgets_.end(), inFront);
  } else if (widgets_.size() == sortedCount_ + 1) {
    Widget* added = widgets_.back();
    const auto at = std::upper_bound(widgets_.begin(), widgets_.begin() + sortedCount_, added, inFront);
    std::rotate(at, widgets_.end() - 1, widgets_.end());
  } else if (widgets_.size() > sortedCount_) {
    const auto middle = widgets_.begin() + sortedCount_;
    std::stable_sort(middle, widgets_.end(), inFront);
    std::inplace_merge(widgets_.begin(), middle, widgets_.end(), inFront);
  }
  sortedCount_ = widgets_.size();
  orderStale_ = false;
  tailDepth_ = 0;
  tailDepthKnown_ = true;
}

void WidgetManager::addWidget(Widget* widget, bool noSort) {
  if (!widget) return;
  // A widget listed twice would be updated, drawn and removed twice.
  if (contains(widget)) return;
  // A new widget at the address of one taken out: its old entry goes first.
  if (removed_.count(widget)) compact();
  if (widget->getZ() < 1.0f) {
    Rect5 geometry = widget->getGeometry();
    const int depth = maxDepth() + 1;
    geometry.z = static_cast<float>(depth);
    widget->setGeometry(geometry);
    depthCounter_ = depth;
  }
  widgets_.push_back(widget);
  members_.insert(widget);
  if (tailDepthKnown_) tailDepth_ = std::max(tailDepth_, static_cast<int>(widget->getZ()));
  if (!noSort) sort();
  widget->attach(this);
  refreshHover(widget, false);
}

void WidgetManager::removeWidget(Widget* widget) {
  if (!widget) {
    listChanged_ = true;
    return;
  }
  if (widget == focusedWidget_) setFocus(nullptr);
  if (widget == exitedWidget_) exitedWidget_ = nullptr;
  if (contains(widget)) {
    widget->detach();
    // onDetached may take other widgets out (a dialog its animations): look again.
    if (members_.erase(widget)) {
      removed_.insert(widget);
      tailDepthKnown_ = false;
    }
  }
  listChanged_ = true;
  if (widget == pointerWidget_) pointerWidget_ = nullptr;
}

int WidgetManager::maxDepth() const {
  compact();
  int depth = 0;
  if (orderStale_) {
    for (const Widget* w : widgets_) depth = std::max(depth, static_cast<int>(w->getZ()));
    return depth;
  }
  // While no depth changed, the sorted part's deepest is its first, and the appended
  // widgets' deepest is kept as they come (looked for again after a removal).
  if (sortedCount_ > 0) depth = std::max(depth, static_cast<int>(widgets_.front()->getZ()));
  if (!tailDepthKnown_) {
    tailDepth_ = 0;
    for (size_t i = sortedCount_; i < widgets_.size(); ++i)
      tailDepth_ = std::max(tailDepth_, static_cast<int>(widgets_[i]->getZ()));
    tailDepthKnown_ = true;
  }
  return std::max(depth, tailDepth_);
}

void WidgetManager::raiseWidget(Widget* widget) {
  if (!contains(widget)) return;
  ++depthCounter_;
  widget->setZ(depthCounter_);
  needsSort_ = true;
}

Widget* WidgetManager::findWidget(int id) const {
  compact();
  for (Widget* w : widgets_) {
    if (w->getId() == id) return w;
  }
  return nullptr;
}

Widget* WidgetManager::findWidgetAt(int x, int y) const {
  // Hidden widgets are not there for the pointer: screens hide panels they
  // are not showing and expect the pointer to reach what lies beneath.
  compact();
  for (Widget* w : widgets_) {
    if (w->isVisible() && w->takesPointer() && w->hitTest(x, y)) return w;
  }
  return nullptr;
}

void WidgetManager::setFocus(Widget* widget) {
  if (widget == focusedWidget_) return;
  if (focusedWidget_) focusedWidget_->onFocusLost();
  focusedWidget_ = contains(widget) ? widget : nullptr;
  if (focusedWidget_) focusedWidget_->onFocusGained();
}

void WidgetManager::refreshHover(Widget* widget, bool requireEnabled) {
  GameApp* app = GameApp::instance();
  if (!app || !widget) return;
  const Point2i at = app->getMousePosition();
  // Only a widget that could take the pointer there can be the one found: the others
  // need no walk through the list.
  if (!widget->isVisible() || !widget->takesPointer() || !widget->hitTest(at.x, at.y)) return;
  Widget* found = findWidgetAt(at.x, at.y);
  if (found != widget) return;
  if (requireEnabled && !found->isEnabled()) return;
  if (exitedWidget_) {
    Widget* exited = exitedWidget_;
    pointerWidget_ = nullptr;
    exitedWidget_ = nullptr;
    exited->onPointerExit();
    exited->mouseReleased(PointingDeviceEvent());
  }
  if (pointerWidget_) {
    Widget* previous = pointerWidget_;
    pointerWidget_ = nullptr;
    previous->onPointerExit();
  }
  if (!contains(found)) return;
  found->onPointerEnter();
  if (contains(found)) pointerWidget_ = found;
}

bool WidgetManager::update(int dt, ScreenBase* screen) {
  if (!screen) return false;
  compact();
  if (needsSort_) {
    needsSort_ = false;
    sort();
  }
  listChanged_ = false;
  // Index walk: a widget may add or remove widgets, which ends the pass.
  for (size_t i = 0; i < widgets_.size(); ++i) {
    Widget* w = widgets_[i];
    // Thousands of widgets lie scattered in memory: the one a few places on is fetched
    // while this one updates.
    if (i + kFetchAhead < widgets_.size()) __builtin_prefetch(widgets_[i + kFetchAhead]);
    if (w->isActive()) w->update(dt, screen);
    if (listChanged_) {
      pointerWidget_ = nullptr;
      return false;
    }
  }
  return true;
}

void WidgetManager::draw(Graphics* g, ScreenBase* screen) {
  layered_.clear();
  compact();
  const std::vector<Widget*> snapshot = widgets_;
  // Back to front: with no depth test the widget drawn last is the one seen, and
  // the list holds the front-most first.
  for (auto it = snapshot.rbegin(); it != snapshot.rend(); ++it) {
    Widget* w = *it;
    if (!w->isVisible()) continue;
    g->pushMatrix();
    g->translate(w->getX(), w->getY());
    w->draw(g, screen);
    g->translate(-w->getX(), -w->getY());
    g->popMatrix();
  }
  drawLayered(g, screen);
}

void WidgetManager::drawLayered(Graphics* g, ScreenBase* screen) {
  std::vector<std::pair<Widget*, int>> queue;
  queue.swap(layered_);
  std::sort(queue.begin(), queue.end(),
            [](const std::pair<Widget*, int>& a, const std::pair<Widget*, int>& b) {
              return a.second < b.second;
            });
  for (const auto& entry : queue) {
    Widget* w = entry.first;
    if (!w->isVisible() || !contains(w)) continue;
    g->pushMatrix();
    g->translate(w->getX(), w->getY());
    w->drawLayer(g, screen);
    g->translate(-w->getX(), -w->getY());
    g->popMatrix();
  }
  layered_.clear();
}

void WidgetManager::drawUnscaled(Graphics* g, ScreenBase* screen) {
  compact();
  const std::vector<Widget*> snapshot = widgets_;
  for (Widget* w : snapshot) {
    if (w->isVisible()) w->drawUnscaled(g, screen);
  }
}

void WidgetManager::addToLayer(Widget* widget, int layer) {
  if (widget) layered_.emplace_back(widget, layer);
}

void WidgetManager::handlePointerEvent(const PointingDeviceEvent& original) {
  if (!inputEnabled_) return;
  PointingDeviceEvent event = original;
  int x = event.x;
  int y = event.y;
  GameApp* app = GameApp::instance();
  if (app && (event.kind == PointingDeviceEvent::WheelDown ||
              event.kind == PointingDeviceEvent::WheelUp)) {
    const Point2i at = app->getMousePosition();
    x = at.x;
    y = at.y;
  }
  if (app) app->adjustPointer(event, x, y);
  if (owner_) owner_->adjustPointer(event, x, y);
  event.x = x;
  event.y = y;

  Widget* hit = findWidgetAt(x, y);
  if (!hit) {
    Widget* previous = pointerWidget_;
    pointerWidget_ = nullptr;
    if (previous && previous->takesPointer()) previous->onPointerExit();
    return;
  }
  switch (event.kind) {
    case PointingDeviceEvent::Pressed: dispatchPress(hit, event); break;
    case PointingDeviceEvent::Released: dispatchRelease(hit, event); break;
    case PointingDeviceEvent::Moved: dispatchMove(hit, event); break;
    case PointingDeviceEvent::WheelDown:
      if (pointerWidget_) pointerWidget_->onWheelDown(event);
      break;
    case PointingDeviceEvent::WheelUp:
      if (pointerWidget_) pointerWidget_->onWheelUp(event);
      break;
    default: std::printf("PointingDeviceEvent event - DEFAULT\n"); break;
  }
}

void WidgetManager::dispatchPress(Widget* hit, const PointingDeviceEvent& event) {
  hit->onPointerEnter();
  if (contains(hit)) hit->mousePressed(event);
  // A handler may have taken the widget out; then it holds no role.
  if (!contains(hit)) return;
  pointerWidget_ = hit;
  setFocus(hit);
}

void WidgetManager::dispatchRelease(Widget* hit, const PointingDeviceEvent& event) {
  exitedWidget_ = nullptr;
  if (pointerWidget_) {
    pointerWidget_->mouseReleased(event);
    // The handler may have let the widget go; it gets no second release.
    if (pointerWidget_) pointerWidget_->onPointerExit();
  } else {
    hit->mouseReleased(event);
    if (contains(hit)) hit->onPointerExit();
  }
  pointerWidget_ = contains(hit) ? hit : nullptr;
}

void WidgetManager::dispatchMove(Widget* hit, const PointingDeviceEvent& event) {
  if (hit != pointerWidget_) {
    Widget* previous = pointerWidget_;
    if (previous && previous->takesPointer()) {
      if (event.buttons > 0) {
        // A drag: the pressed widget keeps the pointer and hears every move.
        if (exitedWidget_ != previous) {
          exitedWidget_ = previous;
          std::printf("PointingDeviceEvent::MOVE - exit\n");
          previous->onPointerExit();
        }
        if (pointerWidget_) pointerWidget_->mouseMoved(event);
        return;
      }
      previous->onPointerExit();
    }
    exitedWidget_ = nullptr;
    pointerWidget_ = nullptr;
    if (!contains(hit)) return;
    hit->onPointerEnter();
    if (!contains(hit)) return;
    pointerWidget_ = hit;
  } else if (exitedWidget_) {
    Widget* back = exitedWidget_;
    exitedWidget_ = nullptr;
    back->onPointerEnter();
  }
  if (pointerWidget_) pointerWidget_->mouseMoved(event);
}
