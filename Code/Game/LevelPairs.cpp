// Drone-station pairs: the patrol ships they launch, the pair being placed, the
// navigation beacon waiting to be attached, and linking two stations into a pair.
#include <string>

#include "AssertReport.h"
#include "Game/Entities/drones/PatrolShipEntity.h"
#include "Game/Entities/towers/DeploymentTowerEntity.h"
#include "Game/Entities/towers/WavePointTowerEntity.h"
#include "Game/LevelScreen.h"

using namespace QuillonPHX2D;

namespace {

std::string cellName(int column, int row) { return std::to_string(column) + ", " + std::to_string(row); }

}  // namespace

xSimpleEnemyDesc* LevelScreen::patrolShipDesc(int index) const {
  if (index < 0 || index >= static_cast<int>(shipDescs_.size())) return nullptr;
  xSimpleEnemyDesc* d = shipDescs_[static_cast<size_t>(index)].get();
  return d && d->complete ? d : nullptr;
}

void LevelScreen::loadPatrolShips() {
  auto ship = std::make_unique<xPatrolShipDesc>();
  ship->sceneEntityManager = this;
  ship->loadFromFile(xPatrolShipDesc::kFile);
  shipDescs_.push_back(std::move(ship));
}

// --- the pair being placed and the beacon being attached ---

void LevelScreen::clearPendingPair(xDeploymentTowerEntity* station) {
  // Compared by address: the station may be on its way out of the scene.
  if (station && station != selection_.pairStationAsKept()) return;
  selection_.endPair();
}

void LevelScreen::cancelPendingPlacement() {
  // Taken back as if never bought: its cell is free and its price returns.
  auto takeBack = [this](xBaseTowerEntity* tower) {
    if (!tower) return;
    clearSelection();
    scheduleRemoval(tower, true);
    freeCell(tower->cellIndex());
    if (xBaseTowerDesc* d = findDescriptionByKind(tower->getInfoKey())) economy_.add(d->price);
    tally_.uncountBuilt();
  };
  takeBack(selection_.pairStation());
  selection_.endPair();
  takeBack(selection_.beacon());
  selection_.endBeacon();
}

void LevelScreen::notePlacedTower(xBaseTowerEntity* tower, int column, int row, xBaseTowerDesc* chosen) {
  if (auto* station = dynamic_cast<xDeploymentTowerEntity*>(tower)) {
    if (xDeploymentTowerEntity* first = selection_.pairStation()) {
      BGE_REPORT_MSG(selection_.placingPair(), ("level: the drone station on cell " + cellName(column, row) +
                                                " joined a pair that was not being placed")
                                                   .c_str());
      linkDeploymentPair(first, station);
      selection_.endPair();
    } else {
      BGE_REPORT_MSG(!selection_.placingPair(), ("level: the drone station on cell " + cellName(column, row) +
                                                 " starts a pair while another one's first station is gone")
                                                    .c_str());
      selection_.startPair(station, PlacementGrid::centre(column, row));
      // The partner is placed next without choosing again.
      selection_.chooseTowerDesc(chosen);
    }
  }
  if (auto* beacon = dynamic_cast<xWavePointTowerEntity*>(tower))
    selection_.placeBeacon(beacon, PlacementGrid::centre(column, row));
}

void LevelScreen::linkDeploymentPair(xDeploymentTowerEntity* first, xDeploymentTowerEntity* second) {
  if (!first || !second || first == second) return;
  const Vec3 a = first->absPlacement(), b = second->absPlacement();
  const Vec2 ends[] = {Vec2(a.x, a.y), Vec2(b.x, b.y)};
  const std::vector<Vec2> line = qlnBSpline2D(1, 2, ends, xDeploymentTowerEntity::kPatrolSamples);
  first->setPatrolPoints(line);
  first->setPartner(second, 0);
  second->setPatrolPoints(std::vector<Vec2>(line.rbegin(), line.rend()));
  second->setPartner(first, 1);
  first->launchPatrolShip();
}
