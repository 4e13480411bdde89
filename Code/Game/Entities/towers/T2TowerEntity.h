#pragma once
#include "Game/Entities/towers/xBaseTowerEntity.h"

// The chain beam: full damage on its first target, the same damage shared out over
// the others it reaches through it. Favours rowers; a support weapon, it adds nothing
// to the score.
class xT2TowerDesc : public xBaseTowerDesc {
 public:
  QuillonPHX2D::xEntity* createEntity() override;
};

class xT2TowerEntity : public xBaseTowerEntity {
 public:
  void drawLayer(Graphics* g, ScreenBase* screen) override;
  void attack(const std::vector<xSharkEntity*>& targets) override;

 private:
  std::vector<xSharkEntity*> shotList_;  // not owned; looked up again before drawing
};
