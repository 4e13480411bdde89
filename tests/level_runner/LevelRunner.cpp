#include "LevelRunner.h"

#include <GL/glew.h>
#include <SDL.h>
#include <time.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "CollisionContext/Categories/CategoryDispatcher.h"
#include "FrameStep.h"
#include "Game/Entities/enemies/xEnemySpawner.h"
#include "Game/Entities/towers/xBaseTowerEntity.h"
#include "KeyEvent.h"
#include "LabelManager.h"
#include "PointingDeviceEvent.h"
#include "ResourceManager.h"
#include "System/CollisionSetup.h"
#include "FileSaveGame.h"
#include "MyApp.h"
#include "System/ResourceLists.h"
#include "SDLGameApp.h"
#include "widgets/Button.h"
#include "Timer.h"
#include "widgets/ButtonListener.h"

using namespace QuillonPHX2D;

namespace levelrunner {

namespace {

constexpr int kFrameMs = 16;
uint64_t g_ticks = 1000;
uint64_t runnerTicks() { return g_ticks; }

double threadCpuMs() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return t.tv_sec * 1000.0 + t.tv_nsec / 1.0e6;
}

// Draws a frame into a file when asked to, before the swap leaves the back buffer
// undefined.
class RunnerApp : public SDLGameApp {
 public:
  void afterRender(Graphics*) override {
    if (shotPath.empty()) return;
    saveScreenshot(shotPath);
    shotPath.clear();
  }
  std::string shotPath;
};

std::string findContentRoot() {
  namespace fs = std::filesystem;
  for (fs::path p = fs::current_path(); !p.empty(); p = p.parent_path()) {
    if (fs::exists(p / "content" / "config")) return p.string();
    if (p == p.parent_path()) break;
  }
#ifdef STARMOOR_SOURCE_DIR
  return STARMOOR_SOURCE_DIR;
#else
  return std::string();
#endif
}

}  // namespace

void ensureCollisionCatalogue() {
  // The game's own files, as the application loads them at start-up; once per process.
  if (xCategoryDispatcher::Instance()->findCategoryByName("enemy")) return;
  loadCollisionCategoriesFile("content/config/CollisionCategories.xml");
  loadMaterialsFile("content/config/Materials.xml");
}

xBaseTowerEntity* towerAt(LevelScreen& level, int column, int row) {
  for (xBaseTowerEntity* t : LevelScreen::findTowers(level))
    if (level.findLiveEntity(t) && t->cellIndex() == row * 32 + column) return t;
  return nullptr;
}

namespace {

bool readInts(const Command& c, size_t count, int* out) {
  if (c.args.size() < count) return false;
  for (size_t i = 0; i < count; ++i) {
    char* end = nullptr;
    const long v = std::strtol(c.args[i].c_str(), &end, 10);
    if (*end != '\0') return false;
    out[i] = static_cast<int>(v);
  }
  return true;
}

const char* const kStrategyNames[] = {"distant", "closest", "weakest", "strongest",
                                      "first",   "last",    "slowest", "fastest"};

}  // namespace

bool parseScript(const std::string& text, std::vector<Command>& out, std::string& error) {
  std::istringstream lines(text);
  std::string line;
  int number = 0;
  while (std::getline(lines, line)) {
    ++number;
    const size_t hash = line.find('#');
    if (hash != std::string::npos) line.erase(hash);
    std::istringstream words(line);
    std::string first;
    if (!(words >> first)) continue;
    Command c;
    char* end = nullptr;
    const long frame = std::strtol(first.c_str(), &end, 10);
    if (*end != '\0' || frame < 0 || !(words >> c.verb)) {
      error = "script line " + std::to_string(number) + ": expected \"<frame> <command> [arguments]\"";
      return false;
    }
    c.frame = static_cast<int>(frame);
    for (std::string a; words >> a;) c.args.push_back(a);
    out.push_back(c);
  }
  return true;
}

std::string describe(const Outcome& o) {
  char line[256];
  std::snprintf(line, sizeof line, "state=%d lives=%d credits=%.0f waves=%d/%d kills=%d spawned=%d frames=%d%s",
                o.state, o.lives, o.credits, o.wavesStarted, o.waveCount, o.kills, o.spawned, o.frames,
                o.loaded ? "" : " (the level did not load)");
  return line;
}

struct Runner::Impl {
  RunnerApp app;
  std::map<std::string, CommandHandler> commands;
  TickSource previous = nullptr;
};

