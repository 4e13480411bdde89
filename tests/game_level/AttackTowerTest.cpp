// The ten attack towers and their missiles through the headless runner: each kind
// against a ship held in its reach takes what its entity file and its rule say, at
// normal and fast speed; the snare slows and lets go; missiles catch a moving ship
// and never fly off on a NaN.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>
#include <cstdlib>
#include <string>

#include "Dynamics/Bodies/xBody.h"
#include "Game/BridgeIds.h"
#include "Game/Entities/enemies/SimpleEnemyEntity.h"
#include "Game/Entities/missiles/xPlayerSmartMissileEntity.h"
#include "Game/Entities/towers/T4TowerEntity.h"
#include "LevelFiles.h"
#include "sdk/QuillonPhysicsSDK.h"
#include "widgets/Button.h"

using namespace QuillonPHX2D;
using levelfiles::Folder;
using levelfiles::runner;

namespace {

constexpr int kColumn = 10;
constexpr int kRow = 10;
constexpr float kTowerX = 32.0f * kColumn + 16.0f;
constexpr float kTowerY = 32.0f * kRow + 16.0f;
constexpr int kFrameMs = 16;
constexpr float kFastSpeed = 0.36f;

// A ship of the class at the point, made as the spawner makes one, that never dies
// in these tests; it stands still unless given a path.
xSimpleEnemy* addShip(LevelScreen& level, const std::string& file, const std::string& className, float x, float y) {
  xSimpleEnemyDesc desc;
  desc.loadFromFile(file);
  desc.className = className;
  desc.energy = 100000000;
  desc.sceneEntityManager = &level;
  auto* ship = dynamic_cast<xSimpleEnemy*>(g_ptrSDK->createEntity(&desc));
  if (!ship) return nullptr;
  ship->setAbsPlacement(Vec3(x, y, 0.0f));
  level.addEntity(ship, true);
  return ship;
}

// A straight path of one point per pixel (a walk steps from point to point).
std::vector<Vec2> line(const Vec2& from, const Vec2& to) {
  const int n = static_cast<int>(qlnLenV2(to - from)) + 1;
  std::vector<Vec2> points;
  for (int i = 0; i <= n; ++i) points.push_back(from + (to - from) * (static_cast<float>(i) / n));
  return points;
}

// A level of the test folder with credits for any tower, its one wave never sent.
std::string richLevel(Folder& f) {
  const std::string path = f.level("<Attack id=\"0\">" + f.wave(1, 1000) + "</Attack>");
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return f.write("level.xml", levelfiles::replaceAll(text.str(), "credits=\"500\"", "credits=\"100000\""));
}

xBaseTowerDesc* kindNamed(LevelScreen& level, const std::string& kind) {
  for (xBaseTowerDesc* d : level.towerDescriptions())
    if (d->towerType == "TOWER_NAME_" + kind) return d;
  return nullptr;
}

// Frames of n in which a pulse tower that started ready at frame 0 is charged, each
// half lasting the given number of frames.
int readyFrames(int frames, double halfFrames) {
  int ready = 0;
  for (int f = 0; f < frames; ++f) ready += static_cast<int>(f / halfFrames) % 2 == 0;
  return ready;
}

struct KindCase {
  const char* kind;
  const char* shipClass;
  float classFactor;  // the favoured-class bonus this ship draws
  int missileKind;    // -1: an instant-hit tower
};

}  // namespace

