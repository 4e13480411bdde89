#pragma once
#include <list>
#include <string>

// Base of every loadable resource. A resource loads in its constructor unless
// deferred loading is switched on; then it only records its name and waits in
// the deferred list until loadDeferred runs. The game turns it on (through a
// Scope) for what start-up registers but the title screen does not show; the
// catalogues load such a resource when it is first looked up or played.
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
  // Loads the resource now if it is still waiting; null and loaded ones pass.
  static void ensureLoaded(DeferableResource* resource);

  // Deferred loading on for the scope's life, and back as it was after.
  class Scope {
   public:
    Scope() : previous_(isDeferredLoadingOn()) { setDeferredLoading(true); }
    ~Scope() { setDeferredLoading(previous_); }
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

   private:
    bool previous_;
  };

 protected:
  // Records the name, sets the deferred flag and joins the deferred list.
  void defer(const std::string& name);
  // Clears the deferred flag and leaves the deferred list.
  void clearDeferred();

  bool deferred_ = false;
  std::string resourceName_;
};
