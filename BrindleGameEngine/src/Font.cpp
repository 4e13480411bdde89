#include "Font.h"

#include <vector>

#include "Graphics.h"

namespace {

// Every byte 10 ends a line, so a final one leaves an empty last line.
std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines(1);
  for (char c : text) {
    if (c == '\n') lines.emplace_back();
    else lines.back() += c;
  }
  return lines;
}

std::string joinLines(const std::vector<std::string>& lines) {
  std::string out;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) out += '\n';
    out += lines[i];
  }
  return out;
}

}  // namespace

// Shared by the aligned drawing operations: wraps, places the block and calls
// drawLine(x, y, line) for every line; boxFill(x, y, blockHeight) runs once
// after the vertical placement.
template <typename BoxFill, typename DrawLine>
static void layoutBlock(Font& font, const Rect5& rect, const std::string& text, int hAlign,
                        int vAlign, bool wrap, BoxFill boxFill, DrawLine drawLine) {
  std::string wrapped = text;
  if (wrap) font.wrapText(text, wrapped, static_cast<int>(rect.width));
  const std::vector<std::string> lines = splitLines(wrapped);
  const int lineHeight = font.getLineHeight();
  const int blockHeight = static_cast<int>(lines.size()) * lineHeight;
  int x = static_cast<int>(rect.x);
  int y = static_cast<int>(rect.y);
  if (vAlign == Font::AlignMiddle) y = static_cast<int>((rect.height - blockHeight) / 2 + rect.y);
  else if (vAlign == Font::AlignBottom) y = static_cast<int>(rect.y + rect.height - blockHeight);
  boxFill(x, y, blockHeight);
  for (const std::string& line : lines) {
    const int w = font.textWidth(line);
    if (hAlign == Font::AlignRight) x = static_cast<int>(rect.x + rect.width - w);
    else if (hAlign == Font::AlignCenter) x = static_cast<int>((rect.width - w) / 2 + rect.x);
    drawLine(x, y, line);
    y += lineHeight;
  }
}

void Font::drawTextAligned(Graphics* g, const Rect5& rect, const std::string& text,
                           const Color& color, int hAlign, int vAlign, bool wrap) {
  layoutBlock(*this, rect, text, hAlign, vAlign, wrap, [](int, int, int) {},
              [&](int x, int y, const std::string& line) { drawText(g, x, y, line, color); });
}

void Font::drawTextBoxed(Graphics* g, const Rect5& rect, const std::string& text,
                         const Color& color, const Color& background, int hAlign, int vAlign,
                         bool wrap) {
  layoutBlock(
      *this, rect, text, hAlign, vAlign, wrap,
      [&](int x, int y, int blockHeight) {
        if (g && background != Color::transparentWhite)
          g->fillRect(x, y, static_cast<int>(rect.width), blockHeight, background);
      },
      [&](int x, int y, const std::string& line) { drawText(g, x, y, line, color); });
}

void Font::drawTextAlignedToTarget(FontDrawTarget* target, const Rect5& rect,
                                   const std::string& text, int passA, int passB, int hAlign,
                                   int vAlign, bool wrap) {
  layoutBlock(*this, rect, text, hAlign, vAlign, wrap, [](int, int, int) {},
              [&](int x, int y, const std::string& line) {
                drawTextToTarget(target, x, y, line, passA, passB);
              });
}

void Font::drawTextRotated(Graphics* g, const Rect5& rect, float angle, const std::string& text,
                           const Color& color, int hAlign, int vAlign, bool wrap) {
  if (!g) return;
  const float cx = rect.x + rect.width * 0.5f;
  const float cy = rect.y + rect.height * 0.5f;
  g->pushMatrix();
  g->translate(cx, cy);
  g->rotate(angle, 0.0f, 0.0f, 1.0f);
  g->translate(-rect.width / 2, -rect.height / 2);
  drawTextAligned(g, Rect5(0.0f, 0.0f, rect.width, rect.height), text, color, hAlign, vAlign,
                  wrap);
  g->translate(rect.width / 2, rect.height / 2);
  g->rotate(-angle, 0.0f, 0.0f, 1.0f);
  g->translate(-cx, -cy);
  g->popMatrix();
}

void Font::wrapText(const std::string& text, std::string& out, int width) {
  // A text of several paragraphs wraps each one on its own: a line break inside
  // a "word" would otherwise leave its end alone on a line of its own.
  if (text.find('\n') != std::string::npos) {
    std::vector<std::string> paragraphs = splitLines(text);
    for (std::string& p : paragraphs) {
      std::string wrapped;
      wrapText(p, wrapped, width);
      p = wrapped;
    }
    out = joinLines(paragraphs);
    return;
  }
  std::vector<std::string> words(1);
  for (char c : text) {
    if (c == ' ') words.emplace_back();
    else words.back() += c;
  }
  if (words.size() < 2) {
    out = text;
    return;
  }
  std::vector<std::string> lines;
  size_t next = 0;
  while (next < words.size()) {
    // Every pass places at least one word, so the loop always ends.
    std::string line;
    int placed = 0;
    while (next < words.size() && textWidth(line) <= width) {
      const size_t before = line.size();
      if (!line.empty()) line += ' ';
      line += words[next++];
      ++placed;
      if (placed >= 2 && textWidth(line) > width) {
        line.resize(before);  // the word goes back and starts the next line
        --next;
        break;
      }
    }
    lines.push_back(line);
  }
  out = joinLines(lines);
}

void Font::breakLines(const std::string& text, std::string& out, int width) {
  std::vector<std::string> lines;
  const size_t none = std::string::npos;
  size_t start = 0;
  size_t candidate = none;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == ' ' || c == '\t') {
      candidate = i;
    } else if (c == '\n') {
      lines.push_back(text.substr(start, i - start));
      start = i + 1;
    } else if (candidate != none && candidate >= 1 && start <= candidate &&
               textWidth(text.substr(start, i - start)) >= width) {
      lines.push_back(text.substr(start, candidate - start));
      start = candidate + 1;
      i = candidate;  // the loop steps on to the byte after the break
    }
  }
  lines.push_back(text.substr(start));
  out = joinLines(lines);
}

Rect5 Font::measureWrapped(const std::string& text, int width) {
  const std::string padded = text + " ";
  int lineWidth = 0;
  int breaks = 0;
  size_t pieceStart = 0;
  for (size_t space = padded.find(' '); space != std::string::npos;
       space = padded.find(' ', space + 1)) {
    const int pieceWidth = textWidth(padded.substr(pieceStart, space - pieceStart));
    if (lineWidth > 0 && lineWidth + pieceWidth > width) {
      ++breaks;
      lineWidth = pieceWidth;
    } else {
      lineWidth += pieceWidth;
    }
    pieceStart = space;
  }
  // Every break starts one more line.
  return Rect5(0.0f, 0.0f, static_cast<float>(width),
               static_cast<float>((breaks + 1) * lineHeight_));
}
