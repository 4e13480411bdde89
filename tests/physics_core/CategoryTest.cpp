#include "CollisionContext/Categories/CategoryDispatcher.h"
#include "CollisionContext/Materials/MaterialDispatcher.h"
#include "WorldFixture.h"

using namespace QuillonPHX2D;

using Categories = WorldTest;

namespace {
unsigned long effA(xShape *a, xShape *b) {
  unsigned long fa, fb;
  xCategoryDispatcher::Instance()->effectiveFlags(a, b, fa, fb);
  return fa;
}
}  // namespace

TEST(Materials, RegistryRules) {
  xMaterialDispatcher *reg = xMaterialDispatcher::Instance();
  ASSERT_NE(reg, nullptr);
  EXPECT_EQ(reg, xMaterialDispatcher::mdp_ptrInstance);
  xMaterial *def = reg->defaultMaterial();
  ASSERT_NE(def, nullptr);
  EXPECT_EQ(def->label(), "default_Material");
  EXPECT_EQ(def->density(), 1000.0f);
  EXPECT_EQ(def->reflection(), 0.5f);
  EXPECT_EQ(reg->obtainMaterialByName("default_material"), nullptr);  // case matters

  reg->createMaterial("mat_ice", 900, 0.1f, 0.02f, 0.01f, 0.9f);
  reg->createMaterial("mat_ice", 1, 1, 1, 1, 1);  // existing label: unchanged
  xMaterial *ice = reg->obtainMaterialByName("mat_ice");
  ASSERT_NE(ice, nullptr);
  EXPECT_EQ(ice->density(), 900.0f);
  EXPECT_EQ(ice->dynamicFriction(), 0.02f);

  EXPECT_FALSE(reg->registerMaterial(nullptr));
  xMaterial dup("mat_ice", 5, 5, 5, 5, 5);
  EXPECT_FALSE(reg->registerMaterial(&dup));  // refused: the caller still owns it
  xMaterial *rubber = new xMaterial("mat_rubber", 1100, 0.9f, 1.0f, 1.0f, 0.1f);
  EXPECT_TRUE(reg->registerMaterial(rubber));
  EXPECT_TRUE(reg->registerMaterial(rubber));  // already ours
  EXPECT_EQ(reg->obtainMaterialByName("mat_rubber"), rubber);
  EXPECT_EQ(reg->defaultMaterial(), def);
}

TEST_F(Categories, BuiltInTableAndEffectiveFlags) {
  xCategoryDispatcher *reg = xCategoryDispatcher::Instance();
  const char *names[8] = {"default", "ignoreall", "notifier", "solid_geometry", "item", "collision_ray", "fluid_dynamic", "fluid_static"};
  const unsigned long flags[8] = {2, 1, 6, 2, 0, 0, 0, 0};
  for (int i = 0; i < 8; ++i) {
    xCollisionCategory *c = reg->findCategoryByName(names[i]);
    ASSERT_NE(c, nullptr) << names[i];
    EXPECT_EQ(reg->findCategoryIndex(c), i);
    EXPECT_EQ(c->categoryFlags(), flags[i]);
  }
  EXPECT_TRUE(reg->findCategoryByName("notifier")->isLetGoThrough());

  xPrimitiveShape *solidA = makeBoxShape(1, 1, "solid_geometry");
  xPrimitiveShape *solidB = makeBoxShape(1, 1, "solid_geometry");
  xPrimitiveShape *def = makeBoxShape(1, 1, "default");
  xPrimitiveShape *item = makeBoxShape(1, 1, "item");
  xPrimitiveShape *ignoreAll = makeBoxShape(1, 1, "ignoreall");
  xPrimitiveShape *ray = makeBoxShape(1, 1, "collision_ray");

  EXPECT_TRUE(reg->shouldIgnore(solidA, solidB));
  EXPECT_FALSE(reg->shouldIgnore(solidA, def));
  EXPECT_EQ(effA(solidA, def), 2u);
  EXPECT_EQ(effA(def, solidA), 2u);
  EXPECT_EQ(effA(item, def), 6u);
  EXPECT_EQ(effA(def, item), 2u);
  EXPECT_TRUE(reg->shouldLetGoThrough(item, def));
  EXPECT_FALSE(reg->shouldLetGoThrough(solidA, def));
  // A pair entry only ever replaces the category's flags with something non-zero.
  EXPECT_EQ(effA(item, ray), 0u);
  EXPECT_EQ(effA(ray, item), 2u);
  for (xShape *other : {static_cast<xShape *>(solidA), static_cast<xShape *>(def), static_cast<xShape *>(item),
                        static_cast<xShape *>(ray)}) {
    EXPECT_TRUE(reg->shouldIgnore(ignoreAll, other));
    EXPECT_TRUE(reg->shouldIgnore(other, ignoreAll));
  }
  EXPECT_TRUE(reg->shouldIgnore(def, def));
  EXPECT_TRUE(reg->shouldIgnore(def, nullptr));
  EXPECT_TRUE(reg->shouldLetGoThrough(nullptr, def));

  // A shape without a category is judged by the other's flags alone, never dereferenced.
  xPrimitiveShape *bare = makeBoxShape(1, 1, "no_such_category");
  EXPECT_EQ(bare->getCollisionCategory(), nullptr);
  EXPECT_FALSE(reg->shouldIgnore(bare, def));
  EXPECT_TRUE(reg->shouldIgnore(bare, ignoreAll));
  EXPECT_FALSE(reg->shouldLetGoThrough(def, bare));
  EXPECT_EQ(effA(bare, def), 0u);

  unsigned long fa = 9, fb = 9;
  reg->configureFlagsForQuery(item->getCollisionCategory(), def->getCollisionCategory());
  reg->updateFlags(fa, fb);
  EXPECT_EQ(fa, 6u);
  EXPECT_EQ(fb, 9u);  // no entry of default towards item: untouched
  for (xShape *s : {static_cast<xShape *>(solidA), static_cast<xShape *>(solidB), static_cast<xShape *>(def),
                    static_cast<xShape *>(item), static_cast<xShape *>(ignoreAll), static_cast<xShape *>(ray),
                    static_cast<xShape *>(bare)})
    delete s;
}

