// Drone-station pairs, navigation beacons waiting to be attached, and putting
// towers back on their cells by kind when a checkpoint is restored.
#include <cstdio>

#include "Game/CheckPointManager.h"
#include "Game/Entities/drones/PatrolShipEntity.h"
#include "Game/Entities/enemies/xEnemySpawner.h"
#include "Game/Entities/towers/DeploymentTowerEntity.h"
#include "Game/Entities/towers/SupportTowerEntities.h"
#include "Game/Entities/towers/WavePointTowerEntity.h"
#include "Game/Entities/towers/xBaseBrain.h"
#include "Game/LevelScreen.h"
#include "GameApp.h"
#include "LabelManager.h"
#include "Game/TowerCommandWidget.h"
#include "Store/CStatsAndAchievements.h"
#include "sdk/QuillonPhysicsSDK.h"
#include "tinyaction/TinyAction.h"

using namespace QuillonPHX2D;

namespace {

constexpr int kTowerDepth = 200;
// The kind name of a navigation beacon: beacons come back with their station.
const char* const kBeaconKind = "TWAYPOINT_INFO";
const char* const kPatrolShipFile = "content/config/Entities/ships/patrolshipsimple-3.xml";
// The bridge's send-wave button.
constexpr int kSendWaveButton = 7;

}  // namespace

// --- lookups ---

std::vector<xBaseSupportTowerEntity*> LevelScreen::findSupportTowers(const SceneEntityManager& manager) {
  std::vector<xBaseSupportTowerEntity*> found;
  for (xSharkEntity* e : manager.entities())
    if (auto* s = dynamic_cast<xBaseSupportTowerEntity*>(e); s && manager.findLiveEntity(s)) found.push_back(s);
  return found;
}

xBaseTowerEntity* LevelScreen::liveTowerAt(int column, int row) const {
  for (xBaseTowerEntity* t : findTowers(*this)) {
    if (!findLiveEntity(t)) continue;
    if (PlacementGrid::columnAt(t->absPlacement().x) == column && PlacementGrid::rowAt(t->absPlacement().y) == row)
      return t;
  }
  return nullptr;
}

xBaseTowerDesc* LevelScreen::findDescriptionByKind(const std::string& kindName) const {
  for (xBaseTowerDesc* d : towerDescriptions_)
    if (d && d->info == kindName) return d;
  return nullptr;
}

xSimpleEnemyDesc* LevelScreen::patrolShipDesc(int index) const {
  if (index < 0 || index >= static_cast<int>(shipDescs_.size())) return nullptr;
  xSimpleEnemyDesc* d = shipDescs_[static_cast<size_t>(index)].get();
  return d && d->complete ? d : nullptr;
}

void LevelScreen::loadPatrolShips() {
  auto ship = std::make_unique<xPatrolShipDesc>();
  ship->sceneEntityManager = this;
  ship->loadFromFile(kPatrolShipFile);
  shipDescs_.push_back(std::move(ship));
}

// --- the pair being placed and the beacon being attached ---

xDeploymentTowerEntity* LevelScreen::pendingDeploymentTower() const {
  return ptrDeploymentA_ && findLiveEntity(ptrDeploymentA_) ? ptrDeploymentA_ : nullptr;
}

void LevelScreen::clearPendingPair(xDeploymentTowerEntity* station) {
  if (station && station != ptrDeploymentA_) return;
  ptrDeploymentA_ = nullptr;
  placingDeploymentTowers_ = false;
}

bool LevelScreen::isAttachingBeacon() const { return waypointPlaced_ && ptrWaypointTower(); }

xWavePointTowerEntity* LevelScreen::ptrWaypointTower() const {
  return lastWaypointTower_ && findLiveEntity(lastWaypointTower_) ? lastWaypointTower_ : nullptr;
}

void LevelScreen::clearBeaconAttachment() {
  waypointPlaced_ = false;
  lastWaypointTower_ = nullptr;
}

void LevelScreen::cancelPendingPlacement() {
  // Taken back as if never bought: its cell is free and its price returns.
  auto takeBack = [this](xBaseTowerEntity* tower) {
    if (!tower) return;
    clearSelection();
    scheduleRemoval(tower, true);
    freeCell(tower->cellIndex());
    if (xBaseTowerDesc* d = findDescriptionByKind(tower->getInfoKey())) addCredits(d->price);
    uncountBuiltTower();
  };
  takeBack(pendingDeploymentTower());
  ptrDeploymentA_ = nullptr;
  placingDeploymentTowers_ = false;
  takeBack(ptrWaypointTower());
  clearBeaconAttachment();
}