TEST(AttackTowers, EachKindTakesFromAShipInReachWhatItsFileAndRuleSayAtBothSpeeds) {
  // The favoured class of each kind, and two ships no kind favours, against one tower.
  const KindCase cases[] = {
      {"T1", "scout", 1.25f, -1},     {"T1", "rower", 1.0f, -1},     {"T2", "rower", 1.25f, -1},
      {"T3", "spacedog", 1.25f, -1},  {"T4", "grasshopper", 1.0f, -1}, {"T5", "scout", 1.5f, -1},
      {"T5", "bull", 1.0f, -1},       {"T6", "catcher", 1.3f, 0},    {"T6", "rower", 1.0f, 0},
      {"T7", "bull", 1.2f, -1},       {"T8", "bull", 1.0f, 1},       {"T9", "spacedog", 1.25f, -1},
      {"T10", "rower", 1.0f, 2},
  };
  constexpr int kFrames = 600;
  for (const float speed : {1.0f, kFastSpeed}) {
    for (const KindCase& c : cases) {
      SCOPED_TRACE(std::string(c.kind) + " on a " + c.shipClass + (speed < 1.0f ? " at fast speed" : ""));
      Folder f;
      levelrunner::RunOptions o;
      o.levelFile = richLevel(f);
      o.maxFrames = kFrames + 1;
      xSimpleEnemy* ship = nullptr;
      int start = 0, lost = 0;
      // Copied while the level lives: its descriptions go with it.
      bool found = false;
      xBaseTowerDesc file;
      int missileDamage = 0;
      runner().run(o, [&](LevelScreen& level, int frame) {
        if (frame == 0) {
          if (speed < 1.0f) level.setGameSpeed(speed);
          xBaseTowerDesc* desc = kindNamed(level, c.kind);
          ASSERT_NE(nullptr, desc);
          found = true;
          file.damage = desc->damage;
          file.reloadDelay = desc->reloadDelay;
          file.actionStrategy = desc->actionStrategy;
          ASSERT_TRUE(level.placement().buyTower(kColumn, kRow, desc));
          ASSERT_NE(nullptr, levelrunner::towerAt(level, kColumn, kRow));
          ship = addShip(level, f.dir() + "/enemy.xml", c.shipClass, kTowerX + 40.0f, kTowerY);
          ASSERT_NE(nullptr, ship);
          start = ship->energy();
          if (c.missileKind >= 0) missileDamage = level.getMissileDescription(c.missileKind).damage;
        } else if (ship && level.findLiveEntity(ship)) {
          lost = start - ship->energy();
        }
      });
      ASSERT_TRUE(found);
      const xBaseTowerDesc* desc = &file;
      ASSERT_GT(lost, 0);
      const bool continuous = desc->actionStrategy == "CONTINUOUS";
      if (c.missileKind >= 0) {
        // Missile damage rides on the missile: no fast-speed bonus, the class bonus
        // in the tower's damage factor, truncated once.
        const int perHit = static_cast<int>(static_cast<float>(missileDamage) * c.classFactor);
        EXPECT_EQ(0, lost % perHit) << lost << " is not a whole number of hits of " << perHit;
        const int reload = static_cast<int>(static_cast<float>(desc->reloadDelay) * speed);
        // The last ones may still be in flight, and a missile launched this close
        // can swing round its ship before it strikes: at least one hits, never more
        // than the salvos launched.
        EXPECT_LE(lost / perHit, kFrames * kFrameMs / reload + 1);
        EXPECT_GE(lost / perHit, 1);
        continue;
      }
      int perHit = static_cast<int>(static_cast<float>(desc->damage) * c.classFactor);
      if (speed < 1.0f) perHit = static_cast<int>(static_cast<float>(perHit) * 1.25f);
      EXPECT_EQ(0, lost % perHit) << lost << " is not a whole number of hits of " << perHit;
      const int hits = lost / perHit;
      if (continuous && desc->reloadDelay > 0) {
        // A pulse: charged for reloadDelay, resting as long, whatever the game speed.
        // Each half ends on a frame and the next starts on the frame after: up to
        // three frames longer than the delay.
        const double half = static_cast<double>(desc->reloadDelay) / kFrameMs;
        int low = kFrames, high = 0;
        for (double h = half; h <= half + 3.0; h += 0.25) {
          low = std::min(low, readyFrames(kFrames, h));
          high = std::max(high, readyFrames(kFrames, h));
        }
        EXPECT_GE(hits, low - 2);
        EXPECT_LE(hits, high + 1);
      } else if (continuous) {
        EXPECT_NEAR(kFrames, hits, 3);
      } else {
        // A brain cycle ends on the frame its time is up and the next one starts on
        // the frame after: at most one frame longer than the reload.
        const int reload = static_cast<int>(static_cast<float>(desc->reloadDelay) * speed);
        const int frameCycle = (reload + kFrameMs - 1) / kFrameMs + 1;
        EXPECT_LE(hits, kFrames * kFrameMs / reload + 1);
        EXPECT_GE(hits, kFrames / frameCycle - 1);
      }
    }
  }
}

