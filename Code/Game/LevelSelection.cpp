// The player's selection on the field; its entities are looked up before each use.
#include "Game/LevelSelection.h"

#include "Game/Entities/enemies/SimpleEnemyEntity.h"
#include "Game/Entities/towers/DeploymentTowerEntity.h"
#include "Game/Entities/towers/WavePointTowerEntity.h"
#include "Game/SceneEntityManager.h"

xBaseTowerEntity* LevelSelection::tower() const { return tower_ && scene_.findLiveEntity(tower_) ? tower_ : nullptr; }

xSimpleEnemy* LevelSelection::enemy() const { return enemy_ && scene_.findLiveEntity(enemy_) ? enemy_ : nullptr; }

void LevelSelection::hoverCell(int cell, const QuillonPHX2D::Vec2& centre) {
  hoveredCell_ = cell;
  hoveredCellCentre_ = centre;
}

void LevelSelection::hoverButton(float x, float y, const std::string& text, const std::string& infoKey) {
  buttonX_ = x;
  buttonY_ = y;
  buttonText_ = text;
  buttonInfoKey_ = infoKey;
}

void LevelSelection::leaveButton() {
  buttonText_.clear();
  buttonInfoKey_.clear();
  clearButtonFrame();
}

xDeploymentTowerEntity* LevelSelection::pairStation() const {
  return pairStation_ && scene_.findLiveEntity(pairStation_) ? pairStation_ : nullptr;
}

void LevelSelection::startPair(xDeploymentTowerEntity* first, const QuillonPHX2D::Vec2& anchor) {
  pairStation_ = first;
  placingPair_ = true;
  anchor_ = anchor;
}

void LevelSelection::endPair() {
  pairStation_ = nullptr;
  placingPair_ = false;
}

xWavePointTowerEntity* LevelSelection::beacon() const {
  return beacon_ && scene_.findLiveEntity(beacon_) ? beacon_ : nullptr;
}

void LevelSelection::placeBeacon(xWavePointTowerEntity* beacon, const QuillonPHX2D::Vec2& anchor) {
  beaconPlaced_ = true;
  anchor_ = anchor;
  beacon_ = beacon;
}

void LevelSelection::endBeacon() {
  beaconPlaced_ = false;
  beacon_ = nullptr;
}
