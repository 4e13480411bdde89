#pragma once
#include <memory>

#include "ScreenBase.h"
#include "VideoClips/VideoClip.h"
#include "tinyaction/ActionListener.h"

class Texture;
class TinyAction;

namespace bge {

// A logo that is one still image: black screen, the image fades in, stays,
// and fades out. Described by a small XML file (see load).
class StaticImageClip : public VideoClip, public ScreenBase, public ActionListener {
 public:
  // Used when the file has no "Duration" element.
  static constexpr int kDefaultFadeMs = 128;
  static constexpr int kDefaultHoldMs = 1000;

  StaticImageClip(int id, VideoClipListener* listener);
  ~StaticImageClip() override;

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
  void drawBackground(Graphics* g) override;
  void mousePressed(const PointingDeviceEvent& event) override;

  // --- ActionListener: the fade's end ---
  void actionFinished(int tag) override;

  int getAlpha() const { return alpha_; }
  int getPositionX() const { return x_; }
  int getPositionY() const { return y_; }
  Texture* getTexture() const { return texture_; }
  bool hasFadeAction() const { return fade_ != nullptr; }
  bool isPaused() const { return paused_; }
  int getFadeInMs() const { return fadeInMs_; }
  int getDisplayMs() const { return displayMs_; }
  int getFadeOutMs() const { return fadeOutMs_; }

 private:
  void buildFade();

  int alpha_ = 0;
  int x_ = 0;
  int y_ = 0;
  int fadeInMs_ = kDefaultFadeMs;
  int displayMs_ = kDefaultHoldMs;
  int fadeOutMs_ = kDefaultFadeMs;
  Texture* texture_ = nullptr;  // not owned: the screen's resource catalogue's
  std::unique_ptr<TinyAction> fade_;
  bool paused_ = false;
  bool skipRequested_ = false;
  // A logo that cannot be shown ends on the next frame instead of holding the start-up.
  bool endWithoutPlaying_ = false;
};

}  // namespace bge
