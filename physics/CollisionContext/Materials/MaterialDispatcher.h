#pragma once
#include <string>

#include "Foundation/QlnExport.h"
#include "Foundation/Templates/xArray.h"

namespace QuillonPHX2D {

// A surface material: what contact rows read for friction and restitution.
class QLN_API xMaterial {
 public:
  xMaterial();
  xMaterial(const std::string &label, float density, float restitution, float dynamicFriction, float rollingFriction,
            float reflection);
  xMaterial(const xMaterial &) = default;
  xMaterial &operator=(const xMaterial &) = default;

  const std::string &label() const { return label_; }
  float density() const { return density_; }
  float restitution() const { return restitution_; }
  float dynamicFriction() const { return dynamicFriction_; }
  float rollingFriction() const { return rollingFriction_; }
  float reflection() const { return reflection_; }
  void setLabel(const std::string &l) { label_ = l; }
  void setDensity(float v) { density_ = v; }
  void setRestitution(float v) { restitution_ = v; }
  void setDynamicFriction(float v) { dynamicFriction_ = v; }
  void setRollingFriction(float v) { rollingFriction_ = v; }
  void setReflection(float v) { reflection_ = v; }

 private:
  std::string label_;
  float density_;
  float restitution_;
  float dynamicFriction_;
  float rollingFriction_;
  float reflection_;
};

// The process-wide material registry; created on first use, never destroyed. Owns its
// materials. The first entry is always "default_Material".
class QLN_API xMaterialDispatcher {
 public:
  static xMaterialDispatcher *Instance();
  static xMaterialDispatcher *mdp_ptrInstance;

  // Nothing happens when the label exists already (the old material keeps its values).
  void createMaterial(const std::string &name, float density, float restitution, float dynamicFriction,
                      float rollingFriction, float reflection);
  // Takes ownership and returns true; false (ownership stays with the caller) for null or a
  // label that is already registered.
  bool registerMaterial(xMaterial *m);
  xMaterial *obtainMaterialByName(const std::string &name);
  xMaterial *defaultMaterial();
  int materialsCount() const { return materials_.size(); }
  void init() {}

  xMaterialDispatcher(const xMaterialDispatcher &) = delete;
  xMaterialDispatcher &operator=(const xMaterialDispatcher &) = delete;

 private:
  xMaterialDispatcher();
  ~xMaterialDispatcher();

  xArray<xMaterial *> materials_;
};

}  // namespace QuillonPHX2D
