#include "Profile/SpaceStation.h"

#include <GL/glew.h>

#include <cstdio>
#include <filesystem>

#include "AssertReport.h"
#include "GLTexture.h"
#include "GameApp.h"
#include "Profile/Mission.h"
#include "ResourceManager.h"
#include "XmlAttributes.h"

SpaceStation::~SpaceStation() = default;

std::vector<Mission*> SpaceStation::missions() const {
  std::vector<Mission*> view;
  for (const auto& mission : missions_) view.push_back(mission.get());
  return view;
}

bool SpaceStation::loadFromXml(const std::string& path) {
  bge::XmlReader reader(path);
  TiXmlDocument doc;
  if (!BGE_ERROR_MSG(reader.load(doc), ("the station file " + path + " cannot be read; the station shows no details").c_str()))
    return false;
  TiXmlElement* root = reader.root(doc, "Station");
  if (!BGE_ERROR_MSG(root != nullptr, ("the station file " + path + " holds no station; the station shows no details").c_str()))
    return false;
  icon_ = reader.readString(root, "icon", icon_);
  if (TiXmlElement* data = root->FirstChildElement("Data")) {
    code_ = reader.readString(data, "code", code_);
    commander_ = reader.readString(data, "commander", commander_);
    coordinate_ = reader.readString(data, "coordinate", coordinate_);
    type_ = reader.readString(data, "type", type_);
    crew_ = reader.readString(data, "crew", crew_);
    weapons_ = reader.readString(data, "weapons", weapons_);
    communication_ = reader.readString(data, "communication", communication_);
    power_ = reader.readString(data, "power", power_);
    tradeCommission_ = reader.readFloat(data, "trade_commission", tradeCommission_, 0.0f, 1.0f);
  }
  for (TiXmlElement* e = root->FirstChildElement("Mission"); e; e = e->NextSiblingElement("Mission")) {
    auto mission = std::make_unique<Mission>();
    mission->setId(reader.readInt(e, "id", -1));
    mission->setTexts(reader.readString(e, "label", "no-name"), reader.readString(e, "config", ""),
                      reader.readString(e, "job", ""), reader.readString(e, "cargo", ""));
    mission->loadLevelInfo();
    mission->loadUnlocks(mission->config());
    mission->loadMapShot(reader.readString(e, "mapShot", ""));
    missions_.push_back(std::move(mission));
  }
  return true;
}

Texture* SpaceStation::loadIconTexture() {
  if (icon_.empty()) return iconTexture_;
  GameApp* app = GameApp::instance();
  ResourceManager* global = app ? app->globalResourceManager() : nullptr;
  if (!BGE_REPORT_MSG(global != nullptr, "globalResourceManager_ != 0")) return iconTexture_;
  Texture* texture = global->findTexture(icon_);
  if (!texture && !std::filesystem::is_regular_file(icon_)) {
    // A missing icon leaves the station without one rather than ending the game.
    std::printf("WARNING: station %d: icon %s is missing\n", id_, icon_.c_str());
    return iconTexture_;
  }
  if (!texture) {
    texture = new GLTexture(icon_, 0, 0, GL_NEAREST);
    if (!global->registerTexture(icon_, texture)) {
      delete texture;
      texture = global->findTexture(icon_);
    }
  }
  iconTexture_ = texture;
  return iconTexture_;
}