TEST(CategoryRegistry, PairsCopiesAndSeparateInstances) {
  xCategoryDispatcher *reg = xCategoryDispatcher::Instance();
  const int count = reg->categoriesCount();
  EXPECT_FALSE(reg->registerCategoryPair("default", "nope_unknown", 1));
  EXPECT_FALSE(reg->registerCategoryPair("nope_unknown", "default", 1));
  EXPECT_EQ(reg->categoriesCount(), count);

  reg->createCategory("cat_twice", 2);
  reg->createCategory("cat_twice", 1);
  EXPECT_EQ(reg->findCategoryByName("cat_twice")->categoryFlags(), 2u);
  ASSERT_TRUE(reg->registerCategoryPair("cat_twice", "default", 4));
  ASSERT_TRUE(reg->registerCategoryPair("cat_twice", "default", 1));
  const int defIndex = reg->findCategoryIndex(reg->findCategoryByName("default"));
  EXPECT_EQ(reg->findCategoryByName("cat_twice")->pairFlagsForCategory(defIndex), 4u);  // the first wins

  ASSERT_TRUE(reg->copyCategory("item", "cat_item_copy"));
  xCollisionCategory *copy = reg->findCategoryByName("cat_item_copy");
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->categoryFlags(), 0u);
  const xArray<int> pairs = copy->categoryPairsArray();
  ASSERT_EQ(pairs.size(), 2);
  EXPECT_EQ(pairs[0], defIndex);
  EXPECT_EQ(pairs[1], reg->findCategoryIndex(reg->findCategoryByName("solid_geometry")));
  EXPECT_EQ(copy->categoryPairsFlagsArray()[0], 6u);
  EXPECT_FALSE(reg->copyCategory("nope_unknown", "cat_x"));
  EXPECT_FALSE(reg->copyCategory("item", "cat_item_copy"));  // the name is taken
  EXPECT_FALSE(reg->copyCategory("item", "default"));

  xCategoryDispatcher *own = xCategoryDispatcher::CreateSeparateInstance();
  ASSERT_NE(own, nullptr);
  EXPECT_NE(own, reg);
  EXPECT_EQ(own->categoriesCount(), 8);
  EXPECT_EQ(own->findCategoryByName("cat_twice"), nullptr);
  xCategoryDispatcher::DestroySeparateInstance(own);
  EXPECT_EQ(xCategoryDispatcher::Instance(), reg);
}
