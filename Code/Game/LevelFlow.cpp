// The level's flow: waves starting and ending, lives and kills, the game speed, the
// level clocks, the end of the level and the counts its results read. The counters
// and clocks live in WaveFlow.
#include "DynamicResources/SfxContainer.h"
#include "Game/BridgeIds.h"
#include "Game/Entities/enemies/SimpleEnemyEntity.h"
#include "Game/Entities/enemies/xEnemySpawner.h"
#include "Game/LevelScreen.h"
#include "Game/Entities/towers/xBaseBrain.h"
#include "GameApp.h"
#include "widgets/Button.h"
#include "tinyaction/TinyActionDelay.h"
#include "tinyaction/TinyActionSequence.h"
#include "Store/CStatsAndAchievements.h"

namespace {

// How long the finished level stays on screen before its results.
constexpr int kEndDelayMs = 1280;

}  // namespace

void LevelScreen::bookKill(int score, float reward) {
  flow_.bookKill(score);
  economy_.add(reward);
}

void LevelScreen::loseLife() {
  if (state_ != kLevelBattle) return;
  if (flow_.loseLife()) finishLevel();
}

void LevelScreen::loseLives(int count) {
  for (int i = 0; i < count; ++i) loseLife();
}

void LevelScreen::finishLevel() {
  // Every way to the end meets here; the end runs once, and never for a level
  // that has nothing to play (it has no result to give).
  if (state_ == kLevelOver || !playable_) return;
  state_ = kLevelOver;
  endAction_.reset();
  auto end = std::make_unique<TinyActionSequence>(false);
  end->addAction(new TinyActionDelay(TinyTimer(kEndDelayMs)));
  endAction_ = std::move(end);
  endAction_->start(this, kLevelEndDelayOver);
}

bool LevelScreen::isLiveShip(xSharkEntity* e) const {
  xSimpleEnemy* enemy = e ? e->asEnemy() : nullptr;
  return enemy && findLiveEntity(enemy) && enemy->categoryName().rfind("enemy", 0) == 0;
}

int LevelScreen::countLiveEnemies() const {
  int live = 0;
  for (xSharkEntity* e : entities()) live += isLiveShip(e) ? 1 : 0;
  return live;
}

bool LevelScreen::anyLiveEnemy() const {
  // Asked after every removal pass that destroyed something (each frame of a busy field):
  // the ships came early, so the walk seldom goes far.
  for (xSharkEntity* e : entities())
    if (isLiveShip(e)) return true;
  return false;
}

void LevelScreen::onWaveSpawned() {
  towerCommands_.updateTowerButtons();
  // The spawner reports each record of the wave as it runs out. Until the last one
  // has, ships are still due: a field cleared between records must not end the wave
  // (the level would be won, or the next attack sent, with them never coming).
  if (spawner_ && !spawner_->wholeWaveSpawned()) return;
  flow_.setWaveSpawned(true);
  if (spawner_) flow_.followSpawner(*spawner_);
  if (!anyLiveEnemy()) onWaveFinished();
}

void LevelScreen::onWaveFinished() {
  // A level that is over pays no interest, saves nothing and sends nothing more.
  if (state_ == kLevelOver) return;
  if (!selection_.enemy()) selection_.pickEnemy(nullptr);
  if (anyLiveEnemy() || !flow_.waveSpawned()) return;
  flow_.setWaveSpawned(false);
  bridge_.showButton(bridgeids::kSendWave, true);
  if (!spawner_ || (!spawner_->isEndless() && !spawner_->hasAttack(spawner_->currentWave() + 1))) {
    finishLevel();
    return;
  }
  if (g_statsAndAchievements) {
    g_statsAndAchievements->addStat("STAT_100_WAVES");
    g_statsAndAchievements->addStat("STAT_1000_WAVES");
  }
  economy_.payInterest();
  towerCommands_.updateTowerButtons();
  playIfAssisted("SFX_WAVE_FINISHED");
  effects_.burstMissilesAtWaveEnd();
  if (gameMode_ != MODE_ENDLESS) checkpoints_.saveIfDue();
  if (!bridge_.autoNextWave()) {
    // The player sends the next wave; the level time stands still until then.
    onMinimized();
    return;
  }
  sendNextWave();
}

void LevelScreen::sendNextWave() {
  // Every way a wave starts meets here: a wave's end with the auto-send box ticked,
  // Space, the bridge's button and the runner. Once the level is over no wave starts
  // and the end is not run again.
  if (state_ == kLevelOver) return;
  // Hidden but left usable: the wave's end or a restore shows it again.
  if (bge::Button* send = bridge_.findCommandButton(bridgeids::kSendWave)) {
    send->setEnabled(true);
    send->setVisible(false);
  }
  // The wave's own clocks run from here: a covering screen's hold lets go of them.
  clocksHeldByCover_ = false;
  if (spawner_ && spawner_->startNextWave()) {
    state_ = kLevelBattle;
    flow_.startLevelClock();
    flow_.resumeClocks();
  } else {
    finishLevel();
  }
}

void LevelScreen::announceNewShip() {
  hud_.announce();
  playIfAssisted("SFX_NEW_SHIP");
}

void LevelScreen::updateTimers() {
  if (flow_.updateTimers(model_.gameplayType == kGameplayTimer, model_.timerLimitMs)) finishLevel();
}

void LevelScreen::setGameSpeed(float factor) {
  if (!(factor > 0.0f)) return;
  flow_.setSpeedFactor(factor);
  if (spawner_) spawner_->applyGameSpeed(factor);
  for (xBaseTowerEntity* tower : findTowers(*this)) {
    tower->setReloadDelay(static_cast<int>(static_cast<float>(tower->getBaseReloadDelay()) * factor));
    if (xBaseBrain* brain = tower->getBrain()) brain->startCycle(tower->getReloadDelay());
  }
  for (xSimpleEnemy* enemy : findEnemies(*this)) enemy->applyGameSpeed(factor);
  if (GameApp* app = GameApp::instance()) app->setTimeScale(1.0f / factor);
}

LevelStats LevelScreen::makeStats() const {
  LevelStats s;
  s.missionId = missionId_;
  s.gameMode = gameMode_;
  s.victory = flow_.lives() > 0;
  s.lives = flow_.lives();
  s.credits = economy_.credits();
  s.score = flow_.score();
  s.towersBuilt = tally_.built();
  s.towersUpgraded = tally_.upgraded();
  s.towersSold = tally_.sold();
  s.enemiesDestroyed = flow_.enemiesDestroyed();
  s.enemiesTotal = flow_.enemiesSpawned() > 0 ? flow_.enemiesSpawned() : 1;
  s.destroyedPercent = s.enemiesDestroyed * 100 / s.enemiesTotal;
  s.timeSeconds = flow_.battleSeconds();
  s.difficulty = difficulty_;
  return s;
}

