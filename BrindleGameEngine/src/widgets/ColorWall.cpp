#include "widgets/ColorWall.h"

#include <tinyxml.h>

#include "Graphics.h"
#include "tinyaction/TinyActions.h"
#include "widgets/LayoutReading.h"
#include "XmlAttributes.h"

namespace bge {

ColorWall::ColorWall(int layoutId, const Color& color, int fadeTime)
    : layoutId_(layoutId), fadeTime_(fadeTime), color_(color) {
  setEnabled(false);
}

ColorWall::~ColorWall() = default;

ColorWall* ColorWall::fromXml(TiXmlElement* element) {
  if (!element) return nullptr;
  const bge::XmlReader xml = layout::readerFor(element);
  ColorWall* wall = new ColorWall(xml.readInt(element, "id", -1),
                                  xml.readColor(element, "color", Color::black),
                                  xml.readInt(element, "fadeInTime", 300));
  const Rect5 rect = xml.readRect(element, "rect", Rect5());
  wall->setRect(static_cast<int>(rect.x), static_cast<int>(rect.y), static_cast<int>(rect.width),
                static_cast<int>(rect.height));
  return wall;
}

void ColorWall::startFade(int delta, int ms) {
  fade_.reset();
  if (ms <= 0) {
    // Nothing to animate: jump to the end and settle the pointer state now.
    alpha_ += delta;
    actionFinished(-1);
    return;
  }
  fade_ = std::make_unique<TinyRelIncrementator<int>>(TinyTimer(ms), &alpha_, delta, linearOperatorFunction, 1.0f);
  fade_->start(this, -1);
}

void ColorWall::fadeIn(int ms) {
  setEnabled(true);
  startFade(color_.a - alpha_, ms);
}

void ColorWall::startFadeIn() { fadeIn(fadeTime_); }

void ColorWall::fadeOut() { startFade(-alpha_, fadeTime_); }

void ColorWall::update(int dt, ScreenBase* /*screen*/) {
  if (fade_) fade_->update(dt);
}

void ColorWall::actionFinished(int /*tag*/) { setEnabled(alpha_ > 0); }

void ColorWall::draw(Graphics* graphics, ScreenBase* /*screen*/) {
  if (!graphics) return;
  graphics->fillRect(0, 0, static_cast<int>(getWidth()), static_cast<int>(getHeight()),
                     Color(color_.r, color_.g, color_.b, alpha_));
}

}  // namespace bge
