#include "AppCore.h"

#include <algorithm>

#include "AssertReport.h"
#include "GameExtensions/PhysicsSDK3D.h"
#include "xRenderingContext.h"

using QuillonPHX2D::xArray;

AppCore::AppCore() : renderingContext_(std::make_unique<xRenderingContext>()) {}

AppCore::~AppCore() {
  // The rendering context goes before the objects.
  renderingContext_.reset();
  deleteAllObjects();
  removalCandidates_.clear();
}

void AppCore::init() {
  deleteAllObjects();
  // The candidates named objects that are gone now.
  removalCandidates_.clear();
  renderingContext_->init();
}

void AppCore::preStep(int milliseconds) {
  // The world only exists when some code created it and set the global.
  QuillonPHX2D::qlnPreStep3D(milliseconds);
  update();
}

void AppCore::update() {
  if (paused_) return;
  // Objects added by an update wait for the next frame.
  const size_t count = objects_.size();
  for (size_t i = 0; i < count && i < objects_.size(); ++i) {
    if (AppCoreObject* object = objects_[i].get()) object->update();
  }
  removeFlaggedObjects();
}

void AppCore::addObject(AppCoreObject* object) {
  if (!BGE_REPORT_MSG(object != nullptr, "ERROR: AppCore::addObject with no object")) return;
  if (contains(object)) return;
  objects_.emplace_back(object);
}

void AppCore::flagForRemoval(AppCoreObject* object) {
  if (!object) return;
  object->setFlags(object->getFlags() | AppCoreObject::kFlagRemove);
  if (!removalCandidates_.contains(object)) removalCandidates_.append(object);
}

size_t AppCore::indexOf(const AppCoreObject* object) const {
  const auto same = [object](const std::unique_ptr<AppCoreObject>& entry) { return entry.get() == object; };
  const auto held = std::find_if(objects_.begin(), objects_.end(), same);
  return static_cast<size_t>(held - objects_.begin());
}

bool AppCore::contains(const AppCoreObject* object) const { return indexOf(object) < objects_.size(); }

void AppCore::removeFlaggedObjects() {
  // Work on our own copy: a destructor may flag or add objects, which then wait
  // for the next frame.
  xArray<AppCoreObject*> candidates;
  candidates.append(removalCandidates_);
  removalCandidates_.clear();
  for (int i = 0; i < candidates.size(); ++i) {
    AppCoreObject* candidate = candidates[i];
    // Look it up before touching it: a candidate that is no longer held may be gone.
    const size_t index = indexOf(candidate);
    if (index == objects_.size() || !candidate->wantsRemoval()) continue;
    // Out of the list before it is deleted.
    std::unique_ptr<AppCoreObject> doomed = std::move(objects_[index]);
    objects_.erase(objects_.begin() + static_cast<std::ptrdiff_t>(index));
  }
}

void AppCore::deleteAllObjects() {
  // Emptied first, so a destructor that looks at the list finds nothing; freed in order.
  std::vector<std::unique_ptr<AppCoreObject>> doomed;
  doomed.swap(objects_);
  for (std::unique_ptr<AppCoreObject>& object : doomed) object.reset();
}
