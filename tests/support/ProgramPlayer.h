#pragma once
// Plays the real program through the X server as a player does: real pointer and
// key events (xdotool) and the game's own F8 screenshots read back as pixels.
// Points are given in the 1366 x 768 layout and scaled to the window's size of
// the moment, so a walk may change the resolution under its own feet.
//
// Waits are counted in rounds, not seconds: a round ends with a fresh screenshot,
// which the game can only write after drawing another frame. A loaded machine
// takes longer over each round, but its game moves on in each all the same, so a
// count that is enough on a quiet machine is enough on a busy one. The clock only
// ends a walk whose program stopped answering altogether (kAnswerSeconds for one
// screenshot or window, kWalkMinutes for a whole run).
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "ProgramRun.h"
#include "TestEnv.h"

namespace playtest {

inline std::string capture(const std::string& command) {
  std::string out;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[256];
    while (fgets(buffer, sizeof buffer, pipe)) out += buffer;
    pclose(pipe);
  }
  return out;
}

inline bool haveXdotool() { return std::system("command -v xdotool >/dev/null 2>&1") == 0; }

inline std::vector<uint8_t> readBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// One of the game's screenshots, read back as pixels.
class Shot {
 public:
  explicit Shot(const std::string& path) {
    SDL_Surface* loaded = path.empty() ? nullptr : IMG_Load(path.c_str());
    if (loaded) {
      surface_.reset(SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGBA32, 0));
      SDL_FreeSurface(loaded);
    }
  }
  bool ok() const { return surface_ != nullptr; }
  int width() const { return surface_ ? surface_->w : 0; }
  int height() const { return surface_ ? surface_->h : 0; }

  // How many pixels of a layout rectangle pass the colour test.
  int count(int x, int y, int w, int h, const std::function<bool(int, int, int)>& colour) const {
    if (!surface_) return 0;
    const double sx = width() / 1366.0, sy = height() / 768.0;
    int n = 0;
    for (int py = static_cast<int>(y * sy); py < static_cast<int>((y + h) * sy) && py < height(); ++py)
      for (int px = static_cast<int>(x * sx); px < static_cast<int>((x + w) * sx) && px < width(); ++px) {
        const uint8_t* p = static_cast<const uint8_t*>(surface_->pixels) + py * surface_->pitch + px * 4;
        n += colour(p[0], p[1], p[2]) ? 1 : 0;
      }
    return n;
  }

 private:
  struct Free {
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
  };
  std::unique_ptr<SDL_Surface, Free> surface_;
};

// Drives one run of the program through the X server with real pointer and
// key events.
class Player {
 public:
  using Clock = std::chrono::steady_clock;
  // Far beyond what the slowest machine needs: they only bound a program that hangs.
  static constexpr int kAnswerSeconds = 180;
  static constexpr int kWalkMinutes = 25;

  // exe: the game, or a copy of it beside content of the test's own.
  Player(const std::string& root, const std::string& name, const std::string& exe = STARMOOR_EXE)
      : giveUp_(Clock::now() + std::chrono::minutes(kWalkMinutes)) {
    run_.exe = exe;
    run_.log = root + "/" + name + ".txt";
    shots_ = root + "/data/Starmoor/ScreenShots";
  }
  ~Player() {
    if (run_.pid > 0 && run_.status == -1) run_.wait(0);
  }
  Player(const Player&) = delete;
  Player& operator=(const Player&) = delete;

  // Starts the program and waits for its window while the program runs.
  bool start() {
    run_.start();
    return answers([&] { return findWindow(); });
  }

  // The window's size in pixels, as the X server has it now; 0 x 0 without one.
  void windowSize(int& width, int& height) {
    width = height = 0;
    if (!findWindow()) return;
    std::istringstream lines(capture("xdotool getwindowgeometry --shell " + window_ + " 2>/dev/null"));
    for (std::string line; std::getline(lines, line);) {
      if (line.rfind("WIDTH=", 0) == 0) width = std::atoi(line.c_str() + 6);
      if (line.rfind("HEIGHT=", 0) == 0) height = std::atoi(line.c_str() + 7);
    }
  }

  // A press and release at a point of the 1366 x 768 layout.
  void click(int x, int y) {
    hover(x, y);
    pause(50);
    xdo("mousedown 1");
    pause(80);
    xdo("mouseup 1");
    pause(150);
  }
  void hover(int x, int y) {
    int width = 0, height = 0;
    windowSize(width, height);
    if (width > 0 && height > 0) {
      x = x * width / 1366;
      y = y * height / 768;
    }
    xdo("mousemove --window " + window_ + " " + std::to_string(x) + " " + std::to_string(y));
    pause(100);
  }
  // Keys go where the pointer is: the server runs without a window manager.
  void key(const std::string& name) {
    xdo("key " + name);
    pause(100);
  }

