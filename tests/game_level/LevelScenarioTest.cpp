// Whole levels through the headless runner: waves, walks, lives and the end.
#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "Game/CheckPointManager.h"
#include "Game/Entities/enemies/SimpleEnemyEntity.h"
#include "Game/Entities/enemies/xEnemySpawner.h"
#include "Game/Entities/shots/xPlayerBulletEntity.h"
#include "LevelFiles.h"
#include "sdk/QuillonPhysicsSDK.h"

using namespace QuillonPHX2D;
using levelfiles::Folder;
using levelfiles::runner;

namespace {

levelrunner::RunOptions options(const std::string& level, int mode = MODE_CLASSIC, int difficulty = 1) {
  levelrunner::RunOptions o;
  o.levelFile = level;
  o.mode = mode;
  o.difficulty = difficulty;
  o.seed = 7;
  o.script = {{0, "start", {}}};
  return o;
}

float nearestDistance(const Vec2& p, const std::vector<Vec2>& line) {
  float best = 1e30f;
  for (const Vec2& q : line) best = std::min(best, qlnLenV2(p - q));
  return best;
}

Vec2 position(xSimpleEnemy* e) {
  const Vec3 p = e->absPlacement();
  return Vec2(p.x, p.y);
}

// Attacks 0 to count - 1 of one ship each.
std::string oneShipAttacks(const Folder& f, int count, int delay) {
  std::string attacks;
  for (int i = 0; i < count; ++i) attacks += "<Attack id=\"" + std::to_string(i) + "\">" + f.wave(1, delay) + "</Attack>";
  return attacks;
}

// The wave's ships on the field.
std::vector<xSimpleEnemy*> liveShips(LevelScreen& level) {
  std::vector<xSimpleEnemy*> ships;
  for (xSimpleEnemy* e : findEnemies(level))
    if (level.findLiveEntity(e) && e->categoryName().rfind("enemy", 0) == 0) ships.push_back(e);
  return ships;
}

}  // namespace

TEST(LevelScenario, OneShipAndNoTowersLosesEveryLifeTheSameWayOnEveryRun) {
  // The wave's walk time is the level maker's: a quick ship walks quickly too.
  for (const int walkMs : {4000, 800, 500}) {
    SCOPED_TRACE(std::to_string(walkMs) + " ms walks");
    Folder f;
    const auto o = options(f.level("<Attack id=\"0\">" + f.wave(1, 500, "", walkMs) + "</Attack>"));
    std::vector<int> drops, dropFrames;
    int lives = 20;
    auto watch = [&](LevelScreen& level, int frame) {
      if (level.flow().lives() == lives) return;
      drops.push_back(lives - level.flow().lives());
      dropFrames.push_back(frame);
      lives = level.flow().lives();
    };
    const levelrunner::Outcome first = runner().run(o, watch);
    const levelrunner::Outcome second = runner().run(o);

    EXPECT_TRUE(first.over) << levelrunner::describe(first);
    EXPECT_EQ(kLevelOver, first.state);
    EXPECT_EQ(0, first.lives);
    EXPECT_EQ(0, first.kills);
    EXPECT_EQ(1, first.spawned);
    EXPECT_EQ(first.frames, second.frames);
    EXPECT_EQ(first.lives, second.lives);
    // One life each time the ship completes its path, one walk apart.
    ASSERT_EQ(20u, drops.size());
    for (int d : drops) EXPECT_EQ(1, d);
    for (size_t i = 1; i < dropFrames.size(); ++i) EXPECT_NEAR(walkMs / 16, dropFrames[i] - dropFrames[i - 1], 2) << i;
  }
}

TEST(LevelScenario, OnARaidedStationAShipThatCannotHurtItLeavesAndTheLevelEnds) {
  // Plain ships pass a standing station nobody defends: they cost nothing at the exit and
  // leave, so the last wave ends and the level is won with every life. Coming round for
  // ever, they kept the level running with nobody able to win or lose it.
  Folder f;
  const std::string station =
      "<StationParts><Part entityFile=\"content/config/Entities/station/ring.xml\" x=\"500\" y=\"650\" "
      "angle=\"0\" angVel=\"0\"/></StationParts><ForceGameplayType type=\"STATION_PART_STATIC\"/>";
  auto o = options(f.level("<Attack id=\"0\">" + f.wave(2, 500) + "</Attack>", station));
  o.maxFrames = 5000;
  const levelrunner::Outcome out = runner().run(o);
  EXPECT_TRUE(out.over) << levelrunner::describe(out);
  EXPECT_EQ(20, out.lives);
  EXPECT_EQ(2, out.spawned);
  EXPECT_EQ(0, out.kills);
}

