#pragma once
#include <memory>

#include "Game/Entities/towers/xBaseSupportTowerEntity.h"

class TinyAction;
class xDeploymentTowerEntity;

// A navigation beacon's entity file: a plain tower file.
class xWavePointTowerDesc : public xBaseTowerDesc {
 public:
  QuillonPHX2D::xEntity* createEntity() override;
};

// A navigation beacon: a waypoint the patrol path of a drone-station pair runs
// through once the player has attached it to the pair. It neither shoots nor
// boosts; it shows a pulse ring.
class xWavePointTowerEntity : public xBaseSupportTowerEntity {
 public:
  xWavePointTowerEntity();
  ~xWavePointTowerEntity() override;

  void update(int dt, ScreenBase* screen) override;
  void draw(Graphics* g, ScreenBase* screen) override;
  void drawLayer(Graphics* g, ScreenBase* screen) override;
  void mousePressed(const PointingDeviceEvent& event) override;
  void sell(double refund) override;
  void applySupport() override {}
  bool notifyCollision(QuillonPHX2D::xShape* own, QuillonPHX2D::xShape* other,
                       const QuillonPHX2D::Vec2& point, float depth,
                       const QuillonPHX2D::Vec2& normal) override;
  void notifyCreated(QuillonPHX2D::xEntityDesc* desc) override;

  // The station it is attached to while that station stands, else null.
  xDeploymentTowerEntity* homeStation() const;
  void setHomeStation(xDeploymentTowerEntity* station) { homeStation_ = station; }
  float pulse() const { return pulse_; }

 private:
  xDeploymentTowerEntity* homeStation_ = nullptr;  // not owned; looked up before use
  std::unique_ptr<TinyAction> pulseAction_;
  float pulse_ = 0.0f;
};
