#pragma once
#include <string>
#include <vector>

#include "Color.h"
#include "Rect5.h"
#include "Widget.h"

class Font;
class ResourceManager;
class TiXmlElement;

namespace bge {

// Alignment codes shared by labels, button captions and dialogs.
enum TextAlignment { kAlignLeft = 0, kAlignRight = 1, kAlignCenter = 2, kAlignTop = 3, kAlignBottom = 4 };

// A text from the text table, broken to its rectangle's width and placed line
// by line; an optional outline font draws the same lines over it.
class Label : public Widget {
 public:
  struct Line {
    int x;
    int y;
    std::string text;
  };

  Label(int layoutId, const std::string& textKey, const Rect5& textRect, Font* font,
        const Color& color, int hAlign, int vAlign);
  void draw(Graphics* graphics, ScreenBase* screen) override;

  // Lays out the text, or the key's text when it is empty.
  void setText(const std::string& text);
  void setOutlineFont(Font* font) { outlineFont_ = font; }
  void setOutlineColor(const Color& color) { outlineColor_ = color; }

  int getLayoutId() const { return layoutId_; }
  const std::string& getTextKey() const { return textKey_; }
  const Rect5& getTextRect() const { return textRect_; }
  Font* getFont() const { return font_; }
  Font* getOutlineFont() const { return outlineFont_; }
  const Color& getColor() const { return color_; }
  const Color& getOutlineColor() const { return outlineColor_; }
  int getHAlign() const { return hAlign_; }
  int getVAlign() const { return vAlign_; }
  const std::vector<Line>& getLines() const { return lines_; }

 private:
  int layoutId_;
  int hAlign_;
  int vAlign_;
  std::string textKey_;
  Rect5 textRect_;
  Font* font_;  // not owned: a resource catalogue's
  Color color_;
  Font* outlineFont_ = nullptr;  // not owned: a resource catalogue's
  Color outlineColor_ = Color::black;
  std::vector<Line> lines_;
};

// One <Label> or <TextLabel> element; null without a text key or a known font.
Label* createLabelFromXml(TiXmlElement* element, ResourceManager* resources);

}  // namespace bge
