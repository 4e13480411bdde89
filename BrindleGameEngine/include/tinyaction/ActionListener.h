#pragma once

namespace bge {

// Whoever starts a timed action hears about its end here, with the tag it
// gave when starting it.
class ActionListener {
 public:
  virtual ~ActionListener() = default;
  virtual void actionFinished(int tag) = 0;
  // Second notification with two values; nothing in the engine needs it, so it
  // does nothing unless a listener cares.
  virtual void actionEvent(int /*first*/, int /*second*/) {}
};

}  // namespace bge
