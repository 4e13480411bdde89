#pragma once
#include <string>

#include "Color.h"
#include "Widget.h"

class ImageFilter;
class ResourceManager;
class Texture;
class TiXmlElement;

// Shows one texture at its own size, optionally turned, scaled and tinted.
class ImageWidget : public Widget {
 public:
  ImageWidget(Texture* texture, int x, int y, int width, int height, int layoutId);
  ~ImageWidget() override = default;

  void draw(Graphics* graphics, ScreenBase* screen) override;

  void setAngle(float angle) { angle_ = angle; }
  float getAngle() const { return angle_; }
  void setScale(float sx, float sy) {
    scaleX_ = sx;
    scaleY_ = sy;
  }
  float getScaleX() const { return scaleX_; }
  float getScaleY() const { return scaleY_; }
  void setColor(const Color& color) { color_ = color; }
  const Color& getColor() const { return color_; }
  void setCenterRotation(bool on) { centerRotation_ = on; }
  bool getCenterRotation() const { return centerRotation_; }
  Texture* getTexture() const { return texture_; }
  int getLayoutId() const { return layoutId_; }

 private:
  bool centerRotation_ = false;
  Color color_ = Color::white;
  Texture* texture_;
  float angle_ = 0.0f;
  float scaleX_ = 1.0f;
  float scaleY_ = 1.0f;
  int layoutId_;
};

// One <ImageWidget> element of a layout; null without a texture file name.
ImageWidget* createImageWidgetFromXml(TiXmlElement* element, ResourceManager* resources,
                                      const std::string& path, ImageFilter* filter);
