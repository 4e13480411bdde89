// Rules the level enforces on more than one path, played through the runner's commands:
// an upgrade's reach, an enemy bullet's whole damage on a tower, fast speed set before or
// after the towers stand, the top-upgrade statistic by game mode, and a click on a cell
// that is taken.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "Game/Entities/enemies/SimpleEnemyEntity.h"
#include "Game/Entities/towers/xBaseTowerEntity.h"
#include "LevelFiles.h"
#include "Store/CSteamLeaderboards.h"
#include "Store/CStatsAndAchievements.h"
#include "Store/FakeStore.h"
#include "widgets/Button.h"

using levelfiles::Folder;
using levelfiles::runner;

namespace {

using Script = std::vector<levelrunner::Command>;

// A level of the test folder whose path is a straight line across the field at height y,
// with credits for any tower (unless given fewer) and the given attacks.
std::string straightLevel(Folder& f, float y, const std::string& attacks, int credits = 100000) {
  const std::string at = std::to_string(y);
  std::string points;
  for (int x : {-40, 300, 600, 900, 1100}) points += "<ControlPoint x=\"" + std::to_string(x) + "\" y=\"" + at + "\"/>";
  f.write("path.xml", "<Spline n=\"5\" t=\"2\" resolution=\"80\">" + points + "</Spline>");
  std::ifstream in(f.level(attacks));
  std::stringstream text;
  text << in.rdbuf();
  return f.write("level.xml",
                 levelfiles::replaceAll(text.str(), "credits=\"500\"", "credits=\"" + std::to_string(credits) + "\""));
}

// One wave of ships of the given file walking the whole line in walkMs.
std::string wave(Folder& f, const std::string& shipFile, int count, int walkMs) {
  return "<Attack id=\"0\">" +
         levelfiles::replaceAll(f.wave(count, 500, "", walkMs), f.dir() + "/enemy.xml", f.dir() + "/" + shipFile) +
         "</Attack>";
}

// A ship file: the class, its hull radius and energy, and its gun (none when bullet is empty).
void writeShip(Folder& f, const std::string& name, int radius, int energy, const std::string& bullet = "",
               int shootingDelay = 0) {
  std::string gun;
  if (!bullet.empty())
    gun = " templateBullet=\"{dir}/" + bullet + "\" shootingDelay=\"" + std::to_string(shootingDelay) + "\"";
  f.write(name, "<Entity descriptionName=\"xPhysicsPrimitiveEntityDesc\" dynamic=\"1\" bodyType=\"3DOF\""
                " primitiveType=\"circle\" bodyMass=\"10\" shapeFeaturesX=\"" + std::to_string(radius) +
                "\" collisionCategory=\"enemy\" material=\"default\" texturePath=\"NONE\" debugRender=\"0\""
                " energy=\"" + std::to_string(energy) + "\" reward=\"10\" class=\"bull\"" + gun + "/>");
}

levelrunner::RunOptions options(const std::string& level, const Script& script, int frames, int mode = MODE_CLASSIC) {
  levelrunner::RunOptions o;
  o.levelFile = level;
  o.script = script;
  o.maxFrames = frames;
  o.mode = mode;
  o.seed = 7;
  return o;
}

levelrunner::Command at(int frame, const std::string& verb, std::vector<std::string> args = {}) {
  return levelrunner::Command{frame, verb, std::move(args)};
}

// The first live ship of the scene, or null.
xSimpleEnemy* firstShip(LevelScreen& level) {
  for (xSimpleEnemy* e : findEnemies(level))
    if (level.findLiveEntity(e)) return e;
  return nullptr;
}

constexpr int kColumn = 16;
constexpr int kRow = 12;
constexpr float kTowerY = 32.0f * kRow + 16.0f;

}  // namespace

