#include "Game/Entities/towers/T2TowerEntity.h"

#include "Game/Entities/enemies/SimpleEnemyEntity.h"
#include "Graphics.h"

using namespace QuillonPHX2D;

namespace {

const ShotRule kRule{"rower", 1.25f, "SFX_PLAYER_BULLET_LASER", 1};

}  // namespace

xEntity* xT2TowerDesc::createEntity() { return makeAttackTower<xT2TowerEntity>("TOWER_NAME_T2", "STAT_T2_UPGRADE"); }

void xT2TowerEntity::attack(const std::vector<xSharkEntity*>& targets) {
  shotList_.clear();
  const int others = static_cast<int>(targets.size()) - 1;
  int whole = -1;  // taken on the step's first hit
  for (size_t i = 0; i < targets.size(); ++i) {
    if (targetCapacity_ > 0 && static_cast<int>(i) >= targetCapacity_) break;
    auto* enemy = dynamic_cast<xSimpleEnemy*>(targets[i]);
    if (!enemy) continue;
    if (whole < 0) whole = takeWholeDamage();
    shotList_.push_back(enemy);
    playShot(kRule.sound, kRule.channel);
    int damage = shotDamage(whole, *enemy, kRule);
    // i > 0 means at least two targets, so others is at least 1.
    if (i > 0) damage /= others;
    landHit(*enemy, damage, false);
  }
}

void xT2TowerEntity::drawLayer(Graphics* g, ScreenBase* screen) {
  static const BeamStroke kFull[] = {{8.0f, Color(255, 0, 0, 128)},
                                     {4.0f, Color(255, 0, 0, 160)},
                                     {2.0f, Color(255, 0, 0, 190)},
                                     {1.0f, Color(255, 0, 0, 255)}};
  static const BeamStroke kLink[] = {{6.0f, Color(255, 0, 0, 160)},
                                     {3.0f, Color(255, 0, 0, 190)},
                                     {1.6f, Color(255, 0, 0, 255)}};
  static const BeamStroke kKill[] = {{12.0f, Color(255, 0, 0, 255)}};
  const Vec2 centre(16.0f, 16.0f);
  if (!flashing_ && !shotList_.empty()) {
    Vec2 first;
    const bool firstLive = targetPoint(shotList_[0], first);
    if (firstLive) drawBeam(g, centre, first, kFull, 4);
    Vec2 to;
    for (size_t i = 1; i < shotList_.size(); ++i) {
      if (!targetPoint(shotList_[i], to)) continue;
      if (firstLive) {
        drawBeam(g, centre, first, kLink, 3);
        drawBeam(g, first, to, kLink, 3);
      } else {
        drawBeam(g, centre, to, kFull, 4);
      }
    }
  }
  if (!flashing_)
    for (const Vec2& kill : shots_) drawBeam(g, centre, kill - Vec2(getX(), getY()), kKill, 1);
  shots_.clear();
  xBaseTowerEntity::drawLayer(g, screen);
}
