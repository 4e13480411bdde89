#include "Profile/Profile.h"

#include <cstdio>

#include "AssertReport.h"
#include "FileSaveGame.h"
#include "GameApp.h"
#include "Profile/Mission.h"
#include "Profile/ProfileSideFiles.h"
#include "Profile/SpaceStation.h"
#include "System/AtomicFile.h"

Profile::Profile(const std::string& name) : name_(name), screenSize_(defaultScreenSize()) {
  for (int i = 0; i < kStationCount; ++i) stationUnlocked_[i] = false;
  for (int i = 0; i < kMissionCount; ++i) {
    missionUnlocked_[i] = false;
    missionWinLose_[i] = false;
  }
  clearFlags();
  badges_.assign(kBadgeCount, false);
}

Profile::~Profile() { clearStations(); }

void Profile::clearFlags() {
  customFlags_.assign(kCustomFlagCount, -1);
  setFlag(CustomFlag::MissionControlTutorial, 1);
}

void Profile::clearStations() { stations_.clear(); }

std::vector<SpaceStation*> Profile::stations() const {
  std::vector<SpaceStation*> view;
  for (const auto& station : stations_) view.push_back(station.get());
  return view;
}

namespace {

// Set by the application while it exists: the profile does not know the application.
Profile::ScreenSizeSource g_screenSizeSource = nullptr;

}  // namespace

void Profile::setScreenSizeSource(ScreenSizeSource source) { g_screenSizeSource = source; }

DisplayMode Profile::defaultScreenSize() {
  return g_screenSizeSource ? g_screenSizeSource() : DisplayMode(kFallbackWidth, kFallbackHeight);
}

bool Profile::write(SaveGame* saveGame) {
  FileSaveGame* file = dynamic_cast<FileSaveGame*>(saveGame);
  if (!BGE_REPORT_MSG(file != nullptr, "File save game pointer is null.")) return false;
  auto putBool = [&](bool v) {
    const uint8_t b = v ? 1 : 0;
    file->write(&b, 1);
  };
  auto putInt = [&](int32_t v) {
    const uint8_t b[4] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
                          static_cast<uint8_t>(v >> 24)};
    file->write(b, 4);
  };
  putBool(hasProgress_);
  putInt(recordValue_);
  putBool(fullscreen_);
  putBool(spectrumEnabled_);
  for (int s = 0; s < kStationCount; ++s) {
    putBool(stationUnlocked_[s]);
    for (int m = 0; m < kMissionsPerStation; ++m) putBool(missionUnlocked_[s * kMissionsPerStation + m]);
  }
  // A load asks for the current values only to fall back on them: the side
  // files on disk are the player's and must not be replaced then.
  if (file->isLoading()) return true;
  // A side file that cannot be written names itself; the record holds none of
  // their values, so it is saved all the same.
  writeSideFiles(folderOf(file->getPath()));
  return true;
}

bool Profile::read(SaveGame* saveGame) {
  FileSaveGame* file = dynamic_cast<FileSaveGame*>(saveGame);
  if (!BGE_REPORT_MSG(file != nullptr, "File save game pointer is null.")) return false;
  // Putting the record back after a failed load: the side files were read with it.
  const bool restoring = file->isRestoring();
  if (!restoring) screenSize_ = defaultScreenSize();
  // Written only as 0 or 1: another byte is a damaged record.
  bool valid = true;
  auto getBool = [&]() {
    uint8_t b = 0;
    file->read(&b, 1);
    if (b > 1) valid = false;
    return b != 0;
  };
  auto getInt = [&]() {
    uint8_t b[4] = {0, 0, 0, 0};
    file->read(b, 4);
    return static_cast<int32_t>(static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 |
                                static_cast<uint32_t>(b[2]) << 16 | static_cast<uint32_t>(b[3]) << 24);
  };
  hasProgress_ = getBool();
  recordValue_ = getInt();
  fullscreen_ = getBool();
  spectrumEnabled_ = getBool();
  for (int s = 0; s < kStationCount; ++s) {
    stationUnlocked_[s] = getBool();
    for (int m = 0; m < kMissionsPerStation; ++m) missionUnlocked_[s * kMissionsPerStation + m] = getBool();
  }
  if (!restoring) readSideFiles(folderOf(file->getPath()));
  return valid;
}

