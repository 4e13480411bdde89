#pragma once
#include <memory>
#include <string>

#include "Color.h"
#include "Widget.h"
#include "tinyaction/ActionListener.h"

class ResourceManager;
class Texture;
class TiXmlElement;
class TinyAction;

namespace bge {

class CheckBoxListener;

// Toggles on each press and shows the checked image over the normal one.
class CheckBox : public Widget, public ActionListener {
 public:
  CheckBox(CheckBoxListener* listener, int id, Texture* normal, Texture* checked, bool isChecked);
  ~CheckBox() override;

  void onAttached() override;
  void update(int dt, ScreenBase* screen) override;
  void draw(Graphics* graphics, ScreenBase* screen) override;
  void drawLayer(Graphics* graphics, ScreenBase* screen) override;
  void mousePressed(const PointingDeviceEvent& event) override;
  void onEnabled() override;
  void onDisabled() override;
  bool hitTest(int x, int y) const override;
  void setZ(int layer) override;
  void actionFinished(int /*tag*/) override {}

  void setEntryFadeDuration(int ms) { entryFadeDuration_ = ms; }
  void setChecked(bool checked) { checked_ = checked; }
  bool isChecked() const { return checked_; }
  void setBoxHit(bool on) { boxHit_ = on; }
  void setListener(CheckBoxListener* listener) { listener_ = listener; }
  void setScale(float sx, float sy) {
    scaleX_ = sx;
    scaleY_ = sy;
  }
  int getCheckBoxId() const { return id_; }
  int getLayer() const { return layer_; }
  int getEntryFadeDuration() const { return entryFadeDuration_; }
  const Color& getNormalImageColor() const { return normalImageColor_; }
  const Color& getCheckedImageColor() const { return checkedImageColor_; }
  Texture* getNormalTexture() const { return normal_; }
  Texture* getCheckedTexture() const { return checkedTexture_; }

 private:
  void drawBody(Graphics* graphics);

  bool boxHit_ = false;
  int id_;
  int layer_ = 0;
  int entryFadeDuration_ = 500;
  bool checked_;
  Color normalImageColor_ = Color::transparentWhite;
  Color checkedImageColor_ = Color::transparentWhite;
  Color normalColor_ = Color::white;
  Color disabledColor_ = Color(128, 128, 128, 255);
  Texture* normal_;
  Texture* checkedTexture_;
  CheckBoxListener* listener_;
  std::unique_ptr<TinyAction> entryFade_;
  float scaleX_ = 1.0f;
  float scaleY_ = 1.0f;
};

// One <Checkbox> element (always unchecked); null without a <Texture> child.
CheckBox* createCheckBoxFromXml(CheckBoxListener* listener, TiXmlElement* element,
                               ResourceManager* resources, const std::string& path);

}  // namespace bge
