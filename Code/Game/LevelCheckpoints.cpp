// Checkpoints on the level's side: taking one when the waves pass a bracket, the
// restore sweep, and putting the recorded towers and counters back.
#include "Game/LevelCheckpoints.h"

#include <string>

#include "AssertReport.h"
#include "Game/BridgeIds.h"
#include "Game/CheckPointManager.h"
#include "Game/Entities/enemies/xEnemySpawner.h"
#include "Game/Entities/towers/DeploymentTowerEntity.h"
#include "Game/Entities/towers/WavePointTowerEntity.h"
#include "Game/LevelBridge.h"
#include "Game/LevelEconomy.h"
#include "Game/LevelHud.h"
#include "Game/LevelScreen.h"
#include "Game/LevelSelection.h"
#include "Game/LevelStats.h"
#include "Game/WaveFlow.h"
#include "Store/CStatsAndAchievements.h"

namespace {

// The kind name of a navigation beacon: beacons come back with their station.
const char* const kBeaconKind = "TWAYPOINT_INFO";

std::string cellName(int column, int row) { return std::to_string(column) + ", " + std::to_string(row); }

}  // namespace

LevelCheckpoints::LevelCheckpoints(LevelScreen& level, const Parts& parts) : level_(level), parts_(parts) {}

LevelCheckpoints::~LevelCheckpoints() = default;

void LevelCheckpoints::start() {
  if (level_.gameMode() != MODE_ENDLESS) records_ = std::make_unique<CheckPointManager>(level_, level_.spawner());
}

void LevelCheckpoints::stop() { records_.reset(); }

void LevelCheckpoints::saveIfDue() {
  xEnemySpawner* spawner = level_.spawner();
  if (level_.state() == kLevelOver || level_.gameMode() == MODE_ENDLESS || !spawner) return;
  // A record taken during a restore would be the one restored, not the player's choice.
  if (restoreUnderWay()) return;
  const unsigned waves = static_cast<unsigned>(spawner->waveCount());
  // A level without waves is at its end: no division by its zero wave count.
  float progress = waves == 0 ? 1.0f : static_cast<float>(spawner->currentWave() + 1) / static_cast<float>(waves);
  if (progress < 0.0f) progress = 0.0f;
  const int bracket = static_cast<int>(progress * 100.0f) / 20;
  if (bracket < recordsKept_) return;
  if (!records_) return;
  records_->saveCheckPoint();
  showSavedMessage();
  recordsKept_ = records_->count();
}

void LevelCheckpoints::showSavedMessage() {
  const bool shown = parts_.hud.showMessage("CHECK_POINT_SAVED", &level_, LevelScreen::kCheckpointSavedMessage);
  BGE_REPORT_MSG(shown, "level: the checkpoint message has no fade to show it");
}

void LevelCheckpoints::restoreDeploymentPair(const CheckPoint& checkPoint, size_t towerIndex) {
  if (towerIndex >= checkPoint.towers.size()) return;
  const TowerRecord& r = checkPoint.towers[towerIndex];
  xBaseTowerDesc* desc = level_.placement().findDescriptionByKind(r.kindName);
  if (!BGE_REPORT_MSG(desc != nullptr, ("checkpoint: no tower of this level is a " + r.kindName).c_str())) return;
  auto* first = dynamic_cast<xDeploymentTowerEntity*>(level_.placement().recreateTower(desc, r.column, r.row));
  if (!BGE_REPORT_MSG(first != nullptr, ("checkpoint: the drone station of cell " + cellName(r.column, r.row) +
                                         " did not come back")
                                            .c_str()))
    return;
  if (!r.hasPartner) {
    // It was waiting for its partner: it waits again.
    parts_.selection.startPair(first, PlacementGrid::centre(r.column, r.row));
    parts_.selection.chooseTowerDesc(desc);
    return;
  }
  auto* second = dynamic_cast<xDeploymentTowerEntity*>(level_.placement().recreateTower(desc, r.partnerColumn, r.partnerRow));
  if (!BGE_REPORT_MSG(second != nullptr, ("checkpoint: the partner station of cell " +
                                          cellName(r.partnerColumn, r.partnerRow) + " did not come back")
                                             .c_str()))
    return;
  TowerPlacement::linkDeploymentPair(first, second);
}

