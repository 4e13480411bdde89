#include "widgets/Label.h"

#include <tinyxml.h>

#include "Font.h"
#include "ResourceManager.h"
#include "widgets/LayoutReading.h"
#include "XmlAttributes.h"

namespace bge {

Label::Label(int layoutId, const std::string& textKey, const Rect5& textRect, Font* font,
             const Color& color, int hAlign, int vAlign)
    : layoutId_(layoutId),
      hAlign_(hAlign),
      vAlign_(vAlign),
      textKey_(textKey),
      textRect_(textRect),
      font_(font),
      color_(color) {
  setText(std::string());
}

void Label::setText(const std::string& given) {
  lines_.clear();
  std::string text = given;
  if (text.empty()) {
    if (textKey_.empty()) return;
    text = layout::lookupText(textKey_);
  }
  if (!font_) return;
  std::string broken;
  font_->breakLines(text, broken, static_cast<int>(textRect_.width));

  std::vector<std::string> pieces;
  size_t start = 0;
  for (size_t i = 0; i <= broken.size(); ++i) {
    if (i == broken.size() || broken[i] == '\n') {
      pieces.push_back(broken.substr(start, i - start));
      start = i + 1;
    }
  }
  const int lineHeight = font_->getLineHeight();
  const int total = static_cast<int>(pieces.size()) * lineHeight;
  int y = static_cast<int>(textRect_.y);
  if (vAlign_ == kAlignCenter) {
    y = static_cast<int>((textRect_.height - total) / 2 + textRect_.y);
  } else if (vAlign_ == kAlignBottom) {
    y = static_cast<int>(textRect_.y + textRect_.height - total);
  }
  int x = static_cast<int>(textRect_.x);
  for (const std::string& piece : pieces) {
    const int w = font_->textWidth(piece);
    if (hAlign_ == kAlignRight) {
      x = static_cast<int>(textRect_.x + textRect_.width - w);
    } else if (hAlign_ == kAlignCenter) {
      x = static_cast<int>((textRect_.width - w) / 2 + textRect_.x);
    }
    lines_.push_back(Line{x, y, piece});
    y += lineHeight;
  }
}

void Label::draw(Graphics* graphics, ScreenBase* /*screen*/) {
  if (!font_ || !graphics) return;
  for (const Line& line : lines_) {
    font_->drawText(graphics, line.x, line.y, line.text, color_);
    if (outlineFont_) outlineFont_->drawText(graphics, line.x, line.y, line.text, outlineColor_);
  }
}

Label* createLabelFromXml(TiXmlElement* element, ResourceManager* resources) {
  if (!element || !resources) return nullptr;
  const bge::XmlReader xml = layout::readerFor(element);
  const int id = xml.readInt(element, "id", -1);
  const int x = xml.readInt(element, "x", 0);
  const int y = xml.readInt(element, "y", 0);
  const std::string text = xml.readString(element, "text", "");
  if (text.empty()) return nullptr;
  const Rect5 rect = xml.readRect(element, "rect", Rect5());
  const std::string fontName = xml.readString(element, "font", "");
  const std::string outlineName = xml.readString(element, "fontOutline", "");
  Font* font = layout::findFont(resources, fontName);
  if (!font) return nullptr;
  const Color color = xml.readColor(element, "color", Color::white);
  const Color outlineColor = xml.readColor(element, "colorOutline", Color::black);
  const std::string h = xml.readString(element, "horizontalAlignment", "");
  const std::string v = xml.readString(element, "verticalAlignment", "");
  const int hAlign = h == "LEFT" ? kAlignLeft : h == "RIGHT" ? kAlignRight : kAlignCenter;
  const int vAlign = v == "TOP" ? kAlignTop : v == "BOTTOM" ? kAlignBottom : kAlignCenter;

  Label* label = new Label(id, text, rect, font, color, hAlign, vAlign);
  if (!outlineName.empty()) {
    label->setOutlineFont(layout::findFont(resources, outlineName));
    label->setOutlineColor(outlineColor);
  }
  label->setPosition(x, y, false);
  return label;
}

}  // namespace bge
