#pragma once
#include "Game/Entities/towers/xBaseTowerEntity.h"

// The salvo array: a double eagereagle missile for each of several targets, with a
// yellow guide line to every target in the frame of the salvo.
class xT10TowerDesc : public xBaseTowerDesc {
 public:
  QuillonPHX2D::xEntity* createEntity() override;
};

class xT10TowerEntity : public xBaseTowerEntity {
 public:
  // The missile kind it asks the level for.
  static constexpr int kMissileKind = 2;

  xT10TowerEntity() : roll_("T10") {}

  void update(int dt, ScreenBase* screen) override;
  void drawLayer(Graphics* g, ScreenBase* screen) override;
  void attack(const std::vector<xSharkEntity*>& targets) override;

  float rollAngle() const { return roll_.angle(); }

 private:
  std::vector<xSharkEntity*> shotList_;  // not owned; this frame's salvo targets, looked up again before drawing
  TowerRoll roll_;
};
