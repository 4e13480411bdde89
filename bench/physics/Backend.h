#pragma once
// One physics engine under test. Backends build a scene, step it, and answer quality probes;
// all probes are in pixels and seconds whatever the engine's own units.
#include <memory>

#include "BenchScene.h"

namespace bench {

class Backend {
 public:
  virtual ~Backend() = default;
  // false when the scene does not map onto this engine.
  virtual bool build(Scene const &scene, Settings settings) = 0;
  // Outside the timed section: steer movers, wrap bullets. t is the scene time in seconds.
  virtual void drive(Scene const &scene, float t) = 0;
  virtual void step() = 0;
  virtual float maxPenetration() = 0;  // px, over solid contacts of the last step
  virtual float maxSpeed() = 0;        // px/s over dynamic bodies
  virtual double kineticEnergy() = 0;  // sum of m v^2 / 2 in px and s, mass as the engine has it
};

std::unique_ptr<Backend> makeQuillon();
std::unique_ptr<Backend> makeBox2D();
std::unique_ptr<Backend> makeChipmunk();  // null when built without Chipmunk

}  // namespace bench