void LevelScreen::notePlacedTower(xBaseTowerEntity* tower, int column, int row, xBaseTowerDesc* chosen) {
  if (dynamic_cast<xS4SupportTowerEntity*>(tower)) radarPlaced_ = true;
  if (auto* station = dynamic_cast<xDeploymentTowerEntity*>(tower)) {
    if (xDeploymentTowerEntity* first = pendingDeploymentTower()) {
      if (!placingDeploymentTowers_) std::printf("ERROR: level: placingDeploymentTowers_\n");
      linkDeploymentPair(first, station);
      ptrDeploymentA_ = nullptr;
      placingDeploymentTowers_ = false;
    } else {
      if (placingDeploymentTowers_) std::printf("ERROR: level: !placingDeploymentTowers_\n");
      ptrDeploymentA_ = station;
      placingDeploymentTowers_ = true;
      pairStartPos_ = PlacementGrid::centre(column, row);
      // The partner is placed next without choosing again.
      selectedTowerDesc_ = chosen;
    }
  }
  if (auto* beacon = dynamic_cast<xWavePointTowerEntity*>(tower)) {
    waypointPlaced_ = true;
    pairStartPos_ = PlacementGrid::centre(column, row);
    lastWaypointTower_ = beacon;
  }
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

// --- re-creating towers ---

xBaseTowerEntity* LevelScreen::recreateTower(xBaseTowerDesc* desc, int column, int row) {
  if (!desc || !g_ptrSDK) return nullptr;
  if (!grid_.isFree(column, row)) {
    std::printf("ERROR: level: %s is not put on cell %d, %d: the cell is taken or off the field\n",
                desc->info.c_str(), column, row);
    return nullptr;
  }
  desc->sceneEntityManager = this;
  auto* tower = dynamic_cast<xBaseTowerEntity*>(g_ptrSDK->createEntity(desc));
  if (!tower) {
    std::printf("ERROR: level: the tower description made no tower\n");
    return nullptr;
  }
  grid_.occupy(column, row);
  const Vec2 centre = PlacementGrid::centre(column, row);
  tower->setAbsPlacement(Vec3(centre.x, centre.y, 0.0f));
  constexpr float kSide = static_cast<float>(PlacementGrid::kCellSize);
  tower->setGeometry(Rect5(kSide * static_cast<float>(column), kSide * static_cast<float>(row), kSide, kSide));
  tower->setZ(kTowerDepth);
  tower->setId(nextEntityId_++);
  addEntity(tower, true);
  tower->setReloadDelay(static_cast<int>(static_cast<float>(tower->getBaseReloadDelay()) * flow_.speedFactor()));
  if (xBaseBrain* brain = tower->getBrain()) brain->startCycle(tower->getReloadDelay());
  return tower;
}

void LevelScreen::restoreDeploymentPair(const CheckPoint& checkPoint, size_t towerIndex) {
  if (towerIndex >= checkPoint.towers.size()) return;
  const TowerRecord& r = checkPoint.towers[towerIndex];
  xBaseTowerDesc* desc = findDescriptionByKind(r.kindName);
  if (!desc) {
    std::printf("ERROR: level: descTowerA!=0 (%s)\n", r.kindName.c_str());
    return;
  }
  auto* first = dynamic_cast<xDeploymentTowerEntity*>(recreateTower(desc, r.column, r.row));
  if (!first) {
    std::printf("ERROR: level: towerA !=0\n");
    return;
  }
  if (!r.hasPartner) {
    // It was waiting for its partner: it waits again.
    ptrDeploymentA_ = first;
    placingDeploymentTowers_ = true;
    pairStartPos_ = PlacementGrid::centre(r.column, r.row);
    selectedTowerDesc_ = desc;
    return;
  }
  auto* second = dynamic_cast<xDeploymentTowerEntity*>(recreateTower(desc, r.partnerColumn, r.partnerRow));
  if (!second) {
    std::printf("ERROR: level: towerB !=0\n");
    return;
  }
  linkDeploymentPair(first, second);
}

xWavePointTowerEntity* LevelScreen::restoreWavePointTower(int column, int row) {
  xBaseTowerDesc* desc = findDescriptionByKind(kBeaconKind);
  if (!desc) {
    std::printf("ERROR: level: descToUse!=0 (%s)\n", kBeaconKind);
    return nullptr;
  }
  return dynamic_cast<xWavePointTowerEntity*>(recreateTower(desc, column, row));
}

void LevelScreen::restoreTowerByKind(const std::string& kindName, int column, int row, int upgradeLevel) {
  if (kindName == kBeaconKind) return;
  xBaseTowerDesc* desc = findDescriptionByKind(kindName);
  if (!desc) {
    std::printf("ERROR: level: descToUse!=0 (%s)\n", kindName.c_str());
    return;
  }
  xBaseTowerEntity* tower = recreateTower(desc, column, row);
  for (int i = 0; tower && i < upgradeLevel; ++i) tower->upgrade();
}

void LevelScreen::removeAllEnemies() {
  for (xSimpleEnemy* e : findEnemies(*this))
    if (e->categoryName().rfind("enemy", 0) == 0) scheduleRemoval(e, true);
}

// --- checkpoints ---

void LevelScreen::setCounters(double credits, int score, int lives, int interest, int spawned, int destroyed,
                              int nextId) {
  economy_.restoreCredits(credits);
  economy_.setInterestPercent(interest);
  flow_.restoreCounters(score, lives, spawned, destroyed);
  nextEntityId_ = nextId;
}

void LevelScreen::recountBuiltTowers() {
  int standing = 0;
  for (xBaseTowerEntity* t : findTowers(*this))
    if (findLiveEntity(t)) ++standing;
  towersBuilt_ = standing;
}

void LevelScreen::uncountBuiltTower() {
  if (towersBuilt_ > 0) --towersBuilt_;
  if (towersBuiltTally_ > 0) --towersBuiltTally_;
}

void LevelScreen::prepareForRestore() {
  // The removal pass of a restore must not read the emptied field as a won wave.
  flow_.setWaveSpawned(false);
  selectedTower_ = nullptr;
  pickedEnemy_ = nullptr;
  selectedTowerDesc_ = nullptr;
  ptrDeploymentA_ = nullptr;
  placingDeploymentTowers_ = false;
  clearBeaconAttachment();
  hideTowerInfo();
}

void LevelScreen::restoreFromCheckPoint() {
  if (!checkPoints_ || checkPoints_->count() == 0) return;
  const CheckPoint newest = checkPoints_->records().back();
  checkPoints_->restoreCheckPoint(newest);
  checkPoints_->dropNewestUnlessOnly();
  if (spawner_) {
    flow_.followSpawner(*spawner_);
  }
}

bool LevelScreen::restoreUnderWay() const {
  return state_ == kLevelRestorePending || (sweepAction_ && sweepAction_->isRunning());
}

void LevelScreen::takeCheckPoint() {
  if (!checkPoints_ || state_ == kLevelOver || restoreUnderWay()) return;
  checkPoints_->saveCheckPoint();
  saveCheckPoint();
}

bool LevelScreen::requestRestore() {
  if (state_ != kLevelBattle || !checkPoints_ || checkPoints_->count() == 0 || !messageAction_ || !sweepAction_ ||
      sweepAction_->isRunning())
    return false;
  sweepAction_->start(this, kRestoreSweepEnded);
  return true;
}

void LevelScreen::applyPendingRestore() {
  hideTowerInfo();
  selectedTowerDesc_ = nullptr;
  restoreFromCheckPoint();
  if (checkPoints_) checkPointCount_ = checkPoints_->count();
  updateTowerButtons();
  showBridgeButton(kSendWaveButton, true);
  // The level waits for the player to send the wave the checkpoint stood before.
  pauseClocks();
  if (messageAction_) {
    GameApp* app = GameApp::instance();
    if (app && app->gameMessages()) message_ = app->gameMessages()->getLabel("CHECK_POINT_RESTORED");
    messageAction_->start(this, kRestoredMessage);
  }
  state_ = kLevelBattle;
  clearSelection();
  if (g_statsAndAchievements) g_statsAndAchievements->unlockAchievement("ACH_FIRST_CHECKPOINT");
}
