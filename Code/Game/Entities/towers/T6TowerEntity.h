#pragma once
#include "Game/Entities/towers/xBaseTowerEntity.h"

// The missile battery: one eagereagle missile per target, launched from a jittered point;
// catchers' armour takes the missiles' damage a third more.
class xT6TowerDesc : public xBaseTowerDesc {
 public:
  QuillonPHX2D::xEntity* createEntity() override;
};

class xT6TowerEntity : public xBaseTowerEntity {
 public:
  // The missile kind it asks the level for.
  static constexpr int kMissileKind = 0;

  xT6TowerEntity() : roll_("T6") {}

  void update(int dt, ScreenBase* screen) override;
  void drawLayer(Graphics* g, ScreenBase* screen) override;
  void attack(const std::vector<xSharkEntity*>& targets) override;

  float rollAngle() const { return roll_.angle(); }

 private:
  std::vector<xSharkEntity*> shotList_;  // not owned; cleared each salvo
  TowerRoll roll_;
};
