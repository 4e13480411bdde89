// The real program against what takes a player's progress: a damaged save record
// beside intact wins, a second copy of the game on the same profile, side files a
// power cut zero-filled, links and read-only saves, side files that cannot be
// written, a file-size limit, a screen size no display shows, and a hang-up the
// game was told to ignore. Each case looks at the files afterwards.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "ProgramPlayer.h"
#include "ProgramRun.h"
#include "Profile/Profile.h"
#include "TestEnv.h"

#if defined(STARMOOR_EXE) && defined(STARMOOR_SOURCE_DIR)
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

Bytes readBytes(const std::string& path) { return playtest::readBytes(path); }
void writeBytes(const std::string& path, const Bytes& bytes) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<std::streamsize>(bytes.size()));
}

// The save as the game writes it: header, BATTLE_ASSISTANT, MUSIC_VOLUME, the
// 67-byte profile record, SOUND_VOLUME.
constexpr size_t kRecord = 22;  // where the profile record starts
Bytes save(bool progress, const std::vector<int>& unlocked) {
  Bytes b = {10, 0, 0, 0, 'V', 'T', 'Q', 'A', '_', 'P', 'L', '7', '6', '2', 1, 0, 0, 0, 50, 0, 0, 0};
  b.insert(b.end(), {static_cast<uint8_t>(progress), 0, 0, 0, 0, 1, 1});
  Bytes flags(60, 0);
  for (int m : unlocked) flags[static_cast<size_t>(m / 3 * 4)] = flags[static_cast<size_t>(m / 3 * 4 + 1 + m % 3)] = 1;
  b.insert(b.end(), flags.begin(), flags.end());
  b.insert(b.end(), {50, 0, 0, 0});
  return b;
}
bool recordProgress(const Bytes& s) { return s.size() > kRecord && s[kRecord] == 1; }
bool missionUnlocked(const Bytes& s, int m) {
  const size_t at = kRecord + 7 + static_cast<size_t>(m / 3 * 4 + 1 + m % 3);
  return s.size() > at && s[at] == 1;
}
bool stationUnlocked(const Bytes& s, int station) {
  const size_t at = kRecord + 7 + static_cast<size_t>(station * 4);
  return s.size() > at && s[at] == 1;
}
Bytes missions(const std::vector<int>& won) {
  Bytes b(Profile::kMissionCount, 0);
  for (int m : won) b[static_cast<size_t>(m)] = 1;
  return b;
}
// The classic-normal badge of each mission.
Bytes badges(const std::vector<int>& won) {
  Bytes b(Profile::kBadgeCount, 0);
  for (int m : won) b[static_cast<size_t>(Profile::badgeIndex(m, 0, 1))] = 1;
  return b;
}

int count(const std::string& output, const std::string& what) {
  int n = 0;
  for (size_t at = output.find(what); at != std::string::npos; at = output.find(what, at + 1)) ++n;
  return n;
}

bool isLink(const std::string& path) { return fs::is_symlink(fs::symlink_status(path)); }

class ProgressSurvives : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(folder_);
    exe_ = testenv::programWithoutLogos(STARMOOR_EXE, dirs_.root() + "/game", STARMOOR_SOURCE_DIR);
  }
  // A run of the program without logos on this profile; script: frame-numbered steps.
  void start(testenv::ProgramRun& run, const std::string& name, const std::string& script) {
    run.exe = exe_;
    run.log = dirs_.root() + "/" + name + ".txt";
    run.script.clear();
    if (!script.empty()) {
      run.script = dirs_.root() + "/" + name + ".events";
      std::ofstream(run.script) << script;
    }
    run.start();
  }
  std::string file(const char* name) const { return folder_ + "/" + name; }

  testenv::TempUserDirs dirs_;
  std::string folder_ = dirs_.data() + "/Starmoor";
  std::string exe_;
};

