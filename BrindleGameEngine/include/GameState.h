#pragma once
#include "InputListener.h"
#include "ReferenceCountable.h"

class GameApp;
class Graphics;

// An element of the application's state stack. The application drives it:
// activate -> (push) enter -> update/render each frame -> pause/resume when covered
// -> leave when popped, then deletion at the end of that frame.
class GameState : public InputListener, public ReferenceCountable {
 public:
  GameState() = default;
  ~GameState() override = default;
  GameState(const GameState&) = delete;
  GameState& operator=(const GameState&) = delete;

  virtual void exitHook() {}
  virtual void activate(GameApp* app) = 0;
  virtual void enter(GameApp* app) = 0;
  virtual void leave(GameApp* app) = 0;
  virtual void pause(GameApp* app) = 0;
  virtual void resume(GameApp* app) = 0;
  virtual void onMinimized() {}
  virtual void onRestored() {}
  virtual void render(Graphics* graphics) = 0;
  virtual void update(int dt) = 0;
  virtual void onContextLost() = 0;
  virtual void onContextRestored() = 0;
  // Always called on the main thread, even though the mixer reports it on its own.
  virtual void onChannelFinished(int channel) { (void)channel; }

  void setActive(bool active) { active_ = active; }
  bool isActive() const { return active_; }

 private:
  bool active_ = true;
};
