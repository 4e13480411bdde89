#include <sys/stat.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "TestEnv.h"
#include "platform/RegistryValue.h"

namespace {

std::vector<unsigned char> readBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

// Restores the process-wide base key whatever a test does to it.
class RegistryTest : public ::testing::Test {
 protected:
  void TearDown() override { g_registryBaseKey = saved_; }
  testenv::TempUserDirs dirs_;
  std::string saved_ = g_registryBaseKey;
};

}  // namespace

TEST_F(RegistryTest, DwordRoundTripsThroughTheKeyFolder) {
  ASSERT_TRUE(setRegistryDword("checkValue", 0x12345678u));
  const std::string file = dirs_.config() + "/SOFTWARE/BrindleMediaGames/checkValue";
  EXPECT_EQ(registryKeyFolder("SOFTWARE\\BrindleMediaGames"),
            dirs_.config() + "/SOFTWARE/BrindleMediaGames");
  const std::vector<unsigned char> expected = {4, 0, 0, 0, 0x78, 0x56, 0x34, 0x12};
  EXPECT_EQ(readBytes(file), expected);

  // Writing again replaces the value and leaves no temporary file behind.
  ASSERT_TRUE(setRegistryDword("checkValue", 7));
  EXPECT_EQ(readBytes(file), (std::vector<unsigned char>{4, 0, 0, 0, 7, 0, 0, 0}));
  int entries = 0;
  for (const auto& e : std::filesystem::directory_iterator(
           dirs_.config() + "/SOFTWARE/BrindleMediaGames")) {
    (void)e;
    ++entries;
  }
  EXPECT_EQ(entries, 1);
}

TEST_F(RegistryTest, SubKeysAreCreatedAndTrailingSeparatorsStripped) {
  g_registryBaseKey = "BrindleMediaGames\\";
  ASSERT_TRUE(setRegistryValue("Options\\Video\\mode", kRegistryTypeString, "full", 5));
  EXPECT_EQ(readBytes(dirs_.config() + "/SOFTWARE/BrindleMediaGames/Options/Video/mode"),
            (std::vector<unsigned char>{1, 0, 0, 0, 'f', 'u', 'l', 'l', 0}));
  g_registryBaseKey = "BrindleMediaGames/";
  ASSERT_TRUE(setRegistryDword("slash", 1));
  EXPECT_TRUE(std::filesystem::exists(dirs_.config() + "/SOFTWARE/BrindleMediaGames/slash"));
}

TEST_F(RegistryTest, RefusesWhatItCannotStore) {
  // No base key: nothing is written.
  g_registryBaseKey = "";
  EXPECT_FALSE(setRegistryDword("checkValue", 1));
  EXPECT_FALSE(std::filesystem::exists(dirs_.config() + "/SOFTWARE"));
  g_registryBaseKey = "BrindleMediaGames";

  // Names that would climb out of the key's folder.
  EXPECT_FALSE(setRegistryDword("..\\..\\escape", 1));
  EXPECT_FALSE(setRegistryDword("a/../../escape", 1));
  EXPECT_FALSE(setRegistryDword("Sub\\", 1));
  EXPECT_FALSE(std::filesystem::exists(dirs_.config() + "/escape"));
  EXPECT_FALSE(std::filesystem::exists(dirs_.root() + "/escape"));

  // An unwritable root: the configuration folder sits below a plain file, which
  // stops even a privileged user.
  const std::string blocker = dirs_.root() + "/not-a-folder";
  std::ofstream(blocker) << "x";
  setenv("XDG_CONFIG_HOME", (blocker + "/config").c_str(), 1);
  EXPECT_FALSE(setRegistryDword("checkValue", 1));

  // A value file that cannot be replaced (a folder in its place) is a failure too.
  setenv("XDG_CONFIG_HOME", dirs_.config().c_str(), 1);
  std::filesystem::create_directories(dirs_.config() + "/SOFTWARE/BrindleMediaGames/taken/inner");
  EXPECT_FALSE(setRegistryDword("taken", 1));
}
