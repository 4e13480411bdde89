#pragma once
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "DynamicResources/SingletonContainer.h"

class TiXmlElement;
namespace bge {
class XmlReader;
}

class GameApp;
class ResourceManager;
class Sound;

// Sound effects by key (SFX_*), read from "content/config/sfx.xml". A key may
// stand for several variants ("<key>_0", "<key>_1", ...); each play picks one.
class SfxContainer : public SingletonContainer<SfxContainer> {
 public:
  // The one catalogue, created on the first call.
  static SfxContainer* instance();
  static void destroyInstance();
  // Called by an application as it goes: the catalogue that borrowed one of its
  // resource managers goes first, so the next application starts a fresh one
  // instead of filling a manager that no longer exists.
  static void releaseBorrowedFrom(const GameApp* app);

  ~SfxContainer();
  SfxContainer(const SfxContainer&) = delete;
  SfxContainer& operator=(const SfxContainer&) = delete;

  // Told every key a caller asks to play, before anything else decides whether
  // it sounds: lets tests and recorded runs see what the game asked for.
  using RequestHook = void (*)(const std::string& name);
  static void setRequestHook(RequestHook hook);

  void load(const std::string& filePath);
  // loop: endless repetition until the sound is stopped.
  void playSound(const std::string& name, const bool& loop = false);
  void playSoundOnChannel(const std::string& name, int channel);

  // The variant ids of a key in registration order; null for an unknown key.
  const std::vector<std::string>* findVariants(const std::string& name) const;
  Sound* findVariantSound(const std::string& variantId) const;
  const std::string& getDefaultPath() const { return defaultPath_; }
  bool isLoaded() const { return loaded_; }
  ResourceManager* getResourceManager() const { return resources_; }

 private:
  SfxContainer();
  void loadSound(const bge::XmlReader& xml, TiXmlElement* element);
  void loadRandomSound(const bge::XmlReader& xml, TiXmlElement* element);
  void addVariant(const std::string& name, const std::string& fullPath);
  // A random variant's sound, seeding the generator first; null when none.
  Sound* pickVariant(const std::string& name) const;

  // The catalogue in use, not owned here: ownResources_, or the one lender_ lent.
  ResourceManager* resources_ = nullptr;
  GameApp* lender_ = nullptr;  // not owned; the application that lent resources_
  int resourceIndex_ = -1;
  std::unique_ptr<ResourceManager> ownResources_;  // without an application only
  std::map<std::string, std::vector<std::string>> variants_;
  std::string defaultPath_;
  bool loaded_ = false;
};
