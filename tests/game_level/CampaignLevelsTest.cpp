// The planned missions through the real level: a player who builds nothing loses them,
// the simple player wins them.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <utility>
#include <string>

#include "LevelFiles.h"
#include "Player.h"

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

namespace {

// Each mission and difficulty is played once per test program: the sample on normal and
// the difficulty check share their runs.
const levelrunner::PlayResult& play(int id, int difficulty) {
  static std::map<std::pair<int, int>, levelrunner::PlayResult> played;
  auto it = played.find({id, difficulty});
  if (it != played.end()) return it->second;
  levelrunner::RunOptions o;
  o.levelFile = missionFile(id);
  o.missionId = id;
  o.difficulty = difficulty;
  o.maxFrames = 150000;
  return played[{id, difficulty}] = levelrunner::playLevel(runner(), o, levelrunner::PlayerOptions{});
}

// Lives kept when won; a loss counts below any win.
int kept(const levelrunner::PlayResult& r) { return r.won ? r.outcome.lives : -1; }

}  // namespace

TEST(CampaignLevels, TheSimplePlayerWinsASampleOnNormal) {
  // A classic, a standing-station and a travelling-station mission early, a timed and a
  // travelling-station one late: each can be won by buying, placing and upgrading in the open.
  for (int id : {3, 8, 13, 41, 44}) {
    SCOPED_TRACE(missionFile(id));
    const levelrunner::PlayResult& r = play(id, 1);
    EXPECT_TRUE(r.won) << levelrunner::describe(r.outcome);
    EXPECT_GT(r.towersBuilt, 0);
  }
}

TEST(CampaignLevels, EasyLeavesTheSamePlayerAsManyLivesAsNormalAndNormalAsHard) {
  for (int id : {3, 8, 13}) {
    SCOPED_TRACE(missionFile(id));
    const levelrunner::PlayResult &easy = play(id, 0), &normal = play(id, 1), &hard = play(id, 2);
    EXPECT_TRUE(easy.won) << levelrunner::describe(easy.outcome);
    EXPECT_GE(kept(easy), kept(normal)) << "easy: " << levelrunner::describe(easy.outcome)
                                        << " normal: " << levelrunner::describe(normal.outcome);
    EXPECT_GE(kept(normal), kept(hard)) << "normal: " << levelrunner::describe(normal.outcome)
                                        << " hard: " << levelrunner::describe(hard.outcome);
  }
}
