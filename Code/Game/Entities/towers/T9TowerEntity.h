#pragma once
#include "Game/Entities/towers/T3TowerEntity.h"

// The long pulse lance: the pulse weapon with the longest reach, on the T3's channel.
class xT9TowerDesc : public xBaseTowerDesc {
 public:
  QuillonPHX2D::xEntity* createEntity() override;
};

class xT9TowerEntity : public xT3TowerEntity {
 protected:
  float killLineWidth() const override { return 1.6f; }
};