  // A fresh screenshot through the game's F8 key, waited for while the program runs.
  // The key is pressed again now and then, in case one was lost.
  Shot shot() {
    const size_t before = shotCount();
    std::string path;
    auto pressed = Clock::now() - std::chrono::hours(1);
    answers([&] {
      if (Clock::now() - pressed > std::chrono::seconds(10)) {
        key("F8");
        pressed = Clock::now();
      }
      if (shotCount() <= before) return false;
      path = newestShot();
      return true;
    });
    if (path.empty()) return Shot(std::string());
    // The game names a screenshot only once it is whole.
    last_ = path;
    return Shot(path);
  }

  // Takes up to the given number of fresh screenshots until one satisfies the test.
  bool waitFor(int rounds, const std::function<bool(const Shot&)>& test) {
    return repeat(rounds, [&] {
      const Shot s = shot();
      return s.ok() && test(s);
    });
  }

  // Runs a round up to the given number of times until it returns true: false
  // once the program has ended or the walk ran out of time. Each round should end
  // with a screenshot (waitFor, shot), so the game moves on in it.
  bool repeat(int rounds, const std::function<bool()>& round) {
    for (int n = 0; n < rounds && running() && Clock::now() < giveUp_; ++n)
      if (round()) return true;
    return false;
  }

  // Waits up to the given rounds for the program to end on its own.
  bool waitForExit(int rounds) {
    repeat(rounds, [&] {
      shot();
      return false;
    });
    return !running();
  }

  bool running() {
    if (run_.status != -1) return false;
    int s = 0;
    if (waitpid(run_.pid, &s, WNOHANG) == run_.pid) {
      run_.status = s;
      return false;
    }
    return true;
  }
  // Waits for the program to end (killed after kAnswerSeconds) and gives its wait status.
  int finish() { return running() ? run_.wait(kAnswerSeconds) : run_.status; }
  pid_t pid() const { return run_.pid; }
  // The wait status once running() has seen the program end, else -1.
  int status() const { return run_.status; }
  // For a failed wait: the last screenshot looked at and, once the program has
  // ended, how it ended and the end of its log.
  std::string lastShot() const {
    if (run_.status == -1) return last_;
    const std::string log = output();
    return last_ + "\nthe program ended (wait status " + std::to_string(run_.status) + "); its log ends:\n" +
           log.substr(log.size() > 2000 ? log.size() - 2000 : 0);
  }
  std::string output() const { return testenv::readText(run_.log); }

  static void pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

 private:
  // Polls until done, as long as the program runs and answers within kAnswerSeconds.
  bool answers(const std::function<bool()>& done) {
    const auto until = std::min(giveUp_, Clock::now() + std::chrono::seconds(kAnswerSeconds));
    while (Clock::now() < until && running()) {
      if (done()) return true;
      pause(50);
    }
    return false;
  }

  // The program's window; looked up again each time, since a new resolution or
  // window mode makes the game build a new one.
  bool findWindow() {
    std::string found = capture("xdotool search --pid " + std::to_string(run_.pid) + " 2>/dev/null");
    if (const size_t end = found.find('\n'); end != std::string::npos) found.resize(end);
    if (found.empty()) return false;
    window_ = found;
    return true;
  }
  void xdo(const std::string& args) { std::system(("xdotool " + args + " >/dev/null 2>&1").c_str()); }
  // The number of a finished screenshot's name (ScrShot<n>.png), else 0: a picture
  // still being written has another name.
  static int shotNumber(const std::filesystem::path& file) {
    const std::string name = file.filename().string();
    if (name.size() <= 11 || name.rfind("ScrShot", 0) != 0 || file.extension() != ".png") return 0;
    const std::string digits = name.substr(7, name.size() - 11);
    if (digits.find_first_not_of("0123456789") != std::string::npos) return 0;
    return std::atoi(digits.c_str());
  }
  size_t shotCount() const {
    std::error_code ec;
    if (!std::filesystem::is_directory(shots_, ec)) return 0;
    size_t n = 0;
    for (const auto& e : std::filesystem::directory_iterator(shots_, ec)) n += shotNumber(e.path()) > 0 ? 1 : 0;
    return n;
  }
  // The game numbers its screenshots upwards: the highest number is the newest.
  std::string newestShot() const {
    std::string best;
    int bestNumber = 0;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(shots_, ec)) {
      const int number = shotNumber(e.path());
      if (number > bestNumber) {
        best = e.path().string();
        bestNumber = number;
      }
    }
    return best;
  }

  testenv::ProgramRun run_;
  std::string shots_, window_, last_;
  Clock::time_point giveUp_;
};

