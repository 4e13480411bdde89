#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <type_traits>

#include "Collision/Shapes/xPrimitiveShape.h"
#include "Collision/Shapes/xShapeDesc.h"
#include "CollisionContext/Categories/CategoryDispatcher.h"
#include "CollisionContext/Materials/MaterialDispatcher.h"
#include "CollisionContext/xCollisionContext.h"
#include "Configurator/ConfigContext.h"
#include "Dynamics/Bodies/xBodyDesc.h"
#include "Dynamics/World/xPhysicsContext.h"
#include "sdk/QuillonPhysicsSDK.h"
#include "sdk/xEntity.h"

using namespace QuillonPHX2D;

namespace {

int g_entitiesAlive = 0;
int g_entitiesDeleted = 0;

// An owner that builds a body with one circle when it is created, as a host would.
class Owner : public xEntity {
 public:
  Owner() { ++g_entitiesAlive; }
  ~Owner() override {
    --g_entitiesAlive;
    ++g_entitiesDeleted;
    if (body) body->destroyCompleteHierarchy();
    if (victim && g_ptrSDK) g_ptrSDK->destroyEntity(victim);
  }
  void notifyCreated(xEntityDesc *d) override {
    createdWith = d;
    xBody3DOFDesc bd;
    body = g_ptrSDK->createBody(bd);
    body->setOwner(this);
    xPrimitiveShapeDesc sd;
    sd.setEnvelope(new xPrimitiveCircle(1.0f));
    xShape *s = g_ptrSDK->createShape(sd);
    s->setOwner(this);
    s->setAscendant(body);
    s->setBody(body);
    body->initialize();
    s->initialize();
  }
  xEntityDesc *createdWith = nullptr;
  xBody *body = nullptr;
  xEntity *victim = nullptr;
};

class OwnerDesc : public xEntityDesc {
 public:
  xEntity *createEntity() override { return new Owner(); }
};

class NothingDesc : public xEntityDesc {};

class CountedDesc : public xEntityDesc {
 public:
  explicit CountedDesc(int *deleted) : deleted_(deleted) {}
  ~CountedDesc() override { ++*deleted_; }

 private:
  int *deleted_;
};

}  // namespace

static_assert(!std::is_copy_constructible<QuillonPhysicsSDK>::value, "an SDK owns its world");
static_assert(!std::is_copy_assignable<QuillonPhysicsSDK>::value, "an SDK owns its world");

TEST(Sdk, ClockAndPause) {
  QuillonPhysicsSDK *sdk = qlnCreateQuillonSDK();
  ASSERT_EQ(sdk, g_ptrSDK);
  for (int i = 0; i < 3; ++i) sdk->updateF(0.016f);
  EXPECT_EQ(sdk->currentTick(), 3ul);
  EXPECT_NEAR(sdk->timeNow(), 0.048f, 1e-6f);
  EXPECT_EQ(sdk->lastTimeStep(), 0.016f);
  sdk->pauseSimulation();
  sdk->updateF(1.0f);
  EXPECT_EQ(sdk->currentTick(), 3ul);
  EXPECT_NEAR(sdk->timeNow(), 0.048f, 1e-6f);
  sdk->unpauseSimulation();
  sdk->updateF(0.5f);
  EXPECT_EQ(sdk->currentTick(), 4ul);
  EXPECT_EQ(sdk->timeStep(), 0.5f);
  qlnDestroyQuillonSDK();
  EXPECT_EQ(g_ptrSDK, nullptr);
  qlnDestroyQuillonSDK();  // nothing left: harmless
}

TEST(Sdk, StepsTheWorldRefusesLeaveTheClock) {
  QuillonPhysicsSDK *sdk = qlnCreateQuillonSDK();
  sdk->updateF(0.25f);
  const float bad[] = {0.0f, -0.5f, std::numeric_limits<float>::quiet_NaN(),
                       std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity()};
  for (float dt : bad) {
    sdk->updateF(dt);
    EXPECT_EQ(sdk->currentTick(), 1ul) << dt;
    EXPECT_EQ(sdk->timeNow(), 0.25f) << dt;
    EXPECT_EQ(sdk->timeStep(), 0.25f) << dt;
    EXPECT_EQ(sdk->lastTimeStep(), 0.25f) << dt;
  }
  sdk->updateF(0.5f);
  EXPECT_EQ(sdk->currentTick(), 2ul);
  EXPECT_EQ(sdk->timeNow(), 0.75f);
  qlnDestroyQuillonSDK();
}

