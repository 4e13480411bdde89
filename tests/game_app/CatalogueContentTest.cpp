// The shipped catalogues: every file the resource lists name is there, and
// the real campaign loads without a single problem, ids in order and each
// mission unlocking the next.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "Profile/Mission.h"
#include "Profile/Profile.h"
#include "Profile/SpaceStation.h"
#include "System/ResourceLists.h"
#include "TestEnv.h"

namespace {

class ContentFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    old_ = std::filesystem::current_path();
    std::filesystem::current_path(STARMOOR_SOURCE_DIR);
  }
  void TearDown() override { std::filesystem::current_path(old_); }
  std::filesystem::path old_;
};

TEST_F(ContentFolder, EveryListedFileIsThere) {
  EXPECT_EQ(globalResourceList().size(), 31u);
  EXPECT_EQ(levelResourceList().size(), 31u);
  EXPECT_EQ(introResourceList().size(), 1u);
  int fonts = 0;
  std::set<std::string> keys;
  for (const auto* list : {&globalResourceList(), &levelResourceList(), &introResourceList()}) {
    for (const ResourceEntry& e : *list) {
      EXPECT_TRUE(std::filesystem::is_regular_file(e.file)) << e.key << " " << e.file;
      EXPECT_TRUE(keys.insert(e.key).second) << "key twice: " << e.key;
      fonts += e.font ? 1 : 0;
    }
  }
  EXPECT_EQ(fonts, 4);
}

TEST_F(ContentFolder, CampaignLoadsCleanAndChainsItsMissions) {
  testenv::TempUserDirs dirs;
  Profile profile("Commander");
  ASSERT_TRUE(profile.loadStations("content/config/stations.xml"));
  EXPECT_EQ(profile.campaignProblems(), 0);
  ASSERT_EQ(profile.stations().size(), 15u);
  int n = 0;
  for (const SpaceStation* s : profile.stations()) {
    EXPECT_TRUE(std::filesystem::is_regular_file(s->icon())) << s->icon();
    ASSERT_EQ(s->missions().size(), 3u);
    for (const Mission* m : s->missions()) {
      EXPECT_EQ(m->id(), n);
      EXPECT_TRUE(std::filesystem::is_regular_file(m->config())) << m->config();
      if (n < 44) {
        EXPECT_EQ(m->unlockList(), std::vector<int32_t>{n + 1}) << "mission " << n;
      }
      EXPECT_TRUE(std::filesystem::is_regular_file("content/images/mission/shots/mission_" +
                                                   std::string(n < 10 ? "0" : "") + std::to_string(n) + ".png"));
      ++n;
    }
  }
  // A new profile plays mission 0 only.
  profile.resetProgress();
  for (int m = 0; m < 45; ++m) EXPECT_EQ(profile.isMissionUnlocked(m), m == 0) << m;
}

}  // namespace
