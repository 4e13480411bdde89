#include "DynamicResources/SceneMusicContainer.h"

#include <tinyxml.h>

#include <cstdio>
#include <cstdlib>

#include "DynamicResources/RandomSeeder.h"
#include "Utilities.h"
#include "XmlAttributes.h"

// Only texts: it may as well go at exit.
std::unique_ptr<SceneMusicContainer> g_sceneMusicContainer;

SceneMusicContainer* SceneMusicContainer::instance() {
  if (!g_sceneMusicContainer) g_sceneMusicContainer = std::make_unique<SceneMusicContainer>();
  return g_sceneMusicContainer.get();
}

void SceneMusicContainer::destroyInstance() { g_sceneMusicContainer.reset(); }

void SceneMusicContainer::load(const std::string& filePath) {
  const bge::XmlReader xml(filePath);
  TiXmlDocument doc;
  if (!xml.load(doc)) return;
  TiXmlElement* root = xml.root(doc, "SceneMusic");
  if (!root) return;
  path_ = xml.readString(root, "path", path_);

  for (TiXmlElement* scene = root->FirstChildElement("Scene"); scene;
       scene = scene->NextSiblingElement("Scene")) {
    // A scene without indices is left out; so is a piece of the list that is no number.
    if (xml.requireString(scene, "index", "").empty()) continue;
    const std::vector<int> indices = xml.readIntList(scene, "index", {});

    for (TiXmlElement* music = scene->FirstChildElement("Music"); music;
         music = music->NextSiblingElement("Music")) {
      // A track without a file would be picked as the bare folder and fail to play.
      const std::string fileName = xml.requireString(music, "file", "");
      if (fileName.empty()) continue;
      const std::string author = xml.readString(music, "author", "");
      const std::string trackName = xml.readString(music, "trackName", "");
      for (int index : indices) {
        tracks_[index].push_back(fileName);
        authors_[index] = author;
        trackNames_[index] = trackName;
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
