#include "ResourceManager.h"

#include "Font.h"
#include "GLTexture.h"
#include "Music.h"
#include "Sound.h"

namespace {

bool g_audioClosed = false;

template <typename T>
T* findIn(const std::map<std::string, T*>& map, const std::string& key) {
  auto it = map.find(key);
  return it == map.end() ? nullptr : it->second;
}

// Stores the object under the key, deleting another one it replaces, unless
// that other object is still registered under a further key.
template <typename T, typename Owner>
bool replaceOwned(std::map<std::string, T*>& map, Owner& owned, const std::string& key,
                  T* object) {
  if (!object) return false;
  auto it = map.find(key);
  if (it == map.end()) {
    map[key] = object;
    owned.adopt(object);
    return true;
  }
  T* old = it->second;
  if (old == object) return true;  // already ours: nothing to do
  it->second = object;
  owned.adopt(object);
  bool stillRegistered = false;
  for (const auto& entry : map) stillRegistered = stillRegistered || entry.second == old;
  if (!stillRegistered) owned.destroy(old);
  return true;
}

// Deletes every object once, in the order of the keys.
template <typename T, typename Owner>
void deleteValues(std::map<std::string, T*>& map, Owner& owned) {
  for (auto& entry : map) owned.destroy(entry.second);
  map.clear();
}

}  // namespace

ResourceManager::ResourceManager() = default;

ResourceManager::~ResourceManager() {
  releaseAll();
  // Music and sounds left while the mixer is closed are let go, never freed.
  if (g_audioClosed) {
    ownedMusic_.letGoAll();
    ownedSounds_.letGoAll();
  }
}

void ResourceManager::setAudioClosed(bool closed) { g_audioClosed = closed; }

bool ResourceManager::isAudioClosed() { return g_audioClosed; }

Texture* ResourceManager::createTexture(const std::string& fileName) {
  return new GLTexture(fileName, nullptr, GLTexture::KeepImage, GLTexture::kLinear);
}

bool ResourceManager::registerTexture(const std::string& fileName, Texture* texture,
                                      Texture** replaced) {
  if (replaced) *replaced = nullptr;
  if (!texture) return false;
  auto it = textureIndex_.find(fileName);
  if (it == textureIndex_.end()) {
    textureIndex_[fileName] = addTexture(texture);
    return true;
  }
  Texture* old = textures_[it->second];
  textures_[it->second] = texture;
  ownedTextures_.adopt(texture);
  // The old texture goes back to the caller unless another name still holds it.
  if (old != texture) {
    bool stillHeld = false;
    for (Texture* t : textures_) stillHeld = stillHeld || t == old;
    if (!stillHeld) {
      ownedTextures_.letGo(old);
      if (replaced) *replaced = old;
    }
  }
  return true;
}

int ResourceManager::addTexture(Texture* texture) {
  textures_.push_back(texture);
  ownedTextures_.adopt(texture);
  return static_cast<int>(textures_.size()) - 1;
}

// A resource registered before it loaded (deferred) loads on its first lookup, so
// whoever finds it can draw or play it at once.
Texture* ResourceManager::findTexture(const std::string& fileName) const {
  auto it = textureIndex_.find(fileName);
  Texture* texture = it == textureIndex_.end() ? nullptr : textures_[it->second];
  DeferableResource::ensureLoaded(texture);
  return texture;
}

Texture* ResourceManager::getTextureUnchecked(const std::string& fileName) const {
  return findTexture(fileName);
}

bool ResourceManager::registerFont(const std::string& id, Font* font) {
  return replaceOwned(fonts_, ownedFonts_, id, font);
}

Font* ResourceManager::findFont(const std::string& id) const {
  Font* font = findIn(fonts_, id);
  DeferableResource::ensureLoaded(font);
  return font;
}

bool ResourceManager::registerMusic(const std::string& id, Music* music) {
  if (!music) return false;
  auto it = music_.find(id);
  if (it != music_.end()) return it->second == music;  // the first music stays
  music_[id] = music;
  ownedMusic_.adopt(music);
  return true;
}

Music* ResourceManager::findMusic(const std::string& id) const { return findIn(music_, id); }

bool ResourceManager::registerSound(const std::string& id, Sound* sound) {
  return replaceOwned(sounds_, ownedSounds_, id, sound);
}

Sound* ResourceManager::findSound(const std::string& id) const {
  Sound* sound = findIn(sounds_, id);
  DeferableResource::ensureLoaded(sound);
  return sound;
}

void ResourceManager::unloadAll(int flags) {
  if (flags & Textures)
    for (Texture* t : textures_) t->unload();
  if (flags & Fonts)
    for (auto& entry : fonts_) entry.second->unloadPages();
}

void ResourceManager::reloadAll(int flags) {
  if (flags & Textures)
    for (Texture* t : textures_) t->reload();
  if (flags & Fonts)
    for (auto& entry : fonts_) entry.second->reloadPages();
}

void ResourceManager::releaseAll() {
  // Slot by slot, each texture once.
  for (Texture* t : textures_) ownedTextures_.destroy(t);
  textures_.clear();
  textureIndex_.clear();
  deleteValues(fonts_, ownedFonts_);
  // Once the mixer is closed, freeing chunks or music would call into it.
  if (!g_audioClosed) {
    deleteValues(music_, ownedMusic_);
    deleteValues(sounds_, ownedSounds_);
  }
}
