#pragma once
#include <memory>
#include <string>

#include "Widget.h"
#include "tinyaction/ActionListener.h"

class Font;
class Texture;
class TinyAction;

// Set by the game when it loads its resources: the font the announcement
// writes with ("FONT_NOTOSANS24") and its banner ("TEX_SHOWSONG"). Not owned.
extern Font* g_announceFont;
extern Texture* g_announceBanner;

// For a few seconds after a scene's music starts, a banner slides in from
// the left with the author and the track's name, then slides out again.
class AnnounceMusicTrack : public Widget, public bge::ActionListener {
 public:
  static constexpr int kFadeMs = 512;
  static constexpr int kHoldMs = 6084;
  // The text's place in the banner picture: its box is 55 high and its icon
  // starts 196 from the left.
  static constexpr float kTextX = 12.0f;
  static constexpr float kTextTop = 4.0f;
  static constexpr float kTextWidth = 180.0f;
  // The picture's visible strip: its top rows; the rest of it is clear.
  static constexpr float kStripHeight = 60.0f;

  AnnounceMusicTrack(const std::string& author, const std::string& trackName);
  ~AnnounceMusicTrack() override;

  void update(int dt, ScreenBase* screen) override;
  void draw(Graphics* g, ScreenBase* screen) override;
  void actionFinished(int tag) override;

  int getAlpha() const { return alpha_; }
  const std::string& getAuthor() const { return author_; }
  const std::string& getTrackName() const { return trackName_; }
  bool isRunning() const;

 private:
  std::string trackName_;
  std::string author_;
  std::unique_ptr<TinyAction> fade_;
  int alpha_ = 0;
};