TEST(LevelScenario, ShipsKeepToTheSampledLineOfTheirLane) {
  Folder f;
  auto o = options(f.level("<Attack id=\"0\">" + f.wave(1, 300, "LEFT") + f.wave(1, 300) + f.wave(1, 300, "RIGHT") +
                           "</Attack>"));
  o.maxFrames = 300;
  std::map<xSimpleEnemy*, int> laneOf;
  float worst = 0.0f;
  int checked = 0;
  auto watch = [&](LevelScreen& level, int) {
    const PathDescription path = level.getPathDescription(0);
    for (xSimpleEnemy* e : findEnemies(level)) {
      const std::vector<Vec2> own = e->pathPoints();
      int lane = -1;
      for (int l : {0, 1, 2})
        if (path.pointsForSide(l) == own) lane = l;
      ASSERT_GE(lane, 0) << "a ship walks a line that is none of the path's lanes";
      laneOf[e] = lane;
      worst = std::max(worst, nearestDistance(position(e), own));
      ++checked;
    }
  };
  runner().run(o, watch);
  EXPECT_GT(checked, 300);
  EXPECT_EQ(3u, laneOf.size());
  EXPECT_LT(worst, 3.0f);
}

TEST(LevelScenario, SideLanesLieTheirDistanceAwayAndReversalWalksEveryLaneBackwards) {
  Folder f;
  const std::string level = f.level("<Attack id=\"0\">" + f.wave(1, 300) + "</Attack>");
  std::vector<Vec2> forward[3], backward[3];
  std::vector<Vec2> walked;
  auto lanes = [](std::vector<Vec2>* out) {
    return [out](LevelScreen& l, int frame) {
      if (frame != 0) return;
      for (int lane : {0, 1, 2}) out[lane] = l.getPathDescription(0).pointsForSide(lane);
    };
  };
  auto o = options(level);
  o.maxFrames = 2;
  runner().run(o, lanes(forward));
  auto r = options(level, MODE_REVERSAL);
  r.maxFrames = 200;
  runner().run(r, [&](LevelScreen& l, int frame) {
    lanes(backward)(l, frame);
    for (xSimpleEnemy* e : findEnemies(l)) walked.push_back(position(e));
  });
  for (int lane : {0, 1, 2}) {
    ASSERT_FALSE(forward[lane].empty()) << lane;
    ASSERT_EQ(forward[lane].size(), backward[lane].size());
    EXPECT_EQ(forward[lane].front().x, backward[lane].back().x);
    EXPECT_EQ(forward[lane].back().y, backward[lane].front().y);
  }
  // Left of the direction of travel with y growing downward: above a path that runs right.
  EXPECT_NEAR(20.0f, forward[0].front().y - forward[1].front().y, 0.5f);
  EXPECT_NEAR(-20.0f, forward[0].front().y - forward[2].front().y, 0.5f);
  ASSERT_GT(walked.size(), 10u);
  EXPECT_NEAR(1100.0f, walked.front().x, 1.0f);
  EXPECT_LT(walked.back().x, walked.front().x - 300.0f);
}

TEST(LevelScenario, DifficultyScalesTheShipsEnergyAndOffNormalTheirReward) {
  Folder f;
  const std::string level = f.level("<Attack id=\"0\">" + f.wave(1, 100) + "</Attack>");
  const int expected[] = {75, 85, 130};
  const float paid[] = {7.0f, 10.0f, 13.0f};
  for (int difficulty : {0, 1, 2}) {
    auto o = options(level, MODE_CLASSIC, difficulty);
    o.maxFrames = 30;
    int energy = -1;
    float reward = -1.0f;
    runner().run(o, [&](LevelScreen& l, int) {
      for (xSimpleEnemy* e : findEnemies(l)) {
        energy = e->energy();
        reward = e->reward();
      }
    });
    EXPECT_EQ(expected[difficulty], energy) << "difficulty " << difficulty;
    EXPECT_EQ(paid[difficulty], reward) << "difficulty " << difficulty;
  }
}

