#include "Game/Entities/towers/T10TowerEntity.h"

#include "Graphics.h"

using namespace QuillonPHX2D;

namespace {

constexpr int kChannel = 8;

}  // namespace

xEntity* xT10TowerDesc::createEntity() {
  return makeAttackTower<xT10TowerEntity>("TOWER_NAME_T10", "STAT_T10_UPGRADE");
}

void xT10TowerEntity::update(int dt, ScreenBase* screen) {
  roll_.update(dt);
  xBaseTowerEntity::update(dt, screen);
}

void xT10TowerEntity::attack(const std::vector<xSharkEntity*>& targets) {
  shotList_.clear();
  launchSalvo(targets, kMissileKind, "SFX_MISSILE_LAUNCHED", kChannel, false, 1.0f, &shotList_);
}

void xT10TowerEntity::drawLayer(Graphics* g, ScreenBase* screen) {
  static const BeamStroke kGuide[] = {{2.5f, Color(255, 255, 0, 255)}};
  if (!flashing_) {
    Vec2 to;
    for (xSharkEntity* target : shotList_)
      if (targetPoint(target, to)) drawBeam(g, Vec2(16.0f, 16.0f), to, kGuide, 1);
    roll_.draw(g);
  }
  xBaseTowerEntity::drawLayer(g, screen);
}
