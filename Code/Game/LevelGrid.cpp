// The placement grid: which cells carry towers, placing a tower on a cell (bought,
// or put back by a restore), finding the towers that stand, and their selection.
#include <tinyxml.h>

#include <algorithm>
#include <string>

#include "AssertReport.h"
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

xBaseTowerEntity* LevelScreen::recreateTower(xBaseTowerDesc* desc, int column, int row) {
  if (!desc || !g_ptrSDK) return nullptr;
  if (!BGE_REPORT_MSG(grid_.isFree(column, row), ("level: " + desc->info + " is not put on cell " +
                                                   std::to_string(column) + ", " + std::to_string(row) +
                                                   ": the cell is taken or off the field")
                                                      .c_str()))
    return nullptr;
  desc->sceneEntityManager = this;
  auto* tower = dynamic_cast<xBaseTowerEntity*>(g_ptrSDK->createEntity(desc));
  if (!BGE_REPORT_MSG(tower != nullptr, ("level: the description of " + desc->info + " made no tower").c_str()))
    return nullptr;
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

bool LevelScreen::placeTower(int column, int row, xBaseTowerDesc* description) {
  if (gameMode_ == MODE_LIMITEDTOWERS && tally_.standing() >= kLimitedTowers) return false;
  // A taken or forbidden cell refuses quietly: the player may click anywhere.
  if (!description || !grid_.isFree(column, row) || !g_ptrSDK) return false;
  clearSelection();
  xBaseTowerDesc* chosen = selection_.towerDesc();
  selection_.chooseTowerDesc(nullptr);

  xBaseTowerEntity* tower = recreateTower(description, column, row);
  if (!tower) return false;
  playIfAssisted("SFX_TOWER_PLACED");
  notePlacedTower(tower, column, row, chosen);
  tally_.countBuilt();
  selection_.setTower(tower);
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
  if (xDeploymentTowerEntity* first = selection_.pairStation()) {
    // The second station of a pair is free; nothing else is placed before it.
    if (description->info != first->getInfoKey()) return false;
    return placeTower(column, row, description);
  }
  if (!economy_.affords(description->price)) return false;
  if (!firstTowerPlaced_ && gameMode_ != MODE_ENDLESS) checkpoints_.saveIfDue();
  // Only a tower that stands is paid for: the limited-towers mode refuses quietly.
  if (!placeTower(column, row, description)) return false;
  economy_.add(-description->price);
  towerCommands_.updateTowerButtons();
  return true;
}

void LevelScreen::freeCell(int cellIndex) {
  if (!BGE_REPORT_MSG(grid_.contains(cellIndex),
                      ("level: a tower left cell " + std::to_string(cellIndex) + ", which is off the grid").c_str()))
    return;
  grid_.release(cellIndex);
  selection_.leaveCell();
}

void LevelScreen::clearOccupiedCells() { grid_.releaseAll(); }

void LevelScreen::clearSelection() {
  for (xBaseTowerEntity* tower : findTowers(*this)) tower->setSelected(false);
  selection_.setTower(nullptr);
}

void LevelScreen::onTowerGone(xBaseTowerEntity* tower) {
  if (!tower) return;
  freeCell(tower->cellIndex());
  if (selection_.isTower(tower) || tower->isSelected()) {
    selection_.setTower(nullptr);
    towerCommands_.showTowerInfo(nullptr);
  }
  // Compared by address: the panel no longer counts a tower leaving the scene as shown.
  if (bridge_.commandWidget() && bridge_.commandWidget()->shows(tower)) towerCommands_.showTowerInfo(nullptr);
}

