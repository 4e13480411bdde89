#pragma once
#include <string>

#include "Color.h"
#include "DeferableResource.h"
#include "PhysicsMath.h"
#include "Point2i.h"
#include "Rect5.h"
#include "ReferenceCountable.h"
#include "SourceRect.h"

class Graphics;
class Image;

// Something other than the screen that glyphs can be drawn into.
class FontDrawTarget {
 public:
  virtual ~FontDrawTarget() = default;
  virtual void drawGlyph(int x, int y, Image* page, const SourceRect& source) = 0;
};

// A bitmap font. Text is bytes: each byte one character, 10 starts a new line,
// 13 is ignored, characters without a glyph are skipped. The layout operations
// (alignment, wrapping, rotation) are written here on the primitive ones.
class Font : public ReferenceCountable, public DeferableResource {
 public:
  enum HAlign { AlignLeft = 0, AlignRight = 1, AlignCenter = 2 };
  enum VAlign { AlignTop = 0, AlignMiddle = 2, AlignBottom = 4 };

  Font() = default;
  ~Font() override = default;

  // Sum of the advances of every line (not the widest line).
  virtual int textWidth(const std::string& text) = 0;
  virtual void drawTextAlignedToTarget(FontDrawTarget* target, const Rect5& rect,
                                       const std::string& text, int passA, int passB, int hAlign,
                                       int vAlign, bool wrap);
  virtual void drawTextToTarget(FontDrawTarget* target, int x, int y, const std::string& text,
                                int unusedA, int unusedB) = 0;
  // As drawTextAligned over a background fill; transparent white fills nothing.
  virtual void drawTextBoxed(Graphics* g, const Rect5& rect, const std::string& text,
                             const Color& color, const Color& background, int hAlign, int vAlign,
                             bool wrap);
  virtual void drawTextAligned(Graphics* g, const Rect5& rect, const std::string& text,
                               const Color& color, int hAlign, int vAlign, bool wrap);
  virtual void drawText(Graphics* g, int x, int y, const std::string& text, const Color& color) = 0;
  // The aligned block turned by angle degrees about the rectangle's centre.
  virtual void drawTextRotated(Graphics* g, const Rect5& rect, float angle,
                               const std::string& text, const Color& color, int hAlign, int vAlign,
                               bool wrap);
  virtual void reloadPages() = 0;
  virtual void unloadPages() = 0;
  // Word wrap at spaces; a word wider than the width stays alone on its line.
  virtual void wrapText(const std::string& text, std::string& out, int width);
  // Breaks at spaces and tabs once a line reaches the width; keeps byte-10 breaks.
  virtual void breakLines(const std::string& text, std::string& out, int width);
  // (0, 0, width, height of the wrapped lines).
  virtual Rect5 measureWrapped(const std::string& text, int width);
  // Where the glyph at index sits ("#" takes no room); (0, 0) when index names no glyph.
  virtual Point2i caretPosition(const std::string& text, int index,
                                const QuillonPHX2D::Vec2& origin, int unused) = 0;

  int getLineHeight() const { return lineHeight_; }

 protected:
  int lineHeight_ = 0;
};
