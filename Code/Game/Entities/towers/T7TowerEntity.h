#pragma once
#include "Game/Entities/towers/T3TowerEntity.h"

// The heavy pulse beam: the pulse weapon built to break bulls.
class xT7TowerDesc : public xBaseTowerDesc {
 public:
  QuillonPHX2D::xEntity* createEntity() override;
};

class xT7TowerEntity : public xT3TowerEntity {
 protected:
  const ShotRule& rule() const override;
};
