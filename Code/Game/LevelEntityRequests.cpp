// The level's side of what its entities ask and tell it (LevelForEntities.h), where
// the level has no method of the same name already: the rules an entity must not
// decide itself (what a mode pays for a sale, when a statistic counts), what the
// level shows when a tower is picked or leaves its cell, and the effects LevelEffects
// makes for it.
#include <string>

#include "AssertReport.h"
#include "Game/Entities/towers/DeploymentTowerEntity.h"
#include "Game/Entities/towers/xBaseTowerEntity.h"
#include "Game/LevelScreen.h"
#include "Game/TowerCommandWidget.h"

bool LevelScreen::countsTopUpgrades() const { return gameMode_ == MODE_CLASSIC; }

bool LevelScreen::raidsStation() const {
  return model_.gameplayType == kGameplayStationStatic || model_.gameplayType == kGameplayStationMoving;
}

bool LevelScreen::isLive(const xSharkEntity* entity) const { return findLiveEntity(entity) != nullptr; }

void LevelScreen::addToScene(xSharkEntity* entity) { addEntity(entity, true); }

xWavePointTowerEntity* LevelScreen::beaconToAttach() const { return selection_.beacon(); }

void LevelScreen::onTowersSold(int count, double refund) {
  for (int i = 0; i < count; ++i) tally_.countSold();
  // The most-credits mode gives nothing back for a sale.
  if (gameMode_ != MODE_MAXCREDITS) economy_.add(refund);
}

void LevelScreen::onTowerPicked(xBaseTowerEntity* tower) {
  if (!tower) return;
  const bool selecting = !tower->isSelected();
  // One tower is selected at a time.
  if (selecting) placement_.clearSelection();
  tower->setSelected(selecting);
  if (!selecting) {
    selection_.setTower(nullptr);
    towerCommands_.showTowerInfo(nullptr);
    return;
  }
  selection_.setTower(tower);
  towerCommands_.showTowerInfo(tower);
  selection_.clearButtonFrame();
  playIfAssisted("SFX_TOWER_SELECTED");
}

void LevelScreen::onPointerOverStation(const PointingDeviceEvent& event) {
  // While a beacon waits for its station, the hovered cell follows the pointer over
  // the stations too.
  if (isAttachingBeacon()) mouseMoved(event);
}

// Particles, missiles and enemy bullet kinds: LevelEffects answers each.
void LevelScreen::spawnHitParticle(const QuillonPHX2D::Vec2& hitDirection, const QuillonPHX2D::Vec2& position,
                                   float strength, const Color& colour) {
  effects_.spawnHit(hitDirection, position, strength, colour);
}

void LevelScreen::spawnRingParticle(const QuillonPHX2D::Vec2& position, float strength, const Color& colour,
                                    xSimpleParticleEntityDesc description) {
  effects_.spawnRing(position, strength, colour, description);
}

void LevelScreen::spawnScatterParticle(const QuillonPHX2D::Vec2& position, const Color& colour, int count) {
  effects_.spawnScatter(position, colour, count);
}

const xSimpleParticleEntityDesc& LevelScreen::particleDescription(int kind) const {
  return effects_.particleDescription(kind);
}

xPlayerSmartMissileEntityDesc LevelScreen::getMissileDescription(int kind) const {
  return effects_.missileDescription(kind);
}

void LevelScreen::launchMissile(const QuillonPHX2D::Vec2& launchPoint, xBaseTowerEntity* tower, int kind,
                                xSharkEntity* target, float damageFactor) {
  effects_.launchMissile(launchPoint, tower, kind, target, damageFactor);
}

xEnemyBulletEntityDesc* LevelScreen::enemyBulletKind(const std::string& path) { return effects_.enemyBulletKind(path); }

void LevelScreen::freeCell(int cellIndex) {
  if (!BGE_REPORT_MSG(grid_.contains(cellIndex),
                      ("level: a tower left cell " + std::to_string(cellIndex) + ", which is off the grid").c_str()))
    return;
  grid_.release(cellIndex);
  selection_.leaveCell();
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

xSimpleEnemyDesc* LevelScreen::patrolShipDesc(int index) const {
  if (index < 0 || index >= static_cast<int>(shipDescs_.size())) return nullptr;
  xSimpleEnemyDesc* d = shipDescs_[static_cast<size_t>(index)].get();
  return d && d->complete ? d : nullptr;
}

void LevelScreen::clearPendingPair(xDeploymentTowerEntity* station) {
  // Compared by address: the station may be on its way out of the scene.
  if (station && station != selection_.pairStationAsKept()) return;
  selection_.endPair();
}
