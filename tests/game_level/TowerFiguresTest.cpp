// What a tower's info panel says it deals per second is what the level measures it
// dealing to one ship that stays in its reach: every kind, every upgrade level, and
// the panel's "after upgrade" figure against the next level's measurement.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "AngelFont.h"
#include "GLTexture.h"
#include "Game/Entities/enemies/SimpleEnemyEntity.h"
#include "Game/Entities/towers/TowerFigures.h"
#include "Game/Entities/towers/xBaseTowerEntity.h"
#include "LabelManager.h"
#include "LevelFiles.h"
#include "RecordingFont.h"
#include "RecordingGraphics.h"
#include "ResourceManager.h"
#include "SDLGameApp.h"
#include "sdk/QuillonPhysicsSDK.h"

using namespace QuillonPHX2D;
using levelfiles::Folder;
using levelfiles::runner;

namespace {

constexpr int kColumn = 10;
constexpr int kRow = 10;
constexpr float kFrameSeconds = 0.016f;
// Long enough that a shot more or less would show, whole cycles in any case.
constexpr int kMeasuredFrames = 1200;

// Puts a recording font in the place of the panel font for one drawing.
class PanelFontSwap {
 public:
  PanelFontSwap() : global_(runner().app().globalResourceManager()), font_(new RecordingFont) {
    global_->registerFont("FONT_NOTOSANS16", font_);
  }
  ~PanelFontSwap() {
    global_->registerFont("FONT_NOTOSANS16", new AngelFont("content/fonts/NotoSans16.fnt", GLTexture::kLinear));
  }
  RecordingFont& font() { return *font_; }

 private:
  ResourceManager* global_;
  RecordingFont* font_;  // owned by the catalogue
};

// The per-second damage figures the panel writes, in drawing order: now, then after
// the next upgrade; empty when it writes none.
std::vector<float> shownDamage(xBaseTowerEntity& tower) {
  PanelFontSwap swap;
  RecordingGraphics g;
  tower.infoText(&g, Rect5(1044.0f, 346.0f, 316.0f, 164.0f));
  const std::string head = runner().app().gameMessages()->getLabel("DAMAGE") + ": ";
  std::vector<float> figures;
  for (const TextCall& c : swap.font().calls)
    if (c.text.rfind(head, 0) == 0 && c.text.find("/s") != std::string::npos)
      figures.push_back(std::stof(c.text.substr(head.size())));
  return figures;
}

std::string richLevel(Folder& f) {
  const std::string path = f.level("<Attack id=\"0\">" + f.wave(1, 1000) + "</Attack>");
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return f.write("level.xml", levelfiles::replaceAll(text.str(), "credits=\"500\"", "credits=\"100000\""));
}

// A ship of a class no tower favours, that never dies and stands still.
xSimpleEnemy* addShip(LevelScreen& level, const std::string& file, float x, float y) {
  xSimpleEnemyDesc desc;
  desc.loadFromFile(file);
  desc.className = "freighter";
  desc.energy = 100000000;
  desc.sceneEntityManager = &level;
  auto* ship = dynamic_cast<xSimpleEnemy*>(g_ptrSDK->createEntity(&desc));
  if (!ship) return nullptr;
  ship->setAbsPlacement(Vec3(x, y, 0.0f));
  level.addEntity(ship, true);
  return ship;
}

struct Measured {
  std::vector<float> shown;  // the panel's figures at the first frame with a target
  float dps = 0.0f;          // measured over whole cycles
  bool attacked = false;
};

// One tower of the kind at the upgrade level with a ship 40 px away; the damage is
// counted over whole cycles (the period is the kind's own, read from how it fires),
// the window centred between two hits so a missile's flight time does not matter.
Measured measure(const std::string& kind, int upgrades) {
  Folder f;
  levelrunner::RunOptions o;
  o.levelFile = richLevel(f);
  xSimpleEnemy* ship = nullptr;
  xBaseTowerEntity* tower = nullptr;
  Measured m;
  long long start = 0;
  int firstHit = -1, period = 1, endFrame = -1;
  o.until = [&](LevelScreen&) { return endFrame >= 0; };
  o.maxFrames = 4000;
  runner().run(o, [&](LevelScreen& level, int frame) {
    if (frame == 0) {
      xBaseTowerDesc* desc = nullptr;
      for (xBaseTowerDesc* d : level.towerDescriptions())
        if (d->towerType == "TOWER_NAME_" + kind) desc = d;
      ASSERT_NE(nullptr, desc) << kind;
      ASSERT_TRUE(level.placement().buyTower(kColumn, kRow, desc));
      tower = levelrunner::towerAt(level, kColumn, kRow);
      ASSERT_NE(nullptr, tower);
      for (int i = 0; i < upgrades; ++i) ASSERT_TRUE(level.towerCommands().upgradeTower(tower));
      ship = addShip(level, f.dir() + "/enemy.xml", 32.0f * kColumn + 56.0f, 32.0f * kRow + 16.0f);
      ASSERT_NE(nullptr, ship);
      start = ship->energy();
      return;
    }
    if (!ship || !tower || !level.findLiveEntity(ship) || !level.findLiveEntity(tower)) return;
    if (frame == 1) m.shown = shownDamage(*tower);
    const long long dealt = start - ship->energy();
    if (firstHit < 0 && dealt > 0) {
      firstHit = frame;
      m.attacked = true;
      // Shots come once per reload cycle; a pulse burns and rests; a beam every frame.
      const float cycle = towerFigures(towerState(*tower)).cycleSeconds;
      period = std::max(1, static_cast<int>(std::lround(cycle / kFrameSeconds)));
    }
    if (firstHit >= 0 && endFrame < 0) {
      const int cycles = std::max(1, (kMeasuredFrames + period - 1) / period);
      // Counting from half a period before the first hit: hits k = 0 .. cycles - 1.
      const int window = cycles * period;
      if (frame - firstHit + 1 >= window - period / 2) {
        endFrame = frame;
        m.dps = static_cast<float>(dealt) / (static_cast<float>(window) * kFrameSeconds);
      }
    }
    if (frame == 600 && firstHit < 0) endFrame = frame;  // it never fired
  });
  return m;
}

class TowerDamageShown : public ::testing::TestWithParam<const char*> {};

}  // namespace

