// The save file: whatever is on disk, a load either takes every value or keeps
// them all and a copy of the file; a save after it always reads back.
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "FileSaveGame.h"
#include "FuzzSupport.h"
#include "GameApp.h"
#include "GenericEntry.h"
#include "Targets.h"

namespace fuzz {

namespace {

// Stands for the player's profile: a fixed record of plain fields.
struct ProfileRecord {
  int32_t level = 3;
  int32_t credits = 1200;
  float playTime = 61.5f;
  uint8_t medals[20] = {1, 2, 3};
  bool operator==(const ProfileRecord& o) const { return std::memcmp(this, &o, sizeof o) == 0; }
};

struct Values {
  int sound;
  int music;
  int assistant;
  ProfileRecord profile;
};

void registerEntries(FileSaveGame& save) {
  save.addEntry("SOUND_VOLUME", new GenericEntry<int>(50, 50));
  save.addEntry("MUSIC_VOLUME", new GenericEntry<int>(50, 50));
  save.addEntry("BATTLE_ASSISTANT", new GenericEntry<int>(1, 1));
  save.addEntry("PLAYER_PROFILE", new GenericEntry<ProfileRecord>(ProfileRecord(), ProfileRecord()));
}

Values valuesOf(const FileSaveGame& save) {
  return Values{save.findEntryAs<GenericEntry<int>>("SOUND_VOLUME")->getValue(),
                save.findEntryAs<GenericEntry<int>>("MUSIC_VOLUME")->getValue(),
                save.findEntryAs<GenericEntry<int>>("BATTLE_ASSISTANT")->getValue(),
                save.findEntryAs<GenericEntry<ProfileRecord>>("PLAYER_PROFILE")->getValue()};
}

bool same(const Values& a, const Values& b) {
  return a.sound == b.sound && a.music == b.music && a.assistant == b.assistant &&
         a.profile == b.profile;
}

std::string readAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

void fuzzSaveFile(const uint8_t* data, size_t size) {
  namespace fs = std::filesystem;
  const std::string folder = workFolder() + "/data/Starmoor";
  std::error_code ec;
  fs::remove_all(folder, ec);
  fs::create_directories(folder, ec);
  const std::string path = folder + "/Starmoor.sav";
  const std::string original(reinterpret_cast<const char*>(data), size);
  writeInput(data, size, "data/Starmoor/Starmoor.sav");

  FileSaveGame save(path, GameApp::instance());
  registerEntries(save);
  const Values before = valuesOf(save);
  if (!save.load()) {
    if (!same(before, valuesOf(save))) finding("a failed load changed the entries");
    if (save.backupPath().empty() || readAll(save.backupPath()) != original) {
      finding("a save file that failed to load was not kept");
    }
  }
  const Values loaded = valuesOf(save);
  if (!save.save()) finding("saving into a writable folder failed");

  FileSaveGame again(path, GameApp::instance());
  registerEntries(again);
  if (!again.load()) finding("a file just saved does not load");
  if (!same(loaded, valuesOf(again))) finding("a file just saved reads back different values");
  fs::remove_all(folder, ec);
}

}  // namespace fuzz
