// The tutorial over the first mission, with the real level under it: it opens
// on mission 0 while the profile asks for it, its slides choose the first tower
// kind and build it where the pointer is, and its end (by the last slide or by
// SKIP) leaves the level holding no tutorial and the profile not asking again.
#include <gtest/gtest.h>

#include "Game/LevelScreen.h"
#include "GameApp.h"
#include "LevelFiles.h"
#include "Menus/TutorialScreen.h"
#include "PointingDeviceEvent.h"
#include "Profile/Profile.h"
#include "SDLGameApp.h"
#include "SaveGame.h"

using levelfiles::Folder;
using levelfiles::runner;

namespace {

class LevelTutorial : public ::testing::Test {
 protected:
  void SetUp() override {
    profile_ = new Profile("Commander");
    app().getSaveGame()->addEntry("PLAYER_PROFILE", profile_);
    file_ = folder_.level("<Attack id=\"0\">" + folder_.wave(3, 500) + "</Attack>");
  }
  void TearDown() override {
    while (app().topState()) app().popState();
    app().deleteQueuedStates();
    runner().resetSave();  // the profile goes, and the tutorial it would bring to later levels
  }
  static SDLGameApp& app() { return runner().app(); }
  void frames(int n) {
    for (int i = 0; i < n; ++i) {
      app().update(16);
      app().deleteQueuedStates();
    }
  }
  LevelScreen* start(int missionId) {
    app().changeState(new LevelScreen(missionId, file_, MODE_CLASSIC, 1));
    frames(40);
    return LevelScreen::current();
  }
  TutorialScreen* top() { return dynamic_cast<TutorialScreen*>(app().topState()); }
  // A click on the tutorial at a point, as the pointer gives it.
  void press(int x, int y) {
    app().setMousePosition(x, y);
    PointingDeviceEvent e;
    e.kind = PointingDeviceEvent::Pressed;
    e.buttons = PointingDeviceEvent::Left;
    e.x = x;
    e.y = y;
    top()->mousePressed(e);
  }

  Folder folder_;
  std::string file_;
  Profile* profile_ = nullptr;  // owned by the save game
};

TEST_F(LevelTutorial, SlidesChooseAndBuildTheFirstTowerAndTheEndIsRemembered) {
  profile_->setFlag(CustomFlag::LevelTutorial, 1);
  folder_.writeGrid(5, 8);  // one cell no tower may take
  LevelScreen* level = start(0);
  ASSERT_NE(level, nullptr);
  TutorialScreen* tutorial = top();
  ASSERT_NE(tutorial, nullptr) << "mission 0 opens the tutorial";
  EXPECT_EQ(level->tutorial(), tutorial);
  EXPECT_TRUE(level->bridge().ready()) << "the bridge is up under the slides";
  ASSERT_GE(tutorial->slides().size(), 3u);

  // Slide 0 only moves on; slide 1 chooses the first tower kind.
  press(500, 400);
  ASSERT_EQ(tutorial->current(), 1u);
  press(1070, 190);
  ASSERT_EQ(tutorial->current(), 2u);
  ASSERT_FALSE(level->towerDescriptions().empty());
  EXPECT_EQ(level->selection().towerDesc(), level->towerDescriptions()[0]);

  // Slide 2 builds it on the free cell under the pointer; a click on a cell
  // that is not free builds nothing and keeps the slide.
  const std::vector<int>& grid = level->grid().cells();
  int cell = -1, taken = -1;
  for (size_t i = 0; i < grid.size(); ++i) {
    const bool inside = i % 32 > 2 && i % 32 < 28 && i / 32 > 3;
    if (inside && grid[i] == 0 && cell < 0) cell = static_cast<int>(i);
    if (inside && grid[i] != 0 && taken < 0) taken = static_cast<int>(i);
  }
  ASSERT_GE(cell, 0);
  ASSERT_GE(taken, 0);
  const int built = level->tally().standing();
  press((taken % 32) * 32 + 16, (taken / 32) * 32 + 16);
  EXPECT_EQ(level->tally().standing(), built);
  EXPECT_EQ(tutorial->current(), 2u) << "nothing was built, so the slide asking for a tower stays";
  press((cell % 32) * 32 + 16, (cell / 32) * 32 + 16);
  EXPECT_EQ(level->tally().standing(), built + 1);
  EXPECT_EQ(tutorial->current(), 3u);

  // The rest move on to the end: the level lets go and the profile remembers.
  while (!tutorial->finished()) press(500, 400);
  EXPECT_EQ(level->tutorial(), nullptr);
  EXPECT_EQ(profile_->flag(CustomFlag::LevelTutorial), 0);
  EXPECT_EQ(profile_->customFlag(6), 0) << "where saves keep it: the seventh value of customflags.dat";
  frames(30);
  EXPECT_EQ(app().topState(), level);
  EXPECT_FALSE(app().getOverlayFlag());

  // The next start of mission 0 shows none.
  app().popState();
  app().deleteQueuedStates();
  start(0);
  EXPECT_EQ(top(), nullptr);
}

TEST_F(LevelTutorial, SkipLeavesNoTutorialBehindAndOtherMissionsHaveNone) {
  profile_->setFlag(CustomFlag::LevelTutorial, 1);
  LevelScreen* level = start(4);
  ASSERT_NE(level, nullptr);
  EXPECT_EQ(top(), nullptr) << "only mission 0 has the tutorial";
  app().popState();
  app().deleteQueuedStates();

  level = start(0);
  ASSERT_NE(top(), nullptr);
  top()->onButtonEvent(TutorialScreen::kSkipButton, bge::ButtonListener::Released);
  EXPECT_EQ(level->tutorial(), nullptr) << "SKIP ends it as the last slide does";
  EXPECT_EQ(profile_->flag(CustomFlag::LevelTutorial), 0);
  frames(30);
  EXPECT_EQ(app().topState(), level);
  // Events that come late find no tutorial to move on.
  level->onTutorialEvent(LevelScreen::kTutorialAdvance);
  level->onTutorialEvent(LevelScreen::kTutorialChooseTower);
  EXPECT_EQ(level->tutorial(), nullptr);
}

}  // namespace
