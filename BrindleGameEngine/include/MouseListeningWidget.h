#pragma once
#include "MouseListener.h"
#include "Widget.h"

// Relays its pointer calls to a listener; every screen has a full-screen one at
// the bottom that hands it the pointer activity nothing else took.
class MouseListeningWidget : public Widget {
 public:
  explicit MouseListeningWidget(MouseListener* listener) : listener_(listener) {}

  void mousePressed(const PointingDeviceEvent& event) override;
  void mouseMoved(const PointingDeviceEvent& event) override;
  void mouseReleased(const PointingDeviceEvent& event) override;
  void onWheelUp(const PointingDeviceEvent& event) override;
  void onWheelDown(const PointingDeviceEvent& event) override;
  void onPointerEnter() override;
  void onPointerExit() override;

  MouseListener* getListener() const { return listener_; }

 private:
  MouseListener* listener_;
};
