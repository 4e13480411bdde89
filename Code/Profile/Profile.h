#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "DisplayConfigurations.h"
#include "SaveGameEntry.h"

class SpaceStation;

// The profile's option flags by their place in "customflags.dat" (ten signed
// values, -1 while unset); the places are the file's layout and never move.
// Places 7 to 9 are held and written back as read, used by nothing.
enum class CustomFlag : int {
  Spectrum = 0,                // the spectrum check box, 1 or 0 once changed; nothing reads it
  AllShotsHeard = 1,           // 0: only the selected tower's shots are heard
  LastStation = 2,             // the last launch's station, copied in before each write
  LastMission = 3,             // the last launch's mission id, likewise
  LastMode = 4,                // the last launch's game mode, likewise
  MissionControlTutorial = 5,  // 1 while mission control's tutorial waits for the next visit
  LevelTutorial = 6,           // 0 once the first mission's tutorial has ended; shown otherwise
};

// The player's campaign state: unlocked stations and missions, won missions,
// badges, the last launch, window mode and size, and ten option flags. A
// compact record lives in the save file under "PLAYER_PROFILE"; the rest in
// four side files beside it. Owns the campaign's stations.
class Profile : public SaveGameEntry {
 public:
  static constexpr int kStationCount = 15;
  static constexpr int kMissionsPerStation = 3;
  static constexpr int kMissionCount = 45;
  static constexpr int kModeCount = 5;       // modes with badges (endless has none)
  static constexpr int kDifficultyCount = 3;
  static constexpr int kBadgeCount = kMissionCount * kModeCount * kDifficultyCount;  // 675
  static constexpr int kCustomFlagCount = 10;  // values in "customflags.dat"
  static constexpr int kMissionValueCount = 60;
  static constexpr int kRecordSize = 67;
  // Used when no display mode has been chosen yet.
  static constexpr int kFallbackWidth = 1360;
  static constexpr int kFallbackHeight = 768;

  // Where a new profile's screen size comes from: the application installs its
  // choice from the desktop's display modes; without one the fallback size is used.
  using ScreenSizeSource = DisplayMode (*)();
  static void setScreenSizeSource(ScreenSizeSource source);

  explicit Profile(const std::string& name);
  ~Profile() override;
  Profile(const Profile&) = delete;
  Profile& operator=(const Profile&) = delete;

  // SaveGameEntry: the record, then the side files (write) or from them (read).
  // A side file that cannot be written does not stop the record's save.
  bool read(SaveGame* saveGame) override;
  bool write(SaveGame* saveGame) override;
  int getSize() const override { return 0; }

  // Side files alone, from / to the folder of the save file. Reading keeps
  // the current value of a missing or rejected file. Writing reports whether
  // all four were stored.
  // A damaged file no copy could be kept of is left alone: later writes skip
  // it rather than put defaults over what could not be read.
  void readSideFiles(const std::string& folder);
  bool writeSideFiles(const std::string& folder);
  bool sideFilesRead() const { return sideFilesRead_; }

  bool isMissionWon(int missionId) const;
  void setMissionWon(int missionId);
  void unlockMission(int missionId);
  void applyMissionUnlocks(int wonMissionId);
  void resetProgress();
  SpaceStation* findStationById(int id) const;
  void applyMissionValues();
  // Reads the station list and everything below it (campaign files).
  // Then the unlocks the won missions imply, and the progress flag when any
  // mission is won or badge earned, are restored; a profile with progress has
  // the first mission open.
  bool loadStations(const std::string& path);

  // Badges: bit (mission x 5 + mode) x 3 + difficulty; a mission id of -1
  // counts as 0. Anything outside the table is refused.
  bool setBadge(int missionId, int mode, int difficulty);
  bool hasBadge(int missionId, int mode, int difficulty) const;
  static int badgeIndex(int missionId, int mode, int difficulty);

  // --- fields ---
  bool hasProgress() const { return hasProgress_; }
  void setHasProgress(bool on) { hasProgress_ = on; }
  int32_t recordValue() const { return recordValue_; }
  int32_t currentStation() const { return currentStation_; }
  void setCurrentStation(int32_t station) { currentStation_ = station; }
  bool isFullscreen() const { return fullscreen_; }
  void setFullscreen(bool on) { fullscreen_ = on; }
  bool isSpectrumEnabled() const { return spectrumEnabled_; }
  void setSpectrumEnabled(bool on) { spectrumEnabled_ = on; }
  bool isMissionUnlocked(int missionId) const;
  bool isStationUnlocked(int station) const;
  const std::string& name() const { return name_; }
  // A view of the list; the profile keeps owning the stations.
  std::vector<SpaceStation*> stations() const;
  const DisplayMode& screenSize() const { return screenSize_; }
  void setScreenSize(int width, int height) { screenSize_ = DisplayMode(width, height); }
  // A profile always holds all ten flags; by place, as the file has them.
  int32_t customFlag(int index) const;
  void setCustomFlag(int index, int32_t value);
  size_t customFlagCount() const { return customFlags_.size(); }
  int32_t flag(CustomFlag f) const { return customFlag(static_cast<int>(f)); }
  void setFlag(CustomFlag f, int32_t value) { setCustomFlag(static_cast<int>(f), value); }
  int32_t lastMissionId() const { return lastMissionId_; }
  int32_t lastStation() const { return lastStation_; }
  int32_t lastMode() const { return lastMode_; }
  int32_t lastDifficulty() const { return lastDifficulty_; }
  void setLastLaunch(int32_t missionId, int32_t station, int32_t mode, int32_t difficulty);
  // The player's leaderboard rank when the mission was launched, -1 when unknown.
  int32_t previousRank() const { return previousRank_; }
  void setPreviousRank(int32_t rank) { previousRank_ = rank; }
  int32_t missionValue(int missionId) const;
  // A mission whose level file was refused this run, and why ("<file>: <what>");
  // empty for one that opened or was not tried. Never saved: the file may be mended.
  void setMissionRefusal(int missionId, const std::string& why) { refusals_[missionId] = why; }
  const std::string& missionRefusal(int missionId) const;
  // Problems the last loadStations reported (tests: a clean campaign has none).
  int campaignProblems() const { return campaignProblems_; }

 private:
  static DisplayMode defaultScreenSize();
  void clearStations();
  // Every flag unset; mission control's tutorial waits for the first visit.
  void clearFlags();
  void applyUnlockFlags();
  void restoreProgressOfWins();
  // The record unlocks something only a win unlocks.
  bool recordShowsWins() const;
  bool anyWin() const;

  bool hasProgress_ = false;
  int32_t recordValue_ = 0;
  int32_t currentStation_ = 0;
  std::map<int32_t, int32_t> missionValues_;
  bool fullscreen_ = true;
  bool spectrumEnabled_ = true;
  std::map<int, bool> missionWinLose_;
  std::map<int, bool> missionUnlocked_;
  std::map<int, bool> stationUnlocked_;
  std::map<int, std::string> refusals_;
  std::string name_;
  std::vector<std::unique_ptr<SpaceStation>> stations_;
  DisplayMode screenSize_;
  std::vector<int32_t> customFlags_;
  int32_t lastMissionId_ = -1;
  int32_t lastStation_ = -1;
  int32_t lastMode_ = -1;
  int32_t lastDifficulty_ = -1;
  int32_t previousRank_ = -1;
  std::vector<bool> badges_;
  int campaignProblems_ = 0;
  bool sideFilesRead_ = false;
  std::set<std::string> sideFilesLeftAlone_;  // paths
  std::set<std::string> sideFileFailuresSaid_;  // paths whose write failure was said
};