TEST(AttackTowers, TheSnareSlowsAShipAndItsSlowWearsOffEvenAtTheLongestFactor) {
  Folder f;
  levelrunner::RunOptions o;
  o.levelFile = richLevel(f);
  o.maxFrames = 1200;
  // A straight walk of 700 px in 14 s: 0.8 px per frame, past a T4 at its middle.
  xSimpleEnemy* ship = nullptr;
  xSimpleEnemy* stopped = nullptr;
  std::vector<float> xs, stoppedXs;
  float reach = 0.0f;
  runner().run(o, [&](LevelScreen& level, int frame) {
    if (frame == 0) {
      ASSERT_TRUE(level.placement().buyTower(kColumn, kRow, kindNamed(level, "T4")));
      reach = levelrunner::towerAt(level, kColumn, kRow)->getRange();
      ship = addShip(level, f.dir() + "/enemy.xml", "rower", kTowerX - 350.0f, kTowerY);
      ship->followPath(line(Vec2(kTowerX - 350.0f, kTowerY), Vec2(kTowerX + 350.0f, kTowerY)), 14000);
      // Far from the tower: the strongest snare a T4 gives, straight from the level.
      stopped = addShip(level, f.dir() + "/enemy.xml", "grasshopper", 100.0f, 700.0f);
      stopped->followPath(line(Vec2(100.0f, 700.0f), Vec2(800.0f, 700.0f)), 14000);
      stopped->slowDown(snareFactor(3, "grasshopper"), snareDurationMs(3));
    }
    if (ship && level.findLiveEntity(ship)) xs.push_back(ship->absPlacement().x);
    if (stopped && level.findLiveEntity(stopped)) stoppedXs.push_back(stopped->absPlacement().x);
  });
  ASSERT_GT(xs.size(), 1150u);
  auto pace = [&](const std::vector<float>& v, size_t from, size_t to) { return (v[to] - v[from]) / (to - from); };
  ASSERT_GT(reach, 0.0f);
  ASSERT_LT(reach, 300.0f);
  const float free = pace(xs, 10, 150);  // before the reach of the tower
  EXPECT_NEAR(0.8f, free, 0.1f);
  // In reach: 0.6 slower, so 0.4 of the pace.
  size_t inReach = 0;
  while (inReach < xs.size() && xs[inReach] < kTowerX - 60.0f) ++inReach;
  EXPECT_NEAR(0.4f * free, pace(xs, inReach + 20, inReach + 100), 0.1f);
  // Out of reach and 2.5 s (156 frames) later the pace is back.
  size_t outOfReach = inReach;
  while (outOfReach < xs.size() && xs[outOfReach] < kTowerX + reach) ++outOfReach;
  ASSERT_LT(outOfReach + 156 + 60, xs.size());
  EXPECT_NEAR(free, pace(xs, outOfReach + 156 + 10, outOfReach + 156 + 60), 0.1f);

  // 0.99999 for 10 s: nearly still, then walking again; never a wild position.
  ASSERT_GT(stoppedXs.size(), 1150u);
  EXPECT_LT(stoppedXs[600] - stoppedXs[0], 2.0f);
  EXPECT_NEAR(free, pace(stoppedXs, 700, 900), 0.1f);
  for (float x : stoppedXs) ASSERT_TRUE(std::isfinite(x) && x >= 99.0f && x <= 801.0f) << x;
}

