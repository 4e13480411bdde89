// Towers that do not fight, through the headless runner: support boosts on the towers
// in reach, drone-station pairs with their beacons and patrol ships, selling parts of a
// pair, and checkpoints restored after a lost wave.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>
#include <tuple>

#include "Game/CheckPointManager.h"
#include "Game/Entities/drones/PatrolShipEntity.h"
#include "Game/Entities/enemies/xEnemySpawner.h"
#include "Game/Entities/towers/DeploymentTowerEntity.h"
#include "Game/Entities/towers/SupportTowerEntities.h"
#include "Game/Entities/towers/WavePointTowerEntity.h"
#include "LevelFiles.h"

using namespace QuillonPHX2D;
using levelfiles::Folder;
using levelfiles::runner;

namespace {

const std::string kTowers = "content/config/Entities/towers/";

// The test level with more credits than its template gives.
std::string funded(Folder& f, const std::string& attacks, int credits) {
  std::ifstream in(f.level(attacks));
  std::stringstream text;
  text << in.rdbuf();
  return f.write("level.xml", levelfiles::replaceAll(text.str(), "credits=\"500\"",
                                                     "credits=\"" + std::to_string(credits) + "\""));
}

levelrunner::RunOptions options(const std::string& level) {
  levelrunner::RunOptions o;
  o.levelFile = level;
  o.seed = 5;
  return o;
}

// Every patrol ship of the scene.
std::vector<xPatrolShip*> patrolShips(LevelScreen& level) {
  std::vector<xPatrolShip*> ships;
  for (xSimpleEnemy* e : findEnemies(level))
    if (auto* s = dynamic_cast<xPatrolShip*>(e); s && level.findLiveEntity(s)) ships.push_back(s);
  return ships;
}

template <typename T>
T* at(LevelScreen& level, int column, int row) {
  return dynamic_cast<T*>(levelrunner::towerAt(level, column, row));
}

}  // namespace

TEST(SupportScenario, EachSupportKindBoostsTheTowersInReachOnlyAndTheBoostGoesTheFrameAfterItsSale) {
  // One beam turret two cells from the support tower, one five cells away; the support
  // kinds come one after the other on the same cell.
  Folder f;
  auto o = options(f.level("<Attack id=\"0\">" + f.wave(1, 1000) + "</Attack>"));
  o.maxFrames = 140;
  xS1SupportTowerDesc s1;
  xS2SupportTowerDesc s2;
  xS3SupportTowerDesc s3;
  xS4SupportTowerDesc s4;
  xS5SupportTowerDesc s5;
  struct Kind {
    xBaseTowerDesc* desc;
    const char* file;
  } kinds[] = {{&s1, "supportbase-101.xml"}, {&s2, "supportbase-102.xml"}, {&s3, "supportbase-103.xml"},
               {&s4, "supportbase-104.xml"}, {&s5, "supportbase-105.xml"}};
  runner();  // the application's collision categories, which the files name
  for (Kind& k : kinds) ASSERT_TRUE(k.desc->loadFromFile(kTowers + k.file) && k.desc->complete) << k.file;

  // What each kind raises on a tower, read after the frame's widget update.
  auto boosted = [](const xBaseTowerEntity& t, int kind) -> float {
    switch (kind) {
      case 0: return t.getLastDamageFactor() - 1.0f;
      case 1: return t.getLastRepair();
      case 2: return t.getLastEnergyFactor() - 1.0f;
      case 3: return t.getLastRangeFactor() - 1.0f;
      default: return static_cast<float>(t.getLastInterestBonus());
    }
  };
  const float expected[] = {s1.damageUpgradeFactor - 1.0f, s2.energyUpgradeHealer, s3.energyUpgradeFactor - 1.0f,
                            s4.rangeUpgradeFactor - 1.0f, static_cast<float>(s5.interestUpgradeFactor)};
  float near[5] = {}, far[5] = {}, afterSale[5] = {}, nearRange = 0.0f, nearDamage = 0.0f, upgradedS1 = 0.0f;
  float ownRange = 0.0f;
  runner().run(o, [&](LevelScreen& level, int frame) {
    if (frame == 0) {
      level.economy().add(100000);
      xBaseTowerDesc* t1 = level.placement().findDescriptionByKind("INFO_T1");
      ASSERT_TRUE(t1);
      ASSERT_TRUE(level.placement().placeTower(5, 15, t1));
      ASSERT_TRUE(level.placement().placeTower(12, 15, t1));
    }
    const int kind = frame / 25, step = frame % 25;
    if (kind >= 5) return;
    xBaseTowerEntity* inReach = levelrunner::towerAt(level, 5, 15);
    xBaseTowerEntity* outOfReach = levelrunner::towerAt(level, 12, 15);
    ASSERT_TRUE(inReach && outOfReach);
    if (step == 1) {
      ASSERT_TRUE(level.placement().placeTower(7, 15, kinds[kind].desc));
    }
    if (step == 10) {
      near[kind] = boosted(*inReach, kind);
      far[kind] = boosted(*outOfReach, kind);
      if (kind == 3) {
        nearRange = inReach->getEffectiveRange() / inReach->getRange();
        ownRange = levelrunner::towerAt(level, 7, 15)->getLastRangeFactor();
      }
      if (kind == 0) {
        nearDamage = inReach->getEffectiveDamage() / static_cast<float>(inReach->getDamage());
        level.towerCommands().upgradeTower(levelrunner::towerAt(level, 7, 15));
      }
    }
    if (step == 12 && kind == 0) upgradedS1 = boosted(*inReach, 0);
    if (step == 13) level.towerCommands().sellTower(levelrunner::towerAt(level, 7, 15));
    if (step == 14) afterSale[kind] = boosted(*inReach, kind);
  });
  for (int k = 0; k < 5; ++k) {
    EXPECT_NEAR(expected[k], near[k], 1e-5) << "kind S" << k + 1 << " in reach";
    EXPECT_EQ(0.0f, far[k]) << "kind S" << k + 1 << " out of reach";
    EXPECT_EQ(0.0f, afterSale[k]) << "kind S" << k + 1 << " the frame after its sale";
  }
  EXPECT_NEAR(1.0f + expected[0], nearDamage, 1e-5);
  EXPECT_NEAR(2.0f * expected[0], upgradedS1, 1e-5) << "one upgrade counts the factor twice";
  EXPECT_NEAR(1.0f + expected[3], nearRange, 1e-5);
  EXPECT_EQ(1.0f, ownRange) << "a support tower's own range is never boosted";
}

