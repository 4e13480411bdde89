#include "Game/Entities/towers/T1TowerEntity.h"

#include "Graphics.h"

using namespace QuillonPHX2D;

namespace {

const ShotRule kRule{"scout", 1.25f, "SFX_PLAYER_SHOOT_2", 0};

}  // namespace

xEntity* xT1TowerDesc::createEntity() { return makeAttackTower<xT1TowerEntity>("TOWER_NAME_T1", "STAT_T1_UPGRADE"); }

void xT1TowerEntity::attack(const std::vector<xSharkEntity*>& targets) {
  shotList_.clear();
  instantHits(targets, kRule, shotList_);
}

void xT1TowerEntity::drawLayer(Graphics* g, ScreenBase* screen) {
  static const BeamStroke kBeam[] = {{8.0f, Color(0, 255, 255, 128)},
                                     {4.5f, Color(0, 255, 255, 160)},
                                     {2.0f, Color(0, 255, 255, 190)},
                                     {1.0f, Color(255, 255, 255, 255)}};
  static const BeamStroke kKill[] = {{12.0f, Color(255, 255, 255, 255)}};
  // Drawn in the tower's own frame (the widget manager has moved there).
  const Vec2 centre(16.0f, 16.0f);
  if (!flashing_) {
    Vec2 to;
    for (xSharkEntity* target : shotList_)
      if (targetPoint(target, to)) drawBeam(g, centre, to, kBeam, 4);
    for (const Vec2& kill : shots_) drawBeam(g, centre, kill - Vec2(getX(), getY()), kKill, 1);
  }
  shots_.clear();
  xBaseTowerEntity::drawLayer(g, screen);
}