bool Profile::recordShowsWins() const {
  // A new game unlocks the first mission only; every other unlock is a win's.
  for (int i = 1; i < kMissionCount; ++i)
    if (isMissionUnlocked(i)) return true;
  for (int i = 1; i < kStationCount; ++i)
    if (isStationUnlocked(i)) return true;
  return false;
}

bool Profile::anyWin() const {
  for (const auto& won : missionWinLose_)
    if (won.second) return true;
  return false;
}

void Profile::readSideFiles(const std::string& folder) {
  const std::string base = folder.empty() ? std::string() : folder + "/";
  sideFilesRead_ = true;
  const bool recordShowsWins = this->recordShowsWins();
  auto readOne = [&](const char* name, auto decode) {
    const std::string path = base + name;
    if (sidefiles::readSideFile(path, [&](const std::vector<unsigned char>& bytes) { return decode(path, bytes); }) ==
        sidefiles::ReadResult::LeftAlone)
      sideFilesLeftAlone_.insert(path);
  };
  // Where the record shows wins a side file knows nothing of (a power cut can
  // zero-fill one), the file is kept before the next save writes over it.
  auto shortfall = [&](const std::string& path, const std::vector<unsigned char>& bytes, const char* what) {
    if (!sidefiles::keepShortfall(path, bytes, what)) sideFilesLeftAlone_.insert(path);
  };
  readOne(sidefiles::kScreenSize, [&](const std::string&, const std::vector<unsigned char>& bytes) {
    int32_t w = 0, h = 0;
    if (!sidefiles::decodeScreenSize(bytes, &w, &h)) return false;
    screenSize_ = DisplayMode(w, h);
    return true;
  });
  readOne(sidefiles::kMissions, [&](const std::string& path, const std::vector<unsigned char>& bytes) {
    std::vector<bool> won;
    if (!sidefiles::decodeFlags(bytes, kMissionCount, &won)) return false;
    for (int i = 0; i < kMissionCount; ++i) missionWinLose_[i] = won[static_cast<size_t>(i)];
    if (recordShowsWins && !anyWin()) shortfall(path, bytes, "holds no won mission");
    return true;
  });
  readOne(sidefiles::kCustomFlags, [&](const std::string&, const std::vector<unsigned char>& bytes) {
    std::vector<int32_t> flags;
    // The game never writes all ten as 0 (the unused ones stay -1): a zero-filled
    // file is what a power cut left.
    if (sidefiles::zeroFilled(bytes)) return false;
    if (!sidefiles::decodeInts(bytes, kCustomFlagCount, sidefiles::kLowestCustomFlag,
                                    sidefiles::kHighestCustomFlag, &flags)) return false;
    customFlags_ = flags;
    lastStation_ = flag(CustomFlag::LastStation);
    lastMissionId_ = flag(CustomFlag::LastMission);
    lastMode_ = flag(CustomFlag::LastMode);
    return true;
  });
  readOne(sidefiles::kBadges, [&](const std::string& path, const std::vector<unsigned char>& bytes) {
    std::vector<bool> badges;
    if (!sidefiles::decodeFlags(bytes, kBadgeCount, &badges)) return false;
    badges_ = badges;
    // Every win sets a badge of its mission.
    if ((recordShowsWins || anyWin()) && sidefiles::zeroFilled(bytes)) shortfall(path, bytes, "holds no badge");
    return true;
  });
  if (flag(CustomFlag::MissionControlTutorial) == -1) setFlag(CustomFlag::MissionControlTutorial, 1);
}

