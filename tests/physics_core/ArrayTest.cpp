#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <thread>
#include <vector>

#include "AssertCatcher.h"
#include "CollisionContext/xTempContact.h"
#include "Foundation/Templates/xArray.h"
#include "Foundation/Templates/xBlockAllocator.h"

using namespace QuillonPHX2D;

TEST(xArrayGrowth, CapacitiesFollowTheGrowthRule) {
  xArray<int> a;
  std::vector<int> caps;
  for (int i = 0; i < 100; ++i) {
    a.append(i);
    if (caps.empty() || caps.back() != a.capacity()) caps.push_back(a.capacity());
  }
  ASSERT_GE(caps.size(), 4u);
  EXPECT_EQ(caps[0], 1);
  EXPECT_EQ(caps[1], 10);
  EXPECT_EQ(caps[2], 31);
  EXPECT_EQ(caps[3], 94);
  for (int i = 0; i < 100; ++i) ASSERT_EQ(a[i], i);

  // Beyond 64000 bytes of capacity the factor drops from 3 to 2.
  xArray<int> big(16000);
  big.resize(16001);
  EXPECT_EQ(big.capacity(), 16001 + 3 * 16000 - 16000);
  xArray<int> bigger(16001);
  bigger.resize(16002);
  EXPECT_EQ(bigger.capacity(), 16002 + 2 * 16001 - 16001);

  xArray<int> pre;
  pre.preallocate(64);
  EXPECT_EQ(pre.size(), 0);
  EXPECT_EQ(pre.capacity(), 64);
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(pre.dataPtr()) % 16, 0u);
}

TEST(xArrayGrowth, AppendingOwnElementWhileFull) {
  xArray<int> a;
  for (int i = 0; i < 10; ++i) a.append(i * 7);
  ASSERT_EQ(a.size(), a.capacity());
  for (int round = 0; round < 50; ++round) {
    const int before = a.size();
    if (a.size() < a.capacity()) {
      a.append(0);
      continue;
    }
    a.append(a[before / 2]);  // refers into storage that the append moves
    EXPECT_EQ(a.last(), a[before / 2]);
  }
  xArray<int> b;
  b.append(5);
  b.append(b);  // appending itself doubles it
  b.append(b);
  ASSERT_EQ(b.size(), 4);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(b[i], 5);
}

TEST(xArrayOps, RemoveFindCopyAndRecords) {
  xArray<int> a;
  for (int i = 0; i < 30; ++i) a.append(i);
  a.remove(99);
  EXPECT_EQ(a.size(), 30);
  EXPECT_EQ(a.findIndex(99), -1);
  a.remove(3);
  EXPECT_EQ(a[3], 4);
  EXPECT_EQ(a.size(), 29);
  a.remove(0, 10);
  EXPECT_EQ(a[0], 11);
  EXPECT_EQ(a.size(), 19);
  EXPECT_TRUE(a.isContained(&a[18]));
  EXPECT_FALSE(a.isContained(a.dataPtr() + 19));
  EXPECT_EQ(a.pop(), 29);

  xArray<int> copy(a);
  copy[0] = -1;
  EXPECT_EQ(a[0], 11);
  copy = a;
  EXPECT_EQ(copy.size(), a.size());
  EXPECT_EQ(copy[17], a[17]);

  // Element types with a constructor start from their defaults when the array grows.
  xArray<xTempContact> contacts;
  contacts.resize(3);
  EXPECT_EQ(contacts[2].normal, Vec2(0, 1));
  EXPECT_EQ(contacts[2].body0, nullptr);
  xTempContact &c = contacts.push();
  EXPECT_EQ(c.depth, 0.0f);
  EXPECT_EQ(contacts.size(), 4);

  struct Counted {
    static int &alive() { static int n = 0; return n; }
    Counted() { ++alive(); }
    ~Counted() { --alive(); }
  };
  xArray<Counted *> owned;
  for (int i = 0; i < 5; ++i) owned.append(new Counted());
  owned.append(nullptr);
  EXPECT_EQ(Counted::alive(), 5);
  owned.deleteAll();
  EXPECT_EQ(Counted::alive(), 0);
  EXPECT_EQ(owned.size(), 0);
}

TEST(xArrayOps, OutOfBoundsAccessIsReportedNotPerformed) {
  AssertCatcher catcher;
  xArray<int> a;
  a.append(1);
  a.append(2);
  int &bad = a[2];
  (void)bad;
  EXPECT_GE(catcher.reports(), 1);
  const int afterIndex = catcher.reports();
  a[-1] = 77;  // written to the stand-in, not before the data
  EXPECT_GT(catcher.reports(), afterIndex);
  EXPECT_EQ(a[0], 1);

  xArray<int> empty;
  const int before = catcher.reports();
  EXPECT_EQ(empty.pop(), 0);
  empty.last() = 3;
  empty.remove(0, 1);
  EXPECT_EQ(catcher.reports(), before + 3);
  EXPECT_EQ(empty.size(), 0);
}

