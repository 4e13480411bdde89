#include "DynamicResources/SfxContainer.h"

#include <tinyxml.h>

#include <cstdio>

#include "AssertReport.h"
#include "DynamicResources/RandomSeeder.h"
#include "GameApp.h"
#include "ResourceManager.h"
#include "SDLGameApp.h"
#include "Sound.h"
#include "Utilities.h"
#include "XmlFile.h"

namespace {
SfxContainer* g_sfxContainer = nullptr;
}

SfxContainer* SfxContainer::instance() {
  if (!g_sfxContainer) g_sfxContainer = new SfxContainer();
  return g_sfxContainer;
}

void SfxContainer::destroyInstance() {
  delete g_sfxContainer;
  g_sfxContainer = nullptr;
}

SfxContainer::SfxContainer() {
  if (GameApp* app = GameApp::instance()) {
    resources_ = app->addResourceManager(resourceIndex_);
  }
  // Without an application (tools, tests) the catalogue keeps its own.
  if (!resources_) {
    resources_ = new ResourceManager();
    ownsResources_ = true;
  }
}

SfxContainer::~SfxContainer() {
  if (ownsResources_) {
    delete resources_;
  } else if (GameApp* app = GameApp::instance()) {
    app->removeResourceManager(resourceIndex_);
  }
  resources_ = nullptr;
  defaultPath_.clear();
}

void SfxContainer::load(const std::string& filePath) {
  TiXmlDocument doc(filePath.c_str());
  if (!loadXmlFile(doc, filePath)) {
    std::printf("ERROR: the sound effect list %s %s\n", filePath.c_str(),
                xmlLoadProblem(doc, filePath).c_str());
    (void)BGE_REPORT_MSG(false, "ERROR: Can't load sfx configuration file!!!");
    return;
  }
  TiXmlElement* root = doc.FirstChildElement("SFX");
  if (!root) {
    std::printf("ERROR: the sound effect list %s has no <SFX> element\n", filePath.c_str());
    (void)BGE_REPORT_MSG(false, "ERROR: Malformed sfx configuration file!!!");
    return;
  }
  if (const char* path = root->Attribute("defaultPath")) defaultPath_ = path;
  for (TiXmlElement* child = root->FirstChildElement(); child;
       child = child->NextSiblingElement()) {
    const std::string value = child->ValueStr();
    if (value == "Sound") {
      loadSound(child);
    } else if (value == "RandomSound") {
      loadRandomSound(child);
    }
  }
  loaded_ = true;
}

void SfxContainer::loadSound(TiXmlElement* element) {
  const char* name = element->Attribute("name");
  const char* path = element->Attribute("path");
  if (name && *name && path && *path) {
    addVariant(name, defaultPath_ + path);
  } else {
    (void)BGE_REPORT_MSG(false, "WARNING: Incomplete Sound entry in xml.");
  }
}

void SfxContainer::loadRandomSound(TiXmlElement* element) {
  const char* name = element->Attribute("name");
  if (!name || !*name) {
    (void)BGE_REPORT_MSG(false, "WARNING: Incomplete RandomSound entry in xml.");
    return;
  }
  int counted = 0;
  for (TiXmlElement* sound = element->FirstChildElement("Sound"); sound;
       sound = sound->NextSiblingElement("Sound")) {
    const char* path = sound->Attribute("path");
    if (!path || !*path) continue;
    addVariant(name, defaultPath_ + path);
    ++counted;
  }
  if (counted == 0) (void)BGE_REPORT_MSG(false, "WARNING: Incomplete RandomSound entry in xml.");
}

void SfxContainer::addVariant(const std::string& name, const std::string& fullPath) {
  std::vector<std::string>& ids = variants_[name];
  const std::string id = name + "_" + std::to_string(ids.size());
  resources_->registerSound(id, new MixSound(fullPath));
  ids.push_back(id);
}

const std::vector<std::string>* SfxContainer::findVariants(const std::string& name) const {
  auto it = variants_.find(name);
  return it == variants_.end() ? nullptr : &it->second;
}

Sound* SfxContainer::findVariantSound(const std::string& variantId) const {
  return resources_ ? resources_->findSound(variantId) : nullptr;
}

Sound* SfxContainer::pickVariant(const std::string& name) const {
  const std::vector<std::string>* ids = findVariants(name);
  if (!ids || ids->empty()) return nullptr;
  randomSeeder();
  const int i = randomInt(static_cast<int>(ids->size()));
  return findVariantSound((*ids)[i]);
}

void SfxContainer::playSound(const std::string& name, const bool& loop) {
  if (name.empty()) return;
  SDLGameApp* app = SDLGameApp::instance();
  if (!app || !app->isAudioOpen()) return;
  Sound* sound = pickVariant(name);
  if (!sound) return;
  if (loop) {
    sound->playLooped(-1);
  } else {
    sound->play();
  }
}

void SfxContainer::playSoundOnChannel(const std::string& name, int channel) {
  if (MixSound* sound = dynamic_cast<MixSound*>(pickVariant(name))) sound->playOnChannel(channel);
}
