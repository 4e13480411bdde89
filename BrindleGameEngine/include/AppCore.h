#pragma once
#include <memory>
#include <vector>

#include "AppCoreObject.h"
#include "Foundation/Templates/xArray.h"

class AppCamera;
class xRenderingContext;

// The application's per-frame service: owns the 3D rendering context, may hold a
// camera, steps the 3D contact world when one exists and updates its objects.
class AppCore {
 public:
  AppCore();
  ~AppCore();
  AppCore(const AppCore&) = delete;
  AppCore& operator=(const AppCore&) = delete;

  // Deletes every object and (re)initialises the rendering context; needs a GL context.
  void init();
  // The frame loop's call in 3D mode: steps the 3D world by ms x 0.1 (0.01 for a
  // frame that is not positive), with no time scale, then runs update().
  void preStep(int milliseconds);
  // Unless paused: updates every object in order, then deletes those flagged for removal.
  void update();

  // Takes ownership. An object already held is not added twice.
  void addObject(AppCoreObject* object);
  // Sets the object's removal flag; it is deleted at the end of the next unpaused update.
  void flagForRemoval(AppCoreObject* object);
  bool contains(const AppCoreObject* object) const;
  int getObjectCount() const { return static_cast<int>(objects_.size()); }

  AppCamera* getCamera() const { return camera_; }
  // Not owned.
  void setCamera(AppCamera* camera) { camera_ = camera; }
  xRenderingContext* getRenderingContext() const { return renderingContext_.get(); }
  bool isPaused() const { return paused_ != 0; }
  void setPaused(bool paused) { paused_ = paused ? 1 : 0; }

 private:
  // Where the object is held; the list's size when it is not.
  size_t indexOf(const AppCoreObject* object) const;
  void removeFlaggedObjects();
  void deleteAllObjects();

  std::unique_ptr<xRenderingContext> renderingContext_;
  AppCamera* camera_ = nullptr;  // not owned: whoever set it
  std::vector<std::unique_ptr<AppCoreObject>> objects_;
  // Not owned: objects_ holds them, or held them (a candidate may be gone already).
  QuillonPHX2D::xArray<AppCoreObject*> removalCandidates_;
  int paused_ = 0;
};
