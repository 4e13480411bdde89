#include "AngelFont.h"

#include <SDL.h>
#include <SDL_image.h>
#include <tinyxml.h>

#include <cstdio>

#include "GLTexture.h"
#include "Graphics.h"
#include "ImageFile.h"
#include "ImageFilter.h"
#include "XmlAttributes.h"

namespace {

// Grey-scale pages become white glyphs with the grey level as opacity. One
// instance serves every font; filters hold no state.
IntensityAsAlphaImageFilter g_greyPageFilter;

// No glyph or line is anywhere near this many pixels; larger values would
// overflow the pen's arithmetic over a line of text.
constexpr int kLargestMetric = 4096;
// Glyph ids and kerning pairs are 16-bit character codes.
constexpr int kLargestCharacter = 0xFFFF;

int readMetric(const bge::XmlReader& xml, const TiXmlElement* e, const char* name) {
  return xml.readInt(e, name, 0, -kLargestMetric, kLargestMetric);
}

bool isGreyScale(const std::string& path) {
  // Quiet: the page's own load says what is wrong with the file.
  SDL_Surface* s = bge::loadImageSurface(path);
  if (!s) return false;
  const bool grey = s->format->BitsPerPixel == 8;
  SDL_FreeSurface(s);
  return grey;
}

}  // namespace

AngelFont::AngelFont(const std::string& fileName, int glFilter) : glFilter_(glFilter) {
  resourceName_ = fileName;
  if (isDeferredLoadingOn()) {
    defer(fileName);
    return;
  }
  loadDescription(fileName, glFilter);
}

AngelFont::~AngelFont() = default;

bool AngelFont::loadDeferred() {
  if (!deferred_) return false;
  clearDeferred();
  return loadDescription(resourceName_, glFilter_);
}

std::string AngelFont::folderOf(const std::string& fileName) {
  const size_t slash = fileName.rfind('/');
  if (slash == std::string::npos) return std::string();
  return fileName.substr(0, slash) + "/";
}

bool AngelFont::loadDescription(const std::string& fileName, int glFilter) {
  pages_.clear();
  glyphs_.clear();
  lineHeight_ = 0;
  glFilter_ = glFilter;
  resourceName_ = fileName;

  const bge::XmlReader xml(fileName);
  TiXmlDocument doc;
  if (!xml.load(doc)) return false;
  const TiXmlElement* root = xml.root(doc, "font");
  if (!root) return false;

  if (const TiXmlElement* common = root->FirstChildElement("common"))
    lineHeight_ = readMetric(xml, common, "lineHeight");

  const std::string folder = folderOf(fileName);
  if (const TiXmlElement* pages = root->FirstChildElement("pages")) {
    for (const TiXmlElement* p = pages->FirstChildElement("page"); p;
         p = p->NextSiblingElement("page")) {
      const std::string path = folder + xml.readString(p, "file", "");
      ImageFilter* filter = isGreyScale(path) ? &g_greyPageFilter : nullptr;
      pages_.push_back(std::make_unique<GLTexture>(path, filter, GLTexture::KeepImage, glFilter));
    }
  }

  if (const TiXmlElement* chars = root->FirstChildElement("chars")) {
    for (const TiXmlElement* c = chars->FirstChildElement("char"); c;
         c = c->NextSiblingElement("char")) {
      const int id = xml.requireInt(c, "id", -1, 0, kLargestCharacter);
      if (id < 0) continue;
      FontGlyph g;
      g.id = id;
      g.x = readMetric(xml, c, "x");
      g.y = readMetric(xml, c, "y");
      g.width = readMetric(xml, c, "width");
      g.height = readMetric(xml, c, "height");
      g.xoffset = readMetric(xml, c, "xoffset");
      g.yoffset = readMetric(xml, c, "yoffset");
      g.xadvance = readMetric(xml, c, "xadvance");
      g.page = xml.readInt(c, "page", 0);
      glyphs_[static_cast<uint16_t>(id)] = g;
    }
  }

  if (const TiXmlElement* kernings = root->FirstChildElement("kernings")) {
    for (const TiXmlElement* k = kernings->FirstChildElement("kerning"); k;
         k = k->NextSiblingElement("kerning")) {
      const int first = xml.requireInt(k, "first", -1, 0, kLargestCharacter);
      const int second = xml.requireInt(k, "second", -1, 0, kLargestCharacter);
      if (first < 0 || second < 0) continue;
      // A pair for a character the font does not have must not invent a glyph.
      auto it = glyphs_.find(static_cast<uint16_t>(first));
      if (it == glyphs_.end()) continue;
      it->second.kerning[static_cast<uint16_t>(second)] =
          static_cast<int16_t>(readMetric(xml, k, "amount"));
    }
  }
  return true;
}

