#include <GL/glew.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <vector>

#include "AngelFont.h"
#include "GLTexture.h"
#include "MediaTestSupport.h"
#include "RecordingGraphics.h"
#include "ResourceManager.h"
#include "SDLSurfaceImage.h"

namespace {

using media::near;

// A small font: advances (xadvance - xoffset) A 8, V 8, space 4, a 6, b 6, c 6,
// # 5, e-acute 6, W 20; Z sits on a page that does not exist.
const char* kTinyFont = R"(<?xml version="1.0"?>
<font>
  <info face="Tiny" size="10"/>
  <common lineHeight="20" base="16" scaleW="64" scaleH="64" pages="1"/>
  <pages><page id="0" file="tiny_0.png"/></pages>
  <chars count="10">
    <char id="65" x="0" y="0" width="8" height="10" xoffset="1" yoffset="2" xadvance="9" page="0"/>
    <char id="86" x="8" y="0" width="8" height="10" xoffset="0" yoffset="2" xadvance="8" page="0"/>
    <char id="32" x="0" y="0" width="0" height="0" xoffset="0" yoffset="0" xadvance="4" page="0"/>
    <char id="97" x="16" y="0" width="6" height="8" xoffset="0" yoffset="4" xadvance="6" page="0"/>
    <char id="98" x="22" y="0" width="6" height="8" xoffset="1" yoffset="4" xadvance="7" page="0"/>
    <char id="99" x="28" y="0" width="6" height="8" xoffset="0" yoffset="4" xadvance="6" page="0"/>
    <char id="35" x="34" y="0" width="5" height="8" xoffset="0" yoffset="4" xadvance="5" page="0"/>
    <char id="233" x="40" y="0" width="6" height="8" xoffset="0" yoffset="4" xadvance="6" page="0"/>
    <char id="87" x="0" y="20" width="20" height="10" xoffset="0" yoffset="2" xadvance="20" page="0"/>
    <char id="90" x="0" y="40" width="10" height="10" xoffset="0" yoffset="2" xadvance="10" page="3"/>
  </chars>
  <kernings count="3">
    <kerning first="65" second="86" amount="-2"/>
    <kerning first="97" second="98" amount="-1"/>
    <kerning first="200" second="65" amount="3"/>
  </kernings>
</font>
)";

class FontTest : public media::GLSuite {
 protected:
  void SetUp() override {
    media::GLSuite::SetUp();
    media::writeSolid(dirs.root() + "/tiny_0.png", 64, 64, Color::white);
    std::ofstream(dirs.root() + "/tiny.fnt") << kTinyFont;
    font = new AngelFont(dirs.root() + "/tiny.fnt", GLTexture::kNearest);
  }
  void TearDown() override { delete font; }

  AngelFont* font = nullptr;
  RecordingGraphics rec;
  const Rect5 box{100.0f, 100.0f, 200.0f, 100.0f};
};

TEST_F(FontTest, MeasuresAdvancesWithKerningAcrossLines) {
  ASSERT_EQ(font->getLineHeight(), 20);
  EXPECT_EQ(font->textWidth("AV"), 8 + 8 - 2);
  EXPECT_EQ(font->textWidth("A\nV"), 16);  // lines add up; the break ends the kerning pair
  EXPECT_EQ(font->textWidth("A\rV"), 16);
  EXPECT_EQ(font->textWidth("AxV"), 16);   // no glyph: skipped, and the pair is broken
  EXPECT_EQ(font->textWidth("\xE9"), 6);   // bytes above 127 are characters too
  EXPECT_EQ(font->textWidth(""), 0);
  // A kerning pair for a character the font lacks invents no glyph.
  EXPECT_EQ(font->findGlyph(200), nullptr);
  EXPECT_EQ(font->findGlyph('A')->kerningFor('V'), -2);
}

TEST_F(FontTest, DrawsEachGlyphFromItsPageRegion) {
  font->drawText(&rec, 10, 20, "AV\nb\xE9", Color::cyan);
  ASSERT_EQ(rec.calls.front().op, "enableBlending");
  const auto images = rec.callsOf("drawImage");
  ASSERT_EQ(images.size(), 4u);
  EXPECT_EQ(images[0].x, 10);  // the left edge sits at the pen; xoffset only shortens the advance
  EXPECT_EQ(images[0].y, 22);
  EXPECT_EQ(images[0].w, 8);
  EXPECT_EQ(images[0].h, 10);
  EXPECT_EQ(images[0].source.left, 0);
  EXPECT_EQ(images[0].source.right, 8);
  EXPECT_EQ(images[1].x, 16);  // 8 advance - 2 kerning
  EXPECT_EQ(images[2].x, 10);
  EXPECT_EQ(images[2].y, 20 + 20 + 4);
  EXPECT_EQ(images[2].source.left, 22);
  EXPECT_EQ(images[3].x, 16);
  EXPECT_EQ(images[3].source.left, 40);
  EXPECT_EQ(images[3].color, Color::cyan);
  EXPECT_EQ(images[0].texture, font->getPage(0));

  rec.calls.clear();
  font->drawText(&rec, 0, 0, "ZA", Color::white);  // Z's page is out of range
  const auto drawn = rec.callsOf("drawImage");
  ASSERT_EQ(drawn.size(), 1u);
  EXPECT_EQ(drawn[0].x, 10);
}

