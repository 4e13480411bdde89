#include "System/NoticeBoard.h"

#include <algorithm>

#include "Font.h"
#include "Graphics.h"
#include "Menus/MenuPalette.h"
#include "Rect5.h"

void NoticeBoard::post(const std::string& text) {
  for (const Notice& n : notices_)
    if (n.text == text) return;
  if (notices_.size() == kMostShown) notices_.erase(notices_.begin());
  notices_.push_back(Notice{text, 0});
}

void NoticeBoard::update(int dt) {
  for (Notice& n : notices_) n.ageMs += std::max(dt, 0);
  notices_.erase(std::remove_if(notices_.begin(), notices_.end(), [](const Notice& n) { return n.ageMs >= kShowMs; }),
                 notices_.end());
}

void NoticeBoard::draw(Graphics* g, Font* font, int screenWidth) const {
  if (!g || !font) return;
  const int line = std::max(font->getLineHeight(), 1);
  int y = kTop;
  for (const Notice& n : notices_) {
    const int inner = kWidestPanel - 2 * kPadding;
    const int textW = font->textWidth(n.text);
    // A long one (a path and its reason) takes a second line rather than a wider panel.
    const int lines = textW > inner ? 2 : 1;
    const int w = std::min(textW, inner) + 2 * kPadding;
    const int h = lines * line + 2 * kPadding;
    const int x = (screenWidth - w) / 2;
    // Fades out over its last moments rather than vanishing.
    const int left = kShowMs - n.ageMs;
    const float fade = left >= kFadeMs ? 1.0f : static_cast<float>(std::max(left, 0)) / kFadeMs;
    auto faded = [fade](Color c) {
      c.a = static_cast<uint8_t>(c.a * fade);
      return c;
    };
    g->fillRect(x, y, w, h, faded(palette::panelFill()));
    g->drawRect(x, y, w, h, faded(palette::panelEdge()), false);
    font->drawTextAligned(g, Rect5(static_cast<float>(x + kPadding), static_cast<float>(y + kPadding),
                                   static_cast<float>(w - 2 * kPadding), static_cast<float>(lines * line)),
                          n.text, faded(Color(255, 255, 255, 255)), Font::AlignCenter, Font::AlignTop, lines > 1);
    y += h + kGap;
  }
}
