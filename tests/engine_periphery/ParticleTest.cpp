#include <tinyxml.h>

#include <cmath>

#include <gtest/gtest.h>

#include "particles/ParticleEngine.h"
#include "particles/ParticlePatch.h"

namespace {

TiXmlDocument parse(const char* text) {
  TiXmlDocument doc;
  doc.Parse(text);
  EXPECT_FALSE(doc.Error()) << doc.ErrorDesc();
  return doc;
}

// Counts its own deletion so ownership can be checked.
class CountedPatch : public ParticlePatch {
 public:
  explicit CountedPatch(int* deaths) : deaths_(deaths) {}
  ~CountedPatch() override { ++*deaths_; }

 private:
  int* deaths_;
};

bool sameColour(const Color& c, int r, int g, int b, int a) {
  return c.r == r && c.g == g && c.b == b && c.a == a;
}

}  // namespace

TEST(ParticlePatch, FallsUnderGravityWithTheForceDividedEachStep) {
  ParticlePatch patch(1000);
  TiXmlDocument doc = parse("<Particle><Physics mass=\"1\" gx=\"0\" gy=\"1\"/></Particle>");
  ASSERT_TRUE(patch.readFromXml(doc.RootElement()));
  patch.update(10);  // inactive: nothing moves, no life passes
  EXPECT_EQ(patch.elapsedLife(), 0);
  EXPECT_EQ(patch.y(), 0.0f);

  patch.setActive(true);
  patch.update(10);
  EXPECT_NEAR(patch.forceY(), 0.1f, 1e-6f);
  EXPECT_NEAR(patch.velocityY(), 0.1f, 1e-6f);
  EXPECT_NEAR(patch.y(), 0.01f, 1e-6f);
  patch.update(10);
  EXPECT_NEAR(patch.forceY(), 0.11f, 1e-6f);
  EXPECT_NEAR(patch.velocityY(), 0.21f, 1e-6f);
  EXPECT_NEAR(patch.y(), 0.031f, 1e-6f);
  EXPECT_EQ(patch.x(), 0.0f);
  EXPECT_EQ(patch.velocityX(), 0.0f);
  EXPECT_EQ(patch.elapsedLife(), 20);

  patch.update(0);
  patch.update(-5);
  EXPECT_EQ(patch.elapsedLife(), 20);
  EXPECT_NEAR(patch.y(), 0.031f, 1e-6f);
}

TEST(ParticlePatch, ColourRunsFromStartToEnd) {
  ParticlePatch patch(100);
  TiXmlDocument doc = parse(
      "<Particle>"
      "<KeyFrameStart color=\"Color(0, 0, 0, 255)\" scale=\"1\"/>"
      "<KeyFrameEnd color=\"Color(200, 100, 50, 0)\" scale=\"3\"/>"
      "</Particle>");
  ASSERT_TRUE(patch.readFromXml(doc.RootElement()));
  EXPECT_TRUE(sameColour(patch.colour(), 0, 0, 0, 255));
  patch.setActive(true);
  patch.update(50);
  EXPECT_TRUE(sameColour(patch.colour(), 100, 50, 25, 127))
      << int(patch.colour().r) << "," << int(patch.colour().g) << "," << int(patch.colour().b)
      << "," << int(patch.colour().a);
  patch.update(100);  // past its life: stays at the end colour
  EXPECT_TRUE(sameColour(patch.colour(), 200, 100, 50, 0));
}

TEST(ParticlePatch, ZeroMassAndZeroLifeStayFinite) {
  ParticlePatch patch(0);
  TiXmlDocument doc = parse(
      "<Particle><Physics mass=\"0\" fx=\"5\" gy=\"2\" vx=\"1\"/>"
      "<KeyFrameEnd color=\"Color(10, 20, 30, 40)\"/></Particle>");
  ASSERT_TRUE(patch.readFromXml(doc.RootElement()));
  patch.setActive(true);
  patch.update(16);
  EXPECT_TRUE(std::isfinite(patch.x()) && std::isfinite(patch.y()));
  EXPECT_TRUE(std::isfinite(patch.velocityX()) && std::isfinite(patch.velocityY()));
  EXPECT_FLOAT_EQ(patch.velocityX(), 1.0f) << "no mass: forces do not act";
  EXPECT_TRUE(sameColour(patch.colour(), 10, 20, 30, 40)) << "no life: at the end colour";
}

TEST(ParticlePatch, MissingAttributesKeepTheirValues) {
  ParticlePatch patch;
  TiXmlDocument first = parse(
      "<P><Physics fx=\"1\" fy=\"2\" vx=\"3\" vy=\"4\" mass=\"2\" x=\"7\" y=\"8\" "
      "emissionRange=\"12\"/><KeyFrameStart angle=\"30\" color=\"Color(1, 2, 3, 4)\"/></P>");
  ASSERT_TRUE(patch.readFromXml(first.RootElement()));
  TiXmlDocument second = parse("<P><Physics vy=\"9\"/><KeyFrameStart scale=\"2\"/></P>");
  ASSERT_TRUE(patch.readFromXml(second.RootElement()));
  EXPECT_EQ(patch.forceX(), 1.0f);
  EXPECT_EQ(patch.forceY(), 2.0f);
  EXPECT_EQ(patch.velocityX(), 3.0f);
  EXPECT_EQ(patch.velocityY(), 9.0f);
  EXPECT_EQ(patch.mass(), 2.0f);
  EXPECT_EQ(patch.startX(), 7.0f);
  EXPECT_EQ(patch.y(), 8.0f);
  EXPECT_EQ(patch.emissionRange(), 12);
  EXPECT_EQ(patch.startAngle(), 30.0f);
  EXPECT_EQ(patch.startScale(), 2.0f);
  EXPECT_TRUE(sameColour(patch.startColour(), 1, 2, 3, 4));
  EXPECT_FALSE(patch.readFromXml(nullptr));
}

TEST(ParticleEngine, OwnsItsPatches) {
  int deaths = 0;
  {
    ParticleEngine engine;
    engine.clear();  // nothing registered: nothing happens
    auto* a = new CountedPatch(&deaths);
    engine.registerPatch(1, a);
    engine.registerPatch(1, a);  // the same patch again is not deleted
    EXPECT_EQ(deaths, 0);
    engine.registerPatch(1, new CountedPatch(&deaths));  // replaces and deletes a
    EXPECT_EQ(deaths, 1);
    auto* moving = new CountedPatch(&deaths);
    TiXmlDocument doc = parse("<P><Physics vx=\"10\"/></P>");
    moving->readFromXml(doc.RootElement());
    moving->setActive(true);
    engine.registerPatch(2, moving);
    engine.update(10);
    EXPECT_FLOAT_EQ(engine.getPatch(2)->x(), 1.0f);
    EXPECT_EQ(engine.patchCount(), 2u);
    engine.clear();
    EXPECT_EQ(deaths, 3);
    EXPECT_EQ(engine.getPatch(2), nullptr);
    engine.registerPatch(3, new CountedPatch(&deaths));
  }
  EXPECT_EQ(deaths, 4) << "the engine deletes what it still holds";

  ParticleEngine* shared = ParticleEngine::instance();
  EXPECT_EQ(shared, ParticleEngine::instance());
  shared->clear();
  EXPECT_EQ(shared->patchCount(), 0u);
}
