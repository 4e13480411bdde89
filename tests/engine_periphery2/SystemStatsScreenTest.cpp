#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "AppConfig.h"
#include "DisplayConfigurations.h"
#include "KeyEvent.h"
#include "PeripheryTestSupport.h"
#include "ResourceManager.h"
#include "SDLGameApp.h"
#include "SystemStatsScreen.h"
#include "TestEnv.h"

namespace {

class ScreenshotApp : public SDLGameApp {
 public:
  void saveScreenshot(const std::string& path) override { screenshots.push_back(path); }
  void frames(int count) {
    for (int i = 0; i < count; ++i) {
      update(16);
      deleteQueuedStates();
    }
  }
  std::vector<std::string> screenshots;
};

// A plain screen to sit under the statistics page.
class Backdrop : public ScreenBase {
 public:
  Backdrop() : ScreenBase("Backdrop") {}
  void prepare() override {}
  void init() override {}
};

std::vector<std::string> readLines(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

KeyEvent escape() {
  KeyEvent e;
  e.kind = KeyEvent::Pressed;
  e.key = 27;
  return e;
}

class SystemStatsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
    std::ofstream(dirs_.root() + "/config.xml")
        << "<Config><Application><WindowCaption name=\"Starmoor Test\"/></Application>"
           "<Savegame folder=\"StarmoorTest\" filename=\"t.sav\"/></Config>";
    std::ofstream(dirs_.root() + "/SystemInfo.xml")
        << "<SystemInfo><Configurations><Default alias=\"a-hd\" width=\"1280\" height=\"720\"/>"
           "<Config alias=\"b-fhd\" width=\"1920\" height=\"1080\"/>"
           "<Config alias=\"c-xga\" width=\"1024\" height=\"768\"/></Configurations></SystemInfo>";
    AppConfig::destroyInstance();
    ASSERT_TRUE(AppConfig::instance()->loadFromFile(dirs_.root() + "/config.xml"));
    app_ = new ScreenshotApp();
    app_->setScreenSize(1366, 768);
    app_->setDisplayConfigurations(new DisplayConfigurations(dirs_.root() + "/SystemInfo.xml"));
    app_->getDisplayConfigurations()->setResolutions(new DisplayMode(1280, 720),
                                                     new DisplayMode(1366, 768));
  }
  void TearDown() override {
    delete app_;
    AppConfig::destroyInstance();
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
  }
  std::string folder() const { return dirs_.data() + "/StarmoorTest/Stats"; }

  testenv::TempUserDirs dirs_;
  ScreenshotApp* app_ = nullptr;
};

TEST_F(SystemStatsTest, ReportListsTheSystemAndIsWrittenOnceShown) {
  auto* screen = new SystemStatsScreen();
  app_->changeState(screen);
  const std::vector<std::string>& lines = screen->getLines();
  ASSERT_GE(lines.size(), 17u);
  EXPECT_EQ(lines[0], "[ESC - exit from this screen]");
  EXPECT_EQ(lines[2], "Application Title: Starmoor Test");
  EXPECT_FALSE(lines[3].empty());
  EXPECT_EQ(lines[5], "full screen = 0");
  EXPECT_EQ(lines[7], "Drivers count = " + std::to_string(SDL_GetNumVideoDrivers()));
  EXPECT_EQ(lines[8], std::string("driver =") + SDL_GetVideoDriver(0));
  const size_t supported = std::find(lines.begin(), lines.end(), "Supported resolutions:") - lines.begin();
  ASSERT_LT(supported + 4, lines.size());
  EXPECT_EQ(lines[supported + 1], "[1280 x 720]");
  EXPECT_EQ(lines[supported + 2], "[1920 x 1080]");
  EXPECT_EQ(lines[supported + 3], "[1024 x 768]");
  EXPECT_EQ(lines[lines.size() - 2], "game picked display res [1280 x 720]");
  EXPECT_EQ(lines.back(), "artwork res [1366 x 768]");

  EXPECT_FALSE(std::filesystem::exists(folder() + "/LOG-Stats.txt")) << "only once shown";
  app_->frames(20);
  EXPECT_EQ(readLines(folder() + "/LOG-Stats.txt"), lines);
  EXPECT_EQ(app_->screenshots, std::vector<std::string>{folder() + "/Stats-Image.png"});
  app_->frames(20);
  EXPECT_EQ(app_->screenshots.size(), 1u);
}

TEST_F(SystemStatsTest, OpeningAgainReplacesTheOlderReport) {
  std::filesystem::create_directories(folder());
  {
    std::ofstream old(folder() + "/LOG-Stats.txt");
    for (int i = 0; i < 200; ++i) old << "an older and much longer report line " << i << "\n";
  }
  auto* screen = new SystemStatsScreen();
  app_->changeState(screen);
  app_->frames(20);
  EXPECT_EQ(readLines(folder() + "/LOG-Stats.txt"), screen->getLines());
}

TEST_F(SystemStatsTest, EscapeFadesOutOnceAndPopsThePage) {
  app_->changeState(new Backdrop());
  auto* screen = new SystemStatsScreen();
  app_->changeState(screen);
  app_->frames(20);
  KeyEvent up = escape();
  up.kind = KeyEvent::Released;
  screen->onKeyEvent(up);
  EXPECT_NE(screen->getPhase(), PhaseExiting) << "a release does not close the page";
  screen->onKeyEvent(escape());
  EXPECT_EQ(screen->getPhase(), PhaseExiting);
  app_->frames(10);
  screen->onKeyEvent(escape());  // ignored: the fade already runs
  app_->frames(8);                // 18 frames > 256 ms from the first Escape
  ASSERT_EQ(app_->states().size(), 1u);
  EXPECT_NE(dynamic_cast<Backdrop*>(app_->states().back()), nullptr);
}