Runner::Runner() : impl_(new Impl) {
  const std::string root = findContentRoot();
  if (!root.empty()) std::filesystem::current_path(root);
  impl_->previous = setTickSource(&runnerTicks);
  SDLGameApp& app = impl_->app;
  app.initSDL();
  app.setDisplayMode(1366, 768, false);
  app.setScaleFactors(1.0f, 1.0f);
  app.createWindow(SDL_WINDOW_HIDDEN);
  app.setFrameLimit(false);
  if (std::filesystem::exists("content/strings/english.xml"))
    app.gameMessages()->loadFromXml("content/strings/english.xml");
  ensureCollisionCatalogue();
  // The shared fonts and textures the level's drawing finds by key, as the game
  // registers them at start-up; the screens laid over the level use the fonts too.
  if (!app.globalResourceManager()->findFont("FONT_NOTOSANS16")) registerGlobalResources(app.globalResourceManager());
  // The level reads its settings from the save game as in the game; this one
  // has no file, so a run never touches the player's save.
  FileSaveGame* save = new FileSaveGame("", &app);
  MyApp::addSettingEntries(save);
  app.setSaveGame(save);

  // key <SDL key name>: a press of that key, as the level receives it ("Escape", "F1", "s").
  registerCommand("key", [](LevelScreen& level, const Command& c) {
    if (c.args.size() != 1) return false;
    const SDL_Keycode key = SDL_GetKeyFromName(c.args[0].c_str());
    if (key == SDLK_UNKNOWN) return false;
    KeyEvent event;
    event.key = key;
    event.kind = KeyEvent::Pressed;
    level.onKeyEvent(event);
    return true;
  });
  registerCommand("start", [](LevelScreen& level, const Command&) {
    level.sendNextWave();
    return true;
  });
  registerCommand("wave", [](LevelScreen& level, const Command&) {
    level.sendNextWave();
    return true;
  });
  // next: presses the send-wave button if the bridge shows it, as a player can.
  registerCommand("next", [](LevelScreen& level, const Command&) {
    if (level.sendWaveOffered()) level.buttonEvent(7, bge::ButtonListener::Released);
    return true;
  });
  // place <column> <row> [kind]: buys the level's tower kind (button order, 0 first)
  // for that cell as a click would; refused purchases are not errors.
  registerCommand("place", [](LevelScreen& level, const Command& c) {
    int v[3] = {0, 0, 0};
    if (!readInts(c, 2, v) || (c.args.size() > 2 && !readInts(Command{0, "", {c.args[2]}}, 1, &v[2]))) return false;
    const auto& kinds = level.towerDescriptions();
    if (v[2] < 0 || v[2] >= static_cast<int>(kinds.size())) return false;
    const int cell = v[1] * 32 + v[0];
    if (v[0] < 0 || v[0] >= 32 || v[1] < 0 || cell >= static_cast<int>(level.placementGrid().size())) return false;
    if (level.placementGrid()[cell] == 0) level.buyTower(v[1], kinds[v[2]], v[0]);
    return true;
  });
  registerCommand("upgrade", [](LevelScreen& level, const Command& c) {
    int v[2];
    if (!readInts(c, 2, v)) return false;
    level.upgradeTower(towerAt(level, v[0], v[1]));
    return true;
  });
  registerCommand("sell", [](LevelScreen& level, const Command& c) {
    int v[2];
    if (!readInts(c, 2, v)) return false;
    level.sellTower(towerAt(level, v[0], v[1]));
    return true;
  });
  // retarget <column> <row> <distant|closest|weakest|strongest|first|last|slowest|fastest>
  registerCommand("retarget", [](LevelScreen& level, const Command& c) {
    int v[2];
    if (!readInts(c, 2, v) || c.args.size() != 3) return false;
    for (int i = 0; i < 8; ++i)
      if (c.args[2] == kStrategyNames[i]) {
        level.retargetTower(towerAt(level, v[0], v[1]), i);
        return true;
      }
    return false;
  });
  // build <column> <row> <kind>: buys a tower of the level's kind named by its info
  // key (INFO_T1, TDEPLOYMENT_INFO...) for that cell, as a click would.
  registerCommand("build", [](LevelScreen& level, const Command& c) {
    int v[2];
    if (!readInts(c, 2, v) || c.args.size() != 3) return false;
    xBaseTowerDesc* desc = level.findDescriptionByKind(c.args[2]);
    const int cell = v[1] * 32 + v[0];
    if (!desc || v[0] < 0 || v[0] >= 32 || v[1] < 0 || cell >= static_cast<int>(level.placementGrid().size()))
      return false;
    if (level.placementGrid()[cell] == 0) {
      level.selectTowerDesc(desc);
      level.buyTower(v[1], desc, v[0]);
    }
    return true;
  });
  // click <column> <row> [right]: a click on the tower standing on the cell.
  registerCommand("click", [](LevelScreen& level, const Command& c) {
    int v[2];
    if (!readInts(c, 2, v)) return false;
    xBaseTowerEntity* tower = towerAt(level, v[0], v[1]);
    if (!tower) return false;
    PointingDeviceEvent e;
    e.kind = PointingDeviceEvent::Pressed;
    e.x = v[0] * 32 + 16;
    e.y = v[1] * 32 + 16;
    e.buttons = c.args.size() > 2 && c.args[2] == "right" ? PointingDeviceEvent::Right : PointingDeviceEvent::Left;
    tower->mousePressed(e);
    return true;
  });
  registerCommand("cancel", [](LevelScreen& level, const Command&) {
    level.cancelPendingPlacement();
    return true;
  });
  registerCommand("checkpoint", [](LevelScreen& level, const Command&) {
    level.takeCheckPoint();
    return level.checkPoints() != nullptr;
  });
  // restore: starts the restore sweep, as the backspace key does; the restore follows
  // when the sweep ends.
  registerCommand("restore", [](LevelScreen& level, const Command&) { return level.requestRestore(); });
  // select <column> <row>: picks the tower standing there, its info and commands
  // shown, as a click on it does (a tower placed a moment ago is let go first).
  registerCommand("select", [](LevelScreen& level, const Command& c) {
    int v[2];
    if (!readInts(c, 2, v)) return false;
    xBaseTowerEntity* tower = towerAt(level, v[0], v[1]);
    if (!tower) return true;
    if (tower->isSelected()) tower->toggleSelected();
    tower->toggleSelected();
    return true;
  });
  // choose <kind> / hover <kind>: a click on, or the pointer over, the kind's tower
  // button (button order, 0 first).
  for (const char* verb : {"choose", "hover"}) {
    const bool click = std::string(verb) == "choose";
    registerCommand(verb, [click](LevelScreen& level, const Command& c) {
      int kind = 0;
      if (!readInts(c, 1, &kind) || kind < 0 || kind >= static_cast<int>(level.towerDescriptions().size())) return false;
      level.buttonEvent(100 + kind, click ? bge::ButtonListener::Released : bge::ButtonListener::PointerEntered);
      return true;
    });
  }
  // pointer <x> <y>: moves the pointer there, as the mouse does.
  registerCommand("pointer", [this](LevelScreen& level, const Command& c) {
    int v[2];
    if (!readInts(c, 2, v)) return false;
    impl_->app.setMousePosition(v[0], v[1]);
    PointingDeviceEvent e;
    e.x = v[0];
    e.y = v[1];
    level.mouseMove(e);
    return true;
  });
  registerCommand("speed", [](LevelScreen& level, const Command& c) {
    if (c.args.size() != 1) return false;
    if (c.args[0] == "fast") level.setGameSpeed(0.36f);
    else if (c.args[0] == "normal") level.setGameSpeed(1.0f);
    else return false;
    return true;
  });
}

