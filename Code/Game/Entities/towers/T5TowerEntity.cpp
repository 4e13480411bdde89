#include "Game/Entities/towers/T5TowerEntity.h"

#include "Graphics.h"

using namespace QuillonPHX2D;

namespace {

const ShotRule kRule{"scout", 1.5f, "SFX_PLAYER_SHOOT_2", 4};

}  // namespace

xEntity* xT5TowerDesc::createEntity() { return makeAttackTower<xT5TowerEntity>("TOWER_NAME_T5", "STAT_T5_UPGRADE"); }

void xT5TowerEntity::attack(const std::vector<xSharkEntity*>& targets) {
  shotList_.clear();
  instantHits(targets, kRule, shotList_);
}

void xT5TowerEntity::drawLayer(Graphics* g, ScreenBase* screen) {
  static const BeamStroke kBeam[] = {{2.5f, Color(0, 255, 255, 255)}};
  static const BeamStroke kKill[] = {{5.0f, Color(0, 255, 255, 255)}};
  const Vec2 centre(16.0f, 16.0f);
  if (!flashing_) {
    Vec2 to;
    for (xSharkEntity* target : shotList_)
      if (targetPoint(target, to)) drawBeam(g, centre, to, kBeam, 1);
    for (const Vec2& kill : shots_) drawBeam(g, centre, kill - Vec2(getX(), getY()), kKill, 1);
  }
  shots_.clear();
  xBaseTowerEntity::drawLayer(g, screen);
}
