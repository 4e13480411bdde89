// The save file: its exact bytes, the round trip, and that nothing is lost when a
// file cannot be read.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "BackupFile.h"
#include "Buffer.h"
#include "FileSaveGame.h"
#include "GameApp.h"
#include "GenericEntry.h"
#include "TestEnv.h"

namespace {

class IdentifiedApp : public GameApp {
 public:
  explicit IdentifiedApp(std::string id) : id_(std::move(id)) {}
  std::string getSaveIdentifier() const override { return id_; }
  void tellPlayer(const std::string& text) override { told.push_back(text); }
  std::vector<std::string> told;

 private:
  std::string id_;
};

std::vector<uint8_t> readAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void writeAll(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<uint8_t> header(const std::string& id) {
  std::vector<uint8_t> bytes(4 + id.size(), 0);
  bytes[0] = static_cast<uint8_t>(id.size());
  for (size_t i = 0; i < id.size(); ++i) bytes[4 + i] = static_cast<uint8_t>(id[i]);
  return bytes;
}

// The game's three plain entries, registered out of order on purpose.
void registerEntries(SaveGame& save, int sound, int music, int assistant) {
  save.addEntry("SOUND_VOLUME", new GenericEntry<int>(sound, 50));
  save.addEntry("MUSIC_VOLUME", new GenericEntry<int>(music, 50));
  save.addEntry("BATTLE_ASSISTANT", new GenericEntry<int>(assistant, 1));
}

int valueOf(const SaveGame& save, const std::string& name) {
  return save.findEntryAs<GenericEntry<int>>(name)->getValue();
}

class SaveGameFile : public ::testing::Test {
 protected:
  testenv::TempUserDirs dirs_;
  IdentifiedApp app_{"VTQA_PL762"};
  std::string path_ = dirs_.data() + "/Starmoor/save.dat";
};

TEST_F(SaveGameFile, WritesHeaderThenEntriesInNameOrder) {
  FileSaveGame save(path_, &app_);
  registerEntries(save, 50, 50, 1);
  save.findEntryAs<GenericEntry<int>>("SOUND_VOLUME")->setValue(-2);
  ASSERT_TRUE(save.save());

  std::vector<uint8_t> expected = header("VTQA_PL762");
  ASSERT_EQ(expected.size(), 14u);
  for (uint8_t b : {1, 0, 0, 0, 0x32, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF}) expected.push_back(b);
  EXPECT_EQ(readAll(path_), expected);
  // No temporary file is left beside it.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dirs_.data() + "/Starmoor"), {}), 1);

  FileSaveGame again(path_, &app_);
  registerEntries(again, 0, 0, 0);
  ASSERT_TRUE(again.load());
  EXPECT_EQ(valueOf(again, "SOUND_VOLUME"), -2);
  EXPECT_EQ(valueOf(again, "MUSIC_VOLUME"), 50);
  EXPECT_EQ(valueOf(again, "BATTLE_ASSISTANT"), 1);
  EXPECT_TRUE(again.backupPath().empty());
}

TEST_F(SaveGameFile, UnreadableFilesFailKeepValuesAndAreBackedUp) {
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
  };
  std::vector<uint8_t> truncated = header("VTQA_PL762");
  for (uint8_t b : {7, 0, 0, 0, 8, 0}) truncated.push_back(b);
  std::vector<uint8_t> foreign = header("OTHER_GAME");
  for (int i = 0; i < 12; ++i) foreign.push_back(9);
  std::vector<uint8_t> hugeLength = {0xFF, 0xFF, 0xFF, 0x7F, 'V'};
  std::vector<uint8_t> negativeLength = {0xF6, 0xFF, 0xFF, 0xFF};
  std::vector<uint8_t> longer = header("VTQA_PL762");
  for (uint8_t b : {33, 0, 0, 0, 22, 0, 0, 0, 11, 0, 0, 0, 9}) longer.push_back(b);
  // The assistant below is kept between 30 and 40.
  std::vector<uint8_t> outOfRange = header("VTQA_PL762");
  for (uint8_t b : {2, 0, 0, 0, 22, 0, 0, 0, 11, 0, 0, 0}) outOfRange.push_back(b);
  const Case cases[] = {{"empty", {}},
                        {"truncated", truncated},
                        {"foreign", foreign},
                        {"huge length", hugeLength},
                        {"negative length", negativeLength},
                        {"bytes past the last entry", longer},
                        {"a value out of its range", outOfRange}};
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string path = dirs_.data() + "/case" + std::to_string(n++) + ".dat";
    writeAll(path, c.bytes);
    FileSaveGame save(path, &app_);
    save.addEntry("SOUND_VOLUME", new GenericEntry<int>(11, 50));
    save.addEntry("MUSIC_VOLUME", new GenericEntry<int>(22, 50));
    save.addEntry("BATTLE_ASSISTANT", new RangedEntry<int>(33, 1, 30, 40));
    EXPECT_FALSE(save.load());
    EXPECT_EQ(valueOf(save, "SOUND_VOLUME"), 11);
    EXPECT_EQ(valueOf(save, "MUSIC_VOLUME"), 22);
    EXPECT_EQ(valueOf(save, "BATTLE_ASSISTANT"), 33);
    ASSERT_FALSE(save.backupPath().empty());
    EXPECT_EQ(readAll(save.backupPath()), c.bytes);

    // The caller then writes defaults; the backup survives that.
    ASSERT_TRUE(save.save());
    EXPECT_EQ(readAll(save.backupPath()), c.bytes);
    EXPECT_TRUE(save.load());
  }
}

