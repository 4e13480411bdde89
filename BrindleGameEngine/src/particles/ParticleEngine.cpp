#include "particles/ParticleEngine.h"

#include "particles/ParticlePatch.h"

namespace {
ParticleEngine* g_particleEngine = nullptr;
}

ParticleEngine* ParticleEngine::instance() {
  if (!g_particleEngine) g_particleEngine = new ParticleEngine();
  return g_particleEngine;
}

ParticleEngine::~ParticleEngine() {
  if (g_particleEngine == this) g_particleEngine = nullptr;
}

void ParticleEngine::registerPatch(int key, ParticlePatch* patch) {
  std::unique_ptr<ParticlePatch>& slot = patches_[key];
  if (slot.get() != patch) slot.reset(patch);
}

ParticlePatch* ParticleEngine::getPatch(int key) const {
  const auto it = patches_.find(key);
  return it == patches_.end() ? nullptr : it->second.get();
}

void ParticleEngine::update(int dt) {
  for (auto& entry : patches_) {
    if (entry.second) entry.second->update(dt);
  }
}

void ParticleEngine::clear() { patches_.clear(); }
