// The real program played through as a player would, with real X input
// (xdotool) and the game's own F8 screenshots: logos, new game, mission 0 on
// normal, a tower, pause and resume, a win, the tally, mission control with the
// next mission open and the badge set, quit, and the same progress after a
// restart. Every wait counts the game's screenshots (see ProgramPlayer.h);
// nothing leans on the machine being quiet enough for a number of seconds.
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

#include "ProgramPlayer.h"
#include "Profile/Profile.h"
#include "TestEnv.h"

#ifdef STARMOOR_EXE
namespace {

using namespace playtest;

// The lit radio of a slot's difficulty row (0 easy, 1 normal, 2 hard).
bool slotDifficulty(const Shot& s, int slot, int difficulty) {
  return s.count(513 + 270 * slot + 32 * difficulty, 282, 8, 8, light) > 40;
}
// The level with its bridge booted: the first tower's button is drawn.
bool levelReady(const Shot& s) { return levelShown(s) && s.count(1056, 176, 36, 36, cyan) > 30 && !paused(s); }
bool tallyTitle(const Shot& s) { return s.count(400, 200, 565, 60, white) > 2000; }
// The tally read to its end: the total row filled in.
bool tallyDone(const Shot& s) { return tallyTitle(s) && s.count(870, 465, 120, 32, cyan) > 60; }
// Mission control after the first win: its badge shown and the second mission open.
bool nextMissionOpen(const Shot& s) { return slotWon(s, 0) && !slotLocked(s, 1); }
bool towerAt(const Shot& s, int x, int y) {
  return s.count(x - 14, y - 14, 28, 28, [](int r, int g, int b) { return cyan(r, g, b) || white(r, g, b); }) > 20;
}

// Cells beside the path of mission 0 where a beam turret covers a bend.
const int kTowerCells[][2] = {{464, 400}, {720, 496}, {752, 400}, {240, 304}, {720, 400}, {304, 368}};
constexpr int kFirstTowerButton[2] = {1074, 194};

using PlayerWalk = WalkTest;

TEST_F(PlayerWalk, WinsTheFirstMissionAndFindsItAfterARestart) {
  {
    Player p(dirs_.root(), "first");
    ASSERT_TRUE(p.start());
    ASSERT_TRUE(passLogos(p)) << p.lastShot();
    const Shot menu = p.shot();
    EXPECT_FALSE(continueShown(menu)) << "a first start has nothing to continue";

    ASSERT_TRUE(clickUntil(p, kNewGameButton[0], kNewGameButton[1], 20, [](const Shot& s) { return !mainMenu(s); }))
        << p.lastShot();
    // A first visit opens the tutorial over mission control a moment after it shows:
    // skip it as a player may, until mission control with a new profile's slots stays.
    ASSERT_TRUE(waitSkipping(p, 40, [](const Shot& s) {
      return missionControl(s) && slotLocked(s, 1) && !slotWon(s, 0);
    })) << p.lastShot();

    // Station 0, mission 0, classic, normal: each choice may be made again, so the
    // round repeats them all until the normal radio is lit.
    ASSERT_TRUE(p.repeat(20, [&] {
      p.click(128, 135);
      p.click(610, 200);
      p.click(873, 485);
      p.click(549, 286);
      return p.waitFor(4, [](const Shot& s) { return slotDifficulty(s, 0, 1); });
    })) << p.lastShot();
    // Launch; mission control stays while its button is not yet taken.
    ASSERT_TRUE(clickUntil(p, 1230, 720, 20, [](const Shot& s) { return !missionControl(s); })) << p.lastShot();
    // The first mission opens its tutorial over the level: SKIP it until the level
    // itself answers (a click there on a level without one lands on an empty cell).
    ASSERT_TRUE(waitSkipping(p, 60, levelReady)) << p.lastShot();

    // A click on a cell that already holds the tower is refused, so the purchase may be tried again.
    ASSERT_TRUE(p.repeat(20, [&] {
      p.click(kFirstTowerButton[0], kFirstTowerButton[1]);
      p.click(kTowerCells[0][0], kTowerCells[0][1]);
      return p.waitFor(4, [](const Shot& s) { return towerAt(s, kTowerCells[0][0], kTowerCells[0][1]); });
    })) << p.lastShot();

    p.key("Escape");
    ASSERT_TRUE(p.waitFor(40, paused)) << p.lastShot();
    ASSERT_TRUE(clickUntil(p, 682, 298, 20, [](const Shot& s) { return !paused(s) && levelReady(s); }))  // resume
        << p.lastShot();

    // Fast forward, call each wave as soon as it is offered and spend the
    // credits on more turrets as they come in.
    p.hover(500, 740);
    p.key("space");
    p.key("s");
    size_t next = 1;
    // Rounds enough for the mission many times over: a round shows at least a frame.
    const bool won = p.repeat(4000, [&] {
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
    ASSERT_TRUE(p.waitFor(150, tallyDone)) << p.lastShot();
    // The win is on disk while the tally shows: closing the program here loses nothing.
    const std::vector<uint8_t> onTally = readBytes(folder() + "/missions.dat");
    ASSERT_FALSE(onTally.empty());
    EXPECT_EQ(onTally[0], 1);

    // The way back answers once its button has faded in.
    ASSERT_TRUE(clickUntil(p, 820, 588, 40, missionControl)) << p.lastShot();  // mission control
    EXPECT_TRUE(p.waitFor(20, nextMissionOpen)) << p.lastShot();

    ASSERT_TRUE(clickUntil(p, 970, 720, 30, mainMenu)) << p.lastShot();  // back
    EXPECT_TRUE(p.waitFor(10, continueShown)) << p.lastShot();
    const int status = quitFromMenu(p);
    EXPECT_TRUE(status != -1 && WIFEXITED(status)) << p.output();
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
    EXPECT_TRUE(p.waitFor(10, continueShown)) << p.lastShot();
    ASSERT_TRUE(clickUntil(p, kContinueButton[0], kContinueButton[1], 20, [](const Shot& s) { return !mainMenu(s); }))
        << p.lastShot();
    ASSERT_TRUE(waitSkipping(p, 40, missionControl)) << p.lastShot();
    EXPECT_TRUE(p.waitFor(20, nextMissionOpen)) << p.lastShot();
    ASSERT_TRUE(clickUntil(p, 970, 720, 30, mainMenu)) << p.lastShot();  // back
    const int status = quitFromMenu(p);
    EXPECT_TRUE(status != -1 && WIFEXITED(status)) << p.output();
  }
  EXPECT_EQ(readBytes(folder() + "/missions.dat"), missions);
  EXPECT_EQ(readBytes(folder() + "/badges.dat"), badges);
}

}  // namespace
#endif