TEST_F(SaveGameFile, RepeatedFailuresKeepEveryBackup) {
  std::filesystem::create_directories(dirs_.data() + "/Starmoor");
  writeAll(path_, {1, 2});
  FileSaveGame save(path_, &app_);
  registerEntries(save, 1, 2, 3);
  EXPECT_FALSE(save.load());
  const std::string first = save.backupPath();
  writeAll(path_, {3, 4});
  EXPECT_FALSE(save.load());
  EXPECT_NE(save.backupPath(), first);
  EXPECT_EQ(readAll(first), (std::vector<uint8_t>{1, 2}));
  EXPECT_EQ(readAll(save.backupPath()), (std::vector<uint8_t>{3, 4}));
}

TEST_F(SaveGameFile, AMissingFileIsQuietAndAnUnwritablePathIsNamed) {
  FileSaveGame save(path_, &app_);
  registerEntries(save, 5, 6, 7);
  testing::internal::CaptureStdout();
  EXPECT_FALSE(save.load());
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_TRUE(save.backupPath().empty());

  // A save folder that is a file: the save reports failure, names the file and
  // leaves no temporary.
  writeAll(dirs_.data() + "/blocker", {0});
  const std::string blockedPath = dirs_.data() + "/blocker/save.dat";
  FileSaveGame blocked(blockedPath, &app_);
  registerEntries(blocked, 5, 6, 7);
  testing::internal::CaptureStdout();
  EXPECT_FALSE(blocked.save());
  const std::string said = testing::internal::GetCapturedStdout();
  EXPECT_NE(said.find("could not write the save file " + blockedPath), std::string::npos) << said;
  // The player is told too, once while the failure lasts, with what was not saved.
  EXPECT_FALSE(blocked.save());
  ASSERT_EQ(app_.told.size(), 1u);
  EXPECT_EQ(app_.told[0].rfind("The game is not saved: could not write " + blockedPath, 0), 0u) << app_.told[0];

  FileSaveGame noPath("", &app_);
  EXPECT_FALSE(noPath.save());
  EXPECT_FALSE(noPath.load());
}

