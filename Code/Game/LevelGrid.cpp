// The placement grid: which cells carry towers, placing a tower on a cell, and the
// selection of the towers that stand.
#include <tinyxml.h>

#include <algorithm>
#include <cstdio>

#include "DynamicResources/SfxContainer.h"
#include "Game/Entities/enemies/SimpleEnemyEntity.h"
#include "Game/Entities/towers/DeploymentTowerEntity.h"
#include "Game/Entities/towers/xBaseBrain.h"
#include "Game/Entities/towers/xBaseSupportTowerEntity.h"
#include "Game/LevelScreen.h"
#include "Game/TowerCommandWidget.h"
#include "XmlAttributes.h"
#include "sdk/QuillonPhysicsSDK.h"
#include "Store/CStatsAndAchievements.h"

using namespace QuillonPHX2D;

namespace {

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

bool LevelScreen::placeTower(int column, int row, xBaseTowerDesc* description) {
  if (gameMode_ == MODE_LIMITEDTOWERS && towersBuilt_ >= kTowerLimit) return false;
  // A taken or forbidden cell refuses quietly: the player may click anywhere.
  if (!description || !grid_.isFree(column, row) || !g_ptrSDK) return false;
  clearSelection();
  xBaseTowerDesc* chosen = selectedTowerDesc_;
  selectedTowerDesc_ = nullptr;

  xBaseTowerEntity* tower = recreateTower(description, column, row);
  if (!tower) return false;
  playIfAssisted("SFX_TOWER_PLACED");
  notePlacedTower(tower, column, row, chosen);
  ++towersBuilt_;
  ++towersBuiltTally_;
  selectedTower_ = tower;
  if (!firstTowerPlaced_) {
    firstTowerPlaced_ = true;
    state_ = kLevelBattle;
    if (g_statsAndAchievements && !g_statsAndAchievements->isAchieved("ACH_FIRST_TOWER"))
      g_statsAndAchievements->unlockAchievement("ACH_FIRST_TOWER");
  }
  return true;
}

bool LevelScreen::buyTower(int column, int row, xBaseTowerDesc* description) {
  // Refused before anything happens: no checkpoint is saved for a click on a taken cell.
  if (!description || !grid_.isFree(column, row)) return false;
  if (pendingDeploymentTower()) {
    // The second station of a pair is free; nothing else is placed before it.
    if (description->info != pendingDeploymentTower()->getInfoKey()) return false;
    return placeTower(column, row, description);
  }
  if (!economy_.affords(description->price)) return false;
  if (!firstTowerPlaced_ && gameMode_ != MODE_ENDLESS) saveCheckPointIfDue();
  // Only a tower that stands is paid for: the limited-towers mode refuses quietly.
  if (!placeTower(column, row, description)) return false;
  addCredits(-description->price);
  updateTowerButtons();
  return true;
}

void LevelScreen::freeCell(int cellIndex) {
  if (!grid_.contains(cellIndex)) {
    std::printf("ERROR: level: a tower left cell %d, which is off the grid\n", cellIndex);
    return;
  }
  grid_.release(cellIndex);
  hoveredCell_ = -1;
}

void LevelScreen::clearOccupiedCells() { grid_.releaseAll(); }

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
    if (PlacementGrid::columnAt(tower->absPlacement().x) == column) tower->startFlash();
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
  if (towersBuiltTally_ > 0) --towersBuiltTally_;
}

void LevelScreen::resizeSensors() {
  // Support boosts first: the sensors then take the ranges the boosts give.
  for (xBaseSupportTowerEntity* support : findSupportTowers(*this)) support->applySupport();
  for (xBaseTowerEntity* tower : findTowers(*this)) tower->setSensorRadius(tower->getEffectiveRange());
}
