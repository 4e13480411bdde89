#pragma once
#include "Rect5.h"
#include "ReferenceCountable.h"

class Graphics;
class ScreenBase;
class WidgetManager;
struct JoystickEvent;
struct KeyEvent;
struct PointingDeviceEvent;

// Something a screen draws and hit-tests. Geometry is in design units with the
// top-left corner at (x, y); a higher depth is in front. A widget draws in its
// own coordinates, its top-left corner at the origin.
class Widget : public ReferenceCountable {
 public:
  Widget() = default;
  virtual ~Widget() = default;
  Widget(const Widget&) = delete;
  Widget& operator=(const Widget&) = delete;

  virtual void onAttached() {}
  virtual void onDetached() {}
  virtual void update(int dt, ScreenBase* screen) { (void)dt; (void)screen; }
  virtual void draw(Graphics* g, ScreenBase* screen) { (void)g; (void)screen; }
  virtual void drawLayer(Graphics* g, ScreenBase* screen) { (void)g; (void)screen; }
  virtual void drawUnscaled(Graphics* g, ScreenBase* screen) { (void)g; (void)screen; }
  virtual void mousePressed(const PointingDeviceEvent& event) { (void)event; }
  virtual void mouseMoved(const PointingDeviceEvent& event) { (void)event; }
  virtual void mouseReleased(const PointingDeviceEvent& event) { (void)event; }
  virtual void onWheelUp(const PointingDeviceEvent& event) { (void)event; }
  virtual void onWheelDown(const PointingDeviceEvent& event) { (void)event; }
  virtual void onKeyEvent(const KeyEvent& event) { (void)event; }
  virtual void onJoystickEvent(const JoystickEvent& event) { (void)event; }
  virtual void onPointerExit() {}
  virtual void onPointerEnter() {}
  virtual void onEnabled() {}
  virtual void onDisabled() {}
  virtual void onGeometryChanged(const Rect5& oldGeometry, const Rect5& newGeometry) {
    (void)oldGeometry; (void)newGeometry;
  }
  virtual void onPositionChanged(const Rect5& oldGeometry, const Rect5& newGeometry) {
    (void)oldGeometry; (void)newGeometry;
  }
  virtual void onResized(const Rect5& oldGeometry, const Rect5& newGeometry) {
    (void)oldGeometry; (void)newGeometry;
  }
  // Half-open: the right and bottom edges are outside.
  virtual bool hitTest(int x, int y) const;
  virtual void onRaised() {}
  virtual void setPosition(int x, int y, bool silent = false);
  virtual void onFocusGained() {}
  virtual void onFocusLost() {}
  virtual void setZ(int depth);

  void setGeometry(const Rect5& geometry);
  void setRect(int x, int y, int width, int height);
  void setSize(int width, int height);
  void moveBy(int dx, int dy);
  void setEnabled(bool enabled);
  void raise();
  void attach(WidgetManager* manager);
  void detach();

  const Rect5& getGeometry() const { return geometry_; }
  float getX() const { return geometry_.x; }
  float getY() const { return geometry_.y; }
  float getZ() const { return geometry_.z; }
  float getWidth() const { return geometry_.width; }
  float getHeight() const { return geometry_.height; }
  int getId() const { return id_; }
  void setId(int id) { id_ = id; }
  bool isVisible() const { return visible_; }
  void setVisible(bool visible) { visible_ = visible; }
  bool isActive() const { return active_; }
  void setActive(bool active) { active_ = active; }
  bool isEnabled() const { return enabled_; }
  WidgetManager* getManager() const { return manager_; }
  // Takes the pointer when enabled, or when it hovers while disabled.
  bool takesPointer() const { return enabled_ || hoverWhenDisabled_; }

  bool hoverWhenDisabled_ = false;

 protected:
  Rect5 geometry_;
  bool enabled_ = true;
  WidgetManager* manager_ = nullptr;
  bool visible_ = true;
  bool active_ = true;
  int id_ = -1;
};