TEST(xBlockAllocatorRouting, PoolSmallMediumAndHeap) {
  xBlockAllocator *alloc = xBlockAllocator::Instance();
  ASSERT_NE(alloc, nullptr);
  xBlockAllocator::Stats s0 = alloc->stats();

  void *p64 = alloc->allocate(64);
  EXPECT_TRUE(alloc->isPoolBlock(p64));
  EXPECT_EQ(alloc->stats().poolHits, s0.poolHits + 1);
  void *p65 = alloc->allocate(65);
  EXPECT_FALSE(alloc->isPoolBlock(p65));
  alloc->release(p64);
  const bool smallHadRoom = alloc->stats().smallCount < xBlockAllocator::kSmallEntries;
  alloc->release(p65);
  alloc->release(nullptr);

  // A released 65-byte block is recycled for the next small request that fits.
  if (smallHadRoom) {
    xBlockAllocator::Stats s1 = alloc->stats();
    void *again = alloc->allocate(65);
    EXPECT_EQ(alloc->stats().smallHits, s1.smallHits + 1);
    EXPECT_EQ(again, p65);
    alloc->release(again);
  }

  // 1001 bytes belong to the medium list, never the small one.
  void *m = alloc->allocate(1001);
  const int mediumBefore = alloc->stats().mediumCount;
  alloc->release(m);
  EXPECT_EQ(alloc->stats().mediumCount, (mediumBefore < xBlockAllocator::kMediumEntries) ? mediumBefore + 1 : mediumBefore);

  // With the pool exhausted, a 40-byte request is served elsewhere and its block goes to the
  // small list (not the pool) on release.
  std::vector<void *> pool;
  while (alloc->stats().poolFree > 0) pool.push_back(alloc->allocate(32));
  void *p40 = alloc->allocate(40);
  ASSERT_NE(p40, nullptr);
  EXPECT_FALSE(alloc->isPoolBlock(p40));
  const int smallBefore = alloc->stats().smallCount;
  alloc->release(p40);
  if (smallBefore < xBlockAllocator::kSmallEntries) {
    EXPECT_EQ(alloc->stats().smallCount, smallBefore + 1);
  }
  for (void *p : pool) alloc->release(p);
  EXPECT_EQ(alloc->stats().poolFree, xBlockAllocator::kPoolBlocks);

  // A full small list hands a 1000-byte block back to the heap.
  std::vector<void *> blocks;
  for (int i = 0; i < xBlockAllocator::kSmallEntries + 5; ++i) blocks.push_back(alloc->allocate(1000));
  for (void *p : blocks) alloc->release(p);
  EXPECT_EQ(alloc->stats().smallCount, xBlockAllocator::kSmallEntries);
}

TEST(xBlockAllocatorRouting, ManyThreadsAllocateAndRelease) {
  xBlockAllocator *alloc = xBlockAllocator::Instance();
  const int poolFree = alloc->stats().poolFree;
  std::vector<std::thread> threads;
  std::vector<int> failures(8, 0);
  for (int t = 0; t < 8; ++t) {
    threads.emplace_back([t, alloc, &failures] {
      std::mt19937 rng(1234 + t);
      std::vector<std::pair<unsigned char *, unsigned>> held;
      for (int i = 0; i < 4000; ++i) {
        if (held.size() < 50 && (rng() % 3 != 0 || held.empty())) {
          const unsigned len = 1 + rng() % 6000;
          unsigned char *p = static_cast<unsigned char *>(alloc->allocate(len));
          if (!p) { ++failures[t]; continue; }
          const unsigned char tag = static_cast<unsigned char>(t * 31 + len);
          p[0] = tag;
          p[len - 1] = tag;
          held.emplace_back(p, len);
        } else {
          const size_t k = rng() % held.size();
          const unsigned char tag = static_cast<unsigned char>(t * 31 + held[k].second);
          // Nobody else wrote into a block this thread holds.
          if (held[k].first[0] != tag || held[k].first[held[k].second - 1] != tag) ++failures[t];
          alloc->release(held[k].first);
          held.erase(held.begin() + k);
        }
      }
      for (auto &h : held) alloc->release(h.first);
    });
  }
  for (auto &th : threads) th.join();
  for (int f : failures) EXPECT_EQ(f, 0);
  EXPECT_EQ(alloc->stats().poolFree, poolFree);
}
