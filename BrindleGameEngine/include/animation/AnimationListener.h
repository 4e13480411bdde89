#pragma once

// Told when an animation's last element has finished, with the animation's id.
class AnimationListener {
 public:
  virtual ~AnimationListener() = default;
  virtual void animationFinished(int id) = 0;
};

// What owners of an AnimationPlayer implement (dialogs, screens, logo clips).
class AnimationPlayerListener : public AnimationListener {};