TEST(AttackTowers, SlowestAndFastestAimAtTheShipOfThatSpeedSnaredOrNot) {
  // Two ships pass a pulse beam side by side, one three times as fast as the other; the
  // beam locks on one of them. Snared to a fifth of its pace, the fast one is the slower.
  // The last choice is made as a player makes it: the tower picked on the field and its
  // targeting button pressed on the command panel.
  struct Case {
    const char* choice;
    bool snared;
    bool slowOneHit;
    int button;  // the command pressed instead of the runner's retarget, or 0
  };
  const Case cases[] = {{"slowest", false, true, 0},
                        {"fastest", false, false, 0},
                        {"slowest", true, false, 0},
                        {"fastest", true, true, 0},
                        {"fastest", false, false, bridgeids::kAimFastest}};
  constexpr int kEnergy = 100000000;  // addShip's
  constexpr int kWatchFrames = 120;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.choice) + (c.snared ? " with the fast ship snared" : "") +
                 (c.button ? " on its button" : ""));
    Folder f;
    levelrunner::RunOptions o;
    o.levelFile = richLevel(f);
    // The bridge takes a press once the level has come in and the bridge has booted.
    o.maxFrames = c.button ? 10 * kWatchFrames : kWatchFrames;
    xSimpleEnemy* slow = nullptr;
    xSimpleEnemy* fast = nullptr;
    int slowLost = 0, fastLost = 0;
    int start = -1;
    runner().run(o, [&](LevelScreen& level, int frame) {
      if (start < 0) {
        if (c.button && level.state() == kLevelBooting) return;
        start = frame;
        ASSERT_TRUE(level.placement().buyTower(kColumn, kRow, kindNamed(level, "T3")));
        if (c.button) {
          ASSERT_TRUE(runner().perform(level, {0, "select", {std::to_string(kColumn), std::to_string(kRow)}}));
          const bge::Button* b = level.bridge().findCommandButton(c.button);
          ASSERT_TRUE(b && b->isVisible());
          const int x = static_cast<int>(b->getX() + b->getWidth() / 2);
          const int y = static_cast<int>(b->getY() + b->getHeight() / 2);
          ASSERT_TRUE(runner().perform(level, {0, "press", {std::to_string(x), std::to_string(y)}}));
          ASSERT_EQ(kTargetFastest, levelrunner::towerAt(level, kColumn, kRow)->getTargetSelection());
        } else {
          ASSERT_TRUE(runner().perform(level, {0, "retarget", {std::to_string(kColumn), std::to_string(kRow), c.choice}}));
        }
        for (const float dy : {-30.0f, 30.0f}) {
          xSimpleEnemy* ship = addShip(level, f.dir() + "/enemy.xml", "rower", kTowerX, kTowerY + dy);
          ASSERT_NE(nullptr, ship);
          ship->followPath(line(Vec2(kTowerX - 60.0f, kTowerY + dy), Vec2(kTowerX + 60.0f, kTowerY + dy)),
                           dy < 0.0f ? 60000 : 20000);
          (dy < 0.0f ? slow : fast) = ship;
        }
        if (c.snared) fast->slowDown(0.8f, 100000);
      } else if (frame < start + kWatchFrames && level.findLiveEntity(slow) && level.findLiveEntity(fast)) {
        slowLost = kEnergy - slow->energy();
        fastLost = kEnergy - fast->energy();
      }
    });
    ASSERT_GE(start, 0) << "the bridge never booted";
    EXPECT_EQ(c.slowOneHit, slowLost > 0) << slowLost;
    EXPECT_EQ(!c.slowOneHit, fastLost > 0) << fastLost;
  }
}

TEST(AttackTowers, MissilesCatchAMovingShipAndThousandsOfRandomLaunchesNeverFlyOnANaN) {
  Folder f;
  levelrunner::RunOptions o;
  o.levelFile = richLevel(f);
  o.maxFrames = 1100;
  std::srand(7);
  xSimpleEnemy* runnerShip = nullptr;
  std::vector<xSimpleEnemy*> ships;
  int launches = 0, start = 0, bad = 0, caught = 0;
  runner().run(o, [&](LevelScreen& level, int frame) {
    if (frame == 0) {
      // The kinds come by their declared type.
      for (int kind = 0; kind < 3; ++kind) EXPECT_EQ(kind, level.getMissileDescription(kind).type);
      EXPECT_FALSE(level.getMissileDescription(7).complete);
      runnerShip = addShip(level, f.dir() + "/enemy.xml", "scout", 200.0f, 600.0f);
      runnerShip->followPath(line(Vec2(200.0f, 600.0f), Vec2(900.0f, 100.0f)), 12000);
      start = runnerShip->energy();
    }
    if (frame == 399) {
      caught = (start - runnerShip->energy()) / level.getMissileDescription(0).damage;
      for (int i = 0; i < 6; ++i)
        ships.push_back(addShip(level, f.dir() + "/enemy.xml", "rower", 150.0f + 150.0f * i, 80.0f + 110.0f * i));
    }
    // Twenty aimed at the moving ship from the far corner, one every 10 frames.
    if (frame < 200 && frame % 10 == 0) level.launchMissile(Vec2(1000.0f, 740.0f), nullptr, 0, runnerShip, 1.0f);
    // Random launches from 400 on: random kind, point (sometimes right on the target),
    // target (sometimes none), game speed.
    if (frame >= 400 && frame < 900) {
      if (frame % 50 == 0) level.setGameSpeed(std::rand() % 2 ? 1.0f : kFastSpeed);
      for (int i = 0; i < 5; ++i) {
        xSimpleEnemy* target = std::rand() % 5 ? ships[std::rand() % ships.size()] : nullptr;
        Vec2 from(static_cast<float>(std::rand() % 1366), static_cast<float>(std::rand() % 768));
        if (target && std::rand() % 4 == 0) {
          const Vec3 t = target->absPlacement();
          from = Vec2(t.x, t.y);
        }
        level.launchMissile(from, nullptr, std::rand() % 3, target, 1.0f);
        ++launches;
      }
    }
    for (xSharkEntity* e : level.entities()) {
      auto* m = dynamic_cast<xPlayerSmartMissileEntity*>(e);
      if (!m || !m->body()) continue;
      const Vec2 v = m->body()->getVelocity();
      const Vec3 p = m->absPlacement();
      if (!qlnIsFiniteV2(v) || !std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) ++bad;
    }
  });
  EXPECT_EQ(2500, launches);
  EXPECT_EQ(0, bad);
  // Every one of the twenty has caught the ship 200 frames after the last launch.
  EXPECT_EQ(20, caught);
}

