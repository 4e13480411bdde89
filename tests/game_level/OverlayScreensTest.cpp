// The screens laid over a running level, with the real level in the runner's
// application: the pause screen's five choices and where each leads, the help
// page, the encyclopedia, the results with their scores panel, and the level's
// clocks and world around them.
#include <SDL.h>
#include <gtest/gtest.h>

#include <functional>

#include "Game/LevelScreen.h"
#include "GameApp.h"
#include "KeyEvent.h"
#include "LevelFiles.h"
#include "Menus/EncyclopediaScreen.h"
#include "Menus/GameHelpScreen.h"
#include "Menus/LeaderboardQueryWidget.h"
#include "Menus/OptionsScreen.h"
#include "Menus/SaveEntries.h"
#include "Profile/Profile.h"
#include "SaveGame.h"
#include "Store/CSteamLeaderboards.h"
#include "Store/FakeStore.h"
#include "Menus/GamePauseScreen.h"
#include "Menus/MainMenu.h"
#include "Menus/PostLevelScreen.h"
#include "SDLGameApp.h"
#include "sdk/QuillonPhysicsSDK.h"
#include "widgets/ButtonListener.h"
#include "Menus/MissionControl.h"

using levelfiles::Folder;
using levelfiles::runner;
using QuillonPHX2D::g_ptrSDK;

