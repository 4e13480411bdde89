#pragma once
#include <memory>

#include "ScreenBase.h"
#include "VideoClips/VideoClip.h"
#include "animation/AnimationListener.h"

class AnimationPlayer;

namespace bge {

// A logo that is a keyframe animation file, played once on its own screen.
class AnimationPlayerClip : public VideoClip, public ScreenBase, public AnimationPlayerListener {
 public:
  // The clip keeps its one animation under this id.
  static constexpr int kAnimationId = -1;

  AnimationPlayerClip(int id, VideoClipListener* listener);
  ~AnimationPlayerClip() override;

  // --- VideoClip ---
  void load(const std::string& path) override;
  void play() override;
  void pause() override;
  void resume() override;
  void stop() override;

  // --- ScreenBase ---
  void prepare() override {}
  void init() override {}
  void updateScreen(int dt) override;
  void mousePressed(const PointingDeviceEvent& event) override;

  // --- AnimationListener ---
  void animationFinished(int id) override;

  AnimationPlayer* getPlayer() const { return player_.get(); }

 private:
  // A member, so it goes before the screen's widgets (its animation among them).
  std::unique_ptr<AnimationPlayer> player_;
  bool skipRequested_ = false;
  // Set when the file gave no animation: the clip ends on the next frame
  // rather than leaving the start-up on a black screen.
  bool endWithoutPlaying_ = false;
};

}  // namespace bge
