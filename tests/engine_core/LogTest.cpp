#include <gtest/gtest.h>

#include <regex>

#include "Log.h"

TEST(Log, LineHasDashTimeLevelAndMessage) {
  testing::internal::CaptureStdout();
  { Log().info() << "IMG_Init result " << 11; }
  { Log().error() << "Unable to open audio!"; }
  const std::string out = testing::internal::GetCapturedStdout();
  // "- Tue Dec  8 19:22:34 2026 INFO: IMG_Init result 11"
  const std::regex line(
      "- [A-Z][a-z]{2} [A-Z][a-z]{2} [ 0-9]\\d \\d\\d:\\d\\d:\\d\\d \\d{4} INFO: IMG_Init result 11\n"
      "- [^\n]+ ERROR: Unable to open audio!\n");
  EXPECT_TRUE(std::regex_match(out, line)) << out;
}

TEST(Log, LevelNames) {
  EXPECT_EQ(Log::levelName(1), "WARNING");
  EXPECT_EQ(Log::levelName(4), "VERBOSE");
  EXPECT_EQ(Log::levelName(5), "");
  EXPECT_EQ(Log::levelName(-1), "");
  EXPECT_EQ(Log().level(), Log::Verbose);
}