TEST_F(FontTest, CaretSkipsMarkupAndAnswersZeroOffGlyphs) {
  const QuillonPHX2D::Vec2 origin(100.0f, 50.0f);
  // a advances 6, kerning a->b -1, b's xoffset 1; the # takes no room.
  EXPECT_EQ(font->caretPosition("a#bc", 2, origin, 0), Point2i(106, 50));
  EXPECT_EQ(font->caretPosition("a#bc", 1, origin, 0), Point2i(0, 0));
  EXPECT_EQ(font->caretPosition("a#bc", 9, origin, 0), Point2i(0, 0));
  EXPECT_EQ(font->caretPosition("a\nc", 2, origin, 0), Point2i(100, 70));
  EXPECT_EQ(font->caretPosition("a\nc", 1, origin, 0), Point2i(0, 0));
}

TEST_F(FontTest, AlignsEveryLineOfABlockByItsOwnWidth) {
  font->drawTextAligned(&rec, box, "AV\nab", Color::white, Font::AlignRight, Font::AlignBottom,
                        false);
  auto images = rec.callsOf("drawImage");
  ASSERT_EQ(images.size(), 4u);
  EXPECT_EQ(images[0].x, 300 - 14);
  EXPECT_EQ(images[0].y, 160 + 2);  // block of 40 at the bottom of 100..200
  EXPECT_EQ(images[2].x, 300 - 11);
  EXPECT_EQ(images[2].y, 180 + 4);

  rec.calls.clear();
  font->drawTextAligned(&rec, box, "AV\nab", Color::white, Font::AlignCenter, Font::AlignMiddle,
                        false);
  images = rec.callsOf("drawImage");
  EXPECT_EQ(images[0].x, 193);  // (200 - 14) / 2 + 100
  EXPECT_EQ(images[0].y, 130 + 2);
  EXPECT_EQ(images[2].x, 194);  // int((200 - 11) / 2 + 100)

  rec.calls.clear();
  font->drawTextAligned(&rec, box, "a\nb\nc", Color::white, Font::AlignLeft, Font::AlignBottom,
                        false);
  EXPECT_EQ(rec.callsOf("drawImage").at(0).y, 140 + 4);
  rec.calls.clear();
  font->drawTextAligned(&rec, box, "a\nb\nc\n", Color::white, Font::AlignLeft, Font::AlignBottom,
                        false);
  EXPECT_EQ(rec.callsOf("drawImage").at(0).y, 120 + 4);  // the final break is an empty line
}

TEST_F(FontTest, BoxedTextFillsBehindTheBlockUnlessTransparentWhite) {
  font->drawTextBoxed(&rec, box, "ab", Color::white, Color::transparentWhite, Font::AlignLeft,
                      Font::AlignMiddle, false);
  EXPECT_TRUE(rec.callsOf("fillRect").empty());
  EXPECT_EQ(rec.callsOf("drawImage").size(), 2u);

  rec.calls.clear();
  font->drawTextBoxed(&rec, box, "ab\nc", Color::white, Color(0, 0, 0, 128), Font::AlignRight,
                      Font::AlignMiddle, false);
  const auto fills = rec.callsOf("fillRect");
  ASSERT_EQ(fills.size(), 1u);
  EXPECT_EQ(fills[0].x, 100);
  EXPECT_EQ(fills[0].y, 130);
  EXPECT_EQ(fills[0].w, 200);
  EXPECT_EQ(fills[0].h, 40);
  EXPECT_EQ(rec.calls.front().op, "fillRect");  // behind the glyphs
}

