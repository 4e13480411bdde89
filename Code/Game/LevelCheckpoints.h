#pragma once
// The level's checkpoints: a record taken each time the waves pass a fifth of the
// level, the restore sweep the player starts, and putting a record's towers and
// counters back. The records themselves are CheckPointManager's.
#include <cstddef>
#include <memory>
#include <string>

class CheckPointManager;
class LevelBridge;
class LevelEconomy;
class LevelHud;
class LevelScreen;
class LevelSelection;
class TowerTally;
class WaveFlow;
class xWavePointTowerEntity;
struct CheckPoint;

class LevelCheckpoints {
 public:
  // The level's parts a record is taken from and put back into, each through its own
  // functions; all are the level's, living as long as it does.
  struct Parts {
    LevelEconomy& economy;
    WaveFlow& flow;
    TowerTally& tally;
    LevelSelection& selection;
    LevelBridge& bridge;
    LevelHud& hud;
  };

  LevelCheckpoints(LevelScreen& level, const Parts& parts);
  ~LevelCheckpoints();
  LevelCheckpoints(const LevelCheckpoints&) = delete;
  LevelCheckpoints& operator=(const LevelCheckpoints&) = delete;

  // Makes the record keeper once the spawner stands; the endless mode keeps none.
  void start();
  void stop();
  CheckPointManager* records() const { return records_.get(); }

  // Records one when the waves have passed the next fifth of the level.
  void saveIfDue();
  // Records one now, whatever the waves say; none while the level is over or a restore
  // is under way.
  void take();
  // The restore sweep, as the backspace key starts it (false when none may start); from
  // its start until the record is back no checkpoint is taken.
  bool requestRestore();
  bool restoreUnderWay() const;
  // The frame after the sweep: the newest record comes back and the level waits for
  // the player to send the wave it stood before.
  void applyPendingRestore();
  // Restores the newest record and drops it unless it is the only one.
  void restoreNewest();

  // What the record keeper asks of the level while it puts a record back: towers come
  // back by kind (each refused on a taken cell), then the counters and the level time.
  void restoreDeploymentPair(const CheckPoint& checkPoint, size_t towerIndex);
  xWavePointTowerEntity* restoreWavePointTower(int column, int row);
  void restoreTowerByKind(const std::string& kindName, int column, int row, int upgradeLevel);
  void removeAllEnemies();
  // Lets go of everything that points at towers before they leave.
  void prepareForRestore();
  void recordCounters(CheckPoint& checkPoint) const;
  void restoreCounters(const CheckPoint& checkPoint);
  void recountBuiltTowers();

 private:
  void showSavedMessage();

  LevelScreen& level_;
  Parts parts_;
  std::unique_ptr<CheckPointManager> records_;  // none in the endless mode
  // How many records there were after the last one taken or restored: a fifth of the
  // level below it has its record already.
  int recordsKept_ = -1;
};