TEST(LevelRules, AnUpgradedTowerReachesAShipThatPassedJustOutOfItsReachBefore) {
  runner();  // the collision catalogue the tower file names
  xBaseTowerDesc t1;
  ASSERT_TRUE(t1.loadFromFile("content/config/Entities/towers/base-001.xml") && t1.complete);
  // Ships of one unit of energy (one hit kills) with a hull of radius 4 pass the tower
  // three units beyond its reach: any upgrade that grows the range by 3 % finds them.
  constexpr int kHull = 4;
  Folder f;
  writeShip(f, "ship.xml", kHull, 1);
  const float passing = t1.range + kHull + 3.0f;
  const std::string level = straightLevel(f, kTowerY - passing, wave(f, "ship.xml", 3, 20000));
  const Script placed = {at(0, "build", {std::to_string(kColumn), std::to_string(kRow), "INFO_T1"}), at(1, "start")};
  Script upgraded = placed;
  upgraded.push_back(at(1, "upgrade", {std::to_string(kColumn), std::to_string(kRow)}));

  float rangeBefore = 0.0f, rangeAfter = 0.0f;
  const auto plain = runner().run(options(level, placed, 2400));
  const auto better = runner().run(options(level, upgraded, 2400), [&](LevelScreen& l, int frame) {
    xBaseTowerEntity* tower = levelrunner::towerAt(l, kColumn, kRow);
    ASSERT_NE(nullptr, tower);
    if (frame == 0) rangeBefore = tower->getEffectiveRange();
    if (frame == 2) rangeAfter = tower->getEffectiveRange();
  });
  EXPECT_EQ(3, plain.spawned) << levelrunner::describe(plain);
  EXPECT_EQ(0, plain.kills) << "the ships pass out of the unupgraded tower's reach";
  EXPECT_GT(rangeAfter, rangeBefore);
  EXPECT_EQ(3, better.kills) << levelrunner::describe(better);
}

TEST(LevelRules, EveryEnemyBulletTakesItsWholeDamageFromTheTowerItHits) {
  // Tough ships fire bullets of an odd damage at a tower beside their line: whatever hits
  // the tower in a frame, its energy falls by whole bullets.
  constexpr int kDamage = 37;
  Folder f;
  writeShip(f, "armed.xml", 8, 100000000, "shot.xml", 300);
  f.write("shot.xml",
          "<Entity descriptionName=\"xPhysicsPrimitiveEntityDesc\" dynamic=\"1\" bodyType=\"2DOF\""
          " primitiveType=\"circle\" bodyMass=\"20\" shapeFeaturesX=\"3\" collisionCategory=\"enemy_bullet\""
          " material=\"shot\" texturePath=\"NONE\" debugRender=\"0\" damage=\"" + std::to_string(kDamage) + "\"/>");
  const std::string level = straightLevel(f, kTowerY - 60.0f, wave(f, "armed.xml", 2, 12000));
  const Script script = {at(0, "build", {std::to_string(kColumn), std::to_string(kRow), "INFO_T7"}), at(1, "start")};
  float start = -1.0f, last = -1.0f;
  std::vector<float> drops;
  runner().run(options(level, script, 900), [&](LevelScreen& l, int) {
    xBaseTowerEntity* tower = levelrunner::towerAt(l, kColumn, kRow);
    if (!tower) return;
    const float energy = tower->getEnergy();
    if (start < 0.0f) start = last = energy;
    if (energy != last) drops.push_back(last - energy);
    last = energy;
  });
  ASSERT_GT(start, 0.0f);
  ASSERT_FALSE(drops.empty()) << "no bullet reached the tower";
  for (float drop : drops) {
    const int bullets = static_cast<int>(drop) / kDamage;
    EXPECT_GE(bullets, 1) << "a fall of " << drop;
    EXPECT_FLOAT_EQ(static_cast<float>(bullets * kDamage), drop) << "a fall of " << drop;
  }
}

