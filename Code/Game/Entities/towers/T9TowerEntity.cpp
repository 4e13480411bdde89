#include "Game/Entities/towers/T9TowerEntity.h"

using namespace QuillonPHX2D;

// Its hit is the T3's (spacedogs, channel 2); only the kill line is thinner.
xEntity* xT9TowerDesc::createEntity() { return makeAttackTower<xT9TowerEntity>("TOWER_NAME_T9", "STAT_T9_UPGRADE"); }
