#pragma once
// What a tower, a ship, a shot, a drone, a missile or the spawner may ask of the level
// they live in, and tell it. Entities reach the level only through this, from
// theLevel(); the level screen implements it, and a test can stand a small level of
// its own behind it.
#include <string>

#include "Color.h"
#include "Foundation/Math/QlnMath.h"
#include "Game/Entities/enemies/WaveDescription.h"
#include "Game/Entities/missiles/xPlayerSmartMissileEntity.h"
#include "Game/Entities/shots/xSimpleParticle.h"

class xBaseTowerEntity;
class xDeploymentTowerEntity;
class xEnemyBulletEntityDesc;
class xSharkEntity;
class xSimpleEnemyDesc;
class xWavePointTowerEntity;
struct PointingDeviceEvent;

class LevelForEntities {
 public:
  LevelForEntities(const LevelForEntities&) = delete;
  LevelForEntities& operator=(const LevelForEntities&) = delete;

  // --- the rules of this level ---
  // The game speed as a time factor: 1 normal, below 1 fast.
  virtual float speedFactor() const = 0;
  // 0 easy, 1 normal, 2 hard.
  virtual int difficulty() const = 0;
  // Whether a tower reaching its top level counts for its kind's statistic (the
  // classic mode only).
  virtual bool countsTopUpgrades() const = 0;
  // Ships raid a station, standing or moving, rather than walk to an exit.
  virtual bool raidsStation() const = 0;
  // Whether towers that are not selected are heard firing.
  virtual bool shotsAudible() const = 0;

  // --- the scene ---
  // Whether the entity is in the level's scene and not leaving it.
  virtual bool isLive(const xSharkEntity* entity) const = 0;
  // Adds a new entity (a patrol ship) to the scene; the scene owns it from now on.
  virtual void addToScene(xSharkEntity* entity) = 0;

  // --- what the level file and the level's catalogues give ---
  virtual PathDescription getPathDescription(int pathId) const = 0;
  // The level's one description of an enemy bullet file; not owned, it lasts as long
  // as the level.
  virtual xEnemyBulletEntityDesc* enemyBulletKind(const std::string& path) = 0;
  // The patrol-ship description at the index, or null outside the list; not owned.
  virtual xSimpleEnemyDesc* patrolShipDesc(int index) const = 0;
  // A copy of the missile kind's description.
  virtual xPlayerSmartMissileEntityDesc getMissileDescription(int kind) const = 0;
  // The particle kind (0 the level's own) that rings and explosions are made from.
  virtual const xSimpleParticleEntityDesc& particleDescription(int kind) const = 0;

  // --- effects ---
  virtual void spawnHitParticle(const QuillonPHX2D::Vec2& hitDirection, const QuillonPHX2D::Vec2& position,
                                float strength, const Color& colour) = 0;
  virtual void spawnRingParticle(const QuillonPHX2D::Vec2& position, float strength, const Color& colour,
                                 xSimpleParticleEntityDesc description) = 0;
  virtual void spawnScatterParticle(const QuillonPHX2D::Vec2& position, const Color& colour, int count) = 0;
  virtual void launchMissile(const QuillonPHX2D::Vec2& launchPoint, xBaseTowerEntity* tower, int kind,
                             xSharkEntity* target, float damageFactor) = 0;

  // --- the score, the lives and the waves ---
  virtual void addScore(int points) = 0;
  // A ship destroyed: its score and its reward.
  virtual void bookKill(int score, float reward) = 0;
  // A ship that reached the exit.
  virtual void loseLife() = 0;
  // Lives lost at once, as that many ships reaching the exit would take them.
  virtual void loseLives(int count) = 0;
  // The level ends now (a ship whose walk ends it reached its goal).
  virtual void finishLevel() = 0;
  virtual void countSpawn() = 0;
  // One record of the wave has sent all its ships.
  virtual void onWaveSpawned() = 0;
  // A wave has started sending ships.
  virtual void announceNewShip() = 0;

