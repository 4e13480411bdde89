#pragma once
#include "ReferenceCountable.h"

class Graphics;
class TransitionListener;

// Wraps a screen's drawing on its way in or out and tells its listener its id
// when done. The screen sets running, listener and id, then calls start.
class Transition : public ReferenceCountable {
 public:
  Transition() = default;
  virtual ~Transition() = default;
  Transition(const Transition&) = delete;
  Transition& operator=(const Transition&) = delete;

  virtual void beginDraw(Graphics* g) { (void)g; }
  virtual void endDraw(Graphics* g) { (void)g; }
  virtual void update(int dt) { (void)dt; }
  virtual void reset() {}
  virtual void start() {}

  // What the screen does to start a transition.
  void begin(TransitionListener* listener, int id);

  bool isRunning() const { return running_; }
  void setRunning(bool running) { running_ = running; }
  TransitionListener* getListener() const { return listener_; }
  void setListener(TransitionListener* listener) { listener_ = listener; }
  int getId() const { return id_; }
  void setId(int id) { id_ = id; }

 protected:
  // Clears running and tells the listener, when there is one.
  void finish();

  bool running_ = false;
  TransitionListener* listener_ = nullptr;  // not owned: usually the screen that owns this
  int id_ = 0;
};

// Ends as soon as it starts.
class EmptyTransition : public Transition {
 public:
  void start() override;
};
