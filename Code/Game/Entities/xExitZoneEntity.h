#pragma once
#include "Game/Entities/xPhysicsPrimitiveEntity.h"

// The static area at the end of the enemies' paths. The level file gives its area;
// the template entity file its category, material and looks.
class xExitZoneEntityDesc : public xPhysicsPrimitiveEntityDesc {
 public:
  QuillonPHX2D::xEntity* createEntity() override;

  // Centre x, y; width (the radius of a circular zone) and height.
  float areaX = 0.0f;
  float areaY = 0.0f;
  float areaWidth = 1.0f;
  float areaHeight = 1.0f;
};

class xExitZoneEntity : public xPhysicsPrimitiveEntity {
 public:
  void draw(Graphics* g, ScreenBase* screen) override;
  bool notifyCollision(QuillonPHX2D::xShape* own, QuillonPHX2D::xShape* other,
                       const QuillonPHX2D::Vec2& point, float depth,
                       const QuillonPHX2D::Vec2& normal) override;
  void notifyCreated(QuillonPHX2D::xEntityDesc* desc) override;
};
