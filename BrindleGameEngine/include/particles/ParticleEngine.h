#pragma once
#include <cstddef>
#include <map>
#include <memory>

#include "DynamicResources/SingletonContainer.h"

class ParticlePatch;

// The one particle engine: owns particle patches under integer keys.
class ParticleEngine : public SingletonContainer<ParticleEngine> {
 public:
  // The engine, made on the first call.
  static ParticleEngine* instance();

  ParticleEngine() = default;
  virtual ~ParticleEngine();
  ParticleEngine(const ParticleEngine&) = delete;
  ParticleEngine& operator=(const ParticleEngine&) = delete;

  // Takes ownership; a different patch already under the key is deleted.
  void registerPatch(int key, ParticlePatch* patch);
  ParticlePatch* getPatch(int key) const;
  size_t patchCount() const { return patches_.size(); }
  // Moves every patch by dt milliseconds.
  void update(int dt);
  // Deletes every patch.
  void clear();

 private:
  std::map<int, std::unique_ptr<ParticlePatch>> patches_;
};
