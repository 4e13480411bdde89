#include <gtest/gtest.h>
#include <unistd.h>

#include <SDL.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "GameState.h"
#include "JoystickEvent.h"
#include "SDLGameApp.h"

namespace {

class JoystickEvents : public GameState {
 public:
  void onKeyEvent(const KeyEvent&) override {}
  void onPointingDeviceEvent(const PointingDeviceEvent&) override {}
  // A new device also reports its starting axes; the tests look at buttons and moves they make.
  void onJoystickEvent(const JoystickEvent& event) override {
    if (recording) events.push_back(event);
  }
  bool recording = false;
  void onPinchZoomEvent(const PinchZoomEvent&) override {}
  void activate(GameApp*) override {}
  void enter(GameApp*) override {}
  void leave(GameApp*) override {}
  void pause(GameApp*) override {}
  void resume(GameApp*) override {}
  void render(Graphics*) override {}
  void update(int) override {}
  void onContextLost() override {}
  void onContextRestored() override {}
  std::vector<JoystickEvent> events;
};

class HookedApp : public SDLGameApp {
 public:
  void onJoystickAdded() override { ++added; }
  void onJoystickRemoved() override { ++removed; }
  int added = 0;
  int removed = 0;
};

class JoystickTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(SDL_Init(SDL_INIT_EVENTS | SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER), 0)
        << SDL_GetError();
    app_ = new HookedApp();
    state_ = new JoystickEvents();
    app_->pushState(state_);
    pump();
  }
  void TearDown() override {
    delete app_;  // closes what it holds
    for (int i = SDL_NumJoysticks() - 1; i >= 0; --i) {
      if (SDL_JoystickIsVirtual(i)) SDL_JoystickDetachVirtual(i);
    }
    SDL_QuitSubSystem(SDL_INIT_EVENTS | SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER);
  }
  // The frame loop's share: joystick update, then every queued event.
  void pump() {
    SDL_JoystickUpdate();
    SDL_Event event;
    while (SDL_PollEvent(&event)) app_->handleEvent(event);
  }
  SDL_JoystickID attach() {
    const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_UNKNOWN, 4, 12, 1);
    EXPECT_GE(index, 0) << SDL_GetError();
    const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(index);
    pump();
    pump();  // the new device's starting state arrives with the next update
    return id;
  }
  void detach(SDL_JoystickID id) {
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
      if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
    }
    pump();
  }
  SDL_Joystick* held(SDL_JoystickID id) const {
    auto it = app_->joystickTables().joysticks.find(id);
    return it == app_->joystickTables().joysticks.end() ? nullptr : it->second;
  }

  HookedApp* app_ = nullptr;
  JoystickEvents* state_ = nullptr;
};

TEST_F(JoystickTest, WithoutJoysticksOnlyTheHeaderIsPrinted) {
  testing::internal::CaptureStdout();
  app_->initJoysticks();
  const std::string out = testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find("Joysticks detected and registered = 0"), std::string::npos);
  EXPECT_NE(out.find("GamePad mappings loaded from database = "), std::string::npos);
  EXPECT_EQ(out.find("JOYSTICK #"), std::string::npos);
  EXPECT_TRUE(app_->joystickTables().joysticks.empty());
  EXPECT_EQ(app_->joystickMapping().getName(), "DefaultJoystick");
}

