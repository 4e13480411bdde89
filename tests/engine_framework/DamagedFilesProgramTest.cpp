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
#include <sstream>
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

// Whether some error or warning line of the output names the file.
bool named(const std::string& output, const std::string& file) {
  std::istringstream lines(output);
  std::string line;
  while (std::getline(lines, line)) {
    const bool complaint = line.find("ERROR") != std::string::npos ||
                           line.find("WARNING") != std::string::npos ||
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
  EXPECT_EQ(std::distance(fs::directory_iterator(saveFolder_), {}), 9)
      << "save, two backups, screenshots, the profile's four side files, the local store";
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

}  // namespace
#endif
