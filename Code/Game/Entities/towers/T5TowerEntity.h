#pragma once
#include "Game/Entities/towers/xBaseTowerEntity.h"

// The scout picket: a thin, cheap beam on every target, half again on scouts.
class xT5TowerDesc : public xBaseTowerDesc {
 public:
  QuillonPHX2D::xEntity* createEntity() override;
};

class xT5TowerEntity : public xBaseTowerEntity {
 public:
  void drawLayer(Graphics* g, ScreenBase* screen) override;
  void attack(const std::vector<xSharkEntity*>& targets) override;

 private:
  std::vector<xSharkEntity*> shotList_;  // not owned; looked up again before drawing
};
