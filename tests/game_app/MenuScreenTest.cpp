// The menu pattern: button sounds, the 256 ms fade-out and the hand-over from a
// result code to the next screen, against a bare application that records what
// is pushed and a sound hook that records what is played.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "DynamicResources/SfxContainer.h"
#include "GameApp.h"
#include "Menus/MenuScreen.h"
#include "TestEnv.h"
#include "WidgetManager.h"
#include "widgets/ButtonListener.h"

namespace {

std::vector<std::string> g_played;
void recordSound(const std::string& name) { g_played.push_back(name); }

struct Log {
  std::vector<std::string> lines;
};

class TargetScreen : public MenuScreen {
 public:
  TargetScreen(Log* log, int tag) : MenuScreen("TargetScreen"), log_(log), tag_(tag) {}
  ~TargetScreen() override { log_->lines.push_back("deleted " + std::to_string(tag_)); }
  void init() override { log_->lines.push_back("init " + std::to_string(tag_)); }
  int tag() const { return tag_; }

 private:
  Log* log_;
  int tag_;
};

// Buttons 0 and 1 leave with their id; 0 leads to screen 100, 1 to none.
class ChoiceScreen : public MenuScreen {
 public:
  explicit ChoiceScreen(Log* log) : MenuScreen("ChoiceScreen"), log_(log) {}
  ~ChoiceScreen() override { log_->lines.push_back("deleted choice"); }
  void init() override {}
  void onButtonClicked(int id) override {
    log_->lines.push_back("clicked " + std::to_string(id));
    if (id == 0 || id == 1) leave(id);
  }
  GameState* makeNextScreen(int code) override {
    log_->lines.push_back("next for " + std::to_string(code));
    return code == 0 ? new TargetScreen(log_, 100) : nullptr;
  }
  using MenuScreen::loadLayout;

 private:
  Log* log_;
};

class MenuScreenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app_.setScreenSize(1366, 768);
    app_.setScaleFactors(1.0f, 1.0f);
    g_played.clear();
    SfxContainer::setRequestHook(&recordSound);
  }
  void TearDown() override {
    SfxContainer::setRequestHook(nullptr);
    app_.deleteQueuedStates();
  }
  // Frames of 16 ms until the top of the stack changes; the count, or -1.
  int framesUntilTopChanges(int limit = 100) {
    GameState* before = app_.topState();
    for (int i = 1; i <= limit; ++i) {
      if (ScreenBase* s = dynamic_cast<ScreenBase*>(app_.topState())) s->update(16);
      app_.deleteQueuedStates();
      if (app_.topState() != before) return i;
    }
    return -1;
  }

  Log log_;
  GameApp app_;
};

TEST_F(MenuScreenTest, HoverAndClickSoundBeforeTheButtonsWork) {
  ChoiceScreen* screen = new ChoiceScreen(&log_);
  app_.changeState(screen);
  screen->onButtonEvent(7, bge::ButtonListener::PointerEntered);
  screen->onButtonEvent(7, bge::ButtonListener::PointerLeft);
  screen->onButtonEvent(7, bge::ButtonListener::Pressed);
  EXPECT_EQ(g_played, (std::vector<std::string>{"SFX_BTN_OVER"}));
  EXPECT_TRUE(log_.lines.empty());
  screen->onButtonEvent(7, bge::ButtonListener::Released);
  EXPECT_EQ(g_played, (std::vector<std::string>{"SFX_BTN_OVER", "SFX_BTN_CLICK"}));
  EXPECT_EQ(log_.lines, (std::vector<std::string>{"clicked 7"}));
  EXPECT_EQ(screen->getPhase(), PhaseEntering);  // an id without work leaves nothing
}

TEST_F(MenuScreenTest, ACodeLeadsToItsScreenAfterTheFadeAndTheOldScreenIsGone) {
  ChoiceScreen* screen = new ChoiceScreen(&log_);
  app_.changeState(screen);
  for (int i = 0; i < 20 && screen->getPhase() != PhaseIdle; ++i) screen->update(16);
  ASSERT_EQ(screen->getPhase(), PhaseIdle);
  screen->onButtonEvent(0, bge::ButtonListener::Released);
  EXPECT_FALSE(screen->getWidgetManager()->isInputEnabled());
  // A fade of 256 ms at 16 ms a frame: it is past its end after 17 frames and
  // hands over on the next; not a frame sooner.
  const int frames = framesUntilTopChanges();
  EXPECT_EQ(frames, 18);
  auto* next = dynamic_cast<TargetScreen*>(app_.topState());
  ASSERT_NE(next, nullptr);
  EXPECT_EQ(next->tag(), 100);
  EXPECT_EQ(app_.states().size(), 1u);
  // The next screen was made before the old one left, and the old one is deleted.
  EXPECT_EQ(log_.lines, (std::vector<std::string>{"clicked 0", "next for 0", "init 100", "deleted choice"}));
}

TEST_F(MenuScreenTest, ACodeWithoutANextScreenOnlyLeaves) {
  app_.changeState(new TargetScreen(&log_, 1));  // something underneath
  ChoiceScreen* screen = new ChoiceScreen(&log_);
  app_.changeState(screen);
  screen->onButtonEvent(1, bge::ButtonListener::Released);
  EXPECT_GT(framesUntilTopChanges(), 0);
  auto* below = dynamic_cast<TargetScreen*>(app_.topState());
  ASSERT_NE(below, nullptr);
  EXPECT_EQ(below->tag(), 1);
  EXPECT_EQ(app_.states().size(), 1u);
  EXPECT_EQ(log_.lines.back(), "deleted choice");
}

TEST_F(MenuScreenTest, BrokenLayoutsBuildNothing) {
  testenv::TempUserDirs dirs;
  ChoiceScreen* screen = new ChoiceScreen(&log_);
  app_.changeState(screen);
  const std::string wrongRoot = dirs.root() + "/wrong.xml";
  std::ofstream(wrongRoot) << "<Layout path=\"x\"><ImageWidget id=\"2\"/></Layout>";
  const std::string broken = dirs.root() + "/broken.xml";
  std::ofstream(broken) << "<Screen path=\"x\"><Button";
  const std::string empty = dirs.root() + "/empty.xml";
  std::ofstream(empty) << "<Screen path=\"x\"><Unknown/></Screen>";
  EXPECT_FALSE(screen->loadLayout(""));
  EXPECT_FALSE(screen->loadLayout(dirs.root() + "/missing.xml"));
  EXPECT_FALSE(screen->loadLayout(broken));
  EXPECT_FALSE(screen->loadLayout(wrongRoot));
  EXPECT_TRUE(screen->loadLayout(empty));  // an unknown element is skipped
  EXPECT_TRUE(screen->layoutWidgets().empty());
  EXPECT_TRUE(screen->buttons().empty());
}

}  // namespace
