#include "Store/CStatsAndAchievements.h"

#include <cstdio>
#include <cstring>

CStatsAndAchievements* g_statsAndAchievements = nullptr;

namespace {

#define ACH(id, name) {id, name, "", "", false, 0}
Achievement g_achievementTable[CStatsAndAchievements::kAchievementCount] = {
    ACH(0, "ACH_DEFENDED_YORK"), ACH(1, "ACH_DEFENDED_BARTHON"), ACH(2, "ACH_DEFENDED_HOYMADAR"),
    ACH(3, "ACH_DEFENDED_SOFIA"), ACH(4, "ACH_DEFENDED_ENTROPY"), ACH(5, "ACH_DEFENDED_T45"),
    ACH(6, "ACH_DEFENDED_HAMBURG"), ACH(7, "ACH_DEFENDED_ARBAN"), ACH(8, "ACH_DEFENDED_HAWKEN"),
    ACH(9, "ACH_DEFENDED_NEWTON"), ACH(15, "ACH_CLASSIC_MODE"), ACH(16, "ACH_TOWERS_MODE"),
    ACH(17, "ACH_REVERSAL_MODE"), ACH(18, "ACH_MAXCREDITS_MODE"), ACH(19, "ACH_LIMITEDTOWERS_MODE"),
    ACH(20, "ACH_FIRST_BLOOD"), ACH(21, "ACH_FIRST_TOWER"), ACH(22, "ACH_1000_ROCKETS"),
    ACH(23, "ACH_100_WAVES"), ACH(24, "ACH_1000_WAVES"), ACH(25, "ACH_ARSENAL_STATION"),
    ACH(26, "ACH_POWER_STATION"), ACH(27, "ACH_RADAR_STATION"), ACH(28, "ACH_BANK_UNIT"),
    ACH(29, "ACH_DRONE_STATION"), ACH(30, "ACH_NAVIGATION"), ACH(31, "ACH_FIRST_CHECKPOINT"),
    ACH(32, "ACH_T1_FULL_UPGRADE"), ACH(33, "ACH_T2_FULL_UPGRADE"), ACH(34, "ACH_T3_FULL_UPGRADE"),
    ACH(35, "ACH_T4_FULL_UPGRADE"), ACH(36, "ACH_T5_FULL_UPGRADE"), ACH(37, "ACH_T6_FULL_UPGRADE"),
    ACH(38, "ACH_T7_FULL_UPGRADE"), ACH(39, "ACH_T8_FULL_UPGRADE"), ACH(40, "ACH_T9_FULL_UPGRADE"),
    ACH(41, "ACH_T10_FULL_UPGRADE"), ACH(42, "ACH_S1_FULL_UPGRADE"), ACH(43, "ACH_S3_FULL_UPGRADE"),
    ACH(44, "ACH_S4_FULL_UPGRADE"), ACH(45, "ACH_S5_FULL_UPGRADE"), ACH(10, "ACH_DEFENDED_RX78"),
    ACH(11, "ACH_DEFENDED_OZHRON7"), ACH(12, "ACH_DEFENDED_MENDEZ"), ACH(13, "ACH_DEFENDED_HOTANG"),
    ACH(14, "ACH_DEFENDED_DUBROVNIKM2"),
};
#undef ACH

// A statistic, the count at which it unlocks its achievement (0 = never
// counted: its achievement is unlocked directly) and that achievement.
struct StatRow {
  const char* name;
  int32_t threshold;
  const char* achievement;
};

const StatRow kStats[CStatsAndAchievements::kStatCount] = {
    {"STAT_YORK_MAPS", 3, "ACH_DEFENDED_YORK"},
    {"STAT_BARTHON_MAPS", 3, "ACH_DEFENDED_BARTHON"},
    {"STAT_HOYMADAR_MAPS", 3, "ACH_DEFENDED_HOYMADAR"},
    {"STAT_SOFIA_MAPS", 3, "ACH_DEFENDED_SOFIA"},
    {"STAT_ENTROPY_MAPS", 3, "ACH_DEFENDED_ENTROPY"},
    {"STAT_T45_MAPS", 3, "ACH_DEFENDED_T45"},
    {"STAT_HAMBURG_MAPS", 3, "ACH_DEFENDED_HAMBURG"},
    {"STAT_ARBAN_MAPS", 3, "ACH_DEFENDED_ARBAN"},
    {"STAT_HAWKEN_MAPS", 3, "ACH_DEFENDED_HAWKEN"},
    {"STAT_NEWTON_MAPS", 3, "ACH_DEFENDED_NEWTON"},
    {"STAT_FIRST_BLOOD", 0, nullptr},
    {"STAT_FIRST_TOWER", 0, nullptr},
    {"STAT_1000_ROCKETS", 1000, "ACH_1000_ROCKETS"},
    {"STAT_100_WAVES", 100, "ACH_100_WAVES"},
    {"STAT_1000_WAVES", 1000, "ACH_1000_WAVES"},
    {"STAT_ARSENAL_STATION", 1, "ACH_ARSENAL_STATION"},
    {"STAT_POWER_STATION", 1, "ACH_POWER_STATION"},
    {"STAT_RADAR_STATION", 1, "ACH_RADAR_STATION"},
    {"STAT_BANK_UNIT", 1, "ACH_BANK_UNIT"},
    {"STAT_DRONE_STATION", 1, "ACH_DRONE_STATION"},
    {"STAT_NAVIGATION_BEACONS", 2, "ACH_NAVIGATION"},
    {"STAT_FIRST_CHECKPOINT", 0, nullptr},
    {"STAT_T1_UPGRADE", 3, "ACH_T1_FULL_UPGRADE"},
    {"STAT_T2_UPGRADE", 3, "ACH_T2_FULL_UPGRADE"},
    {"STAT_T3_UPGRADE", 3, "ACH_T3_FULL_UPGRADE"},
    {"STAT_T4_UPGRADE", 3, "ACH_T4_FULL_UPGRADE"},
    {"STAT_T5_UPGRADE", 3, "ACH_T5_FULL_UPGRADE"},
    {"STAT_T6_UPGRADE", 3, "ACH_T6_FULL_UPGRADE"},
    {"STAT_T7_UPGRADE", 3, "ACH_T7_FULL_UPGRADE"},
    {"STAT_T8_UPGRADE", 3, "ACH_T8_FULL_UPGRADE"},
    {"STAT_T9_UPGRADE", 3, "ACH_T9_FULL_UPGRADE"},
    {"STAT_T10_UPGRADE", 3, "ACH_T10_FULL_UPGRADE"},
    {"STAT_S1_UPGRADE", 3, "ACH_S1_FULL_UPGRADE"},
    {"STAT_S3_UPGRADE", 3, "ACH_S3_FULL_UPGRADE"},
    {"STAT_S4_UPGRADE", 3, "ACH_S4_FULL_UPGRADE"},
    {"STAT_S5_UPGRADE", 3, "ACH_S5_FULL_UPGRADE"},
    {"STAT_RX78_MAPS", 3, "ACH_DEFENDED_RX78"},
    {"STAT_OZHRON7_MAPS", 3, "ACH_DEFENDED_OZHRON7"},
    {"STAT_MENDEZ_MAPS", 3, "ACH_DEFENDED_MENDEZ"},
    {"STAT_HOTANG_MAPS", 3, "ACH_DEFENDED_HOTANG"},
    {"STAT_DUBROVNIKM2_MAPS", 3, "ACH_DEFENDED_DUBROVNIKM2"},
};

const char* const kStationWords[CStatsAndAchievements::kStationCount] = {
    "YORK", "BARTHON", "HOYMADAR", "SOFIA", "ENTROPY", "T45", "HAMBURG", "ARBAN",
    "HAWKEN", "NEWTON", "RX78", "OZHRON7", "MENDEZ", "HOTANG", "DUBROVNIKM2"};

int statIndex(const std::string& name) {
  for (int i = 0; i < CStatsAndAchievements::kStatCount; ++i)
    if (name == kStats[i].name) return i;
  return -1;
}

}  // namespace

