// Towers on the field through the headless runner: placing, paying, upgrading,
// selling, interest, lives, the level's end, the modes' limits and the keys.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>

#include "Game/BridgeIds.h"
#include "Game/Entities/enemies/SimpleEnemyEntity.h"
#include "Game/Entities/enemies/xEnemySpawner.h"
#include "Game/Entities/towers/xBaseBrain.h"
#include "Game/Entities/towers/xBaseTowerEntity.h"
#include "KeyEvent.h"
#include "LevelFiles.h"
#include "PointingDeviceEvent.h"
#include "SDLGameApp.h"
#include "widgets/Button.h"

using namespace QuillonPHX2D;
using levelfiles::Folder;
using levelfiles::runner;

namespace {

// The test path runs along y = 300 first: row 7 is just beside it, row 12 well away.
constexpr int kBesideRow = 7;
constexpr int kFarRow = 20;

std::string withFunds(Folder& f, const std::string& attacks, int credits, const std::string& extra = "") {
  const std::string path = f.level(attacks, extra);
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return f.write("level.xml", levelfiles::replaceAll(text.str(), "credits=\"500\"", "credits=\"" + std::to_string(credits) + "\""));
}

levelrunner::RunOptions options(const std::string& level, int mode = MODE_CLASSIC) {
  levelrunner::RunOptions o;
  o.levelFile = level;
  o.mode = mode;
  o.seed = 3;
  return o;
}

KeyEvent key(int code) {
  KeyEvent e;
  e.key = code;
  e.kind = KeyEvent::Pressed;
  return e;
}

PointingDeviceEvent press(int x, int y, int buttons = PointingDeviceEvent::Left) {
  PointingDeviceEvent e;
  e.kind = PointingDeviceEvent::Pressed;
  e.x = x;
  e.y = y;
  e.buttons = buttons;
  return e;
}

}  // namespace

TEST(TowerScenario, OneT1BesideTheFirstPathOfStationZeroWinsItsFirstWaveAlikeOnEveryRun) {
  // A free cell right beside the path, found from the level's own path points.
  auto o = options("content/levels/mission_00.xml");
  o.maxFrames = 6000;
  int placedCell = -1;
  struct Trace {
    std::vector<int> killFrames;
    int towerEnergyLost = 0;
    int livesAfterWave = -1;
    double creditsAfterPlace = 0;
  };
  auto play = [&](Trace& t) {
    return runner().run(o, [&](LevelScreen& level, int frame) {
      if (frame == 0) {
        const auto& points = level.model().paths.begin()->second.points.at(0);
        int best = -1;
        for (int cell = 0; cell < static_cast<int>(level.grid().cells().size()); ++cell) {
          if (level.grid().cells()[cell] != 0) continue;
          const Vec2 c(static_cast<float>(cell % 32 * 32 + 16), static_cast<float>(cell / 32 * 32 + 16));
          int inReach = 0;
          for (const Vec2& p : points) inReach += qlnLenV2(c - p) < 90.0f ? 1 : 0;
          if (inReach > best) best = inReach, placedCell = cell;
        }
        ASSERT_TRUE(level.placement().buyTower(placedCell % 32, placedCell / 32, level.towerDescriptions().at(0)));
        t.creditsAfterPlace = level.economy().credits();
        level.sendNextWave();
      }
      if (static_cast<int>(t.killFrames.size()) < level.flow().enemiesDestroyed()) t.killFrames.push_back(frame);
      for (xBaseTowerEntity* tower : findTowers(level))
        t.towerEnergyLost = std::max(t.towerEnergyLost, 800 - static_cast<int>(tower->getEnergy()));
      if (t.livesAfterWave < 0 && level.spawner()->currentWave() == 0 && level.flow().enemiesDestroyed() +
                                                                               (20 - level.flow().lives()) == 4)
        t.livesAfterWave = level.flow().lives();
    });
  };
  Trace first, second;
  const auto a = play(first);
  const auto b = play(second);
  EXPECT_EQ(1900.0 - 275.0, first.creditsAfterPlace);
  EXPECT_EQ(20, first.livesAfterWave) << levelrunner::describe(a);
  EXPECT_EQ(4u, first.killFrames.size()) << levelrunner::describe(a);
  EXPECT_EQ(first.killFrames, second.killFrames);
  EXPECT_EQ(a.credits, b.credits);
  EXPECT_LT(first.towerEnergyLost, 800);
}

