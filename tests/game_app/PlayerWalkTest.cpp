// The real program played through as a player would, with real X input
// (xdotool) and the game's own F8 screenshots: logos, new game, mission 0 on
// normal, a tower, pause and resume, a win, the tally, mission control with the
// next mission open and the badge set, quit, and the same progress after a
// restart. Every wait polls the screen or the files; nothing leans on a fixed
// sleep being long enough.
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "ProgramRun.h"
#include "Profile/Profile.h"
#include "TestEnv.h"

#ifdef STARMOOR_EXE
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

std::string capture(const std::string& command) {
  std::string out;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[256];
    while (fgets(buffer, sizeof buffer, pipe)) out += buffer;
    pclose(pipe);
  }
  return out;
}

bool haveXdotool() { return std::system("command -v xdotool >/dev/null 2>&1") == 0; }

// One of the game's screenshots, read back as pixels.
class Shot {
 public:
  explicit Shot(const std::string& path) {
    SDL_Surface* loaded = IMG_Load(path.c_str());
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
  Player(const std::string& root, const std::string& name) {
    run_.exe = STARMOOR_EXE;
    run_.log = root + "/" + name + ".txt";
    shots_ = root + "/data/Starmoor/ScreenShots";
  }
  ~Player() {
    if (run_.pid > 0 && run_.status == -1) run_.wait(0);
  }

  // Starts the program and waits for its window.
  bool start() {
    run_.start();
    return poll(60, [&] {
      window_ = capture("xdotool search --pid " + std::to_string(run_.pid) + " 2>/dev/null");
      if (const size_t end = window_.find('\n'); end != std::string::npos) window_.resize(end);
      return !window_.empty();
    });
  }

  // A press and release at a point of the 1366 x 768 layout.
  void click(int x, int y) {
    xdo("mousemove --window " + window_ + " " + std::to_string(x) + " " + std::to_string(y));
    pause(150);
    xdo("mousedown 1");
    pause(80);
    xdo("mouseup 1");
    pause(150);
  }
  void hover(int x, int y) {
    xdo("mousemove --window " + window_ + " " + std::to_string(x) + " " + std::to_string(y));
    pause(100);
  }
  // Keys go where the pointer is: the server runs without a window manager.
  void key(const std::string& name) {
    xdo("key " + name);
    pause(100);
  }

  // A fresh screenshot through the game's F8 key.
  Shot shot() {
    const size_t before = shotCount();
    std::string path;
    for (int attempt = 0; attempt < 5 && path.empty(); ++attempt) {
      key("F8");
      poll(10, [&] {
        if (shotCount() <= before) return false;
        path = newestShot();
        return true;
      });
    }
    if (path.empty()) return Shot(std::string());
    // The file is written once; give it a moment to be complete before reading.
    Shot s(path);
    for (int i = 0; i < 20 && !s.ok(); ++i) {
      pause(100);
      s = Shot(path);
    }
    last_ = path;
    return s;
  }

  // Takes screenshots until one satisfies the test, for at most the given time.
  bool waitFor(int seconds, const std::function<bool(const Shot&)>& test) {
    return poll(seconds, [&] {
      const Shot s = shot();
      return s.ok() && test(s);
    });
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
  int finish(int seconds) { return run_.wait(seconds); }
  const std::string& lastShot() const { return last_; }
  std::string output() const { return testenv::readText(run_.log); }

  static bool poll(int seconds, const std::function<bool()>& done) {
    const auto until = Clock::now() + std::chrono::seconds(seconds);
    while (Clock::now() < until) {
      if (done()) return true;
      pause(200);
    }
    return false;
  }
  static void pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

 private:
  void xdo(const std::string& args) { std::system(("xdotool " + args + " >/dev/null 2>&1").c_str()); }
  size_t shotCount() const {
    std::error_code ec;
    if (!fs::is_directory(shots_, ec)) return 0;
    size_t n = 0;
    for (const auto& e : fs::directory_iterator(shots_, ec)) n += e.is_regular_file() ? 1 : 0;
    return n;
  }
  // The game numbers its screenshots upwards: the highest number is the newest.
  std::string newestShot() const {
    std::string best;
    int bestNumber = 0;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(shots_, ec)) {
      const std::string name = e.path().stem().string();
      if (name.rfind("ScrShot", 0) != 0) continue;
      const int number = std::atoi(name.c_str() + 7);
      if (number > bestNumber) {
        best = e.path().string();
        bestNumber = number;
      }
    }
    return best;
  }

  testenv::ProgramRun run_;
  std::string shots_, window_, last_;
};


// Colours of the game's look.
bool cyan(int r, int g, int b) { return b > 180 && g > 150 && r < 170; }
bool white(int r, int g, int b) { return r > 200 && g > 200 && b > 200; }
bool red(int r, int g, int b) { return r > 170 && g < 90 && b < 90; }
bool green(int r, int g, int b) { return g > 150 && r < 150 && b < 150; }
bool orange(int r, int g, int b) { return r > 200 && g > 110 && g < 200 && b < 90; }

bool light(int, int g, int b) { return b > 200 && g > 180; }
bool tint(int r, int g, int) { return g > 50 && g > r + 30; }

// What each screen shows where only it shows it (1366 x 768 layout).
bool levelShown(const Shot& s) { return s.count(1040, 3, 325, 22, cyan) > 1000; }
// The pause screen tints the whole field green.
bool paused(const Shot& s) { return s.count(550, 640, 250, 100, tint) > 12000; }
bool mainMenu(const Shot& s) {
  return s.count(556, 300, 254, 55, cyan) > 500 && s.count(92, 660, 220, 45, orange) < 800 && !levelShown(s) &&
         !paused(s);
}
bool continueShown(const Shot& s) { return s.count(556, 368, 254, 55, cyan) > 300; }
// The SKIP button of a first visit's tutorial is at the bottom left; where no tutorial
// shows, a click there lands on an idle spot of the screen.
// Waits for a screen, pressing SKIP while a tutorial covers it.
template <typename P, typename Test>
bool waitSkipping(P& p, int seconds, Test screenShown) {
  return P::poll(seconds, [&] {
    if (screenShown(p.shot())) return true;
    p.click(160, 720);
    P::pause(1500);
    return false;
  });
}

bool missionControl(const Shot& s) {
  return s.count(92, 660, 220, 45, orange) > 800 && s.count(1118, 696, 226, 48, cyan) > 100;
}
bool slotLocked(const Shot& s, int slot) { return s.count(530 + 270 * slot, 190, 130, 30, red) > 100; }
bool slotWon(const Shot& s, int slot) { return s.count(508 + 270 * slot, 146, 36, 30, green) > 40; }
// The lit radio of a slot's difficulty row (0 easy, 1 normal, 2 hard).
bool slotDifficulty(const Shot& s, int slot, int difficulty) {
  return s.count(513 + 270 * slot + 32 * difficulty, 282, 8, 8, light) > 40;
}
// The level with its bridge booted: the first tower's button is drawn.
bool levelReady(const Shot& s) { return levelShown(s) && s.count(1056, 176, 36, 36, cyan) > 30 && !paused(s); }
bool tallyTitle(const Shot& s) { return s.count(400, 200, 565, 60, white) > 2000; }
// The tally read to its end: the total row filled in.
bool tallyDone(const Shot& s) { return tallyTitle(s) && s.count(870, 465, 120, 32, cyan) > 60; }
bool towerAt(const Shot& s, int x, int y) {
  return s.count(x - 14, y - 14, 28, 28, [](int r, int g, int b) { return cyan(r, g, b) || white(r, g, b); }) > 20;
}

// Cells beside the path of mission 0 where a beam turret covers a bend.
const int kTowerCells[][2] = {{464, 400}, {720, 496}, {752, 400}, {240, 304}, {720, 400}, {304, 368}};
constexpr int kFirstTowerButton[2] = {1074, 194};

std::vector<uint8_t> readBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

class PlayerWalk : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::getenv("DISPLAY") || !haveXdotool()) GTEST_SKIP() << "needs an X display and xdotool";
#if defined(__SANITIZE_ADDRESS__)
    // The walk is played against the clock like a player's; the sanitized program is too
    // slow for its waits. The sanitized run covers these screens in process instead
    // (overlay, mission control and results tests).
    GTEST_SKIP() << "played in the normal build only";