TEST_F(JoystickTest, AddedButtonsReachTheStatesAndRemovalClosesTheDevice) {
  const SDL_JoystickID id = attach();
  EXPECT_EQ(app_->added, 1);
  SDL_Joystick* joystick = held(id);
  ASSERT_NE(joystick, nullptr);
  EXPECT_EQ(app_->joystickMapping().getName(), SDL_JoystickName(joystick));

  state_->recording = true;
  ASSERT_EQ(SDL_JoystickSetVirtualButton(joystick, 2, SDL_PRESSED), 0);
  pump();
  ASSERT_EQ(SDL_JoystickSetVirtualButton(joystick, 2, SDL_RELEASED), 0);
  pump();
  ASSERT_EQ(state_->events.size(), 2u);
  EXPECT_EQ(state_->events[0].type, 1539);
  EXPECT_EQ(state_->events[1].type, 1540);
  for (const JoystickEvent& e : state_->events) {
    EXPECT_EQ(e.button, 2);
    EXPECT_EQ(e.which, id);
    EXPECT_EQ(e.joystick, joystick);
    EXPECT_EQ(e.axis, -1);
  }
  EXPECT_EQ(app_->lastJoystickEvent().type, 1540);

  ASSERT_EQ(SDL_JoystickSetVirtualAxis(joystick, 1, -12000), 0);
  pump();
  ASSERT_EQ(state_->events.size(), 3u);
  EXPECT_EQ(state_->events[2].type, 1536);
  EXPECT_EQ(state_->events[2].axis, 1);
  EXPECT_EQ(state_->events[2].axisValue, -12000);

  detach(id);
  EXPECT_EQ(app_->removed, 1);
  EXPECT_TRUE(app_->joystickTables().joysticks.empty());
  EXPECT_TRUE(app_->joystickTables().controllers.empty());
  EXPECT_EQ(app_->joystickMapping().getName(), "N/A");
  EXPECT_EQ(SDL_JoystickFromInstanceID(id), nullptr) << "an unplugged device is closed";
}

// Every plug-in rescans: devices already held are not opened a second time,
// and each event names the device it came from.
TEST_F(JoystickTest, SeveralDevicesKeepTheirOwnHandlesAndAreOpenedOnce) {
  const SDL_JoystickID first = attach();
  const SDL_JoystickID second = attach();
  EXPECT_EQ(app_->added, 2);
  ASSERT_NE(held(first), nullptr);
  ASSERT_NE(held(second), nullptr);
  EXPECT_NE(held(first), held(second));

  state_->recording = true;
  ASSERT_EQ(SDL_JoystickSetVirtualButton(held(second), 5, SDL_PRESSED), 0);
  pump();
  ASSERT_EQ(state_->events.size(), 1u);
  EXPECT_EQ(state_->events[0].joystick, held(second));
  EXPECT_EQ(state_->events[0].which, second);

  detach(first);
  EXPECT_EQ(held(first), nullptr);
  EXPECT_NE(held(second), nullptr) << "the other device stays open";

  app_->closeJoysticks();
  EXPECT_TRUE(app_->joystickTables().joysticks.empty());
  EXPECT_EQ(SDL_JoystickFromInstanceID(second), nullptr)
      << "one close releases it, so it was opened once";
}

TEST(JoystickMappingTest, DefaultsAreIdentityWithFullAndEighthRanges) {
  JoystickButtonMapping mapping;
  EXPECT_EQ(mapping.getName(), "DefaultJoystick");
  EXPECT_EQ(mapping.getButton(15), 15);
  EXPECT_EQ(mapping.getAxis(5), 5);
  EXPECT_EQ(mapping.getAxisButton(0), -1);
  EXPECT_EQ(mapping.getAxisRange(3), std::make_pair(-32768, 32767));
  EXPECT_EQ(mapping.getInnerRange(3), std::make_pair(-4096, 4095));
  mapping.setButton(16, 3);  // SDL has buttons beyond ours
  mapping.setButton(-1, 3);
  mapping.setAxis(6, 3);
  EXPECT_EQ(mapping.getButton(16), -1);
  EXPECT_EQ(mapping.getAxis(6), -1);
}

TEST_F(JoystickTest, MappingLinesBindButtonsAndAxesAndUnbindOddCases) {
  testing::internal::CaptureStdout();
  app_->readJoystickMapping(
      "0300000000000000,Test Pad,a:b7,start:b11,leftx:b5,righty:a0,lefttrigger:a4,x:a3,"
      "dpup:h0.1,misc1:b20,garbage,,back:");
  const std::string out = testing::internal::GetCapturedStdout();
  const JoystickButtonMapping& m = app_->joystickMapping();
  EXPECT_EQ(m.getButton(SDL_CONTROLLER_BUTTON_A), 7);
  EXPECT_EQ(m.getButton(SDL_CONTROLLER_BUTTON_START), 11);
  EXPECT_EQ(m.getAxis(SDL_CONTROLLER_AXIS_LEFTX), -1) << "an axis on a button unbinds it";
  EXPECT_EQ(m.getAxis(SDL_CONTROLLER_AXIS_RIGHTY), 0);
  EXPECT_EQ(m.getAxis(SDL_CONTROLLER_AXIS_TRIGGERLEFT), 4);
  EXPECT_EQ(m.getButton(SDL_CONTROLLER_BUTTON_X), -1) << "a button on an axis unbinds it";
  EXPECT_EQ(m.getButton(SDL_CONTROLLER_BUTTON_DPAD_UP), SDL_CONTROLLER_BUTTON_DPAD_UP);
  EXPECT_EQ(m.getButton(SDL_CONTROLLER_BUTTON_BACK), SDL_CONTROLLER_BUTTON_BACK);
  EXPECT_NE(out.find("GUID = 0300000000000000"), std::string::npos);
  EXPECT_NE(out.find("Name = Test Pad"), std::string::npos);
  EXPECT_NE(out.find("leftx:b5 --> Button #5 binding to Axis #0 - ODD CASE"), std::string::npos);
}