TEST_F(SaveGameFile, WhatCanNeitherBeReadNorSetAsideIsNeverWrittenOver) {
  // Every backup name but the last taken: a folder at the path goes to the last.
  const std::string last = path_ + ".bak" + std::to_string(backupfile::kMaxBackups);
  std::filesystem::create_directories(path_);
  writeAll(path_ + "/inside", {1});
  writeAll(path_ + ".bak", {2});
  for (int n = 2; n < backupfile::kMaxBackups; ++n) writeAll(path_ + ".bak" + std::to_string(n), {2});
  FileSaveGame save(path_, &app_);
  registerEntries(save, 5, 6, 7);
  EXPECT_FALSE(save.load());
  EXPECT_EQ(save.backupPath(), last);
  EXPECT_EQ(readAll(last + "/inside"), (std::vector<uint8_t>{1}));

  // Every name taken: the next folder cannot be renamed aside.
  std::filesystem::create_directories(path_);
  writeAll(path_ + "/inside", {1});
  testing::internal::CaptureStdout();
  EXPECT_FALSE(save.load());
  EXPECT_TRUE(save.isLeftAlone());
  EXPECT_FALSE(save.save());
  const std::string said = testing::internal::GetCapturedStdout();
  EXPECT_NE(said.find(path_ + " is a folder, not a save, and could not be moved aside"), std::string::npos)
      << said;
  EXPECT_EQ(readAll(path_ + "/inside"), (std::vector<uint8_t>{1}));
  EXPECT_EQ(valueOf(save, "SOUND_VOLUME"), 5);

  // A damaged save is copied to the last name once that is free ...
  std::filesystem::remove_all(path_);
  std::filesystem::remove_all(last);
  writeAll(path_, {7, 7});
  EXPECT_FALSE(save.load());
  EXPECT_EQ(save.backupPath(), last);
  EXPECT_EQ(readAll(last), (std::vector<uint8_t>{7, 7}));
  // ... and with every name taken no copy goes over an older one: the save stays as it is.
  writeAll(path_, {8, 8});
  EXPECT_FALSE(save.load());
  EXPECT_TRUE(save.isLeftAlone());
  EXPECT_FALSE(save.save());
  EXPECT_EQ(readAll(path_), (std::vector<uint8_t>{8, 8}));
  EXPECT_EQ(readAll(last), (std::vector<uint8_t>{7, 7}));

  // Once the path holds a save again, loading it lets saving go on.
  std::filesystem::remove_all(path_);
  FileSaveGame writer(path_, &app_);
  registerEntries(writer, 8, 8, 8);
  ASSERT_TRUE(writer.save());
  EXPECT_TRUE(save.load());
  EXPECT_FALSE(save.isLeftAlone());
  EXPECT_TRUE(save.save());
}

TEST_F(SaveGameFile, WithoutAnApplicationThereIsNoHeader) {
  FileSaveGame save(path_, nullptr);
  registerEntries(save, 4, 5, 6);
  ASSERT_TRUE(save.save());
  EXPECT_EQ(readAll(path_), (std::vector<uint8_t>{6, 0, 0, 0, 5, 0, 0, 0, 4, 0, 0, 0}));
  FileSaveGame other(path_, nullptr);
  registerEntries(other, 0, 0, 0);
  EXPECT_TRUE(other.load());
  EXPECT_EQ(valueOf(other, "SOUND_VOLUME"), 4);
}

TEST(SaveGameRegistry, ReplacingAndMissingEntries) {
  FileSaveGame save("", nullptr);
  save.addEntry("A", new GenericEntry<int>(1, 1));
  save.addEntry("A", new GenericEntry<int>(2, 2));  // reported, replaces (ASan: old one freed)
  EXPECT_EQ(save.entryCount(), 1u);
  EXPECT_EQ(valueOf(save, "A"), 2);
  EXPECT_EQ(save.findEntry("B"), nullptr);
}

TEST(Buffer, BytesIntsAndBitOffsets) {
  Buffer b;
  EXPECT_EQ(b.readByte(), 0);
  EXPECT_EQ(b.readByte(), 0);
  EXPECT_EQ(b.readPosition(), 0);
  EXPECT_TRUE(b.readPastEnd());
  EXPECT_EQ(b.bytes(), nullptr);

  b.clear();
  b.writeInt(-2);
  b.writeBool(true);
  ASSERT_EQ(b.byteCount(), 5);
  EXPECT_EQ(std::vector<uint8_t>(b.bytes(), b.bytes() + 5),
            (std::vector<uint8_t>{0xFE, 0xFF, 0xFF, 0xFF, 1}));
  EXPECT_EQ(b.readInt(), -2);
  EXPECT_TRUE(b.readBool());
  EXPECT_FALSE(b.readPastEnd());

  const uint8_t five[] = {1, 2, 3, 4, 5};
  b.setBytes(five, 5);
  EXPECT_EQ(b.byteCount(), 5);

  // The standard reflected CRC-32 table.
  EXPECT_EQ(Buffer().crcTable()[1], 0x77073096u);
  EXPECT_EQ(Buffer().crcTable()[255], 0x2D02EF8Du);
}

}  // namespace