// A data folder of "/" must not put the report at the filesystem root.
TEST_F(SystemStatsTest, ARootDataFolderDoesNotPutTheReportAtTheRoot) {
  setenv("XDG_DATA_HOME", "/", 1);
  const std::string here = std::filesystem::current_path();
  std::filesystem::current_path(dirs_.root());
  const std::string reportAt = SystemStatsScreen::reportFolder();
  const bool rootHadStats = std::filesystem::exists("/StarmoorTest");
  auto* screen = new SystemStatsScreen();
  app_->changeState(screen);
  app_->frames(20);
  std::filesystem::current_path(here);
  EXPECT_NE(reportAt.rfind("/StarmoorTest", 0), 0u) << reportAt;
  EXPECT_FALSE(reportAt.empty());
  EXPECT_EQ(std::filesystem::exists("/StarmoorTest"), rootHadStats);
  ASSERT_EQ(app_->screenshots.size(), 1u);
  EXPECT_NE(app_->screenshots[0].rfind("/StarmoorTest", 0), 0u);
}

TEST_F(SystemStatsTest, CtrlBackquoteOpensOnePageOverTheTopScreen) {
  app_->changeState(new Backdrop());
  SDL_Event e;
  SDL_zero(e);
  e.type = SDL_KEYDOWN;
  e.key.state = SDL_PRESSED;
  e.key.keysym.scancode = SDL_SCANCODE_GRAVE;
  e.key.keysym.sym = SDLK_BACKQUOTE;
  e.key.keysym.mod = KMOD_LCTRL;
  app_->handleEvent(e);
  ASSERT_EQ(app_->states().size(), 2u);
  EXPECT_NE(dynamic_cast<SystemStatsScreen*>(app_->states().back()), nullptr);
  app_->handleEvent(e);
  EXPECT_EQ(app_->states().size(), 2u) << "not a second page over the first";
  e.key.keysym.mod = KMOD_NONE;
  app_->handleEvent(e);
  EXPECT_EQ(app_->states().size(), 2u) << "the back-quote alone is an ordinary key";
}

TEST(SystemStatsLinesTest, ADisplayWithoutANameIsStillListed) {
  std::vector<std::string> lines;
  SDL_Rect bounds{0, 0, 1920, 1080};
  SystemStatsScreen::appendDisplayLines(lines, nullptr, bounds, 1920, 1080, 1366, 768);
  SystemStatsScreen::appendDisplayLines(lines, "Panel", bounds, 1920, 1080, 1920, 1080);
  const std::vector<std::string> expected = {
      "display =unknown[1920, 1080]", "desktop res [1920 x 1080]", "current res [1366 x 768]", "",
      "display =Panel[1920, 1080]",   "desktop res [1920 x 1080]", "current res [1920 x 1080]", ""};
  EXPECT_EQ(lines, expected);
}

TEST_F(SystemStatsTest, PageIsWrittenInColumnsOfTwentyWithASmallFont) {
  auto* large = new StandInFont(46);
  auto* small = new StandInFont(16);
  app_->globalResourceManager()->registerFont("FONT_A_LARGE", large);
  app_->globalResourceManager()->registerFont("FONT_B_SMALL", small);
  auto* screen = new SystemStatsScreen();
  app_->changeState(screen);
  RecordingGraphics g;
  screen->drawForeground(&g);
  EXPECT_TRUE(large->texts.empty());
  ASSERT_EQ(small->texts.size(), screen->getLines().size() + 1);
  ASSERT_EQ(g.callsOf("fillRect").size(), 1u);
  EXPECT_EQ(g.callsOf("fillRect")[0].color.b, 96);
  EXPECT_EQ(g.callsOf("fillRect")[0].color.a, 196);

  EXPECT_EQ(small->texts[0].text, "LOG: " + folder());
  EXPECT_EQ(small->texts[0].x, 32);
  EXPECT_EQ(small->texts[0].y, 8);
  EXPECT_EQ(small->texts[0].color.g, 255);
  EXPECT_EQ(small->texts[0].color.r, 0);
  ASSERT_GT(screen->getLines().size(), 21u);
  for (size_t i = 0; i < screen->getLines().size(); ++i) {
    const auto& t = small->texts[i + 1];
    const int row = static_cast<int>(i % 20);
    const int column = static_cast<int>(i / 20);
    EXPECT_EQ(t.x, column == 0 ? 32 : column * 400) << "line " << i;
    EXPECT_EQ(t.y, 18 * row + 32) << "line " << i;
    EXPECT_EQ(t.color.b, i == 3 ? 255 : 0) << "line " << i;
    EXPECT_EQ(t.color.g, 255);
  }
}

TEST_F(SystemStatsTest, WithoutASuitableFontARedCrossIsDrawn) {
  app_->globalResourceManager()->registerFont("FONT_HUGE", new StandInFont(46));
  auto* screen = new SystemStatsScreen();
  app_->changeState(screen);
  RecordingGraphics g;
  screen->drawForeground(&g);
  ASSERT_EQ(g.callsOf("fillRect").size(), 1u);
  EXPECT_EQ(g.callsOf("fillRect")[0].color.r, 96);
  EXPECT_EQ(g.callsOf("fillRect")[0].color.b, 0);
  ASSERT_EQ(g.callsOf("drawLine").size(), 2u);
  EXPECT_FLOAT_EQ(g.callsOf("drawLine")[0].extra, 2.0f);
  EXPECT_EQ(g.callsOf("drawLine")[0].color.r, 255);
  EXPECT_EQ(g.callsOf("drawLine")[0].color.b, 0);
}

}  // namespace