TEST(Sdk, EntitiesAreOwnedAndDeletedOnce) {
  g_entitiesDeleted = 0;
  QuillonPhysicsSDK *sdk = qlnCreateQuillonSDK();
  OwnerDesc od;
  NothingDesc nd;
  EXPECT_EQ(sdk->createEntity(&nd), nullptr);
  EXPECT_EQ(sdk->createEntity(nullptr), nullptr);
  EXPECT_EQ(sdk->entitiesCount(), 0);

  Owner *a = static_cast<Owner *>(sdk->createEntity(&od));
  Owner *b = static_cast<Owner *>(sdk->createEntity(&od));
  Owner *kept = static_cast<Owner *>(sdk->createEntity(&od));
  Owner *c = static_cast<Owner *>(sdk->createEntity(&od));
  EXPECT_EQ(a->createdWith, &od);
  EXPECT_EQ(sdk->entitiesCount(), 4);
  EXPECT_EQ(sdk->physicsContext()->bodiesCount(), 4);
  EXPECT_EQ(sdk->collisionContext()->shapesCount(), 4);

  EXPECT_TRUE(sdk->removeEntity(kept));
  EXPECT_FALSE(sdk->removeEntity(kept));
  sdk->destroyEntity(kept);  // not listed: not deleted
  EXPECT_EQ(g_entitiesDeleted, 0);

  sdk->destroyEntity(b);
  EXPECT_EQ(g_entitiesDeleted, 1);
  EXPECT_EQ(sdk->physicsContext()->bodiesCount(), 3);
  EXPECT_EQ(sdk->collisionContext()->shapesCount(), 3);

  // An entity that takes another one down with it while the SDK goes.
  c->victim = a;
  qlnDestroyQuillonSDK();
  EXPECT_EQ(g_entitiesDeleted, 3);
  EXPECT_EQ(g_entitiesAlive, 1);
  delete kept;
  EXPECT_EQ(g_entitiesAlive, 0);
}

TEST(Sdk, InitAndSecondCreateReplaceTheWorld) {
  g_entitiesDeleted = 0;
  QuillonPhysicsSDK *first = qlnCreateQuillonSDK();
  OwnerDesc od;
  first->createEntity(&od);
  first->updateF(0.1f);
  first->pauseSimulation();
  first->init();
  EXPECT_EQ(g_entitiesDeleted, 1);
  EXPECT_EQ(first->entitiesCount(), 0);
  EXPECT_EQ(first->currentTick(), 0ul);
  EXPECT_EQ(first->timeNow(), 0.0f);
  EXPECT_FALSE(first->isPaused());
  ASSERT_NE(first->physicsContext(), nullptr);
  EXPECT_EQ(first->physicsContext()->bodiesCount(), 0);
  EXPECT_EQ(first->collisionContext()->shapesCount(), 0);
  first->updateF(0.1f);

  first->createEntity(&od);
  QuillonPhysicsSDK *second = qlnCreateQuillonSDK();  // replaces the first, entities and all
  EXPECT_EQ(g_ptrSDK, second);
  EXPECT_EQ(g_entitiesDeleted, 2);
  EXPECT_EQ(g_entitiesAlive, 0);
  qlnDestroyQuillonSDK();
}

TEST(Sdk, SingletonsOutliveTheSdk) {
  QuillonPhysicsSDK *sdk = qlnCreateQuillonSDK();
  EXPECT_NE(xCategoryDispatcher::cdp_ptrInstance, nullptr);
  EXPECT_NE(xMaterialDispatcher::mdp_ptrInstance, nullptr);
  EXPECT_NE(xConfigurator::cfg_ptrInstance, nullptr);
  xCategoryDispatcher::Instance()->createCategory("sdk_test_category", 2);
  xMaterialDispatcher::Instance()->createMaterial("sdk_test_material", 1, 2, 3, 4, 5);
  (void)sdk;
  qlnDestroyQuillonSDK();
  qlnCreateQuillonSDK();
  EXPECT_NE(xCategoryDispatcher::Instance()->findCategoryByName("sdk_test_category"), nullptr);
  EXPECT_NE(xMaterialDispatcher::Instance()->obtainMaterialByName("sdk_test_material"), nullptr);
  qlnDestroyQuillonSDK();

  xConfigurator *cfg = xConfigurator::Instance();
  EXPECT_EQ(cfg, xConfigurator::Instance());
  EXPECT_EQ(cfg->gravity, Vec2(0.0f, 9.81f));
  EXPECT_EQ(cfg->longestSubstep, 0.01f);
  EXPECT_EQ(cfg->penetrationSlop, 0.025f);
  EXPECT_EQ(cfg->dampingFactor, 0.997f);
  EXPECT_FALSE(cfg->sleeping);
  EXPECT_TRUE(cfg->separationTest);
  EXPECT_TRUE(cfg->friction);
  EXPECT_EQ(cfg->iterationLimit, 50);
  // The thirteen switches are consecutive bytes.
  EXPECT_EQ(reinterpret_cast<char *>(&cfg->reservedSwitch2) - reinterpret_cast<char *>(&cfg->sleeping), 12);
}

TEST(Sdk, DescriptionsDeleteThroughTheirBase) {
  int deleted = 0;
  xEntityDesc *d = new CountedDesc(&deleted);
  delete d;
  EXPECT_EQ(deleted, 1);
  EXPECT_EQ(xEntityDesc().createEntity(), nullptr);
  xEntity plain;
  EXPECT_TRUE(plain.notifyCollision(nullptr, nullptr, Vec2(0, 0), 0.0f, Vec2(0, 1)));
  EXPECT_EQ(plain.absPlacement(), Vec3(0, 0, 0));
}