TEST(AttackTowers, AnObjectInTheEnemyCategoryThatIsNoShipIsNeitherShotNorHitButShipsAre) {
  Folder f;
  const std::string decoyFile = f.write(
      "decoy.xml",
      "<Entity descriptionName=\"xPhysicsPrimitiveEntityDesc\" dynamic=\"0\" bodyType=\"3DOF\""
      " primitiveType=\"circle\" shapeFeaturesX=\"10\" collisionCategory=\"enemy\" texturePath=\"NONE\"/>");
  levelrunner::RunOptions o;
  o.levelFile = richLevel(f);
  o.maxFrames = 400;
  const char* kinds[] = {"T1", "T2", "T3", "T4", "T5", "T6", "T7", "T8", "T9", "T10"};
  const int cells[][2] = {{9, 9}, {11, 9}, {9, 11}, {11, 11}, {10, 9}, {10, 11}, {9, 10}, {11, 10}, {8, 10}, {12, 10}};
  xSimpleEnemy* ship = nullptr;
  int missilesBeforeShip = -1, start = 0, lost = 0;
  runner().run(o, [&](LevelScreen& level, int frame) {
    if (frame == 0) {
      for (int i = 0; i < 10; ++i) ASSERT_TRUE(level.placement().buyTower(cells[i][0], cells[i][1], kindNamed(level, kinds[i])));
      xPhysicsPrimitiveEntityDesc decoy;
      ASSERT_TRUE(decoy.loadFromFile(decoyFile));
      decoy.sceneEntityManager = &level;
      auto* e = dynamic_cast<xSharkEntity*>(g_ptrSDK->createEntity(&decoy));
      ASSERT_NE(nullptr, e);
      e->setAbsPlacement(Vec3(kTowerX, kTowerY, 0.0f));
      level.addEntity(e, true);
      // A missile sent straight at it flies through it.
      level.launchMissile(Vec2(kTowerX, kTowerY + 60.0f), nullptr, 1, e, 1.0f);
    }
    int missiles = 0;
    for (xSharkEntity* e : level.entities()) missiles += dynamic_cast<xPlayerSmartMissileEntity*>(e) != nullptr;
    if (frame == 199) {
      missilesBeforeShip = missiles;
      ship = addShip(level, f.dir() + "/enemy.xml", "rower", kTowerX + 20.0f, kTowerY + 20.0f);
      start = ship->energy();
    }
    if (ship && level.findLiveEntity(ship)) lost = start - ship->energy();
  });
  // Only the missile launched by hand; no tower fired one at the decoy.
  EXPECT_EQ(1, missilesBeforeShip);
  EXPECT_GT(lost, 0);
}