// The database in the working folder names the pad: its line is what is read.
TEST_F(JoystickTest, APadListedInTheDatabaseGetsItsLine) {
  // SDL keys mappings by vendor and product, so the pad needs both.
  SDL_VirtualJoystickDesc desc;
  SDL_zero(desc);
  desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
  desc.type = SDL_JOYSTICK_TYPE_UNKNOWN;
  desc.naxes = 6;
  desc.nbuttons = 12;
  desc.nhats = 1;
  desc.vendor_id = 0x2e8a;
  desc.product_id = 0x7731;
  desc.name = "Bench Pad";
  const int index = SDL_JoystickAttachVirtualEx(&desc);
  ASSERT_GE(index, 0) << SDL_GetError();
  char guid[33];
  SDL_JoystickGetGUIDString(SDL_JoystickGetDeviceGUID(index), guid, sizeof guid);
  char here[4096];
  ASSERT_NE(getcwd(here, sizeof here), nullptr);
  char folder[] = "/tmp/starmoor-pads-XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  ASSERT_EQ(chdir(folder), 0);
  std::filesystem::create_directories("content/config");
  std::ofstream("content/config/gamepadconfigs.txt")
      << "# test pads\n" << guid
      << ",Bench Pad,a:b3,start:b0,rightx:a5,lefttrigger:a1,platform:Linux,\n";
  pump();
  ASSERT_EQ(chdir(here), 0);
  std::filesystem::remove_all(folder);
  const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(index);
  ASSERT_NE(held(id), nullptr);
  const JoystickButtonMapping& m = app_->joystickMapping();
  EXPECT_EQ(m.getButton(SDL_CONTROLLER_BUTTON_A), 3);
  EXPECT_EQ(m.getButton(SDL_CONTROLLER_BUTTON_START), 0);
  EXPECT_EQ(m.getAxis(SDL_CONTROLLER_AXIS_RIGHTX), 5);
  EXPECT_EQ(m.getAxis(SDL_CONTROLLER_AXIS_TRIGGERLEFT), 1);
  EXPECT_EQ(app_->joystickTables().controllers.count(id), 1u) << "a mapped pad opens as a gamepad";
}

TEST(JoystickDatabaseTest, OurDatabaseParses) {
  ASSERT_EQ(SDL_Init(SDL_INIT_GAMECONTROLLER), 0);
  EXPECT_GE(SDL_GameControllerAddMappingsFromFile(
                STARMOOR_SOURCE_DIR "/content/config/gamepadconfigs.txt"), 0) << SDL_GetError();
  SDL_JoystickGUID pad = SDL_JoystickGetGUIDFromString("030000005e0400008e02000010010000");
  char* mapping = SDL_GameControllerMappingForGUID(pad);
  ASSERT_NE(mapping, nullptr);
  EXPECT_NE(std::string(mapping).find("Starmoor Xbox 360 Pad"), std::string::npos) << mapping;
  SDL_free(mapping);
  SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

// Without the database the built-in layout is read.
TEST_F(JoystickTest, WithoutTheDatabaseTheBuiltInLayoutApplies) {
  const SDL_JoystickID id = attach();  // the test's folder holds no database
  ASSERT_NE(held(id), nullptr);
  const JoystickButtonMapping& m = app_->joystickMapping();
  EXPECT_EQ(m.getAxis(SDL_CONTROLLER_AXIS_RIGHTX), 2);
  EXPECT_EQ(m.getButton(SDL_CONTROLLER_BUTTON_START), 9);
}

}  // namespace