TEST(LevelScenario, FastSpeedRetimesThePendingSpawns) {
  Folder f;
  const std::string level = f.level("<Attack id=\"0\">" + f.wave(3, 1000, "", 20000) + "</Attack>");
  auto spawnFrames = [&](const std::vector<levelrunner::Command>& script) {
    auto o = options(level);
    o.script = script;
    o.maxFrames = 300;
    std::vector<int> frames;
    int seen = 0;
    runner().run(o, [&](LevelScreen& l, int frame) {
      if (l.flow().enemiesSpawned() != seen) frames.push_back(frame);
      seen = l.flow().enemiesSpawned();
    });
    return frames;
  };
  const std::vector<int> normal = spawnFrames({{0, "start", {}}});
  const std::vector<int> fast = spawnFrames({{0, "speed", {"fast"}}, {1, "start", {}}});
  const std::vector<int> switched = spawnFrames({{0, "start", {}}, {100, "speed", {"fast"}}});
  ASSERT_EQ(3u, normal.size());
  ASSERT_EQ(3u, fast.size());
  ASSERT_EQ(3u, switched.size());
  // 1000 ms is about 63 frames of 16 ms; at 0.36 it is 360 ms, about 23.
  EXPECT_NEAR(63, normal[1] - normal[0], 2);
  EXPECT_NEAR(23, fast[1] - fast[0], 2);
  EXPECT_NEAR(23, fast[2] - fast[1], 2);
  // The change restarts the wait: the next ship comes 360 ms after it.
  EXPECT_NEAR(100 + 23, switched[1], 2);
}

TEST(LevelScenario, ShotsRemovedInsideTheirContactLeaveNothingBehind) {
  Folder f;
  auto o = options(f.level("<Attack id=\"0\">" + f.wave(1, 100) + "</Attack>"));
  o.maxFrames = 2000;
  runner();  // the collision categories the shot file names
  xPlayerBulletEntityDesc shotDesc;
  ASSERT_TRUE(shotDesc.loadFromFile(f.dir() + "/bullet.xml"));
  ASSERT_TRUE(shotDesc.complete);
  bool placed = false;
  const levelrunner::Outcome out = runner().run(o, [&](LevelScreen& l, int frame) {
    if (placed || frame < 40) return;
    for (xSimpleEnemy* e : findEnemies(l)) {
      const std::vector<Vec2> line = e->pathPoints();
      const Vec2 ahead = line[std::min<size_t>(e->walkIndex() + 6, line.size() - 1)];
      // Two shots on one spot: both touch the ship in the same step.
      for (int i = 0; i < 2; ++i) {
        auto* shot = dynamic_cast<xPlayerBulletEntity*>(g_ptrSDK->createEntity(&shotDesc));
        ASSERT_NE(nullptr, shot);
        shot->setAbsPlacement(Vec3(ahead.x, ahead.y, 0.0f));
        l.addEntity(shot, true);
      }
      placed = true;
    }
  });
  ASSERT_TRUE(placed);
  EXPECT_EQ(1, out.kills);
  EXPECT_TRUE(out.over);
  EXPECT_EQ(20, out.lives);
  // The reward of 10 at the shots' interest rate of 3 %, paid once.
  EXPECT_NEAR(510.3, out.credits, 0.01);
}

TEST(LevelScenario, AWaveIsOverOnlyWhenEveryRecordHasSentItsShips) {
  // The first record has no ships and runs out at once, on an empty field, while the
  // second still has both of its ships to send, a second apart.
  Folder f;
  auto o = options(f.level("<Attack id=\"0\">" + f.wave(0, 100) + f.wave(2, 1000) + "</Attack><Attack id=\"1\">" +
                           f.wave(1, 100) + "</Attack>"));
  o.maxFrames = 200;
  int offeredAt = -1;
  const levelrunner::Outcome out = runner().run(o, [&](LevelScreen& level, int frame) {
    if (offeredAt < 0 && frame > 0 && level.bridge().sendWaveOffered()) offeredAt = frame;
  });
  EXPECT_FALSE(out.over) << levelrunner::describe(out);
  EXPECT_EQ(2, out.spawned);
  EXPECT_EQ(-1, offeredAt) << "the next attack was offered with ships of this one still due";
}

