#pragma once
#include "Game/Entities/xPhysicsPrimitiveEntity.h"

// An enemy's shot: it damages towers, hits station parts and is cancelled by the
// player's shots.
class xEnemyBulletEntityDesc : public xPhysicsPrimitiveEntityDesc {
 public:
  QuillonPHX2D::xEntity* createEntity() override;
  bool readXml(const TiXmlElement* element, const bge::XmlReader& reader) override;

  int damage = 0;
};

class xEnemyBulletEntity : public xPhysicsPrimitiveEntity {
 public:
  bool notifyCollision(QuillonPHX2D::xShape* own, QuillonPHX2D::xShape* other,
                       const QuillonPHX2D::Vec2& point, float depth,
                       const QuillonPHX2D::Vec2& normal) override;
  void notifyCreated(QuillonPHX2D::xEntityDesc* desc) override;

  int getDamage() const { return damage_; }

 private:
  // Queues the bullet's own removal once; false when it was queued already.
  bool removeOnce();

  int damage_ = 0;
};
