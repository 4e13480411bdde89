// Every collider pair over thousands of random poses: finite unit normals pointing from the
// first shape into the second, depths >= 0, and points on (or within tolerance of) both shapes.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "ContactCapture.h"

using namespace QuillonPHX2D;
using namespace p3test;

xPrimitive3D* randomPrimitive(int kind, std::mt19937& rng);
namespace {

}
xPrimitive3D* randomPrimitive(int kind, std::mt19937& rng) {
  std::uniform_real_distribution<float> u(0.0f, 1.0f);
  switch (kind) {
    case kCollider3DSphere:
      return new xPrimitiveSphere3D(0.3f + 0.7f * u(rng));
    case kCollider3DBox:
      return new xPrimitiveBox3D(Vec3(0.4f + 1.6f * u(rng), 0.4f + 1.6f * u(rng), 0.4f + 1.6f * u(rng)));
    case kCollider3DCylinder:
      return new xPrimitiveCylinder3D(0.3f + 0.7f * u(rng), 0.4f + 1.6f * u(rng));
    case kCollider3DCapsule: {
      const float r = 0.2f + 0.6f * u(rng);
      return new xPrimitiveCapsule3D(r, 2.0f * r + 2.0f * u(rng));
    }
    default: {
      std::normal_distribution<float> g(0.0f, 1.0f);
      return new xPrimitivePlane3D(Vec3(g(rng), g(rng), g(rng)), 0.5f * (u(rng) - 0.5f));
    }
  }
}

namespace {
// Slack for shapes the colliders approximate: the prism around a cylinder reaches 8.3% of
// its radius beyond the round side.
float slackFor(const xShape3D* s) {
  if (s->getColliderID() == kCollider3DCylinder) return 0.085f * qlnSolidOf3D(s).r;
  return 0.0f;
}

// Against a plane the normal is the plane's inward normal; otherwise it never points from the
// second shape's centre back towards the first's.
bool pointsFromFirstToSecond(const Contact& c) {
  if (c.second->getColliderID() == kCollider3DPlane) {
    Vec3 n(0.0f);
    float d = 0.0f;
    qlnWorldPlane3D(c.second, n, d);
    return qlnLenV3(c.normal + n) < 1e-3f;
  }
  const Vec3 between = qlnSolidOf3D(c.second).c - qlnSolidOf3D(c.first).c;
  return qlnDot3(c.normal, between) >= -1e-3f;
}

std::string pairName(const ::testing::TestParamInfo<std::pair<int, int>>& info) {
  static const char* names[] = {"Sphere", "Box", "Cylinder", "Capsule", "", "Plane"};
  return std::string(names[info.param.first]) + names[info.param.second];
}

struct PairStats {
  int runs = 0, touching = 0, contacts = 0, bad = 0;
  std::string firstBad;
};

PairStats runPair(int kindA, int kindB, int iterations, unsigned seed) {
  CaptureWorld world;
  std::mt19937 rng(seed);
  PairStats st;
  for (int it = 0; it < iterations; ++it) {
    auto a = staticShape(randomPrimitive(kindA, rng), kindA == kCollider3DPlane ? pose(Vec3(0.0f)) : randomPose(rng, 1.2f));
    auto b = staticShape(randomPrimitive(kindB, rng), kindB == kCollider3DPlane ? pose(Vec3(0.0f)) : randomPose(rng, 1.2f));
    world.collide(a.get(), b.get());
    ++st.runs;
    if (!world.contacts().empty()) ++st.touching;
    const float tol = 0.02f + slackFor(a.get()) + slackFor(b.get());
    for (const Contact& c : world.contacts()) {
      ++st.contacts;
      std::string why;
      if (!qlnIsFiniteV3(c.point) || !qlnIsFiniteV3(c.normal) || !qlnIsFinite(c.depth)) why = "not finite";
      else if (std::fabs(qlnLenV3(c.normal) - 1.0f) > 1e-3f) why = "normal not unit";
      else if (c.depth < 0.0f) why = "negative depth";
      else if (signedDistance(c.first, c.point) > tol + c.depth) why = "point off the first shape";
      else if (signedDistance(c.second, c.point) > tol + c.depth) why = "point off the second shape";
      else if (!pointsFromFirstToSecond(c)) why = "normal points the wrong way";
      if (!why.empty()) {
        ++st.bad;
        if (st.firstBad.empty()) {
          char buf[256];
          std::snprintf(buf, sizeof buf, "%s (iteration %d, depth %g, point %g %g %g, normal %g %g %g)", why.c_str(),
                        it, c.depth, c.point.x, c.point.y, c.point.z, c.normal.x, c.normal.y, c.normal.z);
          st.firstBad = buf;
        }
      }
    }
  }
  return st;
}

}  // namespace

class ColliderProperties : public ::testing::TestWithParam<std::pair<int, int>> {};

TEST_P(ColliderProperties, ContactsAreUnitFiniteNonNegativeAndOnBothShapes) {
  const auto [ka, kb] = GetParam();
  const PairStats st = runPair(ka, kb, 5000, 1000u + ka * 14 + kb);
  // The random poses must exercise the collider: enough touching pairs to mean something.
  EXPECT_GT(st.touching, st.runs / 20) << "pair " << ka << "," << kb;
  EXPECT_EQ(st.bad, 0) << "pair " << ka << "," << kb << ": " << st.bad << " of " << st.contacts
                       << " contacts bad; first: " << st.firstBad;
}

INSTANTIATE_TEST_SUITE_P(
    EveryTableEntry, ColliderProperties,
    ::testing::Values(std::make_pair(0, 0), std::make_pair(0, 1), std::make_pair(0, 2), std::make_pair(0, 3),
                      std::make_pair(0, 5), std::make_pair(1, 1), std::make_pair(1, 2), std::make_pair(1, 3),
                      std::make_pair(1, 5), std::make_pair(2, 2), std::make_pair(2, 3), std::make_pair(2, 5),
                      std::make_pair(3, 3), std::make_pair(3, 5)),
    pairName);
