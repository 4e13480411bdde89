#pragma once
#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <vector>

// The calls the game makes on a store platform (statistics, achievements,
// leaderboards), behind one interface of our own. Every answer that a remote
// service would send later arrives through runCallbacks(), which the
// application pumps once per frame; nothing is ever answered inside the call.

namespace store {

using CallHandle = uint64_t;        // 0 = the call was not made
using LeaderboardHandle = uint64_t;  // 0 = none

// One row of a downloaded leaderboard (32 bytes, as a remote service sends it).
struct LeaderboardEntry {
  uint64_t user = 0;
  int32_t globalRank = 0;
  int32_t score = 0;
  int32_t detailCount = 0;
  int32_t padding = 0;
  uint64_t attachment = 0;
};
static_assert(sizeof(LeaderboardEntry) == 32, "one entry record is 32 bytes");

enum UploadMethod { kKeepBest = 1, kForceUpdate = 2 };
enum DownloadRequest { kGlobal = 0, kGlobalAroundUser = 1 };
enum Result { kResultOk = 1, kResultFail = 2 };

// The asynchronous results, one record for all three kinds.
struct CallResult {
  enum Kind { FindLeaderboard, ScoreUploaded, ScoresDownloaded } kind = FindLeaderboard;
  bool ioFailure = false;
  bool success = false;               // found / uploaded
  LeaderboardHandle leaderboard = 0;
  std::string leaderboardName;
  int32_t score = 0;                  // upload: the score sent
  bool scoreChanged = false;          // upload: the board now holds it
  int32_t newRank = 0;
  int32_t previousRank = 0;
  uint64_t entries = 0;               // download: handle for getDownloadedEntry
  int32_t entryCount = 0;
};

// Receives a call result; bound to one pending call at a time.
class CallResultSink {
 public:
  virtual ~CallResultSink() = default;
  virtual void onCallResult(const CallResult& result) = 0;
};

// Receives the statistics callbacks; result is kResultOk on success.
class StatsCallbacks {
 public:
  virtual ~StatsCallbacks() = default;
  virtual void onUserStatsReceived(uint64_t gameId, int result) = 0;
  virtual void onUserStatsStored(uint64_t gameId, int result) = 0;
  virtual void onAchievementStored(uint64_t gameId) = 0;
};

class StoreClient {
 public:
  StoreClient() = default;
  virtual ~StoreClient() = default;
  StoreClient(const StoreClient&) = delete;
  StoreClient& operator=(const StoreClient&) = delete;

  virtual uint32_t appId() const = 0;
  virtual bool loggedOn() const = 0;
  virtual uint64_t userId() const = 0;
  virtual std::string personaName(uint64_t user) const = 0;

  // --- statistics and achievements ---
  // True when the request was sent; the answer comes as onUserStatsReceived.
  virtual bool requestCurrentStats() = 0;
  virtual bool getAchievement(const std::string& name, bool* achieved) const = 0;
  virtual std::string getAchievementDisplayAttribute(const std::string& name,
                                                     const std::string& key) const = 0;
  virtual bool getStat(const std::string& name, int32_t* value) const = 0;
  virtual bool setStat(const std::string& name, int32_t value) = 0;
  virtual bool setAchievement(const std::string& name) = 0;
  // Sends what setStat and setAchievement changed; answered by onUserStatsStored.
  virtual bool storeStats() = 0;

  // --- leaderboards: each answers with a call result ---
  virtual CallHandle findLeaderboard(const std::string& name) = 0;
  virtual CallHandle uploadLeaderboardScore(LeaderboardHandle board, int method, int32_t score) = 0;
  virtual CallHandle downloadLeaderboardEntries(LeaderboardHandle board, int request, int rangeStart,
                                                int rangeEnd) = 0;
  virtual bool getDownloadedLeaderboardEntry(uint64_t entries, int index, LeaderboardEntry* out) = 0;

  // --- the store's overlay over the game window ---
  // Neither the local store nor the fake has one: the store-page button then
  // does nothing a player would see.
  virtual bool overlayEnabled() const { return false; }
  // Opens a web page in the overlay; false when there is no overlay.
  virtual bool openOverlayWebPage(const std::string& url) { (void)url; return false; }

  // --- the pump ---
  // Not owned; a null listener removes it.
  void registerStatsCallbacks(StatsCallbacks* callbacks);
  void unregisterStatsCallbacks(StatsCallbacks* callbacks);
  // Binds the sink to the call (a handle of 0 binds nothing); the sink's earlier
  // binding, if any, is dropped first.
  void bindCallResult(CallHandle call, CallResultSink* sink);
  void unbindCallResult(CallResultSink* sink);
  // Delivers every answer that is due; called once per frame.
  virtual void runCallbacks();
  // Answers waiting to be delivered.
  size_t pendingAnswers() const { return queue_.size(); }

 protected:
  // Answers are held for delayFrames pumps at least (a remote service never
  // answers in the same frame).
  void postCallResult(CallHandle call, const CallResult& result, int delayFrames);
  void postStatsReceived(int result, int delayFrames);
  void postStatsStored(int result, int delayFrames);
  void postAchievementStored(int delayFrames);
  CallHandle nextCallHandle() { return ++lastCall_; }

 private:
  struct Answer {
    enum Kind { Call, StatsReceived, StatsStored, AchievementStored } kind;
    uint64_t due;
    CallHandle call;
    int result;
    CallResult callResult;
  };
  void post(const Answer& answer, int delayFrames);

  std::vector<StatsCallbacks*> statsCallbacks_;
  std::map<CallResultSink*, CallHandle> bindings_;
  std::deque<Answer> queue_;
  uint64_t pumps_ = 0;
  CallHandle lastCall_ = 0;
};

}  // namespace store
