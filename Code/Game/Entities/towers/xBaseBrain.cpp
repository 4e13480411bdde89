#include "Game/Entities/towers/xBaseBrain.h"

#include <algorithm>

#include "Game/Entities/enemies/SimpleEnemyEntity.h"
#include "Game/Entities/towers/xBaseTowerEntity.h"
#include "SafeDelete.h"
#include "tinyaction/TinyActionSequence.h"
#include "tinyaction/TinyRelIncrementator.h"

using namespace QuillonPHX2D;

xBaseBrain::xBaseBrain(xBaseTowerEntity* tower) : tower(tower) {}
xBaseBrain::~xBaseBrain() = default;

void xBaseBrain::startCycle(int ms) {
  cycle.reset();
  cycleProgress = 0.0f;
  cycle.reset(makeCycle(ms, &cycleProgress));
  cycle->start(this, kCycleEnded);
}

TinyActionSequence* xBaseBrain::makeCycle(int ms, float* progress) {
  auto* made = new TinyActionSequence(false);
  made->addAction(new TinyRelIncrementator<float>(TinyTimer(std::max(ms, 1)), progress, 1.0f, linearOperatorFunction, 1.0f));
  return made;
}

void xBaseBrain::actionPerformed(int id) {
  if (id != kCycleEnded) return;
  cycleProgress = 0.0f;
  if (cycle) cycle->start(this, kCycleEnded);
  selected = selectTargets(candidates);
}

std::vector<xSharkEntity*> xBaseBrain::think(const std::vector<xSharkEntity*>& given, int dt) {
  std::vector<xSharkEntity*> result;
  candidates = given;
  selected.clear();
  if (cycle && cycle->isRunning()) cycle->update(dt);
  switch (actionStrategy) {
    case kActionContinuous:
      result = selectTargets(candidates);
      ++fireCount;
      break;
    case kActionPeriodic:
      if (!selected.empty()) {
        result = selected;
        ++fireCount;
      }
      break;
    case kActionOnce:
      if (fireCount == 0) {
        result = selected;
        ++fireCount;
      }
      break;
    default: break;
  }
  return result;
}

namespace {

float distanceTo(xSharkEntity* e, const Vec3& from) {
  const Vec3 p = e->absPlacement();
  return qlnLenV2(Vec2(p.x - from.x, p.y - from.y));
}

// Anything that is not an enemy ship ranks as having no energy and standing still.
int energyOf(const xSharkEntity* e) {
  const auto* enemy = dynamic_cast<const xSimpleEnemy*>(e);
  return enemy ? enemy->energy() : 0;
}

float speedOf(const xSharkEntity* e) {
  const auto* enemy = dynamic_cast<const xSimpleEnemy*>(e);
  return enemy ? enemy->pathSpeed() : 0.0f;
}

}  // namespace

std::vector<xSharkEntity*> xBaseBrain::selectTargets(const std::vector<xSharkEntity*>& given) const {
  if (given.empty()) return {};
  std::vector<xSharkEntity*> ranked = given;
  const Vec3 reference = tower ? tower->absPlacement() : Vec3(0.0f, 0.0f, 0.0f);
  // Ships that rank equal keep their order of creation, so a tie is settled the same way on
  // every run whatever order the sensor reported them in.
  auto rank = [&ranked](auto before) {
    std::stable_sort(ranked.begin(), ranked.end(), [&before](xSharkEntity* a, xSharkEntity* b) {
      if (before(a, b)) return true;
      if (before(b, a)) return false;
      return a->getId() < b->getId();
    });
  };
  switch (targetSelectionStrategy) {
    case kTargetDistant:
      rank([&](xSharkEntity* a, xSharkEntity* b) { return distanceTo(a, reference) > distanceTo(b, reference); });
      break;
    case kTargetClosest:
      rank([&](xSharkEntity* a, xSharkEntity* b) { return distanceTo(a, reference) < distanceTo(b, reference); });
      break;
    case kTargetWeakest: rank([](xSharkEntity* a, xSharkEntity* b) { return energyOf(a) < energyOf(b); }); break;
    case kTargetStrongest: rank([](xSharkEntity* a, xSharkEntity* b) { return energyOf(a) > energyOf(b); }); break;
    case kTargetFirst: rank([](xSharkEntity* a, xSharkEntity* b) { return a->getId() < b->getId(); }); break;
    case kTargetLast: rank([](xSharkEntity* a, xSharkEntity* b) { return a->getId() > b->getId(); }); break;
    case kTargetSlowest: rank([](xSharkEntity* a, xSharkEntity* b) { return speedOf(a) < speedOf(b); }); break;
    case kTargetFastest: rank([](xSharkEntity* a, xSharkEntity* b) { return speedOf(a) > speedOf(b); }); break;
    default: break;
  }
  if (lockingStrategy == kLockingOn) ranked.resize(1);
  return ranked;
}