TEST(SupportScenario, APairWithTwoBeaconsFliesItsPathThroughThemAndItsShipsKillAScriptedEnemy) {
  // No tower that fights: only the patrol ships can kill the slow ship of the wave.
  Folder f;
  auto o = options(funded(f, "<Attack id=\"0\">" + f.wave(1, 200, "", 30000) + "</Attack>", 2000));
  o.maxFrames = 2400;
  o.script = {{0, "build", {"3", "12", "TDEPLOYMENT_INFO"}},  {0, "build", {"28", "12", "TDEPLOYMENT_INFO"}},
              {1, "build", {"11", "6", "TWAYPOINT_INFO"}},    {1, "click", {"28", "12"}},
              {2, "build", {"20", "14", "TWAYPOINT_INFO"}},   {2, "click", {"3", "12"}},
              {3, "start", {}}};
  std::vector<Vec2> firstPath, secondPath;
  size_t beacons = 0;
  int shipsSeen = 0, kills = 0, mostShipsAtOnce = 0;
  double creditsAfterPair = -1.0;
  std::vector<int> shipIds;
  runner().run(o, [&](LevelScreen& level, int frame) {
    if (frame == 0) creditsAfterPair = level.economy().credits();
    auto* a = at<xDeploymentTowerEntity>(level, 3, 12);
    auto* b = at<xDeploymentTowerEntity>(level, 28, 12);
    if (!a || !b) return;
    if (frame == 3) {
      firstPath = a->patrolPoints();
      secondPath = b->patrolPoints();
      beacons = a->beacons().size();
    }
    for (xPatrolShip* s : patrolShips(level))
      if (std::find(shipIds.begin(), shipIds.end(), s->getId() * 2 + (s->homeTower() == b)) == shipIds.end())
        shipIds.push_back(s->getId() * 2 + (s->homeTower() == b));
    shipsSeen = static_cast<int>(shipIds.size());
    mostShipsAtOnce = std::max(mostShipsAtOnce, static_cast<int>(patrolShips(level).size()));
    kills = level.flow().enemiesDestroyed();
  });
  // The pair cost one station: the second is free.
  EXPECT_EQ(2000.0 - 600.0, creditsAfterPair);
  ASSERT_EQ(2000u, firstPath.size());
  EXPECT_EQ(2u, beacons) << "a beacon attached through the second station joins the first";
  EXPECT_NEAR(3 * 32 + 16, firstPath.front().x, 1e-3);
  EXPECT_NEAR(28 * 32 + 16, firstPath.back().x, 1e-3);
  std::vector<Vec2> reversed(secondPath.rbegin(), secondPath.rend());
  ASSERT_EQ(firstPath.size(), reversed.size());
  EXPECT_NEAR(firstPath[700].x, reversed[700].x, 1e-4);
  // Through the beacons, not along the straight line between the stations.
  float highest = 1e9f;
  for (const Vec2& p : firstPath) highest = std::min(highest, p.y);
  EXPECT_LT(highest, 12 * 32 + 16 - 60.0f);
  EXPECT_EQ(1, kills);
  EXPECT_GE(shipsSeen, 2) << "a ship at its path's end is replaced by the partner's";
  EXPECT_EQ(1, mostShipsAtOnce) << "one loss, one replacement";
}

