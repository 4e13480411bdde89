#pragma once
#include <cstddef>
#include <vector>

#include "PointerTable.h"

class WidgetManager;
class xSharkEntity;

// A screen's register of game entities. It puts them on the screen and takes them
// off again; taking off waits for the one removal pass per frame, so an entity can
// ask for its own removal from inside a contact, an update or a draw. It never owns
// an entity: the physics world does.
class SceneEntityManager {
 public:
  SceneEntityManager() = default;
  // Removes and destroys what it still shows.
  virtual ~SceneEntityManager();
  SceneEntityManager(const SceneEntityManager&) = delete;
  SceneEntityManager& operator=(const SceneEntityManager&) = delete;

  // Called after a removal pass that destroyed at least one entity.
  virtual void onWaveFinished() {}

  // The owner's screen gets the entity as a widget; without an owner nothing happens.
  void addEntity(xSharkEntity* entity, bool visible);
  // The first request for an entity stands (its destroy flag too).
  void scheduleRemoval(xSharkEntity* entity, bool destroy);
  void processRemovals();
  bool isScheduledForRemoval(const xSharkEntity* entity) const;
  // The same pointer while the entity is managed and not queued for removal, else
  // null. Every pointer to another entity kept across frames goes through this.
  xSharkEntity* findLiveEntity(const xSharkEntity* entity) const;
  void removeAllEntities();

  void setOwner(WidgetManager* owner) { owner_ = owner; }
  WidgetManager* getOwner() const { return owner_; }
  const std::vector<xSharkEntity*>& entities() const { return entities_; }
  // The towers and support towers among entities(), in the same order: the level walks
  // them several times a frame, and they are a few among thousands of shots and particles.
  const std::vector<xSharkEntity*>& standing() const { return standing_; }
  void setSortOnAdd(bool sort) { sortOnAdd_ = sort; }

 private:
  WidgetManager* owner_ = nullptr;  // not owned; null = detached
  std::vector<xSharkEntity*> entities_;
  std::vector<xSharkEntity*> standing_;
  // The serial each entity was added under (rising), in the order of entities_, and each
  // entity's serial, and what removals_ holds: the lookups each frame makes for every kept
  // pointer cost the same however crowded the field is, and a removal finds its place by a
  // binary search instead of every place being written again.
  std::vector<unsigned long long> serials_;
  PointerTable<unsigned long long> places_;
  unsigned long long nextSerial_ = 0;
  PointerMembers scheduled_;
  std::vector<xSharkEntity*> removals_;
  std::vector<bool> destroyFlags_;
  bool sortOnAdd_ = true;
};
