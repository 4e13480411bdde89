// What stands in a scene, by kind, in the scene's order.
#include "Game/SceneQueries.h"

#include "Game/Entities/enemies/SimpleEnemyEntity.h"
#include "Game/Entities/towers/xBaseSupportTowerEntity.h"
#include "Game/Entities/towers/xBaseTowerEntity.h"

std::vector<xBaseTowerEntity*> findTowers(const SceneEntityManager& manager) {
  std::vector<xBaseTowerEntity*> found;
  for (xSharkEntity* e : manager.standing())
    if (xBaseTowerEntity* tower = e->asTower()) found.push_back(tower);
  return found;
}

std::vector<xBaseSupportTowerEntity*> findSupportTowers(const SceneEntityManager& manager) {
  std::vector<xBaseSupportTowerEntity*> found;
  for (xSharkEntity* e : manager.standing())
    if (xBaseSupportTowerEntity* s = e->asSupportTower(); s && manager.findLiveEntity(s)) found.push_back(s);
  return found;
}

std::vector<xSimpleEnemy*> findEnemies(const SceneEntityManager& manager) {
  std::vector<xSimpleEnemy*> found;
  for (xSharkEntity* e : manager.entities())
    if (xSimpleEnemy* enemy = e->asEnemy()) found.push_back(enemy);
  return found;
}
