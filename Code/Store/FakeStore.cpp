#include "Store/FakeStore.h"

#include <algorithm>
#include <cstdint>

namespace store {

void FakeStore::addScore(const std::string& board, uint64_t user, int32_t score, const std::string& name) {
  for (Board& b : boards_)
    if (b.name == board) b.scores[user] = score;
  names_[user] = name;
}

bool FakeStore::requestCurrentStats() {
  if (!loggedOn_) return false;
  postStatsReceived(statsResult_, delayFrames_);
  return true;
}

bool FakeStore::setStat(const std::string& name, int32_t value) {
  setStats.emplace_back(name, value);
  return LocalStore::setStat(name, value);
}

bool FakeStore::setAchievement(const std::string& name) {
  setAchievements.push_back(name);
  return LocalStore::setAchievement(name);
}

bool FakeStore::storeStats() {
  ++storeCalls;
  return LocalStore::storeStats();
}

CallHandle FakeStore::findLeaderboard(const std::string& name) {
  foundNames.push_back(name);
  if (!failFind_ && !ioFailure_) return LocalStore::findLeaderboard(name);
  CallResult r;
  r.kind = CallResult::FindLeaderboard;
  r.leaderboardName = name;
  r.ioFailure = ioFailure_;
  const CallHandle call = nextCallHandle();
  postCallResult(call, r, delayFrames_);
  return call;
}

CallHandle FakeStore::uploadLeaderboardScore(LeaderboardHandle board, int method, int32_t score) {
  uploads.emplace_back(board, score);
  if (!failUpload_ && !ioFailure_) return LocalStore::uploadLeaderboardScore(board, method, score);
  CallResult r;
  r.kind = CallResult::ScoreUploaded;
  r.leaderboard = board;
  r.score = score;
  r.ioFailure = ioFailure_;
  const CallHandle call = nextCallHandle();
  postCallResult(call, r, delayFrames_);
  return call;
}

CallHandle FakeStore::downloadLeaderboardEntries(LeaderboardHandle board, int request, int rangeStart,
                                                 int rangeEnd) {
  if (wholeBoard_) return LocalStore::downloadLeaderboardEntries(board, kGlobal, 1, INT32_MAX);
  if (!ioFailure_) return LocalStore::downloadLeaderboardEntries(board, request, rangeStart, rangeEnd);
  CallResult r;
  r.kind = CallResult::ScoresDownloaded;
  r.leaderboard = board;
  r.ioFailure = true;
  const CallHandle call = nextCallHandle();
  postCallResult(call, r, delayFrames_);
  return call;
}

}  // namespace store
