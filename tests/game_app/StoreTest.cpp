// The store layer: statistics and achievements on a scripted store, the
// leaderboard client's bindings, and the local store's file and answers.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "BackupFile.h"
#include "Store/CSteamLeaderboards.h"
#include "Store/CStatsAndAchievements.h"
#include "Store/FakeStore.h"
#include "Store/LocalStore.h"
#include "System/GlobalEventManager.h"
#include "TestEnv.h"

namespace {

using store::FakeStore;
using store::LocalStore;

std::string readText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void pump(store::StoreClient& s, int frames) {
  for (int i = 0; i < frames; ++i) s.runCallbacks();
}

TEST(StatsAndAchievements, ThresholdsUnlockOnceTheStoreAnswered) {
  FakeStore fake(CSteamLeaderboards::allLeaderboardNames());
  fake.setStoredStat("STAT_HAWKEN_MAPS", 1);
  CStatsAndAchievements stats(&fake);
  // Nothing counts before the stats arrived.
  stats.addStat("STAT_HAWKEN_MAPS");
  EXPECT_TRUE(fake.setStats.empty());
  pump(fake, 2);
  ASSERT_TRUE(stats.isInitialized());
  EXPECT_EQ(stats.counter("STAT_HAWKEN_MAPS"), 1);

  // Station 8 is HAWKEN: its third won map unlocks its achievement.
  stats.addStationMapWon(8 * 3 + 1);
  EXPECT_TRUE(fake.setAchievements.empty());
  stats.addStationMapWon(8 * 3 + 2);
  ASSERT_EQ(fake.setAchievements.size(), 1u);
  EXPECT_EQ(fake.setAchievements[0], "ACH_DEFENDED_HAWKEN");
  EXPECT_EQ(fake.storeCalls, 1);
  // Once the store reported it achieved, a fourth map only sets the count.
  ASSERT_TRUE(stats.requestStats());
  pump(fake, 2);
  EXPECT_TRUE(stats.isAchieved("ACH_DEFENDED_HAWKEN"));
  stats.addStationMapWon(8 * 3);
  EXPECT_EQ(fake.setStats.back(), std::make_pair(std::string("STAT_HAWKEN_MAPS"), 4));
  EXPECT_EQ(fake.setAchievements.size(), 1u);

  const size_t sets = fake.setStats.size();
  stats.addStat("STAT_FIRST_BLOOD");
  stats.addStat("STAT_NO_SUCH_THING");
  EXPECT_EQ(fake.setStats.size(), sets);
  // A mission beyond the fifteen stations names no statistic.
  EXPECT_FALSE(stats.addStationMapWon(45));
  EXPECT_FALSE(stats.addStationMapWon(-3));
  EXPECT_EQ(fake.setStats.size(), sets);

  // One counts to one, the other to its own threshold.
  stats.addStat("STAT_BANK_UNIT");
  EXPECT_EQ(fake.setAchievements.back(), "ACH_BANK_UNIT");
  stats.addStat("STAT_NAVIGATION_BEACONS");
  EXPECT_EQ(fake.setAchievements.back(), "ACH_BANK_UNIT");
  stats.addStat("STAT_NAVIGATION_BEACONS");
  EXPECT_EQ(fake.setAchievements.back(), "ACH_NAVIGATION");
}

TEST(StatsAndAchievements, NotLoggedOnOrRefusedStaysUninitialised) {
  FakeStore fake(CSteamLeaderboards::allLeaderboardNames());
  fake.setLoggedOn(false);
  CStatsAndAchievements offline(&fake);
  pump(fake, 3);
  EXPECT_FALSE(offline.isInitialized());
  fake.setLoggedOn(true);
  fake.setStatsResult(store::kResultFail);
  CStatsAndAchievements refused(&fake);
  pump(fake, 3);
  EXPECT_FALSE(refused.isInitialized());
  refused.unlockAchievement("ACH_FIRST_TOWER");
  EXPECT_TRUE(fake.setAchievements.empty());
}

TEST(Leaderboards, NamesBindingsAndPublishedRows) {
  EXPECT_EQ(CSteamLeaderboards::leaderboardName(0, 0), "YORK_001");
  EXPECT_EQ(CSteamLeaderboards::leaderboardName(0, 3), "YORK_001_3");
  EXPECT_EQ(CSteamLeaderboards::leaderboardName(44, 5), "DUBROVNIKM2_003_5");
  EXPECT_EQ(CSteamLeaderboards::leaderboardName(45, 0), "");
  EXPECT_EQ(CSteamLeaderboards::allLeaderboardNames().size(), 270u);

  FakeStore fake(CSteamLeaderboards::allLeaderboardNames());
  for (int i = 0; i < 12; ++i) fake.addScore("SOFIA_002", 100 + i, 1000 * i, "pilot" + std::to_string(i));
  fake.setWholeBoardDownloads(true);
  CSteamLeaderboards boards(&fake);
  EXPECT_FALSE(boards.uploadScore(5));
  EXPECT_TRUE(fake.uploads.empty());

  // Two finds in one frame: only the second is waited for.
  boards.findLeaderboard("YORK_001");
  boards.findLeaderboard("SOFIA_002");
  boards.client()->runCallbacks();
  EXPECT_EQ(boards.currentLeaderboard(), 0u) << "answers come one frame later at the earliest";
  pump(fake, 2);
  EXPECT_EQ(boards.currentName(), "SOFIA_002");
  pump(fake, 2);
  EXPECT_EQ(boards.entryCount(), 10);
  ASSERT_EQ(boards.entries().size(), 10u);
  EXPECT_EQ(boards.entries()[0].score, 11000);

  // A board that does not exist leaves none current.
  boards.findLeaderboard("NOWHERE_001");
  pump(fake, 3);
  EXPECT_EQ(boards.currentLeaderboard(), 0u);
  EXPECT_TRUE(boards.entries().empty());
}

TEST(Leaderboards, ScoreGoesToItsMissionBoardOnly) {
  FakeStore fake(CSteamLeaderboards::allLeaderboardNames());
  CSteamLeaderboards boards(&fake);
  boards.findLeaderboard("YORK_001");
  pump(fake, 4);
  ASSERT_EQ(boards.currentName(), "YORK_001");
  // The level was mission 7 in mode 2; the board found last was another, and
  // another lookup comes while the score waits for its board.
  ASSERT_TRUE(boards.uploadScoreFor(7, 2, 4321));
  boards.findLeaderboard("SOFIA_003");
  pump(fake, 6);
  EXPECT_EQ(boards.currentName(), "SOFIA_003");
  int32_t best = 0;
  EXPECT_TRUE(fake.bestScore("HOYMADAR_002_2", &best));
  EXPECT_EQ(best, 4321);
  EXPECT_FALSE(fake.bestScore("YORK_001", &best));
  EXPECT_TRUE(boards.uploadOk());
  EXPECT_FALSE(boards.uploadScoreFor(45, 0, 1));

  fake.setFailUpload(true);
  ASSERT_TRUE(boards.uploadScore(99));
  pump(fake, 3);
  EXPECT_FALSE(boards.uploadOk());
}

TEST(LocalStore, KeepsTheBestScorePerBoardAcrossRestarts) {
  testenv::TempUserDirs dirs;
  const std::string path = dirs.data() + "/Starmoor/store.dat";
  const auto names = CSteamLeaderboards::allLeaderboardNames();
  {
    LocalStore local(path, names);
    ASSERT_TRUE(local.load());
    CSteamLeaderboards boards(&local);
    ASSERT_TRUE(boards.uploadScoreFor(9, 0, 500));
    pump(local, 6);
    ASSERT_TRUE(boards.uploadScoreFor(9, 0, 300));  // worse: the best stays
    pump(local, 3);
    ASSERT_TRUE(boards.uploadScoreFor(9, 1, 50));
    pump(local, 6);
  }
  // Other pilots on the board, as another machine's file could hold them.
  {
    std::string text = readText(path);
    ASSERT_NE(text.rfind("end\n"), std::string::npos) << text;
    text.erase(text.rfind("end\n"));
    std::ofstream out(path);
    out << text;
    for (int i = 1; i <= 12; ++i)
      out << "user " << 100 + i << " pilot " << i << "\nscore SOFIA_001 " << 100 + i << " " << i * 100 << "\n";
    out << "end\n";
  }
  LocalStore again(path, names);
  ASSERT_TRUE(again.load());
  int32_t best = 0;
  ASSERT_TRUE(again.bestScore("SOFIA_001", &best));
  EXPECT_EQ(best, 500);
  ASSERT_TRUE(again.bestScore("SOFIA_001_1", &best));
  EXPECT_EQ(best, 50);

  // Around the player: four above, the player, five below.
  CSteamLeaderboards boards(&again);
  boards.findLeaderboard("SOFIA_001");
  pump(again, 6);
  ASSERT_EQ(boards.entryCount(), 10);
  EXPECT_EQ(boards.entries()[0].globalRank, 4);
  EXPECT_EQ(boards.entries()[4].user, again.userId());
  EXPECT_EQ(boards.entries()[4].score, 500);
  // Pilot 5 has the same score: ties are ranked by user id.
  EXPECT_EQ(again.personaName(boards.entries()[5].user), "pilot 5");
}

TEST(LocalStore, BrokenFileIsKeptAndTheStoreStartsEmpty) {
  testenv::TempUserDirs dirs;
  const std::string path = dirs.data() + "/store.dat";
  std::ofstream(path) << "STARMOOR-STORE 1\nstat STAT_YORK_MAPS 2\nscore YORK_001 1 notanumber\n";
  LocalStore local(path, CSteamLeaderboards::allLeaderboardNames());
  EXPECT_FALSE(local.load());
  EXPECT_EQ(local.backupPath(), path + ".bak");
  int32_t v = -1;
  ASSERT_TRUE(local.getStat("STAT_YORK_MAPS", &v));
  EXPECT_EQ(v, 0);
  // The next store writes a clean file beside the kept one.
  ASSERT_TRUE(local.setStat("STAT_YORK_MAPS", 3));
  ASSERT_TRUE(local.storeStats());
  LocalStore again(path, CSteamLeaderboards::allLeaderboardNames());
  ASSERT_TRUE(again.load());
  ASSERT_TRUE(again.getStat("STAT_YORK_MAPS", &v));
  EXPECT_EQ(v, 3);
  EXPECT_TRUE(std::filesystem::exists(path + ".bak"));
}

class CountingListener : public GlobalEventListener {
 public:
  void onGlobalEvent(int32_t eventId, int32_t argument) override {
    ++calls;
    lastEvent = eventId;
    lastArgument = argument;
  }
  int calls = 0;
  int32_t lastEvent = -1, lastArgument = -1;
};

TEST(LocalStore, AFileCutShortIsBrokenAndOneWithoutACopyIsNeverWrittenOver) {
  testenv::TempUserDirs dirs;
  const std::string path = dirs.data() + "/store.dat";
  std::string whole;
  {
    LocalStore local(path, CSteamLeaderboards::allLeaderboardNames());
    ASSERT_TRUE(local.setStat("STAT_YORK_MAPS", 3));
    ASSERT_TRUE(local.setAchievement("ACH_WIN_ONE"));
    ASSERT_TRUE(local.save());
    whole = readText(path);
  }
  // Cut at the end of a record: every line left is a good one.
  const std::string cut = whole.substr(0, whole.rfind("achievement"));
  std::ofstream(path) << cut;
  for (int n = 1; n <= backupfile::kMaxBackups; ++n) std::ofstream(n == 1 ? path + ".bak" : path + ".bak" + std::to_string(n)) << "old";
  LocalStore local(path, CSteamLeaderboards::allLeaderboardNames());
  EXPECT_FALSE(local.load());
  EXPECT_TRUE(local.backupPath().empty());
  EXPECT_FALSE(local.save());
  EXPECT_EQ(readText(path), cut);

  // A file from before the end line still reads.
  std::ofstream(path) << "STARMOOR-STORE 1\nstat STAT_YORK_MAPS 2\n";
  LocalStore older(path, CSteamLeaderboards::allLeaderboardNames());
  EXPECT_TRUE(older.load());
  int32_t v = 0;
  ASSERT_TRUE(older.getStat("STAT_YORK_MAPS", &v));
  EXPECT_EQ(v, 2);
}

TEST(GlobalEvents, IdsSubscriptionsAndRemoval) {
  GlobalEventManager events;
  CountingListener a, b;
  EXPECT_EQ(events.registerListener(nullptr), -1);
  EXPECT_EQ(events.registerListener(&a), 0);
  events.unregisterListener(0);
  EXPECT_EQ(events.registerListener(&a), 1) << "ids are never reused";
  EXPECT_EQ(events.registerListener(&b), 2);
  events.subscribe(2);
  events.subscribe(2);
  events.broadcast();
  EXPECT_EQ(a.calls, 0);
  EXPECT_EQ(b.calls, 1);
  EXPECT_EQ(b.lastEvent, 0);
  EXPECT_EQ(b.lastArgument, 0);
  events.unregisterListener(2);
  events.unregisterListener(2);
  EXPECT_EQ(events.listenerCount(), 1u);
  events.broadcast();
  EXPECT_EQ(b.calls, 1);
}

}  // namespace
