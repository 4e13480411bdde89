#include "widgets/ImageWidget.h"

#include <tinyxml.h>

#include <cmath>

#include "GLTexture.h"
#include "Graphics.h"
#include "Texture.h"
#include "widgets/LayoutReading.h"
#include "XmlAttributes.h"

ImageWidget::ImageWidget(Texture* texture, int x, int y, int width, int height, int layoutId)
    : texture_(texture), layoutId_(layoutId) {
  setRect(x, y, width, height);
}

void ImageWidget::draw(Graphics* graphics, ScreenBase* /*screen*/) {
  if (!texture_ || !graphics) return;
  const int tw = texture_->getWidth();
  const int th = texture_->getHeight();
  if (centerRotation_) {
    graphics->pushMatrix();
    graphics->translate(static_cast<float>(tw / 2), static_cast<float>(th / 2));
    graphics->rotate(angle_, 0.0f, 0.0f, 1.0f);
    graphics->scale(scaleX_, scaleY_);
    graphics->translate(-static_cast<float>(tw / 2), -static_cast<float>(th / 2));
    graphics->drawImage(0, 0, texture_, color_);
    graphics->popMatrix();
  } else if (std::fabs(angle_) < 1e-6f) {
    graphics->drawImage(0, 0, texture_, color_);
  } else {
    // Turned about the image centre, which sits at the widget's (x, y) from its corner.
    graphics->pushMatrix();
    graphics->translate(getX(), getY());
    graphics->scale(scaleX_, scaleY_);
    graphics->rotate(angle_, 0.0f, 0.0f, 1.0f);
    graphics->translate(-tw * 0.5f, -th * 0.5f);
    graphics->drawImage(0, 0, texture_, color_);
    graphics->popMatrix();
  }
}

ImageWidget* createImageWidgetFromXml(TiXmlElement* element, ResourceManager* resources,
                                      const std::string& path, ImageFilter* filter) {
  if (!element || !resources) return nullptr;
  const bge::XmlReader xml = layout::readerFor(element);
  const std::string file = xml.readString(element, "textureFilename", "");
  const std::string mode = xml.readString(element, "mode", "");
  if (file.empty()) return nullptr;
  const int glFilter = mode == "GL_NEAREST" ? GLTexture::kNearest : GLTexture::kLinear;
  Texture* texture = layout::findOrCreateTexture(resources, path + file, glFilter, filter);
  if (!texture) return nullptr;

  const int x = xml.readInt(element, "x", 0);
  const int y = xml.readInt(element, "y", 0);
  int width = xml.readInt(element, "width", 0);
  int height = xml.readInt(element, "height", 0);
  const float angle = xml.readFloat(element, "angle", 0.0f, -layout::kLargestValue, layout::kLargestValue);
  if (xml.readBool(element, "minimalSize", false)) width = height = 0;
  const int id = xml.readInt(element, "id", -1);
  const int layer = xml.readInt(element, "layer", 0);

  ImageWidget* widget = new ImageWidget(texture, x, y, width, height, id);
  widget->setAngle(angle);
  widget->setZ(layer);
  return widget;
}
