#include <gtest/gtest.h>
#include <sys/stat.h>

#include <climits>
#include <cstdlib>
#include <string>

#include "TestEnv.h"
#include "Utilities.h"

TEST(Strings, SplitKeepsEmptyParts) {
  std::vector<std::string> parts;
  splitString("a,,b,", ',', parts);
  EXPECT_EQ(parts, (std::vector<std::string>{"a", "", "b", ""}));
  parts.clear();
  splitString("", ',', parts);
  EXPECT_EQ(parts, (std::vector<std::string>{""}));
}

TEST(Strings, SmallHelpers) {
  EXPECT_EQ(toUpperCase("Tower t1"), "TOWER T1");
  EXPECT_EQ(countWords(""), 1);
  EXPECT_EQ(countWords("a b  c"), 4);  // counts blanks, not words
  std::vector<size_t> where;
  findAllOf("a.b.c", where, '.');
  EXPECT_EQ(where, (std::vector<size_t>{1, 3}));
  EXPECT_EQ(stripTrailingSlash("save/"), "save");
  EXPECT_EQ(stripTrailingSlash("save"), "save");
}

TEST(Paths, ExtensionOnlyAfterTheLastSlash) {
  EXPECT_EQ(getFileExtension("content/images/ship.png"), "png");
  EXPECT_EQ(getFileExtension("content/v1.2/readme"), "");
  EXPECT_EQ(removeFileExtension("content/v1.2/readme"), "content/v1.2/readme");
  EXPECT_EQ(removeFileExtension("a/b.c/ship.tar.gz"), "a/b.c/ship.tar");
  EXPECT_EQ(getFileExtension("noext"), "");
}

TEST(Paths, MakeDirectoriesCreatesEveryLevel) {
  testenv::TempUserDirs dirs;
  const std::string deep = dirs.data() + "/one/two/three";
  makeDirectories(deep + "/");
  struct stat st;
  EXPECT_EQ(stat(deep.c_str(), &st), 0);
  makeDirectories(deep);  // existing folders are fine
  EXPECT_TRUE(S_ISDIR(st.st_mode));
}

TEST(Paths, UserDataFolderNeverFallsToTheRoot) {
  testenv::TempUserDirs dirs;
  EXPECT_EQ(getUserDataFolder(), dirs.data());

  const char* oldHome = std::getenv("HOME");
  const std::string savedHome = oldHome ? oldHome : "";
  unsetenv("XDG_DATA_HOME");
  setenv("HOME", "/home/pilot", 1);
  EXPECT_EQ(getUserDataFolder(), "/home/pilot/.local/share");
  // A relative or empty XDG_DATA_HOME is ignored, as the XDG rules say.
  setenv("XDG_DATA_HOME", "", 1);
  EXPECT_EQ(getUserDataFolder(), "/home/pilot/.local/share");
  setenv("HOME", "", 1);
  const std::string fallback = getUserDataFolder();
  EXPECT_FALSE(fallback.empty());
  EXPECT_NE(fallback, "/");
  if (oldHome) setenv("HOME", savedHome.c_str(), 1); else unsetenv("HOME");
}

TEST(Format, FormatStringGrowsPastItsFirstBuffer) {
  EXPECT_EQ(formatString("%d-%s", 42, "x"), "42-x");
  // Long enough to need several attempts; every attempt must see the same arguments.
  const std::string longWord(5000, 'q');
  const std::string out = formatString("%s|%d|%s", longWord.c_str(), 7, "end");
  EXPECT_EQ(out, longWord + "|7|end");
}

TEST(Format, Thousands) {
  EXPECT_EQ(formatThousands(0), "0");
  EXPECT_EQ(formatThousands(999), "999");
  EXPECT_EQ(formatThousands(-123), "-123");
  EXPECT_EQ(formatThousands(1234), "1,234");
  EXPECT_EQ(formatThousands(-1234), "-1,234");
  EXPECT_EQ(formatThousands(-123456), "-123,456");
  EXPECT_EQ(formatThousands(1234567), "1,234,567");
  EXPECT_EQ(formatThousands(INT_MAX), "2,147,483,647");
  EXPECT_EQ(formatThousands(INT_MIN), "-2,147,483,648");
}

TEST(Random, RangesStayInsideAndEmptyRangesDoNotDivideByZero) {
  std::srand(7);
  for (int i = 0; i < 500; ++i) {
    const int a = randomInt(5);
    EXPECT_GE(a, 0);
    EXPECT_LT(a, 5);
    const int b = randomRange(-3, 4);
    EXPECT_GE(b, -3);
    EXPECT_LT(b, 4);
  }
  EXPECT_EQ(randomInt(0), 0);
  EXPECT_EQ(randomInt(-4), 0);
  EXPECT_EQ(randomRange(9, 9), 9);
  EXPECT_EQ(randomRange(9, 2), 9);
  const int wide = randomRange(INT_MIN, INT_MAX);  // the span does not overflow
  EXPECT_LT(wide, INT_MAX);
}