TEST(SupportScenario, PatrolShipsShotDownAreReplacedOneForOne) {
  // Armed ships too tough to kill fly along the pair's line and shoot at its drones.
  Folder f;
  f.write("armed.xml",
          "<Entity descriptionName=\"xPhysicsPrimitiveEntityDesc\" dynamic=\"1\" bodyType=\"3DOF\""
          " primitiveType=\"circle\" bodyMass=\"10\" shapeFeaturesX=\"8\" collisionCategory=\"enemy\""
          " material=\"default\" texturePath=\"NONE\" debugRender=\"0\" energy=\"1000000\" reward=\"10\""
          " class=\"bull\" templateBullet=\"{dir}/shot.xml\" shootingDelay=\"150\"/>");
  f.write("shot.xml",
          "<Entity descriptionName=\"xPhysicsPrimitiveEntityDesc\" dynamic=\"1\" bodyType=\"2DOF\""
          " primitiveType=\"circle\" bodyMass=\"20\" shapeFeaturesX=\"3\" collisionCategory=\"enemy_bullet\""
          " material=\"shot\" texturePath=\"NONE\" debugRender=\"0\" damage=\"60\"/>");
  std::string wave = f.wave(4, 400, "", 60000);
  wave = levelfiles::replaceAll(wave, f.dir() + "/enemy.xml", f.dir() + "/armed.xml");
  auto o = options(funded(f, "<Attack id=\"0\">" + wave + "</Attack>", 2000));
  o.maxFrames = 1600;
  o.script = {{0, "build", {"2", "10", "TDEPLOYMENT_INFO"}}, {0, "build", {"20", "10", "TDEPLOYMENT_INFO"}},
              {1, "start", {}}};
  // Ships are told apart by station and number: a new ship may take a lost one's address.
  std::map<std::pair<int, int>, int> lastStep;
  std::vector<std::pair<int, int>> flying;
  int mostAtOnce = 0;
  runner().run(o, [&](LevelScreen& level, int) {
    const auto ships = patrolShips(level);
    mostAtOnce = std::max(mostAtOnce, static_cast<int>(ships.size()));
    flying.clear();
    for (xPatrolShip* s : ships) {
      const std::pair<int, int> key(s->homeTower() ? s->homeTower()->role() : -1, s->getId());
      lastStep[key] = s->walkIndex();
      flying.push_back(key);
    }
  });
  // A ship gone before the end of its path was shot down.
  int lost = 0;
  for (const auto& ship : lastStep)
    if (std::find(flying.begin(), flying.end(), ship.first) == flying.end() &&
        ship.second < xDeploymentTowerEntity::kPatrolSamples - 100)
      ++lost;
  EXPECT_GT(lost, 0) << "no drone was shot down";
  EXPECT_GE(lastStep.size(), 4u);
  EXPECT_EQ(1, mostAtOnce);
}

