#include "DynamicResources/SceneMusicContainer.h"

#include <tinyxml.h>

#include <cstdio>
#include <cstdlib>

#include "AssertReport.h"
#include "DynamicResources/RandomSeeder.h"
#include "Utilities.h"
#include "XmlFile.h"

SceneMusicContainer* g_sceneMusicContainer = nullptr;

SceneMusicContainer* SceneMusicContainer::instance() {
  if (!g_sceneMusicContainer) g_sceneMusicContainer = new SceneMusicContainer();
  return g_sceneMusicContainer;
}

void SceneMusicContainer::destroyInstance() {
  delete g_sceneMusicContainer;
  g_sceneMusicContainer = nullptr;
}

void SceneMusicContainer::load(const std::string& filePath) {
  TiXmlDocument doc(filePath.c_str());
  if (!loadXmlFile(doc, filePath)) {
    std::printf("ERROR: the music list %s %s\n", filePath.c_str(), xmlLoadProblem(doc, filePath).c_str());
    (void)BGE_REPORT_MSG(false, "ERROR: Can't load music definition file!!!");
    return;
  }
  TiXmlElement* root = doc.FirstChildElement("SceneMusic");
  if (!root) {
    std::printf("ERROR: the music list %s has no <SceneMusic> element\n", filePath.c_str());
    (void)BGE_REPORT_MSG(false, "ERROR: Music definition file malformed!!!");
    return;
  }
  if (const char* path = root->Attribute("path")) path_ = path;

  for (TiXmlElement* scene = root->FirstChildElement("Scene"); scene;
       scene = scene->NextSiblingElement("Scene")) {
    const char* indexText = scene->Attribute("index");
    if (!indexText) {
      (void)BGE_REPORT_MSG(false, "WARNING: Missing index list. Node will be ignored.");
      continue;
    }
    std::vector<std::string> pieces;
    splitString(indexText, ',', pieces);
    std::vector<int> indices;
    for (const std::string& piece : pieces) {
      if (piece.empty()) {
        (void)BGE_REPORT_MSG(false, "WARNING: Missing index. This index entry will be ignored.");
        continue;
      }
      indices.push_back(std::atoi(piece.c_str()));
    }

    for (TiXmlElement* music = scene->FirstChildElement("Music"); music;
         music = music->NextSiblingElement("Music")) {
      const char* file = music->Attribute("file");
      const std::string fileName = file ? file : "";
      (void)BGE_REPORT(!fileName.empty());
      // A track without a file would be picked as the bare folder and fail to play.
      if (fileName.empty()) continue;
      const char* author = music->Attribute("author");
      const char* trackName = music->Attribute("trackName");
      for (int index : indices) {
        tracks_[index].push_back(fileName);
        authors_[index] = author ? author : "";
        trackNames_[index] = trackName ? trackName : "";
      }
    }
  }
}

const std::vector<std::string>* SceneMusicContainer::findTracks(int sceneIndex) const {
  auto it = tracks_.find(sceneIndex);
  return it == tracks_.end() ? nullptr : &it->second;
}

std::string SceneMusicContainer::pickTrack(int sceneIndex) {
  const std::vector<std::string>* files = findTracks(sceneIndex);
  if (!files || files->empty()) return std::string();
  randomSeeder();
  const int i = randomInt(static_cast<int>(files->size()));
  return path_ + (*files)[i];
}

std::string SceneMusicContainer::lookup(const std::map<int, std::string>& texts, int sceneIndex) {
  auto it = texts.find(sceneIndex);
  return it == texts.end() ? std::string() : it->second;
}

std::string SceneMusicContainer::getAuthor(int sceneIndex) const {
  return lookup(authors_, sceneIndex);
}

std::string SceneMusicContainer::getTrackName(int sceneIndex) const {
  return lookup(trackNames_, sceneIndex);
}