TEST(LevelRules, FastSpeedSpeedsTheFireOfTowersStandingAlreadyAsOfTowersPlacedAfter) {
  // One tough ship passes a turret; fast speed is chosen once before the tower is placed
  // and once after it stands. What the ship loses while it passes must agree.
  Folder f;
  writeShip(f, "tough.xml", 8, 100000000);
  const std::string level = straightLevel(f, kTowerY - 40.0f, wave(f, "tough.xml", 1, 60000));
  const std::string column = std::to_string(kColumn), row = std::to_string(kRow);
  constexpr float kTowerX = 32.0f * kColumn + 16.0f;
  auto lossWhilePassing = [&](const Script& script, int& reload) {
    int before = -1, after = -1;
    runner().run(options(level, script, 3000), [&](LevelScreen& l, int) {
      if (xBaseTowerEntity* tower = levelrunner::towerAt(l, kColumn, kRow)) reload = tower->getReloadDelay();
      xSimpleEnemy* ship = firstShip(l);
      if (!ship) return;
      const float x = ship->absPlacement().x;
      if (before < 0 && x > kTowerX - 60.0f) before = ship->energy();
      if (after < 0 && x > kTowerX + 60.0f) after = ship->energy();
    });
    EXPECT_GE(before, 0) << "the ship never came by";
    EXPECT_GE(after, 0) << "the ship never passed";
    return before - after;
  };
  int reloadSetFirst = 0, reloadSetAfter = 0;
  const int setFirst = lossWhilePassing(
      {at(0, "speed", {"fast"}), at(1, "build", {column, row, "INFO_T1"}), at(1, "start")}, reloadSetFirst);
  const int setAfter = lossWhilePassing(
      {at(0, "build", {column, row, "INFO_T1"}), at(1, "start"), at(2, "speed", {"fast"})}, reloadSetAfter);
  EXPECT_GT(setFirst, 0);
  EXPECT_EQ(reloadSetFirst, reloadSetAfter);
  // The two runs start their towers' cycles a frame apart: a shot more or less.
  EXPECT_NEAR(setFirst, setAfter, 0.15 * setFirst);
}

TEST(LevelRules, TheTopUpgradeStatisticCountsOnlyInClassicMode) {
  store::FakeStore fake(CSteamLeaderboards::allLeaderboardNames());
  CStatsAndAchievements stats(&fake);
  for (int i = 0; i < 2; ++i) fake.runCallbacks();
  ASSERT_TRUE(stats.isInitialized());
  CStatsAndAchievements* previous = g_statsAndAchievements;
  g_statsAndAchievements = &stats;
  Folder f;
  const std::string level = straightLevel(f, 300.0f, "<Attack id=\"0\">" + f.wave(1, 1000) + "</Attack>");
  const std::string column = std::to_string(kColumn), row = std::to_string(kRow);
  Script script = {at(0, "build", {column, row, "INFO_T1"})};
  for (int i = 1; i <= 4; ++i) script.push_back(at(i, "upgrade", {column, row}));
  for (int mode : {MODE_CLASSIC, MODE_ALLTOWERS, MODE_REVERSAL, MODE_MAXCREDITS, MODE_LIMITEDTOWERS, MODE_ENDLESS}) {
    const int32_t before = stats.counter("STAT_T1_UPGRADE");
    int level3 = 0;
    runner().run(options(level, script, 8, mode), [&](LevelScreen& l, int) {
      if (xBaseTowerEntity* t = levelrunner::towerAt(l, kColumn, kRow)) level3 = t->getUpgradeLevel();
    });
    EXPECT_EQ(xBaseTowerEntity::kMaxUpgradeLevel, level3) << "mode " << mode;
    EXPECT_EQ(mode == MODE_CLASSIC ? 1 : 0, stats.counter("STAT_T1_UPGRADE") - before) << "mode " << mode;
  }
  g_statsAndAchievements = previous;
}

