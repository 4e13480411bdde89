#include <SDL.h>
#include <SDL_image.h>
#include <tinyxml.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>

#include <gtest/gtest.h>

namespace {

struct PageSize {
  int w = 0;
  int h = 0;
};

bool isPowerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }

int intAttribute(const TiXmlElement* e, const char* name) {
  int value = -1;
  EXPECT_EQ(e->QueryIntAttribute(name, &value), TIXML_SUCCESS)
      << "<" << e->Value() << "> without " << name;
  return value;
}

}  // namespace

// The committed fonts parse, reference pages that exist, keep every glyph inside
// its page, cover printable ASCII and Latin-1 and kern only glyphs they have.
TEST(FontContent, BakedFontsAreCompleteAndConsistent) {
  const std::string folder = std::string(STARMOOR_SOURCE_DIR) + "/content/fonts/";
  for (const int size : {16, 20, 24, 46}) {
    SCOPED_TRACE(size);
    const std::string path = folder + "NotoSans" + std::to_string(size) + ".fnt";
    TiXmlDocument doc(path.c_str());
    ASSERT_TRUE(doc.LoadFile()) << path;
    const TiXmlElement* font = doc.RootElement();
    ASSERT_NE(font, nullptr);
    EXPECT_STREQ(font->Value(), "font");
    const TiXmlElement* common = font->FirstChildElement("common");
    ASSERT_NE(common, nullptr);
    const int lineHeight = intAttribute(common, "lineHeight");
    EXPECT_GE(lineHeight, size);

    std::map<int, PageSize> pages;
    const TiXmlElement* pageList = font->FirstChildElement("pages");
    ASSERT_NE(pageList, nullptr);
    for (const TiXmlElement* p = pageList->FirstChildElement("page"); p;
         p = p->NextSiblingElement("page")) {
      const char* file = p->Attribute("file");
      ASSERT_NE(file, nullptr);
      SDL_Surface* image = IMG_Load((folder + file).c_str());
      ASSERT_NE(image, nullptr) << file << ": " << IMG_GetError();
      EXPECT_TRUE(isPowerOfTwo(image->w) && isPowerOfTwo(image->h)) << file;
      EXPECT_LE(image->w, 1024);
      EXPECT_EQ(image->format->BytesPerPixel, 4) << "white glyphs need their alpha";
      pages[intAttribute(p, "id")] = PageSize{image->w, image->h};
      SDL_FreeSurface(image);
    }
    ASSERT_FALSE(pages.empty());

    std::set<int> ids;
    const TiXmlElement* chars = font->FirstChildElement("chars");
    ASSERT_NE(chars, nullptr);
    for (const TiXmlElement* c = chars->FirstChildElement("char"); c;
         c = c->NextSiblingElement("char")) {
      const int id = intAttribute(c, "id");
      EXPECT_TRUE(ids.insert(id).second) << "glyph " << id << " twice";
      const int page = intAttribute(c, "page");
      ASSERT_EQ(pages.count(page), 1u) << "glyph " << id;
      const int x = intAttribute(c, "x"), y = intAttribute(c, "y");
      const int w = intAttribute(c, "width"), h = intAttribute(c, "height");
      EXPECT_TRUE(x >= 0 && y >= 0 && x + w <= pages[page].w && y + h <= pages[page].h)
          << "glyph " << id;
      EXPECT_GE(intAttribute(c, "xadvance"), 0);
      EXPECT_LE(intAttribute(c, "yoffset") + h, lineHeight) << "glyph " << id;
    }
    for (int code = 32; code < 256; ++code) {
      if (code >= 127 && code < 160) continue;
      EXPECT_EQ(ids.count(code), 1u) << "no glyph " << code;
    }

    std::set<std::pair<int, int>> pairs;
    const TiXmlElement* kernings = font->FirstChildElement("kernings");
    ASSERT_NE(kernings, nullptr);
    for (const TiXmlElement* k = kernings->FirstChildElement("kerning"); k;
         k = k->NextSiblingElement("kerning")) {
      const int first = intAttribute(k, "first"), second = intAttribute(k, "second");
      EXPECT_TRUE(ids.count(first) && ids.count(second)) << first << "," << second;
      EXPECT_NE(intAttribute(k, "amount"), 0);
      pairs.insert({first, second});
    }
    // "AV" is the classic pair every text face tightens.
    EXPECT_EQ(pairs.count({'A', 'V'}), 1u);
  }
}
