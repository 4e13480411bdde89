#pragma once
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "Foundation/Math/QlnMath.h"

class LevelScreen;
class xEnemySpawner;
class xSimpleEnemy;

// One tower as a checkpoint keeps it: its kind, its cell, its upgrades and, for a
// drone station, the cells of its partner and of its beacons.
struct TowerRecord {
  std::string kindName;
  int column = -1;
  int row = -1;
  int upgradeLevel = 0;
  bool isDroneStation = false;
  // A half-placed pair has no partner; a partner may well stand on cell (0, 0).
  bool hasPartner = false;
  int partnerColumn = 0;
  int partnerRow = 0;
  std::vector<std::pair<int, int>> beaconCells;  // column, row
  // Kept besides the kind so a restored tower is the tower as it was.
  float energy = 0.0f;
  int targetSelection = 0;
};

// A station part keeps its identity across a restore: only its state is recorded.
struct StationPartRecord {
  int hasPath = 0;
  int walker = 0;
  int energy = 0;
  QuillonPHX2D::Vec3 placement{0.0f, 0.0f, 0.0f};
  xSimpleEnemy* part = nullptr;  // not owned; restores never remove station parts
};

struct CheckPoint {
  int index = 0;
  int wave = -1;
  std::vector<TowerRecord> towers;
  double credits = 0.0;
  int score = 0;
  int lives = 0;
  int interest = 0;
  int enemiesSpawned = 0;
  int enemiesDestroyed = 0;
  int nextEntityId = 0;
  std::vector<StationPartRecord> stationParts;
  // The level's clock, so the time on the results is the time played to here.
  int levelTimeMs = 0;
};

// Snapshots of the running level, in memory only, oldest first.
class CheckPointManager {
 public:
  // Bound by the level that makes the manager (its checkpoints own it); neither is owned.
  CheckPointManager(LevelScreen& level, xEnemySpawner* spawner) : level_(level), spawner_(spawner) {}
  virtual ~CheckPointManager() = default;
  CheckPointManager(const CheckPointManager&) = delete;
  CheckPointManager& operator=(const CheckPointManager&) = delete;

  void saveCheckPoint();
  void restoreCheckPoint(const CheckPoint& checkPoint);
  // Removes the newest record unless it is the only one.
  void dropNewestUnlessOnly();
  const std::vector<CheckPoint>& records() const { return records_; }
  int count() const { return static_cast<int>(records_.size()); }
  void setSpawner(xEnemySpawner* spawner) { spawner_ = spawner; }

 private:
  std::vector<CheckPoint> records_;
  LevelScreen& level_;       // the level whose records these are
  xEnemySpawner* spawner_;   // not owned: the level's
};