TEST(LevelScenario, ALevelWithNoAttackItsShipsCanFlyIsRefusedInAnyMode) {
  // Played, each would be won by the first click on the send-wave button.
  Folder f;
  f.write("one.xml", "<Spline n=\"1\" t=\"0\" resolution=\"50\"><ControlPoint x=\"-40\" y=\"300\"/></Spline>");
  f.write("same.xml", "<Spline n=\"2\" t=\"1\" resolution=\"50\"><ControlPoint x=\"300\" y=\"300\"/>"
                      "<ControlPoint x=\"300\" y=\"300\"/></Spline>");
  const auto on = [](const std::string& spline) {
    return "<Path id=\"0\" centerLine=\"{dir}/" + spline + "\" sides=\"BOTH\" distance=\"20\"/>";
  };
  const std::string later = "<Attack id=\"1\">" + f.wave(1, 100) + "</Attack><Attack id=\"2\">" +
                            f.wave(1, 100, "LEFT") + "</Attack>";
  const std::string all = "<Attack id=\"0\">" + f.wave(3, 100) + "</Attack>" + later;
  const struct {
    std::string paths, attacks;
    const char* pathError;  // what the Path element is told, when it has one
    const char* refusal;
  } cases[] = {
      {on("path.xml"), later, nullptr, "has no attack 0, where the waves start"},
      {on("one.xml"), all, "its spline \"{dir}/one.xml\" has one control point, and a curve needs two at least; "
                           "the path is left out",
       "(attack 0: path 0 is left out: its spline \"{dir}/one.xml\" has one control point"},
      {"", all, nullptr, "(attack 0: there is no path 0)"},
      {on("nothing.xml"), all, "its spline \"{dir}/nothing.xml\" cannot be read; this path and the ones after it are left out",
       "(attack 0: path 0 is left out: its spline \"{dir}/nothing.xml\" cannot be read)"},
      {on("same.xml"), all, "its spline \"{dir}/same.xml\" has all its control points on one spot; the path is left out",
       "(attack 0: path 0 is left out: its spline \"{dir}/same.xml\" has all its control points on one spot)"},
  };
  const auto inFolder = [&f](const char* text) { return levelfiles::replaceAll(text, "{dir}", f.dir()); };
  for (const auto& c : cases) {
    const std::string level = f.levelOn(c.paths, c.attacks);
    SCOPED_TRACE(level);
    for (const int mode : {MODE_CLASSIC, MODE_REVERSAL, MODE_ENDLESS}) {
      auto o = options(level, mode);
      o.maxFrames = 500;
      testing::internal::CaptureStderr();
      const levelrunner::Outcome out = runner().run(o);
      const std::string reported = testing::internal::GetCapturedStderr();
      EXPECT_FALSE(out.loaded) << levelrunner::describe(out);
      EXPECT_FALSE(out.over);
      EXPECT_EQ(0, out.spawned);
      EXPECT_NE(std::string::npos, out.refusal.find(inFolder(c.refusal))) << out.refusal;
      EXPECT_NE(std::string::npos, reported.find("Error:\tlevel: " + level + " " + out.refusal +
                                                 ", so it gives no level to play; back to mission control\n"))
          << reported;
      if (c.pathError) {
        EXPECT_NE(std::string::npos, reported.find(level + ": <Path id=\"0\"> (line 1): " + inFolder(c.pathError)))
            << reported;
      }
      // Every attack is named as it is left out, not the first only.
      if (c.attacks == all) {
        for (const char* id : {"0", "1", "2"}) {
          EXPECT_NE(std::string::npos, reported.find(std::string("no wave of attack ") + id + " has a path to fly"))
              << reported;
        }
      }
      EXPECT_EQ(std::string::npos, reported.find("Assert failed")) << reported;
    }
  }
}