TEST(TowerScenario, InterestAtAWaveEndLivesLostAndTheDefeatRecord) {
  // Ships that are not shot down fly their path again and again, a life each lap.
  Folder f;
  auto o = options(f.level("<Attack id=\"0\">" + f.wave(2, 1500, "", 9000) + "</Attack><Attack id=\"1\">" +
                           f.wave(3, 300) + "</Attack>"));
  o.script = {{0, "place", {"5", std::to_string(kBesideRow)}}, {1, "start", {}}};
  double creditsAtEnd = -1;
  int livesAtEnd = -1;
  LevelStats stats;
  const auto out = runner().run(o, [&](LevelScreen& level, int frame) {
    if (frame == 0) level.economy().setInterestPercent(10);
    if (creditsAtEnd < 0 && level.flow().enemiesDestroyed() == 2 && !level.flow().clocksRunning()) {
      creditsAtEnd = level.economy().credits();
      livesAtEnd = level.flow().lives();
      level.towerCommands().sellTower(levelrunner::towerAt(level, 5, kBesideRow));
      level.sendNextWave();
    }
    stats = level.finalStats();
  });
  // Two kills of reward 10, each raised by the tower's 5 % interest share, then 10 % at the wave's end.
  EXPECT_NEAR((500.0 - 275.0 + 2 * 10.5) * 1.1, creditsAtEnd, 1e-9);
  EXPECT_EQ(20, livesAtEnd);
  EXPECT_TRUE(out.over);
  EXPECT_EQ(0, out.lives);
  EXPECT_FALSE(stats.victory);
  EXPECT_EQ(0, stats.lives);
  EXPECT_EQ(2 * 100 / 5, stats.destroyedPercent);
  EXPECT_EQ(1, stats.towersSold);
}

TEST(TowerScenario, AWonLevelRecordsItsTowersAndKills) {
  Folder f;
  auto o = options(withFunds(f, "<Attack id=\"0\">" + f.wave(3, 1500, "", 9000) + "</Attack>", 700));
  o.script = {{0, "place", {"5", std::to_string(kBesideRow)}}, {0, "place", {"12", std::to_string(kBesideRow)}},
              {1, "start", {}}, {2, "sell", {"12", std::to_string(kBesideRow)}}, {2, "sell", {"12", std::to_string(kBesideRow)}}};
  LevelStats stats;
  const auto out = runner().run(o, [&](LevelScreen& level, int) { stats = level.finalStats(); });
  EXPECT_TRUE(out.over) << levelrunner::describe(out);
  EXPECT_TRUE(stats.victory);
  EXPECT_EQ(20, stats.lives);
  EXPECT_EQ(1, stats.towersBuilt);
  EXPECT_EQ(1, stats.towersSold);  // sold once, however often the command came
  EXPECT_EQ(3, stats.enemiesDestroyed);
  EXPECT_EQ(100, stats.destroyedPercent);
}