#endif
    IMG_Init(IMG_INIT_PNG);
  }
  // Clicks through the logos until the main menu stands.
  static bool passLogos(Player& p) {
    return Player::poll(90, [&] {
      p.click(600, 650);
      const Shot s = p.shot();
      return s.ok() && mainMenu(s);
    });
  }
  std::string folder() const { return dirs_.data() + "/Starmoor"; }

  testenv::TempUserDirs dirs_;
};

TEST_F(PlayerWalk, WinsTheFirstMissionAndFindsItAfterARestart) {
  {
    Player p(dirs_.root(), "first");
    ASSERT_TRUE(p.start());
    ASSERT_TRUE(passLogos(p)) << p.lastShot();
    const Shot menu = p.shot();
    EXPECT_FALSE(continueShown(menu)) << "a first start has nothing to continue";

    p.click(682, 328);  // new game
    // A first visit opens the tutorial over mission control: skip it as a player may.
    ASSERT_TRUE(waitSkipping(p, 90, missionControl)) << p.lastShot();
    const Shot fresh = p.shot();
    EXPECT_TRUE(slotLocked(fresh, 1)) << p.lastShot();
    EXPECT_FALSE(slotWon(fresh, 0)) << p.lastShot();

    // Station 0, mission 0, classic, normal.
    p.click(128, 135);
    p.click(610, 200);
    p.click(873, 485);
    p.click(549, 286);
    ASSERT_TRUE(p.waitFor(20, [](const Shot& s) { return slotDifficulty(s, 0, 1); })) << p.lastShot();
    p.click(1230, 720);  // launch
    // The first mission opens its tutorial over the level: SKIP it until the level
    // itself answers (a click there on a level without one lands on an empty cell).
    ASSERT_TRUE(waitSkipping(p, 120, levelReady)) << p.lastShot();

    p.click(kFirstTowerButton[0], kFirstTowerButton[1]);
    p.click(kTowerCells[0][0], kTowerCells[0][1]);
    ASSERT_TRUE(p.waitFor(20, [](const Shot& s) { return towerAt(s, kTowerCells[0][0], kTowerCells[0][1]); }))
        << p.lastShot();

    p.key("Escape");
    ASSERT_TRUE(p.waitFor(30, paused)) << p.lastShot();
    p.click(682, 298);  // resume
    ASSERT_TRUE(p.waitFor(30, [](const Shot& s) { return !paused(s) && levelReady(s); })) << p.lastShot();

    // Fast forward, call each wave as soon as it is offered and spend the
    // credits on more turrets as they come in.
    p.hover(500, 740);
    p.key("space");
    p.key("s");
    size_t next = 1;
    const bool won = Player::poll(600, [&] {
      if (next < std::size(kTowerCells)) {
        p.click(kFirstTowerButton[0], kFirstTowerButton[1]);
        p.click(kTowerCells[next][0], kTowerCells[next][1]);
        p.hover(500, 740);  // the keys go where the pointer is
      }
      p.key("space");
      const Shot s = p.shot();
      if (s.ok() && next < std::size(kTowerCells) && towerAt(s, kTowerCells[next][0], kTowerCells[next][1])) ++next;
      return s.ok() && tallyTitle(s);
    });
    ASSERT_TRUE(won) << p.lastShot();
    ASSERT_TRUE(p.waitFor(60, tallyDone)) << p.lastShot();
    // The win is on disk while the tally shows: closing the program here loses nothing.
    const std::vector<uint8_t> onTally = readBytes(folder() + "/missions.dat");
    ASSERT_FALSE(onTally.empty());
    EXPECT_EQ(onTally[0], 1);

    // The way back answers once its button has faded in.
    ASSERT_TRUE(Player::poll(60, [&] {
      p.click(820, 588);  // mission control
      const Shot s = p.shot();
      return s.ok() && missionControl(s);
    })) << p.lastShot();
    const Shot after = p.shot();
    EXPECT_FALSE(slotLocked(after, 1)) << p.lastShot();
    EXPECT_TRUE(slotWon(after, 0)) << p.lastShot();

    p.click(970, 720);  // back
    ASSERT_TRUE(p.waitFor(60, mainMenu)) << p.lastShot();
    EXPECT_TRUE(continueShown(p.shot())) << p.lastShot();
    p.click(682, 532);  // quit
    EXPECT_TRUE(WIFEXITED(p.finish(60))) << p.output();
  }

  // The saved progress: mission 0 won, the classic-normal badge of mission 0 and no other.
  const std::vector<uint8_t> missions = readBytes(folder() + "/missions.dat");
  const std::vector<uint8_t> badges = readBytes(folder() + "/badges.dat");
  ASSERT_EQ(badges.size(), static_cast<size_t>(Profile::kBadgeCount));
  ASSERT_FALSE(missions.empty());
  EXPECT_EQ(missions[0], 1);
  for (size_t i = 0; i < badges.size(); ++i) EXPECT_EQ(badges[i], i == 1 ? 1 : 0) << "badge " << i;
  Profile saved{"Commander"};
  saved.readSideFiles(folder());
  EXPECT_TRUE(saved.isMissionWon(0));
  EXPECT_TRUE(saved.hasBadge(0, 0, 1));

  {
    Player p(dirs_.root(), "second");
    ASSERT_TRUE(p.start());
    ASSERT_TRUE(passLogos(p)) << p.lastShot();
    EXPECT_TRUE(continueShown(p.shot())) << p.lastShot();
    p.click(682, 396);  // continue
    ASSERT_TRUE(waitSkipping(p, 90, missionControl)) << p.lastShot();
    const Shot again = p.shot();
    EXPECT_FALSE(slotLocked(again, 1)) << p.lastShot();
    EXPECT_TRUE(slotWon(again, 0)) << p.lastShot();
    p.click(970, 720);
    ASSERT_TRUE(p.waitFor(60, mainMenu)) << p.lastShot();
    p.click(682, 532);
    EXPECT_TRUE(WIFEXITED(p.finish(60))) << p.output();
  }
  EXPECT_EQ(readBytes(folder() + "/missions.dat"), missions);
  EXPECT_EQ(readBytes(folder() + "/badges.dat"), badges);
}

}  // namespace
#endif
