#pragma once
#include <cstddef>
#include <utility>
#include <vector>

#include "InputListener.h"
#include "PointerTable.h"
#include "ReferenceCountable.h"

class Graphics;
class ScreenBase;
class Widget;

// Keeps a screen's widgets in depth order (front first), updates and draws them,
// and turns pointer events into per-widget enter, press, move, release, exit and
// wheel calls; key and joystick events go to the focused widget. It owns no widget.
class WidgetManager : public ReferenceCountable, public InputListener {
 public:
  explicit WidgetManager(ScreenBase* owner);
  ~WidgetManager() override;
  WidgetManager(const WidgetManager&) = delete;
  WidgetManager& operator=(const WidgetManager&) = delete;

  void onKeyEvent(const KeyEvent& event) override;
  void onPointingDeviceEvent(const PointingDeviceEvent& event) override { handlePointerEvent(event); }
  void onJoystickEvent(const JoystickEvent& event) override;
  void onPinchZoomEvent(const PinchZoomEvent& event) override { (void)event; }

  void handlePointerEvent(const PointingDeviceEvent& event);

  // Front-most first by depth; widgets of one depth in the order they were added. With
  // noSort the widget is appended and sorted in at the next sorted add or raise.
  void addWidget(Widget* widget, bool noSort = false);
  void removeWidget(Widget* widget);
  int maxDepth() const;
  // Called by a listed widget whose depth changed: the next sort orders the whole list again.
  void depthChanged() { orderStale_ = true; }
  void raiseWidget(Widget* widget);
  Widget* findWidget(int id) const;
  // The front-most visible widget under the point that takes the pointer.
  Widget* findWidgetAt(int x, int y) const;
  void setFocus(Widget* widget);
  void refreshHover(Widget* widget, bool requireEnabled);

  // False when there is no screen or the list changed during the pass.
  bool update(int dt, ScreenBase* screen);
  void draw(Graphics* g, ScreenBase* screen);
  void drawUnscaled(Graphics* g, ScreenBase* screen);
  // Called from a widget's draw: draw it again in the layered pass of this frame.
  void addToLayer(Widget* widget, int layer);

  void setInputEnabled(bool on) { inputEnabled_ = on; }
  bool isInputEnabled() const { return inputEnabled_; }
  void setPointerWidget(Widget* widget) { pointerWidget_ = widget; }
  Widget* getPointerWidget() const { return pointerWidget_; }
  Widget* getExitedWidget() const { return exitedWidget_; }
  Widget* getFocusedWidget() const { return focusedWidget_; }
  void setListChanged() { listChanged_ = true; }
  bool isListChanged() const { return listChanged_; }
  const std::vector<Widget*>& widgets() const {
    compact();
    return widgets_;
  }
  bool contains(const Widget* widget) const;
  ScreenBase* getOwner() const { return owner_; }
  int getDepthCounter() const { return depthCounter_; }

 private:
  void sort();
  // Drops the entries of widgets taken out since the last call.
  void compact() const;
  void dispatchPress(Widget* hit, const PointingDeviceEvent& event);
  void dispatchRelease(Widget* hit, const PointingDeviceEvent& event);
  void dispatchMove(Widget* hit, const PointingDeviceEvent& event);
  void drawLayered(Graphics* g, ScreenBase* screen);

  // The list, the first sortedCount_ in depth order. Widgets taken out stay in removed_
  // (and in the vector) until the next compact(), which every reader of the list calls
  // first: taking thousands out costs one pass, not one search each.
  mutable std::vector<Widget*> widgets_;
  mutable size_t sortedCount_ = 0;
  mutable PointerMembers removed_;
  PointerMembers members_;
  bool orderStale_ = false;  // a listed widget's depth changed since the last sort
  // The deepest depth of the widgets after the sorted part, while known.
  mutable int tailDepth_ = 0;
  mutable bool tailDepthKnown_ = true;
  std::vector<std::pair<Widget*, int>> layered_;
  Widget* pointerWidget_ = nullptr;
  Widget* exitedWidget_ = nullptr;
  Widget* focusedWidget_ = nullptr;
  bool listChanged_ = false;
  ScreenBase* owner_;
  bool inputEnabled_ = false;
  bool needsSort_ = false;
  int depthCounter_ = -1;
};
