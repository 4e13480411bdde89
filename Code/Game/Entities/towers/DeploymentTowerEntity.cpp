#include "Game/Entities/towers/DeploymentTowerEntity.h"

#include <algorithm>
#include <new>

#include "AssertReport.h"
#include "Game/Entities/drones/PatrolShipEntity.h"
#include "Game/Entities/towers/TowerFigures.h"
#include "Game/Entities/towers/WavePointTowerEntity.h"
#include "Game/Entities/towers/xBaseSupportTowerEntity.h"
#include "Game/LevelForEntities.h"
#include "Game/SceneEntityManager.h"
#include "GameApp.h"
#include "Graphics.h"
#include "PointingDeviceEvent.h"
#include "sdk/QuillonPhysicsSDK.h"

using namespace QuillonPHX2D;

namespace {

constexpr float kSelectRadius = 20.0f;

// The entity while the level still has it in its scene (and not queued to leave).
template <typename T>
T* live(T* entity) {
  return entity && theLevel().isLive(entity) ? entity : nullptr;
}

Vec2 positionOf(xSharkEntity& e) {
  const Vec3 p = e.absPlacement();
  return Vec2(p.x, p.y);
}

std::vector<Vec2> spline(const std::vector<Vec2>& points, int samples) {
  const int n = static_cast<int>(points.size());
  if (n < 2) return points;
  return qlnBSpline2D(n - 1, std::min(n, 4), points.data(), samples);
}

}  // namespace

xEntity* xDeploymentTowerDesc::createEntity() {
  return nameNewTower(new (std::nothrow) xDeploymentTowerEntity(), "TOWER_NAME_DT", "STAT_DRONE_STATION",
                      Color(255, 255, 255, 164), Color(128, 128, 128, 128), Color(0, 255, 255, 255));
}

xDeploymentTowerEntity::xDeploymentTowerEntity() { upgradeLevel_ = -1; }

xDeploymentTowerEntity::~xDeploymentTowerEntity() = default;

xDeploymentTowerEntity* xDeploymentTowerEntity::partner() const { return live(partner_); }

std::vector<xWavePointTowerEntity*> xDeploymentTowerEntity::beacons() const {
  std::vector<xWavePointTowerEntity*> standing;
  for (xWavePointTowerEntity* b : beacons_)
    if (live(b)) standing.push_back(b);
  return standing;
}

std::vector<xPatrolShip*> xDeploymentTowerEntity::ships() const {
  std::vector<xPatrolShip*> flying;
  for (xPatrolShip* s : ships_)
    if (live(s)) flying.push_back(s);
  return flying;
}

int xDeploymentTowerEntity::partnerDistance() const {
  xDeploymentTowerEntity* other = partner();
  if (!other) return 0;
  // Towers stand at their cell's centre, half a cell in from the widget's corner.
  const Vec2 d(other->getX() - getX(), other->getY() - getY());
  return static_cast<int>(qlnLenV2(d));
}

// --- widget ---

void xDeploymentTowerEntity::update(int dt, ScreenBase*) {
  if (flashing_) {
    xBaseTowerEntity::update(dt, nullptr);
    return;
  }
  energy_ = energyUnscaled_ * energyFactor_;
  if (repair_ > 0.0f) applyEnergyFactor(repair_);
  lastEnergyFactor_ = energyFactor_;
  energyFactor_ = 1.0f;
  // The ships' shots carry the station's interest: it is rebuilt every frame from
  // the bank units in reach, never left to grow from frame to frame.
  effectiveInterest_ = static_cast<float>(interestBonus_) / 100.0f + interestBase_;
  lastInterestBonus_ = interestBonus_;
  interestBonus_ = 0;
  lastRepair_ = repair_;
  repair_ = 0.0f;
  lastDamageFactor_ = damageFactor_;
  lastRangeFactor_ = rangeFactor_;
  damageFactor_ = rangeFactor_ = 1.0f;
}

