#pragma once
#include <cstdint>
#include <string>

#include "Store/StoreClient.h"

// One achievement of the store's table.
struct Achievement {
  int32_t id;
  const char* apiName;
  char name[128];
  char description[256];
  bool achieved;
  int32_t iconImage;
};

// Counts the player's statistics on the store and unlocks the achievement of a
// statistic when it reaches its threshold. Exists only while a store runs
// (g_statsAndAchievements is null otherwise; every caller tests it).
class CStatsAndAchievements : public store::StatsCallbacks {
 public:
  static constexpr int kAchievementCount = 46;
  static constexpr int kStatCount = 41;
  static constexpr int kStationCount = 15;

  // client: not owned; must outlive this object.
  explicit CStatsAndAchievements(store::StoreClient* client);
  ~CStatsAndAchievements() override;

  bool requestStats();
  // Counts a statistic of the table; other names do nothing.
  void addStat(const std::string& name);
  void unlockAchievement(const std::string& name);
  bool isAchieved(const std::string& name) const;
  // Adds one won map to the station statistic of the mission's station; a
  // mission outside the campaign's stations is refused.
  bool addStationMapWon(int missionId);

  void onUserStatsReceived(uint64_t gameId, int result) override;
  void onUserStatsStored(uint64_t gameId, int result) override;
  void onAchievementStored(uint64_t gameId) override;

  bool isInitialized() const { return initialized_; }
  int32_t counter(const std::string& statName) const;
  const Achievement* achievements() const { return achievements_; }
  // The station word of a station index ("YORK" ...), or null outside 0..14.
  static const char* stationWord(int station);

 private:
  store::StoreClient* client_;  // not owned
  uint64_t gameId_ = 0;
  Achievement* achievements_;  // not owned: the static achievement table
  int achievementCount_ = kAchievementCount;
  bool initialized_ = false;
  int32_t counters_[kStatCount] = {};
};

extern CStatsAndAchievements* g_statsAndAchievements;
