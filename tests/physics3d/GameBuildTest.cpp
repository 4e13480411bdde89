// What the game build adds to the engine: assertions that fail loudly in this suite, the 3D
// separating-axis record with its first values, and 2D and 3D names that live side by side.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "CollisionContext/Colliders/qlnSeparatingAxis.h"
#include "Foundation/Templates/xArray.h"
#include "sdk/xEntity.h"
#include "GameExtensions/SeparatingAxis3D.h"
#include "StrictAsserts.h"

using namespace QuillonPHX2D;

namespace {

void failUnlessExpected(const char* expr, const char* file, int line) {
  if (p3test::ExpectAsserts::depth() > 0) return;
  ADD_FAILURE() << "engine assertion \"" << expr << "\" at " << file << ":" << line;
}

class StrictAssertEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { previous_ = qlnSetAssertHandler(&failUnlessExpected); }
  void TearDown() override { qlnSetAssertHandler(previous_); }

 private:
  QlnAssertHandler previous_ = nullptr;
};

const ::testing::Environment* const kStrict = ::testing::AddGlobalTestEnvironment(new StrictAssertEnvironment);

}  // namespace

TEST(GameBuild, OutOfBoundsArrayReadsAreReportedAndReadNothing) {
  xArray<int> a;
  a.append(7);
  p3test::ExpectAsserts expect;
  EXPECT_EQ(a[3], 0);
  EXPECT_EQ(a[-1], 0);
  EXPECT_GE(expect.reported(), 2u);
  EXPECT_EQ(a[0], 7);
}

TEST(GameBuild, AnUnexpectedAssertionFailsTheTest) {
  EXPECT_NONFATAL_FAILURE(
      {
        xArray<int> a;
        a.append(1);
        (void)a[5];
      },
      "engine assertion");
}

// Run in a fresh copy of the program so no search has touched the records yet.
TEST(GameBuild, SeparatingAxisRecordsStartUnsearched) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        const xSATState3D& s = qlnSAT3D();
        const bool fresh3D = s.bestAxis == -1 && s.bestDepth == -QLN_MAX && s.firstRadius == -QLN_MAX &&
                             s.secondRadius == -QLN_MAX && s.bestNormal == Vec3(0.0f) && !s.separated;
        const bool fresh2D = qlnSATGetBestAxis() == -1 && qlnSATGetBestDepth() == -QLN_MAX &&
                             qlnSATGetBestRadiusA() == -QLN_MAX && !qlnSATIsSuccess();
        std::exit(fresh3D && fresh2D ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
  // Both resets exist side by side and leave their own record only.
  qlnSATReset3D();
  qlnSATReset();
  EXPECT_EQ(qlnSAT3D().bestDepth, QLN_MAX);
  EXPECT_EQ(qlnSAT3D().bestAxis, -1);
  EXPECT_EQ(qlnSATGetBestDepth(), QLN_MAX);
}

namespace {
struct CountingDesc : xEntityDesc {
  explicit CountingDesc(int* deleted) : deleted_(deleted) {}
  ~CountingDesc() override { ++*deleted_; }
  int* deleted_;
};
}  // namespace

TEST(GameBuild, DescriptionsDeletedThroughTheBaseRunTheirOwnDestructor) {
  int deleted = 0;
  xEntityDesc* d = new CountingDesc(&deleted);
  EXPECT_EQ(d->createEntity(), nullptr);
  delete d;
  EXPECT_EQ(deleted, 1);
}
