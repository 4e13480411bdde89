#include "Game/TowerPlacement.h"

#include <string>
#include <vector>

#include "AssertReport.h"
#include "Game/Entities/towers/DeploymentTowerEntity.h"
#include "Game/Entities/towers/WavePointTowerEntity.h"
#include "Game/Entities/towers/xBaseBrain.h"
#include "Game/LevelScreen.h"
#include "sdk/QuillonPhysicsSDK.h"
#include "Store/CStatsAndAchievements.h"

using namespace QuillonPHX2D;

namespace {

// Depth of a tower's widget: above the field, below the bridge.
constexpr int kTowerDepth = 200;

std::string cellName(int column, int row) { return std::to_string(column) + ", " + std::to_string(row); }

}  // namespace

xBaseTowerEntity* TowerPlacement::liveTowerAt(int column, int row) const {
  for (xBaseTowerEntity* t : findTowers(level_)) {
    if (!level_.findLiveEntity(t)) continue;
    if (PlacementGrid::columnAt(t->absPlacement().x) == column && PlacementGrid::rowAt(t->absPlacement().y) == row)
      return t;
  }
  return nullptr;
}

xBaseTowerDesc* TowerPlacement::findDescriptionByKind(const std::string& kindName) const {
  for (xBaseTowerDesc* d : level_.towerDescriptions())
    if (d && d->info == kindName) return d;
  return nullptr;
}

xBaseTowerEntity* TowerPlacement::recreateTower(xBaseTowerDesc* desc, int column, int row) {
  if (!desc || !g_ptrSDK) return nullptr;
  if (!BGE_REPORT_MSG(parts_.grid.isFree(column, row),
                      ("level: " + desc->info + " is not put on cell " + cellName(column, row) +
                       ": the cell is taken or off the field")
                          .c_str()))
    return nullptr;
  desc->sceneEntityManager = &level_;
  auto* tower = dynamic_cast<xBaseTowerEntity*>(g_ptrSDK->createEntity(desc));
  if (!BGE_REPORT_MSG(tower != nullptr, ("level: the description of " + desc->info + " made no tower").c_str()))
    return nullptr;
  parts_.grid.occupy(column, row);
  const Vec2 centre = PlacementGrid::centre(column, row);
  tower->setAbsPlacement(Vec3(centre.x, centre.y, 0.0f));
  constexpr float kSide = static_cast<float>(PlacementGrid::kCellSize);
  tower->setGeometry(Rect5(kSide * static_cast<float>(column), kSide * static_cast<float>(row), kSide, kSide));
  tower->setZ(kTowerDepth);
  tower->setId(nextEntityId_++);
  level_.addEntity(tower, true);
  tower->setReloadDelay(
      static_cast<int>(static_cast<float>(tower->getBaseReloadDelay()) * level_.flow().speedFactor()));
  if (xBaseBrain* brain = tower->getBrain()) brain->startCycle(tower->getReloadDelay());
  return tower;
}

bool TowerPlacement::placeTower(int column, int row, xBaseTowerDesc* description) {
  if (level_.gameMode() == MODE_LIMITEDTOWERS && parts_.tally.standing() >= kLimitedTowers) return false;
  // A taken or forbidden cell refuses quietly: the player may click anywhere.
  if (!description || !parts_.grid.isFree(column, row) || !g_ptrSDK) return false;
  clearSelection();
  LevelSelection& selection = parts_.selection;
  xBaseTowerDesc* chosen = selection.towerDesc();
  selection.chooseTowerDesc(nullptr);

  xBaseTowerEntity* tower = recreateTower(description, column, row);
  if (!tower) return false;
  level_.playIfAssisted("SFX_TOWER_PLACED");
  notePlacedTower(tower, column, row, chosen);
  parts_.tally.countBuilt();
  selection.setTower(tower);
  if (!firstTowerPlaced_) {
    firstTowerPlaced_ = true;
    level_.resumeBattle();
    if (g_statsAndAchievements && !g_statsAndAchievements->isAchieved("ACH_FIRST_TOWER"))
      g_statsAndAchievements->unlockAchievement("ACH_FIRST_TOWER");
  }
  return true;
}

bool TowerPlacement::buyTower(int column, int row, xBaseTowerDesc* description) {
  // Refused before anything happens: no checkpoint is saved for a click on a taken cell.
  if (!description || !parts_.grid.isFree(column, row)) return false;
  if (xDeploymentTowerEntity* first = parts_.selection.pairStation()) {
    // The second station of a pair is free; nothing else is placed before it.
    if (description->info != first->getInfoKey()) return false;
    return placeTower(column, row, description);
  }
  if (!parts_.economy.affords(description->price)) return false;
  if (!firstTowerPlaced_ && level_.gameMode() != MODE_ENDLESS) parts_.checkpoints.saveIfDue();
  // Only a tower that stands is paid for: the limited-towers mode refuses quietly.
  if (!placeTower(column, row, description)) return false;
  parts_.economy.add(-description->price);
  parts_.commands.updateTowerButtons();
  return true;
}

void TowerPlacement::clearOccupiedCells() { parts_.grid.releaseAll(); }

void TowerPlacement::clearSelection() {
  for (xBaseTowerEntity* tower : findTowers(level_)) tower->setSelected(false);
  parts_.selection.setTower(nullptr);
}

// --- the pair being placed and the beacon being attached ---

void TowerPlacement::cancelPendingPlacement() {
  // Taken back as if never bought: its cell is free and its price returns.
  auto takeBack = [this](xBaseTowerEntity* tower) {
    if (!tower) return;
    clearSelection();
    level_.scheduleRemoval(tower, true);
    level_.freeCell(tower->cellIndex());
    if (xBaseTowerDesc* d = findDescriptionByKind(tower->getInfoKey())) parts_.economy.add(d->price);
    parts_.tally.uncountBuilt();
  };
  LevelSelection& selection = parts_.selection;
  takeBack(selection.pairStation());
  selection.endPair();
  takeBack(selection.beacon());
  selection.endBeacon();
}

void TowerPlacement::notePlacedTower(xBaseTowerEntity* tower, int column, int row, xBaseTowerDesc* chosen) {
  LevelSelection& selection = parts_.selection;
  if (auto* station = dynamic_cast<xDeploymentTowerEntity*>(tower)) {
    if (xDeploymentTowerEntity* first = selection.pairStation()) {
      BGE_REPORT_MSG(selection.placingPair(), ("level: the drone station on cell " + cellName(column, row) +
                                               " joined a pair that was not being placed")
                                                  .c_str());
      linkDeploymentPair(first, station);
      selection.endPair();
    } else {
      BGE_REPORT_MSG(!selection.placingPair(), ("level: the drone station on cell " + cellName(column, row) +
                                                " starts a pair while another one's first station is gone")
                                                   .c_str());
      selection.startPair(station, PlacementGrid::centre(column, row));
      // The partner is placed next without choosing again.
      selection.chooseTowerDesc(chosen);
    }
  }
  if (auto* beacon = dynamic_cast<xWavePointTowerEntity*>(tower))
    selection.placeBeacon(beacon, PlacementGrid::centre(column, row));
}

void TowerPlacement::linkDeploymentPair(xDeploymentTowerEntity* first, xDeploymentTowerEntity* second) {
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
