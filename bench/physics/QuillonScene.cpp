#include "QuillonScene.h"

#include "CollisionContext/Categories/CategoryDispatcher.h"
#include "Collision/Shapes/xPrimitive.h"
#include "Collision/Shapes/xPrimitiveShape.h"
#include "Configurator/ConfigContext.h"
#include "Dynamics/Bodies/xBody.h"
#include "sdk/QuillonPhysicsSDK.h"

namespace bench {
namespace {

using namespace QuillonPHX2D;

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
  cfg->gravity = Vec2(0.0f, gravityY * kQuillonAcc);
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

}  // namespace

QuillonScene::~QuillonScene() {
  for (xShape *s : shapes_) delete s;
  for (xBody *b : bodies_) delete b;
  if (built_) qlnDestroyQuillonSDK();
}

void QuillonScene::build(Scene const &scene, Settings settings) {
  qlnCreateQuillonSDK();
  built_ = true;
  registerCategories();
  applySettings(settings, scene.gravityY);
  for (auto const &s : scene.segments) {
    xShape *shape = makeShape(new xPrimitiveLineSeg(Vec2(s.x1, s.y1), Vec2(s.x2, s.y2)), "solid_geometry");
    shape->initialize();
  }
  for (auto const &s : scene.sensors) {
    xShape *shape = makeShape(new xPrimitiveCircle(s.radius), "bench_sensor");
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
    body->setVelocity(Vec2(b.vx * kQuillonVel, b.vy * kQuillonVel));
    body->setAngVelocity(b.angVel * kQuillonVel);
    const char *category = b.role == Role::Mover ? "bench_mover" : b.role == Role::Bullet ? "bench_bullet" : "default";
    xShape *shape = makeShape(env, category);
    if (b.role != Role::Solid) shape->setOwner(&owner_);
    shape->setAscendant(body);
    shape->setRelPlacement(Vec3(0.0f, 0.0f, 0.0f));  // centred on its body
    shape->setBody(body);
    body->initialize();
    shape->initialize();
    bodies_.push_back(body);
  }
}

void QuillonScene::drive(Scene const &scene, float t) {
  for (size_t i = 0; i < bodies_.size(); ++i) {
    BodyDef const &b = scene.bodies[i];
    if (b.role == Role::Mover) {
      float vx, vy;
      moverVelocity(b, t, vx, vy);
      bodies_[i]->setVelocity(Vec2(vx * kQuillonVel, vy * kQuillonVel));
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

void QuillonScene::step() { g_ptrSDK->updateF(kGameStep); }

xShape *QuillonScene::makeShape(xPrimitive *env, const char *category) {
  xPrimitiveShape *shape = new xPrimitiveShape();
  shape->setEnvelope(env);
  shape->setCollisionCategory(category);
  shapes_.push_back(shape);
  return shape;
}

}  // namespace bench
