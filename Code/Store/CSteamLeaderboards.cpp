#include "Store/CSteamLeaderboards.h"

#include <algorithm>
#include <iostream>

#include "Store/CStatsAndAchievements.h"

CSteamLeaderboards* g_leaderboards = nullptr;

CSteamLeaderboards::CSteamLeaderboards(store::StoreClient* client)
    : client_(client),
      downloaded_(this, &CSteamLeaderboards::onScoresDownloaded),
      found_(this, &CSteamLeaderboards::onLeaderboardFound),
      uploaded_(this, &CSteamLeaderboards::onScoreUploaded),
      uploadBoardFound_(this, &CSteamLeaderboards::onUploadBoardFound) {}

CSteamLeaderboards::~CSteamLeaderboards() {
  if (!client_) return;
  client_->unbindCallResult(&downloaded_);
  client_->unbindCallResult(&found_);
  client_->unbindCallResult(&uploaded_);
  client_->unbindCallResult(&uploadBoardFound_);
}

std::string CSteamLeaderboards::leaderboardName(int missionId, int mode) {
  if (missionId < 0 || missionId >= kMissionCount || mode < 0 || mode >= kModeCount) return std::string();
  std::string name = std::string(CStatsAndAchievements::stationWord(missionId / 3)) + "_00" +
                     std::to_string(missionId % 3 + 1);
  if (mode > 0) name += "_" + std::to_string(mode);
  return name;
}

std::vector<std::string> CSteamLeaderboards::allLeaderboardNames() {
  std::vector<std::string> names;
  for (int mission = 0; mission < kMissionCount; ++mission)
    for (int mode = 0; mode < kModeCount; ++mode) names.push_back(leaderboardName(mission, mode));
  return names;
}

void CSteamLeaderboards::bind(Binding& binding, store::CallHandle call) {
  // Only the latest call of each kind is waited for.
  client_->unbindCallResult(&binding);
  if (call != 0) client_->bindCallResult(call, &binding);
}

void CSteamLeaderboards::findLeaderboard(const std::string& name) {
  currentLeaderboard_ = 0;
  currentName_.clear();
  downloadedName_.clear();
  entries_.clear();
  entryCount_ = 0;
  requestedName_ = name;
  if (!client_) return;
  bind(found_, client_->findLeaderboard(name));
  std::cout << "Steam API : Looking for Leaderboard Set..." << std::endl;
}

void CSteamLeaderboards::onLeaderboardFound(const store::CallResult& result, bool ioFailure) {
  if (!result.success || ioFailure || result.leaderboard == 0) {
    std::cout << "Steam API : Leaderboard could not be found !!!" << std::endl;
    return;
  }
  currentLeaderboard_ = result.leaderboard;
  currentName_ = requestedName_;
  downloadScores();
}

bool CSteamLeaderboards::uploadScore(int32_t score) {
  if (!client_ || currentLeaderboard_ == 0) return false;
  uploadOk_ = false;
  bind(uploaded_, client_->uploadLeaderboardScore(currentLeaderboard_, store::kKeepBest, score));
  return true;
}

bool CSteamLeaderboards::uploadScoreFor(int missionId, int mode, int32_t score) {
  const std::string name = leaderboardName(missionId, mode);
  if (name.empty() || !client_) return false;
  if (currentLeaderboard_ != 0 && currentName_ == name) return uploadScore(score);
  pendingScore_ = score;
  uploadOk_ = false;
  bind(uploadBoardFound_, client_->findLeaderboard(name));
  return true;
}

void CSteamLeaderboards::onUploadBoardFound(const store::CallResult& result, bool ioFailure) {
  if (!result.success || ioFailure || result.leaderboard == 0) {
    std::cout << "Steam API : Score could not be uploaded to Steam !!!" << std::endl;
    return;
  }
  bind(uploaded_, client_->uploadLeaderboardScore(result.leaderboard, store::kKeepBest, pendingScore_));
}

void CSteamLeaderboards::onScoreUploaded(const store::CallResult& result, bool ioFailure) {
  if (result.success && !ioFailure) {
    std::cout << "Steam API : Score Uploaded to Steam - OK!!!" << std::endl;
    uploadOk_ = true;
  } else {
    std::cout << "Steam API : Score could not be uploaded to Steam !!!" << std::endl;
    uploadOk_ = false;
  }
}

bool CSteamLeaderboards::downloadScores() {
  if (!client_ || currentLeaderboard_ == 0) return false;
  bind(downloaded_, client_->downloadLeaderboardEntries(currentLeaderboard_, store::kGlobalAroundUser, -4, 5));
  return true;
}

void CSteamLeaderboards::onScoresDownloaded(const store::CallResult& result, bool ioFailure) {
  if (ioFailure) return;
  // A download for a board that is no longer current is stale.
  if (result.leaderboard != currentLeaderboard_) return;
  entryCount_ = std::min(std::max(result.entryCount, 0), static_cast<int32_t>(kMaxShownEntries));
  int32_t filled = 0;
  for (int32_t i = 0; i < entryCount_; ++i) {
    if (!client_->getDownloadedLeaderboardEntry(result.entries, i, &rawEntries_[i])) break;
    ++filled;
  }
  entryCount_ = filled;
  entries_.assign(rawEntries_, rawEntries_ + entryCount_);
  downloadedName_ = currentName_;
}
