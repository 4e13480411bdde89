#include "System/GlobalEventManager.h"

#include <vector>

#include "AssertReport.h"

int32_t GlobalEventManager::registerListener(GlobalEventListener* listener) {
  if (!BGE_REPORT_MSG(listener != nullptr, "ERROR: Listener can't be NULL!!!")) return -1;
  const int32_t id = ++lastId_;
  listeners_[id] = Registration{listener, {}};
  return id;
}

void GlobalEventManager::subscribe(int32_t id) {
  auto it = listeners_.find(id);
  if (!BGE_REPORT_MSG(it != listeners_.end(), "WARNING: Selected listener id not registered here.")) return;
  it->second.events.insert(0);
}

void GlobalEventManager::unregisterListener(int32_t id) {
  auto it = listeners_.find(id);
  if (!BGE_REPORT_MSG(it != listeners_.end(), "WARNING: Selected listener id not registered here.")) return;
  listeners_.erase(it);
}

void GlobalEventManager::broadcast() {
  // A listener may unregister (itself or another) while it is told: walk a
  // snapshot of the ids and look each one up again.
  std::vector<int32_t> ids;
  ids.reserve(listeners_.size());
  for (const auto& item : listeners_) ids.push_back(item.first);
  for (int32_t id : ids) {
    auto it = listeners_.find(id);
    if (it == listeners_.end() || !it->second.events.count(0)) continue;
    it->second.listener->onGlobalEvent(0, 0);
  }
}