TEST_F(FontTest, WrapGivesBackTheWordThatOverflows) {
  std::string out;
  font->wrapText("WWWWW", out, 10);
  EXPECT_EQ(out, "WWWWW");
  font->wrapText("ab ab ab", out, 30);  // "ab ab" is 26 wide, a third word makes 41
  EXPECT_EQ(out, "ab ab\nab");
  font->wrapText("WW WW WW", out, 1);   // every word too wide: one per line, and it ends
  EXPECT_EQ(out, "WW\nWW\nWW");
  font->wrapText("ab c", out, 5);
  EXPECT_EQ(out, "ab\nc");

  font->drawTextAligned(&rec, Rect5(0.0f, 0.0f, 30.0f, 100.0f), "ab ab ab", Color::white,
                        Font::AlignLeft, Font::AlignTop, true);
  const auto images = rec.callsOf("drawImage");
  ASSERT_EQ(images.size(), 7u);    // the space is a glyph too, of no size
  EXPECT_EQ(images[5].y, 20 + 4);  // the third word starts the second line
  EXPECT_EQ(images[5].x, 0);
}

TEST_F(FontTest, BreakLinesOnlyAtSpacesAndTabs) {
  std::string out;
  font->breakLines("WWWWWWWW", out, 10);
  EXPECT_EQ(out, "WWWWWWWW");
  font->breakLines("ab ab ab", out, 12);
  EXPECT_EQ(out, "ab\nab\nab");
  font->breakLines("ab\tab", out, 12);
  EXPECT_EQ(out, "ab\nab");
  font->breakLines("ab\nc", out, 100);
  EXPECT_EQ(out, "ab\nc");
  font->breakLines("WWWW WW", out, 30);  // the long word runs on to the next space
  EXPECT_EQ(out, "WWWW\nWW");
}

TEST_F(FontTest, MeasureWrappedCountsTheWrappedLines) {
  Rect5 r = font->measureWrapped("ab ab ab", 30);
  EXPECT_EQ(r.width, 30);
  EXPECT_EQ(r.height, 40);
  EXPECT_EQ(font->measureWrapped("ab", 30).height, 20);
  EXPECT_EQ(font->measureWrapped("WWWW", 5).height, 20);  // one piece, however wide
}

TEST_F(FontTest, RotatedTextDrawsInsideTheTurnedRectangle) {
  font->drawTextRotated(&rec, box, 30.0f, "a", Color::white, Font::AlignLeft, Font::AlignTop,
                        false);
  ASSERT_GE(rec.calls.size(), 5u);
  EXPECT_EQ(rec.calls.front().op, "pushMatrix");
  EXPECT_EQ(rec.calls.back().op, "popMatrix");
  const auto rotations = rec.callsOf("rotate");
  ASSERT_EQ(rotations.size(), 2u);
  EXPECT_EQ(rotations[0].extra, 30.0f);
  EXPECT_EQ(rotations[1].extra, -30.0f);
  const auto image = rec.callsOf("drawImage").at(0);
  EXPECT_EQ(image.x, 0);  // in the rectangle's own frame
  EXPECT_EQ(image.y, 4);
  EXPECT_EQ(rec.callsOf("translate").at(0).x, 200);
  EXPECT_EQ(rec.callsOf("translate").at(1).x, -100);
}

TEST_F(FontTest, UnreadableDescriptionLeavesAnEmptyFont) {
  AngelFont missing(dirs.root() + "/none.fnt", GLTexture::kLinear);
  EXPECT_EQ(missing.getLineHeight(), 0);
  EXPECT_EQ(missing.textWidth("AV"), 0);
  EXPECT_EQ(missing.getPageCount(), 0);
  missing.drawText(&rec, 0, 0, "AV", Color::white);
  EXPECT_TRUE(rec.callsOf("drawImage").empty());
  std::ofstream(dirs.root() + "/broken.fnt") << "<font><common lineHeight=";
  EXPECT_FALSE(missing.loadDescription(dirs.root() + "/broken.fnt", GLTexture::kLinear));
}

TEST_F(FontTest, PagePathsFollowTheFontFolder) {
  EXPECT_EQ(AngelFont::folderOf("content/fonts/a.fnt"), "content/fonts/");
  EXPECT_EQ(AngelFont::folderOf("a.fnt"), "");
  char old[4096];
  ASSERT_NE(getcwd(old, sizeof old), nullptr);
  ASSERT_EQ(chdir(dirs.root().c_str()), 0);
  testing::internal::CaptureStdout();
  AngelFont local("tiny.fnt", GLTexture::kLinear);
  const std::string out = testing::internal::GetCapturedStdout();
  ASSERT_EQ(chdir(old), 0);
  EXPECT_EQ(out.find("ERROR"), std::string::npos) << out;
  ASSERT_EQ(local.getPageCount(), 1);
  EXPECT_TRUE(local.getPage(0)->isLoaded());
  EXPECT_EQ(local.getPage(0)->getResourceName(), "tiny_0.png");
}

