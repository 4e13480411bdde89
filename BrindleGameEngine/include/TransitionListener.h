#pragma once

// Told when a screen transition ends: -1000 for the way in, -1001 for the way out.
class TransitionListener {
 public:
  virtual ~TransitionListener() = default;
  virtual void transitionFinished(int id) = 0;
};
