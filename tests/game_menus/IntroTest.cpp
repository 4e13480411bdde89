// The intro scene opened directly: its star field, the countdown, the keys
// that leave it and where they lead, also through the pause screen.
#include <gtest/gtest.h>

#include <cmath>

#include "Game/IntroScreen.h"
#include "MenuApp.h"
#include "Menus/GamePauseScreen.h"
#include "widgets/ButtonListener.h"
#include "sdk/QuillonPhysicsSDK.h"

using menutest::app;

namespace {

// Where the intro went, in place of the game's own screens.
class Marker : public ScreenBase {
 public:
  explicit Marker(IntroScreen::Next n) : ScreenBase(""), next(n) {}
  void prepare() override {}
  void init() override {}
  IntroScreen::Next next;
};
GameState* makeMarker(IntroScreen::Next next) { return new Marker(next); }

class Intro : public ::testing::Test {
 protected:
  void SetUp() override {
    app().clear();
    IntroScreen::setScreenMaker(&makeMarker);
  }
  void TearDown() override {
    app().clear();
    IntroScreen::setScreenMaker(nullptr);
  }
  static const Marker* top() { return dynamic_cast<const Marker*>(app().topState()); }
};

TEST_F(Intro, CountsDownFromTheFirstShownFrameAndStarsFallAndWrap) {
  auto* intro = app().open(new IntroScreen("content/config/intro/mission-intro.xml"));
  EXPECT_EQ(IntroScreen::current(), intro);
  EXPECT_EQ(intro->file(), "content/config/intro/mission-intro.xml");
  ASSERT_EQ(intro->stars().size(), 500u);
  for (const auto& star : intro->stars()) {
    EXPECT_GE(star.z, 0.0f);
    EXPECT_LT(star.z, 8192.0f);
    EXPECT_GE(star.y, -1024.0f);
  }
  const int shown = intro->countdown();
  EXPECT_LE(shown, IntroScreen::kCountdownFrom);
  EXPECT_GE(shown, IntroScreen::kCountdownFrom - 1);
  app().run(3000);
  EXPECT_LE(intro->countdown(), shown - 2);
  for (const auto& star : intro->stars()) EXPECT_LE(star.y, 1024.0f);
  menutest::g_ticks += 90000;  // a long wait, in one step of the clock
  app().run(16);
  EXPECT_EQ(intro->countdown(), 0);  // it stops at zero
}

TEST_F(Intro, WithNowhereToGoItStays) {
  IntroScreen::setScreenMaker(nullptr);
  auto* intro = app().open(new IntroScreen("content/config/intro/mission-intro.xml"));
  app().key(13);
  app().key(27);
  app().run(400);
  EXPECT_EQ(app().topState(), intro);
  EXPECT_EQ(app().states().size(), 1u);
}

TEST_F(Intro, EnterLeavesForMissionControlAndOtherKeysOnlyPrint) {
  auto* intro = app().open(new IntroScreen("content/config/intro/mission-intro.xml"));
  app().key('x');
  app().run(400);
  EXPECT_EQ(app().topState(), intro);
  app().key(13);
  ASSERT_NE(QuillonPHX2D::g_ptrSDK, nullptr);
  app().run(400);
  ASSERT_NE(top(), nullptr);
  EXPECT_EQ(top()->next, IntroScreen::Next::MissionControl);
  EXPECT_EQ(app().states().size(), 1u);
  app().run(16);  // the intro is deleted at the frame's end
  EXPECT_EQ(IntroScreen::current(), nullptr);
}

TEST_F(Intro, EscapeOpensThePauseAndQuittingFromItGoesToTheMainMenu) {
  auto* intro = app().open(new IntroScreen("content/config/intro/mission-intro.xml"));
  app().key(27);
  ASSERT_NE(top(), nullptr);
  EXPECT_EQ(top()->next, IntroScreen::Next::Pause);
  app().popState();
  app().run(16);
  // The real pause screen over the intro, with no level anywhere: the choices
  // that act on a level leave the intro alone, the main menu closes it with 1000.
  for (int choice : {GamePauseScreen::kMissionControl, GamePauseScreen::kRestart}) {
    auto* pause = app().open(new GamePauseScreen());
    app().run(400);
    pause->onButtonEvent(choice, bge::ButtonListener::Released);
    app().run(600);
    ASSERT_EQ(app().topState(), intro) << choice;
    EXPECT_EQ(intro->getPhase(), PhaseIdle) << choice;
  }
  auto* pause = app().open(new GamePauseScreen());
  app().run(400);
  pause->onButtonEvent(GamePauseScreen::kMainMenu, bge::ButtonListener::Released);
  app().run(800);
  ASSERT_NE(top(), nullptr);
  EXPECT_EQ(top()->next, IntroScreen::Next::MainMenu);
  EXPECT_EQ(app().states().size(), 1u);
}

}  // namespace
