// The application core's object list (updates, removal, pausing) and its 3D step.
#include <gtest/gtest.h>

#include <algorithm>

#include "AppCore.h"
#include "CountingObject.h"
#include "GameExtensions/PhysicsSDK3D.h"
#include "Scene3D.h"

using Journal = std::vector<std::string>;

namespace {
int count(const Journal& journal, const std::string& entry) {
  return static_cast<int>(std::count(journal.begin(), journal.end(), entry));
}
}  // namespace

TEST(AppCore, UpdatesInOrderAndDeletesFlaggedObjectsOnceAtTheEnd) {
  Journal journal;
  {
    AppCore core;
    auto* a = new CountingObject("A", journal);
    auto* b = new CountingObject("B", journal);
    auto* c = new CountingObject("C", journal);
    core.addObject(a);
    core.addObject(b);
    core.addObject(c);
    core.addObject(b);  // held already: not a second entry, not a second delete
    EXPECT_EQ(core.getObjectCount(), 3);

    // A asks for B's removal during the update: B still gets this frame's update.
    a->onUpdate = [&] {
      core.flagForRemoval(b);
      core.flagForRemoval(b);
    };
    core.update();
    EXPECT_EQ(journal, (Journal{"A:update", "B:update", "C:update", "B:deleted"}));
    EXPECT_FALSE(core.contains(b));
    EXPECT_EQ(core.getObjectCount(), 2);

    // Flagged twice, deleted once; the next frame runs without it.
    a->onUpdate = nullptr;
    journal.clear();
    core.update();
    EXPECT_EQ(journal, (Journal{"A:update", "C:update"}));
  }
  // The core deletes what it still holds, each once; B is not deleted again.
  EXPECT_EQ(count(journal, "A:deleted"), 1);
  EXPECT_EQ(count(journal, "B:deleted"), 0);
  EXPECT_EQ(count(journal, "C:deleted"), 1);
}

TEST(AppCore, CandidatesNotHeldOrNoLongerFlaggedAreIgnored) {
  Journal journal;
  AppCore core;
  CountingObject stranger("S", journal);  // never handed to the core
  auto* kept = new CountingObject("K", journal);
  core.addObject(kept);
  core.flagForRemoval(&stranger);
  core.flagForRemoval(kept);
  kept->setFlags(0);  // changed its mind before the frame ended
  core.update();
  EXPECT_TRUE(core.contains(kept));
  EXPECT_EQ(count(journal, "S:deleted"), 0);
  EXPECT_EQ(count(journal, "K:deleted"), 0);
  // The candidate list was emptied: setting the bit by hand alone removes nothing.
  kept->setFlags(AppCoreObject::kFlagRemove);
  core.update();
  EXPECT_TRUE(core.contains(kept));
}

TEST(AppCore, PausedCoreNeitherUpdatesNorRemovesUntilResumed) {
  Journal journal;
  AppCore core;
  auto* a = new CountingObject("A", journal);
  auto* b = new CountingObject("B", journal);
  core.addObject(a);
  core.addObject(b);
  core.setPaused(true);
  core.flagForRemoval(a);
  core.update();
  core.update();
  EXPECT_TRUE(journal.empty());
  EXPECT_TRUE(core.contains(a));
  core.setPaused(false);
  core.update();
  EXPECT_EQ(journal, (Journal{"A:update", "B:update", "A:deleted"}));
}

TEST(AppCore, ObjectsAddedOrFlaggedWhileRemovingWaitForTheNextFrame) {
  Journal journal;
  AppCore core;
  auto* a = new CountingObject("A", journal);
  core.addObject(a);
  CountingObject* late = nullptr;
  a->onUpdate = [&] {
    if (late) return;
    late = new CountingObject("L", journal);
    core.addObject(late);
  };
  core.update();
  EXPECT_EQ(journal, (Journal{"A:update"}));  // L joined after the walk began
  journal.clear();
  core.update();
  EXPECT_EQ(journal, (Journal{"A:update", "L:update"}));

  // An object whose destructor flags another: that one goes a frame later.
  class Chained : public CountingObject {
   public:
    Chained(AppCore& core, AppCoreObject* next, Journal& journal)
        : CountingObject("C", journal), core_(core), next_(next) {}
    ~Chained() override { core_.flagForRemoval(next_); }
    AppCore& core_;
    AppCoreObject* next_;
  };
  auto* chained = new Chained(core, late, journal);
  core.addObject(chained);
  core.flagForRemoval(chained);
  journal.clear();
  core.update();
  EXPECT_EQ(count(journal, "C:deleted"), 1);
  EXPECT_TRUE(core.contains(late));
  core.update();
  EXPECT_FALSE(core.contains(late));
  EXPECT_EQ(count(journal, "L:deleted"), 1);
}

TEST(AppCore, PreStepStepsTheWorldByTenthsOfMillisecondsOnlyWhenOneExists) {
  Journal journal;
  AppCore core;
  core.addObject(new CountingObject("A", journal));
  ASSERT_EQ(QuillonPHX2D::g_ptrSDK3D, nullptr);
  core.preStep(16);  // no world: only the objects run
  EXPECT_EQ(journal, (Journal{"A:update"}));

  p3test::Scene3D scene;  // becomes the global world while it lives
  struct Case {
    int ms;
    float step;
  };
  // No time scale and no clamp: 16 ms is 1.6, 40 ms is 4.0; a frame that is not
  // positive steps 0.01.
  for (const Case& c : {Case{16, 1.6f}, Case{1, 0.1f}, Case{0, 0.01f}, Case{-3, 0.01f}, Case{40, 4.0f}}) {
    const int tick = scene.sdk.currentTick();
    core.preStep(c.ms);
    EXPECT_EQ(scene.sdk.currentTick(), tick + 1) << c.ms;
    EXPECT_FLOAT_EQ(scene.sdk.timeStep(), c.step) << c.ms;
  }
  // The widened single-precision 0.1 of the frame loop, not the double 0.1.
  core.preStep(7);
  EXPECT_EQ(scene.sdk.timeStep(), static_cast<float>(7 * static_cast<double>(0.1f)));

  // Pausing the core holds its objects, not the world.
  core.setPaused(true);
  journal.clear();
  const int tick = scene.sdk.currentTick();
  core.preStep(10);
  EXPECT_EQ(scene.sdk.currentTick(), tick + 1);
  EXPECT_TRUE(journal.empty());
}