TEST(LevelRules, AClickOnATakenCellBuildsNothingAndOnAFreeOneBuilds) {
  Folder f;
  f.writeGrid(5, 2);  // one cell the level's picture keeps free of towers
  const std::string level = straightLevel(f, 300.0f, "<Attack id=\"0\">" + f.wave(1, 1000) + "</Attack>");
  auto centre = [](int cell) { return std::to_string(cell * 32 + 16); };
  // A free cell, the blocked one, the first cell again now that a tower stands on it,
  // another free cell.
  const int cells[][2] = {{kColumn, kRow}, {5, 2}, {kColumn, kRow}, {20, 20}};
  constexpr size_t kClicks = 4;
  std::vector<int> towers;
  std::vector<double> credits;
  size_t clicked = 0;
  auto o = options(level, {}, 4000);
  o.until = [&](LevelScreen&) { return towers.size() > kClicks; };
  runner().run(o, [&](LevelScreen& l, int) {
    // The field takes the pointer once the level has come in, the tower buttons once
    // the bridge shows them. A right click drops what was chosen before.
    if (l.getPhase() != PhaseIdle) return;
    if (clicked < kClicks) {
      ASSERT_TRUE(runner().perform(l, at(0, "press", {"600", "700", "right"})));
      ASSERT_TRUE(runner().perform(l, at(0, "choose", {"0"})));
      if (!l.selection().towerDesc()) return;
    }
    int n = 0;
    for (xBaseTowerEntity* t : findTowers(l)) n += l.findLiveEntity(t) ? 1 : 0;
    towers.push_back(n);
    credits.push_back(l.economy().credits());
    if (clicked == kClicks) return;
    ASSERT_TRUE(runner().perform(l, at(0, "press", {centre(cells[clicked][0]), centre(cells[clicked][1])})));
    ++clicked;
  });
  ASSERT_EQ(kClicks + 1, towers.size()) << "the level never took a click";
  EXPECT_EQ((std::vector<int>{0, 1, 1, 1, 2}), towers) << "towers before the first click and after each";
  EXPECT_LT(credits[1], credits[0]) << "the first free cell";
  EXPECT_EQ(credits[1], credits[2]) << "the blocked cell";
  EXPECT_EQ(credits[1], credits[3]) << "the tower's cell";
  EXPECT_LT(credits[4], credits[3]) << "the second free cell";
}

TEST(LevelRules, ASaleShowsAtOnceTheKindsItsRefundAffords) {
  // A T10 and a T1 take every credit; the T10 is sold while the T1, built last, is the
  // one selected. Its refund (840) pays for a T1 (275) again, before any wave comes.
  Folder f;
  const std::string level = straightLevel(f, 300.0f, "<Attack id=\"0\">" + f.wave(1, 1000) + "</Attack>", 1325);
  const std::string column = std::to_string(kColumn), row = std::to_string(kRow);
  bool tried = false, sold = false;
  int hiddenBefore = -1, shownAfter = -1;
  auto o = options(level, {}, 2000);
  o.until = [&](LevelScreen&) { return tried; };
  runner().run(o, [&](LevelScreen& l, int) {
    if (tried || !l.bridge().ready()) return;
    tried = true;
    const auto& kinds = l.towerDescriptions();
    const auto t1 = std::find_if(kinds.begin(), kinds.end(), [](xBaseTowerDesc* d) { return d->info == "INFO_T1"; });
    ASSERT_NE(kinds.end(), t1);
    const bge::Button* button = l.bridge().findTowerButton(100 + static_cast<int>(t1 - kinds.begin()));
    ASSERT_NE(nullptr, button);
    ASSERT_TRUE(runner().perform(l, at(0, "build", {column, row, "INFO_T10"})));
    ASSERT_TRUE(runner().perform(l, at(0, "build", {column, std::to_string(kRow + 2), "INFO_T1"})));
    ASSERT_EQ(0.0, l.economy().credits());
    hiddenBefore = button->isVisible();
    ASSERT_TRUE(runner().perform(l, at(0, "sell", {column, row})));
    ASSERT_NEAR(840.0, l.economy().credits(), 1e-3);
    shownAfter = button->isVisible() && button->isEnabled();
    sold = true;
  });
  ASSERT_TRUE(tried) << "the bridge never came up";
  ASSERT_TRUE(sold);
  EXPECT_EQ(0, hiddenBefore) << "a T1 button shown with no credits";
  EXPECT_EQ(1, shownAfter) << "the T1 button stayed hidden after the sale paid for one";
}
