#include "widgets/CheckBox.h"

#include <tinyxml.h>

#include "GLTexture.h"
#include "Graphics.h"
#include "Image.h"
#include "WidgetManager.h"
#include "tinyaction/TinyActions.h"
#include "widgets/ByteFade.h"
#include "widgets/CheckBoxListener.h"
#include "widgets/LayoutReading.h"
#include "XmlAttributes.h"

namespace bge {

CheckBox::CheckBox(CheckBoxListener* listener, int id, Texture* normal, Texture* checked,
                   bool isChecked)
    : id_(id), checked_(isChecked), normal_(normal), checkedTexture_(checked), listener_(listener) {
  if (normal_) setSize(normal_->getWidth(), normal_->getHeight());
}

CheckBox::~CheckBox() = default;

void CheckBox::onAttached() {
  entryFade_.reset();
  entryFade_.reset(makeEntryFade(&normalImageColor_.a, normalColor_.a, &checkedImageColor_.a,
                                 normalColor_.a, entryFadeDuration_));
  if (!entryFade_) return;
  entryFade_->start(this, 0);
}

void CheckBox::update(int dt, ScreenBase* /*screen*/) {
  if (entryFade_) entryFade_->update(dt);
}

void CheckBox::mousePressed(const PointingDeviceEvent& /*event*/) {
  checked_ = !checked_;
  if (listener_) listener_->onCheckBoxChanged(id_, checked_);
}

void CheckBox::onEnabled() { normalImageColor_ = checkedImageColor_ = normalColor_; }

void CheckBox::onDisabled() { normalImageColor_ = checkedImageColor_ = disabledColor_; }

bool CheckBox::hitTest(int x, int y) const {
  if (!Widget::hitTest(x, y)) return false;
  if (boxHit_ || !normal_ || !normal_->getImage()) return true;
  const Image* image = normal_->getImage();
  const int px = static_cast<int>(x - getX());
  const int py = static_cast<int>(y - getY());
  if (!image->contains(px, py)) return false;
  return image->getPixel(px, py).a > 0;
}

void CheckBox::setZ(int layer) { layer_ = layer; }

void CheckBox::draw(Graphics* graphics, ScreenBase* /*screen*/) {
  if (layer_ >= 1 && getManager()) {
    getManager()->addToLayer(this, layer_);
    return;
  }
  drawBody(graphics);
}

void CheckBox::drawLayer(Graphics* graphics, ScreenBase* /*screen*/) {
  const float depth = graphics->getDepth();
  graphics->setDepth(static_cast<float>(layer_));
  drawBody(graphics);
  graphics->setDepth(depth);
}

void CheckBox::drawBody(Graphics* g) {
  if (!g || !normal_) return;
  const float cx = static_cast<float>(normal_->getWidth() / 2);
  const float cy = static_cast<float>(normal_->getHeight() / 2);
  g->translate(cx, cy);
  g->scale(scaleX_, scaleY_);
  g->drawImage(-normal_->getWidth() / 2, -normal_->getHeight() / 2, normal_, normalImageColor_);
  if (checked_ && checkedTexture_) {
    g->drawImage(-checkedTexture_->getWidth() / 2, -checkedTexture_->getHeight() / 2,
                 checkedTexture_, checkedImageColor_);
  }
  g->scale(1.0f / scaleX_, 1.0f / scaleY_);
  g->translate(-cx, -cy);
}

CheckBox* createCheckBoxFromXml(CheckBoxListener* listener, TiXmlElement* element,
                               ResourceManager* resources, const std::string& path) {
  if (!element) return nullptr;
  const bge::XmlReader xml = layout::readerFor(element);
  TiXmlElement* textures = element->FirstChildElement("Texture");
  if (!textures) return nullptr;
  Texture* normal = layout::findOrCreateTexture(
      resources, path + xml.readString(textures, "normal", ""), GLTexture::kLinear);
  Texture* checked = layout::findOrCreateTexture(
      resources, path + xml.readString(textures, "checked", ""), GLTexture::kLinear);
  CheckBox* box = new CheckBox(listener, xml.readInt(element, "id", -1), normal, checked, false);
  box->setPosition(xml.readInt(element, "x", 0), xml.readInt(element, "y", 0), false);
  box->setZ(xml.readInt(element, "layer", 0));
  box->setEntryFadeDuration(xml.readInt(element, "entryFadeDuration", 500));
  return box;
}

}  // namespace bge
