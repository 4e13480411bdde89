#pragma once

struct PointingDeviceEvent;

// Pointer activity that reached a screen's full-screen widget, i.e. that no
// other widget took.
class MouseListener {
 public:
  virtual ~MouseListener() = default;
  virtual void mousePressed(const PointingDeviceEvent& event) = 0;
  virtual void mouseMoved(const PointingDeviceEvent& event) = 0;
  virtual void mouseReleased(const PointingDeviceEvent& event) = 0;
  virtual void mouseWheelUp(const PointingDeviceEvent& event) = 0;
  virtual void mouseWheelDown(const PointingDeviceEvent& event) = 0;
  virtual void mouseEntered() = 0;
  virtual void mouseExited() = 0;
};
