// Box2D 2.4 side of the benchmark: 32 pixels per metre, 1/60 s steps, 8 velocity and
// 3 position iterations (the library's usual settings).
#include <box2d/box2d.h>

#include <algorithm>
#include <vector>

#include "Backend.h"

namespace bench {
namespace {

constexpr float kToM = 1.0f / kPixelsPerMetre;

enum : uint16 { kMoverBits = 1, kSensorBits = 2, kBulletBits = 4 };

class Box2DBackend : public Backend {
 public:
  bool build(Scene const &scene, Settings) override {
    world_ = std::make_unique<b2World>(b2Vec2(0.0f, scene.gravityY * kToM));
    b2BodyDef groundDef;
    b2Body *ground = world_->CreateBody(&groundDef);
    for (auto const &s : scene.segments) {
      b2EdgeShape e;
      e.SetTwoSided(b2Vec2(s.x1 * kToM, s.y1 * kToM), b2Vec2(s.x2 * kToM, s.y2 * kToM));
      ground->CreateFixture(&e, 0.0f);
    }
    for (auto const &s : scene.sensors) {
      b2CircleShape c;
      c.m_p.Set(s.x * kToM, s.y * kToM);
      c.m_radius = s.radius * kToM;
      b2FixtureDef fd;
      fd.shape = &c;
      fd.isSensor = true;
      fd.filter.categoryBits = kSensorBits;
      fd.filter.maskBits = kMoverBits;
      ground->CreateFixture(&fd);
    }
    for (auto const &b : scene.bodies) {
      b2BodyDef bd;
      bd.type = b2_dynamicBody;
      bd.position.Set(b.x * kToM, b.y * kToM);
      bd.linearVelocity.Set(b.vx * kToM, b.vy * kToM);
      bd.angularVelocity = b.angVel;
      b2Body *body = world_->CreateBody(&bd);
      b2CircleShape c;
      b2PolygonShape p;
      b2FixtureDef fd;
      if (b.kind == BodyKind::Circle) {
        c.m_radius = b.radius * kToM;
        fd.shape = &c;
      } else {
        p.SetAsBox(b.w * 0.5f * kToM, b.h * 0.5f * kToM);
        fd.shape = &p;
      }
      fd.density = 1.0f;
      fd.friction = 0.5f;
      if (b.role == Role::Mover) {
        fd.filter.categoryBits = kMoverBits;
        fd.filter.maskBits = kMoverBits | kSensorBits | kBulletBits;
      } else if (b.role == Role::Bullet) {
        fd.isSensor = true;
        fd.filter.categoryBits = kBulletBits;
        fd.filter.maskBits = kMoverBits;
      }
      body->CreateFixture(&fd);
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
        bodies_[i]->SetLinearVelocity(b2Vec2(vx * kToM, vy * kToM));
      } else if (b.role == Role::Bullet) {
        b2Vec2 p = bodies_[i]->GetPosition();
        float x = p.x / kToM, y = p.y / kToM;
        if (x < 0 || x > scene.fieldW || y < 0 || y > scene.fieldH) {
          x = x < 0 ? x + scene.fieldW : (x > scene.fieldW ? x - scene.fieldW : x);
          y = y < 0 ? y + scene.fieldH : (y > scene.fieldH ? y - scene.fieldH : y);
          bodies_[i]->SetTransform(b2Vec2(x * kToM, y * kToM), 0.0f);
        }
      }
    }
  }

  void step() override { world_->Step(kFrameSeconds, 8, 3); }

  float maxPenetration() override {
    float worst = 0;
    for (b2Contact *c = world_->GetContactList(); c; c = c->GetNext()) {
      if (!c->IsTouching() || c->GetFixtureA()->IsSensor() || c->GetFixtureB()->IsSensor()) continue;
      b2WorldManifold wm;
      c->GetWorldManifold(&wm);
      for (int i = 0; i < c->GetManifold()->pointCount; ++i)
        worst = std::max(worst, -wm.separations[i] / kToM);
    }
    return worst;
  }

  float maxSpeed() override {
    float best = 0;
    for (b2Body *b : bodies_) best = std::max(best, b->GetLinearVelocity().Length() / kToM);
    return best;
  }

  double kineticEnergy() override {
    double e = 0;
    for (b2Body *b : bodies_) {
      b2Vec2 v = b->GetLinearVelocity();
      double vx = v.x / kToM, vy = v.y / kToM;
      e += 0.5 * b->GetMass() * (vx * vx + vy * vy);
    }
    return e;
  }

 private:
  std::unique_ptr<b2World> world_;
  std::vector<b2Body *> bodies_;
};

}  // namespace

std::unique_ptr<Backend> makeBox2D() { return std::make_unique<Box2DBackend>(); }

}  // namespace bench
