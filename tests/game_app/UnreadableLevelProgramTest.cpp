// The real program launching a level file that gives no level to play (one it cannot
// read, one whose only path its ships cannot fly): the player is back at mission
// control at once, and the files afterwards hold no win, badge, unlock, score or
// statistic of it, however the player pressed on.
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "FileSaveGame.h"
#include "GameApp.h"
#include "MyApp.h"
#include "ProgramPlayer.h"
#include "Profile/Profile.h"
#include "TestEnv.h"

#if defined(STARMOOR_EXE) && defined(STARMOOR_SOURCE_DIR)
namespace {

namespace fs = std::filesystem;
using namespace playtest;

// The save's header names the game it belongs to.
class SaveApp : public GameApp {
 public:
  std::string getSaveIdentifier() const override { return "VTQA_PL762"; }
};

bool tallyShown(const Shot& s) { return s.count(400, 200, 565, 60, white) > 2000; }

// Mission 0's level as the case makes it, and what the level says once it has tried it.
struct BrokenLevel {
  const char* name;
  std::string (*make)(const std::string& original);
  const char* refusal;
};

std::string nestedTooDeep(const std::string&) {
  std::string nested;
  for (int i = 0; i < 200; ++i) nested += "<Attack>";
  for (int i = 0; i < 200; ++i) nested += "</Attack>";
  return "<Stage>" + nested + "</Stage>\n";
}

// Its one path on a spline of a single control point, written beside it.
std::string onePointPath(const std::string& original) {
  return std::regex_replace(original, std::regex("centerLine=\"[^\"]*\""), "centerLine=\"content/levels/one_point.xml\"");
}

const BrokenLevel kBrokenLevels[] = {
    {"NestedTooDeep", nestedTooDeep, "content/levels/mission_00.xml cannot be read, so it gives no level to play"},
    {"OnePointPath", onePointPath,
     "content/levels/mission_00.xml has no attack whose ships have a path to fly (attack 0: path 0 is left out: "
     "its spline \"content/levels/one_point.xml\" has one control point"},
};

void PrintTo(const BrokenLevel& broken, std::ostream* out) { *out << broken.name; }

class UnreadableLevel : public WalkTest, public testing::WithParamInterface<BrokenLevel> {};

TEST_P(UnreadableLevel, SendsThePlayerBackToMissionControlAndRecordsNothing) {
  const BrokenLevel& broken = GetParam();
  const std::string kRefused = broken.refusal;
  // The game beside its content, but for mission 0's level, which the case breaks.
  const std::string game = dirs_.root() + "/game";
  const std::string exe = testenv::programWithoutLogos(STARMOOR_EXE, game, STARMOOR_SOURCE_DIR);
  fs::remove(game + "/content/levels");
  fs::create_directories(game + "/content/levels");
  for (const auto& entry : fs::directory_iterator(fs::path(STARMOOR_SOURCE_DIR) / "content/levels"))
    if (entry.path().filename() != "mission_00.xml")
      fs::create_symlink(entry.path(), game + "/content/levels/" + entry.path().filename().string());
  const std::string levels = std::string(STARMOOR_SOURCE_DIR) + "/content/levels";
  std::ofstream(game + "/content/levels/mission_00.xml") << broken.make(testenv::readText(levels + "/mission_00.xml"));
  std::ofstream(game + "/content/levels/one_point.xml")
      << "<Spline n=\"1\" t=\"0\" resolution=\"100\"><ControlPoint x=\"-40\" y=\"300\"/></Spline>\n";
  {
    Player p(dirs_.root(), "unreadable", exe);
    ASSERT_TRUE(p.start());
    ASSERT_TRUE(passLogos(p)) << p.lastShot();
    ASSERT_TRUE(clickUntil(p, kNewGameButton[0], kNewGameButton[1], 20, [](const Shot& s) { return !mainMenu(s); }))
        << p.lastShot();
    ASSERT_TRUE(waitSkipping(p, 40, [](const Shot& s) { return missionControl(s) && slotLocked(s, 1); }))
        << p.lastShot();
    // Station 0, mission 0, classic, normal, then Launch until the level has tried its file.
    ASSERT_TRUE(p.repeat(20, [&] {
      p.click(128, 135);
      p.click(610, 200);
      p.click(873, 485);
      p.click(549, 286);
      p.click(1230, 720);
      return p.waitFor(4, [&](const Shot&) { return p.output().find(kRefused) != std::string::npos; });
    })) << p.lastShot();
    // A player pressing on: past the level's tutorial, the send-wave key, the way back
    // from a tally.
    ASSERT_TRUE(p.repeat(60, [&] {
      p.hover(500, 740);
      p.key("space");
      const Shot s = p.shot();
      if (s.ok() && !missionControl(s)) p.click(tallyShown(s) ? 820 : 160, tallyShown(s) ? 588 : 720);
      return s.ok() && missionControl(s);
    })) << p.lastShot();
    EXPECT_TRUE(p.waitFor(10, [](const Shot& s) { return missionControl(s) && !slotWon(s, 0) && slotLocked(s, 1); }))
        << p.lastShot();
    EXPECT_NE(p.output().find("gives no level to play; back to mission control"), std::string::npos) << p.output();
    // Where the player looks, under the mission's job: that it could not be opened, in red,
    // its file and why in white below; and a band across its card.
    EXPECT_TRUE(p.waitFor(10, [](const Shot& s) {
      return missionControl(s) && s.count(860, 386, 300, 26, red) > 150 && s.count(860, 413, 470, 44, white) > 150 &&
             s.count(498, 203, 232, 36, red) > 100;
    })) << p.lastShot();
    ASSERT_TRUE(clickUntil(p, 970, 720, 30, mainMenu)) << p.lastShot();  // back
    const int status = quitFromMenu(p);
    EXPECT_TRUE(status != -1 && WIFEXITED(status)) << p.output();
  }

  EXPECT_EQ(readBytes(folder() + "/missions.dat"), std::vector<uint8_t>(Profile::kMissionCount, 0));
  EXPECT_EQ(readBytes(folder() + "/badges.dat"), std::vector<uint8_t>(Profile::kBadgeCount, 0));
  SaveApp app;
  FileSaveGame save(folder() + "/Starmoor.sav", &app);
  MyApp::addSettingEntries(&save);
  Profile* profile = new Profile("Commander");  // the save owns it
  save.addEntry("PLAYER_PROFILE", profile);
  ASSERT_TRUE(save.load());
  EXPECT_FALSE(profile->isMissionWon(0));
  EXPECT_FALSE(profile->isMissionUnlocked(1));
  // The store keeps no score and counts nothing for it.
  std::istringstream store(testenv::readText(folder() + "/store.dat"));
  for (std::string line; std::getline(store, line);) {
    EXPECT_NE(line.rfind("score ", 0), 0u) << line;
    EXPECT_NE(line.rfind("achievement ", 0), 0u) << line;
    if (line.rfind("stat ", 0) == 0) {
      EXPECT_EQ(line.substr(line.rfind(' ')), " 0") << line;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(EachWay, UnreadableLevel, testing::ValuesIn(kBrokenLevels),
                         [](const testing::TestParamInfo<BrokenLevel>& info) { return std::string(info.param.name); });

}  // namespace
#endif
