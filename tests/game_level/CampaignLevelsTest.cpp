// Every mission of the campaign through the real level: it loads without a word of
// complaint, its gameplay type is what the balance plan made it, and a sample of the
// planned missions is lost by a player who builds nothing.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "LevelFiles.h"

using levelfiles::runner;

namespace {

std::string missionFile(int id) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "content/levels/mission_%02d.xml", id);
  return buf;
}

bool complains(const std::string& output) {
  return output.find("WARNING") != std::string::npos || output.find("ERROR") != std::string::npos;
}

}  // namespace

TEST(CampaignLevels, EveryMissionLoadsCleanlyWithItsGameplayType) {
  int types[4] = {0, 0, 0, 0};
  for (int id = 0; id < 45; ++id) {
    SCOPED_TRACE(missionFile(id));
    levelrunner::RunOptions o;
    o.levelFile = missionFile(id);
    o.missionId = id;
    o.maxFrames = 2;
    int type = -1;
    int timer = 0;
    testing::internal::CaptureStdout();
    const levelrunner::Outcome out = runner().run(o, [&](LevelScreen& level, int) {
      type = level.gameplayType();
      timer = level.timerLimitMs();
    });
    const std::string said = testing::internal::GetCapturedStdout();
    ASSERT_TRUE(out.loaded);
    EXPECT_FALSE(complains(said)) << said;
    EXPECT_GE(out.waveCount, 7);
    ASSERT_GE(type, 0);
    ASSERT_LE(type, 3);
    ++types[type];
    EXPECT_EQ(type == 3, timer > 0);
  }
  // Every kind of mission is in the campaign.
  for (int n : types) EXPECT_GT(n, 0);
}

TEST(CampaignLevels, NobodyHoldsAPlannedMissionWithoutTowers) {
  // A classic, a standing-station, a timed and a travelling-station mission. The player
  // sends each wave as soon as the bridge offers it.
  for (int id : {4, 8, 11, 13}) {
    SCOPED_TRACE(missionFile(id));
    levelrunner::RunOptions o;
    o.levelFile = missionFile(id);
    o.missionId = id;
    o.maxFrames = 60000;
    for (int frame = 1; frame < o.maxFrames; frame += 60) o.script.push_back({frame, "next", {}});
    const levelrunner::Outcome out = runner().run(o);
    EXPECT_TRUE(out.over);
    EXPECT_EQ(out.lives, 0) << levelrunner::describe(out);
  }
}
