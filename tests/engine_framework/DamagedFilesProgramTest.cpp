// The real program against what players and packagers do to its files: a save it
// may not read, a folder or a huge file where the save goes, a closed terminal,
// and a missing or damaged content folder.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <regex>
#include <sstream>
#include <map>
#include <string>
#include <vector>

#include "ProgramRun.h"
#include "TestEnv.h"

#if defined(STARMOOR_EXE) && defined(STARMOOR_SOURCE_DIR)
namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> readBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void writeBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// Whether some error, warning or assertion report line of the output names the file.
bool named(const std::string& output, const std::string& file) {
  std::istringstream lines(output);
  std::string line;
  while (std::getline(lines, line)) {
    const bool complaint = line.find("ERROR") != std::string::npos ||
                           line.find("WARNING") != std::string::npos ||
                           line.find("Error:") != std::string::npos ||
                           line.find("Assert failed") != std::string::npos ||
                           line.find("Mix_LoadWAV") != std::string::npos;
    if (complaint && line.find(file) != std::string::npos) return true;
  }
  return false;
}

// What the game writes when it starts on defaults: the entries in name order,
// BATTLE_ASSISTANT, MUSIC_VOLUME, the 67-byte profile record (nothing
// unlocked, full screen asked for), SOUND_VOLUME.
std::vector<uint8_t> defaultSave() {
  std::vector<uint8_t> bytes = {10, 0, 0, 0, 'V', 'T', 'Q', 'A', '_', 'P', 'L', '7', '6', '2', 1, 0, 0, 0, 50, 0, 0, 0};
  bytes.insert(bytes.end(), {0, 0, 0, 0, 0, 1, 1});
  bytes.insert(bytes.end(), 60, 0);
  bytes.insert(bytes.end(), {50, 0, 0, 0});
  return bytes;
}
const std::vector<uint8_t> kDefaultSave = defaultSave();

// A save the game wrote itself: a regular file behind the game's header.
bool isGameSave(const std::string& path) {
  const std::vector<uint8_t> header = {10, 0, 0, 0, 'V', 'T', 'Q', 'A', '_', 'P', 'L', '7', '6', '2'};
  const std::vector<uint8_t> bytes = readBytes(path);
  return fs::is_regular_file(path) && bytes.size() > header.size() &&
         std::equal(header.begin(), header.end(), bytes.begin());
}

class DamagedFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    run_.exe = STARMOOR_EXE;
    run_.log = dirs_.root() + "/out.txt";
    run_.script = dirs_.root() + "/events.txt";
    writeBytes(run_.script, "5 key F8\n12 quit\n");
  }

  // A run as root hands the user folders to the unprivileged account the
  // program then runs as, like a player's own folders.
  void runAsPlayer() {
    run_.asPlayer = true;
    if (geteuid() != 0) return;
    chmod(dirs_.root().c_str(), 0755);
    chmod(run_.script.c_str(), 0644);
    for (const std::string& top : {dirs_.data(), dirs_.config()}) {
      ASSERT_EQ(0, chown(top.c_str(), testenv::kNobody, testenv::kNobody));
      for (const auto& entry : fs::recursive_directory_iterator(top)) {
        ASSERT_EQ(0, lchown(entry.path().c_str(), testenv::kNobody, testenv::kNobody));
      }
    }
  }

  testenv::TempUserDirs dirs_;
  testenv::ProgramRun run_;
  std::string saveFolder_ = dirs_.data() + "/Starmoor";
  std::string save_ = saveFolder_ + "/Starmoor.sav";
};

