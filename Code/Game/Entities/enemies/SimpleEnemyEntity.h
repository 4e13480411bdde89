#pragma once
#include <memory>
#include <string>
#include <vector>

#include "Game/Entities/xPhysicsPrimitiveEntity.h"
#include "Rect5.h"
#include "Timer.h"
#include "tinyaction/ActionListener.h"

class TinyAction;
class xEnemyBulletEntityDesc;

// An enemy ship (or a station part): its entity file adds reward, shooting, energy,
// hit picture, behaviour and class to the entity description.
class xSimpleEnemyDesc : public xPhysicsPrimitiveEntityDesc {
 public:
  QuillonPHX2D::xEntity* createEntity() override;
  // Always true: a failure of the base attributes has been reported already.
  bool readXml(const TiXmlElement* element, const bge::XmlReader& reader) override;

  int reward = 10;
  int shootingDelay = 2000;  // ms
  std::string templateBullet;
  Color particleColor{255, 255, 255, 255};
  int energy = 100;
  std::string texturePathHit;
  int behavior = 0;
  std::string className = "noclass";
};

// The colour of an enemy class by its name; every other name is green.
Color enemyClassColour(const std::string& className);

// Behaviours of an enemy ship.
enum EnemyBehavior {
  kWalkShootActors = 0,
  kHomeOnActors = 2,
  kSpinInPlace = 5,
  kWalkShootStationParts = 100,
  kWalkEndsLevel = 200
};

// A hostile ship: walks its path, shoots the nearest target, flashes when hit, pays
// when destroyed and costs a life each time it completes its path.
class xSimpleEnemy : public xPhysicsPrimitiveEntity, public bge::ActionListener {
 public:
  // Ids of the ship's own actions.
  enum { kWalkEnded = 0, kShotTimer = 1, kSlowEnded = 2, kHitFlashEnded = 20 };

  xSimpleEnemy();
  ~xSimpleEnemy() override;
  // The timer between two shots of a ship that fires every ms (the caller owns
  // it); the figures of the player's drones are worked out from the same timer.
  static TinyAction* makeShotTimer(int ms);
  xSimpleEnemy* asEnemy() override { return this; }

  void update(int dt, ScreenBase* screen) override;
  void draw(Graphics* g, ScreenBase* screen) override;
  void drawLayer(Graphics* g, ScreenBase* screen) override;
  bool notifyCollision(QuillonPHX2D::xShape* own, QuillonPHX2D::xShape* other,
                       const QuillonPHX2D::Vec2& point, float depth,
                       const QuillonPHX2D::Vec2& normal) override;
  void notifyCreated(QuillonPHX2D::xEntityDesc* desc) override;
  void actionFinished(int id) override;

  virtual QuillonPHX2D::xShape* findActorTargets();
  virtual QuillonPHX2D::xShape* findStationPartTargets();
  virtual std::vector<QuillonPHX2D::Vec2> pathPoints() const { return points_; }
  virtual void setPathPoints(const std::vector<QuillonPHX2D::Vec2>& points) { points_ = points; }
  virtual void onKilled(float reward);
  virtual void shoot();

  void followPath(const std::vector<QuillonPHX2D::Vec2>& points, int walkDuration);
  // True when this hit destroyed the ship.
  bool takeDamage(int damage, float interestRate);
  void slowDown(float factor, int durationMs);
  void applyGameSpeed(float factor);
  void restartPathWalk();
  // A checkpoint's energy and place on the path (the walk restarts from there).
  void restoreState(int energy, int walkIndex) {
    energy_ = energy;
    splineWalker_ = walkIndex;
  }
  // The enemy panel of the heads-up display, at its fixed place right of the field.
  void infoText(Graphics& g, const Rect5& area);

  // The colour of the ship's class (no class: green).
  Color classColour() const;
  int energy() const { return energy_; }
  int maxEnergy() const { return maxEnergy_; }
  float reward() const { return reward_; }
  int behavior() const { return behavior_; }
  int walkIndex() const { return splineWalker_; }
  float pathLength() const { return pathLength_; }
  const std::string& className() const { return className_; }
  bool isWalking() const;
  // How fast the ship moves along its path now, slow-down included: path pixels per ms of
  // walk at normal game speed (which every ship shares); 0 when it does not walk.
  float pathSpeed() const;
  void setRotationSpeed(float radiansPerStep) { rotationSpeed_ = radiansPerStep; }

 protected:
  // Starts a walk that moves the point index from its current value to the last
  // point over the duration.
  void startWalk(int durationMs);
  // A path walk whose time the wave does not give takes 4 s: quick enough to cross
  // the field before the next ship of the record follows it.
  static constexpr int kDefaultWalkMs = 4000;
  // The walk time of one whole path before the game speed.
  int walkTime() const { return walkDuration_ <= -1 ? kDefaultWalkMs : walkDuration_; }
  // The walk time of one whole path at the game speed now; the default is not scaled.
  int walkTimeNow() const;
  // The path's length from the first point to the point before the current one.
  float coveredLength() const;
  // Re-times the rest of the walk at the speed factor s.
  void retimeWalk(float s);
  void resumeNormalSpeed();
  void startShotTimer();
  void placeOnPath();

  int maxEnergy_ = 100;
  float reward_ = 10.0f;
  int splineWalker_ = 0;
  int walkDuration_ = -1;
  std::vector<QuillonPHX2D::Vec2> points_;
  std::unique_ptr<TinyAction> walkAction_;
  std::unique_ptr<TinyAction> shootAction_;
  std::unique_ptr<TinyAction> hitFlashAction_;
  int hitAlpha_ = 255;
  Color particleColor_{255, 255, 255, 255};
  int shootingDelay_ = -1;
  // Not owned: the level keeps one per bullet file for as long as it runs; null: the
  // ship does not shoot.
  xEnemyBulletEntityDesc* bulletDesc_ = nullptr;
  int energy_ = 100;
  Texture* hitTexture_ = nullptr;  // not owned: the resource catalogue keeps it
  Timer lifeClock_;
  int behavior_ = 0;
  std::unique_ptr<QuillonPHX2D::xShape> queryShape_;
  float pathLength_ = 0.0f;
  float slowElapsed_ = 0.0f;
  std::unique_ptr<TinyAction> slowAction_;
  bool counted_ = false;
  float rotationSpeed_ = 0.0f;
  std::string className_ = "noclass";
  float slowFactor_ = 0.0f;
  // Actions replaced while they report are deleted here after the report returns.
  std::vector<std::unique_ptr<TinyAction>> retired_;
  bool reporting_ = false;

 private:
  void retire(std::unique_ptr<TinyAction>& action);
};
