#include "DynamicResources/SfxContainer.h"

#include <sys/stat.h>
#include <tinyxml.h>

#include <cstdio>

#include "DynamicResources/RandomSeeder.h"
#include "GameApp.h"
#include "ResourceManager.h"
#include "SDLGameApp.h"
#include "Sound.h"
#include "Utilities.h"
#include "XmlAttributes.h"

namespace {
// Owned, but raw on purpose: the catalogue goes through destroyInstance or with
// the application that lent it its resources, never in the static destruction
// at exit, when its sounds would call into a mixer that is already closed.
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

void SfxContainer::releaseBorrowedFrom(const GameApp* app) {
  if (g_sfxContainer && app && g_sfxContainer->lender_ == app) destroyInstance();
}

SfxContainer::SfxContainer() {
  if (GameApp* app = GameApp::instance()) {
    resources_ = app->addResourceManager(resourceIndex_);
    if (resources_) lender_ = app;
  }
  // Without an application (tools, tests) the catalogue keeps its own.
  if (!resources_) {
    ownResources_ = std::make_unique<ResourceManager>();
    resources_ = ownResources_.get();
  }
}

SfxContainer::~SfxContainer() {
  if (ownResources_) {
    ownResources_.reset();
  } else if (lender_) {
    lender_->removeResourceManager(resourceIndex_);
  }
  resources_ = nullptr;
  lender_ = nullptr;
  defaultPath_.clear();
}

void SfxContainer::load(const std::string& filePath) {
  const bge::XmlReader xml(filePath);
  TiXmlDocument doc;
  if (!xml.load(doc)) return;
  TiXmlElement* root = xml.root(doc, "SFX");
  if (!root) return;
  defaultPath_ = xml.readString(root, "defaultPath", defaultPath_);
  for (TiXmlElement* child = root->FirstChildElement(); child;
       child = child->NextSiblingElement()) {
    const std::string value = child->ValueStr();
    if (value == "Sound") {
      loadSound(xml, child);
    } else if (value == "RandomSound") {
      loadRandomSound(xml, child);
    }
  }
  loaded_ = true;
}

void SfxContainer::loadSound(const bge::XmlReader& xml, TiXmlElement* element) {
  const std::string name = xml.requireString(element, "name", "");
  const std::string path = xml.requireString(element, "path", "");
  if (!name.empty() && !path.empty()) {
    addVariant(name, defaultPath_ + path);
  } else {
    xml.warn(element, "a sound needs a name and a path; left out");
  }
}

void SfxContainer::loadRandomSound(const bge::XmlReader& xml, TiXmlElement* element) {
  const std::string name = xml.requireString(element, "name", "");
  if (name.empty()) {
    xml.warn(element, "a random sound needs a name; left out");
    return;
  }
  int counted = 0;
  for (TiXmlElement* sound = element->FirstChildElement("Sound"); sound;
       sound = sound->NextSiblingElement("Sound")) {
    const std::string path = xml.readString(sound, "path", "");
    if (path.empty()) continue;
    addVariant(name, defaultPath_ + path);
    ++counted;
  }
  if (counted == 0) xml.warn(element, "a random sound without any sound path");
}

void SfxContainer::addVariant(const std::string& name, const std::string& fullPath) {
  std::vector<std::string>& ids = variants_[name];
  const std::string id = name + "_" + std::to_string(ids.size());
  // Decoded on its first play (the catalogue's lookup loads it): most effects
  // belong to screens the player has not opened yet. A missing file is still
  // named now, when the content is read, not only once something plays it.
  struct stat st {};
  if (stat(fullPath.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
    std::printf("ERROR: sound file [%s] not found; %s stays silent\n", fullPath.c_str(), name.c_str());
  }
  DeferableResource::Scope lazily;
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

namespace {
SfxContainer::RequestHook g_requestHook = nullptr;
}  // namespace

void SfxContainer::setRequestHook(RequestHook hook) { g_requestHook = hook; }

void SfxContainer::playSound(const std::string& name, const bool& loop) {
  if (name.empty()) return;
  if (g_requestHook) g_requestHook(name);
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