TEST_F(DamagedFiles, AnUnreadableSaveIsKeptByteForByteWhileTheGameRunsOnDefaults) {
  fs::create_directories(saveFolder_);
  const std::string progress = std::string("\x0a\0\0\0VTQA_PL762\0\0\0\0\x09\0\0\0\x07\0\0\0", 26);
  writeBytes(save_, progress);
  ASSERT_NO_FATAL_FAILURE(runAsPlayer());
  // As after one run under sudo: the file belongs to someone else.
  ASSERT_EQ(0, chown(save_.c_str(), 0, 0));
  ASSERT_EQ(0, chmod(save_.c_str(), 0600));
  if (geteuid() != 0) {
    ASSERT_EQ(0, chmod(save_.c_str(), 0));
  }

  run_.run(120);
  chmod(save_.c_str(), 0600);
  ASSERT_TRUE(run_.exitedWith(0)) << run_.output;
  EXPECT_NE(run_.output.find("the save file " + save_ + " cannot be read"), std::string::npos) << run_.output;
  EXPECT_EQ(readBytes(save_), std::vector<uint8_t>(progress.begin(), progress.end()));
  EXPECT_FALSE(fs::exists(save_ + ".tmp"));
  // The game ran on: its screenshot was taken.
  EXPECT_TRUE(fs::exists(saveFolder_ + "/ScreenShots/ScrShot1.png")) << run_.output;
}

