// The planned missions through the real level: a player who builds nothing loses them.
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

}  // namespace

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
