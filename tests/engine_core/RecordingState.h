#pragma once
// A state that writes every call it gets into a shared journal.
#include <functional>
#include <string>
#include <vector>

#include "GameApp.h"
#include "GameState.h"
#include "KeyEvent.h"
#include "PointingDeviceEvent.h"

class RecordingState : public GameState {
 public:
  RecordingState(std::string name, std::vector<std::string>& journal)
      : name_(std::move(name)), journal_(journal) {}
  ~RecordingState() override { note("deleted"); }

  void onKeyEvent(const KeyEvent& e) override {
    lastKey = e;
    ++keyEvents;
    note("key");
  }
  void onPointingDeviceEvent(const PointingDeviceEvent& e) override {
    pointer.push_back(e);
    note("pointer");
  }
  void onJoystickEvent(const JoystickEvent&) override { note("joystick"); }
  void onPinchZoomEvent(const PinchZoomEvent&) override { note("pinch"); }
  void exitHook() override { note("exitHook"); }
  void activate(GameApp* app) override {
    note("activate");
    app->pushState(this);
  }
  void enter(GameApp*) override {
    setActive(true);
    note("enter");
  }
  void leave(GameApp*) override {
    setActive(false);
    note("leave");
  }
  void pause(GameApp*) override {
    setActive(false);
    note("pause");
  }
  void resume(GameApp*) override {
    setActive(true);
    note("resume");
  }
  void onMinimized() override { note("minimized"); }
  void onRestored() override { note("restored"); }
  void render(Graphics*) override {
    if (onRender) onRender();
  }
  void update(int dt) override {
    updates.push_back(dt);
    note("update");
    if (onUpdate) onUpdate();
  }
  void onContextLost() override {
    note("contextLost");
    if (onLost) onLost();
  }
  void onContextRestored() override { note("contextRestored"); }
  void onChannelFinished(int channel) override { note("channel " + std::to_string(channel)); }

  std::function<void()> onUpdate;
  std::function<void()> onRender;
  std::function<void()> onLost;
  std::vector<int> updates;
  std::vector<PointingDeviceEvent> pointer;
  KeyEvent lastKey;
  int keyEvents = 0;

 private:
  void note(const std::string& what) { journal_.push_back(name_ + ":" + what); }
  std::string name_;
  std::vector<std::string>& journal_;
};