TEST_F(DamagedFiles, AFolderOrAHugeFileAtTheSavePathIsMovedAsideAndTheGameStarts) {
  // A folder, with something in it that must survive.
  fs::create_directories(save_);
  writeBytes(save_ + "/keep.txt", "mine");
  run_.run(120);
  ASSERT_TRUE(run_.exitedWith(0)) << run_.output;
  EXPECT_NE(run_.output.find(save_ + " is a folder"), std::string::npos) << run_.output;
  EXPECT_EQ(testenv::readText(save_ + ".bak/keep.txt"), "mine");
  EXPECT_TRUE(isGameSave(save_));

  // A sparse 40 GB file: renamed, never read whole nor copied.
  fs::remove(save_);
  constexpr off_t kHuge = off_t(40) << 30;
  {
    const int fd = open(save_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(0, ftruncate(fd, kHuge));
    close(fd);
  }
  run_.run(120);
  ASSERT_TRUE(run_.exitedWith(0)) << run_.output;
  EXPECT_NE(run_.output.find(save_ + " is 42949672960 bytes long"), std::string::npos) << run_.output;
  struct stat st {};
  ASSERT_EQ(0, stat((save_ + ".bak2").c_str(), &st));
  EXPECT_EQ(st.st_size, kHuge);
  EXPECT_EQ(readBytes(save_), kDefaultSave);
  EXPECT_EQ(std::distance(fs::directory_iterator(saveFolder_), {}), 10)
      << "save, two backups, screenshots, the profile's four side files, the local store, the profile's lock";
}

TEST_F(DamagedFiles, WhatCannotBeWrittenIsNamedAndTheLogSaysWhatHappens) {
  // A file where the game's folder should be: neither the save nor a screenshot fits.
  writeBytes(saveFolder_, "not a folder");
  run_.run(120);
  ASSERT_TRUE(run_.exitedWith(0)) << run_.output;
  EXPECT_NE(run_.output.find("could not write the save file " + save_), std::string::npos) << run_.output;
  EXPECT_NE(run_.output.find("could not make the screenshot folder " + saveFolder_ + "/ScreenShots/"),
            std::string::npos)
      << run_.output;
  EXPECT_EQ(testenv::readText(saveFolder_), "not a folder");
  // A window was asked for and opened; the folder named is this system's own.
  EXPECT_EQ(run_.output.find("switching to full screen"), std::string::npos) << run_.output;
  EXPECT_NE(run_.output.find("opened a window of 1366x768"), std::string::npos) << run_.output;
  EXPECT_EQ(run_.output.find("WIN32"), std::string::npos) << run_.output;
  EXPECT_NE(run_.output.find("user data folder = " + dirs_.data()), std::string::npos) << run_.output;
}

TEST_F(DamagedFiles, AHangUpQuitsThroughTheSavingPath) {
  run_.script.clear();
  run_.start();
  // The start writes a first save; once it is there the game is past its set-up.
  for (int tick = 0; tick < 1200 && !fs::exists(save_); ++tick) usleep(50 * 1000);
  ASSERT_TRUE(fs::exists(save_)) << testenv::readText(run_.log);
  fs::remove(save_);
  usleep(1000 * 1000);
  kill(run_.pid, SIGHUP);
  run_.wait(60);
  ASSERT_TRUE(run_.exitedWith(0)) << run_.output;
  EXPECT_TRUE(isGameSave(save_)) << run_.output;
  bool stamped = false;
  for (const auto& entry : fs::recursive_directory_iterator(dirs_.config())) {
    if (entry.path().filename() == "checkValue") stamped = true;
  }
  EXPECT_TRUE(stamped) << run_.output;
}

TEST_F(DamagedFiles, WithoutItsContentFolderTheProgramSaysWhereItLookedAndFails) {
  const std::string folder = dirs_.root() + "/game";
  run_.exe = testenv::copyProgram(STARMOOR_EXE, "", folder, false);
  run_.run(60);
  ASSERT_NE(run_.status, -1) << run_.output;
  ASSERT_TRUE(WIFEXITED(run_.status)) << run_.output;
  EXPECT_NE(WEXITSTATUS(run_.status), 0);
  EXPECT_NE(run_.output.find(folder + "/content was not found"), std::string::npos) << run_.output;
  EXPECT_FALSE(fs::exists(dirs_.data() + "/Starmoor")) << run_.output;
}

TEST_F(DamagedFiles, ABadConfigurationKeepsTheSaveAndScreenshotsInTheGamesFolder) {
  const struct {
    const char* what;
    const char* text;  // null: no file
  } cases[] = {{"missing", nullptr},
               {"empty", ""},
               {"corrupt", "<?xml version=\"1.0\"?>\n<Config version=\"1.1\">\n<Savegame folder="},
               {"no save folder", "<Config version=\"1.1\"><Savegame folder=\"\" filename=\"\"/></Config>"}};
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    testenv::TempUserDirs dirs;
    const std::string folder = dirs.root() + "/game";
    run_.exe = testenv::copyProgram(STARMOOR_EXE, STARMOOR_SOURCE_DIR "/content", folder, true);
    const std::string config = folder + "/content/config/config.xml";
    fs::remove(config);
    if (c.text) writeBytes(config, c.text);
    run_.log = dirs.root() + "/out" + std::to_string(n++) + ".txt";
    run_.run(120);
    ASSERT_TRUE(run_.exitedWith(0)) << run_.output;
    if (std::string(c.what) != "no save folder") {
      EXPECT_TRUE(named(run_.output, "content/config/config.xml")) << run_.output;
    }
    EXPECT_TRUE(isGameSave(dirs.data() + "/Starmoor/Starmoor.sav")) << run_.output;
    EXPECT_TRUE(fs::exists(dirs.data() + "/Starmoor/ScreenShots/ScrShot1.png")) << run_.output;
    // Nothing else in the user's data root.
    for (const auto& entry : fs::directory_iterator(dirs.data())) {
      EXPECT_EQ(entry.path().filename(), "Starmoor");
    }
  }
}

TEST_F(DamagedFiles, DamagedContentFilesAreNamedAndTheGameStillRuns) {
  const std::string folder = dirs_.root() + "/game";
  run_.exe = testenv::copyProgram(STARMOOR_EXE, STARMOOR_SOURCE_DIR "/content", folder, true);
  const std::string content = folder + "/content/";
  fs::remove(content + "config/GameParameters.cfg");
  writeBytes(content + "strings/english.xml", "<Strings><label_a text=\"cut off");
  fs::remove(content + "config/music.xml");
  writeBytes(content + "config/shaderslist.xml", "");
  writeBytes(content + "config/SystemInfo.xml", "SystemInfo");
  fs::remove(content + "sounds/ui/hover.wav");
  run_.run(120);
  ASSERT_TRUE(run_.exitedWith(0)) << run_.output;
  for (const char* file :
       {"content/config/GameParameters.cfg", "content/strings/english.xml", "content/config/music.xml",
        "content/config/shaderslist.xml", "content/config/SystemInfo.xml", "content/sounds/ui/hover.wav"}) {
    EXPECT_TRUE(named(run_.output, file)) << file << "\n" << run_.output;
  }
}

