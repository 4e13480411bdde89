#pragma once
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "Game/Entities/enemies/WaveDescription.h"
#include "tinyaction/ActionListener.h"

class SceneEntityManager;

// Enemy energy on each difficulty (0 easy, 1 normal, 2 hard; 1 for any other): the
// one place the difficulty touches the ships, so the wave list and the waves agree.
float difficultyFactor(int difficulty);
// Off normal the reward follows the energy: an easier ship pays less, a harder one more.
bool difficultyScalesReward(int difficulty);
class TinyAction;

// One record of the running wave: a timer that spawns one enemy per delay until the
// record's count is used up.
class SpawningAction {
 public:
  virtual ~SpawningAction();

  int index = 0;
  int remaining = 0;
  int actionId = 0;
  int spawnDelay = 0;
  xSimpleEnemyDesc enemyDesc;
  std::unique_ptr<TinyAction> timer;
  bge::ActionListener* listener = nullptr;  // not owned
};

// Runs the level's attack waves: loads and scales every record's enemy once, turns
// each record of a started wave into a spawn timer, and wraps round in endless mode.
class xEnemySpawner : public bge::ActionListener {
 public:
  xEnemySpawner(const AttackMap& attacks, SceneEntityManager* manager, bool endless);
  ~xEnemySpawner() override;
  xEnemySpawner(const xEnemySpawner&) = delete;
  xEnemySpawner& operator=(const xEnemySpawner&) = delete;

  void actionFinished(int id) override { onAction(id); }

  // False when there is no further wave.
  bool startNextWave();
  // Back to a wave a checkpoint recorded, with no spawn pending.
  void restoreWave(int wave);
  // Advances every running spawn timer. A wave started from inside a spawn report
  // is taken up here, once no timer of the old wave is on the stack any more.
  void update(int dt);
  void onAction(int id);
  void applyGameSpeed(float factor);
  float waveProgress() const;
  std::vector<int> nextWavePathIds() const;

  int currentWave() const { return currentWave_; }
  int waveCount() const { return static_cast<int>(attacks_.size()); }
  bool isEndless() const { return endless_; }
  int endlessEnergy() const { return endlessEnergy_; }
  // Whether every record of the running wave has made its last spawn.
  bool wholeWaveSpawned() const;
  uint64_t cycles() const { return cycles_; }
  uint64_t wavesStarted() const { return wavesStarted_; }
  const std::vector<std::unique_ptr<SpawningAction>>& spawnActions() const { return spawnActions_; }
  const AttackMap& attacks() const { return attacks_; }
  bool hasAttack(int id) const { return attacks_.count(id) != 0; }

 private:
  void applyDifficulty();
  void spawn(SpawningAction& action, const WaveDescription& record);
  void startTimer(SpawningAction& action, int delayMs);
  void clearActions();

  int currentWave_ = -1;
  int enemiesLeft_ = 0;
  SceneEntityManager* manager_;  // not owned
  AttackMap attacks_;
  std::vector<std::unique_ptr<SpawningAction>> spawnActions_;
  int spawnCounter_ = 0;
  bool endless_;
  uint64_t cycles_ = 0;
  uint64_t wavesStarted_ = 0;
  int endlessEnergy_ = 550;
  // Timers of a wave that was replaced while one of them was reporting.
  std::vector<std::unique_ptr<SpawningAction>> retired_;
  int dispatching_ = 0;
  // Path and lane pairs already reported as having no points: told once, not per ship.
  std::set<std::pair<int, std::string>> unusablePaths_;
};