const FontGlyph* AngelFont::findGlyph(unsigned char c) const {
  auto it = glyphs_.find(c);
  return it == glyphs_.end() ? nullptr : &it->second;
}

Texture* AngelFont::getPage(int index) const {
  if (index < 0 || index >= static_cast<int>(pages_.size())) return nullptr;
  return pages_[index].get();
}

Texture* AngelFont::pageOf(const FontGlyph& glyph) const { return getPage(glyph.page); }

template <typename Visit>
void AngelFont::walk(const std::string& text, Visit visit) const {
  int x = 0;
  int lineY = 0;
  const FontGlyph* previous = nullptr;
  for (char ch : text) {
    const unsigned char c = static_cast<unsigned char>(ch);
    if (c == 13) {
      previous = nullptr;
    } else if (c == 10) {
      previous = nullptr;
      lineY += lineHeight_;
      x = 0;
    } else if (const FontGlyph* g = findGlyph(c)) {
      if (previous) x += previous->kerningFor(c);
      visit(*g, x, lineY);
      x += g->xadvance - g->xoffset;
      previous = g;
    } else {
      previous = nullptr;
    }
  }
}

int AngelFont::textWidth(const std::string& text) {
  // One running sum over every line: line breaks only end kerning pairs.
  int width = 0;
  const FontGlyph* previous = nullptr;
  for (char ch : text) {
    const unsigned char c = static_cast<unsigned char>(ch);
    const FontGlyph* g = (c == 10 || c == 13) ? nullptr : findGlyph(c);
    if (!g) {
      previous = nullptr;
      continue;
    }
    if (previous) width += previous->kerningFor(c);
    width += g->xadvance - g->xoffset;
    previous = g;
  }
  return width;
}

void AngelFont::drawText(Graphics* g, int x, int y, const std::string& text, const Color& color) {
  if (!g) return;
  g->enableBlending(true);
  walk(text, [&](const FontGlyph& glyph, int penX, int lineY) {
    Texture* page = pageOf(glyph);
    if (!page) return;
    const SourceRect region(static_cast<float>(glyph.x), static_cast<float>(glyph.y),
                            static_cast<float>(glyph.x + glyph.width),
                            static_cast<float>(glyph.y + glyph.height));
    g->drawImage(x + penX, y + lineY + glyph.yoffset, page, region, color);
  });
}

void AngelFont::drawTextToTarget(FontDrawTarget* target, int x, int y, const std::string& text,
                                 int /*unusedA*/, int /*unusedB*/) {
  if (!target) return;
  walk(text, [&](const FontGlyph& glyph, int penX, int lineY) {
    Texture* page = pageOf(glyph);
    if (!page) return;
    const SourceRect region(static_cast<float>(glyph.x), static_cast<float>(glyph.y),
                            static_cast<float>(glyph.x + glyph.width),
                            static_cast<float>(glyph.y + glyph.height));
    target->drawGlyph(x + penX, y + lineY + glyph.yoffset, page->getImage(), region);
  });
}

void AngelFont::reloadPages() {
  for (const auto& page : pages_) page->reload();
}

void AngelFont::unloadPages() {
  for (const auto& page : pages_) page->unload();
}

Point2i AngelFont::caretPosition(const std::string& text, int index,
                                 const QuillonPHX2D::Vec2& origin, int /*unused*/) {
  int x = 0;
  int lineY = 0;
  const FontGlyph* previous = nullptr;
  for (int i = 0; i < static_cast<int>(text.size()); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == '#') continue;  // markup byte: takes no room and keeps the kerning pair
    if (c == 13) {
      previous = nullptr;
    } else if (c == 10) {
      previous = nullptr;
      lineY += lineHeight_;
      x = 0;
    } else if (const FontGlyph* g = findGlyph(c)) {
      if (previous) x += previous->kerningFor(c);
      if (i == index)
        return Point2i(static_cast<int>(x + origin.x + g->xoffset),
                       static_cast<int>(lineY + origin.y));
      x += g->xadvance - g->xoffset;
      previous = g;
    } else {
      previous = nullptr;
    }
  }
  return Point2i(0, 0);
}