// Colours of the game's look.
inline bool cyan(int r, int g, int b) { return b > 180 && g > 150 && r < 170; }
inline bool white(int r, int g, int b) { return r > 200 && g > 200 && b > 200; }
inline bool red(int r, int g, int b) { return r > 170 && g < 90 && b < 90; }
inline bool green(int r, int g, int b) { return g > 150 && r < 150 && b < 150; }
inline bool orange(int r, int g, int b) { return r > 200 && g > 110 && g < 200 && b < 90; }
inline bool light(int, int g, int b) { return b > 200 && g > 180; }

// What each screen shows where only it shows it (1366 x 768 layout).
inline bool levelShown(const Shot& s) { return s.count(1040, 3, 325, 22, cyan) > 1000; }
// The pause screen's title stands in white where no other screen of the walks writes.
inline bool paused(const Shot& s) { return s.count(600, 214, 166, 34, white) > 400; }
// The new game and quit buttons: the logo lights the first's place, not the second's.
inline bool mainMenu(const Shot& s) {
  return s.count(556, 300, 254, 55, cyan) > 500 && s.count(556, 505, 254, 55, cyan) > 400 &&
         s.count(92, 660, 220, 45, orange) < 800 && !levelShown(s) && !paused(s);
}
inline bool continueShown(const Shot& s) { return mainMenu(s) && s.count(556, 368, 254, 55, cyan) > 300; }
inline bool missionControl(const Shot& s) {
  return s.count(92, 660, 220, 45, orange) > 800 && s.count(1118, 696, 226, 48, cyan) > 100;
}
inline bool slotLocked(const Shot& s, int slot) { return s.count(530 + 270 * slot, 190, 130, 30, red) > 100; }
inline bool slotWon(const Shot& s, int slot) { return s.count(508 + 270 * slot, 146, 36, 30, green) > 40; }

// Clicks through the logos until the main menu stands, a click and a screenshot a round.
inline bool passLogos(Player& p) {
  return p.repeat(30, [&] {
    p.click(600, 650);
    const Shot s = p.shot();
    return s.ok() && mainMenu(s);
  });
}

// Waits for a screen, pressing SKIP while a first visit's tutorial covers it. The
// SKIP button is at the bottom left; where no tutorial shows, a click there lands
// on an idle spot of the screen. The tutorial fades out over a few rounds.
inline bool waitSkipping(Player& p, int rounds, const std::function<bool(const Shot&)>& screenShown) {
  return p.repeat(rounds, [&] {
    const Shot s = p.shot();
    if (s.ok() && screenShown(s)) return true;
    p.click(160, 720);
    return p.waitFor(3, screenShown);
  });
}

// Clicks until the screen answers. On a busy machine a click can be lost (one
// frame sees the press before the pointer has arrived over the button), so a
// click is tried again once the screen has not answered for a few screenshots:
// each place clicked must be harmless on the screen that answers.
inline bool clickUntil(Player& p, int x, int y, int rounds, const std::function<bool(const Shot&)>& answered) {
  return p.repeat(rounds, [&] {
    p.click(x, y);
    return p.waitFor(4, answered);
  });
}

// The main menu's buttons.
constexpr int kNewGameButton[2] = {682, 328};
constexpr int kContinueButton[2] = {682, 396};
constexpr int kOptionsButton[2] = {682, 464};
constexpr int kQuitButton[2] = {682, 532};

// Leaves the main menu through its quit button, clicked again while the program
// runs on, and gives the program's wait status (-1 when it would not end).
inline int quitFromMenu(Player& p) {
  p.repeat(20, [&] {
    p.click(kQuitButton[0], kQuitButton[1]);
    return p.waitForExit(6);
  });
  return p.finish();
}

// A walk through the real program in a fresh user folder. Walks go screen by screen
// through X input (one plays a whole mission), which the sanitized program takes many
// times as long over; the sanitized run covers the same screens in process (overlay,
// menu, mission control and results tests).
class WalkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::getenv("DISPLAY") || !haveXdotool()) GTEST_SKIP() << "needs an X display and xdotool";
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "played in the normal build only";
#endif
    IMG_Init(IMG_INIT_PNG);
    std::filesystem::create_directories(folder());
  }
  // Every text the walk's screens asked for is in the strings file: the game
  // names each key it did not find in its log.
  void TearDown() override {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(dirs_.root(), ec)) {
      if (entry.path().extension() != ".txt") continue;
      std::istringstream lines(testenv::readText(entry.path().string()));
      for (std::string line; std::getline(lines, line);)
        if (line.find(": no label ") != std::string::npos) ADD_FAILURE() << entry.path().filename() << ": " << line;
    }
  }
  std::string folder() const { return dirs_.data() + "/Starmoor"; }

  testenv::TempUserDirs dirs_;
};

}  // namespace playtest
