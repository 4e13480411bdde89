// The battle's counters, waves to come and clocks.
#include "Game/WaveFlow.h"

#include "Game/Entities/enemies/xEnemySpawner.h"

bool WaveFlow::loseLife() {
  if (lives_ > 0) --lives_;
  return lives_ == 0;
}

void WaveFlow::bookKill(int score) {
  ++enemiesDestroyed_;
  score_ += score;
}

WaveFlow::Snapshot WaveFlow::snapshot() const {
  return {score_, lives_, enemiesSpawned_, enemiesDestroyed_, levelTimeMs_};
}

void WaveFlow::restore(const Snapshot& s) {
  score_ = s.score;
  lives_ = s.lives;
  enemiesSpawned_ = s.enemiesSpawned;
  enemiesDestroyed_ = s.enemiesDestroyed;
  clockShiftMs_ = s.levelTimeMs - static_cast<int>(levelClock_.getElapsed());
  levelTimeMs_ = s.levelTimeMs;
}

void WaveFlow::followSpawner(const xEnemySpawner& spawner) {
  nextWave_ = spawner.currentWave() + 1;
  if (nextWave_ >= spawner.waveCount()) nextWave_ = -1;
}

void WaveFlow::startLevelClock() {
  if (battleStartTime_ != -1) return;
  countdownClock_.start();
  levelClock_.start();
  battleStartTime_ = static_cast<int>(levelClock_.getElapsed());
}

void WaveFlow::pauseClocks() {
  levelClock_.pause();
  countdownClock_.pause();
}

void WaveFlow::resumeClocks() {
  levelClock_.resume();
  countdownClock_.resume();
}

bool WaveFlow::updateTimers(bool timed, int limitMs) {
  readLevelTime();
  levelSeconds_ = battleSeconds();
  return timed && static_cast<int>(countdownClock_.getElapsed()) + clockShiftMs_ > limitMs;
}

void WaveFlow::readLevelTime() { levelTimeMs_ = static_cast<int>(levelClock_.getElapsed()) + clockShiftMs_; }

int WaveFlow::battleSeconds() const {
  return static_cast<int>(static_cast<unsigned>(levelTimeMs_ - battleStartTime_) / 1000u);
}
