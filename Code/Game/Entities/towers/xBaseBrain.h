#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "tinyaction/ActionListener.h"

class TinyActionSequence;
class xBaseTowerEntity;
class xSharkEntity;

// When a tower fires.
enum ActionStrategy { kActionContinuous = 0, kActionPeriodic = 1, kActionOnce = 2 };
// Whether it takes one target or all in range.
enum LockingStrategy { kLockingOff = 0, kLockingOn = 1 };
// In which order it ranks the enemies in range.
enum TargetSelectionStrategy {
  kTargetDistant = 0,
  kTargetClosest = 1,
  kTargetWeakest = 2,
  kTargetStrongest = 3,
  kTargetFirst = 4,
  kTargetLast = 5,
  kTargetSlowest = 6,
  kTargetFastest = 7
};

// A tower's target selection: each frame it gets the live enemies in range and
// answers the ones to fire at, when the tower's reload cycle lets it.
class xBaseBrain : public bge::ActionListener {
 public:
  // Id of the reload cycle's report.
  enum { kCycleEnded = 1000 };

  explicit xBaseBrain(xBaseTowerEntity* tower);
  ~xBaseBrain() override;
  xBaseBrain(const xBaseBrain&) = delete;
  xBaseBrain& operator=(const xBaseBrain&) = delete;

  void actionFinished(int id) override { actionPerformed(id); }
  virtual void actionPerformed(int id);
  virtual std::vector<xSharkEntity*> think(const std::vector<xSharkEntity*>& candidates, int dt);

  // (Re)starts the reload cycle from zero progress.
  void startCycle(int ms);
  // A reload cycle of ms that raises progress from 0 to 1; the caller owns it.
  static TinyActionSequence* makeCycle(int ms, float* progress);
  std::vector<xSharkEntity*> selectTargets(const std::vector<xSharkEntity*>& candidates) const;

  xBaseTowerEntity* tower;  // not owned: the tower owns the brain
  int actionStrategy = kActionContinuous;
  int lockingStrategy = kLockingOff;
  int targetSelectionStrategy = kTargetDistant;
  std::unique_ptr<TinyActionSequence> cycle;
  uint64_t fireCount = 0;
  std::vector<xSharkEntity*> candidates;
  std::vector<xSharkEntity*> selected;
  float cycleProgress = 0.0f;
};
