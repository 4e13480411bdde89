#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "Store/StoreClient.h"

// Finds one store leaderboard by name, uploads the player's score to it and
// downloads the rows around the player for the leaderboard widget. Exists only
// while a store runs (g_leaderboards is null otherwise).
class CSteamLeaderboards {
 public:
  static constexpr int kMaxRawEntries = 100;
  static constexpr int kMaxShownEntries = 10;
  static constexpr int kMissionCount = 45;
  static constexpr int kModeCount = 6;

  // client: not owned; must outlive this object.
  explicit CSteamLeaderboards(store::StoreClient* client);
  ~CSteamLeaderboards();
  CSteamLeaderboards(const CSteamLeaderboards&) = delete;
  CSteamLeaderboards& operator=(const CSteamLeaderboards&) = delete;

  void findLeaderboard(const std::string& name);
  // Uploads to the current leaderboard; false when there is none.
  bool uploadScore(int32_t score);
  // Uploads to the board of that mission and mode and nowhere else: when that
  // board is not the current one it is looked up on its own (the current board
  // and the widget's lookups stay as they are) and the score follows.
  // False for a mission or mode outside the campaign.
  bool uploadScoreFor(int missionId, int mode, int32_t score);
  bool downloadScores();

  void onLeaderboardFound(const store::CallResult& result, bool ioFailure);
  void onScoreUploaded(const store::CallResult& result, bool ioFailure);
  void onScoresDownloaded(const store::CallResult& result, bool ioFailure);
  void onUploadBoardFound(const store::CallResult& result, bool ioFailure);

  const std::vector<store::LeaderboardEntry>& entries() const { return entries_; }
  int32_t entryCount() const { return entryCount_; }
  bool uploadOk() const { return uploadOk_; }
  store::LeaderboardHandle currentLeaderboard() const { return currentLeaderboard_; }
  // The board whose rows have arrived, even none; empty while a lookup or its
  // download is on its way. An empty board is an answer, not a failure.
  const std::string& downloadedName() const { return downloadedName_; }
  const std::string& currentName() const { return currentName_; }
  store::StoreClient* client() const { return client_; }

  // "YORK_001" for mission 0 in mode 0, "YORK_001_3" in mode 3; empty outside
  // missions 0..44 and modes 0..5.
  static std::string leaderboardName(int missionId, int mode);
  // All 270 names, mission by mission, modes 0..5 within a mission.
  static std::vector<std::string> allLeaderboardNames();

 private:
  // Routes one kind of call result to its handler.
  class Binding : public store::CallResultSink {
   public:
    using Handler = void (CSteamLeaderboards::*)(const store::CallResult&, bool);
    Binding(CSteamLeaderboards* owner, Handler handler) : owner_(owner), handler_(handler) {}
    void onCallResult(const store::CallResult& result) override { (owner_->*handler_)(result, result.ioFailure); }

   private:
    CSteamLeaderboards* owner_;  // not owned: the leaderboards that made this binding
    Handler handler_;
  };
  void bind(Binding& binding, store::CallHandle call);

  store::StoreClient* client_;  // not owned
  bool uploadOk_ = false;
  Binding downloaded_;
  Binding found_;
  Binding uploaded_;
  Binding uploadBoardFound_;
  int32_t entryCount_ = 0;
  store::LeaderboardEntry rawEntries_[kMaxRawEntries];
  store::LeaderboardHandle currentLeaderboard_ = 0;
  std::string currentName_;
  std::string requestedName_;
  std::string downloadedName_;
  std::vector<store::LeaderboardEntry> entries_;
  // A score waiting for its own board to be found.
  int32_t pendingScore_ = 0;
};

extern CSteamLeaderboards* g_leaderboards;