void xDeploymentTowerEntity::mousePressed(const PointingDeviceEvent& event) {
  if (event.buttons & PointingDeviceEvent::Right) return;
  LevelForEntities& level = theLevel();
  if (level.isAttachingBeacon()) {
    xWavePointTowerEntity* beacon = level.beaconToAttach();
    if (BGE_REPORT_MSG(beacon, ("drone station at cell " + std::to_string(cellIndex()) +
                                ": the beacon to attach is gone").c_str()))
      linkToChainEnd(beacon);
    level.clearBeaconAttachment();
    return;
  }
  toggleSelected();
}

void xDeploymentTowerEntity::mouseMoved(const PointingDeviceEvent& event) {
  LevelForEntities& level = theLevel();
  hovered_ = level.isAttachingBeacon();
  level.onPointerOverStation(event);
}

void xDeploymentTowerEntity::onPointerExit() {
  hovered_ = false;
  previewPoints_.clear();
}

void xDeploymentTowerEntity::onPointerEnter() {
  LevelForEntities& level = theLevel();
  if (!level.isAttachingBeacon() || !previewPoints_.empty()) return;
  previewAnchor_ = level.pairAnchor();
  buildPreviewPath();
}

// --- pair, beacons and ships ---

xDeploymentTowerEntity* xDeploymentTowerEntity::chainEnd() {
  // Bounded, and stopped by a missing or repeated link: a broken pair must not loop.
  std::vector<xDeploymentTowerEntity*> seen;
  xDeploymentTowerEntity* at = this;
  for (int step = 0; at && step < kChainLimit; ++step) {
    if (at->role_ == 0) return at;
    if (std::find(seen.begin(), seen.end(), at) != seen.end()) return nullptr;
    seen.push_back(at);
    at = at->partner();
  }
  return nullptr;
}

void xDeploymentTowerEntity::appendBeacon(xWavePointTowerEntity* beacon) {
  if (!beacon || std::find(beacons_.begin(), beacons_.end(), beacon) != beacons_.end()) return;
  beacon->setHomeStation(this);
  beacons_.push_back(beacon);
}

void xDeploymentTowerEntity::linkToChainEnd(xWavePointTowerEntity* beacon) {
  xDeploymentTowerEntity* end = chainEnd();
  // A half-placed pair has no path to extend: it attaches nothing.
  if (!end || !end->partner() || !live(beacon)) return;
  if (xDeploymentTowerEntity* former = beacon->homeStation()) {
    if (former == end) return;
    former->detachBeacon(beacon);
  }
  end->appendBeacon(beacon);
  end->buildPatrolPath();
}

void xDeploymentTowerEntity::detachBeacon(xWavePointTowerEntity* beacon) {
  auto it = std::find(beacons_.begin(), beacons_.end(), beacon);
  if (it == beacons_.end()) return;
  beacons_.erase(it);
  if (beacon) beacon->setHomeStation(nullptr);
  buildPatrolPath();
}

void xDeploymentTowerEntity::buildPatrolPath() {
  xDeploymentTowerEntity* other = partner();
  if (!other) return;
  std::vector<Vec2> points{positionOf(*this)};
  for (xWavePointTowerEntity* b : beacons()) points.push_back(positionOf(*b));
  points.push_back(positionOf(*other));
  patrolPoints_ = spline(points, kPatrolSamples);
  other->patrolPoints_.assign(patrolPoints_.rbegin(), patrolPoints_.rend());
  for (xPatrolShip* s : ships()) s->setPathPoints(patrolPoints_);
  for (xPatrolShip* s : other->ships()) s->setPathPoints(other->patrolPoints_);
}

void xDeploymentTowerEntity::buildPreviewPath() {
  std::vector<Vec2> points{positionOf(*this)};
  for (xWavePointTowerEntity* b : beacons()) points.push_back(positionOf(*b));
  points.push_back(previewAnchor_);
  if (xDeploymentTowerEntity* other = partner()) points.push_back(positionOf(*other));
  previewPoints_ = spline(points, kPreviewSamples);
}

