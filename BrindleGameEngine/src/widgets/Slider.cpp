#include "widgets/Slider.h"

#include <tinyxml.h>

#include "GLTexture.h"
#include "Graphics.h"
#include "PointingDeviceEvent.h"
#include "SourceRect.h"
#include "WidgetManager.h"
#include "widgets/ByteFade.h"
#include "widgets/SliderListener.h"
#include "widgets/LayoutReading.h"
#include "XmlAttributes.h"
#include "tinyaction/TinyActions.h"

namespace bge {

Slider::Slider(SliderListener* listener, int id, Texture* track, Texture* fill, Texture* thumb,
               float thumbPosition, float thumbMaxPosition)
    : id_(id),
      thumbPosition_(thumbPosition),
      thumbMaxPosition_(thumbMaxPosition),
      track_(track),
      fill_(fill),
      thumb_(thumb),
      listener_(listener) {
  if (track_) setSize(track_->getWidth(), track_->getHeight());
}

Slider::~Slider() = default;

float Slider::getValue() const {
  // A maximum of 0 comes from content; a NaN volume would reach the mixer.
  if (!(thumbMaxPosition_ > 0.0f)) return 0.0f;
  return thumbPosition_ / thumbMaxPosition_;
}

void Slider::onAttached() {
  entryFade_.reset();
  currentColor_.a = 0;
  TinyAction* fade = makeByteRise(&currentColor_.a, normalColor_.a, entryFadeDuration_);
  if (!fade) return;
  TinyParalelAction* parallel = new TinyParalelAction();
  parallel->addAction(fade);
  entryFade_.reset(parallel);
  entryFade_->start(this, 0);
}

void Slider::update(int dt, ScreenBase* /*screen*/) {
  if (entryFade_) entryFade_->update(dt);
}

void Slider::mousePressed(const PointingDeviceEvent& event) {
  dragging_ = true;
  mouseMoved(event);
}

void Slider::mouseMoved(const PointingDeviceEvent& event) {
  if (!dragging_) return;
  float p;
  if (vertical_) {
    const float half = thumb_ ? thumb_->getHeight() * 0.5f : 0.0f;
    p = static_cast<float>(static_cast<int>(event.y - getY())) - half;
  } else {
    const float half = thumb_ ? thumb_->getWidth() * 0.5f : 0.0f;
    p = static_cast<float>(static_cast<int>(event.x - getX())) - half;
  }
  if (p < 0.0f) p = 0.0f;
  if (p > thumbMaxPosition_) p = thumbMaxPosition_;
  if (p < 0.0f) p = 0.0f;  // a negative maximum must not push the thumb off the track
  thumbPosition_ = p;
  if (listener_) listener_->onSliderChanged(id_, getValue());
}

void Slider::mouseReleased(const PointingDeviceEvent& /*event*/) {
  dragging_ = false;
  if (listener_) listener_->onSliderReleased(id_, getValue());
}

void Slider::onEnabled() { currentColor_ = normalColor_; }

void Slider::onDisabled() { currentColor_ = disabledColor_; }

void Slider::setZ(int layer) { layer_ = layer; }

void Slider::draw(Graphics* graphics, ScreenBase* /*screen*/) {
  if (layer_ >= 1 && getManager()) {
    getManager()->addToLayer(this, layer_);
    return;
  }
  drawBody(graphics);
}

void Slider::drawLayer(Graphics* graphics, ScreenBase* /*screen*/) {
  const float depth = graphics->getDepth();
  graphics->setDepth(static_cast<float>(layer_));
  drawBody(graphics);
  graphics->setDepth(depth);
}

void Slider::drawBody(Graphics* g) {
  if (!g) return;
  if (track_) g->drawImage(0, 0, track_, currentColor_);
  const float thumbW = thumb_ ? static_cast<float>(thumb_->getWidth()) : 0.0f;
  const float thumbH = thumb_ ? static_cast<float>(thumb_->getHeight()) : 0.0f;
  if (fill_) {
    if (vertical_) {
      g->drawImage(0, 0, fill_,
                   SourceRect(0.0f, 0.0f, static_cast<float>(fill_->getWidth()),
                              thumbH * 0.5f + thumbPosition_),
                   currentColor_);
    } else {
      g->drawImage(0, 0, fill_,
                   SourceRect(0.0f, 0.0f, thumbW * 0.5f + thumbPosition_,
                              static_cast<float>(fill_->getHeight())),
                   currentColor_);
    }
  }
  if (thumb_) {
    const int p = static_cast<int>(thumbPosition_);
    g->drawImage(vertical_ ? 0 : p, vertical_ ? p : 0, thumb_, currentColor_);
  }
}

Slider* createSliderFromXml(SliderListener* listener, TiXmlElement* element,
                            ResourceManager* resources, const std::string& path) {
  if (!element) return nullptr;
  const bge::XmlReader xml = layout::readerFor(element);
  TiXmlElement* textures = element->FirstChildElement("Texture");
  if (!textures) return nullptr;
  Texture* track = layout::findOrCreateTexture(
      resources, path + xml.readString(textures, "normal", ""), GLTexture::kLinear);
  Texture* fill = layout::findOrCreateTexture(
      resources, path + xml.readString(textures, "fill", ""), GLTexture::kLinear);
  Texture* thumb = layout::findOrCreateTexture(
      resources, path + xml.readString(textures, "thumb", ""), GLTexture::kLinear);
  Slider* slider = new Slider(listener, xml.readInt(element, "id", -1), track, fill, thumb,
                              xml.readFloat(element, "thumbPosition", 0.0f, -layout::kLargestValue, layout::kLargestValue),
                              xml.readFloat(element, "thumbMaxPosition", 0.0f, -layout::kLargestValue, layout::kLargestValue));
  slider->setPosition(xml.readInt(element, "x", 0), xml.readInt(element, "y", 0), false);
  slider->setZ(xml.readInt(element, "layer", 0));
  slider->setEntryFadeDuration(xml.readInt(element, "entryFadeDuration", 500));
  return slider;
}

}  // namespace bge