TEST_F(FontTest, PagesUnloadAndReloadAndGreyPagesBecomeAlpha) {
  auto* page = static_cast<GLTexture*>(font->getPage(0));
  font->unloadPages();
  EXPECT_EQ(page->getGLName(), 0u);
  font->reloadPages();
  EXPECT_NE(page->getGLName(), 0u);
  EXPECT_EQ(page->getImage()->getPixel(1, 1), Color::white);  // RGBA pages stay as they are

  // An 8-bit page: grey 120 becomes white at opacity 119.
  SDL_Surface* grey = SDL_CreateRGBSurfaceWithFormat(0, 8, 8, 8, SDL_PIXELFORMAT_INDEX8);
  SDL_Color greys[256];
  for (int i = 0; i < 256; ++i) greys[i] = SDL_Color{Uint8(i), Uint8(i), Uint8(i), 255};
  SDL_SetPaletteColors(grey->format->palette, greys, 0, 256);
  SDL_FillRect(grey, nullptr, 120);
  ASSERT_EQ(IMG_SavePNG(grey, (dirs.root() + "/grey_0.png").c_str()), 0);
  SDL_FreeSurface(grey);
  std::string desc = kTinyFont;
  desc.replace(desc.find("tiny_0.png"), 10, "grey_0.png");
  std::ofstream(dirs.root() + "/grey.fnt") << desc;
  AngelFont greyFont(dirs.root() + "/grey.fnt", GLTexture::kLinear);
  ASSERT_EQ(greyFont.getPageCount(), 1);
  EXPECT_EQ(greyFont.getPage(0)->getImage()->getPixel(3, 3), Color(255, 255, 255, 119));
}

TEST_F(FontTest, CatalogueCarriesTexturesAndFontsIntoANewContext) {
  ResourceManager rm;
  ASSERT_TRUE(rm.registerFont("FONT_TINY", font));
  font = nullptr;  // the catalogue owns it now
  Texture* red = rm.createTexture(media::writeSolid(dirs.root() + "/red.png", 8, 8,
                                                    Color(255, 0, 0, 255)));
  ASSERT_TRUE(rm.registerTexture("red.png", red));

  // What the application does around a window re-creation.
  rm.unloadAll(ResourceManager::TexturesAndFonts);
  EXPECT_EQ(static_cast<GLTexture*>(red)->getGLName(), 0u);
  SDL_GLContext original = SDL_GL_GetCurrentContext();
  SDL_GLContext fresh = SDL_GL_CreateContext(context().window());
  ASSERT_NE(fresh, nullptr) << SDL_GetError();
  SDL_GL_MakeCurrent(context().window(), fresh);
  graphics.setup2D(media::kWindowW, media::kWindowH, 1000);
  rm.reloadAll(ResourceManager::TexturesAndFonts);
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  graphics.drawImage(0, 0, rm.findTexture("red.png"), Color::white);
  rm.findFont("FONT_TINY")->drawText(&graphics, 20, 0, "W", Color::white);
  const Color texel = media::readPixel(4, 4);
  const Color glyph = media::readPixel(25, 5);
  rm.releaseAll();  // while the context that holds the uploads is current
  SDL_GL_DeleteContext(fresh);
  SDL_GL_MakeCurrent(context().window(), original);
  EXPECT_TRUE(near(texel, Color(255, 0, 0, 255)));
  EXPECT_TRUE(near(glyph, Color::white));
}

TEST_F(FontTest, BakedGameFontsLoadMeasureAndDraw) {
  const std::string folder = std::string(STARMOOR_SOURCE_DIR) + "/content/fonts/";
  std::ifstream probe(folder + "NotoSans16.fnt");
  if (!probe) GTEST_SKIP() << "game fonts not baked yet";
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  int y = 10;
  for (const char* name : {"NotoSans16.fnt", "NotoSans20.fnt", "NotoSans24.fnt", "NotoSans46.fnt"}) {
    AngelFont f(folder + name, GLTexture::kLinear);
    ASSERT_GT(f.getLineHeight(), 0) << name;
    EXPECT_GT(f.textWidth("Starmoor"), f.textWidth("Star")) << name;
    EXPECT_NE(f.findGlyph(0xE9), nullptr) << name;  // Latin-1 is baked in
    f.drawText(&graphics, 10, y, "HHHH", Color::white);
    int lit = 0;
    for (int py = y; py < y + f.getLineHeight(); ++py)
      for (int px = 10; px < 10 + f.textWidth("HHHH"); ++px)
        lit += media::readPixel(px, py).r > 128 ? 1 : 0;
    EXPECT_GT(lit, 10) << name;
    y += f.getLineHeight() + 4;
  }
}

}  // namespace
