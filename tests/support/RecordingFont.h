#pragma once
// A Font that draws nothing and remembers every line of text it was asked to
// draw, where, and in which colour, so what a screen writes can be read back.
// Every glyph is 8 pixels wide and a line 16 high.
#include <string>
#include <vector>

#include "Font.h"

struct TextCall {
  int x = 0, y = 0;
  std::string text;
  Color color;
};

class RecordingFont : public Font {
 public:
  RecordingFont() { lineHeight_ = 16; }

  std::vector<TextCall> calls;

  // The first call that wrote exactly this text, or null.
  const TextCall* find(const std::string& text) const {
    for (const TextCall& c : calls)
      if (c.text == text) return &c;
    return nullptr;
  }
  // Whether some line contains the text.
  bool wrote(const std::string& part) const {
    for (const TextCall& c : calls)
      if (c.text.find(part) != std::string::npos) return true;
    return false;
  }

  bool loadDeferred() override { return true; }
  int textWidth(const std::string& text) override { return 8 * static_cast<int>(text.size()); }
  void drawTextToTarget(FontDrawTarget*, int, int, const std::string&, int, int) override {}
  void drawText(Graphics*, int x, int y, const std::string& text, const Color& color) override {
    calls.push_back(TextCall{x, y, text, color});
  }
  void reloadPages() override {}
  void unloadPages() override {}
  Point2i caretPosition(const std::string&, int, const QuillonPHX2D::Vec2&, int) override { return Point2i(); }
};
