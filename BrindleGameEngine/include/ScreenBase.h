#pragma once
#include <cstddef>
#include <iterator>
#include <list>
#include <memory>
#include <string>
#include "PointerTable.h"

#include "GameState.h"
#include "MouseListener.h"
#include "TransitionListener.h"

class GameApp;
class Graphics;
class MouseListeningWidget;
class ResourceManager;
class Transition;
class Widget;
class WidgetManager;
struct PointingDeviceEvent;

enum ScreenPhase { PhaseEntering = 0, PhaseExiting = 1, PhaseIdle = 2 };

// The base of every screen. It owns its widgets, a widget manager, a resource
// catalogue and its two transitions, and runs one fixed life: activate, enter
// with the in-transition, update and render each frame, close with an exit code
// through the out-transition, then onExitTransitionDone hands over.
class ScreenBase : public GameState, public TransitionListener,
                   public MouseListener {
 public:
  static constexpr int kInTransitionId = -1000;
  static constexpr int kOutTransitionId = -1001;

  // The widgets the screen owns, in the order they were added, seen as plain
  // pointers; it stays valid while the screen lives.
  class WidgetList {
   public:
    using Owned = std::list<std::unique_ptr<Widget>>;
    class iterator {
     public:
      using iterator_category = std::input_iterator_tag;
      using value_type = Widget*;
      using difference_type = std::ptrdiff_t;
      using pointer = Widget* const*;
      using reference = Widget*;
      explicit iterator(Owned::const_iterator at) : at_(at) {}
      Widget* operator*() const { return at_->get(); }
      iterator& operator++() {
        ++at_;
        return *this;
      }
      iterator operator++(int) {
        iterator was = *this;
        ++at_;
        return was;
      }
      bool operator==(const iterator& other) const { return at_ == other.at_; }
      bool operator!=(const iterator& other) const { return at_ != other.at_; }

     private:
      Owned::const_iterator at_;
    };
    explicit WidgetList(const Owned& owned) : owned_(&owned) {}
    iterator begin() const { return iterator(owned_->begin()); }
    iterator end() const { return iterator(owned_->end()); }
    size_t size() const { return owned_->size(); }
    bool empty() const { return owned_->empty(); }

   private:
    const Owned* owned_;  // not owned: the screen's own list
  };

  explicit ScreenBase(const std::string& name);
  ~ScreenBase() override;

  // --- GameState ---
  void onKeyEvent(const KeyEvent& event) override;
  void onPointingDeviceEvent(const PointingDeviceEvent& event) override;
  void onJoystickEvent(const JoystickEvent& event) override;
  void onPinchZoomEvent(const PinchZoomEvent& event) override { (void)event; }
  void activate(GameApp* app) override;
  void enter(GameApp* app) override;
  void leave(GameApp* app) override;
  void pause(GameApp* app) override;
  void resume(GameApp* app) override;
  void render(Graphics* g) override;
  void update(int dt) override;
  void onContextLost() override;
  void onContextRestored() override;

  // --- what screens fill in ---
  virtual void prepare() = 0;
  virtual void init() = 0;
  virtual void preUpdate(int dt) { (void)dt; }
  virtual void postWidgetUpdate(int dt) { (void)dt; }
  virtual void updateScreen(int dt) { (void)dt; }
  virtual void drawForeground(Graphics* g) { (void)g; }
  virtual void drawBackground(Graphics* g) { (void)g; }
  virtual void drawDebugOverlay(Graphics* g) { (void)g; }
  virtual void onShown() {}
  virtual void onExitTransitionDone(int exitCode) { (void)exitCode; }
  virtual void adjustPointer(const PointingDeviceEvent& event, int& x, int& y) {
    (void)event; (void)x; (void)y;
  }
  virtual void preRender(Graphics* g) { (void)g; }
  virtual void drawUnscaled(Graphics* g) { (void)g; }
  virtual void applyScale(Graphics* g);
  virtual void removeScale(Graphics* g);
  virtual void drawUnscaledBackground(Graphics* g) { (void)g; }

  // --- MouseListener: pointer activity no widget took ---
  void mousePressed(const PointingDeviceEvent& event) override { (void)event; }
  void mouseMoved(const PointingDeviceEvent& event) override { (void)event; }
  void mouseReleased(const PointingDeviceEvent& event) override { (void)event; }
  void mouseWheelUp(const PointingDeviceEvent& event) override { (void)event; }
  void mouseWheelDown(const PointingDeviceEvent& event) override { (void)event; }
  void mouseEntered() override {}
  void mouseExited() override {}

  // --- TransitionListener ---
  void transitionFinished(int id) override;

  // The screen owns the widget from here on.
  void addWidget(Widget* widget, bool noSort = false);
  // Takes the widget out; the caller owns it again.
  void removeWidget(Widget* widget);
  // Takes it out of input and drawing now and deletes it at the next update.
  void removeWidgetLater(Widget* widget);
  // Leaves through the out-transition; onExitTransitionDone gets the code.
  void close(int exitCode, bool disableInput = true);
  void setInTransition(Transition* transition);
  void setOutTransition(Transition* transition);

  ScreenPhase getPhase() const { return phase_; }
  void setPhase(ScreenPhase phase) { phase_ = phase; }
  WidgetManager* getWidgetManager() const { return widgetManager_.get(); }
  ResourceManager* getResourceManager() const { return resources_.get(); }
  const std::string& getName() const { return name_; }
  int getExitCode() const { return exitCode_; }
  MouseListeningWidget* getFullScreenWidget() const { return fullScreenWidget_; }
  Transition* getInTransition() const { return inTransition_.get(); }
  Transition* getOutTransition() const { return outTransition_.get(); }
  WidgetList getWidgets() const { return WidgetList(widgets_); }
  bool isOverlay() const { return overlay_; }
  void setOverlay(bool overlay) { overlay_ = overlay; }

 protected:
  void startTransition(Transition* transition, int id);
  void deleteQueuedWidgets();

  GameApp* app_ = nullptr;

 private:
  // Takes the widget out of the owned list and hands it over; null when it is not there.
  std::unique_ptr<Widget> takeWidget(const Widget* widget);

  MouseListeningWidget* fullScreenWidget_ = nullptr;  // not owned: one of widgets_
  // In the order they were added; the map finds a widget's place in it, so
  // adding and taking out cost the same however many widgets the screen holds.
  WidgetList::Owned widgets_;
  PointerTable<WidgetList::Owned::iterator> widgetPlaces_;
  // The destructor lets these go explicitly, after the widgets, in this order.
  std::unique_ptr<WidgetManager> widgetManager_;
  std::unique_ptr<ResourceManager> resources_;
  std::unique_ptr<Transition> inTransition_;
  std::unique_ptr<Transition> outTransition_;
  int offsetX_ = 0;
  int offsetY_ = 0;
  bool overlay_ = false;
  // Not owned while queued: widgets_ holds the listed ones. Whatever is queued
  // is the screen's to delete when the queue is emptied, listed or not, since
  // removeWidgetLater hands it over.
  std::list<Widget*> deletionQueue_;
  PointerMembers queued_;  // what deletionQueue_ holds
  std::string name_;
  int exitCode_ = 0;
  ScreenPhase phase_ = PhaseIdle;
};
