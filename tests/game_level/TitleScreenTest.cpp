// The title screen in the runner's application (a real GL window): its buttons
// from the layout, the continue button of a first start, and where new game
// and continue lead.
#include <gtest/gtest.h>

#include <filesystem>

#include "LevelFiles.h"
#include "Menus/MainMenu.h"
#include "Profile/Profile.h"
#include "SDLGameApp.h"
#include "WidgetManager.h"
#include "widgets/Button.h"
#include "widgets/ButtonListener.h"

using levelfiles::runner;

namespace {

class TitleScreen : public ::testing::Test {
 protected:
  void TearDown() override {
    while (app().topState()) app().popState();
    app().deleteQueuedStates();
  }
  static SDLGameApp& app() { return runner().app(); }
  MainMenu* open() {
    auto* menu = new MainMenu(0, &profile_);
    app().changeState(menu);
    frames(20);
    return menu;
  }
  void frames(int n) {
    for (int i = 0; i < n; ++i) {
      app().update(16);
      app().deleteQueuedStates();
    }
  }

  Profile profile_{"Commander"};
};

TEST_F(TitleScreen, AFirstStartHidesContinueAndNewGameLeavesWithAFreshCampaign) {
  profile_.setHasProgress(false);
  profile_.setMissionWon(3);
  MainMenu* menu = open();
  for (int id = MainMenu::kNewGame; id <= MainMenu::kStorePageButton; ++id)
    ASSERT_NE(menu->findButton(id), nullptr) << id;
  EXPECT_FALSE(menu->findButton(MainMenu::kContinue)->isVisible());
  EXPECT_TRUE(menu->findButton(MainMenu::kNewGame)->isVisible());
  EXPECT_EQ(menu->starfield().size(), static_cast<size_t>(MenuStarfield::kStarCount));
  EXPECT_NE(menu->flyBy(), nullptr);

  // Without a store overlay the store button is only a sound.
  menu->onButtonEvent(MainMenu::kStorePageButton, bge::ButtonListener::Released);
  EXPECT_EQ(menu->getPhase(), PhaseIdle);

  menu->onButtonEvent(MainMenu::kNewGame, bge::ButtonListener::Released);
  EXPECT_EQ(menu->getPhase(), PhaseExiting);
  EXPECT_EQ(menu->getExitCode(), MainMenu::kToMissionControl);
  EXPECT_FALSE(profile_.isMissionWon(3));
  frames(40);
  EXPECT_FALSE(app().isOnStack(menu));
}

TEST_F(TitleScreen, WithProgressContinueLeadsOn) {
  profile_.setHasProgress(true);
  MainMenu* menu = open();
  EXPECT_TRUE(menu->findButton(MainMenu::kContinue)->isVisible());
  // A new game over progress is asked about first: it does not leave at once.
  menu->onButtonEvent(MainMenu::kNewGame, bge::ButtonListener::Released);
  EXPECT_EQ(menu->getPhase(), PhaseIdle);
  menu->onButtonEvent(MainMenu::kContinue, bge::ButtonListener::Released);
  EXPECT_EQ(menu->getExitCode(), MainMenu::kToMissionControl);
  EXPECT_FALSE(menu->getWidgetManager()->isInputEnabled());
}

}  // namespace
