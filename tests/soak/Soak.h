#pragma once
// The long run: the whole game (MyApp and its screens) in one process, driven at a
// fixed 16 ms frame as fast as the machine allows, through the clicks and keys a
// player gives. Mission control launches a mission, the simple player plays it, and
// each visit ends another way: the results' "play again", the pause screen's restart,
// the results' or the pause screen's way back to mission control, or the pause
// screen's main menu and "continue". Resident memory is sampled about once a minute,
// each time as mission control settles, so that samples compare like with like.
#include <memory>
#include <string>
#include <vector>

class GameState;
class LevelScreen;
class MyApp;
class ScreenBase;

namespace levelrunner {
class Commands;
class Player;
}  // namespace levelrunner

namespace soak {

struct Options {
  double seconds = 3600.0;        // wall time to run
  double sampleSeconds = 60.0;    // least wall time between two memory samples
  int minVisits = 0;              // the run goes on past its time until this many visits ended
  // Frames a visit plays before it is left through the pause screen; 0 plays the
  // level to its end on the visits that wait for the results.
  int levelFrames = 0;
  // Frames into a visit that the pause screen interrupts on purpose.
  int interruptFrames = 1500;
  // The longest a level may run, and the longest any other screen may stay on top,
  // before the run counts as stuck.
  int maxLevelFrames = 150000;
  int maxScreenFrames = 4000;
};

struct Sample {
  double seconds = 0.0;
  double rssMb = 0.0;
  double heapMb = 0.0;  // what the allocator holds for live blocks: growth here is kept objects
  int levelsEntered = 0;
  int levelsFinished = 0;
};

struct Report {
  int levelsEntered = 0;   // level screens that came up
  int levelsFinished = 0;  // levels played to their results
  int wins = 0;
  int restarts = 0;        // a level started again from its results or its pause screen
  int reentries = 0;       // a mission launched from mission control after leaving a level
  int menuReturns = 0;     // level left to the main menu and back in through "continue"
  int visits = 0;          // level visits ended, by any exit
  long long frames = 0;
  std::vector<Sample> samples;
  std::string failure;     // empty when the run went through
};

// The engine's clock for the run: each frame is 16 ms of game time, however long
// the machine took for it. Installed before the application is made.
constexpr int kFrameMs = 16;
void installFrameClock();
void advanceFrameClock();

// Resident set of this process in MB, from /proc/self/statm; negative when unreadable.
double residentMb();

// Bytes of live heap blocks in MB (mallinfo2), across all arenas.
double heapInUseMb();

// Growth of resident memory from the sample at settleSeconds to the highest sample
// after it; 0 when no sample lies at or after that time.
double growthAfter(const std::vector<Sample>& samples, double settleSeconds);

class Driver {
 public:
  // The application (not owned) must be initialised; the driver takes its frames.
  Driver(MyApp& app, const Options& options);
  ~Driver();
  Driver(const Driver&) = delete;
  Driver& operator=(const Driver&) = delete;

  // Runs frames until the time is up or the flow is stuck.
  Report run();

 private:
  // Exits a visit ends with, in turn.
  enum class Exit { ResultsRestart, PauseRestart, ResultsLeave, PauseLeave, PauseMainMenu, kCount };

  void step();
  void onNewTop(GameState* top);
  void onMainMenu(ScreenBase& screen);
  void onMissionControl(ScreenBase& screen);
  void onLevel(LevelScreen& level);
  void onPause(ScreenBase& screen);
  void onResults(ScreenBase& screen);
  bool interruptsThisVisit() const;
  // A click on the screen's button as the pointer gives it: moved there, pressed,
  // released. False when the screen shows no such button.
  bool click(ScreenBase& screen, int buttonId);
  void pressKey(int key);
  LevelScreen* levelOnStack() const;
  void fail(const std::string& why);
  void takeSample(double elapsed);

  MyApp& app_;
  Options options_;
  Report report_;
  std::unique_ptr<levelrunner::Commands> commands_;
  std::unique_ptr<levelrunner::Player> player_;
  GameState* top_ = nullptr;  // not owned; only compared, never followed once replaced
  int topFrames_ = 0;         // frames the current top has been on top
  int actions_ = 0;           // clicks given to the current top so far
  LevelScreen* level_ = nullptr;  // not owned: the level being played, checked each frame
  int levelFrames_ = 0;
  bool pauseAsked_ = false;
  int visit_ = 0;             // visits ended so far; picks the next exit
  int mission_ = 0;           // the next mission to launch
  bool launched_ = false;     // the first launch is no re-entry
  bool campaignOpened_ = false;
  bool viaMainMenu_ = false;  // the level was left to the main menu
  bool restingAtControl_ = false;  // this frame, mission control has just settled
};

}  // namespace soak
