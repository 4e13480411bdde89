#pragma once
#include <list>
#include <string>

// Base of every loadable resource. A resource loads in its constructor unless
// deferred loading is switched on; then it only records its name and waits in
// the deferred list until loadDeferred runs. Nothing in the game turns it on.
class DeferableResource {
 public:
  DeferableResource() = default;
  virtual ~DeferableResource();
  DeferableResource(const DeferableResource&) = delete;
  DeferableResource& operator=(const DeferableResource&) = delete;

  // Loads what the constructor only recorded; returns whether it loaded.
  virtual bool loadDeferred() = 0;

  bool isDeferred() const { return deferred_; }
  const std::string& getResourceName() const { return resourceName_; }

  static bool isDeferredLoadingOn();
  static void setDeferredLoading(bool on);
  // Resources waiting for loadDeferred, in the order they were made.
  static const std::list<DeferableResource*>& deferredList();

 protected:
  // Records the name, sets the deferred flag and joins the deferred list.
  void defer(const std::string& name);
  // Clears the deferred flag and leaves the deferred list.
  void clearDeferred();

  bool deferred_ = false;
  std::string resourceName_;
};
