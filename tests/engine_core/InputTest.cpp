#include <gtest/gtest.h>

#include "InputListener.h"
#include "RecordingState.h"
#include "SDLGameApp.h"
#include "Timer.h"

using Journal = std::vector<std::string>;

namespace {
uint64_t g_now = 0;
uint64_t fakeTicks() { return g_now; }

SDL_Event keyEvent(bool down, SDL_Scancode scancode, uint16_t mod) {
  SDL_Event e;
  SDL_zero(e);
  e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  e.key.keysym.scancode = scancode;
  e.key.keysym.sym = SDL_GetKeyFromScancode(scancode);
  e.key.keysym.mod = mod;
  return e;
}

SDL_Event button(bool down, int x, int y, uint8_t which = SDL_BUTTON_LEFT) {
  SDL_Event e;
  SDL_zero(e);
  e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
  e.button.button = which;
  e.button.x = x;
  e.button.y = y;
  return e;
}

// Keyboard tables need SDL's video subsystem (under Xvfb in the test run).
class InputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    previous_ = setTickSource(&fakeTicks);
    g_now = 10000;
    state_ = new RecordingState("S", journal_);
    app_.pushState(state_);
  }
  void TearDown() override {
    setTickSource(previous_);
    SDL_Quit();
  }

  Journal journal_;
  SDLGameApp app_;
  RecordingState* state_ = nullptr;
  TickSource previous_ = nullptr;
};

class OrderListener : public InputListener {
 public:
  OrderListener(std::string name, Journal& j) : name_(std::move(name)), j_(j) {}
  void onKeyEvent(const KeyEvent&) override { j_.push_back(name_ + ":key"); }
  void onPointingDeviceEvent(const PointingDeviceEvent&) override {}
  void onJoystickEvent(const JoystickEvent&) override {}
  void onPinchZoomEvent(const PinchZoomEvent&) override {}

 private:
  std::string name_;
  Journal& j_;
};
}  // namespace

TEST_F(InputTest, TranslateKeyGivesCharactersOnlyForCharacterCodes) {
  EXPECT_EQ(app_.translateKey('a'), 'a');
  EXPECT_EQ(app_.translateKey('!'), '!');
  EXPECT_EQ(app_.translateKey(SDLK_F1), 0);     // 0x4000003A would give ':' by its low byte
  EXPECT_EQ(app_.translateKey(SDLK_RIGHT), 0);
  EXPECT_EQ(app_.translateKey(0x141), 0);
  EXPECT_EQ(app_.translateKey(-5), 0);
}

TEST_F(InputTest, ShiftMapsLettersAndUsSymbols) {
  app_.handleEvent(keyEvent(true, SDL_SCANCODE_Z, KMOD_LSHIFT));
  EXPECT_EQ(state_->lastKey.kind, KeyEvent::Pressed);
  EXPECT_EQ(state_->lastKey.shiftedKey, 'Z');
  EXPECT_EQ(state_->lastKey.character, 'Z');
  EXPECT_EQ(state_->lastKey.key, SDLK_z);
  EXPECT_EQ(state_->lastKey.scancode, SDL_SCANCODE_Z);

  app_.handleEvent(keyEvent(false, SDL_SCANCODE_1, KMOD_RSHIFT));
  EXPECT_EQ(state_->lastKey.kind, KeyEvent::Released);
  EXPECT_EQ(state_->lastKey.character, '!');

  app_.handleEvent(keyEvent(true, SDL_SCANCODE_1, KMOD_NONE));
  EXPECT_EQ(state_->lastKey.character, '1');
  app_.handleEvent(keyEvent(true, SDL_SCANCODE_F2, KMOD_LSHIFT));
  EXPECT_EQ(state_->lastKey.character, 0);
  EXPECT_EQ(state_->keyEvents, 4);
}

TEST_F(InputTest, BuiltInKeysHandOnAnEmptyEvent) {
  app_.handleEvent(keyEvent(true, SDL_SCANCODE_F4, KMOD_LALT));
  EXPECT_TRUE(app_.isQuitRequested());
  EXPECT_EQ(state_->keyEvents, 1);
  EXPECT_EQ(state_->lastKey.key, 0);
  EXPECT_EQ(state_->lastKey.scancode, 0);
  EXPECT_FALSE(app_.isImmediateQuitRequested());
  // Plain F4 is an ordinary key.
  app_.handleEvent(keyEvent(true, SDL_SCANCODE_F4, KMOD_NONE));
  EXPECT_EQ(state_->lastKey.key, SDLK_F4);
}

TEST_F(InputTest, BackKeyQuitsImmediately) {
  app_.handleEvent(keyEvent(true, SDL_SCANCODE_AC_BACK, KMOD_NONE));
  EXPECT_TRUE(app_.isImmediateQuitRequested());
}

TEST_F(InputTest, ListenersHearKeysFirstLastRegisteredFirstThenStatesTopDown) {
  OrderListener first("L1", journal_), second("L2", journal_);
  app_.addInputListener(&first);
  app_.addInputListener(&second);
  auto* top = new RecordingState("T", journal_);
  app_.pushState(top);
  state_->setActive(true);  // the covered state still listens
  journal_.clear();
  app_.handleEvent(keyEvent(true, SDL_SCANCODE_A, KMOD_NONE));
  EXPECT_EQ(journal_, (Journal{"L2:key", "L1:key", "T:key", "S:key"}));
  app_.removeInputListener(&second);
  journal_.clear();
  state_->setActive(false);
  app_.handleEvent(keyEvent(false, SDL_SCANCODE_A, KMOD_NONE));
  EXPECT_EQ(journal_, (Journal{"L1:key", "T:key"}));
}

