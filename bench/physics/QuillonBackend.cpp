// Our engine's side of the benchmark: pixel units, the game's step of 1.33 per frame.
#include <algorithm>
#include <cmath>

#include "Backend.h"
#include "Dynamics/Bodies/xBody.h"
#include "Dynamics/World/xPhysicsContext.h"
#include "QuillonScene.h"
#include "sdk/QuillonPhysicsSDK.h"

namespace bench {
namespace {

using namespace QuillonPHX2D;

class QuillonBackend : public Backend {
 public:
  bool build(Scene const &scene, Settings settings) override {
    scene_.build(scene, settings);
    return true;
  }

  void drive(Scene const &scene, float t) override { scene_.drive(scene, t); }

  void step() override { scene_.step(); }

  float maxPenetration() override {
    float worst = 0;
    xArray<xTempContact> &contacts = g_ptrSDK->physicsContext()->tempContacts();
    for (int i = 0; i < contacts.size(); ++i) worst = std::max(worst, contacts[i].depth);
    return worst;
  }

  float maxSpeed() override {
    float best = 0;
    for (xBody *b : scene_.bodies()) {
      Vec2 v = b->getVelocity();
      best = std::max(best, std::sqrt(v.x * v.x + v.y * v.y) / kQuillonVel);
    }
    return best;
  }

  double kineticEnergy() override {
    double e = 0;
    for (xBody *b : scene_.bodies()) {
      Vec2 v = b->getVelocity();
      double vx = v.x / kQuillonVel, vy = v.y / kQuillonVel;
      e += 0.5 * b->getMass() * (vx * vx + vy * vy);
    }
    return e;
  }

 private:
  QuillonScene scene_;
};

}  // namespace

std::unique_ptr<Backend> makeQuillon() { return std::make_unique<QuillonBackend>(); }

}  // namespace bench
