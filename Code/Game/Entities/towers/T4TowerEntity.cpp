#include "Game/Entities/towers/T4TowerEntity.h"

#include <cmath>

#include "Game/Entities/enemies/SimpleEnemyEntity.h"
#include "Graphics.h"

using namespace QuillonPHX2D;

namespace {

// The snare hits every class alike: no favoured class.
const ShotRule kRule{nullptr, 1.0f, "SFX_T4_FIRE", 3};
constexpr float kNearlyStopped = 0.99999f;
constexpr int kSlowStepMs = 2500;

// A jagged yellow line: short steps along the way, each thrown 1..4 px to the
// alternate side.
void drawJagged(Graphics* g, const Vec2& from, const Vec2& to) {
  const Vec2 way = to - from;
  const float length = qlnLenV2(way);
  if (!(length > 0.5f)) return;
  const Vec2 along = way * (1.0f / length);
  const Vec2 across(-along.y, along.x);
  static const float kSteps[] = {2.0f, 1.0f, 3.0f, 2.0f, 4.0f, 3.0f};
  static const float kThrow[] = {1.0f, 3.0f, 2.0f, 4.0f, 1.0f, 2.0f};
  static const BeamStroke kStrokes[] = {{8.0f, Color(255, 255, 0, 40)},
                                        {3.0f, Color(255, 255, 0, 120)},
                                        {0.6f, Color(255, 255, 255, 255)}};
  for (const BeamStroke& s : kStrokes) {
    Vec2 last = from;
    float covered = 0.0f;
    for (int i = 0; covered < length; ++i) {
      // Each step is a few px of the six, scaled so a zigzag crosses ~12 px.
      covered = std::min(length, covered + kSteps[i % 6] * 3.0f);
      const float side = (i % 2 == 0 ? 1.0f : -1.0f) * kThrow[i % 6];
      const Vec2 next = covered >= length ? to : from + along * covered + across * side;
      g->drawLine(last, next, s.width, true, s.colour, 0, 0);
      last = next;
    }
  }
}

}  // namespace

float snareFactor(int upgradeLevel, const std::string& enemyClass) {
  float f = 0.6f + 0.1f * static_cast<float>(upgradeLevel);
  if (enemyClass == "grasshopper") f += 0.19f;
  if (f > 1.0f) f = kNearlyStopped;
  return f;
}

int snareDurationMs(int upgradeLevel) { return (upgradeLevel + 1) * kSlowStepMs; }

xEntity* xT4TowerDesc::createEntity() { return makeAttackTower<xT4TowerEntity>("TOWER_NAME_T4", "STAT_T4_UPGRADE"); }

void xT4TowerEntity::update(int dt, ScreenBase* screen) {
  xBaseTowerEntity::update(dt, screen);
  roll_.update(dt);
}

void xT4TowerEntity::attack(const std::vector<xSharkEntity*>& targets) {
  shotList_.clear();
  int whole = -1;  // taken on the step's first hit
  for (size_t i = 0; i < targets.size(); ++i) {
    if (targetCapacity_ > 0 && static_cast<int>(i) >= targetCapacity_) break;
    auto* enemy = dynamic_cast<xSimpleEnemy*>(targets[i]);
    if (!enemy) continue;
    if (whole < 0) whole = takeWholeDamage();
    shotList_.push_back(enemy);
    playShot(kRule.sound, kRule.channel);
    landHit(*enemy, shotDamage(whole, *enemy, kRule), true);
    // The wreck of a ship the hit destroyed is slowed too: it is still in the scene
    // until the frame's removal pass.
    enemy->slowDown(snareFactor(upgradeLevel_, enemy->className()), snareDurationMs(upgradeLevel_));
  }
}

void xT4TowerEntity::drawLayer(Graphics* g, ScreenBase* screen) {
  const Vec2 centre(16.0f, 16.0f);
  if (!flashing_) {
    Vec2 to;
    for (xSharkEntity* target : shotList_)
      if (targetPoint(target, to)) drawJagged(g, centre, to);
    for (const Vec2& kill : shots_) drawJagged(g, centre, kill - Vec2(getX(), getY()));
    roll_.draw(g);
  }
  shots_.clear();
  xBaseTowerEntity::drawLayer(g, screen);
}
