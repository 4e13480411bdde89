#include "VideoClips/AnimationPlayerClip.h"

#include "animation/AnimationPlayer.h"

namespace bge {

AnimationPlayerClip::AnimationPlayerClip(int id, VideoClipListener* listener)
    : VideoClip(id, listener), ScreenBase("AnimationPlayerClip") {}

AnimationPlayerClip::~AnimationPlayerClip() = default;

void AnimationPlayerClip::load(const std::string& path) {
  if (player_) {
    player_->stop(kAnimationId);
    player_->detach(kAnimationId, this);
  } else {
    player_ = std::make_unique<AnimationPlayer>(this);
  }
  skipRequested_ = false;
  endWithoutPlaying_ = false;
  player_->loadAnimation(kAnimationId, path);
}

void AnimationPlayerClip::play() {
  if (!player_ || !player_->play(kAnimationId, 0.0f, 0, 0, this)) endWithoutPlaying_ = true;
}

void AnimationPlayerClip::pause() {
  if (player_) player_->pause(kAnimationId);
}

void AnimationPlayerClip::resume() {
  if (player_) player_->resume(kAnimationId);
}

void AnimationPlayerClip::stop() {
  if (player_) player_->stop(kAnimationId);
}

void AnimationPlayerClip::mousePressed(const PointingDeviceEvent& /*event*/) {
  skipRequested_ = true;
}

void AnimationPlayerClip::updateScreen(int /*dt*/) {
  if (endWithoutPlaying_) {
    endWithoutPlaying_ = false;
    report(VideoClipListener::Ended);
    return;
  }
  if (skipRequested_) {
    skipRequested_ = false;
    stop();
    report(VideoClipListener::Skipped);
  }
}

void AnimationPlayerClip::animationFinished(int /*id*/) {
  if (player_) player_->detach(kAnimationId, this);
  report(VideoClipListener::Ended);
}

}  // namespace bge