TEST(TowerScenario, UpgradeAndSellPricesFollowTheLevelAndPlacingStartsTheBattle) {
  Folder f;
  // Exactly the tower's price, and then exactly its three upgrades' prices: each is bought.
  auto o = options(withFunds(f, "<Attack id=\"0\">" + f.wave(1, 100) + "</Attack>", 275));
  o.maxFrames = 3;
  const std::string col = "4", row = std::to_string(kFarRow);
  std::vector<double> credits;
  std::vector<float> damage;
  int state = -1, towers = -1, cellValue = -1;
  double shownSell = 0;
  runner().run(o, [&](LevelScreen& level, int frame) {
    if (frame != 0) return;
    EXPECT_NE(kLevelBattle, level.state());
    level.placement().buyTower(4, kFarRow, level.towerDescriptions().at(0));
    state = level.state();
    cellValue = level.grid().cells()[kFarRow * 32 + 4];
    xBaseTowerEntity* t = levelrunner::towerAt(level, 4, kFarRow);
    ASSERT_NE(nullptr, t);
    credits.push_back(level.economy().credits());
    damage.push_back(t->getDamage());
    EXPECT_EQ(366, LevelEconomy::upgradePrice(*t));
    level.economy().add(366 + 458 + 550);
    for (int i = 0; i < 4; ++i) {
      level.towerCommands().upgradeTower(t);
      credits.push_back(level.economy().credits());
      damage.push_back(t->getDamage());
    }
    level.towerCommands().showTowerInfo(t);
    shownSell = level.bridge().shownSellPrice();
    level.towerCommands().sellTower(t);
    towers = level.tally().sold();
    credits.push_back(level.economy().credits());
  });
  EXPECT_EQ(kLevelBattle, state);
  EXPECT_EQ(1, cellValue);
  const std::vector<double> paid = {0, 1008, 550, 0, 0, 385};
  ASSERT_EQ(paid.size(), credits.size());
  for (size_t i = 0; i < paid.size(); ++i) EXPECT_NEAR(paid[i], credits[i], 1e-3) << i;
  // Each step multiplies and keeps the fractions, which the tower deals over time;
  // the fourth upgrade is refused at the top level.
  const std::vector<float> grown = {100.0f, 105.0f, 115.5f, 132.825f, 132.825f};
  ASSERT_EQ(grown.size(), damage.size());
  for (size_t i = 0; i < grown.size(); ++i) EXPECT_NEAR(grown[i], damage[i], 1e-3f) << i;
  EXPECT_NEAR(385.0, shownSell, 1e-3);  // (275 + 275 x 4 / 3) x the 0.6 ratio
  EXPECT_EQ(1, towers);
}

TEST(TowerScenario, LimitedTowersRefusesTheEleventhWithoutChargingAndMaxCreditsHolds) {
  Folder f;
  const std::string level = withFunds(f, "<Attack id=\"0\">" + f.wave(1, 100) + "</Attack>", 10000);
  auto o = options(level, MODE_LIMITEDTOWERS);
  o.maxFrames = 2;
  for (int i = 0; i < 11; ++i) o.script.push_back({0, "place", {std::to_string(2 + 2 * i), std::to_string(kFarRow)}});
  double credits = 0;
  int built = 0, occupied = 0;
  runner().run(o, [&](LevelScreen& l, int) {
    credits = l.economy().credits();
    built = l.tally().standing();
    occupied = static_cast<int>(std::count(l.grid().cells().begin(), l.grid().cells().end(), 1));
  });
  EXPECT_EQ(10, built);
  EXPECT_EQ(10, occupied);
  EXPECT_DOUBLE_EQ(10000.0 - 10 * 275.0, credits);

  Folder g;
  auto m = options(g.level("<Attack id=\"0\">" + g.wave(1, 100, "", 9000) + "</Attack><Attack id=\"1\">" + g.wave(1, 100, "", 9000) +
                           "</Attack>"),
                   MODE_MAXCREDITS);
  m.script = {{0, "place", {"5", std::to_string(kBesideRow)}}, {1, "upgrade", {"5", std::to_string(kBesideRow)}},
              {1, "start", {}}};
  std::vector<double> seen;
  bool waveEnded = false;
  runner().run(m, [&](LevelScreen& l, int frame) {
    if (frame == 2) l.economy().setInterestPercent(25);
    if (l.economy().credits() != 40000.0) seen.push_back(l.economy().credits());
    if (l.spawner()->currentWave() == 0 && !l.flow().clocksRunning() && l.flow().enemiesDestroyed() == 1) waveEnded = true;
    if (frame > 2 && waveEnded && l.state() != kLevelOver) l.sendNextWave();
  });
  EXPECT_TRUE(seen.empty()) << seen.front();
  EXPECT_TRUE(waveEnded);
}