TEST(LevelScenario, AnAttackWithoutAPathToFlyIsNamedAndLeftOutWhileTheOthersPlayInTurn) {
  Folder f;
  f.write("one.xml", "<Spline n=\"1\" t=\"0\" resolution=\"50\"><ControlPoint x=\"-40\" y=\"300\"/></Spline>");
  const auto onPathOne = [](const std::string& wave) { return levelfiles::replaceAll(wave, "pathId=\"0\"", "pathId=\"1\""); };
  // Attack 0 flies only the broken path; attack 2 keeps the one wave of its three that
  // has a lane (path 0 has no side lines here).
  const std::string level =
      f.levelOn("<Path id=\"0\" centerLine=\"{dir}/path.xml\"/><Path id=\"1\" centerLine=\"{dir}/one.xml\"/>",
                "<Attack id=\"0\">" + onPathOne(f.wave(4, 100)) + "</Attack><Attack id=\"1\">" + f.wave(2, 100) +
                    "</Attack><Attack id=\"2\">" + onPathOne(f.wave(3, 100)) + f.wave(5, 100, "LEFT") +
                    f.wave(1, 100) + "</Attack>");
  auto o = options(level);
  o.maxFrames = 3000;
  std::vector<size_t> recordsPerWave;
  testing::internal::CaptureStderr();
  const levelrunner::Outcome out = runner().run(o, [&](LevelScreen& level, int) {
    if (recordsPerWave.empty())
      for (const auto& attack : level.spawner()->attacks()) recordsPerWave.push_back(attack.second.size());
    if (level.state() != kLevelOver && level.bridge().sendWaveOffered() && level.countLiveEnemies() == 0) {
      runner().perform(level, {0, "next", {}});
      return;
    }
    for (xSimpleEnemy* ship : liveShips(level)) ship->takeDamage(1000000, 0.0f);
  });
  const std::string reported = testing::internal::GetCapturedStderr();
  ASSERT_TRUE(out.loaded) << out.refusal;
  EXPECT_TRUE(out.over) << levelrunner::describe(out);
  EXPECT_EQ(2, out.waveCount);
  EXPECT_EQ(2, out.wavesStarted);
  // Attack 1 comes first, then attack 2's one ship: nothing of the rest.
  EXPECT_EQ((std::vector<size_t>{1, 1}), recordsPerWave);
  EXPECT_EQ(3, out.spawned);
  EXPECT_EQ(3, out.kills);
  EXPECT_EQ(20, out.lives);
  const std::string at = level + ": ";
  for (const std::string& said :
       {at + "<Path id=\"1\"> (line 1): its spline \"" + f.dir() + "/one.xml\" has one control point",
        at + "<Attack id=\"0\"> (line 1): no wave of attack 0 has a path to fly (path 1 is left out); "
             "the attack is left out, and the next one takes its turn",
        at + "<Wave id=\"0\"> (line 1): path 1 is left out; the wave is left out of attack 2",
        at + "<Wave id=\"0\"> (line 1): path 0 has no LEFT side line; the wave is left out of attack 2"})
    EXPECT_NE(std::string::npos, reported.find("Error:\t" + said)) << reported;
  EXPECT_EQ(std::string::npos, reported.find("Assert failed")) << reported;
}

TEST(LevelScenario, EachFifthOfTheWavesHasItsCheckpointAndAfterTheLastNoWaveIsNext) {
  // Ten waves of one ship each, shot down as it comes.
  Folder f;
  auto o = options(f.level(oneShipAttacks(f, 10, 100)));
  o.maxFrames = 3000;
  std::vector<int> held;  // the records held as each wave after the first is sent
  std::vector<int> next;  // the wave the preview marks as next, each time it changes
  const levelrunner::Outcome out = runner().run(o, [&](LevelScreen& level, int) {
    if (next.empty() || next.back() != level.flow().nextWave()) next.push_back(level.flow().nextWave());
    if (level.state() != kLevelOver && level.bridge().sendWaveOffered() && level.countLiveEnemies() == 0) {
      held.push_back(level.checkpoints().records()->count());
      runner().perform(level, {0, "next", {}});
      return;
    }
    for (xSimpleEnemy* ship : liveShips(level)) ship->takeDamage(1000000, 0.0f);
  });
  EXPECT_TRUE(out.over) << levelrunner::describe(out);
  EXPECT_EQ(10, out.kills);
  // Taken as the waves pass 10 %, 20 %, 40 %, 60 % and 80 % of the level: one a fifth.
  EXPECT_EQ((std::vector<int>{1, 2, 2, 3, 3, 4, 4, 5, 5}), held);
  // Once the last wave is out there is none to mark, not an eleventh.
  EXPECT_EQ((std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, -1}), next);
}

