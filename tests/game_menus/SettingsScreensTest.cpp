// The options and the resolution choice as a player uses them: what they
// store in the save game and the profile, what survives a restart, and how
// they leave.
#include <gtest/gtest.h>

#include "MenuApp.h"
#include "Menus/OptionsScreen.h"
#include "Menus/ResolutionScreen.h"
#include "widgets/Button.h"
#include "widgets/CheckBox.h"
#include "widgets/ImageWidget.h"
#include "widgets/Slider.h"

using menutest::app;

namespace {

struct ClosedListener : OptionsMenuListener {
  void optionsMenuClosed() override {
    ++calls;
    optionsStillOnStack = options && app().isOnStack(options);
  }
  int calls = 0;
  const GameState* options = nullptr;
  bool optionsStillOnStack = true;
};

std::vector<bge::Button*> buttonsOf(ScreenBase* screen) {
  std::vector<bge::Button*> out;
  for (Widget* w : screen->getWidgets())
    if (auto* b = dynamic_cast<bge::Button*>(w)) out.push_back(b);
  return out;
}

TEST(OptionsScreen, SettingsSurviveARestartAndLeavingTellsTheMenuOnce) {
  app().clear();
  app().profile->setFullscreen(false);
  ClosedListener listener;
  auto* options = app().open(new OptionsScreen(false, &listener));
  listener.options = options;
  ASSERT_EQ(options->checkBoxes().size(), 4u);
  ASSERT_NE(options->findSlider(OptionsScreen::kMusicSlider), nullptr);
  ASSERT_NE(options->findSlider(OptionsScreen::kSoundSlider), nullptr);
  // The thumbs start at the stored volumes.
  EXPECT_FLOAT_EQ(options->findSlider(OptionsScreen::kMusicSlider)->getValue(), 0.5f);

  options->onSliderChanged(OptionsScreen::kMusicSlider, 0.555f);
  options->onSliderChanged(OptionsScreen::kSoundSlider, 1.7f);  // a widget fault: clamped
  EXPECT_EQ(app().intEntry("MUSIC_VOLUME"), 55);
  EXPECT_EQ(app().intEntry("SOUND_VOLUME"), 100);
  options->onSliderChanged(OptionsScreen::kSoundSlider, -0.2f);
  EXPECT_EQ(app().intEntry("SOUND_VOLUME"), 0);
  options->onSliderChanged(OptionsScreen::kSoundSlider, 0.3f);

  EXPECT_EQ(options->musicVolume(), 55);

  options->onCheckBoxChanged(OptionsScreen::kBattleAssistantBox, false);
  options->onCheckBoxChanged(OptionsScreen::kSpectrumBox, false);
  options->onCheckBoxChanged(OptionsScreen::kAllShotsBox, false);
  options->onButtonEvent(OptionsScreen::kBackButton, bge::ButtonListener::Released);
  EXPECT_TRUE(menutest::heard("SFX_BTN_CLICK"));
  app().run(400);
  EXPECT_EQ(listener.calls, 1);
  EXPECT_FALSE(listener.optionsStillOnStack);
  EXPECT_TRUE(app().states().empty());
  EXPECT_FALSE(app().isFullScreen());  // unchanged mode: no rebuild into full screen

  // A restarted program reads what the options saved.
  app().openSave();
  EXPECT_EQ(app().intEntry("MUSIC_VOLUME"), 55);
  EXPECT_EQ(app().intEntry("SOUND_VOLUME"), 30);
  EXPECT_EQ(app().intEntry("BATTLE_ASSISTANT"), 0);
  EXPECT_FALSE(app().profile->isSpectrumEnabled());
  EXPECT_EQ(app().profile->customFlag(1), 0);

  // Reopened, the boxes show the stored settings.
  auto* again = app().open(new OptionsScreen(true, nullptr));
  EXPECT_FALSE(again->findCheckBox(OptionsScreen::kBattleAssistantBox)->isChecked());
  EXPECT_FALSE(again->findCheckBox(OptionsScreen::kAllShotsBox)->isChecked());
  EXPECT_FALSE(again->findCheckBox(OptionsScreen::kFullScreenBox)->isChecked());
  app().clear();
}

TEST(OptionsScreen, AVolumeSetWithThePointerIsKeptAfterARestart) {
  app().clear();
  app().open(new OptionsScreen(false, nullptr));
  // A quarter along the music slider's travel (its thumb is 28 wide), then "Back".
  app().click(389 + 14 + 56, 412);
  EXPECT_EQ(app().intEntry("MUSIC_VOLUME"), 25);
  app().click(913, 665);
  app().run(400);
  EXPECT_TRUE(app().states().empty());
  app().openSave();
  EXPECT_EQ(app().intEntry("MUSIC_VOLUME"), 25);
}

// How many of a screen's controls show (its pictures and panels, and the
// screen-wide pointer catcher, apart).
int controlsShown(ScreenBase* screen) {
  int n = 0;
  for (Widget* w : screen->getWidgets()) {
    const bool control = !dynamic_cast<ImageWidget*>(w) && static_cast<void*>(w) != screen->getFullScreenWidget();
    n += control && w->isVisible() ? 1 : 0;
  }
  return n;
}

TEST(OptionsScreen, CreditsHideTheTextsUntilTheyCloseAndEscapeLeaves) {
  app().clear();
  auto* options = app().open(new OptionsScreen(false, nullptr));
  const int controls = controlsShown(options);
  EXPECT_GE(controls, 4 + 2 + 3);  // check boxes, sliders, buttons, and their labels
  options->onButtonEvent(OptionsScreen::kCreditsButton, bge::ButtonListener::Released);
  app().run(400);
  ASSERT_EQ(app().states().size(), 2u);
  EXPECT_FALSE(options->isActive());
  for (bge::CheckBox* box : options->checkBoxes()) EXPECT_FALSE(box->isActive());
  // Nothing of the options shows through the credits but the panel they stand on.
  EXPECT_EQ(controlsShown(options), 0);
  app().key(27);
  app().run(400);
  ASSERT_EQ(app().topState(), options);
  EXPECT_TRUE(options->isActive());
  for (bge::CheckBox* box : options->checkBoxes()) EXPECT_TRUE(box->isActive());
  EXPECT_EQ(controlsShown(options), controls);
  // Escape leaves the options themselves, as it leaves the screens they open.
  app().key(27);
  app().run(400);
  EXPECT_TRUE(app().states().empty());
  app().clear();
}

class Resolution : public ::testing::Test {
 protected:
  void SetUp() override {
    app().clear();
    app().profile->setFullscreen(false);
    app().profile->setScreenSize(1366, 768);
    app().saveGame();
    DisplayConfigurations* d = app().getDisplayConfigurations();
    const int sizes[][2] = {{640, 480}, {800, 600}, {1024, 768}, {1152, 864}, {1280, 720}, {1280, 800},
                            {1280, 1024}, {1360, 768}, {1440, 900}, {1600, 900}, {1680, 1050}, {1920, 1080}};
    for (const auto& s : sizes) d->addMode(s[0], s[1]);
  }
  void TearDown() override {
    app().clear();
    app().setScaleFactors(1.0f, 1.0f);
    app().setDisplayMode(1366, 768, false);
    app().createWindow(SDL_WINDOW_HIDDEN);
  }
  // The window is a size the list does not hold, as under a virtual display.
  void windowOf(int w, int h) {
    app().getDisplayConfigurations()->setResolutions(new DisplayMode(w, h), new DisplayMode(1366, 768));
  }
};

TEST_F(Resolution, AWindowSizeMissingFromTheListChoosesNoRowAndOkKeepsIt) {
  windowOf(1000, 700);
  auto* screen = app().open(new ResolutionScreen());
  EXPECT_EQ(screen->currentIndex(), -1);
  int w = 0, h = 0;
  screen->shownSize(w, h);
  EXPECT_EQ(w, 1000);
  EXPECT_EQ(h, 700);
  app().run(100);  // frames drawn with no row chosen

  // Ten mode buttons in two columns of five, and "OK".
  int modeButtons = 0;
  bge::Button* first = nullptr;
  bge::Button* sixth = nullptr;
  for (bge::Button* b : buttonsOf(screen)) {
    if (b->getButtonId() < ResolutionScreen::kMaxModeButtons) ++modeButtons;
    if (b->getButtonId() == 0) first = b;
    if (b->getButtonId() == 5) sixth = b;
  }
  EXPECT_EQ(modeButtons, 10);
  ASSERT_TRUE(first && sixth);
  EXPECT_EQ(static_cast<int>(first->getX() + first->getWidth()), 619);
  EXPECT_EQ(static_cast<int>(sixth->getX()), 747);
  EXPECT_EQ(first->getY(), sixth->getY());

  screen->onButtonEvent(ResolutionScreen::kApplyButton, bge::ButtonListener::Released);
  app().run(400);
  EXPECT_TRUE(app().states().empty());
  app().openSave();
  EXPECT_EQ(app().profile->screenSize().width, 1000);
  EXPECT_EQ(app().profile->screenSize().height, 700);
}

TEST_F(Resolution, AChosenSizeAppliesAtOnceAndEscapeStoresNothing) {
  windowOf(1366, 768);
  auto* screen = app().open(new ResolutionScreen());
  const auto& modes = app().getDisplayConfigurations()->getDisplayModes();
  const int pick = ResolutionScreen::findMode(modes, 1920, 1080);
  ASSERT_GE(pick, 0);
  screen->onButtonEvent(pick, bge::ButtonListener::Released);
  EXPECT_EQ(screen->currentIndex(), pick);
  EXPECT_NEAR(app().getScaleFactorX(), 1920.0f / 1366.0f, 1e-4);
  EXPECT_NEAR(app().getScaleFactorY(), 1.40625f, 1e-4);
  EXPECT_EQ(app().getDisplayConfigurations()->getCurrentResolution()->width, 1920);
  EXPECT_FALSE(app().isFullScreen());  // the profile asks for a window

  app().key(27);
  app().run(400);
  EXPECT_TRUE(app().states().empty());
  app().openSave();
  EXPECT_EQ(app().profile->screenSize().width, 1366);
}

}  // namespace