void xDeploymentTowerEntity::launchPatrolShip() {
  LevelForEntities& level = theLevel();
  if (!g_ptrSDK || !live(this)) return;
  xSimpleEnemyDesc* desc = level.patrolShipDesc(shipDescIndex_);
  if (!desc) return;
  auto* ship = dynamic_cast<xPatrolShip*>(g_ptrSDK->createEntity(desc));
  if (!ship) return;
  ship->setHomeTower(this);
  ship->followPath(patrolPoints_, kPatrolWalkMs);
  ship->setAbsPlacement(absPlacement());
  ship->setId(nextShipId_++);
  level.addToScene(ship);
  ships_.push_back(ship);
}

void xDeploymentTowerEntity::dropShip(xPatrolShip* ship) {
  ships_.erase(std::remove(ships_.begin(), ships_.end(), ship), ships_.end());
}

// --- tower ---

void xDeploymentTowerEntity::takeDamage(int) {}

void xDeploymentTowerEntity::attack(const std::vector<xSharkEntity*>&) {}

bool xDeploymentTowerEntity::notifyCollision(xShape*, xShape*, const Vec2&, float, const Vec2&) { return false; }

void xDeploymentTowerEntity::destroy() {
  if (dead_) return;
  dead_ = true;
  if (sceneEntityManager_) sceneEntityManager_->scheduleRemoval(this, true);
  theLevel().freeCell(cellIndex());
}

void xDeploymentTowerEntity::clearAway() {
  LevelForEntities& level = theLevel();
  for (xWavePointTowerEntity* b : beacons()) {
    level.freeCell(b->cellIndex());
    if (sceneEntityManager_) sceneEntityManager_->scheduleRemoval(b, true);
  }
  beacons_.clear();
  for (xPatrolShip* s : ships())
    if (sceneEntityManager_) sceneEntityManager_->scheduleRemoval(s, true);
  ships_.clear();
  dead_ = true;
  if (sceneEntityManager_) sceneEntityManager_->scheduleRemoval(this, true);
  level.onTowerGone(this);
}

void xDeploymentTowerEntity::sell(double refund) {
  if (dead_) return;
  LevelForEntities& level = theLevel();
  xDeploymentTowerEntity* other = partner();
  // Each beacon's sale detaches it from the list it came from: walk copies.
  for (xDeploymentTowerEntity* station : {this, other}) {
    if (!station) continue;
    const std::vector<xWavePointTowerEntity*> attached = station->beacons();
    for (xWavePointTowerEntity* b : attached)
      b->sell(b->getPrice() * b->getSellFactor());
  }
  clearAway();
  if (other) other->clearAway();
  else level.clearPendingPair(this);
  level.onTowersSold(other ? 2 : 1, refund);
}

// --- drawing ---

void xDeploymentTowerEntity::drawLayer(Graphics* g, ScreenBase* screen) {
  if (!flashing_) {
    if (selected_) {
      g->fillCircle(16.0f, 16.0f, kSelectRadius, 0.0f, Color(255, 184, 0, 16));
      g->drawCircle(16.0f, 16.0f, kSelectRadius, 0.1f, Color(255, 184, 0, 255));
    }
    const bool attaching = theLevel().isAttachingBeacon();
    if (attaching && previewPoints_.size() > 1) {
      const Vec2 origin(getX(), getY());
      struct Stroke {
        float width;
        Color colour;
      };
      const Stroke strokes[] = {{4.6f, Color(255, 0, 255, 64)}, {2.6f, Color(255, 0, 255, 128)},
                                {1.6f, Color(255, 0, 255, 255)}};
      for (size_t i = 0; i + 1 < previewPoints_.size(); ++i)
        for (const Stroke& s : strokes)
          g->drawLine(previewPoints_[i] - origin, previewPoints_[i + 1] - origin, s.width, true, s.colour, 0, 0);
    }
    if (attaching && hovered_) {
      const Color green(0, 255, 0, 255);
      g->drawRect(0, 0, 32, 32, green, false);
      g->drawRect(-3, -3, 38, 38, green, false);
    }
  }
  xBaseTowerEntity::drawLayer(g, screen);
}

void xDeploymentTowerEntity::infoText(Graphics* g, const Rect5& area) {
  drawPlainTowerInfo(g, area, name_, droneFiguresText(), energy_, energyMaxScaled_, info_);
}