void Profile::restoreProgressOfWins() {
  // A damaged record is replaced by defaults while the side files keep the wins:
  // what those wins unlocked, and the progress flag, follow from them.
  bool progress = anyWin();
  for (int id = 0; id < kMissionCount; ++id) {
    if (!missionWinLose_[id]) continue;
    unlockMission(id);
    applyMissionUnlocks(id);
  }
  for (bool badge : badges_) progress = progress || badge;
  if (progress) hasProgress_ = true;
  // Whatever the files say, a player who may continue can play the first mission.
  if (hasProgress_) unlockMission(0);
}

bool Profile::writeSideFiles(const std::string& folder) {
  const std::string base = folder.empty() ? std::string() : folder + "/";
  if (customFlags_.size() < static_cast<size_t>(kCustomFlagCount)) customFlags_.resize(kCustomFlagCount, -1);
  setFlag(CustomFlag::LastStation, lastStation_);
  setFlag(CustomFlag::LastMission, lastMissionId_);
  setFlag(CustomFlag::LastMode, lastMode_);
  std::vector<bool> won(kMissionCount);
  for (int i = 0; i < kMissionCount; ++i) won[static_cast<size_t>(i)] = missionWinLose_[i];
  bool ok = true;
  auto put = [&](const char* name, const std::vector<unsigned char>& bytes) {
    const std::string path = base + name;
    // Every save of a session would fail the same way: each file is named once.
    // The player is told on screen too: the game goes on as if it had saved.
    auto sayOnce = [&](const std::string& text, const std::string& why) {
      if (!sideFileFailuresSaid_.insert(path).second) return;
      std::printf("%s\n", text.c_str());
      std::fflush(stdout);
      if (GameApp* app = GameApp::instance()) app->tellPlayer("Progress is not saved: " + path + " " + why);
    };
    if (sideFilesLeftAlone_.count(path)) {
      sayOnce("Not writing " + path + ": it could not be read and no copy of it could be kept",
              "is left as it was: it could not be read and no copy of it could be kept");
      ok = false;
      return;
    }
    std::string why;
    if (writeFileAtomically(path, bytes.data(), bytes.size(), &why)) {
      sideFileFailuresSaid_.erase(path);
      return;
    }
    ok = false;
    sayOnce("ERROR: could not write " + path + " (" + why + ")", "could not be written (" + why + ")");
  };
  put(sidefiles::kScreenSize, sidefiles::encodeScreenSize(screenSize_.width, screenSize_.height));
  put(sidefiles::kMissions, sidefiles::encodeFlags(won));
  put(sidefiles::kCustomFlags, sidefiles::encodeInts(customFlags_));
  put(sidefiles::kBadges, sidefiles::encodeFlags(badges_));
  return ok;
}

bool Profile::isMissionWon(int missionId) const {
  if (!BGE_REPORT_MSG(missionId >= 0 && missionId < static_cast<int>(missionWinLose_.size()),
                      "missionId>= 0 && missionId < missionWinLose_.size()"))
    return false;
  return missionWinLose_.at(missionId);
}

void Profile::setMissionWon(int missionId) {
  if (!BGE_REPORT_MSG(missionId >= 0 && missionId < static_cast<int>(missionWinLose_.size()),
                      "missionId>= 0 && missionId < missionWinLose_.size()"))
    return;
  missionWinLose_[missionId] = true;
}

bool Profile::isMissionUnlocked(int missionId) const {
  auto it = missionUnlocked_.find(missionId);
  return it != missionUnlocked_.end() && it->second;
}

bool Profile::isStationUnlocked(int station) const {
  auto it = stationUnlocked_.find(station);
  return it != stationUnlocked_.end() && it->second;
}

const std::string& Profile::missionRefusal(int missionId) const {
  static const std::string none;
  const auto it = refusals_.find(missionId);
  return it == refusals_.end() ? none : it->second;
}

void Profile::unlockMission(int missionId) {
  // Only the campaign's ids have flags; another id would grow the tables.
  if (missionId < 0 || missionId >= kMissionCount) return;
  for (size_t s = 0; s < stations_.size(); ++s) {
    SpaceStation* station = stations_[s].get();
    for (Mission* mission : station->missions()) {
      if (mission->id() != missionId) continue;
      mission->setEnabled(true);
      missionUnlocked_[missionId] = true;
      if (!station->isUnlocked()) {
        const int stationId = station->id();
        if (stationId >= 0 && stationId < kStationCount) stationUnlocked_[stationId] = true;
        station->setUnlocked(true);
      }
      return;
    }
  }
}

