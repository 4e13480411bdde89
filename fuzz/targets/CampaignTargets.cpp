// The game application's readers: the campaign (station list, station files,
// mission level info), collision categories and materials, the profile's side
// files and the local store file.
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "CollisionContext/Categories/CategoryDispatcher.h"
#include "FuzzSupport.h"
#include "Profile/Mission.h"
#include "Profile/Profile.h"
#include "Profile/ProfileSideFiles.h"
#include "Profile/SpaceStation.h"
#include "Store/CSteamLeaderboards.h"
#include "Store/LocalStore.h"
#include "System/CollisionSetup.h"
#include "Targets.h"

namespace fuzz {

void fuzzStationList(const uint8_t* data, size_t size) {
  const std::string path = writeInput(data, size, "stations.xml");
  Profile profile("Commander");
  profile.loadStations(path);
  // Whatever the list held, the flag tables stay the campaign's size.
  profile.resetProgress();
  for (int m = 0; m < Profile::kMissionCount; ++m) profile.isMissionWon(m);
  if (profile.isMissionUnlocked(Profile::kMissionCount)) finding("a mission past the campaign was unlocked");
}

void fuzzStationFile(const uint8_t* data, size_t size) {
  const std::string path = writeInput(data, size, "station.xml");
  SpaceStation station;
  station.loadFromXml(path);
  requireFinite(station.tradeCommission(), "a station's trade commission");
  for (const Mission* m : station.getMissions()) {
    for (const auto& reward : m->rewards()) requireFinite(reward.second, "a reward amount");
  }
}

void fuzzMissionLevelInfo(const uint8_t* data, size_t size) {
  const std::string path = writeInput(data, size, "mission.xml");
  Mission mission;
  mission.setTexts("fuzz", path, "", "");
  mission.loadLevelInfo();
  mission.loadUnlocks(path);
  for (const auto& reward : mission.rewards()) requireFinite(reward.second, "a reward amount");
}

void fuzzCollisionCategories(const uint8_t* data, size_t size) {
  const std::string path = writeInput(data, size, "categories.xml");
  // A registry of its own per input, so categories from earlier inputs do not pile up.
  QuillonPHX2D::xCategoryDispatcher* registry = QuillonPHX2D::xCategoryDispatcher::CreateSeparateInstance();
  if (!registry) return;
  loadCollisionCategoriesFile(path, registry);
  QuillonPHX2D::xCategoryDispatcher::DestroySeparateInstance(registry);
}

void fuzzMaterials(const uint8_t* data, size_t size) {
  const std::string path = writeInput(data, size, "materials.xml");
  std::vector<MaterialValues> materials;
  readMaterialsFile(path, materials);
  for (const MaterialValues& m : materials) {
    requireFinite(m.density, "a material's density");
    requireFinite(m.restitution, "a material's restitution");
    requireFinite(m.dynamicFriction, "a material's friction");
    requireFinite(m.rollingFriction, "a material's rolling friction");
    requireFinite(m.reflection, "a material's reflection");
    if (m.density < 0.0f || m.restitution < 0.0f || m.restitution > 1.0f) finding("a material value out of range");
  }
}

void fuzzSideFiles(const uint8_t* data, size_t size) {
  // The first byte picks the file; the rest is its content.
  static const char* const kNames[] = {sidefiles::kScreenSize, sidefiles::kMissions, sidefiles::kCustomFlags,
                                       sidefiles::kBadges};
  if (size == 0) return;
  const std::string name = kNames[data[0] % 4];
  const std::string path = writeInput(data + 1, size - 1, name);
  Profile profile("Commander");
  profile.readSideFiles(workFolder());
  const DisplayMode& screen = profile.screenSize();
  if (screen.width <= 0 || screen.height <= 0) finding("a screen size that gives no scale factor");
  if (profile.customFlagCount() != static_cast<size_t>(Profile::kCustomFlagCount)) finding("custom flags lost their size");
  if (profile.flag(CustomFlag::MissionControlTutorial) == -1)
    finding("mission control's tutorial flag unset after a read");
  // A rejected input was kept as a backup; backups are never written over, so
  // they would pile up run after run.
  std::remove((path + ".bak").c_str());
}

void fuzzStoreFile(const uint8_t* data, size_t size) {
  static const std::vector<std::string> kBoards = CSteamLeaderboards::allLeaderboardNames();
  store::LocalStore first(std::string(), kBoards);
  if (!first.parse(asText(data, size))) return;
  // What the store writes back must read back the same.
  const std::string written = first.serialise();
  store::LocalStore second(std::string(), kBoards);
  if (!second.parse(written)) finding("a store file the store wrote does not read back");
  if (second.serialise() != written) finding("a store file changes when read back");
}

}  // namespace fuzz
