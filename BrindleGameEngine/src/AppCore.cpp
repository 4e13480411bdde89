#include "AppCore.h"

#include "AssertReport.h"
#include "GameExtensions/PhysicsSDK3D.h"
#include "xRenderingContext.h"

using QuillonPHX2D::xArray;

AppCore::AppCore() : renderingContext_(new xRenderingContext()) {}

AppCore::~AppCore() {
  delete renderingContext_;
  renderingContext_ = nullptr;
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
  const int count = objects_.size();
  for (int i = 0; i < count && i < objects_.size(); ++i) {
    if (AppCoreObject* object = objects_[i]) object->update();
  }
  removeFlaggedObjects();
}

void AppCore::addObject(AppCoreObject* object) {
  if (!BGE_REPORT_MSG(object != nullptr, "ERROR: AppCore::addObject with no object")) return;
  if (objects_.contains(object)) return;
  objects_.append(object);
}

void AppCore::flagForRemoval(AppCoreObject* object) {
  if (!object) return;
  object->setFlags(object->getFlags() | AppCoreObject::kFlagRemove);
  if (!removalCandidates_.contains(object)) removalCandidates_.append(object);
}

bool AppCore::contains(const AppCoreObject* object) const {
  for (int i = 0; i < objects_.size(); ++i) {
    if (objects_[i] == object) return true;
  }
  return false;
}

void AppCore::removeFlaggedObjects() {
  // Work on our own copy: a destructor may flag or add objects, which then wait
  // for the next frame.
  xArray<AppCoreObject*> candidates;
  candidates.append(removalCandidates_);
  removalCandidates_.clear();
  for (int i = 0; i < candidates.size(); ++i) {
    AppCoreObject* candidate = candidates[i];
    // Look it up before touching it: a candidate that is no longer held may be gone.
    const int index = objects_.findIndex(candidate);
    if (index < 0 || !candidate->wantsRemoval()) continue;
    objects_.remove(index, 1);
    delete candidate;
  }
}

void AppCore::deleteAllObjects() {
  xArray<AppCoreObject*> doomed;
  doomed.append(objects_);
  objects_.clear();
  doomed.deleteAll();
}
