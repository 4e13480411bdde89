// The demonstration screen in a real hidden window: it builds every widget
// kind from its layout, a scripted click on its button opens the dialog, F8
// writes a screenshot of it, and the dialog's OK button closes it again.
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "AppConfig.h"
#include "DynamicResources/SceneMusicContainer.h"
#include "DynamicResources/SfxContainer.h"
#include "LabelManager.h"
#include "LayoutDemoScreen.h"
#include "ResourceManager.h"
#include "SDLGameApp.h"
#include "System/GameFonts.h"
#include "TestEnv.h"
#include "Timer.h"
#include "WidgetManager.h"
#include "WidgetTestSupport.h"
#include "widgets/Dialog.h"

namespace {

uint64_t g_now = 0;
uint64_t fakeTicks() { return g_now; }

void pushMouse(Uint32 type, int x, int y) {
  SDL_Event e;
  SDL_zero(e);
  e.type = type;
  if (type == SDL_MOUSEMOTION) {
    e.motion.x = x;
    e.motion.y = y;
  } else {
    e.button.button = SDL_BUTTON_LEFT;
    e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.button.x = x;
    e.button.y = y;
    e.button.clicks = 1;
  }
  SDL_PushEvent(&e);
}

void pushKey(SDL_Keycode key) {
  for (Uint32 type : {SDL_KEYDOWN, SDL_KEYUP}) {
    SDL_Event e;
    SDL_zero(e);
    e.type = type;
    e.key.keysym.sym = key;
    e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    SDL_PushEvent(&e);
  }
}

class DemoScreenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previousDir_ = std::filesystem::current_path();
    std::filesystem::current_path(STARMOOR_SOURCE_DIR);
    previousTicks_ = setTickSource(&fakeTicks);
    g_now = 1000;
    app_.initSDL();
    app_.initAudio();
    app_.setDisplayMode(1366, 768, false);
    app_.setScaleFactors(1.0f, 1.0f);
    app_.createWindow(SDL_WINDOW_HIDDEN);
    app_.setFrameLimit(false);
    app_.gameMessages()->loadFromXml("content/strings/english.xml");
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  }
  void TearDown() override {
    setTickSource(previousTicks_);
    SfxContainer::destroyInstance();
    SceneMusicContainer::destroyInstance();
    AppConfig::destroyInstance();
    std::filesystem::current_path(previousDir_);
  }
  void frames(int n) {
    for (int i = 0; i < n; ++i) {
      g_now += 16;
      ASSERT_TRUE(app_.runFrame());
    }
  }
  void click(int x, int y) {
    pushMouse(SDL_MOUSEMOTION, x, y);
    pushMouse(SDL_MOUSEBUTTONDOWN, x, y);
    pushMouse(SDL_MOUSEBUTTONUP, x, y);
  }

  testenv::TempUserDirs dirs_;
  std::filesystem::path previousDir_;
  TickSource previousTicks_ = nullptr;
  SDLGameApp app_;
};

TEST_F(DemoScreenTest, ClickOpensTheDialogAndF8ShowsIt) {
  ASSERT_NE(nullptr, app_.window()) << SDL_GetError();
  auto* screen = new LayoutDemoScreen();
  app_.changeState(screen);
  frames(60);  // the fade in, the entry fades
  ASSERT_EQ(screen, app_.topState());
  // Background, five labels, button, slider, check box, radio list, two animations.
  EXPECT_EQ(12, screen->getWidgetsBuilt());
  EXPECT_EQ(2, screen->getDifficulty());  // the layout's selected row
  EXPECT_EQ(static_cast<int>(219.0f / 292.0f * 128.0f), screen->getSoundVolume());
  EXPECT_EQ(nullptr, screen->getDialog());

  click(683, 243);  // the "Open dialog" button
  frames(2);
  bge::Dialog* dialog = screen->getDialog();
  ASSERT_NE(nullptr, dialog);
  frames(40);
  EXPECT_TRUE(dialog->isOpen());
  Widget* ok = dialog->findChild(10);
  ASSERT_NE(nullptr, ok);
  EXPECT_TRUE(screen->getWidgetManager()->contains(ok));

  pushKey(SDLK_F8);
  frames(1);
  const std::string shot =
      dirs_.data() + "/" + AppConfig::instance()->getSaveFolder() + "/ScreenShots/ScrShot1.png";
  SDL_Surface* image = IMG_Load(shot.c_str());
  ASSERT_NE(nullptr, image) << shot;
  EXPECT_EQ(1366, image->w);
  EXPECT_EQ(768, image->h);
  // Not a blank frame: the picture has many colours in it.
  SDL_Surface* rgba = SDL_ConvertSurfaceFormat(image, SDL_PIXELFORMAT_RGBA32, 0);
  std::set<Uint32> colours;
  for (int y = 0; y < rgba->h; y += 7) {
    const Uint32* row = reinterpret_cast<const Uint32*>(static_cast<Uint8*>(rgba->pixels) + y * rgba->pitch);
    for (int x = 0; x < rgba->w; x += 7) colours.insert(row[x]);
  }
  EXPECT_GT(colours.size(), 50u);
  if (const char* keep = std::getenv("STARMOOR_KEEP_SCREENSHOT")) IMG_SavePNG(image, keep);
  SDL_FreeSurface(rgba);
  SDL_FreeSurface(image);

  click(static_cast<int>(ok->getX()) + 120, static_cast<int>(ok->getY()) + 28);
  frames(40);
  EXPECT_EQ(nullptr, screen->getDialog());
  EXPECT_EQ(10, screen->getLastDialogResult());

  // Escape leaves through the fade.
  pushKey(SDLK_ESCAPE);
  frames(60);
  EXPECT_EQ(nullptr, app_.topState());
  EXPECT_TRUE(app_.states().empty());
}

}  // namespace

namespace {

// The screens used to look fonts up in opposite orders: a screen's own font
// must win over the global one of the same id, as it does for layout widgets.
TEST_F(DemoScreenTest, GameFontsAreTheScreensOwnThenGlobalThenLoaded) {
  ResourceManager* global = app_.globalResourceManager();
  ASSERT_NE(nullptr, global);
  auto* globalFont = new widgettest::FixedFont();
  global->registerFont("FONT_NOTOSANS20", globalFont);
  ResourceManager own;
  auto* ownFont = new widgettest::FixedFont();
  own.registerFont("FONT_NOTOSANS20", ownFont);
  EXPECT_EQ(ownFont, findOrLoadFont(&own, "FONT_NOTOSANS20"));
  ResourceManager bare;
  EXPECT_EQ(globalFont, findOrLoadFont(&bare, "FONT_NOTOSANS20"));
  EXPECT_EQ(nullptr, findOrLoadFont(&bare, "FONT_UNKNOWN"));
  Font* loaded = findOrLoadFont(&bare, "FONT_NOTOSANS46");
  ASSERT_NE(nullptr, loaded);
  EXPECT_GT(loaded->getLineHeight(), 40);
  EXPECT_EQ(loaded, bare.findFont("FONT_NOTOSANS46"));
  EXPECT_EQ(loaded, findOrLoadFont(&bare, "FONT_NOTOSANS46"));
  EXPECT_EQ(nullptr, global->findFont("FONT_NOTOSANS46"));
}

}  // namespace