const char* CStatsAndAchievements::stationWord(int station) {
  return station >= 0 && station < kStationCount ? kStationWords[station] : nullptr;
}

CStatsAndAchievements::CStatsAndAchievements(store::StoreClient* client)
    : client_(client), achievements_(g_achievementTable) {
  for (int i = 0; i < achievementCount_; ++i) {
    achievements_[i].achieved = false;
    achievements_[i].name[0] = '\0';
    achievements_[i].description[0] = '\0';
  }
  if (client_) {
    client_->registerStatsCallbacks(this);
    gameId_ = client_->appId();  // the high half stays 0
  }
  requestStats();
}

CStatsAndAchievements::~CStatsAndAchievements() {
  if (client_) client_->unregisterStatsCallbacks(this);
}

bool CStatsAndAchievements::requestStats() {
  if (!client_) return false;
  if (!client_->loggedOn()) {
    std::printf("User not logged in to Steam\n");
    return false;
  }
  std::printf("User logged in to Steam OK !!!\n");
  return client_->requestCurrentStats();
}

void CStatsAndAchievements::onUserStatsReceived(uint64_t gameId, int result) {
  if (gameId != gameId_) return;
  if (result != store::kResultOk) {
    std::printf("RequestStats - failed, %d\n", result);
    return;
  }
  std::printf("Received stats and achievements from Steam\n");
  initialized_ = true;
  for (int i = 0; i < achievementCount_; ++i) {
    Achievement& a = achievements_[i];
    client_->getAchievement(a.apiName, &a.achieved);
    std::snprintf(a.name, sizeof a.name, "%s", client_->getAchievementDisplayAttribute(a.apiName, "name").c_str());
    std::snprintf(a.description, sizeof a.description, "%s",
                  client_->getAchievementDisplayAttribute(a.apiName, "desc").c_str());
  }
  for (int i = 0; i < kStatCount; ++i) client_->getStat(kStats[i].name, &counters_[i]);
}