  // --- towers ---
  // A cell of the placement grid is free again.
  virtual void freeCell(int cellIndex) = 0;
  // A tower left the field (sold or destroyed): its cell is free and nothing shows it.
  virtual void onTowerGone(xBaseTowerEntity* tower) = 0;
  // Towers were sold for the refund: the level counts them and pays what its mode pays.
  virtual void onTowersSold(int count, double refund) = 0;
  // The player clicked a standing tower: the level selects it, or lets it go when it
  // was selected.
  virtual void onTowerPicked(xBaseTowerEntity* tower) = 0;
  // The pointer moved over a drone station, which takes the move from the level.
  virtual void onPointerOverStation(const PointingDeviceEvent& event) = 0;

  // --- drone-station pairs and beacons ---
  // A placed beacon waits for the player to click the drone station it joins.
  virtual bool isAttachingBeacon() const = 0;
  // That beacon while it stands, else null.
  virtual xWavePointTowerEntity* beaconToAttach() const = 0;
  virtual void clearBeaconAttachment() = 0;
  // Where the link line of a half-placed pair or beacon starts.
  virtual const QuillonPHX2D::Vec2& pairAnchor() const = 0;
  // Forgets a half-placed pair whose first station is leaving.
  virtual void clearPendingPair(xDeploymentTowerEntity* station) = 0;

 protected:
  // A level serves the entities from when it is made until it stops or goes.
  LevelForEntities();
  virtual ~LevelForEntities();
  // The entities no longer reach this level (it is leaving before it goes).
  void stopServingEntities();
};

// A level with nothing in it that keeps nothing it is told: what entities had without
// a level (normal speed and difficulty, no statistic, nothing live, nothing to attach).
// theLevel() answers with one when no level runs; a test makes its own small level
// from it.
class EmptyLevel : public LevelForEntities {
 public:
  EmptyLevel() = default;
  float speedFactor() const override { return 1.0f; }
  int difficulty() const override { return 1; }
  bool countsTopUpgrades() const override { return false; }
  bool raidsStation() const override { return false; }
  bool shotsAudible() const override { return true; }
  bool isLive(const xSharkEntity*) const override { return false; }
  void addToScene(xSharkEntity*) override {}
  PathDescription getPathDescription(int) const override { return PathDescription(); }
  xEnemyBulletEntityDesc* enemyBulletKind(const std::string&) override { return nullptr; }
  xSimpleEnemyDesc* patrolShipDesc(int) const override { return nullptr; }
  xPlayerSmartMissileEntityDesc getMissileDescription(int) const override { return xPlayerSmartMissileEntityDesc(); }
  const xSimpleParticleEntityDesc& particleDescription(int) const override { return particle_; }
  void spawnHitParticle(const QuillonPHX2D::Vec2&, const QuillonPHX2D::Vec2&, float, const Color&) override {}
  void spawnRingParticle(const QuillonPHX2D::Vec2&, float, const Color&, xSimpleParticleEntityDesc) override {}
  void spawnScatterParticle(const QuillonPHX2D::Vec2&, const Color&, int) override {}
  void launchMissile(const QuillonPHX2D::Vec2&, xBaseTowerEntity*, int, xSharkEntity*, float) override {}
  void addScore(int) override {}
  void bookKill(int, float) override {}
  void loseLife() override {}
  void loseLives(int) override {}
  void finishLevel() override {}
  void countSpawn() override {}
  void onWaveSpawned() override {}
  void announceNewShip() override {}
  void freeCell(int) override {}
  void onTowerGone(xBaseTowerEntity*) override {}
  void onTowersSold(int, double) override {}
  void onTowerPicked(xBaseTowerEntity*) override {}
  void onPointerOverStation(const PointingDeviceEvent&) override {}
  bool isAttachingBeacon() const override { return false; }
  xWavePointTowerEntity* beaconToAttach() const override { return nullptr; }
  void clearBeaconAttachment() override {}
  const QuillonPHX2D::Vec2& pairAnchor() const override { return anchor_; }
  void clearPendingPair(xDeploymentTowerEntity*) override {}

 private:
  xSimpleParticleEntityDesc particle_;
  QuillonPHX2D::Vec2 anchor_{0.0f, 0.0f};
};

// The level the entities live in. Every entity that acts does so inside a level: when
// none runs, this reports it and answers as a level that has nothing and keeps nothing.
LevelForEntities& theLevel();
// Whether a level runs. Only for what also runs outside one: particles on other screens,
// descriptions read by the encyclopedia and the content checks.
bool levelRunning();
