#include "Game/Entities/towers/T3TowerEntity.h"

#include <algorithm>

#include "Graphics.h"
#include "SafeDelete.h"
#include "tinyaction/TinyActionSequence.h"
#include "tinyaction/TinyRelIncrementator.h"
#include "tinyaction/TinySetter.h"

using namespace QuillonPHX2D;

namespace {

const ShotRule kRule{"spacedog", 1.25f, "SFX_T3_FIRE", 2};
constexpr int kPulseEnded = 1;

}  // namespace

xEntity* xT3TowerDesc::createEntity() { return makeAttackTower<xT3TowerEntity>("TOWER_NAME_T3", "STAT_T3_UPGRADE"); }

xT3TowerEntity::xT3TowerEntity() = default;
xT3TowerEntity::~xT3TowerEntity() = default;

const ShotRule& xT3TowerEntity::rule() const { return kRule; }

void xT3TowerEntity::notifyCreated(xEntityDesc* desc) {
  xBaseTowerEntity::notifyCreated(desc);
  const auto* d = dynamic_cast<const xBaseTowerDesc*>(desc);
  // A zero delay would make a pulse that never takes time: one millisecond at least.
  halfMs_ = std::max(d ? d->reloadDelay : 0, 1);
  pulseAction_.reset();
  pulseAction_.reset(makePulse(halfMs_, &charge_));
}

TinyAction* xT3TowerEntity::makePulse(int halfMs, float* charge) {
  // Chained at once, so a half lasts its delay and not a frame more.
  auto* pulse = new TinyActionSequence(true);
  pulse->addAction(new TinySetter<float>(charge, 0.0f));
  pulse->addAction(new TinyRelIncrementator<float>(TinyTimer(halfMs), charge, 1.0f, linearOperatorFunction, 1.0f));
  return pulse;
}

void xT3TowerEntity::actionFinished(int tag) {
  if (tag != kPulseEnded || !pulseAction_) return;
  ready_ = !ready_;
  pulseAction_->start(this, kPulseEnded);
}

void xT3TowerEntity::update(int dt, ScreenBase* screen) {
  if (pulseAction_ && pulseAction_->isRunning()) pulseAction_->update(dt);
  xBaseTowerEntity::update(dt, screen);
}

void xT3TowerEntity::attack(const std::vector<xSharkEntity*>& targets) {
  shotList_.clear();
  if (!targets.empty() && !pulseStarted_ && pulseAction_) {
    pulseAction_->start(this, kPulseEnded);
    pulseStarted_ = true;
  }
  if (targets.empty() || !ready_) return;
  instantHits(targets, rule(), shotList_);
}

void xT3TowerEntity::drawLayer(Graphics* g, ScreenBase* screen) {
  const Color violet(188, 60, 240, 255);
  const Vec2 centre(16.0f, 16.0f);
  if (!flashing_)
    g->drawArc(16.0f, 16.0f, 5.0f, static_cast<int>(charge_ * 360.0f), 3.0f,
               ready_ ? Color(0, 255, 0, 255) : Color(255, 0, 0, 255));
  xBaseTowerEntity::drawLayer(g, screen);
  // While resting the kill points wait for the next charged frame.
  if (flashing_ || !ready_) return;
  const BeamStroke beam[] = {{charge_ + 0.1f, violet}};
  const BeamStroke kill[] = {{killLineWidth(), violet}};
  Vec2 to;
  for (xSharkEntity* target : shotList_)
    if (targetPoint(target, to)) drawBeam(g, centre, to, beam, 1);
  for (const Vec2& k : shots_) drawBeam(g, centre, k - Vec2(getX(), getY()), kill, 1);
  shots_.clear();
}
