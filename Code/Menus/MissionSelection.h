#pragma once
#include <string>

class Mission;
class Profile;
class SpaceStation;

// What a level is started with.
struct LaunchArguments {
  int missionId = -1;
  std::string levelFile;
  int mode = 0;
  int difficulty = 0;
};

// The choices of mission control, apart from its widgets: the station (only
// unlocked ones), the mission slot, the game mode and the difficulty of each
// slot, the last launch restored from the profile and the arguments a launch
// hands to the level.
class MissionSelection {
 public:
  static constexpr int kSlots = 3;
  static constexpr int kModeCount = 6;
  static constexpr int kEndlessMode = 5;
  static constexpr int kEndlessDifficulty = 1;

  // profile: not owned, may be null (then nothing can be chosen).
  explicit MissionSelection(Profile* profile);

  // The last launch as the profile holds it, checked before any of it is used.
  // Its values are written by us but read back from a file a player can edit:
  // a station that is missing or locked becomes the first unlocked one, the
  // slot follows the mission id only on that mission's own station, and a mode
  // outside 0..5 becomes classic.
  struct Restore {
    int station = -1;   // -1: no station can be shown
    int slot = 0;
    int mode = -1;      // -1: keep the current mode
  };
  Restore lastLaunch() const;
  // The station to show first: the profile's current one when it is
  // unlocked, else the first unlocked one; -1 when none is.
  int initialStation() const;
  int firstUnlockedStation() const;

  // False (and nothing changes) for a station that does not exist or is locked.
  bool selectStation(int stationId);
  // False for a slot the current station has no mission in. A locked mission
  // can be selected; it just cannot be launched.
  bool selectSlot(int slot);
  // A mode outside 0..5 becomes classic.
  void setMode(int mode);
  // A difficulty outside 0..2 is refused.
  bool setSlotDifficulty(int slot, int difficulty);

  SpaceStation* station() const { return station_; }
  Mission* mission() const { return mission_; }
  int slot() const { return slot_; }
  int mode() const { return mode_; }
  int slotDifficulty(int slot) const;
  // The difficulty the launch uses: the selected slot's, normal in endless.
  int difficulty() const;
  bool canLaunch() const;
  LaunchArguments launchArguments() const;
  // Writes the launch into the profile (station, mission, mode, difficulty, rank).
  void recordLaunch(int previousRank) const;

 private:
  bool isSelectable(int stationId) const;

  Profile* profile_;             // not owned
  SpaceStation* station_ = nullptr;  // not owned: the profile's
  Mission* mission_ = nullptr;       // not owned: its station's
  int slot_ = -1;
  int mode_ = 0;
  int slotDifficulty_[kSlots] = {0, 0, 0};
};
