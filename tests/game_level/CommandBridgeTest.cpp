// The command bridge as a player meets it: the real level in the runner's window,
// SDL pointer events through the application's own event handling, and the command
// panel drawn into a recording graphics.
#include <SDL.h>
#include <gtest/gtest.h>
#include <tinyxml.h>

#include <cstdlib>
#include <functional>
#include <map>

#include "RecordingGraphics.h"
#include "AngelFont.h"
#include "DynamicResources/SfxContainer.h"
#include "FileSaveGame.h"
#include "GLTexture.h"
#include "Game/BridgeIds.h"
#include "Game/Entities/enemies/xEnemySpawner.h"
#include "Game/Entities/towers/xBaseTowerEntity.h"
#include "GenericEntry.h"
#include "LevelFiles.h"
#include "Game/TowerCommandWidget.h"
#include "ResourceManager.h"
#include "SDLGameApp.h"
#include "WidgetManager.h"
#include "widgets/Button.h"
#include "widgets/CheckBox.h"
#include "widgets/ImageWidget.h"

using levelfiles::runner;
namespace ids = bridgeids;

namespace {

constexpr const char* kLayout = "content/images/game/userinterface/CommandBridgeUI.xml";

std::vector<std::string> g_sounds;
void recordSound(const std::string& name) { g_sounds.push_back(name); }
bool asked(const std::string& name) {
  for (const std::string& s : g_sounds)
    if (s == name) return true;
  return false;
}

// What a level needs of the application that the runner leaves to the game: the
// battle assistant's entry (on) and the fonts the panel writes with.
void prepareApp(SDLGameApp& app) {
  if (!app.getSaveGame()) {
    auto* save = new FileSaveGame("/tmp/starmoor-bridge-test.sav", &app);
    save->addEntry("BATTLE_ASSISTANT", new GenericEntry<int>(1, 1));
    app.setSaveGame(save);
  }
  ResourceManager* global = app.globalResourceManager();
  if (global && !global->findFont("FONT_NOTOSANS16"))
    global->registerFont("FONT_NOTOSANS16", new AngelFont("content/fonts/NotoSans16.fnt", GLTexture::kLinear));
  SfxContainer::setRequestHook(&recordSound);
}

void pushMouse(SDLGameApp& app, Uint32 type, int x, int y) {
  SDL_Event e{};
  e.type = type;
  if (type == SDL_MOUSEMOTION) {
    e.motion.x = x;
    e.motion.y = y;
    e.motion.windowID = SDL_GetWindowID(SDL_GL_GetCurrentWindow());
  } else {
    e.button.x = x;
    e.button.y = y;
    e.button.button = SDL_BUTTON_LEFT;
    e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.button.clicks = 1;
    e.button.windowID = SDL_GetWindowID(SDL_GL_GetCurrentWindow());
  }
  SDL_PushEvent(&e);
  (void)app;
}

// A press and release at one point, handled as the frame loop handles input.
void click(SDLGameApp& app, int x, int y) {
  pushMouse(app, SDL_MOUSEMOTION, x, y);
  pushMouse(app, SDL_MOUSEBUTTONDOWN, x, y);
  pushMouse(app, SDL_MOUSEBUTTONUP, x, y);
  app.pollEvents();
}

void clickWidget(SDLGameApp& app, const Widget* w) {
  ASSERT_NE(nullptr, w);
  click(app, static_cast<int>(w->getX() + w->getWidth() / 2), static_cast<int>(w->getY() + w->getHeight() / 2));
}

bool shown(const Widget* w) { return w && w->isVisible(); }

// The layout's own place of each numbered image, where the boot must leave it.
std::map<int, int> layoutImageRows() {
  std::map<int, int> rows;
  TiXmlDocument doc(kLayout);
  if (!doc.LoadFile()) return rows;
  for (TiXmlElement* e = doc.RootElement()->FirstChildElement("ImageWidget"); e; e = e->NextSiblingElement("ImageWidget")) {
    int id = 0, y = 0;
    e->QueryIntAttribute("id", &id);
    e->QueryIntAttribute("y", &y);
    if (id > 0) rows[id] = y;
  }
  return rows;
}

// A free cell right beside the path: buildable, with an unbuildable neighbour.
int freeCellBesidePath(const LevelScreen& level) {
  const std::vector<int>& grid = level.grid().cells();
  for (int row = 1; row < 23; ++row)
    for (int col = 1; col < 31; ++col) {
      if (grid[row * 32 + col] != 0) continue;
      for (int n : {-1, 1, -32, 32})
        if (grid[row * 32 + col + n] == -1) return row * 32 + col;
    }
  return -1;
}

// Steps a player takes, one every few frames once the bridge has booted.
struct Session {
  std::vector<std::function<void(LevelScreen&)>> steps;
  int readyFrame = -1;
  size_t next = 0;
  static constexpr int kGap = 12;

