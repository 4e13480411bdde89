// Fluid volumes: submerged volumes and centroids (the surface closes the solid), buoyancy
// against gravity, damping, notifications, and a box floating to rest.
#include <gtest/gtest.h>

#include <random>

#include "CollisionContext/Categories/CategoryDispatcher.h"
#include "CollisionContext/Materials/MaterialDispatcher.h"
#include "GameExtensions/ColliderTable3D.h"
#include "GameExtensions/Configurator3D.h"
#include "GameExtensions/Entity3D.h"
#include "GameExtensions/FluidVolumes3D.h"
#include "Scene3D.h"

using namespace QuillonPHX2D;
using namespace p3test;

namespace {

constexpr float kPi = 3.1415927f;

struct ImmersionOwner : xEntity3D {
  void notifyImmersion(xShape3D* fluid, xShape3D* immersed, float v) override {
    ++calls;
    volume = v;
    lastFluid = fluid;
    lastImmersed = immersed;
  }
  int calls = 0;
  float volume = -1.0f;
  xShape3D* lastFluid = nullptr;
  xShape3D* lastImmersed = nullptr;
};

xMaterial* material(const char* name, float density) {
  xMaterialDispatcher::Instance()->createMaterial(name, density, 0.5f, 0.5f, 0.5f, 0.5f);
  return xMaterialDispatcher::Instance()->obtainMaterialByName(name);
}

// Fluid filling y in [0, 10]: the surface at y = 0, "up" is -y (against the +y gravity).
xShape3D* addPond(Scene3D& scene, float damping) {
  xShape3D* fluid = scene.shape(new xPrimitiveFluid3D(Vec3(-10, -5, -10), Vec3(10, 5, 10)), nullptr,
                                Placement3D(1, 0, 0, 0, Vec3(0, 5, 0)));
  fluid->setDampingCoefficient(damping);
  return fluid;
}

void watch(xShape3D* s, ImmersionOwner* owner) {
  s->setOwner(owner);
  s->setCollisionCategory(xCollisionContext3D::categoryDispatcher()->findCategoryByName("default"));
}

}  // namespace

TEST(FluidVolumes3D, SphereDisplacesItsSubmergedCap) {
  Scene3D scene;
  xShape3D* fluid = addPond(scene, 0.0f);
  ImmersionOwner owner;
  xBody3D* b = scene.body(1.0f, Vec3(0.4f), at(Vec3(0, 0, 0)));
  xShape3D* ball = scene.shape(new xPrimitiveSphere3D(1.0f), b, at(Vec3(0.0f)));
  watch(ball, &owner);
  const float full = 4.0f / 3.0f * kPi;
  qlnImmerseSphere(ball, fluid);  // centre on the surface
  EXPECT_NEAR(owner.volume, full / 2.0f, 1e-5f);
  EXPECT_EQ(owner.lastFluid, fluid);
  EXPECT_EQ(owner.lastImmersed, ball);
  for (float y : {1.0f, 3.0f}) {  // top touching from below, and deep
    b->setPlacement(at(Vec3(0, y, 0)));
    qlnImmerseSphere(ball, fluid);
    EXPECT_NEAR(owner.volume, full, 1e-5f);
  }
  b->setPlacement(at(Vec3(0, -0.5f, 0)));
  qlnImmerseSphere(ball, fluid);
  EXPECT_NEAR(owner.volume, kPi * 0.25f * (1.0f - 0.5f / 3.0f), 1e-5f);
  const int calls = owner.calls;
  b->setPlacement(at(Vec3(0, -1.0f, 0)));  // resting on the surface from above
  qlnImmerseSphere(ball, fluid);
  EXPECT_EQ(owner.calls, calls);
  qlnImmerseSphere(ball, nullptr);
  EXPECT_EQ(owner.calls, calls);
}

