// Profile::loadStations: the station list and the checks that keep mission
// flags (applied by list position) and unlocks (by mission id) in step.
#include <cstdio>

#include "AssertReport.h"
#include "Profile/Mission.h"
#include "Profile/Profile.h"
#include "Profile/SpaceStation.h"
#include "XmlAttributes.h"

bool Profile::loadStations(const std::string& path) {
  clearStations();
  campaignProblems_ = 0;
  bge::XmlReader reader(path);
  TiXmlDocument doc;
  if (!BGE_ERROR_MSG(reader.load(doc), ("the campaign file " + path + " cannot be read; no station can be picked").c_str())) {
    ++campaignProblems_;
    return false;
  }
  TiXmlElement* root = reader.root(doc, "Kelvaro");
  if (!BGE_ERROR_MSG(root != nullptr, ("the campaign file " + path + " holds no campaign; no station can be picked").c_str())) {
    ++campaignProblems_;
    return false;
  }
  for (TiXmlElement* e = root->FirstChildElement("SpaceStation"); e; e = e->NextSiblingElement("SpaceStation")) {
    const int id = reader.readInt(e, "id", -1);
    const std::string config = reader.readString(e, "config", "");
    BGE_REPORT(id != -1);
    BGE_REPORT(!config.empty());
    auto station = std::make_unique<SpaceStation>();
    station->setId(id);
    if (!config.empty()) station->loadFromXml(config);
    stations_.push_back(std::move(station));
  }

  // The flag tables are indexed by list position, the unlock lists by mission
  // id: both only agree when stations count 0..14 and missions 0..44 in order.
  int n = 0;
  for (size_t s = 0; s < stations_.size(); ++s) {
    SpaceStation* station = stations_[s].get();
    if (station->id() != static_cast<int>(s)) {
      std::printf("WARNING: %s: station %zu has id %d; the campaign needs ids 0..14 in order\n", path.c_str(), s,
                  station->id());
      ++campaignProblems_;
    }
    if (station->missions().size() != static_cast<size_t>(kMissionsPerStation)) {
      std::printf("WARNING: %s: station %d has %zu missions, not %d\n", path.c_str(), station->id(),
                  station->missions().size(), kMissionsPerStation);
      ++campaignProblems_;
    }
    for (Mission* mission : station->missions()) {
      if (mission->id() != n) {
        std::printf("WARNING: %s: mission %d of station %d has id %d; unlocks would reach the wrong mission\n",
                    path.c_str(), n, station->id(), mission->id());
        ++campaignProblems_;
      }
      for (int32_t unlock : mission->unlockList()) {
        if (unlock >= kMissionCount) {
          std::printf("WARNING: %s: mission %d unlocks mission %d, which the campaign does not have\n",
                      mission->config().c_str(), mission->id(), unlock);
          ++campaignProblems_;
        }
      }
      ++n;
    }
  }
  if (stations_.size() != static_cast<size_t>(kStationCount)) {
    std::printf("WARNING: %s: %zu stations, the campaign needs %d\n", path.c_str(), stations_.size(), kStationCount);
    ++campaignProblems_;
  }
  campaignProblems_ += reader.problems();
  applyUnlockFlags();
  restoreProgressOfWins();
  return true;
}

void Profile::applyUnlockFlags() {
  int n = 0;
  for (size_t s = 0; s < stations_.size(); ++s) {
    stations_[s]->setUnlocked(isStationUnlocked(static_cast<int>(s)));
    for (Mission* mission : stations_[s]->missions()) mission->setEnabled(isMissionUnlocked(n++));
  }
}
