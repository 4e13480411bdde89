#pragma once
#include "Game/Entities/towers/xBaseTowerEntity.h"

// The ion snare: a light instant hit that leaves the ship slowed for seconds;
// grasshopper swarms are slowed the most.
class xT4TowerDesc : public xBaseTowerDesc {
 public:
  QuillonPHX2D::xEntity* createEntity() override;
};

class xT4TowerEntity : public xBaseTowerEntity {
 public:
  xT4TowerEntity() : roll_("T4") {}

  void update(int dt, ScreenBase* screen) override;
  void drawLayer(Graphics* g, ScreenBase* screen) override;
  void attack(const std::vector<xSharkEntity*>& targets) override;

  float rollAngle() const { return roll_.angle(); }

 private:
  std::vector<xSharkEntity*> shotList_;  // not owned; looked up again before drawing
  TowerRoll roll_;
};

// The slow factor of a T4 hit: 0.6 + 0.1 per upgrade level, 0.19 more on grasshoppers,
// and never a full stop.
float snareFactor(int upgradeLevel, const std::string& enemyClass);
// How long a T4 hit slows: 2.5 s per level from 1.
int snareDurationMs(int upgradeLevel);
