// The level's flow: waves starting and ending, lives, credits and kills, the game
// speed, the level clocks and the end of the level.
#include "DynamicResources/SfxContainer.h"
#include "Game/Entities/enemies/xEnemySpawner.h"
#include "Game/LevelScreen.h"
#include "GameApp.h"
#include "tinyaction/TinyActionDelay.h"
#include "tinyaction/TinyActionSequence.h"

namespace {

// Credits in the maximum-credits mode, whatever the level file says.
constexpr double kMaxCredits = 40000.0;
// How long the finished level stays on screen before its results.
constexpr int kEndDelayMs = 1280;

}  // namespace

void LevelScreen::addCredits(double amount) {
  if (gameMode_ == MODE_MAXCREDITS) {
    credits_ = kMaxCredits;
    return;
  }
  credits_ += amount;
}

void LevelScreen::bookKill(int score, float reward) {
  ++enemiesDestroyed_;
  score_ += score;
  addCredits(reward);
}

void LevelScreen::loseLife() {
  if (state_ != kLevelBattle) return;
  if (lives_ > 0) --lives_;
  if (lives_ == 0) finishLevel();
}

void LevelScreen::finishLevel() {
  // Every way to the end meets here; the end runs once.
  if (state_ == kLevelOver) return;
  state_ = kLevelOver;
  safeDelete(endAction_);
  TinyActionSequence* end = new TinyActionSequence(false);
  end->addAction(new TinyActionDelay(TinyTimer(kEndDelayMs)));
  endAction_ = end;
  endAction_->start(this, kLevelEndDelay);
}

int LevelScreen::countLiveEnemies() const {
  int live = 0;
  for (xSimpleEnemy* enemy : findEnemies(*this)) {
    if (findLiveEntity(enemy) && enemy->categoryName().rfind("enemy", 0) == 0) ++live;
  }
  return live;
}

void LevelScreen::onWaveSpawned() {
  waveSpawned_ = true;
  if (spawner_) {
    nextWave_ = spawner_->currentWave() + 1;
    if (nextWave_ >= spawner_->waveCount()) nextWave_ = -1;
  }
  if (countLiveEnemies() == 0) onWaveFinished();
}

void LevelScreen::onWaveFinished() {
  if (state_ == kLevelOver) return;
  if (countLiveEnemies() > 0 || !waveSpawned_) return;
  waveSpawned_ = false;
  if (!spawner_ || (!spawner_->isEndless() && !spawner_->hasAttack(spawner_->currentWave() + 1))) {
    finishLevel();
    return;
  }
  playIfAssisted("SFX_WAVE_FINISHED");
  // The player sends the next wave; the level time stands still until then.
  pauseClocks();
}

void LevelScreen::sendNextWave() {
  if (state_ == kLevelOver) return;
  if (spawner_ && spawner_->startNextWave()) {
    state_ = kLevelBattle;
    startLevelClock();
    resumeClocks();
  } else {
    finishLevel();
  }
}

void LevelScreen::announceNewShip() {
  if (announceAction_) announceAction_->start(nullptr, -1);
  playIfAssisted("SFX_NEW_SHIP");
}

void LevelScreen::startLevelClock() {
  if (battleStartTime_ != -1) return;
  countdownClock_.start();
  levelClock_.start();
  battleStartTime_ = static_cast<int>(levelClock_.getElapsed());
}

void LevelScreen::pauseClocks() {
  levelClock_.pause();
  countdownClock_.pause();
}

void LevelScreen::resumeClocks() {
  levelClock_.resume();
  countdownClock_.resume();
}

void LevelScreen::updateTimers() {
  levelTimeMs_ = static_cast<int>(levelClock_.getElapsed());
  levelSeconds_ = static_cast<int>(static_cast<unsigned>(levelTimeMs_ - battleStartTime_) / 1000u);
  if (gameplayType_ == kGameplayTimer && static_cast<int>(countdownClock_.getElapsed()) > timerLimitMs_) {
    finishLevel();
  }
}

void LevelScreen::setGameSpeed(float factor) {
  if (!(factor > 0.0f)) return;
  speedFactor_ = factor;
  if (spawner_) spawner_->applyGameSpeed(factor);
  for (xSimpleEnemy* enemy : findEnemies(*this)) enemy->applyGameSpeed(factor);
  if (GameApp* app = GameApp::instance()) app->setTimeScale(1.0f / factor);
}

LevelStats LevelScreen::makeStats() const {
  LevelStats s;
  s.missionId = missionId_;
  s.gameMode = gameMode_;
  s.victory = lives_ > 0;
  s.lives = lives_;
  s.credits = credits_;
  s.score = score_;
  s.enemiesDestroyed = enemiesDestroyed_;
  s.enemiesTotal = enemiesSpawned_ > 0 ? enemiesSpawned_ : 1;
  s.destroyedPercent = s.enemiesDestroyed * 100 / s.enemiesTotal;
  s.timeSeconds = static_cast<int>(static_cast<unsigned>(levelTimeMs_ - battleStartTime_) / 1000u);
  s.difficulty = difficulty_;
  return s;
}