TEST(AttackTowers, AShotOrSalvoReachesAsManyShipsAsTheKindsCapacityAndNoMore) {
  // Five ships stand round the tower, all in its reach: an instant kind hits as many of
  // them in its first shot as its file allows (every one for the ray), a missile kind
  // launches as many missiles in its first salvo.
  struct Case {
    const char* kind;
    int capacity;
    bool missiles;
  };
  const Case cases[] = {{"T1", 1, false}, {"T5", 5, false}, {"T6", 2, true}, {"T10", 4, true}};
  constexpr int kShips = 5;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    Folder f;
    levelrunner::RunOptions o;
    o.levelFile = richLevel(f);
    o.maxFrames = 180;  // the missile kinds' first salvo, not their second
    std::vector<xSimpleEnemy*> ships;
    std::vector<int> energies;
    int firstShot = 0, mostMissiles = 0;
    runner().run(o, [&](LevelScreen& level, int frame) {
      if (frame == 0) {
        ASSERT_TRUE(level.placement().buyTower(kColumn, kRow, kindNamed(level, c.kind)));
        for (int i = 0; i < kShips; ++i) {
          const float angle = 6.2831853f * static_cast<float>(i) / kShips;
          ships.push_back(addShip(level, f.dir() + "/enemy.xml", "rower", kTowerX + 40.0f * std::cos(angle),
                                  kTowerY + 40.0f * std::sin(angle)));
          ASSERT_NE(nullptr, ships.back());
          energies.push_back(ships.back()->energy());
        }
        return;
      }
      int hit = 0, missiles = 0;
      for (size_t i = 0; i < ships.size(); ++i) {
        if (!level.findLiveEntity(ships[i])) continue;
        hit += ships[i]->energy() != energies[i];
        energies[i] = ships[i]->energy();
      }
      for (xSharkEntity* e : level.entities()) missiles += dynamic_cast<xPlayerSmartMissileEntity*>(e) != nullptr;
      if (firstShot == 0) firstShot = hit;
      mostMissiles = std::max(mostMissiles, missiles);
    });
    ASSERT_EQ(static_cast<size_t>(kShips), ships.size());
    if (c.missiles) {
      EXPECT_EQ(c.capacity, mostMissiles);
    } else {
      EXPECT_EQ(c.capacity, firstShot);
    }
  }
}

TEST(AttackTowers, ATowerLooksForItselfAndTakesAShipWhoseHullCrossesItsRing) {
  // The world's contacts tell a tower of the ships on its sensor at each step; its own
  // look, the only one here (the tower updated with no step after a ship is put down),
  // must find the same ones: a hull reaching 12 into the ring, not one left 4 outside.
  Folder f;
  std::ifstream in(f.dir() + "/enemy.xml");
  std::stringstream ship;
  ship << in.rdbuf();
  const std::string big =
      f.write("big.xml", levelfiles::replaceAll(ship.str(), "shapeFeaturesX=\"8\"", "shapeFeaturesX=\"24\""));
  levelrunner::RunOptions o;
  o.levelFile = richLevel(f);
  o.maxFrames = 42;
  int outsideLost = -1, acrossLost = -1;
  runner().run(o, [&](LevelScreen& level, int frame) {
    if (frame == 0) {
      ASSERT_TRUE(level.placement().buyTower(kColumn, kRow, kindNamed(level, "T1")));
    }
    if (frame < 40) return;
    xBaseTowerEntity* tower = levelrunner::towerAt(level, kColumn, kRow);
    ASSERT_NE(nullptr, tower);
    const float reach = tower->getEffectiveRange();
    // Its centre 12 beyond the reach: a hull of 8 stays out, one of 24 reaches in.
    const bool across = frame == 41;
    const float side = across ? -1.0f : 1.0f;
    const float x = kTowerX + side * (reach + 12.0f);
    xSimpleEnemy* e = addShip(level, across ? big : f.dir() + "/enemy.xml", "rower", x, kTowerY);
    ASSERT_NE(nullptr, e);
    const int start = e->energy();
    // Half a second of the tower's own updates, more than its reload, with no step.
    for (int i = 0; i < 30; ++i) tower->update(kFrameMs, &level);
    (across ? acrossLost : outsideLost) = start - e->energy();
  });
  EXPECT_EQ(0, outsideLost);
  EXPECT_GT(acrossLost, 0);
}