TEST_F(ProgressSurvives, ADamagedRecordBesideIntactWinsKeepsTheirProgressAndNewGameAsks) {
  if (!std::getenv("DISPLAY") || !playtest::haveXdotool()) GTEST_SKIP() << "needs an X display and xdotool";
  Bytes noise(20);
  for (size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<uint8_t>(i * 97 + 13);
  writeBytes(file("Starmoor.sav"), noise);
  writeBytes(file("missions.dat"), missions({0, 1, 2}));
  writeBytes(file("badges.dat"), badges({0, 1, 2}));
  IMG_Init(IMG_INIT_PNG);
  {
    playtest::Player p(dirs_.root(), "damaged");
    ASSERT_TRUE(p.start());
    ASSERT_TRUE(playtest::passLogos(p)) << p.lastShot();
    EXPECT_TRUE(p.waitFor(10, playtest::continueShown)) << p.lastShot();
    // The click was taken once the menu no longer shows as it was (the question
    // darkens it; a repeated click lands on its text). A new game without asking
    // would have reset and saved by then, so the files below tell which it was.
    ASSERT_TRUE(playtest::clickUntil(p, playtest::kNewGameButton[0], playtest::kNewGameButton[1], 30,
                                     [](const playtest::Shot& s) { return !playtest::mainMenu(s); }))
        << p.lastShot();
    // The question's two buttons.
    EXPECT_TRUE(p.waitFor(40, [](const playtest::Shot& s) {
      return s.count(427, 460, 240, 52, playtest::cyan) > 200 && s.count(699, 460, 240, 52, playtest::cyan) > 200;
    })) << p.lastShot();
    kill(p.pid(), SIGTERM);  // quits through the saving path, the question unanswered
    const int status = p.finish();
    ASSERT_TRUE(status != -1 && WIFEXITED(status)) << p.output();
  }
  EXPECT_EQ(readBytes(file("Starmoor.sav.bak")), noise);
  EXPECT_EQ(readBytes(file("missions.dat")), missions({0, 1, 2}));
  EXPECT_EQ(readBytes(file("badges.dat")), badges({0, 1, 2}));
  // The record written at quit carries the progress and what the wins unlocked.
  const Bytes record = readBytes(file("Starmoor.sav"));
  EXPECT_TRUE(recordProgress(record));
  for (int m = 0; m <= 3; ++m) EXPECT_TRUE(missionUnlocked(record, m)) << "mission " << m;
  EXPECT_FALSE(missionUnlocked(record, 4));
  EXPECT_TRUE(stationUnlocked(record, 1));
}

TEST_F(ProgressSurvives, ASecondCopyOnTheProfileSaysSoAndNeverWritesOverTheFirst) {
  // The first copy starts on a won mission; the second loads the older profile
  // it would put back. Either may quit first.
  for (const bool firstQuitsFirst : {true, false}) {
    SCOPED_TRACE(firstQuitsFirst ? "first quits first" : "second quits first");
    const std::string tag = firstQuitsFirst ? "a" : "b";
    writeBytes(file("Starmoor.sav"), save(true, {0, 1}));
    writeBytes(file("missions.dat"), missions({0}));
    writeBytes(file("badges.dat"), badges({0}));
    testenv::ProgramRun first, second;
    start(first, "first" + tag, "");
    ASSERT_TRUE(first.waitForOutput("main menu: first frame", 120)) << testenv::readText(first.log);
    writeBytes(file("Starmoor.sav"), save(false, {}));
    writeBytes(file("missions.dat"), missions({}));
    writeBytes(file("badges.dat"), badges({}));
    start(second, "second" + tag, "");
    ASSERT_TRUE(second.waitForOutput("main menu: first frame", 120)) << testenv::readText(second.log);
    testenv::ProgramRun& quitsFirst = firstQuitsFirst ? first : second;
    testenv::ProgramRun& quitsLast = firstQuitsFirst ? second : first;
    kill(quitsFirst.pid, SIGTERM);
    quitsFirst.wait(60);
    kill(quitsLast.pid, SIGTERM);
    quitsLast.wait(60);
    ASSERT_TRUE(first.exitedWith(0)) << first.output;
    ASSERT_TRUE(second.exitedWith(0)) << second.output;
    EXPECT_EQ(count(second.output, "is in use by another copy of the game: this copy runs without saving"), 1)
        << second.output;
    EXPECT_EQ(count(first.output, "in use"), 0) << first.output;
    EXPECT_EQ(readBytes(file("missions.dat")), missions({0}));
    EXPECT_EQ(readBytes(file("badges.dat")), badges({0}));
    EXPECT_TRUE(missionUnlocked(readBytes(file("Starmoor.sav")), 1));
    for (const auto& entry : fs::directory_iterator(folder_))
      EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos) << entry.path();
  }
}