TEST_F(InputTest, PointerIsScaledToDesignCoordinates) {
  app_.setScaleFactors(2.0f, 0.5f);
  SDL_Event motion;
  SDL_zero(motion);
  motion.type = SDL_MOUSEMOTION;
  motion.motion.x = 301;
  motion.motion.y = 100;
  motion.motion.xrel = -4;
  motion.motion.yrel = 6;
  motion.motion.state = SDL_BUTTON_LMASK | SDL_BUTTON_MMASK;
  app_.handleEvent(motion);
  ASSERT_EQ(state_->pointer.size(), 1u);
  const PointingDeviceEvent& m = state_->pointer[0];
  EXPECT_EQ(m.kind, PointingDeviceEvent::Moved);
  EXPECT_EQ(m.x, 150);  // truncated
  EXPECT_EQ(m.y, 200);
  EXPECT_EQ(m.dx, -4);  // raw window pixels
  EXPECT_EQ(m.dy, 6);
  EXPECT_EQ(m.buttons, PointingDeviceEvent::Left | PointingDeviceEvent::Middle);
  EXPECT_EQ(m.clicks, 0);
  EXPECT_EQ(app_.getMousePosition(), Point2i(150, 200));

  app_.handleEvent(button(true, 40, 40, SDL_BUTTON_RIGHT));
  EXPECT_EQ(state_->pointer.back().buttons, PointingDeviceEvent::Right);
  EXPECT_EQ(state_->pointer.back().x, 20);
  EXPECT_EQ(state_->pointer.back().y, 80);
}

TEST_F(InputTest, EveryButtonEventWithin100msCountsTowardsTheClicks) {
  app_.handleEvent(button(true, 10, 10));
  g_now += 40;
  app_.handleEvent(button(false, 10, 10));
  g_now += 40;
  app_.handleEvent(button(true, 10, 10));
  ASSERT_EQ(state_->pointer.size(), 3u);
  EXPECT_EQ(state_->pointer[0].clicks, 1);
  EXPECT_EQ(state_->pointer[0].kind, PointingDeviceEvent::Pressed);
  EXPECT_EQ(state_->pointer[1].clicks, 1);  // releases always say 1
  EXPECT_EQ(state_->pointer[1].kind, PointingDeviceEvent::Released);
  EXPECT_EQ(state_->pointer[2].clicks, 3);
  g_now += 100;  // exactly the window: a new click
  app_.handleEvent(button(true, 10, 10));
  EXPECT_EQ(state_->pointer[3].clicks, 1);
}

TEST_F(InputTest, WheelCarriesRawValues) {
  SDL_Event wheel;
  SDL_zero(wheel);
  wheel.type = SDL_MOUSEWHEEL;
  wheel.wheel.y = 1;
  wheel.wheel.x = 0;
  wheel.wheel.which = 3;
  app_.setScaleFactors(2.0f, 2.0f);
  app_.handleEvent(wheel);
  wheel.wheel.y = -2;
  app_.handleEvent(wheel);
  ASSERT_EQ(state_->pointer.size(), 2u);
  EXPECT_EQ(state_->pointer[0].kind, PointingDeviceEvent::WheelUp);
  EXPECT_EQ(state_->pointer[0].buttons, 3);
  EXPECT_EQ(state_->pointer[1].kind, PointingDeviceEvent::WheelDown);
  EXPECT_EQ(state_->pointer[1].y, -2);
}

TEST_F(InputTest, PausedStatesGetNoPointerEvents) {
  app_.pushState(new RecordingState("T", journal_));
  app_.handleEvent(button(true, 1, 1));
  EXPECT_TRUE(state_->pointer.empty());
}

TEST_F(InputTest, PinchKeepsTheFirstCentreAndChainsScales) {
  SDL_Event g;
  SDL_zero(g);
  g.type = SDL_MULTIGESTURE;
  g.mgesture.numFingers = 2;
  g.mgesture.dDist = 0.25f;
  g.mgesture.x = 0.5f;
  g.mgesture.y = 0.25f;
  app_.handleEvent(g);
  g.mgesture.x = 0.9f;
  g.mgesture.dDist = -0.5f;
  app_.handleEvent(g);
  EXPECT_EQ(journal_.back(), "S:pinch");
  const PinchZoomEvent& record = app_.pinchRecord();
  EXPECT_EQ(record.phase, PinchZoomEvent::Continuing);
  EXPECT_FLOAT_EQ(record.previousScale, 1.25f);
  EXPECT_FLOAT_EQ(record.scale, 0.75f);
  EXPECT_FLOAT_EQ(record.delta, -0.5f);
  g.mgesture.numFingers = 3;  // not a pinch
  const size_t before = journal_.size();
  app_.handleEvent(g);
  EXPECT_EQ(journal_.size(), before);
}

TEST(CommandLine, WindowedOnlyForTheExactArgument) {
  const char* nameOnly[] = {"-windowed"};
  EXPECT_FALSE(SDLGameApp::windowedRequested(1, nameOnly));
  const char* named[] = {"-windowed", "-fast"};  // with arguments the name counts too
  EXPECT_TRUE(SDLGameApp::windowedRequested(2, named));
  const char* plain[] = {"Starmoor", "-windowed"};
  EXPECT_TRUE(SDLGameApp::windowedRequested(2, plain));
  const char* near[] = {"Starmoor", "-windowedx", "-Windowed", "windowed"};
  EXPECT_FALSE(SDLGameApp::windowedRequested(4, near));
}
