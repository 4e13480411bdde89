#pragma once
#include <memory>
#include <string>
#include <vector>

#include "Store/StoreClient.h"
#include "Widget.h"
#include "tinyaction/ActionListener.h"

class CSteamLeaderboards;
class Profile;
class ResourceManager;
class TinyAction;

// A panel showing the store leaderboard of one mission in one game mode: pulsing
// rings while the rows load, then up to ten rows and the player's rank, or a
// failure text when nothing arrives (and a retry three seconds later). All
// store traffic goes through the leaderboard client; the widget only names the
// board and reads the rows the client downloaded.
class LeaderboardQueryWidget : public Widget, public bge::ActionListener {
 public:
  static constexpr int kStateLoading = 0;
  static constexpr int kStateIdle = 1;  // idle, or finished with rows or without
  static constexpr int kFirstWaitDone = 100;
  static constexpr int kRetryDue = 200;
  static constexpr int kWaitMs = 3000;
  static constexpr int kPulseMs = 512;
  static constexpr int kShownRows = 10;
  static constexpr int kHistorySize = 10;
  static constexpr int kNameChars = 20;

  // leaderboards: the store client to ask, or null when no store runs (the
  // default is the global one); not owned. profile: where the rank recorded at
  // launch is read from; not owned, may be null.
  LeaderboardQueryWidget();
  LeaderboardQueryWidget(CSteamLeaderboards* leaderboards, Profile* profile);
  ~LeaderboardQueryWidget() override;

  void update(int dt, ScreenBase* screen) override;
  void draw(Graphics* g, ScreenBase* screen) override;
  // Looks up the board of the mission (0..44) and mode (0..5); anything else is ignored.
  virtual void query(int index, int mode);
  void actionFinished(int id) override;

  // The global rank of the local player among the rows, -1 when not among them.
  int getUserRank() const;
  void setNewRank(bool on) { newRank_ = on; }
  bool newRank() const { return newRank_; }

  int state() const { return state_; }
  // The board answered and holds no scores: the panel says so, not a failure.
  bool emptyBoard() const { return answered_ && entries_.empty(); }
  int leaderboardIndex() const { return index_; }
  int mode() const { return mode_; }
  const std::string& boardName() const { return boardName_; }
  const std::vector<store::LeaderboardEntry>& entries() const { return entries_; }
  const std::vector<float>& pulseHistory() const { return pulseHistory_; }
  bool timerRunning() const;
  // A name as a row shows it: at most 20 characters, then "...".
  static std::string shortName(const std::string& name);

 private:
  void startTimer(int id);
  std::string personaName(uint64_t user) const;
  bool isLocalUser(uint64_t user) const;
  void drawRows(Graphics* g, ResourceManager* resources);

  CSteamLeaderboards* leaderboards_;  // not owned; null without a store
  Profile* profile_;                  // not owned
  bool newRank_ = false;
  int state_ = kStateIdle;
  bool answered_ = false;  // the last query's board answered, with rows or without
  int index_ = -1;
  int mode_ = 0;
  float pulse_ = 0.0f;
  std::vector<float> pulseHistory_;
  std::unique_ptr<TinyAction> loopAction_;
  std::unique_ptr<TinyAction> timerAction_;
  std::vector<store::LeaderboardEntry> entries_;
  std::vector<std::string> names_;
  std::string boardName_;
  // Work asked for from inside a finished action's report, done in the next
  // update so the action is never restarted from within its own callback.
  int pendingTimer_ = -1;
  bool pendingRetry_ = false;
};