TEST(FluidVolumes3D, BoxAndPrismVolumesWhollyAndHalfSubmerged) {
  Scene3D scene;
  xShape3D* fluid = addPond(scene, 0.0f);
  ImmersionOwner owner;
  xBody3D* b = scene.body(1.0f, Vec3(0.4f), at(Vec3(0, 3, 0)));
  xShape3D* crate = scene.shape(new xPrimitiveBox3D(Vec3(1, 2, 3)), b, at(Vec3(0.0f)));
  watch(crate, &owner);
  qlnImmerseBox(crate, fluid);
  EXPECT_NEAR(owner.volume, 6.0f, 1e-4f);
  b->setPlacement(at(Vec3(0, 0, 0)));
  qlnImmerseBox(crate, fluid);
  EXPECT_NEAR(owner.volume, 3.0f, 1e-4f);

  xBody3D* c = scene.body(1.0f, Vec3(0.4f), at(Vec3(0, 3, 0)));
  xShape3D* drum = scene.shape(new xPrimitiveCylinder3D(1.0f, 2.0f), c, at(Vec3(0.0f)));
  watch(drum, &owner);
  const float octagonPrism = 8.0f * std::tan(kPi / 8) * 2.0f;
  qlnImmersePrism(drum, fluid);
  EXPECT_NEAR(owner.volume, octagonPrism, 1e-3f);
  c->setPlacement(at(Vec3(0, 0, 0)));
  qlnImmersePrism(drum, fluid);
  EXPECT_NEAR(owner.volume, octagonPrism / 2.0f, 1e-3f);
  // Lying on its side, half under: still half the prism.
  c->setPlacement(Placement3D(std::sin(kPi / 4), 0, 0, std::cos(kPi / 4), Vec3(0, 0, 0)));
  qlnImmersePrism(drum, fluid);
  EXPECT_NEAR(owner.volume, octagonPrism / 2.0f, 1e-3f);
  // Clear of the fluid: nothing at all.
  const int calls = owner.calls;
  c->setPlacement(at(Vec3(0, -1.5f, 0)));
  qlnImmersePrism(drum, fluid);
  EXPECT_EQ(owner.calls, calls);
}

TEST(FluidVolumes3D, TiltedBoxVolumeAndCentroidMatchSampling) {
  std::mt19937 rng(9);
  std::uniform_real_distribution<float> u(-1.0f, 1.0f);
  std::normal_distribution<float> g(0.0f, 1.0f);
  for (int trial = 0; trial < 5; ++trial) {
    const Vec3 half(0.5f + 0.5f * std::fabs(u(rng)), 0.5f + 0.5f * std::fabs(u(rng)), 0.5f);
    float q[4] = {g(rng), g(rng), g(rng), g(rng)};
    const float n = std::sqrt(q[0] * q[0] + q[1] * q[1] + q[2] * q[2] + q[3] * q[3]);
    const Placement3D p(q[0] / n, q[1] / n, q[2] / n, q[3] / n, Vec3(0.1f, 0.3f * u(rng), -0.2f));
    const Mtx34 m = qlnMtx34FromPlacement(p);
    Vec3 corner[8];
    for (int k = 0; k < 8; ++k)
      corner[k] = m * Vec3((k & 1) ? half.x : -half.x, (k & 2) ? half.y : -half.y, (k & 4) ? half.z : -half.z);
    static const int quads[6][4] = {{0, 4, 6, 2}, {1, 3, 7, 5}, {0, 1, 5, 4}, {2, 6, 7, 3}, {0, 2, 3, 1}, {4, 5, 7, 6}};
    Vec3 faces[6][4];
    const Vec3* ptr[6];
    int counts[6];
    for (int f = 0; f < 6; ++f) {
      for (int v = 0; v < 4; ++v) faces[f][v] = corner[quads[f][v]];
      ptr[f] = faces[f];
      counts[f] = 4;
    }
    // Surface y = 0, fluid below it in the +y sense (up = -y).
    const xImmersion3D rec = qlnSubmergedPart3D(ptr, counts, 6, Vec3(0, -1, 0), Vec3(0, 0, 0), p.t);
    // Sample the box uniformly in its own frame.
    int inside = 0, total = 0;
    Vec3 sum(0.0f);
    for (float x = -1; x < 1; x += 0.02f)
      for (float y = -1; y < 1; y += 0.02f)
        for (float z = -1; z < 1; z += 0.02f) {
          const Vec3 w = m * Vec3(x * half.x, y * half.y, z * half.z);
          ++total;
          if (w.y >= 0.0f) {
            ++inside;
            sum += w;
          }
        }
    const float boxVolume = 8.0f * half.x * half.y * half.z;
    const float sampled = boxVolume * inside / total;
    EXPECT_NEAR(rec.volume, sampled, 0.02f * boxVolume) << "trial " << trial;
    if (inside > 1000) {
      const Vec3 centroid = sum * (1.0f / inside);
      EXPECT_NEAR(rec.centre.x, centroid.x, 0.02f);
      EXPECT_NEAR(rec.centre.y, centroid.y, 0.02f);
      EXPECT_NEAR(rec.centre.z, centroid.z, 0.02f);
    }
  }
}

