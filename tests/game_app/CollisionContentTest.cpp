// The collision categories file against the interaction table written in its
// own comment, checked through real contacts; the flag words; the materials
// file's fallbacks.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "System/CollisionSetup.h"
#include "WorldFixture.h"

namespace {

using namespace QuillonPHX2D;

const std::string kCategories = std::string(STARMOOR_SOURCE_DIR) + "/content/config/CollisionCategories.xml";

struct Table {
  std::vector<std::string> names;
  std::map<std::pair<std::string, std::string>, char> cells;
};

// The "TABLE" lines of the file's comment: a header, then one row a category.
Table readTable(const std::string& path) {
  std::ifstream in(path);
  Table t;
  std::string line;
  bool header = true;
  std::vector<std::vector<std::string>> rows;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    std::string first;
    if (!(words >> first) || first != "TABLE") continue;
    if (header) {
      header = false;
      continue;
    }
    std::vector<std::string> row;
    for (std::string w; words >> w;) row.push_back(w);
    rows.push_back(row);
  }
  for (const auto& r : rows) t.names.push_back(r.at(0));
  for (const auto& r : rows) {
    EXPECT_EQ(r.size(), t.names.size() + 1) << r.at(0);
    for (size_t j = 1; j < r.size() && j <= t.names.size(); ++j) t.cells[{r[0], t.names[j - 1]}] = r[j].at(0);
  }
  return t;
}

class CollisionTable : public worldtest::World {};

TEST_F(CollisionTable, EveryPairBehavesAsTheFileSays) {
  ASSERT_TRUE(loadCollisionCategoriesFile(kCategories));
  const Table table = readTable(kCategories);
  const std::vector<std::string> expected = {"actor", "enemy", "enemy_bullet", "player_bullet",
                                             "player_photontorpedo", "station_part", "bulletkillzone", "rock",
                                             "particle", "physics_query_target", "physics_query_enemy",
                                             "physics_query_station_parts"};
  ASSERT_EQ(table.names, expected);
  for (const std::string& a : table.names) {
    for (const std::string& b : table.names) {
      // Two overlapping awake circles; each owner answers that the contact counts.
      worldtest::RecordingOwner ownerA, ownerB;
      xPrimitiveShape* sa = attach(addBody(0, 0), new xPrimitiveCircle(1.0f), a.c_str());
      xPrimitiveShape* sb = attach(addBody(1.5f, 0), new xPrimitiveCircle(1.0f), b.c_str());
      ASSERT_NE(sa->getCollisionCategory(), nullptr) << a;
      ASSERT_NE(sb->getCollisionCategory(), nullptr) << b;
      sa->setOwner(&ownerA);
      sb->setOwner(&ownerB);
      contacts().fastClear();
      sdk->collisionContext()->generateContacts();
      const bool rowTold = !ownerA.calls.empty();
      const bool columnTold = !ownerB.calls.empty();
      const bool pushed = contacts().size() > 0;
      char seen = '?';
      if (!rowTold && !columnTold && !pushed) seen = '.';
      else if (rowTold && columnTold) seen = pushed ? 'p' : 'b';
      else if (rowTold && !pushed) seen = 'r';
      else if (columnTold && !pushed) seen = 'c';
      EXPECT_EQ(seen, table.cells.at({a, b})) << a << " meets " << b;
      for (xShape* s : shapes) delete s;
      for (xBody* body : bodies) delete body;
      shapes.clear();
      bodies.clear();
    }
  }
}

TEST(CollisionFlags, WordsJoinedByCommasWithoutBlanks) {
  EXPECT_EQ(parseCollisionFlags("AVOID,RESPOND"), 3u);
  // The blank stays part of the second word, which then names no flag.
  EXPECT_EQ(parseCollisionFlags("AVOID, RESPOND"), 1u);
  EXPECT_EQ(parseCollisionFlags("RESPOND,LET_GO_THROUGH"), 6u);
  EXPECT_EQ(parseCollisionFlags(""), 0u);
  EXPECT_EQ(parseCollisionFlags("respond"), 0u);
}

std::string writeTemp(const std::string& name, const std::string& text) {
  const std::string path = ::testing::TempDir() + name;
  std::ofstream(path) << text;
  return path;
}

TEST(CollisionFile, CopiedCategoryTakesTheSourceAndIgnoresItsPairs) {
  const std::string path = writeTemp("cats.xml", R"(<CollisionCategories>
    <Category name="t_src" flags="AVOID,RESPOND"/>
    <Category name="t_other" flags="RESPOND"><Pair pairName="t_src" pairFlags="LET_GO_THROUGH"/></Category>
    <Category name="t_copy" copyFrom="t_src"><Pair pairName="t_other" pairFlags="AVOID"/></Category>
    <Category name="t_bad" copyFrom="no_such"/>
    <Category name="t_pairless" flags="RESPOND"><Pair pairName="no_such" pairFlags="RESPOND"/></Category>
  </CollisionCategories>)");
  ASSERT_TRUE(loadCollisionCategoriesFile(path));
  xCategoryDispatcher* d = xCategoryDispatcher::Instance();
  xCollisionCategory* copy = d->findCategoryByName("t_copy");
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->categoryFlags(), 3ul);
  EXPECT_EQ(copy->categoryPairsArray().size(), 0);
  EXPECT_EQ(d->findCategoryByName("t_bad"), nullptr);
  ASSERT_NE(d->findCategoryByName("t_pairless"), nullptr);
  EXPECT_EQ(d->findCategoryByName("t_pairless")->categoryPairsArray().size(), 0);
  EXPECT_FALSE(loadCollisionCategoriesFile(writeTemp("wrongroot.xml", "<Categories/>")));
  EXPECT_FALSE(loadCollisionCategoriesFile(::testing::TempDir() + "missing.xml"));
}

TEST(MaterialsFile, MissingOrBadValuesRepeatThePreviousMaterial) {
  const std::string path = writeTemp("mats.xml", R"(<MaterialsLibrary>
    <Material name="m_first" density="700" restitution="0.3" dynamicfriction="0.2" rollingfriction="0.1" reflection="0.4"/>
    <Material name="m_second" restitution="0.9" dynamicfriction="nan" rollingfriction="0.6" reflection="7"/>
    <Material density="1e40"/>
  </MaterialsLibrary>)");
  ASSERT_TRUE(loadMaterialsFile(path));
  xMaterialDispatcher* m = xMaterialDispatcher::Instance();
  const xMaterial* second = m->obtainMaterialByName("m_second");
  ASSERT_NE(second, nullptr);
  EXPECT_FLOAT_EQ(second->density(), 700.0f);
  EXPECT_FLOAT_EQ(second->restitution(), 0.9f);
  EXPECT_FLOAT_EQ(second->dynamicFriction(), 0.2f);
  EXPECT_FLOAT_EQ(second->rollingFriction(), 0.6f);
  EXPECT_FLOAT_EQ(second->reflection(), 0.4f);
}

TEST(MaterialsFile, GameMaterialsInTheirOrder) {
  xMaterialDispatcher* m = xMaterialDispatcher::Instance();
  const int before = m->materialsCount();
  ASSERT_TRUE(loadMaterialsFile(std::string(STARMOOR_SOURCE_DIR) + "/content/config/Materials.xml"));
  for (const char* name : {"default", "hull", "shot", "station", "rock"})
    EXPECT_NE(m->obtainMaterialByName(name), nullptr) << name;
  EXPECT_EQ(m->materialsCount(), before + 5);
}

}  // namespace
