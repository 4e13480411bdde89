#include "ScreenBase.h"

#include <algorithm>
#include <vector>

#include "AppConfig.h"
#include "GameApp.h"
#include "Graphics.h"
#include "MouseListeningWidget.h"
#include "ResourceManager.h"
#include "Transition.h"
#include "Widget.h"
#include "WidgetManager.h"

ScreenBase::ScreenBase(const std::string& name)
    : widgetManager_(std::make_unique<WidgetManager>(this)),
      inTransition_(std::make_unique<EmptyTransition>()),
      outTransition_(std::make_unique<EmptyTransition>()),
      name_(name) {
  if (GameApp* app = GameApp::instance()) {
    app_ = app;
    resources_.reset(app->createResourceManager());
  }
  const AppConfig* config = AppConfig::instance();
  offsetX_ = config->getScreenOffsetX();
  offsetY_ = config->getScreenOffsetY();
}

ScreenBase::~ScreenBase() {
  // Taken one at a time from the list itself: a widget leaving may take others
  // out (back to their owner with removeWidget, or queued with removeWidgetLater).
  PointerMembers deleted;
  while (!widgets_.empty()) {
    std::unique_ptr<Widget> w = std::move(widgets_.front());
    widgets_.pop_front();
    widgetPlaces_.erase(w.get());
    widgetManager_->removeWidget(w.get());
    deleted.insert(w.get());
    w.reset();
  }
  fullScreenWidget_ = nullptr;
  // Queued widgets were deleted above when they were in the list; the others
  // (queued without ever being added here) are still ours to delete.
  while (!deletionQueue_.empty()) {
    Widget* w = deletionQueue_.front();
    deletionQueue_.pop_front();
    queued_.erase(w);
    if (!deleted.insert(w)) continue;
    std::unique_ptr<Widget> doomed(w);
    widgetManager_->removeWidget(w);
  }
  // Only then the manager the widgets were in, the resources they drew with and
  // the transitions.
  widgetManager_.reset();
  resources_.reset();
  inTransition_.reset();
  outTransition_.reset();
}

// --- input ---

void ScreenBase::onKeyEvent(const KeyEvent& event) {
  if (widgetManager_) widgetManager_->onKeyEvent(event);
}

void ScreenBase::onJoystickEvent(const JoystickEvent& event) {
  if (widgetManager_) widgetManager_->onJoystickEvent(event);
}

void ScreenBase::onPointingDeviceEvent(const PointingDeviceEvent& event) {
  if (widgetManager_) widgetManager_->handlePointerEvent(event);
}

// --- life ---

void ScreenBase::activate(GameApp* app) {
  app_ = app;
  prepare();
  app->pushState(this);
}

namespace {

int fullScreenExtent(int windowSize, float factor) {
  if (factor <= 0.0f) return windowSize;
  const float extent = factor < 1.0f ? static_cast<float>(windowSize) / factor
                                     : static_cast<float>(windowSize) * factor;
  return static_cast<int>(extent);
}

}  // namespace

void ScreenBase::enter(GameApp* app) {
  if (app) app_ = app;
  fullScreenWidget_ = new MouseListeningWidget(this);
  int width = 0;
  int height = 0;
  if (app_) {
    width = fullScreenExtent(app_->getScreenWidth(), app_->getScaleFactorX());
    height = fullScreenExtent(app_->getScreenHeight(), app_->getScaleFactorY());
  }
  Rect5 geometry(0.0f, 0.0f, static_cast<float>(width), static_cast<float>(height));
  fullScreenWidget_->setGeometry(geometry);
  addWidget(fullScreenWidget_, false);
  init();
  setActive(true);
  phase_ = PhaseEntering;
  startTransition(inTransition_.get(), kInTransitionId);
}

void ScreenBase::leave(GameApp* /*app*/) { setActive(false); }

void ScreenBase::pause(GameApp* /*app*/) { setActive(false); }

void ScreenBase::resume(GameApp* /*app*/) { setActive(true); }

void ScreenBase::onContextLost() {
  if (resources_) resources_->unloadAll(ResourceManager::TexturesAndFonts);
}

void ScreenBase::onContextRestored() {
  if (resources_) resources_->reloadAll(ResourceManager::TexturesAndFonts);
}

void ScreenBase::startTransition(Transition* transition, int id) {
  if (transition) transition->begin(this, id);
}

void ScreenBase::transitionFinished(int id) {
  if (id != kInTransitionId) return;
  phase_ = PhaseIdle;
  widgetManager_->setInputEnabled(true);
  onShown();
}

