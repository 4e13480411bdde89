// Every sound the game asks for by key is in the sound catalogue with a file behind it, and
// every music scene the game picks from (each level's music number, the intro, the menus)
// has a track. A key missing from the catalogue plays nothing, silently, so only a test
// sees it.
#include <gtest/gtest.h>
#include <tinyxml.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "DynamicResources/SceneMusicContainer.h"

namespace fs = std::filesystem;

namespace {

const std::string kRoot = STARMOOR_SOURCE_DIR;

std::string readAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Keys in the catalogue, each with the files of its variants.
std::map<std::string, std::vector<std::string>> catalogueKeys() {
  std::map<std::string, std::vector<std::string>> keys;
  TiXmlDocument doc((kRoot + "/content/config/sfx.xml").c_str());
  if (!doc.LoadFile()) return keys;
  const std::string prefix = doc.RootElement()->Attribute("defaultPath");
  for (const TiXmlElement* e = doc.RootElement()->FirstChildElement(); e; e = e->NextSiblingElement()) {
    const std::string name = e->Attribute("name") ? e->Attribute("name") : "";
    if (e->ValueStr() == "Sound") keys[name].push_back(prefix + e->Attribute("path"));
    for (const TiXmlElement* v = e->FirstChildElement("Sound"); v; v = v->NextSiblingElement("Sound"))
      keys[name].push_back(prefix + v->Attribute("path"));
  }
  return keys;
}

// Keys played by the game: string literals in its code and the sound attributes of its
// entity files.
std::set<std::string> playedKeys() {
  std::set<std::string> keys;
  const std::regex literal("\"((SFX|UI)_[A-Z0-9_]+)\"");
  for (const auto& f : fs::recursive_directory_iterator(kRoot + "/Code")) {
    const std::string ext = f.path().extension().string();
    if (ext != ".cpp" && ext != ".h") continue;
    const std::string text = readAll(f.path());
    for (std::sregex_iterator m(text.begin(), text.end(), literal), end; m != end; ++m) keys.insert((*m)[1]);
  }
  const std::regex attribute("\\b(sfx|sfxLabel)\\s*=\\s*\"([^\"]+)\"");
  for (const auto& f : fs::recursive_directory_iterator(kRoot + "/content/config/Entities")) {
    if (f.path().extension() != ".xml") continue;
    const std::string text = readAll(f.path());
    for (std::sregex_iterator m(text.begin(), text.end(), attribute), end; m != end; ++m) keys.insert((*m)[2]);
  }
  return keys;
}

TEST(SoundCatalogue, EveryKeyTheGamePlaysHasAFileBehindIt) {
  const auto catalogue = catalogueKeys();
  ASSERT_FALSE(catalogue.empty());
  const std::set<std::string> played = playedKeys();
  // The scan must find the level's own cues, or it scans nothing.
  ASSERT_TRUE(played.count("SFX_TOWER_PLACED"));
  for (const std::string& key : played) EXPECT_TRUE(catalogue.count(key)) << key << " is played but not listed";
  for (const auto& entry : catalogue) {
    EXPECT_FALSE(entry.second.empty()) << entry.first;
    for (const std::string& file : entry.second) {
      const std::string data = readAll(kRoot + "/" + file);
      // A short sound of our own: RIFF/WAVE, and small enough to keep in memory.
      EXPECT_EQ(0u, data.rfind("RIFF", 0)) << file;
      EXPECT_LT(data.size(), 200000u) << file;
    }
  }
}

TEST(MusicCatalogue, EverySceneTheGamePicksHasATrack) {
  SceneMusicContainer music;
  music.load(kRoot + "/content/config/music.xml");
  std::set<int> scenes = {20, 9999};  // the intro and the menus
  const std::regex stageMusic("<Stage[^>]*\\bmusic=\"(-?[0-9]+)\"");
  for (const auto& f : fs::directory_iterator(kRoot + "/content/levels")) {
    if (f.path().extension() != ".xml") continue;
    const std::string text = readAll(f.path());
    std::smatch m;
    if (std::regex_search(text, m, stageMusic)) scenes.insert(std::stoi(m[1]));
  }
  ASSERT_GT(scenes.size(), 2u);
  for (int scene : scenes) {
    const std::vector<std::string>* tracks = music.findTracks(scene);
    ASSERT_TRUE(tracks && !tracks->empty()) << "scene " << scene;
    EXPECT_FALSE(music.getTrackName(scene).empty()) << "scene " << scene;
    for (const std::string& file : *tracks)
      EXPECT_EQ(0u, readAll(kRoot + "/" + music.getPath() + file).rfind("OggS", 0)) << file;
  }
}

}  // namespace
