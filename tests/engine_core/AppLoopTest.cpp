#include <GL/gl.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "AppConfig.h"
#include "FrameStep.h"
#include "ProcessExit.h"
#include "RecordingState.h"
#include "SDLGameApp.h"
#include "TestEnv.h"
#include "Timer.h"
#include "sdk/QuillonPhysicsSDK.h"

using Journal = std::vector<std::string>;

namespace {
int g_exitCode = -1;
void recordExit(int code) { g_exitCode = code; }

uint64_t g_now = 0;
uint64_t fakeTicks() { return g_now; }

void push(Uint32 type) {
  SDL_Event e;
  SDL_zero(e);
  e.type = type;
  SDL_PushEvent(&e);
}

void pushWindowEvent(Uint8 kind) {
  SDL_Event e;
  SDL_zero(e);
  e.type = SDL_WINDOWEVENT;
  e.window.event = kind;
  SDL_PushEvent(&e);
}

class QuitCountingApp : public SDLGameApp {
 public:
  bool confirmQuit() override {
    ++asked;
    return answer;
  }
  void onQuit() override { std::cerr << "quit hook ran" << std::endl; }
  int asked = 0;
  bool answer = true;
};

// A real hidden window on the test display; the process exit is caught.
class AppLoopTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previousExit_ = setProcessExitHook(&recordExit);
    g_exitCode = -1;
    app_.initSDL();
    app_.setDisplayMode(64, 48, false);
    app_.createWindow(SDL_WINDOW_HIDDEN);
    ASSERT_NE(app_.window(), nullptr);
    app_.setFrameLimit(false);
    state_ = new RecordingState("S", journal_);
    app_.pushState(state_);
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);  // window start-up noise
  }
  void TearDown() override {
    setProcessExitHook(previousExit_);
    AppConfig::destroyInstance();
  }

  testenv::TempUserDirs dirs_;
  Journal journal_;
  QuitCountingApp app_;
  RecordingState* state_ = nullptr;
  ProcessExitHook previousExit_ = nullptr;
};
}  // namespace

TEST_F(AppLoopTest, WindowCloseEndsThroughTheQuitPathWithCodeZero) {
  push(SDL_QUIT);
  EXPECT_FALSE(app_.runFrame());
  EXPECT_EQ(app_.asked, 1);
  EXPECT_EQ(g_exitCode, 0);
  EXPECT_EQ(journal_.back(), "S:exitHook");
  EXPECT_FALSE(app_.runFrame());  // nothing runs after the quit path
}

TEST_F(AppLoopTest, DeclinedQuitIsForgottenAndAskedAgain) {
  app_.answer = false;
  push(SDL_QUIT);
  EXPECT_TRUE(app_.runFrame());
  EXPECT_FALSE(app_.isQuitRequested());
  EXPECT_EQ(g_exitCode, -1);
  push(SDL_QUIT);
  EXPECT_TRUE(app_.runFrame());
  EXPECT_EQ(app_.asked, 2);
}

TEST_F(AppLoopTest, BackKeyQuitsWithoutAsking) {
  app_.answer = false;
  app_.requestImmediateQuit();
  EXPECT_FALSE(app_.runFrame());
  EXPECT_EQ(app_.asked, 0);
  EXPECT_EQ(g_exitCode, 0);
}

TEST_F(AppLoopTest, MinimisedLoopDropsInputButHonoursQuit) {
  pushWindowEvent(SDL_WINDOWEVENT_MINIMIZED);
  EXPECT_TRUE(app_.runFrame());
  EXPECT_FALSE(app_.isWindowActive());
  EXPECT_NE(std::find(journal_.begin(), journal_.end(), "S:minimized"), journal_.end());
  const size_t updates = state_->updates.size();

  SDL_Event key;
  SDL_zero(key);
  key.type = SDL_KEYDOWN;
  key.key.state = SDL_PRESSED;
  key.key.keysym.sym = SDLK_a;
  SDL_PushEvent(&key);
  EXPECT_TRUE(app_.runFrame());  // the key is dropped, not kept for later
  pushWindowEvent(SDL_WINDOWEVENT_RESTORED);
  EXPECT_TRUE(app_.runFrame());
  EXPECT_TRUE(app_.isWindowActive());
  EXPECT_TRUE(app_.runFrame());
  EXPECT_EQ(state_->keyEvents, 0);
  EXPECT_EQ(state_->updates.size(), updates + 1);  // no updates while minimised

  pushWindowEvent(SDL_WINDOWEVENT_MINIMIZED);
  EXPECT_TRUE(app_.runFrame());
  push(SDL_QUIT);
  EXPECT_FALSE(app_.runFrame());
  EXPECT_EQ(g_exitCode, 0);
}

TEST_F(AppLoopTest, FrameTimeIsClampedAndUnscaledForTheStates) {
  const TickSource previous = setTickSource(&fakeTicks);
  g_now = 5000;
  Timer clock;  // a clock on the manual ticks stands in for the application's
  *app_.getTimer() = clock;
  app_.getTimer()->start();
  app_.setTimeScale(0.0f);
  EXPECT_TRUE(app_.runFrame());  // first frame: 0 ms
  g_now += 7;
  EXPECT_TRUE(app_.runFrame());
  g_now += 250;
  EXPECT_TRUE(app_.runFrame());
  setTickSource(previous);
  EXPECT_EQ(state_->updates, (std::vector<int>{0, 7, 16}));
  ASSERT_NE(QuillonPHX2D::g_ptrSDK, nullptr);
  EXPECT_EQ(QuillonPHX2D::g_ptrSDK->timeNow(), 0.0f);  // a time scale of 0 holds the world
}

