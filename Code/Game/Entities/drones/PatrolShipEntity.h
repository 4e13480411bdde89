#pragma once
#include <memory>
#include <vector>

#include "Game/Entities/enemies/SimpleEnemyEntity.h"

class xDeploymentTowerEntity;
class xPlayerBulletEntityDesc;

// The patrol ship's entity file: an enemy ship's file; its bullet is a player bullet.
class xPatrolShipDesc : public xSimpleEnemyDesc {
 public:
  // The one patrol ship file the level reads.
  static constexpr const char* kFile = "content/config/Entities/ships/patrolshipsimple-3.xml";
  QuillonPHX2D::xEntity* createEntity() override;
};

// The player's drone: a ship that a drone station launches along its pair's patrol
// path. It walks like an enemy but shoots enemies in its range, takes damage from
// enemy shots, and leaves at the path's end or when destroyed; either way the
// partner of its station launches the next one.
class xPatrolShip : public xSimpleEnemy {
 public:
  // How far a drone looks for ships to shoot at.
  static constexpr float kRange = 160.0f;

  xPatrolShip();
  ~xPatrolShip() override;

  void update(int dt, ScreenBase* screen) override;
  void drawLayer(Graphics* g, ScreenBase* screen) override;
  bool notifyCollision(QuillonPHX2D::xShape* own, QuillonPHX2D::xShape* other,
                       const QuillonPHX2D::Vec2& point, float depth,
                       const QuillonPHX2D::Vec2& normal) override;
  void notifyCreated(QuillonPHX2D::xEntityDesc* desc) override;
  void actionFinished(int id) override;
  void onKilled(float reward) override;
  void shoot() override;

  // The nearest enemy hull within range, or null.
  virtual QuillonPHX2D::xShape* findEnemyTargets();

  // The home station while it stands, else null.
  xDeploymentTowerEntity* homeTower() const;
  void setHomeTower(xDeploymentTowerEntity* tower) { homeTower_ = tower; }
  float range() const { return range_; }

 private:
  xDeploymentTowerEntity* homeTower_ = nullptr;  // not owned; looked up before use
  float range_ = kRange;
  std::unique_ptr<xPlayerBulletEntityDesc> playerBullet_;
  // Set by the first loss: one loss, one replacement.
  bool left_ = false;
  // Enemy shots that hit since the last frame: a shot whose own contact handler has
  // already queued it still hits once, and never twice.
  std::vector<const xSharkEntity*> hitBy_;
};