TEST_F(DamagedFiles, ADeeplyNestedStringsFileAndACatalogueLinkedToADeviceAreRefusedByName) {
  // Parsed as they are, the first overflows the stack and the second is read
  // without end; refused, the game starts without texts and sound effects.
  const std::string folder = dirs_.root() + "/game";
  run_.exe = testenv::copyProgram(STARMOOR_EXE, STARMOOR_SOURCE_DIR "/content", folder, true);
  const std::string content = folder + "/content/";
  std::string deep = "<Strings>";
  for (int i = 0; i < 100000; ++i) deep += "<a>";
  writeBytes(content + "strings/english.xml", deep);
  fs::remove(content + "config/sfx.xml");
  fs::create_symlink("/dev/zero", content + "config/sfx.xml");
  run_.run(120);
  ASSERT_TRUE(run_.exitedWith(0)) << run_.output;
  EXPECT_TRUE(named(run_.output, "content/strings/english.xml: nests elements deeper than")) << run_.output;
  EXPECT_TRUE(named(run_.output, "content/config/sfx.xml: is not a regular file")) << run_.output;
}



int count(const std::string& output, const std::string& what) {
  int n = 0;
  for (size_t at = output.find(what); at != std::string::npos; at = output.find(what, at + 1)) ++n;
  return n;
}