TEST_P(TowerDamageShown, IsWhatTheTowerDealsAtEveryUpgradeLevel) {
  const std::string kind = GetParam();
  std::vector<Measured> levels;
  for (int level = 0; level <= xBaseTowerEntity::kMaxUpgradeLevel; ++level) {
    SCOPED_TRACE(kind + " at upgrade level " + std::to_string(level));
    levels.push_back(measure(kind, level));
    const Measured& m = levels.back();
    ASSERT_TRUE(m.attacked);
    ASSERT_FALSE(m.shown.empty()) << "the panel writes no damage per second";
    // The panel rounds to whole points; a hit's fractions land within a point.
    EXPECT_NEAR(m.dps, m.shown[0], 1.0f + 0.005f * m.dps);
    if (level > 0) {
      // An upgrade changes what the tower does, and the level before said by how much.
      EXPECT_GT(m.dps, levels[level - 1].dps + 0.5f);
      ASSERT_EQ(2u, levels[level - 1].shown.size());
      EXPECT_NEAR(m.dps, levels[level - 1].shown[1], 1.0f + 0.005f * m.dps);
    }
  }
  EXPECT_EQ(1u, levels.back().shown.size()) << "no upgrade after the top level";
}

INSTANTIATE_TEST_SUITE_P(AttackKinds, TowerDamageShown,
                         ::testing::Values("T1", "T2", "T3", "T4", "T5", "T6", "T7", "T8", "T9", "T10"),
                         [](const ::testing::TestParamInfo<const char*>& info) { return std::string(info.param); });

TEST(TowerDamageNotShown, SupportKindsDealNoneAndShowNone) {
  for (const char* kind : {"S1", "S4", "S5"}) {
    SCOPED_TRACE(kind);
    const Measured m = measure(kind, 0);
    EXPECT_FALSE(m.attacked);
    EXPECT_TRUE(m.shown.empty());
  }
}