Runner::~Runner() {
  impl_->app.setTimeScale(1.0f);
  setTickSource(impl_->previous);
}

SDLGameApp& Runner::app() { return impl_->app; }

void Runner::registerCommand(const std::string& verb, CommandHandler handler) {
  impl_->commands[verb] = std::move(handler);
}

bool Runner::perform(LevelScreen& level, const Command& command) {
  auto it = impl_->commands.find(command.verb);
  return it != impl_->commands.end() && it->second(level, command);
}

Outcome Runner::run(const RunOptions& options, const FrameObserver& observer) {
  RunnerApp& app = impl_->app;
  std::srand(options.seed);
  app.setTimeScale(1.0f);
  LevelScreen* level = new LevelScreen(options.missionId, options.levelFile, options.mode, options.difficulty);
  app.changeState(level);
  Outcome o;
  o.loaded = level->spawner() != nullptr;
  size_t next = 0;
  std::vector<Command> script = options.script;
  std::stable_sort(script.begin(), script.end(), [](const Command& a, const Command& b) { return a.frame < b.frame; });
  int frame = 0;
  for (; frame < options.maxFrames; ++frame) {
    while (next < script.size() && script[next].frame <= frame) {
      const Command& c = script[next++];
      if (!perform(*level, c)) o.unknownCommands.push_back(c.verb);
    }
    g_ticks += kFrameMs;
    const double before = options.frameCpuMs ? threadCpuMs() : 0.0;
    app.stepPhysics(physicsStepForFrame(kFrameMs, app.getTimeScale()));
    app.update(kFrameMs);
    if (options.frameCpuMs) options.frameCpuMs->push_back(threadCpuMs() - before);
    if (options.frameRenderMs) {
      const auto start = std::chrono::steady_clock::now();
      const double cpu = threadCpuMs();
      app.render();
      if (options.frameRenderCpuMs) options.frameRenderCpuMs->push_back(threadCpuMs() - cpu);
      glFinish();
      options.frameRenderMs->push_back(
          std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    if (options.screenshotEvery > 0 && frame % options.screenshotEvery == 0) {
      char name[64];
      std::snprintf(name, sizeof name, "/frame%06d.png", frame);
      app.shotPath = options.screenshotDir + name;
      app.render();
    }
    app.deleteQueuedStates();
    if (observer) observer(*level, frame);
    if (options.until && options.until(*level)) {
      ++frame;
      break;
    }
    if (level->state() == kLevelOver && !level->endDelayRunning()) {
      o.over = true;
      ++frame;
      break;
    }
  }
  o.frames = frame;
  o.state = level->state();
  o.lives = level->lives();
  o.credits = level->credits();
  o.kills = level->enemiesDestroyed();
  o.spawned = level->enemiesSpawned();
  if (xEnemySpawner* s = level->spawner()) {
    o.wavesStarted = static_cast<int>(s->wavesStarted());
    o.waveCount = s->waveCount();
  }
  // The level may lie under the screen it pushed at its end: everything goes.
  while (app.topState()) app.popState();
  app.deleteQueuedStates();
  app.setTimeScale(1.0f);
  return o;
}

}  // namespace levelrunner
