#pragma once
#include <memory>
#include <string>

#include "Color.h"
#include "Rect5.h"
#include "Widget.h"
#include "tinyaction/ActionListener.h"

class Font;
class ResourceManager;
class Sound;
class Texture;
class TiXmlElement;
class TinyAction;

namespace bge {

class ButtonListener;

// A push button: a normal texture with an optional hover texture that fades in
// and out, an optional caption, an entry fade, a press shrink and sounds.
class Button : public Widget, public ActionListener {
 public:
  Button(ButtonListener* listener, int buttonId, Texture* normal, Texture* hover,
         const std::string& caption, Font* font, const Color& captionColor);
  ~Button() override;

  void onAttached() override;
  void update(int dt, ScreenBase* screen) override;
  void draw(Graphics* graphics, ScreenBase* screen) override;
  void drawLayer(Graphics* graphics, ScreenBase* screen) override;
  void mousePressed(const PointingDeviceEvent& event) override;
  void mouseReleased(const PointingDeviceEvent& event) override;
  void onPointerExit() override;
  void onPointerEnter() override;
  void onEnabled() override;
  void onDisabled() override;
  bool hitTest(int x, int y) const override;
  // Buttons keep their depth; the value becomes their layer.
  void setZ(int layer) override;
  void actionFinished(int /*tag*/) override {}

  void setCaptionRect(const Rect5& rect) { captionRect_ = rect; }
  void setAlignment(int horizontal, int vertical) {
    hAlign_ = horizontal;
    vAlign_ = vertical;
  }
  void setCaptionDisabledColor(const Color& c) { captionDisabledColor_ = c; }
  void setCaptionHoverColor(const Color& c) { captionHoverColor_ = c; }
  void setOutlineFont(Font* font) { outlineFont_ = font; }
  void setOutlineColor(const Color& c) { outlineColor_ = c; }
  void setWordWrap(bool on) { wordWrap_ = on; }
  void setCaptionKey(const std::string& key) { captionKey_ = key; }
  void setEntryFadeDuration(int ms) { entryFadeDuration_ = ms; }
  void setHoverFadeDuration(int ms) { hoverFadeDuration_ = ms; }
  void setPressEffect(bool on) { pressEffect_ = on; }
  void setSounds(Sound* enter, Sound* press) {
    enterSound_ = enter;
    pressSound_ = press;
  }
  void setBoxHit(bool on) { boxHit_ = on; }
  void setNoHoverFade(bool on) { noHoverFade_ = on; }
  void setLayeredDraw(bool on) { layeredDraw_ = on; }
  void setNormalColor(const Color& c) { normalColor_ = c; }
  void setDisabledColor(const Color& c) { disabledColor_ = c; }
  void setCaption(const std::string& text) { caption_ = text; }
  void setListener(ButtonListener* listener) { listener_ = listener; }

  int getButtonId() const { return buttonId_; }
  int getLayer() const { return layer_; }
  bool isPressed() const { return pressed_; }
  bool isHovered() const { return hovered_; }
  const Color& getTextureColor() const { return textureColor_; }
  const Color& getHoverColor() const { return hoverColor_; }
  const Color& getCaptionColor() const { return currentCaptionColor_; }
  const Rect5& getCaptionRect() const { return captionRect_; }
  const std::string& getCaption() const { return caption_; }
  const std::string& getCaptionKey() const { return captionKey_; }
  Texture* getNormalTexture() const { return normal_; }
  Texture* getHoverTexture() const { return hover_; }
  Font* getFont() const { return font_; }
  Font* getOutlineFont() const { return outlineFont_; }
  int getEntryFadeDuration() const { return entryFadeDuration_; }
  int getHoverFadeDuration() const { return hoverFadeDuration_; }
  bool hasPressEffect() const { return pressEffect_; }

 private:
  void drawBody(Graphics* graphics);
  void replaceHoverFade(TinyAction* fade, int tag);

  bool boxHit_ = false;
  int buttonId_;
  int layer_ = 0;
  int entryFadeDuration_ = 2;
  int hoverFadeDuration_ = 2;
  bool noHoverFade_ = false;
  bool pressed_ = false;
  bool hovered_ = false;
  Texture* normal_;
  Texture* hover_;
  Color textureColor_ = Color::transparentWhite;
  Color hoverColor_ = Color::transparentWhite;
  Color normalColor_ = Color::white;
  Color disabledColor_ = Color(128, 128, 128, 255);
  Rect5 captionRect_;
  std::string caption_;
  Color captionColor_;
  Color captionHoverColor_ = Color::white;
  Color currentCaptionColor_;
  Color captionDisabledColor_ = Color(128, 128, 128, 255);
  Font* font_;
  Color outlineColor_ = Color::white;
  Font* outlineFont_ = nullptr;
  int hAlign_ = 2;
  int vAlign_ = 2;
  ButtonListener* listener_;
  std::unique_ptr<TinyAction> entryFade_;
  std::unique_ptr<TinyAction> hoverFade_;
  Sound* enterSound_ = nullptr;
  Sound* pressSound_ = nullptr;
  float scaleX_ = 1.0f;
  float scaleY_ = 1.0f;
  bool wordWrap_ = false;
  std::string captionKey_;
  bool layeredDraw_ = true;
  bool pressEffect_ = false;
};

// One <Button> element; null without a <Texture> child.
Button* createButtonFromXml(ButtonListener* listener, TiXmlElement* element,
                           ResourceManager* resources, const std::string& path);

}  // namespace bge
