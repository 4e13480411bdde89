#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <unordered_map>
#include <vector>

#include "PointerTable.h"

namespace {

// Thousands of adds and removals in random order, the table checked against a map after each:
// removals close up runs of neighbouring slots, so a wrong shift loses or hides keys that
// were added after the one removed.
TEST(PointerTable, AgreesWithAMapThroughRandomAddsAndRemovals) {
  std::vector<int> things(4000);
  std::vector<const void*> keys;
  for (int& t : things) keys.push_back(&t);
  PointerTable<int> table;
  std::unordered_map<const void*, int> expected;
  std::mt19937 random(7);
  for (int step = 0; step < 60000; ++step) {
    const void* k = keys[random() % keys.size()];
    if (random() % 3 == 0) {
      EXPECT_EQ(table.erase(k), expected.erase(k) > 0);
    } else {
      const int v = step;
      const bool added = expected.emplace(k, v).second;
      EXPECT_EQ(table.insert(k, v), added);
    }
    if (step % 997 == 0) {
      for (const void* q : keys) {
        auto it = expected.find(q);
        const int* found = table.find(q);
        ASSERT_EQ(found != nullptr, it != expected.end());
        if (found) {
          EXPECT_EQ(*found, it->second);
        }
      }
    }
  }
  EXPECT_EQ(table.size(), expected.size());
  table.clear();
  EXPECT_TRUE(table.empty());
  for (const void* q : keys) EXPECT_EQ(table.count(q), 0u);
}

TEST(PointerTable, SetRefusesNullAndDuplicates) {
  PointerMembers set;
  int a = 0, b = 0;
  EXPECT_FALSE(set.insert(nullptr));
  EXPECT_TRUE(set.insert(&a));
  EXPECT_FALSE(set.insert(&a));
  EXPECT_TRUE(set.insert(&b));
  EXPECT_TRUE(set.erase(&a));
  EXPECT_FALSE(set.erase(&a));
  EXPECT_EQ(set.count(&b), 1u);
  EXPECT_EQ(set.size(), 1u);
}

}  // namespace