TEST(TowerScenario, ATimerLevelTimesOutAfterAPauseWithTheLivesItKept) {
  Folder f;
  auto o = options(f.level("<Attack id=\"0\">" + f.wave(3, 100, "", 400000) + "</Attack>", "<Timer delay=\"2\"/>"));
  o.script = {{0, "start", {}}};
  int endFrame = -1;
  LevelStats stats;
  const auto out = runner().run(o, [&](LevelScreen& level, int frame) {
    if (frame == 30) level.pause(&runner().app());
    if (frame == 330) level.resume(&runner().app());
    if (endFrame < 0 && level.state() == kLevelOver) endFrame = frame;
    stats = level.finalStats();
  });
  EXPECT_TRUE(out.over);
  // 2 s of countdown at 16 ms frames, the 300 covered frames not counted.
  EXPECT_GE(endFrame, 300 + 2000 / 16 - 2);
  EXPECT_LT(endFrame, 300 + 2000 / 16 + 10);
  EXPECT_TRUE(stats.victory);
  EXPECT_EQ(20, stats.lives);
}

TEST(TowerScenario, KeysPointerAndSelection) {
  Folder f;
  auto o = options(f.level("<Attack id=\"0\">" + f.wave(1, 100) + "</Attack><Attack id=\"1\">" + f.wave(1, 100) +
                           "</Attack>"));
  o.maxFrames = 3;
  runner().run(o, [&](LevelScreen& level, int frame) {
    if (frame != 0) return;
    // Display toggles.
    for (int k : {SDLK_g, SDLK_r, SDLK_v, SDLK_t, SDLK_p}) level.onKeyEvent(key(k));
    EXPECT_FALSE(level.hud().gridVisible());
    EXPECT_FALSE(level.hud().crosshairVisible());
    EXPECT_TRUE(level.hud().pathDetail());
    EXPECT_TRUE(level.hud().buildableView());
    EXPECT_EQ(0, level.hud().pathDisplay());
    // Fast forward only in battle; twice returns to normal.
    level.onKeyEvent(key(SDLK_s));
    EXPECT_FLOAT_EQ(1.0f, level.speedFactor());

    // Hovered cells.
    PointingDeviceEvent move = press(31, 0);
    level.mouseMoved(move);
    EXPECT_EQ(0, level.selection().hoveredCell());
    EXPECT_FLOAT_EQ(16.0f, level.selection().hoveredCellCentre().x);
    move.x = 32, move.y = 32;
    level.mouseMoved(move);
    EXPECT_EQ(33, level.selection().hoveredCell());
    move.x = 1024;
    level.mouseMoved(move);
    EXPECT_EQ(-1, level.selection().hoveredCell());

    // Cancel drops the choice; a click with a choice buys and starts the battle.
    level.selection().chooseTowerDesc(level.towerDescriptions().at(0));
    level.mousePressed(press(100, 100, PointingDeviceEvent::Right));
    EXPECT_EQ(nullptr, level.selection().towerDesc());
    level.mousePressed(press(100, 100));
    EXPECT_EQ(0, level.tally().standing());
    level.selection().chooseTowerDesc(level.towerDescriptions().at(0));
    level.mousePressed(press(100, kFarRow * 32 + 5));
    EXPECT_EQ(1, level.tally().standing());
    EXPECT_DOUBLE_EQ(225.0, level.economy().credits());
    EXPECT_EQ(kLevelBattle, level.state());
    EXPECT_EQ(nullptr, level.selection().towerDesc());
    // Not enough credits: nothing is bought.
    level.selection().chooseTowerDesc(level.towerDescriptions().at(0));
    level.mousePressed(press(200, kFarRow * 32 + 5));
    EXPECT_EQ(1, level.tally().standing());

    level.onKeyEvent(key(SDLK_s));
    EXPECT_FLOAT_EQ(0.36f, level.speedFactor());
    EXPECT_NEAR(1.0f / 0.36f, runner().app().getTimeScale(), 1e-4f);
    level.onKeyEvent(key(SDLK_s));
    EXPECT_FLOAT_EQ(1.0f, level.speedFactor());

    // Selecting, then losing the tower, clears the selection and the panel.
    xBaseTowerEntity* t = levelrunner::towerAt(level, 3, kFarRow);
    ASSERT_NE(nullptr, t);
    t->setSelected(false);
    t->toggleSelected();
    EXPECT_EQ(t, level.selection().tower());
    EXPECT_EQ(t, level.bridge().shownTower());
    t->takeDamage(100000);
    t->takeDamage(100000);
    EXPECT_EQ(nullptr, level.selection().tower());
    EXPECT_EQ(nullptr, level.bridge().shownTower());
    EXPECT_EQ(0, level.grid().cells()[kFarRow * 32 + 3]);

    // Space sends the next wave through the send-wave button while it shows, and nothing once the level is over.
    bge::Button* send = level.bridge().findCommandButton(bridgeids::kSendWave);
    ASSERT_NE(nullptr, send);
    send->setVisible(true);
    const int started = static_cast<int>(level.spawner()->wavesStarted());
    level.onKeyEvent(key(SDLK_SPACE));
    EXPECT_EQ(started + 1, static_cast<int>(level.spawner()->wavesStarted()));
    EXPECT_FALSE(send->isVisible());
    level.finishLevel();
    send->setVisible(true);
    level.onKeyEvent(key(SDLK_SPACE));
    EXPECT_EQ(started + 1, static_cast<int>(level.spawner()->wavesStarted()));
  });
}

