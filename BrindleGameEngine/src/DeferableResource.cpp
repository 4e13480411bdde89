#include "DeferableResource.h"

#include <algorithm>

namespace {
bool g_deferredLoading = false;
std::list<DeferableResource*>& deferredQueue() {
  static std::list<DeferableResource*> queue;
  return queue;
}
}  // namespace

DeferableResource::~DeferableResource() {
  // A resource deleted before it loaded must not stay in the queue.
  clearDeferred();
}

bool DeferableResource::isDeferredLoadingOn() { return g_deferredLoading; }

void DeferableResource::setDeferredLoading(bool on) { g_deferredLoading = on; }

const std::list<DeferableResource*>& DeferableResource::deferredList() { return deferredQueue(); }

void DeferableResource::ensureLoaded(DeferableResource* resource) {
  if (resource && resource->deferred_) resource->loadDeferred();
}

void DeferableResource::defer(const std::string& name) {
  resourceName_ = name;
  if (!deferred_) deferredQueue().push_back(this);
  deferred_ = true;
}

void DeferableResource::clearDeferred() {
  if (deferred_) deferredQueue().remove(this);
  deferred_ = false;
}
