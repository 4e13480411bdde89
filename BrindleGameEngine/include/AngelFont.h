#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Font.h"

class Texture;

struct FontGlyph {
  int32_t id = -1;  // -1: never described
  int32_t x = 0;
  int32_t y = 0;
  int32_t width = 0;
  int32_t height = 0;
  int32_t xoffset = 0;
  int32_t yoffset = 0;
  int32_t page = 0;
  int32_t xadvance = 0;
  std::map<uint16_t, int16_t> kerning;  // following character -> amount

  int kerningFor(uint16_t next) const {
    auto it = kerning.find(next);
    return it == kerning.end() ? 0 : it->second;
  }
};

// A font read from an XML description (font/common/pages/chars/kernings) with
// its page images as textures.
class AngelFont : public Font {
 public:
  AngelFont(const std::string& fileName, int glFilter);
  ~AngelFont() override;  // where Texture is complete

  bool loadDeferred() override;
  // Reads the description and its pages; false (and an empty font) when the
  // document cannot be read.
  bool loadDescription(const std::string& fileName, int glFilter);

  int textWidth(const std::string& text) override;
  void drawTextToTarget(FontDrawTarget* target, int x, int y, const std::string& text, int unusedA,
                        int unusedB) override;
  void drawText(Graphics* g, int x, int y, const std::string& text, const Color& color) override;
  void reloadPages() override;
  void unloadPages() override;
  Point2i caretPosition(const std::string& text, int index, const QuillonPHX2D::Vec2& origin,
                        int unused) override;

  // The glyph of a character code, or null.
  const FontGlyph* findGlyph(unsigned char c) const;
  int getPageCount() const { return static_cast<int>(pages_.size()); }
  Texture* getPage(int index) const;
  int getGLFilter() const { return glFilter_; }

  // The folder part of a font path, with its "/" ("" when there is none).
  static std::string folderOf(const std::string& fileName);

 private:
  // Calls visit(glyph, penX, lineY) for every glyph the walk reaches.
  template <typename Visit>
  void walk(const std::string& text, Visit visit) const;
  // The glyph's page texture, or null when its page index is out of range.
  Texture* pageOf(const FontGlyph& glyph) const;

  std::map<uint16_t, FontGlyph> glyphs_;
  // Declared after the glyphs: the pages go first.
  std::vector<std::unique_ptr<Texture>> pages_;
  int glFilter_;
};
