// The paths that really end the process, checked in child processes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>

#include "ProcessExit.h"
#include "RecordingState.h"
#include "SDLGameApp.h"
#include "TestEnv.h"

namespace {
class LoudState : public RecordingState {
 public:
  using RecordingState::RecordingState;
  void exitHook() override { std::cerr << "state exit hook ran" << std::endl; }
};

class LoudApp : public SDLGameApp {
 public:
  void onQuit() override { std::cerr << "quit hook ran" << std::endl; }
};

void runUntilClosed() {
  std::vector<std::string> journal;
  LoudApp app;
  app.initSDL();
  app.setDisplayMode(32, 32, false);
  app.createWindow(SDL_WINDOW_HIDDEN);
  app.initAudio();
  app.changeState(new LoudState("S", journal));
  SDL_Event quit;
  SDL_zero(quit);
  quit.type = SDL_QUIT;
  SDL_PushEvent(&quit);
  app.run();
  std::cerr << "run returned" << std::endl;
  std::exit(3);
}

void startWithBrokenVideo() {
  setenv("SDL_VIDEODRIVER", "no-such-driver", 1);
  SDLGameApp app;
  app.initSDL();
}

void windowThatCannotBeMade() {
  SDLGameApp app;
  app.initSDL();
  app.setDisplayMode(32, 32, false);
  // Metal does not exist here, so SDL refuses the window.
  app.createWindow(SDL_WINDOW_METAL | SDL_WINDOW_HIDDEN);
  std::cerr << "ran on without a window" << std::endl;
  std::exit(0);
}
}  // namespace

TEST(ProcessExitDeathTest, QuitRunsTheExitHooksThenExitsZero) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  testenv::TempUserDirs dirs;
  EXPECT_EXIT(runUntilClosed(), ::testing::ExitedWithCode(0),
              "state exit hook ran\n(.|\n)*quit hook ran");
}

TEST(ProcessExitDeathTest, FailedSdlStartExitsNonZeroWithTheReason) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(startWithBrokenVideo(), ::testing::ExitedWithCode(1), "SDL_Init failed");
}

TEST(ProcessExitDeathTest, FailedWindowExitsNonZero) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(windowThatCannotBeMade(), ::testing::ExitedWithCode(1), "SDL_CreateWindow failed");
}

TEST(Audio, MissingDeviceLeavesTheGameSilent) {
  const char* old = std::getenv("SDL_AUDIODRIVER");
  const std::string saved = old ? old : "";
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  ASSERT_EQ(SDL_Init(SDL_INIT_TIMER), 0);
  SDL_InitSubSystem(SDL_INIT_AUDIO);  // fails; opening the device fails after it
  {
    SDLGameApp app;
    testing::internal::CaptureStdout();
    app.initAudio();
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("ERROR: Unable to open audio!"), std::string::npos) << out;
    EXPECT_FALSE(app.isAudioOpen());
    EXPECT_EQ(app.getSoundSystem(), nullptr);
  }
  if (old) setenv("SDL_AUDIODRIVER", saved.c_str(), 1); else unsetenv("SDL_AUDIODRIVER");
  SDL_Quit();
}

TEST(Audio, DummyDeviceOpensSixteenChannels) {
  ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
  {
    SDLGameApp app;
    app.initAudio();
    EXPECT_TRUE(app.isAudioOpen());
    EXPECT_NE(app.getSoundSystem(), nullptr);
  }
  SDL_Quit();
}
