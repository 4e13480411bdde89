// Our engine's side of the benchmark: pixel units, the game's step of 1.33 per frame.
#include <algorithm>
#include <cmath>
#include <vector>

#include "Backend.h"
#include "CollisionContext/Categories/CategoryDispatcher.h"
#include "CollisionContext/Materials/MaterialDispatcher.h"
#include "Collision/Shapes/xPrimitive.h"
#include "Collision/Shapes/xPrimitiveShape.h"
#include "Configurator/ConfigContext.h"
#include "Dynamics/Bodies/xBody.h"
#include "Dynamics/World/xPhysicsContext.h"
#include "sdk/QuillonPhysicsSDK.h"
#include "sdk/xEntity.h"

namespace bench {
namespace {

using namespace QuillonPHX2D;

const float kVel = kSecondsPerUnit;                      // px/s -> px per time unit
const float kAcc = kSecondsPerUnit * kSecondsPerUnit;    // px/s^2 -> px per unit^2

// Counts the notifications sensors and bullets receive, as a game entity would.
class CountingOwner : public xEntity {
 public:
  bool notifyCollision(xShape *, xShape *, const Vec2 &, float, const Vec2 &) override {
    ++count;
    return true;
  }
  long count = 0;
};

void registerCategories() {
  xCategoryDispatcher *cats = xCategoryDispatcher::Instance();
  cats->createCategory("bench_mover", 2);
  cats->createCategory("bench_sensor", 6);
  cats->createCategory("bench_bullet", 6);
  cats->registerCategoryPair("bench_sensor", "bench_bullet", 1);
  cats->registerCategoryPair("bench_bullet", "bench_sensor", 1);
  cats->registerCategoryPair("bench_bullet", "bench_bullet", 1);
  cats->registerCategoryPair("bench_sensor", "bench_sensor", 1);
}

void applySettings(Settings settings, float gravityY) {
  xConfigurator *cfg = xConfigurator::Instance();
  cfg->gravity = Vec2(0.0f, gravityY * kAcc);
  if (settings != Settings::Game) return;
  cfg->linearRestSpeed = 0.01822f;
  cfg->angularRestSpeed = 0.01822f;
  cfg->dampingFactor = 0.998f;
  cfg->sleeping = false;
  cfg->substepping = true;
  cfg->tunnelling = true;
  cfg->separationTest = false;
  cfg->friction = false;
  cfg->iterationLimit = 4;
}

class QuillonBackend : public Backend {
 public:
  ~QuillonBackend() override {
    for (xShape *s : shapes_) delete s;
    for (xBody *b : bodies_) delete b;
    qlnDestroyQuillonSDK();
  }

  bool build(Scene const &scene, Settings settings) override {
    qlnCreateQuillonSDK();
    registerCategories();
    applySettings(settings, scene.gravityY);
    for (auto const &s : scene.segments) {
      xPrimitiveShape *shape = makeShape(new xPrimitiveLineSeg(Vec2(s.x1, s.y1), Vec2(s.x2, s.y2)), "solid_geometry");
      shape->initialize();
    }
    for (auto const &s : scene.sensors) {
      xPrimitiveShape *shape = makeShape(new xPrimitiveCircle(s.radius), "bench_sensor");
      shape->setOwner(&owner_);
      shape->setAbsPlacement(Vec3(s.x, s.y, 0.0f));
      shape->initialize();
    }
    for (auto const &b : scene.bodies) {
      xBody *body = new xBody3DOF();
      xPrimitive *env = b.kind == BodyKind::Circle ? static_cast<xPrimitive *>(new xPrimitiveCircle(b.radius))
                                                   : static_cast<xPrimitive *>(new xPrimitiveBox(b.w, b.h));
      float mass = env->volume() / 100.0f;
      body->setMass(mass);
      body->setInertiaVec(env->inertia() * mass);
      body->setAbsPlacement(Vec3(b.x, b.y, 0.0f));
      body->setVelocity(Vec2(b.vx * kVel, b.vy * kVel));
      body->setAngVelocity(b.angVel * kVel);
      const char *category = b.role == Role::Mover ? "bench_mover" : b.role == Role::Bullet ? "bench_bullet" : "default";
      xPrimitiveShape *shape = makeShape(env, category);
      if (b.role != Role::Solid) shape->setOwner(&owner_);
      shape->setAscendant(body);
      shape->setRelPlacement(Vec3(0.0f, 0.0f, 0.0f));  // centred on its body
      shape->setBody(body);
      body->initialize();
      shape->initialize();
      bodies_.push_back(body);
    }
    return true;
  }

  void drive(Scene const &scene, float t) override {
    for (size_t i = 0; i < bodies_.size(); ++i) {
      BodyDef const &b = scene.bodies[i];
      if (b.role == Role::Mover) {
        float vx, vy;
        moverVelocity(b, t, vx, vy);
        bodies_[i]->setVelocity(Vec2(vx * kVel, vy * kVel));
      } else if (b.role == Role::Bullet) {
        Vec3 p = bodies_[i]->absPlacement();
        if (p.x < 0 || p.x > scene.fieldW || p.y < 0 || p.y > scene.fieldH) {
          p.x = p.x < 0 ? p.x + scene.fieldW : (p.x > scene.fieldW ? p.x - scene.fieldW : p.x);
          p.y = p.y < 0 ? p.y + scene.fieldH : (p.y > scene.fieldH ? p.y - scene.fieldH : p.y);
          bodies_[i]->setAbsPlacement(p);
        }
      }
    }
  }

  void step() override { g_ptrSDK->updateF(kGameStep); }

  float maxPenetration() override {
    float worst = 0;
    xArray<xTempContact> &contacts = g_ptrSDK->physicsContext()->tempContacts();
    for (int i = 0; i < contacts.size(); ++i) worst = std::max(worst, contacts[i].depth);
    return worst;
  }

  float maxSpeed() override {
    float best = 0;
    for (xBody *b : bodies_) {
      Vec2 v = b->getVelocity();
      best = std::max(best, std::sqrt(v.x * v.x + v.y * v.y) / kVel);
    }
    return best;
  }

  double kineticEnergy() override {
    double e = 0;
    for (xBody *b : bodies_) {
      Vec2 v = b->getVelocity();
      double vx = v.x / kVel, vy = v.y / kVel;
      e += 0.5 * b->getMass() * (vx * vx + vy * vy);
    }
    return e;
  }

 private:
  xPrimitiveShape *makeShape(xPrimitive *env, const char *category) {
    xPrimitiveShape *shape = new xPrimitiveShape();
    shape->setEnvelope(env);
    shape->setCollisionCategory(category);
    shapes_.push_back(shape);
    return shape;
  }

  CountingOwner owner_;
  std::vector<xBody *> bodies_;
  std::vector<xShape *> shapes_;
};

}  // namespace

std::unique_ptr<Backend> makeQuillon() { return std::make_unique<QuillonBackend>(); }

}  // namespace bench
