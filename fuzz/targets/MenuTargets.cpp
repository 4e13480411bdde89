// The game's own screens over their files: every menu layout, the encyclopedia
// pages with the entity files their layouts list, the new-game question, the
// level's command bridge and the intro's entity files. Each screen reads a fixed
// path, so the input takes that file's place in a tree of links to the source
// tree; the screen is then entered, updated, drawn and hovered over for a while.
#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "Game/IntroScreen.h"
#include "Game/LevelScreen.h"
#include "GameApp.h"
#include "LevelRunner.h"
#include "Menus/EncyclopediaPages.h"
#include "Menus/EncyclopediaScreen.h"
#include "Menus/GameHelpScreen.h"
#include "Menus/GamePauseScreen.h"
#include "Menus/GameProgressDialog.h"
#include "Menus/MainMenu.h"
#include "Menus/MissionControl.h"
#include "Menus/OptionsScreen.h"
#include "Menus/PostLevelScreen.h"
#include "Menus/ResolutionScreen.h"
#include "PointingDeviceEvent.h"
#include "ScreenBase.h"
#include "Targets.h"
#include "Widget.h"
#include "sdk/QuillonPhysicsSDK.h"

namespace fuzz {

namespace {

// Stays short of the fades: a screen that leaves pushes its successor onto the
// application, and the screens here are not on its stack.
const int kFrameTimes[] = {16, 16, 1, 0, 16, 33, 16, 16, 5, 16};

int clampToScreen(float v, int limit) {
  if (!std::isfinite(v)) return 0;
  return static_cast<int>(std::min(std::max(v, -10.0f), static_cast<float>(limit) + 10.0f));
}

void hoverEverything(ScreenBase& screen) {
  std::vector<std::pair<int, int>> spots;
  for (const Widget* w : screen.getWidgets()) {
    const Rect5& r = w->getGeometry();
    spots.emplace_back(clampToScreen(r.x + r.width * 0.5f, 1366), clampToScreen(r.y + r.height * 0.5f, 768));
  }
  for (const auto& spot : spots) {
    PointingDeviceEvent e;
    e.kind = PointingDeviceEvent::Moved;
    e.x = spot.first;
    e.y = spot.second;
    screen.onPointingDeviceEvent(e);
  }
}

// Enters the screen with the input in place of its file, and plays it a little.
void exercise(const std::string& file, const uint8_t* data, size_t size,
              const std::function<ScreenBase*()>& make) {
  writeReplacedContent(file, data, size);
  InReplacedTree inside(file);
  std::unique_ptr<ScreenBase> screen(make());
  screen->enter(GameApp::instance());
  CheckingGraphics g;
  for (int dt : kFrameTimes) {
    screen->update(dt);
    screen->render(&g);
  }
  hoverEverything(*screen);
  screen->update(16);
  screen->render(&g);
}

class NoListener : public OptionsMenuListener {
 public:
  void optionsMenuClosed() override {}
};

// The screen the new-game question opens over.
class Parent : public ScreenBase {
 public:
  Parent() : ScreenBase("Parent") {}
  void prepare() override {}
  void init() override {}
};

}  // namespace

void fuzzMenuScreens(const uint8_t* data, size_t size) {
  NoListener listener;
  Parent parent;
  const std::pair<const char*, std::function<ScreenBase*()>> screens[] = {
      {MainMenu::kLayoutFile, [] { return new MainMenu(0); }},
      {MissionControl::kLayoutFile, [] { return new MissionControl(0); }},
      {GamePauseScreen::kLayoutFile, [] { return new GamePauseScreen(); }},
      {GameHelpScreen::kLayoutFile, [] { return new GameHelpScreen(); }},
      {PostLevelScreen::kLayoutFile, [] { return new PostLevelScreen(LevelStats()); }},
      {OptionsScreen::kLayoutFile, [&listener] { return new OptionsScreen(false, &listener); }},
      {ResolutionScreen::kLayoutFile, [] { return new ResolutionScreen(); }},
      {EncyclopediaScreen::kLayoutFile, [] { return new EncyclopediaScreen(); }},
      {EncyclopediaAliensScreen::kLayoutFile, [] { return new EncyclopediaAliensScreen(); }},
      {EncyclopediaTowersScreen::kLayoutFile, [] { return new EncyclopediaTowersScreen(); }},
      {GameProgressDialog::kDialogFile, [&parent] { return new GameProgressDialog(&parent); }},
  };
  for (const auto& screen : screens) exercise(screen.first, data, size, screen.second);
}

void fuzzGameScreens(const uint8_t* data, size_t size) {
  levelrunner::ensureCollisionCatalogue();
  // The level builds its command bridge from its layout while it boots.
  exercise("content/images/game/userinterface/CommandBridgeUI.xml", data, size,
           [] { return new LevelScreen(0, "content/levels/mission_00.xml", 0, 0); });
  QuillonPHX2D::qlnDestroyQuillonSDK();
  for (const char* file : {IntroScreen::kParticleFile, IntroScreen::kEscapePodFile}) {
    QuillonPHX2D::qlnCreateQuillonSDK();
    exercise(file, data, size, [] { return new IntroScreen(""); });
    QuillonPHX2D::qlnDestroyQuillonSDK();
  }
}

}  // namespace fuzz
