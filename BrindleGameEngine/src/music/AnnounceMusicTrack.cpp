#include "music/AnnounceMusicTrack.h"

#include "Font.h"
#include "Graphics.h"
#include "SafeDelete.h"
#include "ScreenBase.h"
#include "Texture.h"
#include "tinyaction/TinyActionDelay.h"
#include "tinyaction/TinyActionSequence.h"
#include "tinyaction/TinyRelIncrementator.h"

Font* g_announceFont = nullptr;
Texture* g_announceBanner = nullptr;

AnnounceMusicTrack::AnnounceMusicTrack(const std::string& author, const std::string& trackName)
    : trackName_(trackName), author_(author) {
  setRect(0, 600, 256, 128);
  setEnabled(false);
  TinyActionSequence* sequence = new TinyActionSequence(false);
  sequence->addAction(new TinyRelIncrementator<int>(TinyTimer(kFadeMs), &alpha_, 255,
                                                    linearOperatorFunction, 1.0f));
  sequence->addAction(new TinyActionDelay(TinyTimer(kHoldMs)));
  sequence->addAction(new TinyRelIncrementator<int>(TinyTimer(kFadeMs), &alpha_, -255,
                                                    linearOperatorFunction, 1.0f));
  fade_.reset(sequence);
  fade_->start(this, 0);
}

AnnounceMusicTrack::~AnnounceMusicTrack() = default;

bool AnnounceMusicTrack::isRunning() const { return fade_ && fade_->isRunning(); }

void AnnounceMusicTrack::update(int dt, ScreenBase* /*screen*/) {
  if (fade_ && fade_->isRunning()) fade_->update(dt);
}

void AnnounceMusicTrack::actionFinished(int /*tag*/) { setEnabled(false); }

void AnnounceMusicTrack::draw(Graphics* g, ScreenBase* screen) {
  // Under another screen nothing moves it on: a banner caught sliding would stay
  // there half drawn.
  if (screen && !screen->isActive()) return;
  const int alpha = alpha_ < 0 ? 0 : alpha_ > 255 ? 255 : alpha_;
  const int slide = alpha - 255;
  if (!author_.empty() && !trackName_.empty() && g_announceBanner) {
    g->drawImage(slide, 0, g_announceBanner, Color(255, 255, 255, alpha));
  }
  if (!g_announceFont) return;
  // Two lines a line height apart, inside the banner's box and left of its icon,
  // sliding with it.
  const int step = g_announceFont->getLineHeight();
  const float x = kTextX + static_cast<float>(slide);
  const Rect5 author(x, kTextTop, kTextWidth, static_cast<float>(step));
  const Rect5 track(x, kTextTop + static_cast<float>(step), kTextWidth, static_cast<float>(step));
  if (!author_.empty()) g_announceFont->drawTextAligned(g, author, author_, Color(0, 200, 0, alpha), 0, 0, false);
  if (!trackName_.empty())
    g_announceFont->drawTextAligned(g, track, trackName_, Color(255, 0, 255, alpha), 0, 0, false);
}
