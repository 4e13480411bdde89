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
#include "LabelManager.h"
#include "ResourceManager.h"
#include "System/CollisionSetup.h"
#include "FileSaveGame.h"
#include "MyApp.h"
#include "System/ResourceLists.h"
#include "SDLGameApp.h"
#include "Timer.h"

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

}  // namespace

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

void ensureCollisionCatalogue() {
  // The game's own files, as the application loads them at start-up; once per process.
  if (xCategoryDispatcher::Instance()->findCategoryByName("enemy")) return;
  loadCollisionCategoriesFile("content/config/CollisionCategories.xml");
  loadMaterialsFile("content/config/Materials.xml");
}

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
  std::snprintf(line, sizeof line, "state=%d lives=%d credits=%.0f waves=%d/%d kills=%d spawned=%d frames=%d",
                o.state, o.lives, o.credits, o.wavesStarted, o.waveCount, o.kills, o.spawned, o.frames);
  return o.loaded ? std::string(line) : std::string(line) + " (the level did not load: it " + o.refusal + ")";
}

struct Runner::Impl {
  RunnerApp app;
  Commands commands{app};
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
  resetSave();
}

void Runner::resetSave() {
  // The level reads its settings from the save game as in the game; this one
  // has no file, so a run never touches the player's save.
  SDLGameApp& app = impl_->app;
  FileSaveGame* save = new FileSaveGame("", &app);
  MyApp::addSettingEntries(save);
  app.setSaveGame(save);
}

Runner::~Runner() {
  impl_->app.setTimeScale(1.0f);
  setTickSource(impl_->previous);
}

SDLGameApp& Runner::app() { return impl_->app; }

void Runner::saveFrame(const std::string& path) {
  impl_->app.shotPath = path;
  impl_->app.render();
}

void Runner::registerCommand(const std::string& verb, CommandHandler handler) {
  impl_->commands.registerCommand(verb, std::move(handler));
}

bool Runner::perform(LevelScreen& level, const Command& command) { return impl_->commands.perform(level, command); }

const Commands& Runner::commands() const { return impl_->commands; }

Outcome Runner::run(const RunOptions& options, const FrameObserver& observer) {
  RunnerApp& app = impl_->app;
  std::srand(options.seed);
  // The level may lie under the screen it pushed at its end: everything goes.
  auto closeAll = [&app] {
    while (app.topState()) app.popState();
    app.deleteQueuedStates();
  };
  LevelScreen* level = new LevelScreen(options.missionId, options.levelFile, options.mode, options.difficulty);
  app.changeState(level);
  Outcome o;
  o.loaded = level->playable();
  o.refusal = level->refusal();
  if (!o.loaded) {
    // It closes itself towards mission control, which is not the runner's to show.
    closeAll();
    return o;
  }
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
    // "Play again" closes the level and builds a new one: the run carries on in it.
    if (LevelScreen* now = LevelScreen::current(); now && now != level) level = now;
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
  o.lives = level->flow().lives();
  o.credits = level->economy().credits();
  o.kills = level->flow().enemiesDestroyed();
  o.spawned = level->flow().enemiesSpawned();
  if (xEnemySpawner* s = level->spawner()) {
    o.wavesStarted = static_cast<int>(s->wavesStarted());
    o.waveCount = s->waveCount();
  }
  closeAll();
  return o;
}

}  // namespace levelrunner
