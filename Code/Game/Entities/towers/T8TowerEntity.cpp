#include "Game/Entities/towers/T8TowerEntity.h"

using namespace QuillonPHX2D;

namespace {

constexpr int kChannel = 7;

}  // namespace

xEntity* xT8TowerDesc::createEntity() { return makeAttackTower<xT8TowerEntity>("TOWER_NAME_T8", "STAT_T8_UPGRADE"); }

void xT8TowerEntity::update(int dt, ScreenBase* screen) {
  roll_.update(dt);
  xBaseTowerEntity::update(dt, screen);
}

void xT8TowerEntity::attack(const std::vector<xSharkEntity*>& targets) {
  shotList_.clear();
  launchSalvo(targets, kMissileKind, "SFX_MISSILE_LAUNCHED", kChannel, false, 1.0f, nullptr);
}

void xT8TowerEntity::drawLayer(Graphics* g, ScreenBase* screen) {
  if (!flashing_) roll_.draw(g);
  xBaseTowerEntity::drawLayer(g, screen);
}
