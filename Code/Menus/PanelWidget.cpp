#include "Menus/PanelWidget.h"

#include "Font.h"
#include "Graphics.h"

namespace {
const Color kPanelFill(8, 16, 34, 190);
const Color kBorder(70, 200, 230, 255);
const Color kBorderHover(170, 245, 255, 255);
const Color kText(225, 245, 255, 255);
}  // namespace

PanelWidget::PanelWidget(Font* font, const std::string& text) : font_(font), text_(text) {}

void PanelWidget::draw(Graphics* g, ScreenBase* /*screen*/) {
  const Rect5 area(0.0f, 0.0f, getWidth(), getHeight());
  g->fillRect(area, kPanelFill);
  g->drawRect(area, hovered_ ? kBorderHover : kBorder, true);
  if (font_ && !text_.empty()) {
    font_->drawTextAligned(g, area, text_, kText, Font::AlignCenter, Font::AlignMiddle, true);
  }
}
