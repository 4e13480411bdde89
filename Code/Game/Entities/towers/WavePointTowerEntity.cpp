#include "Game/Entities/towers/WavePointTowerEntity.h"

#include <new>

#include "Game/Entities/towers/DeploymentTowerEntity.h"
#include "Game/LevelForEntities.h"
#include "Game/SceneEntityManager.h"
#include "Graphics.h"
#include "PointingDeviceEvent.h"
#include "SafeDelete.h"
#include "WidgetManager.h"
#include "tinyaction/TinyActionSequence.h"
#include "tinyaction/TinyLoopAction.h"
#include "tinyaction/TinyRelIncrementator.h"
#include "tinyaction/TinySetter.h"

using namespace QuillonPHX2D;

namespace {

// One ring grows to this radius while it fades, once per period.
constexpr float kPulseRadius = 36.0f;
constexpr int kPulseMs = 4096;

}  // namespace

xEntity* xWavePointTowerDesc::createEntity() {
  return nameNewTower(new (std::nothrow) xWavePointTowerEntity(), "TOWER_NAME_WT", "STAT_NAVIGATION_BEACONS",
                      Color(0, 64, 0, 128), Color(255, 255, 255, 255), Color(0, 255, 255, 255));
}

xWavePointTowerEntity::xWavePointTowerEntity() { upgradeLevel_ = -1; }

xWavePointTowerEntity::~xWavePointTowerEntity() = default;

void xWavePointTowerEntity::notifyCreated(xEntityDesc* desc) {
  xBaseSupportTowerEntity::notifyCreated(desc);
  upgradeLevel_ = -1;
  TinyActionSequence* ring = new TinyActionSequence(false);
  ring->addAction(new TinySetter<float>(&pulse_, 0.0f));
  ring->addAction(
      new TinyRelIncrementator<float>(TinyTimer(kPulseMs), &pulse_, 1.0f, linearOperatorFunction, 1.0f));
  pulseAction_.reset();
  pulseAction_ = std::make_unique<TinyLoopAction>(ring, -1);
  pulseAction_->start(nullptr, -1);
}

xDeploymentTowerEntity* xWavePointTowerEntity::homeStation() const {
  return homeStation_ && theLevel().isLive(homeStation_) ? homeStation_ : nullptr;
}

void xWavePointTowerEntity::update(int dt, ScreenBase*) {
  if (flashing_) {
    xBaseTowerEntity::update(dt, nullptr);
    return;
  }
  if (pulseAction_ && pulseAction_->isRunning()) pulseAction_->update(dt);
  energy_ = energyUnscaled_ * energyFactor_;
  if (repair_ > 0.0f) applyEnergyFactor(repair_);
  lastEnergyFactor_ = energyFactor_;
  energyFactor_ = 1.0f;
  lastInterestBonus_ = interestBonus_;
  interestBonus_ = 0;
}

bool xWavePointTowerEntity::notifyCollision(xShape*, xShape*, const Vec2&, float, const Vec2&) { return false; }

void xWavePointTowerEntity::mousePressed(const PointingDeviceEvent& event) {
  toggleSelected();
  if (!(event.buttons & PointingDeviceEvent::Right)) return;
  theLevel().clearBeaconAttachment();
  if (xDeploymentTowerEntity* home = homeStation()) home->detachBeacon(this);
}

void xWavePointTowerEntity::sell(double refund) {
  if (dead_) return;
  dead_ = true;
  if (sceneEntityManager_) sceneEntityManager_->scheduleRemoval(this, true);
  LevelForEntities& level = theLevel();
  level.onTowerGone(this);
  level.onTowersSold(1, refund);
  level.clearBeaconAttachment();
  if (xDeploymentTowerEntity* home = homeStation()) home->detachBeacon(this);
  homeStation_ = nullptr;
}

void xWavePointTowerEntity::draw(Graphics* g, ScreenBase* screen) {
  if (flashing_) {
    xBaseTowerEntity::draw(g, screen);
    return;
  }
  if (texture_) g->drawImage(0, 0, texture_, Color(255, 255, 255, 255));
  if (WidgetManager* m = getManager()) m->addToLayer(this, renderingPriority_);
}

void xWavePointTowerEntity::drawLayer(Graphics* g, ScreenBase*) {
  if (flashing_) return;
  const int alpha = static_cast<int>(255.0f - 255.0f * pulse_);
  const float radius = kPulseRadius * pulse_;
  if (selected_) g->fillCircle(16.0f, 16.0f, radius, 0.0f, Color(0, 255, 184, alpha / 8));
  g->drawCircle(16.0f, 16.0f, radius, 0.1f, Color(0, 255, 184, alpha));
}
