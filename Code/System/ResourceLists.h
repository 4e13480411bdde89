#pragma once
#include <string>
#include <vector>

class ResourceManager;
class Texture;
class Font;

// The shared textures and fonts, registered under fixed keys: TEX_* and
// GLOBAL_* textures, FONT_* fonts. Each list also keeps what it made, for
// code that draws them directly.
struct ResourceEntry {
  const char* key;
  const char* file;
  bool font;
};

const std::vector<ResourceEntry>& globalResourceList();  // 4 fonts, 27 textures
const std::vector<ResourceEntry>& levelResourceList();   // 31 textures
const std::vector<ResourceEntry>& introResourceList();   // 1 texture

void registerGlobalResources(ResourceManager* resources);
void registerLevelResources(ResourceManager* resources);
void registerIntroResources(ResourceManager* resources);

// What the last registration of each list made, by key; null when the key is
// not in the list or the list was not registered yet.
Texture* globalTexture(const std::string& key);
Font* globalFont(const std::string& key);
Texture* levelTexture(const std::string& key);
Texture* introTexture(const std::string& key);
