#include "Menus/MissionSelection.h"

#include "Profile/Mission.h"
#include "Profile/Profile.h"
#include "Profile/SpaceStation.h"

MissionSelection::MissionSelection(Profile* profile) : profile_(profile) {}

bool MissionSelection::isSelectable(int stationId) const {
  if (!profile_ || stationId < 0 || stationId >= Profile::kStationCount) return false;
  SpaceStation* s = profile_->findStationById(stationId);
  return s && s->isUnlocked();
}

int MissionSelection::firstUnlockedStation() const {
  for (int id = 0; id < Profile::kStationCount; ++id)
    if (isSelectable(id)) return id;
  return -1;
}

int MissionSelection::initialStation() const {
  if (!profile_) return -1;
  const int current = profile_->currentStation();
  return isSelectable(current) ? current : firstUnlockedStation();
}

MissionSelection::Restore MissionSelection::lastLaunch() const {
  Restore r;
  if (!profile_) return r;
  const int last = profile_->lastStation();
  const bool stationKept = isSelectable(last);
  r.station = stationKept ? last : initialStation();
  const int missionId = profile_->lastMissionId();
  if (stationKept && missionId >= 0 && missionId / Profile::kMissionsPerStation == last)
    r.slot = missionId % Profile::kMissionsPerStation;
  const int mode = profile_->lastMode();
  if (mode != -1) r.mode = mode >= 0 && mode < kModeCount ? mode : 0;
  return r;
}

bool MissionSelection::selectStation(int stationId) {
  if (!isSelectable(stationId)) return false;
  station_ = profile_->findStationById(stationId);
  profile_->setCurrentStation(stationId);
  mission_ = nullptr;
  slot_ = -1;
  return true;
}

bool MissionSelection::selectSlot(int slot) {
  if (!station_ || slot < 0 || slot >= kSlots) return false;
  const auto& missions = station_->missions();
  if (static_cast<size_t>(slot) >= missions.size()) return false;
  slot_ = slot;
  mission_ = missions[static_cast<size_t>(slot)];
  return true;
}

void MissionSelection::setMode(int mode) { mode_ = mode >= 0 && mode < kModeCount ? mode : 0; }

bool MissionSelection::setSlotDifficulty(int slot, int difficulty) {
  if (slot < 0 || slot >= kSlots || difficulty < 0 || difficulty >= Profile::kDifficultyCount) return false;
  slotDifficulty_[slot] = difficulty;
  return true;
}

int MissionSelection::slotDifficulty(int slot) const {
  return slot >= 0 && slot < kSlots ? slotDifficulty_[slot] : 0;
}

int MissionSelection::difficulty() const {
  if (mode_ == kEndlessMode) return kEndlessDifficulty;
  return slotDifficulty(slot_);
}

bool MissionSelection::canLaunch() const { return mission_ && mission_->isEnabled() && !mission_->config().empty(); }

LaunchArguments MissionSelection::launchArguments() const {
  LaunchArguments a;
  if (!mission_) return a;
  a.missionId = mission_->id();
  a.levelFile = mission_->config();
  a.mode = mode_;
  a.difficulty = difficulty();
  return a;
}

void MissionSelection::recordLaunch(int previousRank) const {
  if (!profile_ || !station_ || !mission_) return;
  profile_->setLastLaunch(mission_->id(), station_->id(), mode_, difficulty());
  profile_->setPreviousRank(previousRank);
}
