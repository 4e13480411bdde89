#pragma once
#include <cstddef>
#include <cstdint>
#include <map>
#include <set>

// A screen that wants to hear application-wide changes (today only event 0:
// the window mode changed).
class GlobalEventListener {
 public:
  virtual ~GlobalEventListener() = default;
  virtual void onGlobalEvent(int32_t eventId, int32_t argument) = 0;
};

// The application's small publish/subscribe table. Listeners are not owned and
// must unregister before they are destroyed.
class GlobalEventManager {
 public:
  GlobalEventManager() = default;
  virtual ~GlobalEventManager() = default;

  // The new registration's id (ids start at 0 and are never reused); -1 for null.
  int32_t registerListener(GlobalEventListener* listener);
  void subscribe(int32_t id);
  void unregisterListener(int32_t id);
  // Tells every registration subscribed to event 0, in ascending id order.
  void broadcast();

  size_t listenerCount() const { return listeners_.size(); }

 private:
  struct Registration {
    GlobalEventListener* listener;  // not owned
    std::set<int32_t> events;
  };
  std::map<int32_t, Registration> listeners_;
  int32_t lastId_ = -1;
};
