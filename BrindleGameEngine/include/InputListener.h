#pragma once

struct KeyEvent;
struct PointingDeviceEvent;
struct JoystickEvent;
struct PinchZoomEvent;

// Receives input; the application feeds its registered listeners and every active state.
class InputListener {
 public:
  virtual ~InputListener() = default;
  virtual void onKeyEvent(const KeyEvent& event) = 0;
  virtual void onPointingDeviceEvent(const PointingDeviceEvent& event) = 0;
  virtual void onJoystickEvent(const JoystickEvent& event) = 0;
  virtual void onPinchZoomEvent(const PinchZoomEvent& event) = 0;
};
