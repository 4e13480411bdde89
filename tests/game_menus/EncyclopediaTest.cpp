// The encyclopedia: the hub's buttons and the pages' stepping through the
// entity files their layouts list.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "MenuApp.h"
#include "Menus/EncyclopediaPages.h"
#include "Menus/EncyclopediaScreen.h"

using menutest::app;

namespace {

TEST(EncyclopediaAliens, StepsThroughTheClassesBothWays) {
  app().clear();
  auto* page = app().open(new EncyclopediaAliensScreen());
  ASSERT_EQ(page->files().size(), 8u);
  EXPECT_EQ(page->enemyClass(), "scout");
  EXPECT_GT(page->energy(), 0);
  EXPECT_EQ(page->threatBarWidth(), static_cast<int>(0.1f * 255));
  page->onButtonEvent(EncyclopediaPage::kPreviousButton, bge::ButtonListener::Released);
  EXPECT_EQ(page->current(), 7);
  EXPECT_EQ(page->enemyClass(), "destroyer");
  EXPECT_EQ(page->threatBarWidth(), 255);
  page->onButtonEvent(EncyclopediaPage::kNextButton, bge::ButtonListener::Released);
  EXPECT_EQ(page->enemyClass(), "scout");
  page->showEntry(8);  // outside the list: ignored
  EXPECT_EQ(page->current(), 0);
  EXPECT_EQ(EncyclopediaAliensScreen::findClass("mothership"), nullptr);
  app().run(100);  // drawn frames

  app().key(27);
  app().run(400);
  EXPECT_TRUE(app().states().empty());
}

TEST(EncyclopediaTowers, ReadsTheTowerValuesAndBarsStayOnTheirTrack) {
  app().clear();
  auto* page = app().open(new EncyclopediaTowersScreen());
  ASSERT_FALSE(page->files().empty());
  EXPECT_EQ(page->towerType(), "TOWER_NAME_T1");
  EXPECT_GT(page->price(), 0);
  EXPECT_GT(page->damage(), 0);
  // Rates in proportion; a slow launcher still shows its rate, a beam fills the track.
  EXPECT_EQ(EncyclopediaTowersScreen::fireRateBar(1.25f), EncyclopediaTowersScreen::kBarTrack / 2);
  EXPECT_GT(EncyclopediaTowersScreen::fireRateBar(0.25f), 0);
  EXPECT_EQ(EncyclopediaTowersScreen::fireRateBar(62.5f), EncyclopediaTowersScreen::kBarTrack);
  EXPECT_EQ(EncyclopediaTowersScreen::fireRateBar(0.0f), 0);
  EXPECT_EQ(EncyclopediaTowersScreen::damageBar(5000), EncyclopediaTowersScreen::kBarTrack);
  app().run(100);
  page->onButtonEvent(EncyclopediaPage::kCloseButton, bge::ButtonListener::Released);
  app().run(400);
  EXPECT_TRUE(app().states().empty());
}

// A page whose layout lists no file at all.
class EmptyPage : public EncyclopediaPage {
 public:
  explicit EmptyPage(const char* file) : EncyclopediaPage("EmptyPage", file, "Aliens") {}
  void readEntry(const bge::XmlReader&, TiXmlElement*) override { ++reads; }
  int reads = 0;
};

TEST(EncyclopediaPage, PreviousAndNextOverAnEmptyListDoNothing) {
  app().clear();
  const std::string file = app().dirs.root() + "/empty.xml";
  std::ofstream(file) << "<Screen path=\"\"><Aliens/></Screen>";
  static std::string keep;
  keep = file;
  auto* page = app().open(new EmptyPage(keep.c_str()));
  page->previous();
  page->next();
  page->onButtonEvent(EncyclopediaPage::kNextButton, bge::ButtonListener::Released);
  EXPECT_EQ(page->current(), 0);
  EXPECT_EQ(page->reads, 0);
  app().clear();
}

TEST(EncyclopediaHub, OpensThePagesAndTheRadioButtonOnlySpeaks) {
  app().clear();
  menutest::g_sounds.clear();
  auto* hub = app().open(new EncyclopediaScreen());
  EXPECT_TRUE(menutest::heard("SFX_SHIELD_UP"));
  app().run(600);
  EXPECT_TRUE(menutest::heard("SFX_LEVEL_PAUSED"));  // the battle assistant is on

  hub->onButtonEvent(EncyclopediaScreen::kSpeakButton, bge::ButtonListener::Released);
  EXPECT_TRUE(menutest::heard("SFX_VO_YES"));
  app().run(100);
  EXPECT_EQ(app().states().size(), 1u);

  hub->onButtonEvent(EncyclopediaScreen::kAliensButton, bge::ButtonListener::Released);
  app().run(400);
  ASSERT_EQ(app().states().size(), 2u);
  EXPECT_NE(dynamic_cast<EncyclopediaAliensScreen*>(app().topState()), nullptr);
  app().key(27);
  app().run(400);
  ASSERT_EQ(app().topState(), hub);

  hub->onButtonEvent(EncyclopediaScreen::kTowersButton, bge::ButtonListener::Released);
  EXPECT_TRUE(app().getOverlayFlag());
  app().run(400);
  app().key(27);
  app().run(400);
  EXPECT_FALSE(app().getOverlayFlag());
  ASSERT_EQ(app().topState(), hub);

  hub->onButtonEvent(EncyclopediaScreen::kCloseButton, bge::ButtonListener::Released);
  app().run(400);
  EXPECT_TRUE(app().states().empty());
}

}  // namespace
