// Entities, their files and the scene entity manager, on a bare level screen.
#include <gtest/gtest.h>

#include <cmath>

#include "Dynamics/Bodies/xBody.h"
#include "Game/Entities/enemies/SimpleEnemyEntity.h"
#include "Game/Entities/xPhysicsPrimitiveEntity.h"
#include "LevelFiles.h"
#include "sdk/QuillonPhysicsSDK.h"

using namespace QuillonPHX2D;
using levelfiles::Folder;

namespace {

// A screen whose manager counts the passes that destroyed something.
class CountingLevel : public LevelScreen {
 public:
  CountingLevel() : LevelScreen(0, "", MODE_CLASSIC, 1) {}
  void onWaveFinished() override { ++waveEnds; }
  int waveEnds = 0;
};

std::string entity(const std::string& attributes) {
  return "<Entity descriptionName=\"xPhysicsPrimitiveEntityDesc\" " + attributes + "/>";
}

xPhysicsPrimitiveEntity* make(xPhysicsPrimitiveEntityDesc& d) {
  return dynamic_cast<xPhysicsPrimitiveEntity*>(g_ptrSDK->createEntity(&d));
}

}  // namespace

TEST(SceneEntities, RemovalWaitsForThePassAndForgetsWhatItDoesNotDestroy) {
  levelfiles::runner();
  Folder f;
  CountingLevel level;
  xPhysicsPrimitiveEntityDesc d;
  ASSERT_TRUE(d.loadFromFile(f.write("e.xml", entity("dynamic=\"1\" bodyType=\"3DOF\" primitiveType=\"circle\""
                                                      " shapeFeaturesX=\"4\" texturePath=\"NONE\""))));
  xPhysicsPrimitiveEntity* kept = make(d);
  level.addEntity(kept, true);
  level.addEntity(kept, true);
  EXPECT_EQ(1u, level.entities().size());
  const int inWorld = g_ptrSDK->entitiesCount();

  level.scheduleRemoval(kept, false);
  level.scheduleRemoval(kept, true);  // the first request stands
  EXPECT_EQ(nullptr, level.findLiveEntity(kept));
  level.processRemovals();
  EXPECT_TRUE(level.entities().empty());
  EXPECT_EQ(inWorld, g_ptrSDK->entitiesCount());
  EXPECT_EQ(nullptr, kept->getSceneEntityManager());
  EXPECT_EQ(0, level.waveEnds);

  xPhysicsPrimitiveEntity* three[3];
  for (auto*& e : three) {
    e = make(d);
    level.addEntity(e, true);
  }
  EXPECT_EQ(three[1], level.findLiveEntity(three[1]));
  for (auto* e : three) level.scheduleRemoval(e, true);
  level.processRemovals();
  EXPECT_EQ(1, level.waveEnds);
  EXPECT_EQ(inWorld, g_ptrSDK->entitiesCount());
  g_ptrSDK->destroyEntity(kept);

  SceneEntityManager detached;
  detached.addEntity(make(d), true);
  EXPECT_TRUE(detached.entities().empty());
}

TEST(EntityFile, AttributesAreCheckedInOrderAndTheFirstBadOneStopsTheReading) {
  levelfiles::runner();
  Folder f;
  auto load = [&](const std::string& text) {
    xPhysicsPrimitiveEntityDesc d;
    const bool ok = d.loadFromFile(f.write("x.xml", text));
    return std::make_pair(ok, d);
  };
  EXPECT_FALSE(load("<Entity dynamic=\"1\" bodyType=\"3DOF\" primitiveType=\"circle\"/>").first);
  EXPECT_FALSE(load(entity("dynamic=\"-1\" bodyType=\"3DOF\" primitiveType=\"circle\"")).first);
  EXPECT_FALSE(load(entity("dynamic=\"1\" bodyType=\"4DOF\" primitiveType=\"circle\"")).first);
  EXPECT_TRUE(load(entity("dynamic=\"1\" bodyType=\"3DOF\" primitiveType=\"box\" bodyMass=\"0\"")).first);
  const auto negative = load(entity("dynamic=\"1\" bodyType=\"3DOF\" primitiveType=\"box\" bodyMass=\"-1\""
                                    " shapeFeaturesX=\"9\""));
  EXPECT_FALSE(negative.first);
  EXPECT_EQ(0.0f, negative.second.shapeFeatures.x);  // read after the mass: never reached
  EXPECT_FALSE(load(entity("dynamic=\"0\" bodyType=\"3DOF\" primitiveType=\"box\" collisionCategory=\"nope\"")).first);
  EXPECT_FALSE(load(entity("dynamic=\"0\" bodyType=\"3DOF\" primitiveType=\"box\" material=\"nope\"")).first);
  EXPECT_FALSE(load("<Other/>").first);
  EXPECT_FALSE(load("<Entity").first);

  xPhysicsPrimitiveEntityDesc d;
  d.texturePath = "earlier.png";
  const bool ok = d.loadFromFile(f.write("y.xml", entity("dynamic=\"0\" bodyType=\"3DOF\" primitiveType=\"box\""
                                                          " texturePath=\"NONE\" imageColor=\"Color(1, 2, 3, 4)\"")));
  EXPECT_TRUE(ok);
  EXPECT_EQ("earlier.png", d.texturePath);
  EXPECT_EQ(Color(1, 2, 3, 4), d.imageColor);
}

