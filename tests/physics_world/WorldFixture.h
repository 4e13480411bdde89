#pragma once
// A fresh world per test with default settings, and small builders for bodies and shapes.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "CollisionContext/Categories/CategoryDispatcher.h"
#include "CollisionContext/Materials/MaterialDispatcher.h"
#include "CollisionContext/xCollisionContext.h"
#include "Collision/Shapes/xPrimitive.h"
#include "Collision/Shapes/xPrimitiveShape.h"
#include "Configurator/ConfigContext.h"
#include "Dynamics/Bodies/xBody.h"
#include "Dynamics/World/xPhysicsContext.h"
#include "sdk/QuillonPhysicsSDK.h"
#include "sdk/xEntity.h"

namespace worldtest {

using namespace QuillonPHX2D;

inline void resetConfig() {
  xConfigurator *c = xConfigurator::Instance();
  c->gravity = Vec2(0.0f, 9.81f);
  c->longestSubstep = 0.01f;
  c->penetrationSlop = 0.025f;
  c->convergenceTolerance = 0.1f;
  c->linearRestSpeed = 0.0031622f;
  c->angularRestSpeed = 0.0031622f;
  c->dampingFactor = 0.997f;
  c->sleeping = false;
  c->substepping = false;
  c->tunnelling = false;
  c->separationTest = true;
  c->friction = true;
  c->restitution = true;
  c->relativeTest = true;
  c->angularCorrection = false;
  c->fullStep = false;
  c->storeSolutions = false;
  c->iterationLimit = 50;
}

// Records every notification it gets and answers with `answer`.
class RecordingOwner : public xEntity {
 public:
  struct Call {
    xShape *own, *other;
    Vec2 point, normal;
    float depth;
  };
  bool notifyCollision(xShape *own, xShape *other, const Vec2 &point, float depth, const Vec2 &normal) override {
    calls.push_back({own, other, point, normal, depth});
    return answer;
  }
  std::vector<Call> calls;
  bool answer = true;
};

class World : public ::testing::Test {
 protected:
  void SetUp() override {
    resetConfig();
    sdk = qlnCreateQuillonSDK();
    ASSERT_NE(sdk, nullptr);
  }
  void TearDown() override {
    for (xShape *s : shapes) delete s;
    for (xBody *b : bodies) delete b;
    shapes.clear();
    bodies.clear();
    qlnDestroyQuillonSDK();
    resetConfig();
  }

  xBody *addBody(float x, float y, float angle = 0.0f, float mass = 1.0f, float inertia = 1.0f) {
    xBody *b = new xBody3DOF();
    b->setMass(mass);
    b->setInertiaVec(inertia);
    b->setAbsPlacement(Vec3(x, y, angle));
    bodies.push_back(b);
    return b;
  }

  // Attaches a shape to body (or leaves it static at (x, y, angle) when body is null) and
  // initialises both.
  xPrimitiveShape *attach(xBody *body, xPrimitive *env, const char *category = "default", float x = 0.0f,
                          float y = 0.0f, float angle = 0.0f) {
    xPrimitiveShape *s = new xPrimitiveShape();
    s->setEnvelope(env);
    s->setCollisionCategory(category);
    if (body) {
      s->setAscendant(body);
      s->setRelPlacement(Vec3(x, y, angle));  // attaching keeps the world placement; centre it on the body
      s->setBody(body);
      body->initialize();
    } else {
      s->setAbsPlacement(Vec3(x, y, angle));
    }
    s->initialize();
    shapes.push_back(s);
    return s;
  }

  xPrimitiveShape *circleBody(float x, float y, float r, float mass = 1.0f) {
    return attach(addBody(x, y, 0.0f, mass, mass * r * r * 0.5f), new xPrimitiveCircle(r));
  }
  xPrimitiveShape *boxBody(float x, float y, float w, float h, float angle = 0.0f, float mass = 1.0f) {
    return attach(addBody(x, y, angle, mass, mass * (w * w + h * h) / 12.0f), new xPrimitiveBox(w, h));
  }
  xPrimitiveShape *staticSegment(Vec2 a, Vec2 b, const char *category = "default") {
    return attach(nullptr, new xPrimitiveLineSeg(a, b), category);
  }

  void step(float dt, int n = 1) {
    for (int i = 0; i < n; ++i) sdk->updateF(dt);
  }

  xArray<xTempContact> &contacts() { return sdk->physicsContext()->tempContacts(); }

  QuillonPhysicsSDK *sdk = nullptr;
  std::vector<xShape *> shapes;
  std::vector<xBody *> bodies;
};

inline float len(const Vec2 &v) { return std::sqrt(v.x * v.x + v.y * v.y); }
inline float dot(const Vec2 &a, const Vec2 &b) { return a.x * b.x + a.y * b.y; }

}  // namespace worldtest
