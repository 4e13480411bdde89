#include "Game/InfoPanelText.h"

#include <algorithm>

#include "Font.h"

InfoPanelText::InfoPanelText(Graphics* g, Font* font, const Rect5& area) : g_(g), font_(font), area_(area), y_(area.y) {}

void InfoPanelText::row(const std::string& left, const Color& leftColour, const std::string& right,
                        const Color& rightColour) {
  if (!font_) return;
  const float step = static_cast<float>(font_->getLineHeight());
  const float leftWidth = right.empty() ? area_.width : kRightColumn - 4.0f;
  if (!left.empty())
    font_->drawTextAligned(g_, Rect5(area_.x, y_, leftWidth, step), left, leftColour, Font::AlignLeft, Font::AlignTop,
                           false);
  if (!right.empty())
    font_->drawTextAligned(g_, Rect5(area_.x + kRightColumn, y_, area_.width - kRightColumn, step), right, rightColour,
                           Font::AlignLeft, Font::AlignTop, false);
  y_ += step;
}

void InfoPanelText::wrapped(const std::string& text, const Color& colour) {
  if (!font_ || text.empty()) return;
  // Counted from the wrapping the drawing itself does, so the box holds every line.
  std::string lines;
  font_->wrapText(text, lines, static_cast<int>(area_.width));
  const int count = 1 + static_cast<int>(std::count(lines.begin(), lines.end(), '\n'));
  const float height = static_cast<float>(count * font_->getLineHeight());
  font_->drawTextAligned(g_, Rect5(area_.x, y_, area_.width, height), text, colour, Font::AlignLeft, Font::AlignTop,
                         true);
  y_ += height;
}
