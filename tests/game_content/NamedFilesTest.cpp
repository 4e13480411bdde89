// Every file that some shipped XML file names is there: layouts, entity files, levels,
// stations, the sound and music catalogues, animation scenes and lists. A file name may be
// given from the game's folder, from a folder an enclosing element sets ("path", "folder",
// "defaultPath"), or beside the file that names it; the game tries the same places.
#include <gtest/gtest.h>
#include <tinyxml.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path kRoot = STARMOOR_SOURCE_DIR;

bool namesAFile(const std::string& value) {
  static const std::set<std::string> kinds = {".png", ".jpg", ".xml", ".wav", ".ogg", ".ttf", ".otf",
                                              ".vert", ".frag", ".spline", ".cfg", ".txt"};
  if (value.empty() || value.find_first_of("<>\n") != std::string::npos) return false;
  const std::string ext = fs::path(value).extension().string();
  return kinds.count(ext) > 0;
}

// The folders a name under `e` may be read from, nearest first.
std::vector<fs::path> baseFolders(const TiXmlElement* e, const fs::path& file) {
  std::vector<fs::path> bases;
  for (const TiXmlNode* n = e; n && n->ToElement(); n = n->Parent()) {
    for (const char* key : {"path", "folder", "defaultPath"}) {
      const char* v = n->ToElement()->Attribute(key);
      if (v && *v) bases.push_back(kRoot / v);
    }
  }
  bases.push_back(kRoot);
  bases.push_back(file.parent_path());
  return bases;
}

void collect(const TiXmlElement* e, const fs::path& file, std::vector<std::string>& missing, int& named) {
  for (const TiXmlAttribute* a = e->FirstAttribute(); a; a = a->Next()) {
    const std::string value = a->Value();
    if (!namesAFile(value)) continue;
    ++named;
    bool found = false;
    for (const fs::path& base : baseFolders(e, file)) found = found || fs::is_regular_file(base / value);
    if (!found) missing.push_back(fs::relative(file, kRoot).string() + ": " + a->Name() + "=\"" + value + "\"");
  }
  for (const TiXmlElement* c = e->FirstChildElement(); c; c = c->NextSiblingElement()) collect(c, file, missing, named);
}

TEST(NamedFiles, EveryFileAShippedFileNamesExists) {
  std::vector<std::string> missing;
  int files = 0, named = 0;
  for (const auto& entry : fs::recursive_directory_iterator(kRoot / "content")) {
    if (entry.path().extension() != ".xml") continue;
    TiXmlDocument doc;
    ASSERT_TRUE(doc.LoadFile(entry.path().string().c_str())) << entry.path() << ": " << doc.ErrorDesc();
    ++files;
    collect(doc.RootElement(), entry.path(), missing, named);
  }
  // Layouts, levels, stations, entities and catalogues: a few hundred names in all.
  EXPECT_GT(files, 200);
  EXPECT_GT(named, 1000);
  for (const std::string& m : missing) ADD_FAILURE() << "names a missing file: " << m;
}

}  // namespace