void Profile::applyMissionUnlocks(int wonMissionId) {
  for (const auto& station : stations_)
    for (Mission* mission : station->missions()) {
      if (mission->id() != wonMissionId) continue;
      for (int32_t id : mission->unlockList())
        if (id >= 0) unlockMission(id);
    }
}

void Profile::resetProgress() {
  hasProgress_ = false;
  recordValue_ = 0;
  currentStation_ = 0;
  // A new game is a new player: mission control's tutorial waits for the first visit.
  clearFlags();
  for (int i = 0; i < kMissionValueCount; ++i) missionValues_[i] = 0;
  int n = 0;
  for (size_t s = 0; s < stations_.size(); ++s) {
    stations_[s]->setUnlocked(false);
    if (static_cast<int>(s) < kStationCount) stationUnlocked_[static_cast<int>(s)] = false;
    for (Mission* mission : stations_[s]->missions()) {
      mission->setEnabled(false);
      if (n < kMissionCount) {
        missionUnlocked_[n] = false;
        missionWinLose_[n] = false;
      }
      ++n;
    }
  }
  // Flags of missions the station list does not name are cleared as well.
  for (int i = 0; i < kStationCount; ++i) stationUnlocked_[i] = false;
  for (int i = 0; i < kMissionCount; ++i) {
    missionUnlocked_[i] = false;
    missionWinLose_[i] = false;
  }
  unlockMission(0);
  applyMissionValues();
  lastMissionId_ = 0;
  lastStation_ = 0;
  lastMode_ = 0;
}

SpaceStation* Profile::findStationById(int id) const {
  for (const auto& s : stations_)
    if (s->id() == id) return s.get();
  return nullptr;
}

void Profile::applyMissionValues() {
  for (const auto& station : stations_)
    for (Mission* mission : station->missions()) {
      auto it = missionValues_.find(mission->id());
      if (!BGE_REPORT_MSG(it != missionValues_.end(), "false")) {
        mission->setValue(-1);
        continue;
      }
      mission->setValue(it->second);
    }
}

int32_t Profile::missionValue(int missionId) const {
  auto it = missionValues_.find(missionId);
  return it == missionValues_.end() ? -1 : it->second;
}

int Profile::badgeIndex(int missionId, int mode, int difficulty) {
  if (missionId == -1) missionId = 0;
  if (missionId < 0 || missionId >= kMissionCount || mode < 0 || mode >= kModeCount || difficulty < 0 ||
      difficulty >= kDifficultyCount)
    return -1;
  return (missionId * kModeCount + mode) * kDifficultyCount + difficulty;
}

bool Profile::setBadge(int missionId, int mode, int difficulty) {
  const int i = badgeIndex(missionId, mode, difficulty);
  if (i < 0) return false;
  badges_[static_cast<size_t>(i)] = true;
  return true;
}

bool Profile::hasBadge(int missionId, int mode, int difficulty) const {
  const int i = badgeIndex(missionId, mode, difficulty);
  return i >= 0 && badges_[static_cast<size_t>(i)];
}

int32_t Profile::customFlag(int index) const {
  return index >= 0 && static_cast<size_t>(index) < customFlags_.size() ? customFlags_[static_cast<size_t>(index)] : -1;
}

void Profile::setCustomFlag(int index, int32_t value) {
  if (index >= 0 && static_cast<size_t>(index) < customFlags_.size()) customFlags_[static_cast<size_t>(index)] = value;
}

void Profile::setLastLaunch(int32_t missionId, int32_t station, int32_t mode, int32_t difficulty) {
  lastMissionId_ = missionId;
  lastStation_ = station;
  lastMode_ = mode;
  lastDifficulty_ = difficulty;
}
