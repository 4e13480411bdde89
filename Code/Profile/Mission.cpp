#include "Profile/Mission.h"

#include <cstdio>
#include <filesystem>

#include "AssertReport.h"
#include "GameApp.h"
#include "ResourceManager.h"
#include "Texture.h"
#include "XmlAttributes.h"

void Mission::setTexts(const std::string& label, const std::string& config, const std::string& job,
                       const std::string& cargo) {
  label_ = label;
  config_ = config;
  job_ = job;
  cargo_ = cargo;
}

void Mission::loadLevelInfo() {
  bge::XmlReader reader(config_);
  TiXmlDocument doc;
  if (!reader.load(doc)) return;
  TiXmlElement* root = reader.root(doc, "Stage");
  if (!BGE_ERROR_MSG(root != nullptr, ("the level file " + config_ + " holds no level; the mission keeps its music, lock and rewards").c_str()))
    return;
  music_ = reader.readInt(root, "music", music_);
  enabled_ = reader.readBool(root, "enabled", enabled_);
  if (TiXmlElement* reward = root->FirstChildElement("Reward")) {
    for (TiXmlElement* r = reward->FirstChildElement(); r; r = r->NextSiblingElement())
      addReward(r->ValueStr(), reader.readFloat(r, "amount", 0.0f));
  }
}

void Mission::loadUnlocks(const std::string& path) {
  bge::XmlReader reader(path);
  TiXmlDocument doc;
  if (!reader.load(doc)) return;
  TiXmlElement* root = reader.root(doc, "Stage");
  if (!BGE_ERROR_MSG(root != nullptr, ("the level file " + path + " holds no level; winning the mission unlocks nothing").c_str()))
    return;
  if (TiXmlElement* unlocks = root->FirstChildElement("UnlockMissions")) {
    const std::vector<int> ids = reader.readIntList(unlocks, "missions", {});
    unlockList_.assign(ids.begin(), ids.end());
  }
}

Texture* Mission::mapShotTexture() const {
  DeferableResource::ensureLoaded(mapShotTexture_);
  return mapShotTexture_;
}

void Mission::releaseMapShot() const {
  if (mapShotTexture_) mapShotTexture_->releaseUntilUsed();
}

void Mission::loadMapShot(const std::string& path) {
  if (path.empty()) return;
  // The preview is optional: a missing picture leaves the mission without one
  // rather than ending the game in the texture loader.
  if (!std::filesystem::is_regular_file(path)) {
    std::printf("WARNING: mission %d: map shot %s is missing; no preview\n", id_, path.c_str());
    return;
  }
  GameApp* app = GameApp::instance();
  ResourceManager* global = app ? app->globalResourceManager() : nullptr;
  if (!BGE_REPORT_MSG(global != nullptr, "globalResourceManager_ != 0")) return;
  if (Texture* known = global->findTexture(path)) {
    mapShotTexture_ = known;
    return;
  }
  // Decoded when a screen first shows it: start-up reads every station's missions,
  // the title screen shows none of their previews.
  Texture* texture = nullptr;
  {
    DeferableResource::Scope lazily;
    texture = global->createTexture(path);
  }
  if (!texture) return;
  if (!global->registerTexture(path, texture)) {
    delete texture;
    return;
  }
  mapShotTexture_ = texture;
}

void Mission::addReward(const std::string& name, float amount) {
  if (!BGE_ERROR_MSG(rewards_.find(name) == rewards_.end(),
                     ("mission " + std::to_string(id_) + " names the reward " + name + " twice; the first amount is kept").c_str()))
    return;
  rewards_[name] = amount;
}