TEST_F(AppLoopTest, EachFrameStepsTheWorldByItsStep) {
  const TickSource previous = setTickSource(&fakeTicks);
  g_now = 5000;
  *app_.getTimer() = Timer();
  app_.getTimer()->start();
  ASSERT_NE(QuillonPHX2D::g_ptrSDK, nullptr);
  const float start = QuillonPHX2D::g_ptrSDK->timeNow();
  EXPECT_TRUE(app_.runFrame());  // 0 ms: 0.01
  g_now += 7;
  EXPECT_TRUE(app_.runFrame());  // 0.7
  g_now += 250;
  EXPECT_TRUE(app_.runFrame());  // clamped to 16 ms: 1.33
  setTickSource(previous);
  EXPECT_NEAR(QuillonPHX2D::g_ptrSDK->timeNow() - start, 0.01f + 0.7f + 1.33f, 1e-4f);
}

TEST_F(AppLoopTest, PoppingDuringUpdateIsSafeAcrossAWholeFrame) {
  auto* top = new RecordingState("T", journal_);
  app_.pushState(top);
  int renders = 0;
  top->onRender = [&] { ++renders; };
  top->onUpdate = [&] { app_.finishState(top); };
  journal_.clear();
  EXPECT_TRUE(app_.runFrame());
  EXPECT_EQ(renders, 0);  // gone from the stack before rendering
  EXPECT_EQ(journal_, (Journal{"T:update", "T:leave", "S:resume", "T:deleted"}));
}

TEST_F(AppLoopTest, RecreatedWindowUnloadsOnTheOldContextAndReloads) {
  const SDL_GLContext before = SDL_GL_GetCurrentContext();
  ASSERT_NE(before, nullptr);
  SDL_GLContext currentAtLoss = nullptr;
  state_->onLost = [&] { currentAtLoss = SDL_GL_GetCurrentContext(); };
  journal_.clear();
  app_.createWindow(SDL_WINDOW_HIDDEN);
  EXPECT_EQ(currentAtLoss, before);
  EXPECT_EQ(journal_, (Journal{"S:contextLost", "S:contextRestored"}));
  ASSERT_NE(app_.window(), nullptr);
  EXPECT_NE(SDL_GL_GetCurrentContext(), nullptr);
  EXPECT_TRUE(app_.runFrame());
}

TEST_F(AppLoopTest, ContextHasAStencilBuffer) {
  GLint stencil = 0;
  glGetIntegerv(GL_STENCIL_BITS, &stencil);
  EXPECT_GE(stencil, 8);
}

TEST_F(AppLoopTest, ScreenshotsArePngFilesNumberedIntoTheFirstGap) {
  AppConfig::destroyInstance();
  const std::string configPath = dirs_.data() + "/config.xml";
  std::ofstream(configPath) << R"(<Config version="1.1"><Savegame folder="Shots" filename="x"/></Config>)";
  AppConfig::instance()->loadFromFile(configPath);
  // Top half red, bottom half blue, so a flipped image shows.
  state_->onRender = [] {
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 24, 64, 24);
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glScissor(0, 0, 64, 24);
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
  };
  app_.render();
  state_->onRender = nullptr;
  const std::string folder = dirs_.data() + "/Shots/ScreenShots/";
  const std::string first = app_.takeScreenshot();
  EXPECT_EQ(first, folder + "ScrShot1.png");
  for (const char* taken : {"ScrShot3.png", "ScrShot4.png"}) std::ofstream(folder + taken) << "x";
  EXPECT_EQ(app_.takeScreenshot(), folder + "ScrShot2.png");
  EXPECT_EQ(app_.takeScreenshot(), folder + "ScrShot5.png");
  // Each picture is written under another name and renamed once whole; nothing else stays.
  size_t files = 0;
  for (const auto& e : std::filesystem::directory_iterator(folder)) files += e.path().extension() == ".png" ? 1 : 100;
  EXPECT_EQ(5u, files);

  SDL_Surface* image = IMG_Load(first.c_str());
  ASSERT_NE(image, nullptr) << IMG_GetError();
  SDL_Surface* rgba = SDL_ConvertSurfaceFormat(image, SDL_PIXELFORMAT_ABGR8888, 0);
  ASSERT_NE(rgba, nullptr);
  EXPECT_EQ(rgba->w, 64);
  EXPECT_EQ(rgba->h, 48);
  const uint8_t* top = static_cast<const uint8_t*>(rgba->pixels);
  const uint8_t* bottom = top + rgba->pitch * 47;
  EXPECT_EQ(top[0], 255);
  EXPECT_EQ(top[2], 0);
  EXPECT_EQ(bottom[0], 0);
  EXPECT_EQ(bottom[2], 255);
  SDL_FreeSurface(rgba);
  SDL_FreeSurface(image);
  unsigned char signature[4] = {0};
  std::FILE* f = std::fopen(first.c_str(), "rb");
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(std::fread(signature, 1, 4, f), 4u);
  std::fclose(f);
  EXPECT_EQ(signature[1], 'P');
  EXPECT_EQ(signature[2], 'N');
}

TEST_F(AppLoopTest, F8TakesAScreenshot) {
  SDL_Event key;
  SDL_zero(key);
  key.type = SDL_KEYDOWN;
  key.key.state = SDL_PRESSED;
  key.key.keysym.sym = SDLK_F8;
  SDL_PushEvent(&key);
  EXPECT_TRUE(app_.runFrame());
  const std::string expected = dirs_.data() + "/" + AppConfig::instance()->getSaveFolder() +
                               "/ScreenShots/ScrShot1.png";
  EXPECT_TRUE(std::ifstream(expected).good()) << expected;
}