std::string text(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

// Another program's file of the given length: a text that is no record of ours.
std::string foreignText(size_t length) {
  std::string out;
  while (out.size() < length) out += "Dear diary, the weather turned again today. ";
  return out.substr(0, length);
}

const std::string kPng = std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x10\0\0\0\x10\x08\x06\0\0\0\x1f\xf3\xff" "a", 33);

TEST_F(DamagedFiles, EveryFileOfThePlayersFolderDamagedEachWayIsKeptAndTheGameStarts) {
  const std::string exe = testenv::programWithoutLogos(STARMOOR_EXE, dirs_.root() + "/game", STARMOOR_SOURCE_DIR);
  auto startIn = [&](testenv::ProgramRun& run, const std::string& user) {
    fs::create_directories(user + "/data");
    fs::create_directories(user + "/config");
    setenv("XDG_DATA_HOME", (user + "/data").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (user + "/config").c_str(), 1);
    run.exe = exe;
    run.log = user + "/out.txt";
    run.script = run_.script;
    run.start();
  };
  writeBytes(run_.script, "3 quit\n");

  // What a player's folder holds after some play, from a first start.
  const char* const kFiles[] = {"Starmoor.sav", "store.dat", "screensize.dat", "missions.dat", "customflags.dat",
                                "badges.dat"};
  std::map<std::string, std::string> good;
  {
    testenv::ProgramRun first;
    startIn(first, dirs_.root() + "/first");
    first.wait(120);
    ASSERT_TRUE(first.exitedWith(0)) << first.output;
    for (const char* file : kFiles) {
      good[file] = text(readBytes(dirs_.root() + "/first/data/Starmoor/" + file));
      ASSERT_FALSE(good[file].empty()) << file << "\n" << first.output;
    }
  }
  good["Starmoor.sav"][18] = 30;  // the music volume
  good["missions.dat"][0] = good["missions.dat"][1] = 1;
  // The record that goes with those wins: progress, station 0 and its three missions open.
  for (size_t at : {22, 29, 30, 31, 32}) good["Starmoor.sav"][at] = 1;
  good["badges.dat"][4] = 1;
  good["customflags.dat"].replace(8, 4, std::string("\x01\0\0\0", 4));  // the last station
  const std::string& store = good["store.dat"];
  ASSERT_GE(store.size(), 4u);
  ASSERT_EQ(store.substr(store.size() - 4), "end\n") << store;

  using Make = std::function<std::string(const std::string&)>;
  auto cut = [](size_t keep) { return Make([keep](const std::string& g) { return g.substr(0, keep); }); };
  auto set = [](size_t at, char value) {
    return Make([at, value](std::string g) {
      g[at] = value;
      return g;
    });
  };
  const Make empty = [](const std::string&) { return std::string(); };
  const Make sameLengthText = [](const std::string& g) { return foreignText(g.size()); };
  const struct {
    const char* file;
    const char* how;
    Make damage;
  } cases[] = {
      {"Starmoor.sav", "corrupt profile record", set(40, 7)},
      {"Starmoor.sav", "corrupt volume", set(21, 0x40)},
      {"Starmoor.sav", "truncated", cut(80)},
      {"Starmoor.sav", "with bytes past its end", [](const std::string& g) { return g + "more"; }},
      {"Starmoor.sav", "another game's save", [](std::string g) { return g.replace(4, 10, "OTHER_GAME"); }},
      {"Starmoor.sav", "a picture", [](const std::string&) { return kPng; }},
      {"Starmoor.sav", "empty", empty},
      {"store.dat", "corrupt", [](std::string g) { return g.insert(g.size() - 4, "stat WINS 1x\n"); }},
      {"store.dat", "truncated at a line", [](const std::string& g) { return g.substr(0, g.size() - 4); }},
      {"store.dat", "truncated in a line", [](const std::string& g) { return g.substr(0, g.size() - 2); }},
      {"store.dat", "a text file", sameLengthText},
      {"store.dat", "empty", empty},
      {"screensize.dat", "corrupt", [](const std::string&) { return std::string(8, '\0'); }},
      {"screensize.dat", "truncated", cut(5)},
      {"screensize.dat", "a text file", sameLengthText},
      {"screensize.dat", "empty", empty},
      {"missions.dat", "corrupt", set(9, 7)},
      {"missions.dat", "truncated", cut(44)},
      {"missions.dat", "a text file", sameLengthText},
      {"missions.dat", "empty", empty},
      {"customflags.dat", "corrupt", set(15, '\x7f')},
      {"customflags.dat", "truncated", cut(39)},
      {"customflags.dat", "a text file", sameLengthText},
      {"customflags.dat", "empty", empty},
      {"badges.dat", "corrupt", set(100, '\xff')},
      {"badges.dat", "truncated", cut(600)},
      {"badges.dat", "a picture", [](const std::string&) { return kPng; }},
      {"badges.dat", "empty", empty},
  };
  constexpr size_t kCases = sizeof cases / sizeof cases[0];

  // Two starts of each case, every case's start running beside the others; the
  // file is damaged the same way again before the second.
  std::vector<testenv::ProgramRun> runs(kCases);
  std::vector<std::string> backups[2];
  for (int pass = 0; pass < 2; ++pass) {
    constexpr size_t kAtOnce = 4;
    for (size_t from = 0; from < kCases; from += kAtOnce) {
      const size_t to = std::min(kCases, from + kAtOnce);
      for (size_t i = from; i < to; ++i) {
        const std::string user = dirs_.root() + "/case" + std::to_string(i);
        const std::string folder = user + "/data/Starmoor/";
        fs::create_directories(folder);
        if (pass == 0) {
          for (const char* file : kFiles) writeBytes(folder + file, good[file]);
        }
        writeBytes(folder + cases[i].file, cases[i].damage(good[cases[i].file]));
        startIn(runs[i], user);
      }
      for (size_t i = from; i < to; ++i) runs[i].wait(180);
    }
    for (size_t i = 0; i < kCases; ++i) {
      const auto& c = cases[i];
      SCOPED_TRACE(std::string(c.file) + " " + c.how + (pass ? ", second start" : ""));
      const testenv::ProgramRun& run = runs[i];
      const std::string folder = dirs_.root() + "/case" + std::to_string(i) + "/data/Starmoor/";
      const std::string path = folder + c.file;
      const std::string damaged = c.damage(good[c.file]);
      ASSERT_TRUE(run.exitedWith(0)) << run.output;
      EXPECT_NE(run.output.find("main menu: first frame"), std::string::npos) << run.output;
      // Where the copy went, said in full on standard output.
      std::smatch said;
      const std::string line = path + " could not be read; it was kept as (\\S+)";
      std::string backup;
      if (std::regex_search(run.output, said, std::regex(std::regex_replace(line, std::regex("[.]"), "[.]"))))
        backup = said[1];
      ASSERT_FALSE(backup.empty()) << run.output;
      EXPECT_EQ(count(run.output, "could not be read; it was kept as"), 1) << "one copy a start\n" << run.output;
      EXPECT_EQ(backup.front(), '/');
      EXPECT_EQ(text(readBytes(backup)), damaged);
      backups[pass].push_back(backup);
      if (pass == 1) {
        EXPECT_NE(backup, backups[0][i]);
        EXPECT_EQ(text(readBytes(backups[0][i])), damaged) << "the first start's copy survives the second";
      }
      // The other files hold what they held; the damaged one is the game's again.
      for (const char* file : kFiles) {
        if (file != std::string(c.file)) {
          EXPECT_EQ(text(readBytes(folder + file)), good[file]) << file;
        }
      }
      if (c.file == std::string("Starmoor.sav")) {
        EXPECT_TRUE(isGameSave(path));
      }
      EXPECT_NE(text(readBytes(path)), damaged);
    }
  }
}

TEST_F(DamagedFiles, PipesInPlaceOfContentAndUnusablePicturesAreNamedOnceAndTheGameStarts) {
  // Each pipe, opened as a file, would wait for a writer for ever; each picture
  // used to end the start-up. The logos play, so the animation and the logo
  // image are read before the main menu.
  const std::string folder = dirs_.root() + "/game";
  run_.exe = testenv::copyProgram(STARMOOR_EXE, STARMOOR_SOURCE_DIR "/content", folder, true);
  const std::string content = folder + "/content/";
  const struct {
    const char* file;
    const char* said;  // what the message says after the file's name
  } cases[] = {
      {"content/music/station_theme.ogg", " is not a regular file"},
      {"content/shaders/tint.vert", " is not a regular file"},
      {"content/images/menus/main/title.png", "] is not a regular file"},
      {"content/images/logos/anim/ring.png", "] is not a regular file"},
      {"content/fonts/NotoSans16_0.png", "]"},
      {"content/images/logos/starmoor_logo.png", "] claims 30000 x 30000 pixels"},
  };
  for (int i = 0; i < 4; ++i) {
    fs::remove(folder + "/" + cases[i].file);
    ASSERT_EQ(0, mkfifo((folder + "/" + cases[i].file).c_str(), 0600));
  }
  fs::remove(content + "fonts/NotoSans16_0.png");
  writeBytes(content + "images/logos/starmoor_logo.png",
             std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\x75\x30\0\0\x75\x30\x08\x06\0\0\0", 29));
  run_.script.clear();
  run_.start();
  const bool started = run_.waitForOutput("main menu: first frame", 90);
  kill(run_.pid, SIGHUP);
  run_.wait(60);
  ASSERT_TRUE(started) << run_.output;
  ASSERT_TRUE(run_.exitedWith(0)) << run_.output;
  for (const auto& c : cases) {
    EXPECT_TRUE(named(run_.output, std::string(c.file) + c.said)) << c.file << "\n" << run_.output;
    EXPECT_EQ(count(run_.output, c.file), 1) << c.file << "\n" << run_.output;
  }
}

}  // namespace
#endif
