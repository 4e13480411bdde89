#pragma once
#include "Game/Entities/towers/xBaseTowerEntity.h"

// The basic beam tower: an instant hit on every target, a quarter more on scouts.
class xT1TowerDesc : public xBaseTowerDesc {
 public:
  QuillonPHX2D::xEntity* createEntity() override;
};

class xT1TowerEntity : public xBaseTowerEntity {
 public:
  void drawLayer(Graphics* g, ScreenBase* screen) override;
  void attack(const std::vector<xSharkEntity*>& targets) override;

  const std::vector<xSharkEntity*>& shotList() const { return shotList_; }

 private:
  std::vector<xSharkEntity*> shotList_;  // not owned; looked up again before drawing
};
