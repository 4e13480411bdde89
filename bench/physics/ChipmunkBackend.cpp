// Chipmunk 7 side of the benchmark: pixel units, 1/60 s steps, its default 10 iterations.
#include <chipmunk/chipmunk.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "Backend.h"

namespace bench {
namespace {

enum : unsigned { kMoverBits = 1, kSensorBits = 2, kBulletBits = 4 };

class ChipmunkBackend : public Backend {
 public:
  ~ChipmunkBackend() override {
    if (!space_) return;
    for (cpShape *s : shapes_) { cpSpaceRemoveShape(space_, s); cpShapeFree(s); }
    for (cpBody *b : bodies_) { cpSpaceRemoveBody(space_, b); cpBodyFree(b); }
    cpSpaceFree(space_);
  }

  bool build(Scene const &scene, Settings) override {
    space_ = cpSpaceNew();
    cpSpaceSetGravity(space_, cpv(0, scene.gravityY));
    cpBody *ground = cpSpaceGetStaticBody(space_);
    for (auto const &s : scene.segments)
      addShape(cpSegmentShapeNew(ground, cpv(s.x1, s.y1), cpv(s.x2, s.y2), 0.0), 0.5);
    for (auto const &s : scene.sensors) {
      cpShape *c = addShape(cpCircleShapeNew(ground, s.radius, cpv(s.x, s.y)), 0);
      cpShapeSetSensor(c, cpTrue);
      cpShapeSetFilter(c, cpShapeFilterNew(CP_NO_GROUP, kSensorBits, kMoverBits));
    }
    for (auto const &b : scene.bodies) {
      bool circle = b.kind == BodyKind::Circle;
      cpFloat mass = circle ? M_PI * b.radius * b.radius / 100.0 : b.w * b.h / 100.0;
      cpFloat moment = circle ? cpMomentForCircle(mass, 0, b.radius, cpvzero)
                              : cpMomentForBox(mass, b.w, b.h);
      cpBody *body = cpSpaceAddBody(space_, cpBodyNew(mass, moment));
      cpBodySetPosition(body, cpv(b.x, b.y));
      cpBodySetVelocity(body, cpv(b.vx, b.vy));
      cpBodySetAngularVelocity(body, b.angVel);
      cpShape *shape = addShape(circle ? cpCircleShapeNew(body, b.radius, cpvzero)
                                       : cpBoxShapeNew(body, b.w, b.h, 0.0), 0.5);
      if (b.role == Role::Mover) {
        cpShapeSetFilter(shape, cpShapeFilterNew(CP_NO_GROUP, kMoverBits, kMoverBits | kSensorBits | kBulletBits));
      } else if (b.role == Role::Bullet) {
        cpShapeSetSensor(shape, cpTrue);
        cpShapeSetFilter(shape, cpShapeFilterNew(CP_NO_GROUP, kBulletBits, kMoverBits));
      }
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
        cpBodySetVelocity(bodies_[i], cpv(vx, vy));
      } else if (b.role == Role::Bullet) {
        cpVect p = cpBodyGetPosition(bodies_[i]);
        if (p.x < 0 || p.x > scene.fieldW || p.y < 0 || p.y > scene.fieldH) {
          p.x = p.x < 0 ? p.x + scene.fieldW : (p.x > scene.fieldW ? p.x - scene.fieldW : p.x);
          p.y = p.y < 0 ? p.y + scene.fieldH : (p.y > scene.fieldH ? p.y - scene.fieldH : p.y);
          cpBodySetPosition(bodies_[i], p);
        }
      }
    }
  }

  void step() override { cpSpaceStep(space_, kFrameSeconds); }

  float maxPenetration() override {
    float worst = 0;
    for (cpBody *b : bodies_) cpBodyEachArbiter(b, &ChipmunkBackend::arbiterDepth, &worst);
    return worst;
  }

  float maxSpeed() override {
    float best = 0;
    for (cpBody *b : bodies_) best = std::max(best, (float)cpvlength(cpBodyGetVelocity(b)));
    return best;
  }

  double kineticEnergy() override {
    double e = 0;
    for (cpBody *b : bodies_) e += 0.5 * cpBodyGetMass(b) * cpvlengthsq(cpBodyGetVelocity(b));
    return e;
  }

 private:
  static void arbiterDepth(cpBody *, cpArbiter *arb, void *data) {
    cpShape *a, *b;
    cpArbiterGetShapes(arb, &a, &b);
    if (cpShapeGetSensor(a) || cpShapeGetSensor(b)) return;
    cpContactPointSet set = cpArbiterGetContactPointSet(arb);
    float *worst = static_cast<float *>(data);
    for (int i = 0; i < set.count; ++i) *worst = std::max(*worst, (float)-set.points[i].distance);
  }

  cpShape *addShape(cpShape *s, cpFloat friction) {
    cpShapeSetFriction(s, friction);
    cpSpaceAddShape(space_, s);
    shapes_.push_back(s);
    return s;
  }

  cpSpace *space_ = nullptr;
  std::vector<cpBody *> bodies_;
  std::vector<cpShape *> shapes_;
};

}  // namespace

std::unique_ptr<Backend> makeChipmunk() { return std::make_unique<ChipmunkBackend>(); }

}  // namespace bench
