// The title screen in the runner's application (a real GL window): its buttons
// from the layout, the continue button of a first start, and where new game
// and continue lead, the question before a new game and the options over it.
#include <gtest/gtest.h>

#include <filesystem>

#include "LevelFiles.h"
#include "GLGraphics.h"
#include "Menus/GameProgressDialog.h"
#include "Menus/MainMenu.h"
#include "Menus/OptionsScreen.h"
#include "music/AudioAnalyserWidget.h"
#include "Profile/Profile.h"
#include "SDLGameApp.h"
#include "WidgetManager.h"
#include "widgets/Button.h"
#include "widgets/ButtonListener.h"
#include "widgets/Dialog.h"

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

TEST_F(TitleScreen, WithProgressNewGameAsksFirstOptionsLieOverTheMenuAndContinueLeadsOn) {
  profile_.setHasProgress(true);
  profile_.setSpectrumEnabled(false);
  MainMenu* menu = open();
  EXPECT_TRUE(menu->findButton(MainMenu::kContinue)->isVisible());

  // A new game over progress is asked about first: the question lies over the
  // menu, and "no" only takes it away again.
  menu->onButtonEvent(MainMenu::kNewGame, bge::ButtonListener::Released);
  EXPECT_EQ(menu->getPhase(), PhaseIdle);
  auto* dialog = dynamic_cast<GameProgressDialog*>(app().topState());
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(app().isOnStack(menu));
  frames(40);
  bge::Dialog* box = nullptr;
  for (Widget* w : dialog->getWidgets())
    if (auto* d = dynamic_cast<bge::Dialog*>(w)) box = d;
  ASSERT_NE(box, nullptr);
  box->onButtonEvent(GameProgressDialog::kNoButton, bge::ButtonListener::Released);
  frames(80);
  EXPECT_EQ(app().topState(), menu);
  EXPECT_EQ(menu->getPhase(), PhaseIdle);
  EXPECT_TRUE(profile_.hasProgress());

  // The options twice: the menu's buttons sleep beneath them, and the spectrum
  // switched on there appears once, however often they are opened.
  for (int round = 0; round < 2; ++round) {
    menu->onButtonEvent(MainMenu::kOptions, bge::ButtonListener::Released);
    auto* options = dynamic_cast<OptionsScreen*>(app().topState());
    ASSERT_NE(options, nullptr) << round;
    EXPECT_FALSE(menu->findButton(MainMenu::kNewGame)->isEnabled());
    EXPECT_TRUE(app().getGraphics()->menuOverlay());
    frames(20);
    profile_.setSpectrumEnabled(true);
    options->onButtonEvent(OptionsScreen::kBackButton, bge::ButtonListener::Released);
    frames(40);
    ASSERT_EQ(app().topState(), menu) << round;
    EXPECT_TRUE(menu->findButton(MainMenu::kNewGame)->isEnabled());
    EXPECT_FALSE(app().getGraphics()->menuOverlay());
    ASSERT_NE(menu->spectrum(), nullptr);
  }
  int spectra = 0;
  for (Widget* w : menu->getWidgets()) spectra += dynamic_cast<DFTSpectralAnalayzerWidget*>(w) != nullptr;
  EXPECT_EQ(spectra, 1);

  menu->onButtonEvent(MainMenu::kContinue, bge::ButtonListener::Released);
  EXPECT_EQ(menu->getExitCode(), MainMenu::kToMissionControl);
  EXPECT_FALSE(menu->getWidgetManager()->isInputEnabled());
}

}  // namespace
