#pragma once
#include <string>
#include <utility>
#include <vector>

#include "Store/LocalStore.h"

namespace store {

// A scripted store for tests: everything in memory, answers after a chosen
// number of frames, chosen failures, boards filled with chosen rows, and a
// record of the calls the game made.
class FakeStore : public LocalStore {
 public:
  explicit FakeStore(const std::vector<std::string>& boards) : LocalStore(std::string(), boards) {}

  // --- script ---
  void setDelayFrames(int frames) { delayFrames_ = frames; }
  void setLoggedOn(bool on) { loggedOn_ = on; }
  void setStatsResult(int result) { statsResult_ = result; }
  void setFailFind(bool fail) { failFind_ = fail; }
  void setFailUpload(bool fail) { failUpload_ = fail; }
  void setIoFailure(bool fail) { ioFailure_ = fail; }
  // Downloads then answer every row of the board, whatever range was asked.
  void setWholeBoardDownloads(bool on) { wholeBoard_ = on; }
  // Puts a row on a board (another user's score, or the player's with userId()).
  void addScore(const std::string& board, uint64_t user, int32_t score, const std::string& name);
  void setStoredStat(const std::string& name, int32_t value) { stats_[name] = value; }
  void setStoredAchievement(const std::string& name) { achievements_.insert(name); }

  // --- record ---
  std::vector<std::pair<std::string, int32_t>> setStats;
  std::vector<std::string> setAchievements;
  std::vector<std::string> foundNames;
  std::vector<std::pair<LeaderboardHandle, int32_t>> uploads;
  int storeCalls = 0;

  bool requestCurrentStats() override;
  bool setStat(const std::string& name, int32_t value) override;
  bool setAchievement(const std::string& name) override;
  bool storeStats() override;
  CallHandle findLeaderboard(const std::string& name) override;
  CallHandle uploadLeaderboardScore(LeaderboardHandle board, int method, int32_t score) override;
  CallHandle downloadLeaderboardEntries(LeaderboardHandle board, int request, int rangeStart,
                                        int rangeEnd) override;

 private:
  int statsResult_ = kResultOk;
  bool failFind_ = false;
  bool failUpload_ = false;
  bool ioFailure_ = false;
  bool wholeBoard_ = false;
};

}  // namespace store
