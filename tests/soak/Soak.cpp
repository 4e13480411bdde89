#include "Soak.h"

#include <SDL.h>
#include <malloc.h>
#include <unistd.h>

#include <chrono>
#include <climits>
#include <cstdio>
#include <fstream>

#include "Commands.h"
#include "Game/LevelScreen.h"
#include "Menus/GamePauseScreen.h"
#include "Menus/MainMenu.h"
#include "Menus/MissionControl.h"
#include "Menus/PostLevelScreen.h"
#include "Menus/TutorialScreen.h"
#include "MyApp.h"
#include "Player.h"
#include "Profile/Profile.h"
#include "Timer.h"
#include "widgets/Button.h"

namespace soak {

namespace {

// Frames a screen is left on top before the first click, as a player takes in what it shows.
constexpr int kSettleFrames = 30;
// Frames before a click that changed nothing is given again.
constexpr int kRetryFrames = 120;

const char* exitName(int exit) {
  static const char* const kNames[] = {"results: play again", "pause: restart", "results: mission control",
                                       "pause: mission control", "pause: main menu"};
  return exit >= 0 && exit < 5 ? kNames[exit] : "?";
}

std::string screenName(GameState* state) {
  auto* screen = dynamic_cast<ScreenBase*>(state);
  if (screen && !screen->getName().empty()) return screen->getName();
  return state ? "an unnamed screen" : "no screen";
}

}  // namespace

double residentMb() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  if (!(statm >> pages >> resident)) return -1.0;
  return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

double heapInUseMb() {
  const struct mallinfo2 m = mallinfo2();
  return static_cast<double>(m.uordblks + m.hblkhd) / (1024.0 * 1024.0);
}

double growthAfter(const std::vector<Sample>& samples, double settleSeconds) {
  const Sample* base = nullptr;
  double highest = 0.0;
  for (const Sample& s : samples) {
    if (s.seconds < settleSeconds) continue;
    if (!base) {
      base = &s;
      highest = s.rssMb;
    }
    if (s.rssMb > highest) highest = s.rssMb;
  }
  return base ? highest - base->rssMb : 0.0;
}

Driver::Driver(MyApp& app, const Options& options)
    : app_(app), options_(options), commands_(std::make_unique<levelrunner::Commands>(app)) {}

Driver::~Driver() = default;

void Driver::fail(const std::string& why) {
  if (report_.failure.empty()) report_.failure = why;
}

void Driver::takeSample(double elapsed) {
  Sample s;
  s.seconds = elapsed;
  s.rssMb = residentMb();
  s.heapMb = heapInUseMb();
  s.levelsEntered = report_.levelsEntered;
  s.levelsFinished = report_.levelsFinished;
  report_.samples.push_back(s);
  std::printf("%8.1f %9.1f %9.1f %8d %9d %5d %9d %11d %12lld\n", elapsed / 60.0, s.rssMb, s.heapMb,
              report_.levelsEntered, report_.levelsFinished, report_.wins, report_.restarts, report_.reentries,
              report_.frames);
  std::fflush(stdout);
}

Report Driver::run() {
  using Clock = std::chrono::steady_clock;
  const auto start = Clock::now();
  double nextSample = 0.0;
  std::printf("%8s %9s %9s %8s %9s %5s %9s %11s %12s\n", "minutes", "RSS MB", "heap MB", "entered", "finished",
              "wins", "restarts", "re-entries", "frames");
  takeSample(0.0);
  nextSample = options_.sampleSeconds;
  for (;;) {
    advanceFrameClock();
    if (!app_.runFrame()) {
      fail("the game quit by itself");
      break;
    }
    ++report_.frames;
    step();
    const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    if (!report_.failure.empty()) {
      takeSample(elapsed);
      break;
    }
    // Memory is read where the flow stands still and always at the same place:
    // mission control, settled. A level's working set comes and goes with the
    // level and would hide growth or fake it. A flow that never comes back there
    // is stuck, and the checks in step() end the run.
    if (elapsed < nextSample || !restingAtControl_) continue;
    takeSample(elapsed);
    while (nextSample <= elapsed) nextSample += options_.sampleSeconds;
    if (elapsed >= options_.seconds && visit_ >= options_.minVisits) break;
  }
  report_.visits = visit_;
  return report_;
}

LevelScreen* Driver::levelOnStack() const {
  LevelScreen* found = nullptr;
  app_.visitStates(GameApp::StateOrder::TopDown, GameApp::StateFilter::OnStack, [&](GameState* state) {
    if (!found) found = dynamic_cast<LevelScreen*>(state);
  });
  return found;
}

void Driver::step() {
  // A level that has left the stack is forgotten at once: the next one may be
  // built where it was.
  if (level_ && levelOnStack() != level_) level_ = nullptr;
  GameState* top = app_.topState();
  if (top != top_) {
    top_ = top;
    topFrames_ = 0;
    actions_ = 0;
    onNewTop(top);
  } else {
    ++topFrames_;
  }
  if (!top) {
    fail("the screen stack ran empty");
    return;
  }
  auto* screen = dynamic_cast<ScreenBase*>(top);
  restingAtControl_ = dynamic_cast<MissionControl*>(top) && topFrames_ == kSettleFrames;
  if (auto* level = dynamic_cast<LevelScreen*>(top)) onLevel(*level);
  else if (dynamic_cast<MainMenu*>(top)) onMainMenu(*screen);
  else if (dynamic_cast<MissionControl*>(top)) onMissionControl(*screen);
  else if (dynamic_cast<GamePauseScreen*>(top)) onPause(*screen);
  else if (dynamic_cast<PostLevelScreen*>(top)) onResults(*screen);
  else if (dynamic_cast<TutorialScreen*>(top) && topFrames_ >= kSettleFrames + actions_ * kRetryFrames) {
    // A first visit's walk-through: a player may skip it.
    click(*screen, TutorialScreen::kSkipButton);
    ++actions_;
  }
  const int limit = dynamic_cast<LevelScreen*>(top) ? options_.maxLevelFrames : options_.maxScreenFrames;
  if (topFrames_ > limit)
    fail("stuck on " + screenName(top) + " for " + std::to_string(topFrames_) + " frames");
}

void Driver::onNewTop(GameState* top) {
  auto* results = dynamic_cast<PostLevelScreen*>(top);
  if (!results) return;
  ++report_.levelsFinished;
  if (results->stats().victory) ++report_.wins;
}

bool Driver::interruptsThisVisit() const {
  const Exit exit = static_cast<Exit>(visit_ % static_cast<int>(Exit::kCount));
  return exit == Exit::PauseRestart || exit == Exit::PauseLeave || exit == Exit::PauseMainMenu;
}

void Driver::onMainMenu(ScreenBase& screen) {
  if (screen.getPhase() != PhaseIdle || topFrames_ < kSettleFrames + actions_ * kRetryFrames) return;
  ++actions_;
  if (click(screen, MainMenu::kContinue)) {
    if (viaMainMenu_) ++report_.menuReturns;
    viaMainMenu_ = false;
    return;
  }
  if (!click(screen, MainMenu::kNewGame) || campaignOpened_) return;
  // The new game's profile, with every mission open so the run tours the whole
  // campaign; mission control is built after the fade-out and shows them all.
  if (Profile* profile = app_.profile())
    for (int m = 0; m < Profile::kMissionCount; ++m) profile->unlockMission(m);
  campaignOpened_ = true;
}

void Driver::onMissionControl(ScreenBase& screen) {
  if (screen.getPhase() != PhaseIdle || topFrames_ < kSettleFrames + actions_ * 10) return;
  auto& control = static_cast<MissionControl&>(screen);
  // Station, then mission slot, then launch, a few frames apart; the launch is
  // given again while the screen stays.
  if (actions_ == 0) {
    click(screen, mission_ / 3);
  } else if (actions_ == 1) {
    click(screen, MissionControl::kFirstSlotButton + mission_ % 3);
  } else if ((actions_ - 2) % 12 == 0) {
    const int launching = control.selection().launchArguments().missionId;
    if (click(screen, MissionControl::kLaunchButton) && actions_ == 2) {
      if (launched_) ++report_.reentries;
      launched_ = true;
      std::printf("launch mission %d\n", launching);
      mission_ = (mission_ + 1) % Profile::kMissionCount;
    }
  }
  ++actions_;
}

void Driver::onLevel(LevelScreen& level) {
  if (&level != level_) {
    level_ = &level;
    levelFrames_ = 0;
    pauseAsked_ = false;
    player_ = std::make_unique<levelrunner::Player>(*commands_, levelrunner::PlayerOptions{});
    ++report_.levelsEntered;
  }
  if (level.getPhase() == PhaseExiting) return;
  player_->onFrame(level, levelFrames_++);
  int stopAt = interruptsThisVisit() ? options_.interruptFrames : INT_MAX;
  if (options_.levelFrames > 0 && options_.levelFrames < stopAt) stopAt = options_.levelFrames;
  if (levelFrames_ < stopAt || level.state() == kLevelOver || level.getPhase() != PhaseIdle) return;
  if (!pauseAsked_ || (levelFrames_ - stopAt) % kRetryFrames == 0) {
    pressKey(SDLK_ESCAPE);
    pauseAsked_ = true;
  }
}

void Driver::onPause(ScreenBase& screen) {
  if (screen.getPhase() != PhaseIdle || topFrames_ < kSettleFrames + actions_ * kRetryFrames) return;
  ++actions_;
  const Exit exit = static_cast<Exit>(visit_ % static_cast<int>(Exit::kCount));
  int button = GamePauseScreen::kMissionControl;
  if (exit == Exit::PauseRestart || exit == Exit::ResultsRestart) button = GamePauseScreen::kRestart;
  else if (exit == Exit::PauseMainMenu) button = GamePauseScreen::kMainMenu;
  if (!click(screen, button)) return;
  const Exit taken = button == GamePauseScreen::kRestart    ? Exit::PauseRestart
                     : button == GamePauseScreen::kMainMenu ? Exit::PauseMainMenu
                                                            : Exit::PauseLeave;
  std::printf("visit %d left after %d frames: %s\n", visit_, levelFrames_, exitName(static_cast<int>(taken)));
  if (button == GamePauseScreen::kRestart) ++report_.restarts;
  if (button == GamePauseScreen::kMainMenu) viaMainMenu_ = true;
  ++visit_;
}

void Driver::onResults(ScreenBase& screen) {
  if (screen.getPhase() != PhaseIdle || topFrames_ < kSettleFrames + actions_ * kRetryFrames) return;
  ++actions_;
  const Exit exit = static_cast<Exit>(visit_ % static_cast<int>(Exit::kCount));
  const bool again = exit == Exit::ResultsRestart || exit == Exit::PauseRestart;
  // The buttons show once the tally has been read out; until then the click finds none.
  if (!click(screen, again ? PostLevelScreen::kPlayAgain : PostLevelScreen::kToMissionControl)) return;
  std::printf("visit %d ended after %d frames, %s: %s\n", visit_, levelFrames_,
              static_cast<PostLevelScreen&>(screen).stats().victory ? "won" : "lost",
              exitName(static_cast<int>(again ? Exit::ResultsRestart : Exit::ResultsLeave)));
  if (again) ++report_.restarts;
  ++visit_;
}

bool Driver::click(ScreenBase& screen, int buttonId) {
  for (Widget* w : screen.getWidgets()) {
    auto* button = dynamic_cast<bge::Button*>(w);
    if (!button || button->getButtonId() != buttonId || !button->isVisible() || !button->isEnabled()) continue;
    const Rect5& box = button->getGeometry();
    const int x = static_cast<int>((box.x + box.width / 2) * app_.getScaleFactorX());
    const int y = static_cast<int>((box.y + box.height / 2) * app_.getScaleFactorY());
    const uint32_t window = app_.window() ? SDL_GetWindowID(app_.window()) : 0;
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.windowID = window;
    e.motion.x = x;
    e.motion.y = y;
    app_.handleEvent(e);
    for (const uint32_t kind : {SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP}) {
      e = SDL_Event{};
      e.type = kind;
      e.button.windowID = window;
      e.button.button = SDL_BUTTON_LEFT;
      e.button.state = kind == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
      e.button.clicks = 1;
      e.button.x = x;
      e.button.y = y;
      app_.handleEvent(e);
    }
    return true;
  }
  return false;
}

void Driver::pressKey(int key) {
  const uint32_t window = app_.window() ? SDL_GetWindowID(app_.window()) : 0;
  for (const uint32_t kind : {SDL_KEYDOWN, SDL_KEYUP}) {
    SDL_Event e{};
    e.type = kind;
    e.key.windowID = window;
    e.key.state = kind == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.sym = key;
    e.key.keysym.scancode = SDL_GetScancodeFromKey(key);
    app_.handleEvent(e);
  }
}

namespace {
uint64_t g_frameClock = 1000;
uint64_t frameClock() { return g_frameClock; }
}  // namespace

void installFrameClock() { setTickSource(&frameClock); }

void advanceFrameClock() { g_frameClock += kFrameMs; }

}  // namespace soak
