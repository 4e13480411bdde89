#pragma once
// What stands in a scene, by kind, in the scene's order.
#include <vector>

#include "Game/SceneEntityManager.h"

class xBaseSupportTowerEntity;
class xBaseTowerEntity;
class xSimpleEnemy;

std::vector<xBaseTowerEntity*> findTowers(const SceneEntityManager& manager);
std::vector<xBaseSupportTowerEntity*> findSupportTowers(const SceneEntityManager& manager);  // live only
std::vector<xSimpleEnemy*> findEnemies(const SceneEntityManager& manager);
