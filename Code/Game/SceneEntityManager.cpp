#include "Game/SceneEntityManager.h"

#include <algorithm>

#include "Game/Entities/xSharkEntity.h"
#include "ResourceManager.h"
#include "ScreenBase.h"
#include "WidgetManager.h"
#include "sdk/QuillonPhysicsSDK.h"

using QuillonPHX2D::g_ptrSDK;

SceneEntityManager::~SceneEntityManager() {
  removeAllEntities();
  owner_ = nullptr;
}

void SceneEntityManager::addEntity(xSharkEntity* entity, bool visible) {
  if (!owner_ || !entity) return;
  if (places_.count(entity)) return;
  entity->setVisible(visible);
  ScreenBase* screen = owner_->getOwner();
  if (screen) {
    screen->addWidget(entity, !sortOnAdd_);
    entity->loadResources(screen->getResourceManager());
  } else {
    owner_->addWidget(entity, !sortOnAdd_);
  }
  places_.insert(entity, nextSerial_);
  serials_.push_back(nextSerial_++);
  entities_.push_back(entity);
  if (entity->asTower() || entity->asSupportTower()) standing_.push_back(entity);
  entity->setSceneEntityManager(this);
}

void SceneEntityManager::scheduleRemoval(xSharkEntity* entity, bool destroy) {
  if (!entity || !scheduled_.insert(entity)) return;
  removals_.push_back(entity);
  destroyFlags_.push_back(destroy);
}

bool SceneEntityManager::isScheduledForRemoval(const xSharkEntity* entity) const {
  return scheduled_.count(entity) > 0;
}

xSharkEntity* SceneEntityManager::findLiveEntity(const xSharkEntity* entity) const {
  if (!entity || isScheduledForRemoval(entity) || !places_.count(entity)) return nullptr;
  return const_cast<xSharkEntity*>(entity);
}

namespace {

void takeOffScreen(WidgetManager* owner, xSharkEntity* entity) {
  if (ScreenBase* screen = owner->getOwner()) screen->removeWidget(entity);
  else owner->removeWidget(entity);
}

}  // namespace

void SceneEntityManager::processRemovals() {
  if (!owner_) return;
  // The queue is taken first: a destructor may queue further removals, which wait
  // for the next pass instead of changing the lists walked here.
  std::vector<xSharkEntity*> queue;
  std::vector<bool> flags;
  queue.swap(removals_);
  flags.swap(destroyFlags_);
  scheduled_.clear();
  int destroyed = 0;
  bool taken = false;
  for (size_t i = 0; i < queue.size(); ++i) {
    xSharkEntity* entity = queue[i];
    const unsigned long long* place = places_.find(entity);
    if (!place) continue;
    const size_t at = std::lower_bound(serials_.begin(), serials_.end(), *place) - serials_.begin();
    entities_[at] = nullptr;
    places_.erase(entity);
    if (entity->asTower() || entity->asSupportTower()) {
      auto standingPlace = std::find(standing_.begin(), standing_.end(), entity);
      if (standingPlace != standing_.end()) standing_.erase(standingPlace);
    }
    taken = true;
    takeOffScreen(owner_, entity);
    if (flags[i]) {
      if (g_ptrSDK) g_ptrSDK->destroyEntity(entity);
      ++destroyed;
    } else {
      // It lives on in the physics world, but this manager no longer shows it.
      entity->setSceneEntityManager(nullptr);
    }
  }
  if (taken) {
    size_t kept = 0;
    for (size_t i = 0; i < entities_.size(); ++i) {
      if (!entities_[i]) continue;
      entities_[kept] = entities_[i];
      serials_[kept++] = serials_[i];
    }
    entities_.resize(kept);
    serials_.resize(kept);
  }
  // The queue's storage serves the next frame's requests, unless some came meanwhile: a
  // busy field queues thousands a frame, and growing a fresh list each time costs more than
  // the removals.
  if (removals_.empty()) {
    queue.clear();
    flags.clear();
    removals_.swap(queue);
    destroyFlags_.swap(flags);
  }
  if (destroyed > 0) onWaveFinished();
}

void SceneEntityManager::removeAllEntities() {
  if (!owner_) return;
  std::vector<xSharkEntity*> all;
  all.swap(entities_);
  standing_.clear();
  serials_.clear();
  places_.clear();
  removals_.clear();
  scheduled_.clear();
  destroyFlags_.clear();
  for (xSharkEntity* entity : all) {
    takeOffScreen(owner_, entity);
    if (g_ptrSDK) g_ptrSDK->destroyEntity(entity);
  }
}
