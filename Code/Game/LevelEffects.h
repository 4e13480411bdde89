#pragma once
// What the level makes on the entities' behalf: particles (hits, rings, explosions),
// homing missiles, and the one description of each enemy bullet file. Entities ask
// the level rather than making these themselves, because the level owns the kinds and
// registers each new entity with the physics world and the scene.
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Color.h"
#include "Foundation/Math/QlnMath.h"
#include "Game/Entities/missiles/xPlayerSmartMissileEntity.h"
#include "Game/Entities/shots/xSimpleParticle.h"

class SceneEntityManager;
class WaveFlow;
class xBaseTowerEntity;
class xEnemyBulletEntityDesc;
class xSharkEntity;

class LevelEffects {
 public:
  // Particle kinds: 0 the level's own (hits, rings, explosions), 1 plain sparks.
  enum { kParticleKinds = 2 };
  // Particles alive at once that the level's effects go on adding to. A crowd of ships
  // under every tower asks for thousands a frame, each an entity, a body and a shape;
  // past the budget a particle is left out, which nobody sees on a field already full
  // of them, and the frame's cost stays with the ships rather than with their hits.
  // The campaign's busiest moment holds about 630.
  static constexpr int kParticleBudget = 2048;

  LevelEffects(SceneEntityManager& scene, const WaveFlow& flow);
  ~LevelEffects();

  void loadParticleKinds();
  void loadMissileKinds();

  // 20 particles thrown back against the hit direction.
  void spawnHit(const QuillonPHX2D::Vec2& hitDirection, const QuillonPHX2D::Vec2& position, float strength,
                const Color& colour);
  // A ring of 12 particles at 30 degree steps, the first along +x, made from the given
  // kind (callers pass a copy of particleDescription()).
  void spawnRing(const QuillonPHX2D::Vec2& position, float strength, const Color& colour,
                 xSimpleParticleEntityDesc description);
  // An explosion of count particles in random directions.
  void spawnScatter(const QuillonPHX2D::Vec2& position, const Color& colour, int count);
  const xSimpleParticleEntityDesc& particleDescription(int kind) const;
  void setParticleBudget(int budget) { particleBudget_ = budget; }
  // Makes the particles asked for while the physics world was stepping.
  void flushRequests();
  // At a wave's end every homing missile goes; one still over the field bursts first.
  void burstMissilesAtWaveEnd();

  // A copy of the description whose type is the kind, or a default one when no file
  // gave that type.
  xPlayerSmartMissileEntityDesc missileDescription(int kind) const;
  // A missile of the kind from the tower at the point, aimed at the target; a fast
  // game gives faster missiles.
  void launchMissile(const QuillonPHX2D::Vec2& launchPoint, xBaseTowerEntity* tower, int kind, xSharkEntity* target,
                     float damageFactor);

  // The level's one description of each enemy bullet file.
  xEnemyBulletEntityDesc* enemyBulletKind(const std::string& path);

 private:
  // Whether the budget leaves room for one more particle.
  bool particleRoom() const;
  // A particle of the kind on the scene at the position, facing and thrown along the
  // angle with that speed and push; null when the world or the kind cannot make one.
  xSimpleParticle* throwParticle(xSimpleParticleEntityDesc& desc, const QuillonPHX2D::Vec2& position, float angle,
                                 const Color& colour, float speed, float push);

  SceneEntityManager& scene_;
  const WaveFlow& flow_;
  xSimpleParticleEntityDesc particleDescs_[kParticleKinds];
  int particleBudget_ = kParticleBudget;
  // Particles asked for from inside a contact: the world cannot take new shapes while
  // it walks its own, so they are made when the step is over.
  std::vector<std::function<void()>> particleRequests_;
  // The missile kinds in file order (eagereagle, triton, doubleeagereagle).
  std::vector<xPlayerSmartMissileEntityDesc> missileDescs_;
  // Enemy bullet descriptions by file; owned.
  std::map<std::string, std::unique_ptr<xEnemyBulletEntityDesc>> bulletKinds_;
};
