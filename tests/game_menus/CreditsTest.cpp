// The swarming credits: glyph particles, their colours and their settling,
// and the credits screen's cycle and exits.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "Font.h"
#include "MenuApp.h"
#include "Menus/CreditsScreen.h"
#include "Menus/SwarmText.h"
#include "ResourceManager.h"

using menutest::app;

namespace {

Font* creditsFont() { return app().globalResourceManager()->findFont("FONT_NOTOSANS20"); }

SwarmText::Settings settingsFor(const char* text) {
  SwarmText::Settings s;
  s.text = text;
  s.font = creditsFont();
  s.x = 400;
  s.y = 320;
  s.width = 1366;
  s.height = 768;
  s.firstColor = Color(0, 255, 255, 255);
  s.secondColor = Color(255, 170, 0, 255);
  return s;
}

TEST(SwarmText, HashesSwitchColourAndMakeNoGlyph) {
  ASSERT_NE(creditsFont(), nullptr);
  SwarmText text(settingsFor("#AB#C \n"));
  EXPECT_FALSE(text.isVisible());
  text.build();
  ASSERT_EQ(text.particles().size(), 3u);
  EXPECT_EQ(text.particles()[0].color, Color(255, 170, 0, 255));
  EXPECT_EQ(text.particles()[1].color, Color(255, 170, 0, 255));
  EXPECT_EQ(text.particles()[2].color, Color(0, 255, 255, 255));
  // Laid out left to right on one line centred on the column.
  EXPECT_LT(text.particles()[0].targetX, text.particles()[1].targetX);
  EXPECT_LT(text.particles()[0].targetX, 400.0f);
  EXPECT_GT(text.particles()[2].targetX, 400.0f);
}

TEST(SwarmText, GlyphsSettleOnTheirPlacesAndScatterAway) {
  std::srand(11);
  static const char kCaption[] = "Programming#\nThe Starmoor team\nBuilt with SDL2#";
  SwarmText text(settingsFor(kCaption));
  text.build();
  ASSERT_GT(text.particles().size(), 20u);
  // A frame that took no time moves nothing and makes no NaN.
  const float x0 = text.particles()[0].x;
  text.update(0, nullptr);
  EXPECT_EQ(text.particles()[0].x, x0);

  int frames = 0;
  while (!text.isSettled() && frames < 6000) {
    text.update(16, nullptr);
    ++frames;
  }
  EXPECT_TRUE(text.isSettled()) << "after " << frames << " frames";
  text.update(16, nullptr);
  for (const SwarmText::Particle& p : text.particles()) {
    EXPECT_EQ(p.alpha, 255);
    EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y));
  }
  // Three lines, one below the other.
  EXPECT_LT(text.particles().front().targetY, text.particles().back().targetY);

  text.scatter();
  for (int i = 0; i < 300; ++i) text.update(16, nullptr);
  EXPECT_FALSE(text.isSettled());
  int faded = 0;
  for (const SwarmText::Particle& p : text.particles()) faded += p.alpha < 255;
  EXPECT_GT(faded, static_cast<int>(text.particles().size()) / 2);
}

TEST(SwarmText, FadesWithDistanceFromItsPlace) {
  SwarmText text(settingsFor("A"));
  text.build();
  ASSERT_EQ(text.particles().size(), 1u);
  // Placed 200 away and held still for one step of 1 ms' scale.
  auto& p = const_cast<SwarmText::Particle&>(text.particles()[0]);
  p.x = p.targetX + 200.0f;
  p.y = p.targetY;
  p.vx = p.vy = 0.0f;
  text.update(1000, nullptr);
  EXPECT_EQ(text.particles()[0].alpha, 0);
}

TEST(CreditsScreen, CaptionsCycleThroughHoldAndScatterAndEscapeLeaves) {
  app().clear();
  menutest::g_sounds.clear();
  auto* credits = app().open(new CreditsScreen());
  ASSERT_FALSE(credits->leftCaptions().empty());
  ASSERT_FALSE(credits->rightCaptions().empty());
  EXPECT_NE(credits->leftCaptions()[0].find("The Starmoor team"), std::string::npos);
  EXPECT_EQ(CreditsScreen::caption("Fonts", "Noto Sans|SIL"), "Fonts#\nNoto Sans\nSIL#");
  EXPECT_TRUE(credits->leftText()->isVisible());

  app().run(CreditsScreen::kHoldMs);
  EXPECT_TRUE(credits->leftText()->isScattered());
  EXPECT_EQ(credits->leftIndex(), 0u);
  app().run(CreditsScreen::kScatterMs + 100);
  EXPECT_FALSE(credits->leftText()->isScattered());
  EXPECT_EQ(credits->leftIndex(), 1u);
  EXPECT_EQ(credits->rightIndex(), 1u);

  app().key(27);
  app().key(27);  // a second press while closing does nothing more
  EXPECT_TRUE(menutest::heard("SFX_BTN_CLICK"));
  app().run(400);
  EXPECT_TRUE(app().states().empty());
}

}  // namespace
