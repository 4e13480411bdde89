#include "VideoClips/StaticImageClip.h"

#include <tinyxml.h>

#include <cmath>
#include <cstdio>
#include <memory>

#include "AssertReport.h"
#include "DesignSize.h"
#include "Graphics.h"
#include "MouseListeningWidget.h"
#include "ResourceManager.h"
#include "Texture.h"
#include "tinyaction/TinyActionDelay.h"
#include "tinyaction/TinyActionSequence.h"
#include "tinyaction/TinyRelIncrementator.h"
#include "tinyaction/TinySetter.h"
#include "XmlAttributes.h"

namespace bge {

namespace {

// Seconds as written in the file to whole milliseconds.
int secondsToMs(double seconds) { return static_cast<int>(seconds * 1000.0); }

// No logo is shown for longer; the milliseconds of longer times overflow.
constexpr double kLongestSeconds = 3600.0;

// A negative time would run the fade backwards, a longer one overflow; either
// keeps the default, like "nan".
double readSeconds(const XmlReader& xml, const TiXmlElement* element, const char* name,
                   double fallback) {
  return xml.readDouble(element, name, fallback, 0.0, kLongestSeconds);
}

}  // namespace

StaticImageClip::StaticImageClip(int id, VideoClipListener* listener)
    : VideoClip(id, listener), ScreenBase("StaticImageClip") {}

StaticImageClip::~StaticImageClip() = default;

void StaticImageClip::load(const std::string& path) {
  // Whatever the previous logo left must not be shown for this one.
  fade_.reset();
  texture_ = nullptr;
  alpha_ = 0;
  skipRequested_ = false;
  endWithoutPlaying_ = false;

  const XmlReader xml(path);
  TiXmlDocument document;
  if (!xml.load(document, TIXML_ENCODING_LEGACY)) return;
  const TiXmlElement* root = document.RootElement();
  if (!root) {
    xml.warn(nullptr, "no root element");
    return;
  }
  const std::string image = xml.readString(root, "folder", "") + xml.readString(root, "fileName", "");
  if (ResourceManager* resources = getResourceManager()) {
    texture_ = resources->findTexture(image);
    if (!texture_) {
      // What the catalogue registers is its own; one it refuses is deleted here.
      if (std::unique_ptr<Texture> created{resources->createTexture(image)}) {
        texture_ = resources->registerTexture(image, created.get()) ? created.release()
                                                                    : resources->findTexture(image);
      }
    }
  }

  x_ = 0;
  y_ = 0;
  if (const TiXmlElement* position = root->FirstChildElement("Position")) {
    x_ = xml.readInt(position, "x", 0);
    y_ = xml.readInt(position, "y", 0);
  }
  if (const TiXmlElement* duration = root->FirstChildElement("Duration")) {
    const double fadeIn = readSeconds(xml, duration, "fadeIn", 0.3);
    fadeInMs_ = secondsToMs(fadeIn);
    displayMs_ = secondsToMs(readSeconds(xml, duration, "displayTime", 3.0));
    fadeOutMs_ = secondsToMs(readSeconds(xml, duration, "fadeOut", fadeIn));
  } else {
    fadeInMs_ = kDefaultFadeMs;
    displayMs_ = kDefaultHoldMs;
    fadeOutMs_ = kDefaultFadeMs;
  }
  buildFade();
}

void StaticImageClip::buildFade() {
  fade_.reset();
  TinyActionSequence* sequence = new TinyActionSequence(false);
  sequence->addAction(new TinySetter<int>(&alpha_, 0));
  sequence->addAction(new TinyRelIncrementator<int>(TinyTimer(fadeInMs_), &alpha_, 255,
                                                    linearOperatorFunction, 1.0f));
  sequence->addAction(new TinyActionDelay(TinyTimer(displayMs_)));
  sequence->addAction(new TinyRelIncrementator<int>(TinyTimer(fadeOutMs_), &alpha_, -255,
                                                    linearOperatorFunction, 1.0f));
  fade_.reset(sequence);
}

void StaticImageClip::play() {
  if (!BGE_REPORT_MSG(fade_ != nullptr, "Action is not initialized.")) {
    endWithoutPlaying_ = true;
    return;
  }
  paused_ = false;
  fade_->start(this, 0);
}

void StaticImageClip::pause() { paused_ = true; }

void StaticImageClip::resume() { paused_ = false; }

void StaticImageClip::stop() {
  if (!BGE_REPORT_MSG(fade_ != nullptr, "Action is not initialized.")) return;
  paused_ = true;
  fade_->stop();
}

void StaticImageClip::mousePressed(const PointingDeviceEvent& /*event*/) { skipRequested_ = true; }

void StaticImageClip::updateScreen(int dt) {
  if (endWithoutPlaying_) {
    endWithoutPlaying_ = false;
    report(VideoClipListener::Ended);
    return;
  }
  if (paused_) return;
  if (skipRequested_) {
    skipRequested_ = false;
    stop();
    report(VideoClipListener::Skipped);
    return;
  }
  // The listener may load the next logo from inside this call; nothing after it.
  if (fade_) fade_->update(dt);
}

void StaticImageClip::actionFinished(int /*tag*/) { report(VideoClipListener::Ended); }

void StaticImageClip::drawBackground(Graphics* g) {
  // The full-screen widget spans the window in design units, whatever the scale.
  Rect5 screen(0, 0, bge::kDesignWidth, bge::kDesignHeight);
  if (const Widget* whole = getFullScreenWidget()) screen = whole->getGeometry();
  g->fillRect(0, 0, static_cast<int>(screen.width), static_cast<int>(screen.height),
              Color(0, 0, 0, 255));
  if (!texture_) return;
  const int alpha = alpha_ < 0 ? 0 : alpha_ > 255 ? 255 : alpha_;
  g->drawImage(x_, y_, texture_, Color(255, 255, 255, alpha));
}

}  // namespace bge
