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
  if (std::find(entities_.begin(), entities_.end(), entity) != entities_.end()) return;
  entity->setVisible(visible);
  ScreenBase* screen = owner_->getOwner();
  if (screen) {
    screen->addWidget(entity, !sortOnAdd_);
    entity->loadResources(screen->getResourceManager());
  } else {
    owner_->addWidget(entity, !sortOnAdd_);
  }
  entities_.push_back(entity);
  entity->setSceneEntityManager(this);
}

void SceneEntityManager::scheduleRemoval(xSharkEntity* entity, bool destroy) {
  if (!entity || isScheduledForRemoval(entity)) return;
  removals_.push_back(entity);
  destroyFlags_.push_back(destroy);
}

bool SceneEntityManager::isScheduledForRemoval(const xSharkEntity* entity) const {
  return std::find(removals_.begin(), removals_.end(), entity) != removals_.end();
}

xSharkEntity* SceneEntityManager::findLiveEntity(const xSharkEntity* entity) const {
  if (!entity || isScheduledForRemoval(entity)) return nullptr;
  auto it = std::find(entities_.begin(), entities_.end(), entity);
  return it == entities_.end() ? nullptr : *it;
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
  int destroyed = 0;
  for (size_t i = 0; i < queue.size(); ++i) {
    xSharkEntity* entity = queue[i];
    auto it = std::find(entities_.begin(), entities_.end(), entity);
    if (it == entities_.end()) continue;
    *it = nullptr;
    takeOffScreen(owner_, entity);
    if (flags[i]) {
      if (g_ptrSDK) g_ptrSDK->destroyEntity(entity);
      ++destroyed;
    } else {
      // It lives on in the physics world, but this manager no longer shows it.
      entity->setSceneEntityManager(nullptr);
    }
  }
  entities_.erase(std::remove(entities_.begin(), entities_.end(), nullptr), entities_.end());
  if (destroyed > 0) onWaveFinished();
}

void SceneEntityManager::removeAllEntities() {
  if (!owner_) return;
  std::vector<xSharkEntity*> all;
  all.swap(entities_);
  removals_.clear();
  destroyFlags_.clear();
  for (xSharkEntity* entity : all) {
    takeOffScreen(owner_, entity);
    if (g_ptrSDK) g_ptrSDK->destroyEntity(entity);
  }
}
