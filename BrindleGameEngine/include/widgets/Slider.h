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

class SliderListener;

// A track with a fill up to a thumb that the pointer drags; reports the thumb
// position as a value from 0 to 1.
class Slider : public Widget, public ActionListener {
 public:
  Slider(SliderListener* listener, int id, Texture* track, Texture* fill, Texture* thumb,
         float thumbPosition, float thumbMaxPosition);
  ~Slider() override;

  void onAttached() override;
  void update(int dt, ScreenBase* screen) override;
  void draw(Graphics* graphics, ScreenBase* screen) override;
  void drawLayer(Graphics* graphics, ScreenBase* screen) override;
  void mousePressed(const PointingDeviceEvent& event) override;
  void mouseMoved(const PointingDeviceEvent& event) override;
  void mouseReleased(const PointingDeviceEvent& event) override;
  void onEnabled() override;
  void onDisabled() override;
  void setZ(int layer) override;
  void actionFinished(int /*tag*/) override {}

  // Thumb position over its maximum; 0 when the maximum is not positive.
  float getValue() const;
  void setThumbPosition(float position) { thumbPosition_ = position; }
  float getThumbPosition() const { return thumbPosition_; }
  float getThumbMaxPosition() const { return thumbMaxPosition_; }
  Texture* getThumb() const { return thumb_; }
  void setEntryFadeDuration(int ms) { entryFadeDuration_ = ms; }
  int getEntryFadeDuration() const { return entryFadeDuration_; }
  void setVertical(bool on) { vertical_ = on ? 1 : 0; }
  bool isVertical() const { return vertical_ != 0; }
  bool isDragging() const { return dragging_; }
  void setListener(SliderListener* listener) { listener_ = listener; }
  int getSliderId() const { return id_; }
  int getLayer() const { return layer_; }
  const Color& getCurrentColor() const { return currentColor_; }

 private:
  void drawBody(Graphics* graphics);

  int id_;
  int layer_ = 0;
  int entryFadeDuration_ = 500;
  bool dragging_ = false;
  float thumbPosition_;
  float thumbMaxPosition_;
  Color currentColor_ = Color::transparentWhite;
  Color normalColor_ = Color::white;
  Color disabledColor_ = Color(128, 128, 128, 255);
  Texture* track_;
  Texture* fill_;
  Texture* thumb_;
  SliderListener* listener_;
  std::unique_ptr<TinyAction> entryFade_;
  int vertical_ = 0;
};

// One <Slider> element; null without a <Texture> child.
Slider* createSliderFromXml(SliderListener* listener, TiXmlElement* element,
                            ResourceManager* resources, const std::string& path);

}  // namespace bge
