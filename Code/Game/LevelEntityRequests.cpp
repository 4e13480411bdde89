// The level's side of what its entities ask and tell it (LevelForEntities.h), where
// the level has no method of the same name already: the rules an entity must not
// decide itself (what a mode pays for a sale, when a statistic counts) and what the
// level shows when a tower is picked.
#include "Game/Entities/towers/xBaseTowerEntity.h"
#include "Game/LevelScreen.h"

bool LevelScreen::countsTopUpgrades() const { return gameMode_ == MODE_CLASSIC; }

bool LevelScreen::raidsStation() const {
  return gameplayType() == kGameplayStationStatic || gameplayType() == kGameplayStationMoving;
}

bool LevelScreen::isLive(const xSharkEntity* entity) const { return findLiveEntity(entity) != nullptr; }

void LevelScreen::addToScene(xSharkEntity* entity) { addEntity(entity, true); }

xWavePointTowerEntity* LevelScreen::beaconToAttach() const { return ptrWaypointTower(); }

void LevelScreen::onTowersSold(int count, double refund) {
  for (int i = 0; i < count; ++i) countSoldTower();
  // The most-credits mode gives nothing back for a sale.
  if (gameMode_ != MODE_MAXCREDITS) addCredits(refund);
}

void LevelScreen::onTowerPicked(xBaseTowerEntity* tower) {
  if (!tower) return;
  const bool selecting = !tower->isSelected();
  // One tower is selected at a time.
  if (selecting) clearSelection();
  tower->setSelected(selecting);
  if (!selecting) {
    setSelectedTower(nullptr);
    showTowerInfo(nullptr);
    return;
  }
  setSelectedTower(tower);
  showTowerInfo(tower);
  clearHover();
  playIfAssisted("SFX_TOWER_SELECTED");
}

void LevelScreen::onPointerOverStation(const PointingDeviceEvent& event) {
  // While a beacon waits for its station, the hovered cell follows the pointer over
  // the stations too.
  if (isAttachingBeacon()) mouseMove(event);
}
