#include <gtest/gtest.h>

#include <fstream>

#include "ConfigFile.h"
#include "TestEnv.h"

namespace {
std::string writeFile(const testenv::TempUserDirs& dirs, const std::string& text) {
  const std::string path = dirs.data() + "/params.cfg";
  std::ofstream(path) << text;
  return path;
}
}  // namespace

TEST(ConfigFile, KeysValuesCommentsAndSentry) {
  testenv::TempUserDirs dirs;
  const ConfigFile cfg(writeFile(dirs,
                                 "# heading\n"
                                 "a = 1  # trailing comment\n"
                                 "  spaced key\t=\t text value \r\n"
                                 "twice = first\n"
                                 "twice = second\n"
                                 "url = x=y\n"
                                 "\n"
                                 "not a pair\n"
                                 "late = 3 EndConfigFile\n"
                                 "after = 4\n"));
  EXPECT_EQ(cfg.read<int>("a", 0), 1);
  EXPECT_EQ(cfg.read<std::string>("spaced key", ""), "text value");
  EXPECT_EQ(cfg.read<std::string>("twice", ""), "second");
  EXPECT_EQ(cfg.read<std::string>("url", ""), "x=y");  // splits at the first delimiter
  EXPECT_FALSE(cfg.keyExists("not a pair"));
  EXPECT_FALSE(cfg.keyExists("late"));  // the sentry ends parsing on its own line
  EXPECT_FALSE(cfg.keyExists("after"));
  EXPECT_EQ(cfg.read<int>("missing", 200), 200);
}

TEST(ConfigFile, ContinuationLines) {
  testenv::TempUserDirs dirs;
  const ConfigFile cfg(writeFile(dirs,
                                 "text = first\n"
                                 "second line\n"
                                 "next = a\n"
                                 "\n"
                                 "orphan line\n"
                                 "last = z\n"));
  EXPECT_EQ(cfg.read<std::string>("text", ""), "first\nsecond line");
  EXPECT_EQ(cfg.read<std::string>("next", ""), "a");  // the blank line ended it
  EXPECT_EQ(cfg.read<std::string>("last", ""), "z");
}

TEST(ConfigFile, ValuesThatAreNotNumbersReadAsTheDefault) {
  testenv::TempUserDirs dirs;
  const ConfigFile cfg(writeFile(dirs, "life = fast\nneg = -12\nratio = 0.25\nempty =\n"));
  EXPECT_EQ(cfg.read<int>("life", 200), 200);
  EXPECT_EQ(cfg.read<int>("neg", 0), -12);
  EXPECT_FLOAT_EQ(cfg.read<float>("ratio", 1.0f), 0.25f);
  EXPECT_EQ(cfg.read<int>("empty", 9), 9);
}

TEST(ConfigFile, MissingFileThrowsFileNotFoundWithTheName) {
  testenv::TempUserDirs dirs;
  const std::string path = dirs.data() + "/nope.cfg";
  try {
    ConfigFile cfg(path);
    FAIL() << "no exception";
  } catch (const ConfigFile::file_not_found& e) {
    EXPECT_EQ(e.filename, path);
  }
}