TEST(SupportScenario, SellingEitherStationOrABeaconLeavesNothingBehind) {
  Folder f;
  auto o = options(funded(f, "<Attack id=\"0\">" + f.wave(1, 200, "", 30000) + "</Attack>", 4000));
  o.maxFrames = 900;
  o.script = {{0, "build", {"3", "12", "TDEPLOYMENT_INFO"}}, {0, "build", {"28", "12", "TDEPLOYMENT_INFO"}},
              {1, "build", {"11", "6", "TWAYPOINT_INFO"}},   {1, "click", {"3", "12"}},
              {2, "build", {"20", "14", "TWAYPOINT_INFO"}},  {2, "click", {"28", "12"}},
              {3, "start", {}},
              // The second station goes: the whole pair, its beacons and its ships with it.
              {300, "sell", {"28", "12"}},
              {310, "build", {"3", "20", "TDEPLOYMENT_INFO"}}, {310, "build", {"28", "20", "TDEPLOYMENT_INFO"}},
              {311, "build", {"14", "22", "TWAYPOINT_INFO"}},  {311, "click", {"28", "20"}},
              // A beacon goes: the path is straight again.
              {500, "sell", {"14", "22"}},
              // The first station goes.
              {700, "sell", {"3", "20"}},
              // A half-placed pair taken back by a right click: the first station's price returns.
              {750, "build", {"5", "5", "TDEPLOYMENT_INFO"}}, {760, "cancel", {}}};
  double creditsBefore = 0.0, creditsAfter = 0.0, stationRefund = 0.0;
  size_t towersAfterFirstSale = 99, shipsAfterFirstSale = 99, beaconsAfterBeaconSale = 99;
  size_t towersAtEnd = 99, shipsAtEnd = 99;
  bool straightAfterBeaconSale = false, cellsFree = false;
  double creditsBeforePair = 0.0, creditsAfterCancel = 0.0;
  bool pendingAfterCancel = true;
  int cellAfterCancel = -1;
  runner().run(o, [&](LevelScreen& level, int frame) {
    if (frame == 299) {
      creditsBefore = level.economy().credits();
      stationRefund = LevelEconomy::sellPrice(*levelrunner::towerAt(level, 28, 12));
    }
    if (frame == 302) {
      creditsAfter = level.economy().credits();
      towersAfterFirstSale = findTowers(level).size();
      shipsAfterFirstSale = patrolShips(level).size();
      cellsFree = true;
      for (int cell : {12 * 32 + 3, 12 * 32 + 28, 6 * 32 + 11, 14 * 32 + 20}) cellsFree &= level.grid().cells()[cell] == 0;
    }
    if (frame == 502) {
      auto* a = at<xDeploymentTowerEntity>(level, 3, 20);
      ASSERT_TRUE(a);
      beaconsAfterBeaconSale = a->beacons().size();
      straightAfterBeaconSale = !a->patrolPoints().empty();
      for (const Vec2& p : a->patrolPoints()) straightAfterBeaconSale &= std::abs(p.y - (20 * 32 + 16)) < 1e-3f;
    }
    if (frame == 749) creditsBeforePair = level.economy().credits();
    if (frame == 762) {
      creditsAfterCancel = level.economy().credits();
      pendingAfterCancel = level.selection().placingPair();
      cellAfterCancel = level.grid().cells()[5 * 32 + 5];
    }
    if (frame == 702) {
      towersAtEnd = findTowers(level).size();
      shipsAtEnd = patrolShips(level).size();
    }
  });
  // The sold station refunds what the panel offers; its pair's beacons three quarters of their price.
  EXPECT_NEAR(creditsBefore + stationRefund + 2 * 0.75 * 100, creditsAfter, 1e-3);
  EXPECT_EQ(0u, towersAfterFirstSale);
  EXPECT_EQ(0u, shipsAfterFirstSale);
  EXPECT_TRUE(cellsFree);
  EXPECT_EQ(0u, beaconsAfterBeaconSale);
  EXPECT_TRUE(straightAfterBeaconSale);
  EXPECT_EQ(0u, towersAtEnd);
  EXPECT_EQ(0u, shipsAtEnd);
  EXPECT_EQ(creditsBeforePair, creditsAfterCancel);
  EXPECT_FALSE(pendingAfterCancel);
  EXPECT_EQ(0, cellAfterCancel);
}

namespace {

// What a restore must put back, read from the level itself.
struct LevelSnapshot {
  double credits = 0.0;
  int lives = 0, score = 0, interest = 0, spawned = 0, destroyed = 0, wave = 0, standing = 0, timeMs = 0;
  // kind, column, row, upgrade level, energy, strategy, partner cell, beacon cells
  std::vector<std::string> towers;
};

LevelSnapshot snapshot(LevelScreen& level) {
  LevelSnapshot s;
  s.credits = level.economy().credits();
  s.lives = level.flow().lives();
  s.score = level.flow().score();
  s.interest = level.economy().interestPercent();
  s.spawned = level.flow().enemiesSpawned();
  s.destroyed = level.flow().enemiesDestroyed();
  s.wave = level.spawner()->currentWave();
  s.standing = level.tally().standing();
  s.timeMs = level.flow().levelTimeMs();
  for (xBaseTowerEntity* t : findTowers(level)) {
    if (!level.findLiveEntity(t)) continue;
    std::ostringstream line;
    line << t->getInfoKey() << " at " << t->cellIndex() << " level " << t->getUpgradeLevel() << " energy "
         << t->getBaseEnergy() << " strategy " << t->getTargetSelection();
    if (auto* d = dynamic_cast<xDeploymentTowerEntity*>(t)) {
      line << " role " << d->role() << " partner " << (d->partner() ? d->partner()->cellIndex() : -1)
           << " ships " << (d->ships().empty() ? 0 : 1) << " beacons";
      for (xWavePointTowerEntity* b : d->beacons()) line << " " << b->cellIndex();
    }
    s.towers.push_back(line.str());
  }
  std::sort(s.towers.begin(), s.towers.end());
  return s;
}

void expectSame(const LevelSnapshot& want, const LevelSnapshot& got, const char* when) {
  SCOPED_TRACE(when);
  EXPECT_EQ(want.credits, got.credits);
  EXPECT_EQ(want.lives, got.lives);
  EXPECT_EQ(want.score, got.score);
  EXPECT_EQ(want.interest, got.interest);
  EXPECT_EQ(want.spawned, got.spawned);
  EXPECT_EQ(want.destroyed, got.destroyed);
  EXPECT_EQ(want.wave, got.wave);
  EXPECT_EQ(want.standing, got.standing);
  EXPECT_EQ(want.timeMs, got.timeMs);
  EXPECT_EQ(want.towers, got.towers);
}

}  // namespace

