#pragma once
#include <cstdint>
#include <memory>

#include "Game/Entities/xPhysicsPrimitiveEntity.h"

class Texture;
class xSimpleEnemy;

// A homing missile's entity file: the entity plus its kind, damage and crosshair.
class xPlayerSmartMissileEntityDesc : public xPhysicsPrimitiveEntityDesc {
 public:
  QuillonPHX2D::xEntity* createEntity() override;
  // Always true: a failure of the base attributes has been reported already.
  bool readXml(const TiXmlElement* element, const bge::XmlReader& reader) override;

  int type = 0;     // the missile kind a tower asks for
  int damage = 0;
  Texture* crosshair = nullptr;  // not owned: the application's catalogue keeps it
};

// A homing missile: flies at the enemy it was launched at; when that one is gone it
// heads, frame by frame, for the nearest enemy on the field. Its first enemy contact
// hands the damage over and ends it; a kill zone ends it too.
class xPlayerSmartMissileEntity : public xPhysicsPrimitiveEntity {
 public:
  enum { kFollowing = 0, kSearching = 1 };

  xPlayerSmartMissileEntity() = default;
  ~xPlayerSmartMissileEntity() override;

  void update(int dt, ScreenBase* screen) override;
  void drawLayer(Graphics* g, ScreenBase* screen) override;
  bool notifyCollision(QuillonPHX2D::xShape* own, QuillonPHX2D::xShape* other,
                       const QuillonPHX2D::Vec2& point, float depth,
                       const QuillonPHX2D::Vec2& normal) override;
  void notifyCreated(QuillonPHX2D::xEntityDesc* desc) override;

  // Remembers the enemy and which one it is: a later entity may be made at its address.
  void setTarget(xSharkEntity* target);
  void setDamage(int damage) { damage_ = damage; }
  void setInterestRate(float rate) { interestRate_ = rate; }
  int state() const { return state_; }
  int damage() const { return damage_; }
  float interestRate() const { return interestRate_; }
  xSharkEntity* target() const { return target_; }

 private:
  // The enemy ship nearest to the point among those the query box touches.
  QuillonPHX2D::xShape* nearestEnemy(const QuillonPHX2D::Vec2& from) const;
  // Turns the velocity toward the point without changing the speed, pushes a little
  // toward it and points the nose along the way. Nothing when the way has no length.
  void steerToward(const QuillonPHX2D::Vec2& from, const QuillonPHX2D::Vec2& to);

  int state_ = kFollowing;
  std::unique_ptr<QuillonPHX2D::xShape> queryShape_;
  xSharkEntity* target_ = nullptr;              // not owned; looked up before each use
  // The target's hull serial: the address alone would take a ship or particle made where
  // the destroyed target was for the target itself.
  std::uint64_t targetSerial_ = 0;
  Texture* crosshair_ = nullptr;                // not owned
  int damage_ = 0;
  float interestRate_ = 0.0f;
};