  void operator()(LevelScreen& level, int frame) {
    if (readyFrame < 0) {
      if (level.state() == kLevelBooting) return;
      readyFrame = frame;
    }
    if ((frame - readyFrame) % kGap == 0 && next < steps.size()) steps[next++](level);
  }
};

}  // namespace

TEST(CommandBridge, APlayerBuildsUpgradesRetargetsAndSellsATowerFromTheBridge) {
  SDLGameApp& app = runner().app();
  prepareApp(app);
  g_sounds.clear();
  levelrunner::RunOptions o;
  o.levelFile = "content/levels/mission_00.xml";
  o.mode = MODE_ALLTOWERS;
  o.maxFrames = 600;
  if (const char* dir = std::getenv("STARMOOR_BRIDGE_SHOTS")) {
    o.screenshotEvery = 12;
    o.screenshotDir = dir;
  }

  const std::map<int, int> rows = layoutImageRows();
  ASSERT_EQ(4u, rows.size());
  Session s;
  bool bootSeenBelow = false;
  xBaseTowerEntity* tower = nullptr;
  double credits = 0.0, price = 0.0;
  int cell = -1;

  auto watchBoot = [&](LevelScreen& level, int frame) {
    // While booting, the strip that lands last is still far below its place.
    if (level.state() == kLevelBooting && frame < 5) {
      ImageWidget* top = level.bridge().findBridgeImage(ids::kTowerBay);
      bootSeenBelow = top && top->getY() >= rows.at(ids::kTowerBay) + 1000;
    }
    s(level, frame);
  };

  s.steps.push_back([&](LevelScreen& level) {
    // Every numbered image has come to rest at its own place.
    for (const auto& r : rows) {
      ImageWidget* image = level.bridge().findBridgeImage(r.first);
      ASSERT_NE(nullptr, image);
      EXPECT_EQ(ids::kBridgeX, image->getX()) << r.first;
      EXPECT_EQ(r.second, image->getY()) << r.first;
    }
    for (int id : {ids::kPause, ids::kHelp, ids::kPathsHide, ids::kSpeedFast, ids::kSendWave, ids::kGrid})
      EXPECT_TRUE(shown(level.bridge().findCommandButton(id))) << id;
    for (int id : {ids::kPathsShow, ids::kSpeedNormal}) EXPECT_FALSE(shown(level.bridge().findCommandButton(id))) << id;
    EXPECT_TRUE(shown(level.bridge().autoWaveBox()));
    EXPECT_FALSE(level.bridge().commandWidget()->isVisible());
    ASSERT_FALSE(level.towerDescriptions().empty());
    clickWidget(app, level.bridge().findCommandButton(ids::kPathsHide));
    EXPECT_EQ(0, level.hud().pathDisplay());
    EXPECT_TRUE(shown(level.bridge().findCommandButton(ids::kPathsShow)));
    EXPECT_FALSE(shown(level.bridge().findCommandButton(ids::kPathsHide)));
  });
  s.steps.push_back([&](LevelScreen& level) {
    clickWidget(app, level.bridge().findCommandButton(ids::kPathsShow));
    EXPECT_EQ(255, level.hud().pathDisplay());
    const bool grid = level.hud().gridVisible();
    clickWidget(app, level.bridge().findCommandButton(ids::kGrid));
    EXPECT_NE(grid, level.hud().gridVisible());
    clickWidget(app, level.bridge().findCommandButton(ids::kSpeedFast));
    EXPECT_FLOAT_EQ(0.36f, level.speedFactor());
    EXPECT_TRUE(shown(level.bridge().findCommandButton(ids::kSpeedNormal)));
  });
  s.steps.push_back([&](LevelScreen& level) {
    clickWidget(app, level.bridge().findCommandButton(ids::kSpeedNormal));
    EXPECT_FLOAT_EQ(1.0f, level.speedFactor());
    // Choose the first tower kind, then its cell beside the path.
    clickWidget(app, level.bridge().findTowerButton(ids::kTowerButtonBase));
    EXPECT_EQ(level.towerDescriptions()[0], level.selection().towerDesc());
  });
  s.steps.push_back([&](LevelScreen& level) {
    cell = freeCellBesidePath(level);
    ASSERT_GE(cell, 0);
    credits = level.economy().credits();
    price = level.towerDescriptions()[0]->price;
    g_sounds.clear();
    click(app, (cell % 32) * 32 + 16, (cell / 32) * 32 + 16);
    const std::vector<xBaseTowerEntity*> towers = findTowers(level);
    ASSERT_EQ(1u, towers.size());
    tower = towers[0];
    EXPECT_EQ(cell, tower->cellIndex());
    EXPECT_DOUBLE_EQ(credits - price, level.economy().credits());
    EXPECT_TRUE(asked("SFX_TOWER_PLACED"));
    EXPECT_EQ(kLevelBattle, level.state());
  });
  s.steps.push_back([&](LevelScreen& level) {
    // Pick it: the command panel shows it on its strategy page. A tower stands
    // selected when placed, so the first click may only let it go.
    click(app, (cell % 32) * 32 + 16, (cell / 32) * 32 + 16);
    if (level.bridge().commandWidget()->tower() != tower) click(app, (cell % 32) * 32 + 16, (cell / 32) * 32 + 16);
    ASSERT_EQ(tower, level.bridge().commandWidget()->tower());
    EXPECT_TRUE(level.bridge().commandWidget()->isVisible());
    for (int id : {ids::kShowTrade, ids::kUpgrade}) EXPECT_TRUE(shown(level.bridge().findCommandButton(id))) << id;
    for (int id : {ids::kSell, ids::kShowStrategies}) EXPECT_FALSE(shown(level.bridge().findCommandButton(id))) << id;
    credits = level.economy().credits();
    clickWidget(app, level.bridge().findCommandButton(ids::kUpgrade));
    EXPECT_EQ(1, tower->getUpgradeLevel());
    EXPECT_DOUBLE_EQ(credits - static_cast<int>(price + price / 3), level.economy().credits());
  });
  s.steps.push_back([&](LevelScreen& level) {
    // Each targeting button gives the tower its strategy, and the panel lights that
    // button, wherever the layout puts it.
    for (const ids::Targeting& t : ids::kTargeting) {
      const bge::Button* button = level.bridge().findCommandButton(t.command);
      ASSERT_TRUE(shown(button)) << t.command;
      clickWidget(app, button);
      EXPECT_EQ(t.strategy, tower->getTargetSelection()) << t.command;
      EXPECT_EQ(t.strategy, level.bridge().commandWidget()->selectedStrategy()) << t.command;
      RecordingGraphics g;
      level.getWidgetManager()->draw(&g, &level);
      std::vector<GraphicsCall> lit;
      for (const GraphicsCall& c : g.callsOf("fillRect"))
        if (c.color == Color(255, 255, 0, 128)) lit.push_back(c);
      ASSERT_EQ(1u, lit.size()) << t.command;
      EXPECT_EQ(button->getX(), lit[0].screenX) << t.command;
      EXPECT_EQ(button->getY(), lit[0].screenY) << t.command;
    }
    // The panel marks one bought upgrade of three.
    RecordingGraphics g;
    level.getWidgetManager()->draw(&g, &level);
    std::vector<GraphicsCall> marks;
    for (const GraphicsCall& c : g.callsOf("drawImage"))
      if (c.screenY == ids::kUpgradeY && c.screenX >= ids::kUpgradeMarksX) marks.push_back(c);
    ASSERT_EQ(3u, marks.size());
    for (size_t i = 0; i < 3; ++i) {
      EXPECT_EQ(ids::kUpgradeMarksX + ids::kUpgradeMarkPitch * static_cast<int>(i), marks[i].screenX);
      EXPECT_EQ(i < 1 ? 255 : 128, marks[i].color.a) << i;
    }
    // Commands without a meaning (ids of the range the layout leaves free) change nothing.
    credits = level.economy().credits();
    for (int id : {609, 613, 614}) level.onButtonEvent(id, bge::ButtonListener::Released);
    EXPECT_EQ(credits, level.economy().credits());
    EXPECT_TRUE(shown(level.bridge().findCommandButton(ids::kShowTrade)));
    clickWidget(app, level.bridge().findCommandButton(ids::kShowTrade));
    for (int id : {ids::kSell, ids::kShowStrategies}) EXPECT_TRUE(shown(level.bridge().findCommandButton(id))) << id;
    for (int id : {ids::kShowTrade, ids::kUpgrade}) EXPECT_FALSE(shown(level.bridge().findCommandButton(id))) << id;
    for (const ids::Targeting& t : ids::kTargeting) EXPECT_FALSE(shown(level.bridge().findCommandButton(t.command)));
  });
  s.steps.push_back([&](LevelScreen& level) {
    clickWidget(app, level.bridge().findCommandButton(ids::kShowStrategies));
    EXPECT_TRUE(shown(level.bridge().findCommandButton(ids::kAimClosest)));
    clickWidget(app, level.bridge().findCommandButton(ids::kShowTrade));
    credits = level.economy().credits();
    clickWidget(app, level.bridge().findCommandButton(ids::kSell));
    // Sold at level 1: (P + 2P/3) x 0.6.
    EXPECT_NEAR(credits + (price + price * 2 / 3) * 0.6, level.economy().credits(), 1e-3);
    EXPECT_EQ(1, level.tally().sold());
    EXPECT_FALSE(level.bridge().commandWidget()->isVisible());
    EXPECT_EQ(nullptr, level.bridge().commandWidget()->tower());
    // A second sell click reaches no tower.
    credits = level.economy().credits();
    level.onButtonEvent(ids::kSell, bge::ButtonListener::Released);
    EXPECT_EQ(credits, level.economy().credits());
    EXPECT_EQ(1, level.tally().sold());
  });
  s.steps.push_back([&](LevelScreen& level) {
    EXPECT_TRUE(findTowers(level).empty());
    const unsigned started = level.spawner()->wavesStarted();
    if (shown(level.bridge().findCommandButton(ids::kSendWave))) {
      clickWidget(app, level.bridge().findCommandButton(ids::kSendWave));
      EXPECT_EQ(started + 1, level.spawner()->wavesStarted());
      EXPECT_FALSE(shown(level.bridge().findCommandButton(ids::kSendWave)));
    }
    const bool automatic = level.bridge().autoNextWave();
    clickWidget(app, level.bridge().autoWaveBox());
    EXPECT_NE(automatic, level.bridge().autoNextWave());
  });

  const levelrunner::Outcome out = runner().run(o, watchBoot);
  EXPECT_TRUE(bootSeenBelow);
  EXPECT_EQ(s.steps.size(), s.next) << levelrunner::describe(out);
  SfxContainer::setRequestHook(nullptr);
}