namespace {

// Candidates at chosen places, with chosen energies and ids.
class PlacedEnemy : public xSimpleEnemy {
 public:
  PlacedEnemy(float x, float y, int energy, int id) : at_(x, y, 0.0f) {
    energy_ = energy;
    setId(id);
  }
  Vec3 absPlacement() override { return at_; }

 private:
  Vec3 at_;
};

class PlacedThing : public xSharkEntity {
 public:
  PlacedThing(float x, int id) : at_(x, 0.0f, 0.0f) { setId(id); }
  Vec3 absPlacement() override { return at_; }

 private:
  Vec3 at_;
};

}  // namespace

TEST(TargetBrain, RanksCandidatesByEveryStrategy) {
  xBaseTowerEntity tower;  // stands at the origin
  xBaseBrain& brain = *tower.getBrain();
  // The twin is as far and as strong as mid and reported after it, but made before it.
  PlacedEnemy near(10, 0, 500, 3), mid(0, 50, 100, 1), far(-90, 0, 300, 2), twin(0, -50, 100, 0);
  PlacedThing rock(70, 9);
  const std::vector<xSharkEntity*> all = {&mid, &rock, &near, &far, &twin};
  auto rank = [&](int strategy) {
    brain.targetSelectionStrategy = strategy;
    return brain.selectTargets(all);
  };
  using V = std::vector<xSharkEntity*>;
  // Equals go by their order of creation, so old records replay the same fights.
  EXPECT_EQ((V{&far, &rock, &twin, &mid, &near}), rank(kTargetDistant));
  EXPECT_EQ((V{&near, &twin, &mid, &rock, &far}), rank(kTargetClosest));
  // What is not a ship counts as having no energy and standing still.
  EXPECT_EQ((V{&rock, &twin, &mid, &far, &near}), rank(kTargetWeakest));
  EXPECT_EQ((V{&near, &far, &twin, &mid, &rock}), rank(kTargetStrongest));
  EXPECT_EQ((V{&twin, &mid, &far, &near, &rock}), rank(kTargetFirst));
  EXPECT_EQ((V{&rock, &near, &far, &mid, &twin}), rank(kTargetLast));
  // None of them walks: all are equally slow.
  EXPECT_EQ(rank(kTargetFirst), rank(kTargetSlowest));
  EXPECT_EQ(rank(kTargetFirst), rank(kTargetFastest));
  brain.lockingStrategy = kLockingOn;
  EXPECT_EQ((V{&near}), rank(kTargetClosest));
  EXPECT_TRUE(brain.selectTargets({}).empty());

  // A periodic brain hands out targets once per cycle.
  brain.actionStrategy = kActionPeriodic;
  brain.startCycle(1000);
  int firing = 0;
  for (int frame = 0; frame < 190; ++frame)
    if (!brain.think(all, 16).empty()) ++firing;
  EXPECT_GE(firing, 2);  // 3040 ms of frames: once a second at most, never every frame
  EXPECT_LE(firing, 3);
  // Damage that would need an energy boost of zero to scale leaves a finite energy.
  tower.boostEnergy(0.0f);
  tower.takeDamage(10);
  EXPECT_TRUE(std::isfinite(tower.getEnergy()));
}
