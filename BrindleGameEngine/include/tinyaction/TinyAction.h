#pragma once
#include "ReferenceCountable.h"
#include "SafeDelete.h"
#include "tinyaction/ActionListener.h"

// A small unit of timed behaviour. Owners build trees of these, start them with
// a listener and a tag, update them once per frame with the frame time, and are
// told through the listener when they end.
class TinyAction : public ReferenceCountable {
 public:
  TinyAction() = default;
  virtual ~TinyAction() = default;

  virtual void update(int ms);
  virtual void start(bge::ActionListener* listener, int tag);
  virtual void stop();
  virtual TinyAction* clone() const;
  // Both return a new composite that owns this action and the other.
  virtual TinyAction* parallel(TinyAction* other);
  virtual TinyAction* then(TinyAction* other);

  bool isRunning() const { return running_; }
  int getTag() const { return tag_; }
  bge::ActionListener* getListener() const { return listener_; }

 protected:
  TinyAction(const TinyAction&) = default;
  TinyAction& operator=(const TinyAction&) = default;

  // Ends the action and tells the listener the tag (id -1) or the given id.
  // The listener may delete this action: callers must not touch it afterwards.
  void notifyFinished(int id = -1);

 private:
  int tag_ = 0;
  bge::ActionListener* listener_ = nullptr;
  bool running_ = false;
};
