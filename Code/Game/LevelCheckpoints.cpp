// Checkpoints on the level's side: taking one when the waves pass a bracket, the
// restore sweep, and putting the recorded towers and counters back.
#include <string>

#include "AssertReport.h"
#include "Game/CheckPointManager.h"
#include "Game/Entities/enemies/xEnemySpawner.h"
#include "Game/Entities/towers/DeploymentTowerEntity.h"
#include "Game/Entities/towers/WavePointTowerEntity.h"
#include "Game/LevelScreen.h"
#include "Store/CStatsAndAchievements.h"

namespace {

// The kind name of a navigation beacon: beacons come back with their station.
const char* const kBeaconKind = "TWAYPOINT_INFO";
// The bridge's send-wave button.
constexpr int kSendWaveButton = 7;

std::string cellName(int column, int row) { return std::to_string(column) + ", " + std::to_string(row); }

}  // namespace

void LevelScreen::saveCheckPointIfDue() {
  if (state_ == kLevelOver || gameMode_ == MODE_ENDLESS || !spawner_) return;
  // A record taken during a restore would be the one restored, not the player's choice.
  if (restoreUnderWay()) return;
  const unsigned waves = static_cast<unsigned>(spawner_->waveCount());
  // A level without waves is at its end: no division by its zero wave count.
  float progress = waves == 0 ? 1.0f : static_cast<float>(spawner_->currentWave() + 1) / static_cast<float>(waves);
  if (progress < 0.0f) progress = 0.0f;
  const int bracket = static_cast<int>(progress * 100.0f) / 20;
  if (bracket < checkPointCount_) return;
  if (!checkPoints_) return;
  checkPoints_->saveCheckPoint();
  saveCheckPoint();
  checkPointCount_ = checkPoints_->count();
}

void LevelScreen::saveCheckPoint() {
  const bool shown = hud_.showMessage("CHECK_POINT_SAVED", this, kCheckpointSavedMessage);
  BGE_REPORT_MSG(shown, "level: the checkpoint message has no fade to show it");
}

void LevelScreen::restoreDeploymentPair(const CheckPoint& checkPoint, size_t towerIndex) {
  if (towerIndex >= checkPoint.towers.size()) return;
  const TowerRecord& r = checkPoint.towers[towerIndex];
  xBaseTowerDesc* desc = findDescriptionByKind(r.kindName);
  if (!BGE_REPORT_MSG(desc != nullptr, ("checkpoint: no tower of this level is a " + r.kindName).c_str())) return;
  auto* first = dynamic_cast<xDeploymentTowerEntity*>(recreateTower(desc, r.column, r.row));
  if (!BGE_REPORT_MSG(first != nullptr, ("checkpoint: the drone station of cell " + cellName(r.column, r.row) +
                                         " did not come back")
                                            .c_str()))
    return;
  if (!r.hasPartner) {
    // It was waiting for its partner: it waits again.
    selection_.startPair(first, PlacementGrid::centre(r.column, r.row));
    selection_.chooseTowerDesc(desc);
    return;
  }
  auto* second = dynamic_cast<xDeploymentTowerEntity*>(recreateTower(desc, r.partnerColumn, r.partnerRow));
  if (!BGE_REPORT_MSG(second != nullptr, ("checkpoint: the partner station of cell " +
                                          cellName(r.partnerColumn, r.partnerRow) + " did not come back")
                                             .c_str()))
    return;
  linkDeploymentPair(first, second);
}

xWavePointTowerEntity* LevelScreen::restoreWavePointTower(int column, int row) {
  xBaseTowerDesc* desc = findDescriptionByKind(kBeaconKind);
  if (!BGE_REPORT_MSG(desc != nullptr, "checkpoint: this level offers no navigation beacon to put back")) return nullptr;
  return dynamic_cast<xWavePointTowerEntity*>(recreateTower(desc, column, row));
}

void LevelScreen::restoreTowerByKind(const std::string& kindName, int column, int row, int upgradeLevel) {
  if (kindName == kBeaconKind) return;
  xBaseTowerDesc* desc = findDescriptionByKind(kindName);
  if (!BGE_REPORT_MSG(desc != nullptr, ("checkpoint: no tower of this level is a " + kindName).c_str())) return;
  xBaseTowerEntity* tower = recreateTower(desc, column, row);
  for (int i = 0; tower && i < upgradeLevel; ++i) tower->upgrade();
}

void LevelScreen::removeAllEnemies() {
  for (xSimpleEnemy* e : findEnemies(*this))
    if (e->categoryName().rfind("enemy", 0) == 0) scheduleRemoval(e, true);
}

void LevelScreen::recordCounters(CheckPoint& c) const {
  c.credits = economy_.credits();
  c.score = flow_.score();
  c.interest = economy_.interestPercent();
  c.lives = flow_.lives();
  c.enemiesDestroyed = flow_.enemiesDestroyed();
  c.enemiesSpawned = flow_.enemiesSpawned();
  c.nextEntityId = nextEntityId_;
  c.levelTimeMs = flow_.levelTimeMs();
}

void LevelScreen::restoreCounters(const CheckPoint& c) {
  economy_.restoreCredits(c.credits);
  economy_.setInterestPercent(c.interest);
  flow_.restoreCounters(c.score, c.lives, c.enemiesSpawned, c.enemiesDestroyed);
  nextEntityId_ = c.nextEntityId;
  flow_.setLevelTimeMs(c.levelTimeMs);
}

void LevelScreen::prepareForRestore() {
  // The removal pass of a restore must not read the emptied field as a won wave.
  flow_.setWaveSpawned(false);
  selection_.setTower(nullptr);
  selection_.pickEnemy(nullptr);
  selection_.chooseTowerDesc(nullptr);
  selection_.endPair();
  selection_.endBeacon();
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
  return state_ == kLevelRestorePending || hud_.sweepRunning();
}

void LevelScreen::takeCheckPoint() {
  if (!checkPoints_ || state_ == kLevelOver || restoreUnderWay()) return;
  checkPoints_->saveCheckPoint();
  saveCheckPoint();
}

bool LevelScreen::requestRestore() {
  if (state_ != kLevelBattle || !checkPoints_ || checkPoints_->count() == 0) return false;
  return hud_.startSweep(this, kRestoreSweepEnded);
}

void LevelScreen::applyPendingRestore() {
  hideTowerInfo();
  selection_.chooseTowerDesc(nullptr);
  restoreFromCheckPoint();
  if (checkPoints_) checkPointCount_ = checkPoints_->count();
  updateTowerButtons();
  bridge_.showButton(kSendWaveButton, true);
  // The level waits for the player to send the wave the checkpoint stood before.
  flow_.pauseClocks();
  hud_.showMessage("CHECK_POINT_RESTORED", this, kRestoredMessage);
  state_ = kLevelBattle;
  clearSelection();
  if (g_statsAndAchievements) g_statsAndAchievements->unlockAchievement("ACH_FIRST_CHECKPOINT");
}
