#include "Game/Entities/towers/T7TowerEntity.h"

using namespace QuillonPHX2D;

namespace {

const ShotRule kRule{"bull", 1.2f, "SFX_T3_FIRE", 6};

}  // namespace

xEntity* xT7TowerDesc::createEntity() { return makeAttackTower<xT7TowerEntity>("TOWER_NAME_T7", "STAT_T7_UPGRADE"); }

const ShotRule& xT7TowerEntity::rule() const { return kRule; }