TEST(EntityFile, EntitiesAreBuiltFromTheirDescriptionOrNotAtAll) {
  levelfiles::runner();
  Folder f;
  CountingLevel level;
  xPhysicsPrimitiveEntityDesc box;
  ASSERT_TRUE(box.loadFromFile(f.write("b.xml", entity("dynamic=\"1\" bodyType=\"2DOF\" primitiveType=\"box\""
                                                       " shapeFeaturesX=\"20\" shapeFeaturesY=\"10\" bodyMass=\"2\""
                                                       " absPlacementX=\"50\" absPlacementY=\"60\""
                                                       " texturePath=\"NONE\""))));
  xPhysicsPrimitiveEntity* e = make(box);
  ASSERT_TRUE(e->isBuilt());
  ASSERT_NE(nullptr, e->body());
  EXPECT_FALSE(e->body()->canRotate());
  EXPECT_EQ(2.0f, e->body()->getMass());
  ASSERT_EQ(4u, e->outline().size());
  EXPECT_EQ(-10.0f, e->outline()[0].x);
  EXPECT_EQ(-5.0f, e->outline()[0].y);
  EXPECT_EQ(10.0f, e->outline()[2].x);
  EXPECT_EQ(50.0f, e->absPlacement().x);
  EXPECT_EQ(60.0f, e->absPlacement().y);
  // The default bounce speed leaves whatever it touches alone.
  xPhysicsPrimitiveEntity* other = make(box);
  EXPECT_TRUE(e->notifyCollision(e->shape(), other->shape(), Vec2(0, 0), 1.0f, Vec2(1, 0)));
  EXPECT_EQ(0.0f, other->body()->getVelocity().x);

  // A dynamic kinematic description makes no body: it is refused before any shape
  // is filed, instead of leaving a shape nothing carries.
  xPhysicsPrimitiveEntityDesc kinematic;
  ASSERT_TRUE(kinematic.loadFromFile(f.write("k.xml", entity("dynamic=\"1\" bodyType=\"kinematic\""
                                                             " primitiveType=\"circle\" texturePath=\"NONE\""))));
  xPhysicsPrimitiveEntity* k = make(kinematic);
  EXPECT_FALSE(k->isBuilt());
  EXPECT_EQ(nullptr, k->body());
  for (auto* x : {e, other, k}) g_ptrSDK->destroyEntity(x);
}

TEST(EnemyShip, ShortPathsAndEmptyEnergyNeverDivideByZero) {
  levelfiles::runner();
  Folder f;
  CountingLevel level;
  xSimpleEnemyDesc d;
  ASSERT_TRUE(d.loadFromFile(f.dir() + "/enemy.xml"));
  d.energy = 0;
  auto* ship = dynamic_cast<xSimpleEnemy*>(g_ptrSDK->createEntity(&d));
  ASSERT_NE(nullptr, ship);
  level.addEntity(ship, true);
  for (const std::vector<Vec2>& path : {std::vector<Vec2>{Vec2(5, 5), Vec2(5, 5)}, std::vector<Vec2>{Vec2(1, 2)},
                                        std::vector<Vec2>{}}) {
    ship->followPath(path, 1000);
    EXPECT_EQ(0.0f, ship->pathLength());
    ship->slowDown(0.5f, 300);
    ship->applyGameSpeed(0.36f);
    for (int i = 0; i < 100; ++i) ship->update(16, &level);
    ship->restartPathWalk();
    ship->update(16, &level);
    const Vec3 p = ship->absPlacement();
    EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z));
  }
  EXPECT_EQ(0, ship->maxEnergy());
  EXPECT_EQ(Color(255, 255, 0, 255), enemyClassColour("grasshopper"));
  EXPECT_EQ(Color(0, 255, 0, 255), enemyClassColour("unknown"));
}