xWavePointTowerEntity* LevelCheckpoints::restoreWavePointTower(int column, int row) {
  xBaseTowerDesc* desc = level_.placement().findDescriptionByKind(kBeaconKind);
  if (!BGE_REPORT_MSG(desc != nullptr, "checkpoint: this level offers no navigation beacon to put back")) return nullptr;
  return dynamic_cast<xWavePointTowerEntity*>(level_.placement().recreateTower(desc, column, row));
}

void LevelCheckpoints::restoreTowerByKind(const std::string& kindName, int column, int row, int upgradeLevel) {
  if (kindName == kBeaconKind) return;
  xBaseTowerDesc* desc = level_.placement().findDescriptionByKind(kindName);
  if (!BGE_REPORT_MSG(desc != nullptr, ("checkpoint: no tower of this level is a " + kindName).c_str())) return;
  xBaseTowerEntity* tower = level_.placement().recreateTower(desc, column, row);
  for (int i = 0; tower && i < upgradeLevel; ++i) tower->upgrade();
}

void LevelCheckpoints::removeAllEnemies() {
  for (xSimpleEnemy* e : findEnemies(level_))
    if (e->categoryName().rfind("enemy", 0) == 0) level_.scheduleRemoval(e, true);
}

void LevelCheckpoints::recordCounters(CheckPoint& c) const {
  const LevelEconomy::Snapshot purse = parts_.economy.snapshot();
  c.credits = purse.credits;
  c.interest = purse.interestPercent;
  const WaveFlow::Snapshot battle = parts_.flow.snapshot();
  c.score = battle.score;
  c.lives = battle.lives;
  c.enemiesDestroyed = battle.enemiesDestroyed;
  c.enemiesSpawned = battle.enemiesSpawned;
  c.levelTimeMs = battle.levelTimeMs;
  c.nextEntityId = level_.nextEntityId();
}

void LevelCheckpoints::restoreCounters(const CheckPoint& c) {
  parts_.economy.restore({c.credits, c.interest});
  parts_.flow.restore({c.score, c.lives, c.enemiesSpawned, c.enemiesDestroyed, c.levelTimeMs});
  level_.restoreNextEntityId(c.nextEntityId);
}

void LevelCheckpoints::prepareForRestore() {
  // The removal pass of a restore must not read the emptied field as a won wave.
  parts_.flow.setWaveSpawned(false);
  LevelSelection& selection = parts_.selection;
  selection.setTower(nullptr);
  selection.pickEnemy(nullptr);
  selection.chooseTowerDesc(nullptr);
  selection.endPair();
  selection.endBeacon();
  parts_.bridge.hideTowerInfo();
}

void LevelCheckpoints::restoreNewest() {
  if (!records_ || records_->count() == 0) return;
  const CheckPoint newest = records_->records().back();
  records_->restoreCheckPoint(newest);
  records_->dropNewestUnlessOnly();
  if (const xEnemySpawner* spawner = level_.spawner()) parts_.flow.followSpawner(*spawner);
}

bool LevelCheckpoints::restoreUnderWay() const {
  return level_.state() == kLevelRestorePending || parts_.hud.sweepRunning();
}

void LevelCheckpoints::take() {
  if (!records_ || level_.state() == kLevelOver || restoreUnderWay()) return;
  records_->saveCheckPoint();
  showSavedMessage();
}

bool LevelCheckpoints::requestRestore() {
  if (level_.state() != kLevelBattle || !records_ || records_->count() == 0) return false;
  return parts_.hud.startSweep(&level_, LevelScreen::kRestoreSweepEnded);
}

void LevelCheckpoints::applyPendingRestore() {
  parts_.bridge.hideTowerInfo();
  parts_.selection.chooseTowerDesc(nullptr);
  restoreNewest();
  if (records_) recordsKept_ = records_->count();
  level_.towerCommands().updateTowerButtons();
  parts_.bridge.showButton(bridgeids::kSendWave, true);
  // The level waits for the player to send the wave the checkpoint stood before.
  parts_.flow.pauseClocks();
  parts_.hud.showMessage("CHECK_POINT_RESTORED", &level_, LevelScreen::kRestoredMessage);
  level_.resumeBattle();
  level_.placement().clearSelection();
  if (g_statsAndAchievements) g_statsAndAchievements->unlockAchievement("ACH_FIRST_CHECKPOINT");
}

void LevelCheckpoints::recountBuiltTowers() {
  int standing = 0;
  for (xBaseTowerEntity* t : findTowers(level_))
    if (level_.findLiveEntity(t)) ++standing;
  parts_.tally.recount(standing);
}