TEST(LevelScenario, EveryWayToSendAWaveSendsOneAndTakesTheSendButtonAway) {
  // Seven waves of one ship each, shot down as it comes; each wave the player sends
  // goes another way, and the auto-send box, once ticked, sends the rest itself.
  Folder f;
  auto o = options(f.level(oneShipAttacks(f, 7, 100)));
  o.script.clear();
  o.maxFrames = 3000;
  const std::vector<levelrunner::Command> ways = {
      {0, "key", {"Space"}}, {0, "next", {}}, {0, "wave", {}}, {0, "start", {}}};
  size_t sent = 0;
  const levelrunner::Outcome out = runner().run(o, [&](LevelScreen& level, int) {
    if (level.state() == kLevelOver) return;
    if (level.bridge().sendWaveOffered() && level.countLiveEnemies() == 0) {
      ASSERT_LE(sent, ways.size()) << "the ticked box left a wave waiting";
      const unsigned before = level.spawner()->wavesStarted();
      if (sent < ways.size()) runner().perform(level, ways[sent]);
      else level.onCheckBoxChanged(0, true);
      const std::string way = sent < ways.size() ? ways[sent].verb : "the box";
      ++sent;
      EXPECT_EQ(before + 1, level.spawner()->wavesStarted()) << way;
      EXPECT_FALSE(level.bridge().sendWaveOffered()) << way;
      EXPECT_EQ(kLevelBattle, level.state()) << way;
      return;
    }
    for (xSimpleEnemy* ship : liveShips(level)) ship->takeDamage(1000000, 0.0f);
  });
  EXPECT_TRUE(out.over) << levelrunner::describe(out);
  EXPECT_EQ(ways.size() + 1, sent);
  EXPECT_EQ(7, out.wavesStarted);
  EXPECT_EQ(7, out.kills);
}

TEST(LevelScenario, ARestoreSweepEndingAfterTheLevelIsOverLeavesItOver) {
  levelfiles::runner();
  LevelScreen level(0, "", MODE_CLASSIC, 1);
  level.finishLevel();
  level.actionFinished(LevelScreen::kRestoreSweepEnded);
  EXPECT_EQ(kLevelOver, level.state());
  level.loseLife();
  EXPECT_EQ(20, level.flow().lives());
}

TEST(LevelScenario, ARestoreAsAWaveEndsBringsBackTheRecordThePlayerHad) {
  // Five waves of one ship each, shot down as they come. The wave ends within the
  // restore's sweep: the record it would write is not the one the player asked for.
  Folder f;
  auto o = options(f.level(oneShipAttacks(f, 5, 500)));
  o.maxFrames = 3000;
  double chosenCredits = -1.0, restoredCredits = -1.0;
  int chosenWave = -1, restoreAsked = -1, restoredWave = -1;
  int recordsLeft = 0;
  runner().run(o, [&](LevelScreen& level, int frame) {
    if (!level.checkpoints().records() || restoredWave >= 0) return;
    const int records = level.checkpoints().records()->count();
    if (restoreAsked >= 0 && frame > restoreAsked + 2 && !level.checkpoints().restoreUnderWay()) {
      restoredWave = level.spawner()->currentWave();
      restoredCredits = level.economy().credits();
      recordsLeft = records;
      return;
    }
    if (records == 2 && chosenWave < 0) {
      chosenWave = level.spawner()->currentWave();
      chosenCredits = level.economy().credits();
    }
    if (level.bridge().sendWaveOffered() && level.countLiveEnemies() == 0 && restoreAsked < 0) {
      runner().perform(level, {0, "next", {}});
      return;
    }
    const std::vector<xSimpleEnemy*> ships = liveShips(level);
    if (ships.empty()) return;
    if (records < 2) {
      ships[0]->takeDamage(1000000, 0.0f);
    } else if (restoreAsked < 0) {
      ASSERT_TRUE(level.checkpoints().requestRestore());
      restoreAsked = frame;
    } else if (frame == restoreAsked + 2) {
      ships[0]->takeDamage(1000000, 0.0f);  // the last ship of the wave, the sweep still running
    }
  });
  ASSERT_GE(restoreAsked, 0) << "the restore was never asked for";
  ASSERT_GE(restoredWave, 0) << "the restore never came";
  EXPECT_EQ(chosenWave, restoredWave);
  EXPECT_EQ(chosenCredits, restoredCredits);
  EXPECT_EQ(1, recordsLeft);  // the chosen record is used up, the first one stays
}
