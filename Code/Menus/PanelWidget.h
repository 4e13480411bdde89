#pragma once
#include <string>

#include "Color.h"
#include "Widget.h"

class Font;

// A dark, see-through panel with a thin cyan border and one centred line of
// text; the border brightens while the pointer is over it.
class PanelWidget : public Widget {
 public:
  PanelWidget(Font* font, const std::string& text);

  void draw(Graphics* g, ScreenBase* screen) override;
  void onPointerEnter() override { hovered_ = true; }
  void onPointerExit() override { hovered_ = false; }

  void setText(const std::string& text) { text_ = text; }
  const std::string& getText() const { return text_; }
  bool isHovered() const { return hovered_; }

 private:
  Font* font_;
  std::string text_;
  bool hovered_ = false;
};
