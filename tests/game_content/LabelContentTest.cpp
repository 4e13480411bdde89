// Every text the game looks up by key is in the strings file. A missing key shows the
// player "label not found" in the middle of a panel, and only a test sees it before a
// player does.
#include <gtest/gtest.h>
#include <tinyxml.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <string>

namespace fs = std::filesystem;

namespace {

const std::string kRoot = STARMOOR_SOURCE_DIR;

std::string readAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::set<std::string> stringsFileKeys() {
  std::set<std::string> keys;
  TiXmlDocument doc((kRoot + "/content/strings/english.xml").c_str());
  if (!doc.LoadFile()) return keys;
  for (const TiXmlElement* e = doc.RootElement()->FirstChildElement("Label"); e; e = e->NextSiblingElement("Label"))
    for (const TiXmlAttribute* a = e->FirstAttribute(); a; a = a->Next()) keys.insert(a->Name());
  return keys;
}

void collect(const std::string& folder, const std::set<std::string>& extensions, const std::regex& pattern,
             int group, std::set<std::string>& out) {
  for (const auto& f : fs::recursive_directory_iterator(kRoot + "/" + folder)) {
    if (!extensions.count(f.path().extension().string())) continue;
    const std::string text = readAll(f.path());
    for (std::sregex_iterator m(text.begin(), text.end(), pattern), end; m != end; ++m) out.insert((*m)[group]);
  }
}

}  // namespace

TEST(StringsFile, EveryKeyTheGameLooksUpIsThere) {
  const std::set<std::string> known = stringsFileKeys();
  ASSERT_GT(known.size(), 100u);
  std::set<std::string> used;
  // Code: the lookups written with a literal key.
  collect("Code", {".cpp", ".h"}, std::regex("\\b(getLabel|label)\\(\\s*\"([A-Z][A-Z0-9_]*)\"\\s*\\)"), 2, used);
  // Layouts and dialogs: text attributes that hold a key rather than words.
  collect("content", {".xml"}, std::regex("\\btext=\"([A-Z][A-Z0-9]*(_[A-Z0-9]+)+)\""), 1, used);
  // Tower files: the name and info keys the panels show.
  collect("content/config/Entities", {".xml"}, std::regex("\\b(towerType|info)=\"([A-Z][A-Z0-9_]*)\""), 2, used);
  // The scans must reach the level's own captions, or they read nothing.
  ASSERT_TRUE(used.count("CHECK_POINTS"));
  ASSERT_TRUE(used.count("TOWER_NAME_T1"));
  for (const std::string& key : used) EXPECT_TRUE(known.count(key)) << key << " is looked up but not in the strings file";
}