void ScreenBase::close(int exitCode, bool disableInput) {
  phase_ = PhaseExiting;
  if (disableInput) widgetManager_->setInputEnabled(false);
  exitCode_ = exitCode;
  startTransition(outTransition_.get(), kOutTransitionId);
}

// A listener may call these from inside the old transition's own call: nothing
// of it is used once the call returns.
void ScreenBase::setInTransition(Transition* transition) {
  if (transition == inTransition_.get()) return;
  inTransition_.reset(transition);
}

void ScreenBase::setOutTransition(Transition* transition) {
  if (transition == outTransition_.get()) return;
  outTransition_.reset(transition);
}

// --- widgets ---

void ScreenBase::addWidget(Widget* widget, bool noSort) {
  if (!widget) return;
  if (!widgetPlaces_.count(widget)) {
    widgetPlaces_.insert(widget, widgets_.insert(widgets_.end(), std::unique_ptr<Widget>(widget)));
  }
  widgetManager_->addWidget(widget, noSort);
}

void ScreenBase::removeWidget(Widget* widget) {
  widgetManager_->removeWidget(widget);
  // The caller's again: let go without deleting.
  static_cast<void>(takeWidget(widget).release());
}

std::unique_ptr<Widget> ScreenBase::takeWidget(const Widget* widget) {
  auto* place = widgetPlaces_.find(widget);
  if (!place) return nullptr;
  std::unique_ptr<Widget> taken = std::move(**place);
  widgets_.erase(*place);
  widgetPlaces_.erase(widget);
  return taken;
}

void ScreenBase::removeWidgetLater(Widget* widget) {
  widgetManager_->setListChanged();
  if (!widget) return;
  widgetManager_->removeWidget(widget);
  widgetManager_->setPointerWidget(nullptr);
  // Asking twice must not delete twice.
  if (queued_.insert(widget)) deletionQueue_.push_back(widget);
}

void ScreenBase::deleteQueuedWidgets() {
  while (!deletionQueue_.empty()) {
    Widget* w = deletionQueue_.front();
    deletionQueue_.pop_front();
    queued_.erase(w);
    if (widgetManager_->getPointerWidget() == w) widgetManager_->setPointerWidget(nullptr);
    std::unique_ptr<Widget> doomed = takeWidget(w);
    // Queued without being added, or handed back after it was queued: ours all the same.
    if (!doomed) doomed.reset(w);
    if (w == fullScreenWidget_) fullScreenWidget_ = nullptr;
    doomed.reset();
  }
}

// --- frame ---

void ScreenBase::update(int dt) {
  preUpdate(dt);
  widgetManager_->update(dt, this);
  postWidgetUpdate(dt);
  deleteQueuedWidgets();
  updateScreen(dt);
  if (phase_ == PhaseEntering) {
    if (inTransition_ && inTransition_->isRunning()) {
      inTransition_->update(dt);
      return;
    }
    phase_ = PhaseIdle;
    widgetManager_->setInputEnabled(true);
    onShown();
  } else if (phase_ == PhaseExiting) {
    if (outTransition_ && outTransition_->isRunning()) {
      outTransition_->update(dt);
      return;
    }
    phase_ = PhaseIdle;
    onExitTransitionDone(exitCode_);
  }
}

void ScreenBase::render(Graphics* g) {
  g->loadIdentity();
  preRender(g);
  drawUnscaledBackground(g);
  widgetManager_->drawUnscaled(g, this);
  drawUnscaled(g);
  applyScale(g);
  Transition* wrapping = phase_ == PhaseEntering ? inTransition_.get()
                         : phase_ == PhaseExiting ? outTransition_.get() : nullptr;
  if (wrapping) wrapping->beginDraw(g);
  drawBackground(g);
  widgetManager_->draw(g, this);
  drawForeground(g);
  if (wrapping) wrapping->endDraw(g);
  if (overlay_) drawDebugOverlay(g);
  removeScale(g);
}

void ScreenBase::applyScale(Graphics* g) {
  if (!app_) return;
  g->scale(app_->getScaleFactorX(), app_->getScaleFactorY());
  if (offsetX_ != 0 || offsetY_ != 0) {
    g->translate(static_cast<float>(offsetX_), static_cast<float>(offsetY_));
  }
}

void ScreenBase::removeScale(Graphics* g) {
  if (!app_) return;
  const float sx = app_->getScaleFactorX();
  const float sy = app_->getScaleFactorY();
  // A zero factor was never applied as a usable scale; don't divide by it.
  if (sx != 0.0f && sy != 0.0f) g->scale(1.0f / sx, 1.0f / sy);
  if (offsetX_ != 0 || offsetY_ != 0) {
    g->translate(static_cast<float>(-offsetX_), static_cast<float>(-offsetY_));
  }
}
