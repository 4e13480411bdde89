#pragma once
#include "Game/Entities/xPhysicsPrimitiveEntity.h"

// A tower's shot: it carries its damage to the enemy it hits (the enemy does the
// rest) and vanishes in a kill zone.
class xPlayerBulletEntityDesc : public xPhysicsPrimitiveEntityDesc {
 public:
  QuillonPHX2D::xEntity* createEntity() override;
  bool readXml(const TiXmlElement* element, const bge::XmlReader& reader) override;

  int damage = 150;
  std::string sfx = "SFX_PLAYER_SHOOT";
};

class xPlayerBulletEntity : public xPhysicsPrimitiveEntity {
 public:
  bool notifyCollision(QuillonPHX2D::xShape* own, QuillonPHX2D::xShape* other,
                       const QuillonPHX2D::Vec2& point, float depth,
                       const QuillonPHX2D::Vec2& normal) override;
  void notifyCreated(QuillonPHX2D::xEntityDesc* desc) override;

  int getDamage() const { return damage_; }
  float interestRate() const { return interestRate_; }
  void setInterestRate(float rate) { interestRate_ = rate; }

 private:
  int damage_ = 0;
  float interestRate_ = 0.03f;
};