namespace {

KeyEvent press(int key) {
  KeyEvent e;
  e.key = key;
  e.kind = KeyEvent::Pressed;
  return e;
}

class OverlayScreens : public ::testing::Test {
 protected:
  void SetUp() override {
    file_ = folder_.level("<Attack id=\"0\">" + folder_.wave(3, 500) + "</Attack>");
    app().changeState(new LevelScreen(4, file_, MODE_CLASSIC, 1));
    frames(30);
    level_ = LevelScreen::current();
    ASSERT_NE(level_, nullptr);
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
  // Frames until the top screen is another; false when none came.
  bool untilTopChanges(int limit = 120) {
    GameState* before = app().topState();
    for (int i = 0; i < limit; ++i) {
      frames(1);
      if (app().topState() != before) return true;
    }
    return false;
  }
  GamePauseScreen* openPause() {
    level_->onKeyEvent(press(SDLK_ESCAPE));
    auto* pause = dynamic_cast<GamePauseScreen*>(app().topState());
    if (pause) frames(20);  // its fade-in
    return pause;
  }
  void choose(GamePauseScreen* pause, int button) {
    pause->onButtonEvent(button, bge::ButtonListener::Released);
    ASSERT_TRUE(untilTopChanges());  // the pause screen goes
    frames(40);                      // and the level's own fade-out, when it leaves
  }

  Folder folder_;
  std::string file_;
  LevelScreen* level_ = nullptr;
};

TEST_F(OverlayScreens, EscapeCoversTheLevelAndResumeGivesItBackAsItWas) {
  level_->sendNextWave();
  frames(5);
  ASSERT_TRUE(level_->flow().clocksRunning());
  GamePauseScreen* pause = openPause();
  ASSERT_NE(pause, nullptr);
  EXPECT_TRUE(g_ptrSDK->isPaused());
  EXPECT_FALSE(level_->flow().clocksRunning());
  // A second Escape while the screen fades out is not a second close.
  pause->onKeyEvent(press(SDLK_ESCAPE));
  pause->onKeyEvent(press(SDLK_ESCAPE));
  EXPECT_EQ(pause->escapeCount(), 1);
  ASSERT_TRUE(untilTopChanges());
  EXPECT_EQ(app().topState(), level_);
  EXPECT_EQ(app().states().size(), 1u);
  EXPECT_FALSE(g_ptrSDK->isPaused());
  EXPECT_TRUE(level_->flow().clocksRunning());

  // Between waves the level time stands still, and a pause does not start it.
  level_->onMinimized();
  pause = openPause();
  ASSERT_NE(pause, nullptr);
  choose(pause, GamePauseScreen::kResume);
  EXPECT_EQ(app().topState(), level_);
  EXPECT_FALSE(level_->flow().clocksRunning());
}

TEST_F(OverlayScreens, MainMenuChoiceClosesTheLevelToTheTitleScreen) {
  GamePauseScreen* pause = openPause();
  ASSERT_NE(pause, nullptr);
  choose(pause, GamePauseScreen::kMainMenu);
  EXPECT_NE(dynamic_cast<MainMenu*>(app().topState()), nullptr);
  EXPECT_EQ(app().states().size(), 1u);
  EXPECT_EQ(LevelScreen::current(), nullptr);
}

TEST_F(OverlayScreens, RestartChoiceBuildsTheSameLevelAfresh) {
  level_->sendNextWave();
  frames(60);
  GamePauseScreen* pause = openPause();
  ASSERT_NE(pause, nullptr);
  choose(pause, GamePauseScreen::kRestart);
  LevelScreen* fresh = LevelScreen::current();
  ASSERT_NE(fresh, nullptr);
  EXPECT_EQ(app().topState(), fresh);
  EXPECT_EQ(app().states().size(), 1u);
  EXPECT_EQ(fresh->missionId(), 4);
  EXPECT_EQ(fresh->gameMode(), MODE_CLASSIC);
  EXPECT_EQ(fresh->difficulty(), 1);
  EXPECT_EQ(fresh->flow().enemiesSpawned(), 0);
  EXPECT_NE(fresh->state(), kLevelBattle);
}

TEST_F(OverlayScreens, MissionControlChoiceClosesTheLevel) {
  GamePauseScreen* pause = openPause();
  ASSERT_NE(pause, nullptr);
  choose(pause, GamePauseScreen::kMissionControl);
  EXPECT_EQ(LevelScreen::current(), nullptr);
  EXPECT_NE(dynamic_cast<MissionControl*>(app().topState()), nullptr);
  EXPECT_EQ(app().states().size(), 1u);
}

TEST_F(OverlayScreens, HelpPageClosesOnAnyKeyAndTheLevelRunsOn) {
  level_->sendNextWave();
  frames(5);
  level_->onKeyEvent(press(SDLK_F1));
  auto* help = dynamic_cast<GameHelpScreen*>(app().topState());
  ASSERT_NE(help, nullptr);
  EXPECT_FALSE(level_->flow().clocksRunning());
  frames(20);
  help->onKeyEvent(press(SDLK_q));
  help->onKeyEvent(press(SDLK_w));  // while it fades: nothing more
  ASSERT_TRUE(untilTopChanges());
  EXPECT_EQ(app().topState(), level_);
  EXPECT_EQ(app().states().size(), 1u);
  EXPECT_TRUE(level_->flow().clocksRunning());
  EXPECT_FALSE(g_ptrSDK->isPaused());
}

TEST_F(OverlayScreens, TheEndOfTheLevelShowsTheResultsAndPlayAgainStartsItAfresh) {
  level_->sendNextWave();
  frames(10);
  level_->finishLevel();
  // The end delay of 1280 ms runs on the level, then the results lie over it.
  ASSERT_TRUE(untilTopChanges(120));
  auto* results = dynamic_cast<PostLevelScreen*>(app().topState());
  ASSERT_NE(results, nullptr);
  EXPECT_TRUE(results->stats().victory);
  EXPECT_EQ(results->stats().missionId, 4);
  EXPECT_EQ(results->tally().points[ScoreTally::kLives], 20 * 10000);
  EXPECT_TRUE(g_ptrSDK->isPaused());
  frames(20);
  results->onButtonEvent(7, bge::ButtonListener::Released);  // no such choice
  frames(30);
  ASSERT_EQ(app().topState(), results);
  results->onButtonEvent(PostLevelScreen::kPlayAgain, bge::ButtonListener::Released);
  ASSERT_TRUE(untilTopChanges());
  frames(40);
  LevelScreen* fresh = LevelScreen::current();
  ASSERT_NE(fresh, nullptr);
  EXPECT_EQ(app().topState(), fresh);
  EXPECT_EQ(app().states().size(), 1u);
  EXPECT_EQ(fresh->state(), kLevelBooting);
  EXPECT_EQ(fresh->missionId(), 4);
}

TEST_F(OverlayScreens, OptionsFromThePauseLieOverItAndGiveItBack) {
  GamePauseScreen* pause = openPause();
  ASSERT_NE(pause, nullptr);
  pause->onButtonEvent(GamePauseScreen::kOptions, bge::ButtonListener::Released);
  auto* options = dynamic_cast<OptionsScreen*>(app().topState());
  ASSERT_NE(options, nullptr);
  EXPECT_TRUE(app().isOnStack(pause));
  EXPECT_EQ(pause->getPhase(), PhaseIdle);
  frames(20);
  options->onButtonEvent(OptionsScreen::kBackButton, bge::ButtonListener::Released);
  ASSERT_TRUE(untilTopChanges());
  ASSERT_EQ(app().topState(), pause);
  EXPECT_EQ(app().states().size(), 2u);
  choose(pause, GamePauseScreen::kResume);
  EXPECT_EQ(app().topState(), level_);
}

TEST_F(OverlayScreens, TheEncyclopediaKeyCoversTheLevelUntilEscape) {
  level_->onKeyEvent(press(SDLK_e));
  auto* hub = dynamic_cast<EncyclopediaScreen*>(app().topState());
  ASSERT_NE(hub, nullptr);
  EXPECT_TRUE(app().isOnStack(level_));
  frames(20);
  hub->onKeyEvent(press(SDLK_ESCAPE));
  ASSERT_TRUE(untilTopChanges());
  EXPECT_EQ(app().topState(), level_);
  EXPECT_EQ(app().states().size(), 1u);
}

// The results' scores panel: it asks for the mission's board only once the
// store confirmed the upload, and calls the rank new only when it beats the
// one held at launch.
TEST_F(OverlayScreens, TheResultsShowTheMissionsBoardOnceTheScoreIsIn) {
  store::FakeStore fake(CSteamLeaderboards::allLeaderboardNames());
  fake.setDelayFrames(3);
  for (int i = 0; i < 6; ++i) fake.addScore("BARTHON_002", 700 + i, i < 3 ? 2000000000 - i : 10 + i, "pilot");
  CSteamLeaderboards boards(&fake);
  g_leaderboards = &boards;
  auto storeFrames = [&](int n) {
    for (int i = 0; i < n; ++i) {
      fake.runCallbacks();
      frames(1);
    }
  };
  struct Case {
    int previousRank;
    bool newRank;
  };
  // The run's score lands fourth, between the board's three best and three worst rows.
  for (const Case& c : {Case{2, false}, Case{9, true}, Case{-1, true}}) {
    // Each case starts from the runner's own save (TearDown gives it back): the profile is its own.
    auto* profile = new Profile("Commander");
    app().getSaveGame()->addEntry("PLAYER_PROFILE", profile);
    profile->setFullscreen(false);  // the screens it leads to leave the runner's window alone
    profile->setPreviousRank(c.previousRank);
    level_->sendNextWave();
    frames(10);
    level_->finishLevel();
    ASSERT_TRUE(untilTopChanges(120));
    auto* results = dynamic_cast<PostLevelScreen*>(app().topState());
    ASSERT_NE(results, nullptr);
    LeaderboardQueryWidget* panel = results->leaderboard();
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->getX(), 1092);
    EXPECT_EQ(panel->getY(), 190);
    EXPECT_EQ(results->previousRank(), c.previousRank);
    EXPECT_FALSE(results->queryMade()) << "nothing is asked before the store answers the upload";
    storeFrames(30);
    EXPECT_TRUE(results->queryMade());
    EXPECT_EQ(panel->boardName(), "BARTHON_002");
    EXPECT_EQ(panel->getUserRank(), 4) << c.previousRank;
    EXPECT_EQ(panel->newRank(), c.newRank) << c.previousRank;
    results->onButtonEvent(PostLevelScreen::kToMissionControl, bge::ButtonListener::Released);
    storeFrames(80);
    TearDown();
    SetUp();
  }
  g_leaderboards = nullptr;
}

}  // namespace