TEST(SupportScenario, ACheckpointTakenAWaveLostAndARestoreGiveBackTheLevelAsItWas) {
  // The towers stand far from the path: the wave's ships fly lap after lap, a life each.
  Folder f;
  auto o = options(funded(f, "<Attack id=\"0\">" + f.wave(3, 300, "", 1500) + "</Attack><Attack id=\"1\">" +
                                 f.wave(2, 300) + "</Attack>",
                             5000));
  o.maxFrames = 1500;
  o.script = {{0, "build", {"5", "21", "INFO_T1"}},         {0, "build", {"7", "21", "INFO_S1"}},
              {0, "upgrade", {"5", "21"}},                 {0, "retarget", {"5", "21", "weakest"}},
              {0, "build", {"3", "23", "TDEPLOYMENT_INFO"}}, {0, "build", {"28", "23", "TDEPLOYMENT_INFO"}},
              {1, "build", {"14", "21", "TWAYPOINT_INFO"}},  {1, "click", {"28", "23"}},
              {2, "start", {}},
              // A beacon left unattached comes back on its own.
              {3, "build", {"16", "21", "TWAYPOINT_INFO"}},
              // After the checkpoint: a sale, a new tower, and ships getting through.
              {201, "sell", {"5", "21"}},                  {201, "build", {"9", "21", "INFO_S1"}},
              {500, "restore", {}}};
  LevelSnapshot atCheckpoint, afterLoss, restored, restoredAgain;
  int restoreFrame = -1;
  size_t pendingSpawns = 99;
  int liveEnemies = -1;
  bool linked = false;
  runner().run(o, [&](LevelScreen& level, int frame) {
    // Interest would show a restore that took the emptied field for a won wave.
    if (frame == 0) level.economy().setInterestPercent(10);
    if (frame == 200) {
      level.checkpoints().take();
      atCheckpoint = snapshot(level);
    }
    if (frame == 499) afterLoss = snapshot(level);
    if (restoreFrame < 0 && frame > 500 && level.checkpoints().records() && level.state() == kLevelBattle &&
        !level.findLiveEntity(levelrunner::towerAt(level, 9, 21))) {
      restoreFrame = frame;
      restored = snapshot(level);
      pendingSpawns = level.spawner()->spawnActions().size();
      liveEnemies = level.countLiveEnemies();
    }
    if (restoreFrame > 0 && frame == restoreFrame + 5) {
      // A station queued for removal in the frame of a restore does not block its cell.
      level.checkpoints().take();
      level.towerCommands().sellTower(levelrunner::towerAt(level, 3, 23));
      level.checkpoints().restoreNewest();
      auto* a = at<xDeploymentTowerEntity>(level, 3, 23);
      linked = a && a->partner() && a->beacons().size() == 1 && !a->ships().empty();
      restoredAgain = snapshot(level);
    }
  });
  ASSERT_GT(restoreFrame, 500) << "the restore never came";
  EXPECT_LT(afterLoss.lives, atCheckpoint.lives) << "the wave was not lost";
  EXPECT_NE(afterLoss.towers, atCheckpoint.towers);
  expectSame(atCheckpoint, restored, "restored after the sweep");
  EXPECT_EQ(0u, pendingSpawns);
  EXPECT_EQ(0, liveEnemies);
  EXPECT_TRUE(linked);
  expectSame(atCheckpoint, restoredAgain, "restored in the frame its station was sold");
}
