// What the layout check measures: the boxes texts and panels take on the screen, and
// a font that writes down every line it lays out as the game's font would.
#pragma once

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdlib>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "AngelFont.h"
#include "GLTexture.h"
#include "LabelManager.h"
#include "RecordingGraphics.h"
#include "widgets/LayoutReading.h"

namespace layoutcheck {


constexpr float kScreenW = 1366.0f, kScreenH = 768.0f;
constexpr float kSlack = 1.5f;  // rounding of glyph advances and positions
// Light left of a text (its brightest channel, 0..255) that the eye still reads
// on our near-black screens (five levels were read); under that, the fills laid
// over it hide it.
constexpr float kLegibleLevels = 2.0f;
constexpr float kPanelMinW = 100.0f, kPanelMinH = 40.0f;
constexpr float kMarkerReach = 30.0f;  // a lane marker's ring at its widest

struct Area {
  float x = 0, y = 0, w = 0, h = 0;
  float right() const { return x + w; }
  float bottom() const { return y + h; }
  bool contains(const Area& o, float slack = kSlack) const {
    return o.x >= x - slack && o.y >= y - slack && o.right() <= right() + slack && o.bottom() <= bottom() + slack;
  }
  bool overlaps(const Area& o, float slack = kSlack) const {
    return std::min(right(), o.right()) - std::max(x, o.x) > slack &&
           std::min(bottom(), o.bottom()) - std::max(y, o.y) > slack;
  }
  std::string str() const {
    return "(" + std::to_string(int(x)) + "," + std::to_string(int(y)) + " " + std::to_string(int(w)) + "x" +
           std::to_string(int(h)) + ")";
  }
};

// Cuts the segment to the area; false when none of it lies inside.
inline bool clipTo(const Area& a, float& x0, float& y0, float& x1, float& y1) {
  const float dx = x1 - x0, dy = y1 - y0;
  const float p[4] = {-dx, dx, -dy, dy}, q[4] = {x0 - a.x, a.right() - x0, y0 - a.y, a.bottom() - y0};
  float t0 = 0.0f, t1 = 1.0f;
  for (int k = 0; k < 4; ++k) {
    if (p[k] == 0.0f) {
      if (q[k] < 0.0f) return false;
    } else if (p[k] < 0.0f) {
      t0 = std::max(t0, q[k] / p[k]);
    } else {
      t1 = std::min(t1, q[k] / p[k]);
    }
  }
  if (t0 > t1) return false;
  const float sx = x0, sy = y0;
  x0 = sx + t0 * dx, y0 = sy + t0 * dy, x1 = sx + t1 * dx, y1 = sy + t1 * dy;
  return true;
}

// One line of text as drawn: its advance box, and the box its glyphs' ink fills.
struct Line {
  std::string text, font;
  Area ink;
  Color color;
  int box = -1;        // index of the box it was laid out in, -1 for a bare line
  size_t seq = 0;      // graphics calls made before it
  int screen = 0;      // index on the state stack of the screen that drew it
};

struct TextBox {
  Area area;
  int lines = 0;
  std::string text;
};

// Where the measuring fonts write while a scene is drawn.
struct Sheet {
  RecordingGraphics* g = nullptr;
  int screen = 0;
  int openBox = -1;
  std::vector<Line> lines;
  std::vector<TextBox> boxes;
};
inline Sheet g_sheet;

inline Area onScreen(const RecordingGraphics& g, float x, float y, float w, float h) {
  return Area{g.offsetX() + x * g.scaleX(), g.offsetY() + y * g.scaleY(), w * g.scaleX(), h * g.scaleY()};
}

// A font that lays text out exactly as the game's font does (the same layout
// code over the real glyph advances and line height) and writes down each line
// it draws into a recording graphics; anything else it draws for real.
class MeasuringFont : public Font {
 public:
  MeasuringFont(const std::string& id, const std::string& file)
      : id_(id), real_(new AngelFont(file, GLTexture::kLinear)) {
    lineHeight_ = real_->getLineHeight();
  }
  bool loadDeferred() override { return true; }
  int textWidth(const std::string& text) override { return real_->textWidth(text); }
  void drawTextToTarget(FontDrawTarget* t, int x, int y, const std::string& text, int a, int b) override {
    real_->drawTextToTarget(t, x, y, text, a, b);
  }
  void drawTextAligned(Graphics* g, const Rect5& r, const std::string& text, const Color& c, int h, int v,
                       bool wrap) override {
    Boxed boxed(g, r, text);
    Font::drawTextAligned(g, r, text, c, h, v, wrap);
  }
  void drawTextBoxed(Graphics* g, const Rect5& r, const std::string& text, const Color& c, const Color& bg, int h,
                     int v, bool wrap) override {
    Boxed boxed(g, r, text);
    Font::drawTextBoxed(g, r, text, c, bg, h, v, wrap);
  }
  void drawText(Graphics* g, int x, int y, const std::string& text, const Color& color) override {
    auto* rec = dynamic_cast<RecordingGraphics*>(g);
    if (!rec) {
      real_->drawText(g, x, y, text, color);
      return;
    }
    int top = INT_MAX, bottom = INT_MIN;
    for (unsigned char c : text) {
      const FontGlyph* glyph = real_->findGlyph(c);
      if (!glyph || glyph->width <= 0 || glyph->height <= 0) continue;
      top = std::min(top, glyph->yoffset);
      bottom = std::max(bottom, glyph->yoffset + glyph->height);
    }
    if (top > bottom) return;  // nothing but spaces
    Line line;
    line.text = text;
    line.font = id_;
    line.color = color;
    line.ink = onScreen(*rec, float(x), float(y + top), float(textWidth(text)), float(bottom - top));
    line.box = g_sheet.openBox;
    line.seq = rec->calls.size();
    line.screen = g_sheet.screen;
    if (line.box >= 0) ++g_sheet.boxes[size_t(line.box)].lines;
    g_sheet.lines.push_back(line);
  }
  void reloadPages() override { real_->reloadPages(); }
  void unloadPages() override { real_->unloadPages(); }
  Point2i caretPosition(const std::string& text, int index, const QuillonPHX2D::Vec2& origin, int u) override {
    return real_->caretPosition(text, index, origin, u);
  }

 private:
  // Opens a box on the sheet for the lines laid out in it.
  struct Boxed {
    Boxed(Graphics* g, const Rect5& r, const std::string& text) {
      auto* rec = dynamic_cast<RecordingGraphics*>(g);
      if (!rec || g_sheet.openBox >= 0) return;
      g_sheet.boxes.push_back(TextBox{onScreen(*rec, r.x, r.y, r.width, r.height), 0, text});
      g_sheet.openBox = int(g_sheet.boxes.size()) - 1;
      opened = true;
    }
    ~Boxed() {
      if (opened) g_sheet.openBox = -1;
    }
    bool opened = false;
  };

  std::string id_;
  std::unique_ptr<AngelFont> real_;
};

// A key that was drawn as it is instead of its text.
inline bool looksLikeKey(const std::string& text) {
  static const std::regex key("[A-Z][A-Z0-9]*(_[A-Z0-9]+)+");
  return std::regex_match(text, key);
}

}  // namespace layoutcheck
