#pragma once
#include "Game/Entities/towers/xBaseTowerEntity.h"

// The torpedo rack: one heavy triton missile per target, for any class.
class xT8TowerDesc : public xBaseTowerDesc {
 public:
  QuillonPHX2D::xEntity* createEntity() override;
};

class xT8TowerEntity : public xBaseTowerEntity {
 public:
  // The missile kind it asks the level for.
  static constexpr int kMissileKind = 1;

  xT8TowerEntity() : roll_("T8") {}

  void update(int dt, ScreenBase* screen) override;
  void drawLayer(Graphics* g, ScreenBase* screen) override;
  void attack(const std::vector<xSharkEntity*>& targets) override;

  float rollAngle() const { return roll_.angle(); }

 private:
  std::vector<xSharkEntity*> shotList_;  // not owned; cleared each salvo
  TowerRoll roll_;
};
