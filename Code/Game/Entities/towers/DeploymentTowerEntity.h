#pragma once
#include <vector>

#include "Game/Entities/towers/xBaseTowerEntity.h"

class xPatrolShip;
class xWavePointTowerEntity;

// A drone station's entity file: a plain tower file.
class xDeploymentTowerDesc : public xBaseTowerDesc {
 public:
  QuillonPHX2D::xEntity* createEntity() override;
};

// A drone station: a tower that does not shoot. Stations stand in pairs; each keeps
// patrol ships flying along the patrol path from one station of the pair to the
// other, through the navigation beacons attached to the pair. Partner, beacons and
// ships are other entities of the scene: every use looks them up first.
class xDeploymentTowerEntity : public xBaseTowerEntity {
 public:
  // Samples of a patrol path and of the path previewed while a beacon is attached.
  static constexpr int kPatrolSamples = 2000;
  static constexpr int kPreviewSamples = 1000;
  // How long a ship takes along the whole patrol path at normal speed.
  static constexpr int kPatrolWalkMs = 6000;
  // The longest chain of stations a walk follows before it gives up.
  static constexpr int kChainLimit = 64;

  xDeploymentTowerEntity();
  ~xDeploymentTowerEntity() override;

  // --- widget ---
  void update(int dt, ScreenBase* screen) override;
  void drawLayer(Graphics* g, ScreenBase* screen) override;
  void mousePressed(const PointingDeviceEvent& event) override;
  void mouseMoved(const PointingDeviceEvent& event) override;
  void onPointerExit() override;
  void onPointerEnter() override;

  // --- tower ---
  void infoText(Graphics* g, const Rect5& area) override;
  void takeDamage(int amount) override;
  void destroy() override;
  void sell(double refund) override;
  void attack(const std::vector<xSharkEntity*>& targets) override;
  bool notifyCollision(QuillonPHX2D::xShape* own, QuillonPHX2D::xShape* other,
                       const QuillonPHX2D::Vec2& point, float depth,
                       const QuillonPHX2D::Vec2& normal) override;

  // Attaches a beacon to the pair's first station and rebuilds the pair's path.
  void linkToChainEnd(xWavePointTowerEntity* beacon);
  // Rebuilds this station's and its partner's patrol points and re-routes the
  // ships in flight; this station must be the pair's first.
  void buildPatrolPath();
  void buildPreviewPath();
  void launchPatrolShip();
  void dropShip(xPatrolShip* ship);
  void detachBeacon(xWavePointTowerEntity* beacon);
  virtual int partnerDistance() const;

  // The other station of the pair while it stands, else null.
  xDeploymentTowerEntity* partner() const;
  // The pair's first station (role 0) reached from here, or null.
  xDeploymentTowerEntity* chainEnd();
  void setPartner(xDeploymentTowerEntity* partner, int role) {
    partner_ = partner;
    role_ = role;
  }
  void setPatrolPoints(const std::vector<QuillonPHX2D::Vec2>& points) { patrolPoints_ = points; }
  // Appends a beacon without rebuilding anything (the checkpoint restore rebuilds once).
  void appendBeacon(xWavePointTowerEntity* beacon);
  int role() const { return role_; }
  const std::vector<QuillonPHX2D::Vec2>& patrolPoints() const { return patrolPoints_; }
  // The attached beacons that still stand, in attachment order.
  std::vector<xWavePointTowerEntity*> beacons() const;
  // The launched ships that are still in the scene.
  std::vector<xPatrolShip*> ships() const;
  bool isHovered() const { return hovered_; }

 private:
  // Removes this station, its remaining beacons and its ships from the scene.
  void clearAway();

  int role_ = 0;
  xDeploymentTowerEntity* partner_ = nullptr;  // not owned; looked up before use
  std::vector<QuillonPHX2D::Vec2> patrolPoints_;
  std::vector<QuillonPHX2D::Vec2> previewPoints_;
  std::vector<xWavePointTowerEntity*> beacons_;  // not owned: the scene's towers
  std::vector<xPatrolShip*> ships_;              // not owned: the scene's ships
  int shipDescIndex_ = 0;
  int nextShipId_ = 0;
  bool hovered_ = false;
  QuillonPHX2D::Vec2 previewAnchor_{4222483456.0f, 4222483456.0f};
};
