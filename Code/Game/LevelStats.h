#pragma once
// What a level counts for its results: the record the results screen shows, and the
// tally of towers built, upgraded and sold that feeds it.

// Results of a finished level.
class LevelStats {
 public:
  LevelStats() = default;
  LevelStats(const LevelStats&) = default;
  LevelStats& operator=(const LevelStats&) = default;
  virtual ~LevelStats() = default;

  int missionId = 0;
  int gameMode = 0;
  bool victory = false;
  int lives = 0;
  double credits = 0.0;
  long long score = 0;
  int towersBuilt = 0;
  int towersUpgraded = 0;
  int towersSold = 0;
  int enemiesDestroyed = 0;
  int enemiesTotal = 1;
  int destroyedPercent = 0;
  int timeSeconds = 0;
  int difficulty = 0;
};

// The towers a level has built, upgraded and sold. Two built counts: the towers
// standing (the limited-towers mode reads it, a restore recounts it) and the tally
// the results show, which a restore leaves alone.
class TowerTally {
 public:
  int standing() const { return standing_; }
  int built() const { return built_; }
  int upgraded() const { return upgraded_; }
  int sold() const { return sold_; }

  void countBuilt() {
    ++standing_;
    ++built_;
  }
  // A tower taken back before it was paid for or used: neither built nor sold.
  void uncountBuilt();
  void countSold();
  void countFirstUpgrade() { ++upgraded_; }
  // Towers standing now, as a restore leaves the field.
  void recount(int standing) { standing_ = standing; }

 private:
  int standing_ = 0;
  int built_ = 0;
  int upgraded_ = 0;
  int sold_ = 0;
};
