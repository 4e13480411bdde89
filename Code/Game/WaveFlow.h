#pragma once
// The flow of a level's battle: the waves sent and to come, the lives, the score and
// kills, the game speed, and the level clocks the results and the countdown read.
#include "Timer.h"

class xEnemySpawner;

class WaveFlow {
 public:
  // Lives before the level file sets them.
  static constexpr int kStartingLives = 20;

  int lives() const { return lives_; }
  // Takes one life; true when none is left (the level is lost).
  bool loseLife();
  int score() const { return score_; }
  void addScore(int points) { score_ += points; }
  int enemiesDestroyed() const { return enemiesDestroyed_; }
  int enemiesSpawned() const { return enemiesSpawned_; }
  void countSpawn() { ++enemiesSpawned_; }
  // A kill of an enemy: the kill count and its score.
  void bookKill(int score);
  // What a checkpoint keeps of the battle: the counters and the level time.
  struct Snapshot {
    int score = 0;
    int lives = 0;
    int enemiesSpawned = 0;
    int enemiesDestroyed = 0;
    int levelTimeMs = 0;
  };
  Snapshot snapshot() const;
  // The counters as recorded, and the level clock wound to the recorded time.
  void restore(const Snapshot& s);

  // Every record of the running wave has been spawned.
  bool waveSpawned() const { return waveSpawned_; }
  void setWaveSpawned(bool spawned) { waveSpawned_ = spawned; }
  // The index of the next wave, -1 when none is left.
  int nextWave() const { return nextWave_; }
  void followSpawner(const xEnemySpawner& spawner);

  // 1 at normal speed, below 1 in fast forward (delays shrink by it).
  float speedFactor() const { return speedFactor_; }
  void setSpeedFactor(float factor) { speedFactor_ = factor; }

  // --- the level clocks: level time runs from the first wave and stops while the
  // level waits or is covered; the countdown of a timed level runs with it ---
  void startLevelClock();
  void pauseClocks();
  void resumeClocks();
  bool clocksRunning() const { return !levelClock_.isPaused(); }
  // Reads the clocks once a frame; true when a countdown of limitMs has run out.
  bool updateTimers(bool timed, int limitMs);
  // The level time as the clock reads it now (the results take it at the end).
  void readLevelTime();
  int levelTimeMs() const { return levelTimeMs_; }
  int levelSeconds() const { return levelSeconds_; }
  // Whole seconds of battle at the last reading.
  int battleSeconds() const;
  long long countdownElapsedMs() const { return static_cast<long long>(countdownClock_.getElapsed()); }

 private:
  int lives_ = kStartingLives;
  int score_ = 0;
  int enemiesDestroyed_ = 0;
  int enemiesSpawned_ = 0;
  bool waveSpawned_ = false;
  int nextWave_ = -1;
  float speedFactor_ = 1.0f;
  Timer levelClock_;
  Timer countdownClock_;
  int battleStartTime_ = -1;
  int levelTimeMs_ = 0;
  int levelSeconds_ = 0;
  // Added to the level clock's reading: a restore winds the level time back.
  int clockShiftMs_ = 0;
};
