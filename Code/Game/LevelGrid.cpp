// The placement grid: which cells carry towers, placing a tower on a cell, and the
// selection of the towers that stand.
#include <tinyxml.h>

#include <algorithm>
#include <cstdio>

#include "DynamicResources/SfxContainer.h"
#include "Game/Entities/enemies/SimpleEnemyEntity.h"
#include "Game/Entities/towers/xBaseBrain.h"
#include "Game/LevelScreen.h"
#include "Menus/TowerCommandWidget.h"
#include "XmlAttributes.h"
#include "sdk/QuillonPhysicsSDK.h"
#include "Store/CStatsAndAchievements.h"

using namespace QuillonPHX2D;

namespace {

constexpr int kFieldEmpty = 0;
constexpr int kOccupied = 1;
constexpr int kCell = 32;
constexpr int kColumns = 32;
// Built towers at which the limited-towers mode stops placing.
constexpr int kTowerLimit = 10;
// How close a click must come to an enemy to pick it.
constexpr float kPickRadius = 20.0f;
// Depth of a tower's widget: above the field, below the bridge.
constexpr int kTowerDepth = 200;

}  // namespace

void LevelScreen::readTowers(const TiXmlElement* stage, const bge::XmlReader& reader) {
  towerDescriptions_.clear();
  auto load = [&](int typeId) {
    const char* file = towerKindFile(typeId);
    auto kind = towerKinds_.find(typeId);
    if (!file || kind == towerKinds_.end()) return;
    xBaseTowerDesc* desc = kind->second.get();
    desc->sceneEntityManager = this;
    if (!desc->complete) desc->loadFromFile(file);
    towerDescriptions_.push_back(desc);
  };
  const TiXmlElement* towers = stage->FirstChildElement("Towers");
  if (!towers || gameMode_ == MODE_ALLTOWERS) {
    for (const TowerKindFile& kind : towerKindFiles()) load(kind.typeId);
    return;
  }
  for (const TiXmlElement* t = towers->FirstChildElement("Tower"); t; t = t->NextSiblingElement("Tower"))
    load(reader.readInt(t, "typeId", -1));
}

std::vector<xBaseTowerEntity*> LevelScreen::findTowers(const SceneEntityManager& manager) {
  std::vector<xBaseTowerEntity*> found;
  for (xSharkEntity* e : manager.entities())
    if (auto* tower = dynamic_cast<xBaseTowerEntity*>(e)) found.push_back(tower);
  return found;
}

bool LevelScreen::placeTower(int row, xBaseTowerDesc* description, int column) {
  if (gameMode_ == MODE_LIMITEDTOWERS && towersBuilt_ >= kTowerLimit) return false;
  if (!description || row < 0 || column < 0 || column >= kColumns || !g_ptrSDK) return false;
  const int cell = row * kColumns + column;
  if (cell >= static_cast<int>(placementGrid_.size())) return false;
  clearSelection();
  selectedTowerDesc_ = nullptr;

  description->sceneEntityManager = this;
  auto* tower = dynamic_cast<xBaseTowerEntity*>(g_ptrSDK->createEntity(description));
  if (!tower) {
    std::printf("ERROR: level: the tower description made no tower\n");
    return false;
  }
  // The cell the tower stands on, whatever the pointer hovers now.
  placementGrid_[cell] = kOccupied;
  tower->setAbsPlacement(Vec3(static_cast<float>(kCell * column + kCell / 2), static_cast<float>(kCell * row + kCell / 2),
                              0.0f));
  tower->setGeometry(Rect5(static_cast<float>(kCell * column), static_cast<float>(kCell * row), 32.0f, 32.0f));
  tower->setZ(kTowerDepth);
  tower->setId(nextEntityId_++);
  addEntity(tower, true);
  tower->setReloadDelay(static_cast<int>(static_cast<float>(tower->getBaseReloadDelay()) * speedFactor_));
  if (xBaseBrain* brain = tower->getBrain()) brain->startCycle(tower->getReloadDelay());
  playIfAssisted("SFX_TOWER_PLACED");
  ++towersBuilt_;
  selectedTower_ = tower;
  if (!firstTowerPlaced_) {
    firstTowerPlaced_ = true;
    state_ = kLevelBattle;
    if (g_statsAndAchievements && !g_statsAndAchievements->isAchieved("ACH_FIRST_TOWER"))
      g_statsAndAchievements->unlockAchievement("ACH_FIRST_TOWER");
  }
  return true;
}

bool LevelScreen::buyTower(int row, xBaseTowerDesc* description, int column) {
  if (!description || credits_ < description->price) return false;
  if (!firstTowerPlaced_ && gameMode_ != MODE_ENDLESS) saveCheckPointIfDue();
  // Only a tower that stands is paid for: the limited-towers mode refuses quietly.
  if (!placeTower(row, description, column)) return false;
  addCredits(-description->price);
  updateTowerButtons();
  return true;
}

void LevelScreen::freeCell(int cellIndex) {
  if (cellIndex < 0 || cellIndex >= static_cast<int>(placementGrid_.size())) {
    std::printf("ERROR: level: cellIdx>=0 && cellIdx<placementGrid_.size() (%d)\n", cellIndex);
    return;
  }
  // A cell the level image forbids stays forbidden.
  if (placementGrid_[cellIndex] == kOccupied) placementGrid_[cellIndex] = kFieldEmpty;
  hoveredCell_ = -1;
}

void LevelScreen::clearOccupiedCells() {
  for (int& cell : placementGrid_)
    if (cell == kOccupied) cell = kFieldEmpty;
}

xSimpleEnemy* LevelScreen::enemyNear(const Vec2& point) const {
  for (xSimpleEnemy* enemy : findEnemies(*this)) {
    const Vec3 p = enemy->absPlacement();
    if (qlnLenV2(Vec2(p.x - point.x, p.y - point.y)) <= kPickRadius) return enemy;
  }
  return nullptr;
}

void LevelScreen::clearSelection() {
  for (xBaseTowerEntity* tower : findTowers(*this)) tower->setSelected(false);
  selectedTower_ = nullptr;
}

xBaseTowerEntity* LevelScreen::selectedTower() const {
  return selectedTower_ && findLiveEntity(selectedTower_) ? selectedTower_ : nullptr;
}

xSimpleEnemy* LevelScreen::pickedEnemy() const {
  return pickedEnemy_ && findLiveEntity(pickedEnemy_) ? pickedEnemy_ : nullptr;
}

void LevelScreen::clearHover() {
  hoveredButtonX_ = -1.0f;
  hoveredButtonY_ = -1.0f;
}

void LevelScreen::markTowersInColumn(int column) {
  for (xBaseTowerEntity* tower : findTowers(*this)) {
    if (static_cast<int>(tower->absPlacement().x * 0.03125f) == column) tower->startFlash();
  }
}

void LevelScreen::onTowerGone(xBaseTowerEntity* tower) {
  if (!tower) return;
  freeCell(tower->cellIndex());
  if (selectedTower_ == tower || tower->isSelected()) {
    selectedTower_ = nullptr;
    showTowerInfo(nullptr);
  }
  // Compared by address: the panel no longer counts a tower leaving the scene as shown.
  if (commandWidget_ && commandWidget_->shows(tower)) showTowerInfo(nullptr);
}

void LevelScreen::countSoldTower() {
  ++towersSold_;
  if (towersBuilt_ > 0) --towersBuilt_;
}

void LevelScreen::resizeSensors() {
  for (xBaseTowerEntity* tower : findTowers(*this)) tower->setSensorRadius(tower->getEffectiveRange());
}
