#pragma once
#include <map>
#include <memory>
#include <string>
#include <vector>

// Music files by scene index, read from "content/config/music.xml"; a scene with
// several tracks gets a random one each time it asks.
class SceneMusicContainer {
 public:
  SceneMusicContainer() = default;

  // The one catalogue; the first caller creates it.
  static SceneMusicContainer* instance();
  static void destroyInstance();

  void load(const std::string& filePath);

  // path + a random file of the scene, or "" when the scene has none.
  std::string pickTrack(int sceneIndex);
  std::string getAuthor(int sceneIndex) const;
  std::string getTrackName(int sceneIndex) const;

  const std::vector<std::string>* findTracks(int sceneIndex) const;
  const std::string& getPath() const { return path_; }

 private:
  static std::string lookup(const std::map<int, std::string>& texts, int sceneIndex);

  std::map<int, std::vector<std::string>> tracks_;
  std::map<int, std::string> authors_;
  std::map<int, std::string> trackNames_;
  std::string path_;
};

extern std::unique_ptr<SceneMusicContainer> g_sceneMusicContainer;