// Cases that prepare the profile, run the program to its third frame and look
// at the files; each in a user folder of its own, run side by side.
struct FileCase {
  const char* what;
  std::function<void(const std::string& folder, const std::string& elsewhere)> prepare;
  std::function<void(const std::string& folder, const std::string& elsewhere, const std::string& output)> check;
  long long fileSizeLimit = -1;  // ulimit -f for the run, in bytes
};

TEST_F(ProgressSurvives, OddFilesAreKeptFollowedOrLeftAloneAndSaid) {
  const auto path = [](const std::string& folder, const char* name) { return folder + "/" + name; };
  const FileCase cases[] = {
      {"zero-filled side files beside a record of wins",
       [&](const std::string& f, const std::string&) {
         writeBytes(path(f, "Starmoor.sav"), save(true, {0, 1, 2}));
         writeBytes(path(f, "missions.dat"), Bytes(Profile::kMissionCount, 0));
         writeBytes(path(f, "badges.dat"), Bytes(Profile::kBadgeCount, 0));
         writeBytes(path(f, "customflags.dat"), Bytes(4 * Profile::kCustomFlagCount, 0));
       },
       [&](const std::string& f, const std::string&, const std::string& output) {
         for (const char* name : {"missions.dat", "badges.dat", "customflags.dat"}) {
           EXPECT_NE(output.find(path(f, name)), std::string::npos) << name << "\n" << output;
           const Bytes kept = readBytes(path(f, name) + ".bak");
           EXPECT_FALSE(kept.empty()) << name;
           EXPECT_EQ(kept, Bytes(kept.size(), 0)) << name;
         }
         EXPECT_NE(readBytes(path(f, "customflags.dat")), Bytes(4 * Profile::kCustomFlagCount, 0));
         EXPECT_TRUE(missionUnlocked(readBytes(path(f, "Starmoor.sav")), 2));
       }},
      {"a save and a side file linked to files elsewhere",
       [&](const std::string& f, const std::string& e) {
         writeBytes(e + "/real.sav", save(false, {0}));
         writeBytes(e + "/missions.dat", missions({0}));
         fs::create_symlink(e + "/real.sav", path(f, "Starmoor.sav"));
         fs::create_symlink(e + "/missions.dat", path(f, "missions.dat"));
       },
       [&](const std::string& f, const std::string& e, const std::string& output) {
         EXPECT_TRUE(isLink(path(f, "Starmoor.sav"))) << output;
         EXPECT_TRUE(isLink(path(f, "missions.dat"))) << output;
         // The target holds the progress the win gave.
         const Bytes record = readBytes(e + "/real.sav");
         EXPECT_TRUE(recordProgress(record)) << output;
         EXPECT_TRUE(missionUnlocked(record, 1)) << output;
         EXPECT_EQ(readBytes(e + "/missions.dat"), missions({0}));
       }},
      {"a save linked to nothing",
       [&](const std::string& f, const std::string& e) {
         fs::create_symlink(e + "/gone.sav", path(f, "Starmoor.sav"));
       },
       [&](const std::string& f, const std::string& e, const std::string& output) {
         EXPECT_TRUE(isLink(path(f, "Starmoor.sav")));
         EXPECT_FALSE(fs::exists(e + "/gone.sav"));
         EXPECT_FALSE(fs::exists(path(f, "missions.dat"))) << "nothing of the profile is written";
         EXPECT_EQ(count(output, "could not write the save file " + path(f, "Starmoor.sav") +
                                     " (it is a symbolic link to " + e + "/gone.sav, which does not exist)"),
                   1)
             << output;
       }},
      {"a read-only save",
       [&](const std::string& f, const std::string&) {
         writeBytes(path(f, "Starmoor.sav"), save(true, {0, 1}));
         writeBytes(path(f, "missions.dat"), missions({0}));
         chmod(path(f, "Starmoor.sav").c_str(), 0444);
       },
       [&](const std::string& f, const std::string&, const std::string& output) {
         EXPECT_EQ(readBytes(path(f, "Starmoor.sav")), save(true, {0, 1}));
         struct stat st {};
         ASSERT_EQ(0, stat(path(f, "Starmoor.sav").c_str(), &st));
         EXPECT_EQ(st.st_mode & 0777, 0444u);
         EXPECT_EQ(count(output, "(it is read-only); the game is not saved"), 1) << output;
       }},
      {"a file-size limit that lets no byte be written",
       [&](const std::string& f, const std::string&) {
         writeBytes(path(f, "Starmoor.sav"), save(true, {0, 1}));
         writeBytes(path(f, "missions.dat"), missions({0}));
         writeBytes(path(f, "badges.dat"), badges({0}));
       },
       [&](const std::string& f, const std::string&, const std::string& output) {
         EXPECT_EQ(readBytes(path(f, "Starmoor.sav")), save(true, {0, 1}));
         EXPECT_EQ(readBytes(path(f, "missions.dat")), missions({0}));
         EXPECT_EQ(readBytes(path(f, "badges.dat")), badges({0}));
         EXPECT_EQ(count(output, "could not write the save file " + path(f, "Starmoor.sav") + " (File too large)"), 1)
             << output;
         EXPECT_EQ(count(output, "could not write " + path(f, "missions.dat") + " (File too large)"), 1) << output;
         for (const auto& entry : fs::directory_iterator(f))
           EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos) << entry.path();
       },
       0},
      {"side files that cannot be written beside a win the record has not caught up with",
       [&](const std::string& f, const std::string& e) {
         writeBytes(path(f, "Starmoor.sav"), save(true, {0, 1, 2, 3}));
         writeBytes(path(f, "missions.dat"), missions({0, 1, 2, 3}));
         writeBytes(path(f, "screensize.dat"), {0x56, 0x05, 0, 0, 0, 0x03, 0, 0});
         chmod(path(f, "screensize.dat").c_str(), 0444);
         fs::create_symlink(e + "/gone.dat", path(f, "badges.dat"));
       },
       [&](const std::string& f, const std::string& e, const std::string& output) {
         // The record is saved all the same, with what the win of mission 3 opened.
         const Bytes record = readBytes(path(f, "Starmoor.sav"));
         EXPECT_TRUE(missionUnlocked(record, 4)) << output;
         EXPECT_EQ(readBytes(path(f, "missions.dat")), missions({0, 1, 2, 3}));
         EXPECT_EQ(readBytes(path(f, "customflags.dat")).size(), 4u * Profile::kCustomFlagCount) << output;
         struct stat st {};
         ASSERT_EQ(0, stat(path(f, "screensize.dat").c_str(), &st));
         EXPECT_EQ(st.st_mode & 0777, 0444u);
         EXPECT_TRUE(isLink(path(f, "badges.dat")));
         EXPECT_FALSE(fs::exists(e + "/gone.dat"));
         // Each is named once, with its reason, and nothing else is said to have failed.
         EXPECT_EQ(count(output, "could not write " + path(f, "screensize.dat") + " (it is read-only)"), 1) << output;
         EXPECT_EQ(count(output, "could not write " + path(f, "badges.dat") + " (it is a symbolic link to " + e +
                                     "/gone.dat, which does not exist)"),
                   1)
             << output;
         EXPECT_EQ(count(output, "could not write"), 2) << output;
       }},
      {"a damaged record beside zero-filled wins and four badges",
       [&](const std::string& f, const std::string&) {
         writeBytes(path(f, "Starmoor.sav"), Bytes(20, 0xA5));
         writeBytes(path(f, "missions.dat"), Bytes(Profile::kMissionCount, 0));
         writeBytes(path(f, "badges.dat"), badges({0, 1, 2, 3}));
       },
       [&](const std::string& f, const std::string&, const std::string& output) {
         EXPECT_EQ(readBytes(path(f, "Starmoor.sav.bak")), Bytes(20, 0xA5));
         EXPECT_EQ(readBytes(path(f, "badges.dat")), badges({0, 1, 2, 3}));
         // The badges let the player continue, and continuing finds the first mission open.
         const Bytes record = readBytes(path(f, "Starmoor.sav"));
         EXPECT_TRUE(recordProgress(record)) << output;
         EXPECT_TRUE(stationUnlocked(record, 0)) << output;
         EXPECT_TRUE(missionUnlocked(record, 0)) << output;
       }},
      {"a screen size no display shows",
       [&](const std::string& f, const std::string&) {
         writeBytes(path(f, "screensize.dat"), {0x80, 0x3e, 0, 0, 0x80, 0x3e, 0, 0});  // 16000 x 16000
       },
       [&](const std::string& f, const std::string&, const std::string& output) {
         EXPECT_NE(output.find("the saved screen size 16000x16000 is larger than the display shows"),
                   std::string::npos)
             << output;
         EXPECT_NE(output.find("opened a window of 1366x768"), std::string::npos) << output;
         EXPECT_EQ(readBytes(path(f, "screensize.dat")), Bytes({0x56, 0x05, 0, 0, 0, 0x03, 0, 0}));
       }},
  };
  constexpr size_t kCases = std::size(cases);
  testenv::ProgramRun runs[kCases];
  auto user = [&](size_t i) { return dirs_.root() + "/case" + std::to_string(i); };
  for (size_t i = 0; i < kCases; ++i) {
    fs::create_directories(user(i) + "/data/Starmoor");
    fs::create_directories(user(i) + "/elsewhere");
    cases[i].prepare(user(i) + "/data/Starmoor", user(i) + "/elsewhere");
    setenv("XDG_DATA_HOME", (user(i) + "/data").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (user(i) + "/config").c_str(), 1);
    runs[i].fileSizeLimit = cases[i].fileSizeLimit;
    start(runs[i], "case" + std::to_string(i), "3 quit\n");
  }
  for (size_t i = 0; i < kCases; ++i) runs[i].wait(180);
  for (size_t i = 0; i < kCases; ++i) {
    SCOPED_TRACE(cases[i].what);
    ASSERT_TRUE(runs[i].exitedWith(0)) << runs[i].output;
    cases[i].check(user(i) + "/data/Starmoor", user(i) + "/elsewhere", runs[i].output);
  }
}

TEST_F(ProgressSurvives, AHangUpTheParentIgnoredLeavesTheGameRunning) {
  testenv::ProgramRun run;
  run.ignoreHangUp = true;
  // A screenshot many frames later shows the game ran on after the hang-up.
  start(run, "nohup", "600 key F8\n610 quit\n");
  ASSERT_TRUE(run.waitForOutput("main menu: first frame", 120)) << testenv::readText(run.log);
  const std::string shot = folder_ + "/ScreenShots/ScrShot1.png";
  fs::remove(file("Starmoor.sav"));
  ASSERT_FALSE(fs::exists(shot)) << "the machine was too slow to send the hang-up in time";
  kill(run.pid, SIGHUP);
  run.wait(180);
  ASSERT_TRUE(run.exitedWith(0)) << run.output;
  EXPECT_TRUE(fs::exists(shot)) << run.output;
  EXPECT_EQ(readBytes(file("Starmoor.sav")), save(false, {}));
}

}  // namespace
#endif