void CStatsAndAchievements::onUserStatsStored(uint64_t gameId, int result) {
  if (gameId != gameId_) return;
  if (result == store::kResultOk) std::printf("Stored stats for Steam\n");
  else std::printf("StatsStored - failed, %d\n", result);
}

void CStatsAndAchievements::onAchievementStored(uint64_t gameId) {
  if (gameId == gameId_) std::printf("Stored Achievement for Steam\n");
}

void CStatsAndAchievements::addStat(const std::string& name) {
  if (!initialized_ || !client_) return;
  const int i = statIndex(name);
  if (i < 0 || kStats[i].threshold == 0) return;
  ++counters_[i];
  client_->setStat(name, counters_[i]);
  if (counters_[i] >= kStats[i].threshold) unlockAchievement(kStats[i].achievement);
}

void CStatsAndAchievements::unlockAchievement(const std::string& name) {
  if (isAchieved(name) || !initialized_ || !client_) return;
  client_->setAchievement(name);
  client_->storeStats();
}

bool CStatsAndAchievements::isAchieved(const std::string& name) const {
  for (int i = 0; i < achievementCount_; ++i)
    if (name == achievements_[i].apiName) return achievements_[i].achieved;
  return false;
}

bool CStatsAndAchievements::addStationMapWon(int missionId) {
  // The station table has 15 rows: a mission beyond it names no statistic.
  const int station = missionId >= 0 ? missionId / 3 : -1;
  const char* word = stationWord(station);
  if (!word) {
    std::printf("WARNING: mission %d belongs to no station; no statistic counted\n", missionId);
    return false;
  }
  addStat(std::string("STAT_") + word + "_MAPS");
  return true;
}

int32_t CStatsAndAchievements::counter(const std::string& statName) const {
  const int i = statIndex(statName);
  return i < 0 ? 0 : counters_[i];
}
