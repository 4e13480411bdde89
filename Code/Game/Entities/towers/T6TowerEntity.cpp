#include "Game/Entities/towers/T6TowerEntity.h"

using namespace QuillonPHX2D;

namespace {

constexpr int kChannel = 5;
// The eagereagle's warhead is shaped for the catchers' armour.
constexpr float kCatcherBonus = 1.3f;

}  // namespace

xEntity* xT6TowerDesc::createEntity() { return makeAttackTower<xT6TowerEntity>("TOWER_NAME_T6", "STAT_T6_UPGRADE"); }

void xT6TowerEntity::update(int dt, ScreenBase* screen) {
  roll_.update(dt);
  xBaseTowerEntity::update(dt, screen);
}

void xT6TowerEntity::attack(const std::vector<xSharkEntity*>& targets) {
  shotList_.clear();
  launchSalvo(targets, kMissileKind, "SFX_MISSILE_LAUNCHED", kChannel, true, kCatcherBonus, nullptr);
}

void xT6TowerEntity::drawLayer(Graphics* g, ScreenBase* screen) {
  if (!flashing_) roll_.draw(g);
  xBaseTowerEntity::drawLayer(g, screen);
}
