#pragma once
#include <map>
#include <set>
#include <string>
#include <vector>

#include "Store/StoreClient.h"

namespace store {

// The default store: statistics, achievements and leaderboards of this
// computer, kept in one file in the save folder. It behaves like a remote
// service: every answer comes through the pump, one frame later at the
// earliest. With an empty path it keeps everything in memory.
//
// File (text, one record a line, names without blanks):
//   STARMOOR-STORE 2
//   player <user id> <name>          the local player
//   user <user id> <name>            another name a board may show
//   stat <name> <value>
//   achievement <name>
//   score <board> <user id> <score>
//   end                              the last line: a file without it was cut short
// A "STARMOOR-STORE 1" file has no end line. A file that breaks any of this is
// kept as a backup and the store starts empty; when no copy can be kept, the
// store never writes over it.
class LocalStore : public StoreClient {
 public:
  static constexpr uint32_t kAppId = 1366768;
  static constexpr uint64_t kDefaultUser = 1;

  // boards: the names findLeaderboard knows, in order (a board's handle is its
  // position + 1).
  LocalStore(const std::string& path, const std::vector<std::string>& boards);

  // Reads the file; false (after keeping a backup of a broken file) when it
  // could not be used. A missing file is a fresh store and answers true.
  bool load();
  // Parses the text of a store file into this store; false when it is broken.
  bool parse(const std::string& text);
  std::string serialise() const;
  // Writes the file; a failure is said once, with the system's reason.
  bool save();
  // From now on save() writes nothing: another copy of the game owns the folder.
  void stopSaving() { savingStopped_ = true; }
  const std::string& path() const { return path_; }
  const std::string& backupPath() const { return backupPath_; }

  uint32_t appId() const override { return kAppId; }
  bool loggedOn() const override { return loggedOn_; }
  uint64_t userId() const override { return user_; }
  std::string personaName(uint64_t user) const override;

  bool requestCurrentStats() override;
  bool getAchievement(const std::string& name, bool* achieved) const override;
  std::string getAchievementDisplayAttribute(const std::string& name, const std::string& key) const override;
  bool getStat(const std::string& name, int32_t* value) const override;
  bool setStat(const std::string& name, int32_t value) override;
  bool setAchievement(const std::string& name) override;
  bool storeStats() override;

  CallHandle findLeaderboard(const std::string& name) override;
  CallHandle uploadLeaderboardScore(LeaderboardHandle board, int method, int32_t score) override;
  CallHandle downloadLeaderboardEntries(LeaderboardHandle board, int request, int rangeStart,
                                        int rangeEnd) override;
  bool getDownloadedLeaderboardEntry(uint64_t entries, int index, LeaderboardEntry* out) override;

  // The player's best score on a board, or false when none is kept.
  bool bestScore(const std::string& board, int32_t* score) const;
  size_t boardCount() const { return boards_.size(); }

 protected:
  struct Board {
    std::string name;
    std::map<uint64_t, int32_t> scores;  // user -> best score
  };
  // Ranked rows of a board: best score first, then by user id.
  std::vector<LeaderboardEntry> ranked(const Board& board) const;
  Board* boardFor(LeaderboardHandle handle);
  void clearData();

  std::string path_;
  std::string backupPath_;
  bool leftAlone_ = false;
  bool savingStopped_ = false;
  bool failureSaid_ = false;
  bool loggedOn_ = true;
  int delayFrames_ = 1;
  uint64_t user_ = kDefaultUser;
  std::map<uint64_t, std::string> names_;
  std::map<std::string, int32_t> stats_;
  std::set<std::string> achievements_;
  std::vector<Board> boards_;
  std::map<uint64_t, std::vector<LeaderboardEntry>> downloads_;
  uint64_t lastDownload_ = 0;
};

}  // namespace store
