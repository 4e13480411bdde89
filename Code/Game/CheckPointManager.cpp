#include "Game/CheckPointManager.h"

#include "AssertReport.h"

#include <cstdio>

#include "DynamicResources/SfxContainer.h"
#include "Game/Entities/drones/PatrolShipEntity.h"
#include "Game/Entities/enemies/xEnemySpawner.h"
#include "Game/Entities/towers/DeploymentTowerEntity.h"
#include "Game/Entities/towers/WavePointTowerEntity.h"
#include "Game/LevelCheckpoints.h"
#include "Game/LevelScreen.h"

using namespace QuillonPHX2D;

namespace {

std::pair<int, int> cellOf(const xBaseTowerEntity& tower) {
  return {PlacementGrid::columnAt(tower.getX()), PlacementGrid::rowAt(tower.getY())};
}

std::vector<xSimpleEnemy*> stationParts(const SceneEntityManager& scene) {
  std::vector<xSimpleEnemy*> parts;
  for (xSimpleEnemy* e : findEnemies(scene))
    if (scene.findLiveEntity(e) && e->categoryName() == "station_part") parts.push_back(e);
  return parts;
}

}  // namespace

void CheckPointManager::saveCheckPoint() {
  CheckPoint c;
  level_.checkpoints().recordCounters(c);
  c.index = count();

  for (xBaseTowerEntity* tower : findTowers(level_)) {
    // A tower sold this frame is no longer part of the level.
    if (!level_.findLiveEntity(tower)) continue;
    auto* station = dynamic_cast<xDeploymentTowerEntity*>(tower);
    xDeploymentTowerEntity* partner = station ? station->partner() : nullptr;
    // The second station of a pair comes back with its first.
    if (station && partner && station->role() != 0) continue;
    // Beacons come back with the station they are attached to; a loose one alone.
    if (auto* beacon = dynamic_cast<xWavePointTowerEntity*>(tower); beacon && beacon->homeStation()) continue;
    TowerRecord r;
    r.kindName = tower->getInfoKey();
    std::tie(r.column, r.row) = cellOf(*tower);
    r.upgradeLevel = tower->getUpgradeLevel();
    r.energy = tower->getBaseEnergy();
    r.targetSelection = tower->getTargetSelection();
    if (station) {
      r.isDroneStation = true;
      r.hasPartner = partner != nullptr;
      if (partner) std::tie(r.partnerColumn, r.partnerRow) = cellOf(*partner);
      for (xWavePointTowerEntity* b : station->beacons()) r.beaconCells.push_back(cellOf(*b));
    }
    c.towers.push_back(r);
  }

  for (xSimpleEnemy* part : stationParts(level_)) {
    StationPartRecord r;
    r.hasPath = part->pathPoints().empty() ? 0 : 1;
    if (r.hasPath) r.walker = part->walkIndex();
    r.energy = part->energy();
    r.placement = part->absPlacement();
    r.part = part;
    c.stationParts.push_back(r);
  }
  c.wave = spawner_ ? spawner_->currentWave() : -1;
  records_.push_back(c);
  SfxContainer::instance()->playSound("SFX_POWER_UP_COLLECTED");
}

void CheckPointManager::restoreCheckPoint(const CheckPoint& c) {
  LevelCheckpoints& restore = level_.checkpoints();
  restore.restoreCounters(c);

  for (xBaseTowerEntity* tower : findTowers(level_)) level_.scheduleRemoval(tower, true);
  for (xSimpleEnemy* e : findEnemies(level_))
    if (dynamic_cast<xPatrolShip*>(e)) level_.scheduleRemoval(e, true);
  restore.removeAllEnemies();
  level_.placement().clearOccupiedCells();
  // The old towers leave before the new ones stand: a cell must not look taken by
  // a tower on its way out, nor a beacon be linked to a dying station.
  restore.prepareForRestore();
  level_.processRemovals();

  for (size_t i = 0; i < c.towers.size(); ++i) {
    const TowerRecord& r = c.towers[i];
    if (r.isDroneStation) restore.restoreDeploymentPair(c, i);
    // A beacon attached to no station was recorded on its own and comes back alone.
    else if (dynamic_cast<xWavePointTowerDesc*>(level_.placement().findDescriptionByKind(r.kindName)))
      restore.restoreWavePointTower(r.column, r.row);
    else restore.restoreTowerByKind(r.kindName, r.column, r.row, r.upgradeLevel);
    if (xBaseTowerEntity* t = level_.placement().liveTowerAt(r.column, r.row)) {
      t->setBaseEnergy(r.energy);
      t->setTargetSelection(r.targetSelection);
    }
  }

  for (const TowerRecord& r : c.towers) {
    if (!r.isDroneStation || r.beaconCells.empty()) continue;
    auto* station = dynamic_cast<xDeploymentTowerEntity*>(level_.placement().liveTowerAt(r.column, r.row));
    if (!BGE_REPORT_MSG(station != nullptr, ("checkpoint: no drone station stands on cell " + std::to_string(r.column) +
                                             ", " + std::to_string(r.row) + " to take back its beacons")
                                                .c_str()))
      continue;
    for (const auto& cell : r.beaconCells)
      if (xWavePointTowerEntity* beacon = restore.restoreWavePointTower(cell.first, cell.second))
        station->appendBeacon(beacon);
    station->buildPatrolPath();
  }

  if (spawner_) spawner_->restoreWave(c.wave);

  for (const StationPartRecord& r : c.stationParts) {
    for (xSimpleEnemy* part : stationParts(level_)) {
      if (part != r.part) continue;
      part->restoreState(r.energy, r.hasPath == 1 ? r.walker : part->walkIndex());
      if (r.hasPath == 1) {
        part->setAbsPlacement(r.placement);
        part->restartPathWalk();
      }
    }
  }
  restore.recountBuiltTowers();
  SfxContainer::instance()->playSound("SFX_POWER_UP_ENTRY");
}

void CheckPointManager::dropNewestUnlessOnly() {
  if (records_.size() > 1) records_.pop_back();
}
