#include "BenchScene.h"

#include <cmath>
#include <cstdint>

namespace bench {
namespace {

// Small deterministic generator so every backend sees the same scene.
struct Rng {
  uint32_t s;
  explicit Rng(uint32_t seed) : s(seed) {}
  float next() {
    s ^= s << 13; s ^= s >> 17; s ^= s << 5;
    return (s & 0xFFFFFF) / float(0x1000000);
  }
  float range(float lo, float hi) { return lo + (hi - lo) * next(); }
};

const float kGravity = 10.0f * kPixelsPerMetre;  // 10 m/s^2

Scene pyramid() {
  Scene s;
  s.name = "pyramid";
  s.gravityY = kGravity;
  s.steps = 600;
  const float size = 20.0f, groundY = 700.0f, gap = 2.0f;
  s.segments.push_back({83.0f, groundY, 1283.0f, groundY});
  const int rows = 20;
  for (int row = 0; row < rows; ++row) {
    int n = rows - row;
    float y = groundY - size * 0.5f - row * size;
    float x0 = 683.0f - (n - 1) * (size + gap) * 0.5f;
    for (int i = 0; i < n; ++i) {
      BodyDef b;
      b.kind = BodyKind::Box;
      b.x = x0 + i * (size + gap);
      b.y = y;
      b.w = b.h = size;
      s.bodies.push_back(b);
    }
  }
  return s;
}

Scene rain() {
  Scene s;
  s.name = "rain";
  s.gravityY = kGravity;
  s.steps = 600;
  const float left = 283.0f, right = 1083.0f, bottom = 750.0f, top = -2000.0f;
  s.segments.push_back({left, bottom, right, bottom});
  s.segments.push_back({left, top, left, bottom});
  s.segments.push_back({right, top, right, bottom});
  s.segments.push_back({left, top, right, top});
  Rng rng(7);
  for (int i = 0; i < 2000; ++i) {
    BodyDef b;
    b.kind = BodyKind::Circle;
    b.radius = 4.0f;
    b.x = left + 10.0f + (i % 78) * 10.0f + rng.range(-0.5f, 0.5f);
    b.y = -1500.0f + (i / 78) * 10.0f;
    s.bodies.push_back(b);
  }
  return s;
}

Scene gameLike() {
  Scene s;
  s.name = "game-like";
  s.steps = 600;
  Rng rng(11);
  for (int i = 0; i < 60; ++i)
    s.sensors.push_back({rng.range(100, 1266), rng.range(80, 688), rng.range(150, 300)});
  for (int i = 0; i < 800; ++i) {
    BodyDef b;
    b.role = Role::Mover;
    if (i % 2) { b.kind = BodyKind::Box; b.w = b.h = 16.0f; }
    else { b.kind = BodyKind::Circle; b.radius = 8.0f; }
    b.pathX = rng.range(200, 1166);
    b.pathY = rng.range(150, 618);
    b.pathR = rng.range(40, 150);
    b.pathW = rng.range(0.5f, 1.5f) * (rng.next() < 0.5f ? -1.0f : 1.0f);
    b.pathPhase = rng.range(0, 6.2831853f);
    b.x = b.pathX + b.pathR * std::cos(b.pathPhase);
    b.y = b.pathY + b.pathR * std::sin(b.pathPhase);
    moverVelocity(b, 0.0f, b.vx, b.vy);
    s.bodies.push_back(b);
  }
  for (int i = 0; i < 1500; ++i) {
    BodyDef b;
    b.role = Role::Bullet;
    b.kind = BodyKind::Circle;
    b.radius = 2.0f;
    b.x = rng.range(0, s.fieldW);
    b.y = rng.range(0, s.fieldH);
    float a = rng.range(0, 6.2831853f);
    b.vx = 400.0f * std::cos(a);
    b.vy = 400.0f * std::sin(a);
    s.bodies.push_back(b);
  }
  return s;
}

Scene freeFlight() {
  Scene s;
  s.name = "free flight";
  s.steps = 300;
  for (int i = 0; i < 5000; ++i) {
    BodyDef b;
    b.kind = (i % 3 == 0) ? BodyKind::Box : BodyKind::Circle;
    b.radius = 3.0f;
    b.w = b.h = 6.0f;
    b.x = (i % 100) * 20.0f;
    b.y = (i / 100) * 20.0f;
    // Everyone moves alike so nothing ever touches.
    b.vx = 60.0f;
    b.vy = 20.0f;
    b.angVel = 1.0f;
    s.bodies.push_back(b);
  }
  return s;
}

}  // namespace

Scene makeScene(int id) {
  switch (id) {
    case 0: return pyramid();
    case 1: return rain();
    case 2: return gameLike();
    default: return freeFlight();
  }
}

void moverVelocity(BodyDef const &b, float t, float &vx, float &vy) {
  float a = b.pathPhase + b.pathW * t;
  vx = -b.pathR * b.pathW * std::sin(a);
  vy = b.pathR * b.pathW * std::cos(a);
}

}  // namespace bench
