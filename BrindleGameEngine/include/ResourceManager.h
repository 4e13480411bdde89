#pragma once
#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ReferenceCountable.h"

class Texture;
class Font;
class Music;
class Sound;

// Shared media: textures by file name, fonts, music and sounds by id. What is
// registered belongs to the catalogue, which deletes it on release. Every
// register call answers whether the catalogue now owns the object: when it
// answers false the caller still owns it.
class ResourceManager : public ReferenceCountable {
 public:
  enum UnloadFlags { Fonts = 1, Textures = 2, TexturesAndFonts = 3 };

  ResourceManager();
  virtual ~ResourceManager();
  ResourceManager(const ResourceManager&) = delete;
  ResourceManager& operator=(const ResourceManager&) = delete;

  // A new linear-filtered texture of the file; the caller registers it.
  virtual Texture* createTexture(const std::string& fileName);

  // A known name now maps to the new texture. The one it replaces is not
  // deleted (widgets may still draw it): it is handed back through replaced.
  bool registerTexture(const std::string& fileName, Texture* texture,
                       Texture** replaced = nullptr);
  // Appends; returns the texture's index.
  int addTexture(Texture* texture);
  Texture* findTexture(const std::string& fileName) const;
  // For names known to be registered; null otherwise.
  Texture* getTextureUnchecked(const std::string& fileName) const;

  // Deletes the font registered under the id before, if it is another object.
  bool registerFont(const std::string& id, Font* font);
  Font* findFont(const std::string& id) const;
  // Every registered font by id, for screens that pick one by its size.
  const std::map<std::string, Font*>& getFonts() const { return fonts_; }
  // Keeps music already registered under the id: then answers false.
  bool registerMusic(const std::string& id, Music* music);
  Music* findMusic(const std::string& id) const;
  // Deletes the sound registered under the id before, if it is another object.
  bool registerSound(const std::string& id, Sound* sound);
  Sound* findSound(const std::string& id) const;

  // Around a GL context loss; flags from UnloadFlags.
  void unloadAll(int flags);
  void reloadAll(int flags);
  // Deletes textures, fonts and, unless audio is closed, music and sounds.
  void releaseAll();

  int getTextureCount() const { return static_cast<int>(textures_.size()); }

  // Set once the mixer is closed: from then on music and sounds are left alone.
  static void setAudioClosed(bool closed);
  static bool isAudioClosed();

 private:
  // Each distinct object once, however many names or slots point at it.
  template <typename T>
  class Owned {
   public:
    void adopt(T* object) {
      if (object && find(object) == objects_.end()) objects_.emplace_back(object);
    }
    // Deletes the object when it is held.
    void destroy(const T* object) {
      auto it = find(object);
      if (it != objects_.end()) objects_.erase(it);
    }
    // Gives the object up without deleting it.
    void letGo(const T* object) {
      auto it = find(object);
      if (it == objects_.end()) return;
      it->release();
      objects_.erase(it);
    }
    void letGoAll() {
      for (std::unique_ptr<T>& object : objects_) object.release();
      objects_.clear();
    }

   private:
    typename std::vector<std::unique_ptr<T>>::iterator find(const T* object) {
      return std::find_if(objects_.begin(), objects_.end(),
                          [object](const std::unique_ptr<T>& held) { return held.get() == object; });
    }

    std::vector<std::unique_ptr<T>> objects_;
  };

  // The lookups own nothing: what they point at is held once in the Owned
  // beside them.
  std::vector<Texture*> textures_;  // every slot in order; a texture may fill several
  std::map<std::string, int> textureIndex_;
  std::map<std::string, Font*> fonts_;
  std::map<std::string, Music*> music_;
  std::map<std::string, Sound*> sounds_;
  Owned<Texture> ownedTextures_;
  Owned<Font> ownedFonts_;
  Owned<Music> ownedMusic_;
  Owned<Sound> ownedSounds_;
};
