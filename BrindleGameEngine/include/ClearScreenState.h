#pragma once
#include "Color.h"
#include "DesignSize.h"
#include "GameState.h"

// The simplest state: fills the design area with one colour. The program starts
// on it until the menus take over.
class ClearScreenState : public GameState {
 public:
  explicit ClearScreenState(const Color& color = Color(4, 8, 20, 255)) : color_(color) {}

  void onKeyEvent(const KeyEvent&) override {}
  void onPointingDeviceEvent(const PointingDeviceEvent&) override {}
  void onJoystickEvent(const JoystickEvent&) override {}
  void onPinchZoomEvent(const PinchZoomEvent&) override {}
  void activate(GameApp* app) override;
  void enter(GameApp* app) override;
  void leave(GameApp* app) override;
  void pause(GameApp* app) override;
  void resume(GameApp* app) override;
  void render(Graphics* graphics) override;
  void update(int dt) override;
  void onContextLost() override {}
  void onContextRestored() override {}

 private:
  Color color_;
  int width_ = bge::kDesignWidth;
  int height_ = bge::kDesignHeight;
};
