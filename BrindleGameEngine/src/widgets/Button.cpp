#include "widgets/Button.h"

#include <tinyxml.h>

#include "Font.h"
#include "GLTexture.h"
#include "Graphics.h"
#include "Image.h"
#include "ResourceManager.h"
#include "Sound.h"
#include "WidgetManager.h"
#include "tinyaction/TinyActions.h"
#include "widgets/ButtonListener.h"
#include "widgets/ByteFade.h"
#include "widgets/LayoutReading.h"
#include "XmlAttributes.h"

namespace bge {

namespace {
Color withAlpha(Color c, int alpha) {
  c.a = static_cast<uint8_t>(alpha);
  return c;
}
}  // namespace

Button::Button(ButtonListener* listener, int buttonId, Texture* normal, Texture* hover,
               const std::string& caption, Font* font, const Color& captionColor)
    : buttonId_(buttonId),
      normal_(normal),
      hover_(hover),
      caption_(caption),
      captionColor_(captionColor),
      currentCaptionColor_(withAlpha(captionColor, 0)),
      font_(font),
      listener_(listener) {
  if (normal_) {
    captionRect_ = Rect5(0, 0, normal_->getWidth(), normal_->getHeight());
    setSize(normal_->getWidth(), normal_->getHeight());
  }
}

Button::~Button() = default;

void Button::onAttached() {
  entryFade_.reset();
  entryFade_.reset(makeEntryFade(&textureColor_.a, normalColor_.a, &currentCaptionColor_.a,
                                 captionColor_.a, entryFadeDuration_));
  if (!entryFade_) return;
  entryFade_->start(this, 0);
}

void Button::replaceHoverFade(TinyAction* fade, int tag) {
  hoverFade_.reset(fade);
  if (hoverFade_) hoverFade_->start(this, tag);
}

void Button::onPointerEnter() {
  if (!hoverWhenDisabled_) {
    hovered_ = true;
    currentCaptionColor_ = captionHoverColor_;
    if (!noHoverFade_) {
      replaceHoverFade(makeByteRise(&hoverColor_.a, normalColor_.a - hoverColor_.a,
                                    hoverFadeDuration_), 1);
    }
  }
  if (enterSound_) enterSound_->play();
  if (listener_) listener_->onButtonEvent(buttonId_, ButtonListener::PointerEntered);
}

void Button::onPointerExit() {
  if (!hoverWhenDisabled_) {
    hovered_ = false;
    currentCaptionColor_ = captionColor_;
    if (!noHoverFade_) {
      replaceHoverFade(makeByteFall(&hoverColor_.a, hoverColor_.a, hoverFadeDuration_), 2);
    }
  }
  if (listener_) listener_->onButtonEvent(buttonId_, ButtonListener::PointerLeft);
}

void Button::mousePressed(const PointingDeviceEvent& /*event*/) {
  pressed_ = true;
  if (pressSound_) pressSound_->play();
  if (listener_) listener_->onButtonEvent(buttonId_, ButtonListener::Pressed);
}

void Button::mouseReleased(const PointingDeviceEvent& /*event*/) {
  pressed_ = false;
  if (listener_) listener_->onButtonEvent(buttonId_, ButtonListener::Released);
}

void Button::onEnabled() {
  textureColor_ = normalColor_;
  currentCaptionColor_ = captionColor_;
}

void Button::onDisabled() {
  textureColor_ = disabledColor_;
  currentCaptionColor_ = captionDisabledColor_;
}

void Button::update(int dt, ScreenBase* /*screen*/) {
  if (entryFade_) entryFade_->update(dt);
  if (hoverFade_) hoverFade_->update(dt);
}

bool Button::hitTest(int x, int y) const {
  if (!Widget::hitTest(x, y)) return false;
  if (boxHit_ || !normal_ || !normal_->getImage()) return true;
  const Image* image = normal_->getImage();
  const int px = static_cast<int>(x - getX());
  const int py = static_cast<int>(y - getY());
  // Past the image there is no pixel to hit.
  if (!image->contains(px, py)) return false;
  return image->getPixel(px, py).a > 0;
}

void Button::setZ(int layer) { layer_ = layer; }

void Button::draw(Graphics* graphics, ScreenBase* /*screen*/) {
  if (layer_ > 0 && layeredDraw_ && getManager()) {
    getManager()->addToLayer(this, layer_);
    return;
  }
  drawBody(graphics);
}

void Button::drawLayer(Graphics* graphics, ScreenBase* /*screen*/) {
  const float depth = graphics->getDepth();
  graphics->setDepth(static_cast<float>(layer_));
  drawBody(graphics);
  graphics->setDepth(depth);
}

void Button::drawBody(Graphics* g) {
  if (!g) return;
  const bool shrink = pressed_ && pressEffect_;
  float cx;
  float cy;
  if (normal_) {
    cx = static_cast<float>(normal_->getWidth() / 2);
    cy = static_cast<float>(normal_->getHeight() / 2);
  } else {
    cx = getWidth() / 2;
    cy = getHeight() / 2;
  }
  const int w = static_cast<int>(getWidth());
  const int h = static_cast<int>(getHeight());

  if (shrink) scaleX_ = scaleY_ = 0.75f;
  g->translate(cx, cy);
  g->scale(scaleX_, scaleY_);
  g->translate(-cx, -cy);
  if (normal_) {
    g->drawImage(0, 0, normal_, textureColor_);
  } else {
    g->fillRect(0, 0, w, h, pressed_ ? disabledColor_ : textureColor_);
  }
  // A picture without a hover picture stays in sight: whoever owns the button marks
  // its hover (the level frames its build buttons). Only a bare box lights up.
  if (hover_) {
    g->drawImage(0, 0, hover_, hoverColor_);
  } else if (hovered_ && !normal_) {
    g->fillRect(0, 0, w, h, hoverColor_);
  }
  // The steps below undo the shrink exactly; they only make sense together.
  g->translate(-cx, -cy);
  g->scale(1.0f / scaleX_, 1.0f / scaleY_);
  if (shrink) {
    scaleX_ = scaleY_ = 1.0f;
    if (normal_) {
      g->translate(static_cast<float>(-(normal_->getWidth() / 4)),
                   static_cast<float>(-(normal_->getHeight() / 4)));
    } else {
      g->translate(-getWidth() / 8, -getHeight() / 8);
    }
  }
  g->translate(cx, cy);

  const Rect5 savedRect = captionRect_;
  if (shrink) {
    scaleX_ = scaleY_ = 0.75f;
    g->scale(0.75f, 0.75f);
    captionRect_.x += captionRect_.width / 6;
    captionRect_.y += captionRect_.height / 6;
  }
  if (font_ && !caption_.empty()) {
    font_->drawTextAligned(g, captionRect_, caption_, currentCaptionColor_, hAlign_, vAlign_,
                           wordWrap_);
    if (outlineFont_) {
      outlineFont_->drawTextAligned(g, captionRect_, caption_, outlineColor_, hAlign_, vAlign_,
                                    wordWrap_);
    }
  }
  if (shrink) {
    g->scale(1.0f / 0.75f, 1.0f / 0.75f);
    scaleX_ = scaleY_ = 1.0f;
    captionRect_ = savedRect;
  }
}

Button* createButtonFromXml(ButtonListener* listener, TiXmlElement* element,
                           ResourceManager* resources, const std::string& path) {
  if (!element) return nullptr;
  const bge::XmlReader xml = layout::readerFor(element);
  TiXmlElement* textures = element->FirstChildElement("Texture");
  if (!textures) return nullptr;
  const int id = xml.readInt(element, "id", -1);
  const int layer = xml.readInt(element, "layer", 0);
  const int x = xml.readInt(element, "x", 0);
  const int y = xml.readInt(element, "y", 0);
  const int entryFade = xml.readInt(element, "entryFadeDuration", 2);
  const int hoverFade = xml.readInt(element, "overTextureFadeDuration", 2);
  const std::string normalName = xml.readString(textures, "normal", "");
  const std::string overName = xml.readString(textures, "over", "");
  const bool pressEffect = xml.readBool(textures, "pressEffect", false);

  Texture* normal = layout::findOrCreateTexture(resources, path + normalName, GLTexture::kLinear);
  Texture* hover = normal;
  if (overName != normalName) {
    hover = layout::findOrCreateTexture(resources, path + overName, GLTexture::kLinear);
  }

  Button* button = nullptr;
  TiXmlElement* label = element->FirstChildElement("Label");
  const std::string name = xml.readString(label, "name", "");
  const std::string fontName = xml.readString(label, "fontName", "");
  Font* font = layout::findFont(resources, fontName);
  if (label && !name.empty() && !fontName.empty()) {
    const Color color = xml.readColor(label, "color", Color::white);
    button = new Button(listener, id, normal, hover, layout::lookupText(name), font, color);
    button->setPosition(x, y, false);
    button->setWordWrap(xml.readBool(label, "wordWrap", false));
    button->setCaptionKey(name);
    const std::string outline = xml.readString(label, "fontOutline", "");
    if (!outline.empty()) {
      button->setOutlineFont(layout::findFont(resources, outline));
      button->setOutlineColor(xml.readColor(label, "outlineColor", Color::black));
    }
    const Rect5 rect = xml.readRect(label, "rect", Rect5());
    if (!(rect.width <= 0 && rect.height <= 0)) button->setCaptionRect(rect);
    button->setAlignment(xml.readInt(label, "horizontalAlign", 2),
                         xml.readInt(label, "verticalAlign", 2));
    button->setCaptionDisabledColor(
        xml.readColor(label, "disabledColor", Color(128, 128, 128, 255)));
    button->setCaptionHoverColor(xml.readColor(label, "colorOver", Color::white));
  } else {
    button = new Button(listener, id, normal, hover, std::string(), nullptr, Color::white);
    button->setPosition(x, y, false);
  }
  button->setZ(layer);
  button->setEntryFadeDuration(entryFade);
  button->setHoverFadeDuration(hoverFade);
  button->setPressEffect(pressEffect);
  return button;
}

}  // namespace bge
