// The same scene stepped twice in one process must end the same to the bit: a restarted level
// or a replayed test run may not depend on where the allocator happened to put the shapes.
#include <cstdint>
#include <cstring>

#include "HeapClutter.h"
#include "WorldFixture.h"

namespace worldtest {
namespace {

class Reproducible : public World {
 protected:
  void SetUp() override {
    World::SetUp();
    xConfigurator::Instance()->gravity = Vec2(0.0f, 0.05f);
  }

  // A walled box with a rain of circles and boxes falling in and piling up: thousands of
  // contacts between awake shapes over the run.
  void buildRain(testenv::HeapClutter *clutter) {
    staticSegment(Vec2(-160, 0), Vec2(160, 0));
    staticSegment(Vec2(-160, 0), Vec2(-160, -400));
    staticSegment(Vec2(160, 0), Vec2(160, -400));
    for (int row = 0; row < 12; ++row) {
      for (int col = 0; col < 12; ++col) {
        const float x = -132.0f + col * 24.0f + (row % 2) * 6.0f;
        const float y = -40.0f - row * 26.0f;
        if ((row + col) % 3 == 0)
          boxBody(x, y, 12.0f, 10.0f, 0.1f * float(col % 4));
        else
          circleBody(x, y, 5.0f + float((row * 7 + col) % 4));
        if (clutter) clutter->stir();
      }
    }
  }

  // Placement and velocities of every body, as bits, in creation order.
  std::vector<uint32_t> stateBits() const {
    std::vector<uint32_t> bits;
    auto put = [&bits](float f) {
      uint32_t u;
      std::memcpy(&u, &f, sizeof u);
      bits.push_back(u);
    };
    for (xBody *b : bodies) {
      const Vec3 p = b->absPlacement();
      const Vec2 v = b->getVelocity();
      for (float f : {p.x, p.y, p.z, v.x, v.y, b->getAngVelocity()}) put(f);
    }
    return bits;
  }

  void freshWorld() {
    for (xShape *s : shapes) delete s;
    for (xBody *b : bodies) delete b;
    shapes.clear();
    bodies.clear();
    sdk = qlnCreateQuillonSDK();
  }
};

TEST_F(Reproducible, TheSameRainSteppedTwiceEndsBitIdentical) {
  buildRain(nullptr);
  step(1.33f, 240);
  const std::vector<uint32_t> first = stateBits();
  // It really piled up: bodies came to rest on one another, not only on the floor.
  int contactsBetweenBodies = 0;
  for (int i = 0; i < contacts().size(); ++i)
    if (contacts()[i].body1) ++contactsBetweenBodies;
  EXPECT_GT(contactsBetweenBodies, 100);

  freshWorld();
  testenv::HeapClutter clutter;
  buildRain(&clutter);
  step(1.33f, 240);
  const std::vector<uint32_t> second = stateBits();

  ASSERT_EQ(first.size(), second.size());
  int differing = 0;
  for (size_t i = 0; i < first.size(); ++i)
    if (first[i] != second[i]) ++differing;
  EXPECT_EQ(differing, 0) << "of " << first.size() << " values";
}

}  // namespace
}  // namespace worldtest