TEST(FluidVolumes3D, BuoyancyOpposesGravityAndDampingFollowsTheCoefficient) {
  Scene3D scene;
  xShape3D* fluid = addPond(scene, 0.0f);
  xMaterial* wood = material("p3_wood", 500.0f);
  xBody3D* b = scene.body(500.0f, Vec3(500.0f / 6.0f), at(Vec3(0, 3, 0)));
  xShape3D* crate = scene.shape(new xPrimitiveBox3D(Vec3(1, 1, 1)), b, at(Vec3(0.0f)));
  crate->setMaterial(wood);
  const Vec3 g = xConfigurator3D::Instance()->gravity;
  const Vec3 f = xFluidForces3D::Instance()->buoyancy(crate, 1.0f, fluid);
  EXPECT_LT(qlnDot3(f, g), 0.0f);  // lighter than water: pushed against gravity
  EXPECT_NEAR(qlnLenV3(f), 500.0f * qlnLenV3(g), 1e-2f);
  EXPECT_GT(qlnDot3(xFluidForces3D::Instance()->buoyancy(crate, 0.1f, fluid), g), 0.0f);  // mostly dry: sinks
  // The same material on both sides: no force, still damped and told.
  crate->setMaterial(nullptr);
  EXPECT_EQ(xFluidForces3D::Instance()->buoyancy(crate, 1.0f, fluid), Vec3(0.0f));
  crate->setMaterial(wood);

  scene.sdk.updateF(0.5f);  // sets the world's time step
  b->setVelocity(Vec3(1, 0, 0));
  b->setAngularVelocity(Vec3(0, 2, 0));
  xFluidForces3D::Instance()->apply(crate, {1.0f, b->absPlacement().t}, 0.0f, Vec3(0.0f));
  EXPECT_EQ(b->velocity(), Vec3(1, 0, 0));
  EXPECT_NE(b->flags & kFlag3DFluidForces, 0u);
  xFluidForces3D::Instance()->apply(crate, {1.0f, b->absPlacement().t}, 2.0f, Vec3(0.0f));
  EXPECT_NEAR(b->velocity().x, std::exp(-1.0f), 1e-5f);
  EXPECT_NEAR(b->angularVelocity().y, 2.0f * std::exp(-1.0f), 1e-5f);
  // Lift off the centre turns the body; weight alone never does.
  b->clearForces();
  const Vec3 lift = g * -1000.0f;
  xFluidForces3D::Instance()->apply(crate, {1.0f, b->absPlacement().t + Vec3(0.3f, 0, 0)}, 0.0f,
                                    lift + g * 500.0f);
  EXPECT_GT(qlnLenV3(b->torque()), 1.0f);
  EXPECT_NEAR(qlnLenV3(qlnCross3(Vec3(0.3f, 0, 0), lift) - b->torque()), 0.0f, 1e-2f);
}

TEST(FluidVolumes3D, FloatingBoxComesToRestHalfSubmerged) {
  Scene3D scene;
  addPond(scene, 1.0f);
  xMaterial* wood = material("p3_wood", 500.0f);
  xBody3D* b = scene.body(500.0f, Vec3(500.0f / 6.0f), Placement3D(0.1f, 0, 0.05f, 0.99373f, Vec3(0, -1.0f, 0)));
  xShape3D* crate = scene.shape(new xPrimitiveBox3D(Vec3(1, 1, 1)), b, at(Vec3(0.0f)));
  crate->setMaterial(wood);
  scene.start();
  for (int i = 0; i < 1200; ++i) {
    scene.step(1.0f / 60.0f, 1);
    ASSERT_TRUE(qlnIsFiniteV3(b->absPlacement().t));
  }
  EXPECT_NEAR(b->absPlacement().t.y, 0.0f, 0.05f);
  EXPECT_LT(qlnLenV3(b->velocity()), 0.02f);
  EXPECT_LT(qlnLenV3(b->angularVelocity()), 0.05f);
  EXPECT_EQ(xColliderTable3D::Instance()->entry(9, 5), nullptr);
}
