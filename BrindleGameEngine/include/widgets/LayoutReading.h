#pragma once
#include <string>

#include "Color.h"
#include "Rect5.h"

class ImageFilter;
class ResourceManager;
class Texture;
class TiXmlElement;

// Shared by the layout factories: attribute reads with defaults, and textures
// shared through a resource catalogue under their file name.
namespace layout {

int readInt(const TiXmlElement* element, const char* name, int defaultValue);
float readFloat(const TiXmlElement* element, const char* name, float defaultValue);
// "true"/"yes"/"1" and "false"/"no"/"0"; anything else keeps the default.
bool readBool(const TiXmlElement* element, const char* name, bool defaultValue);
std::string readString(const TiXmlElement* element, const char* name);
Color readColor(const TiXmlElement* element, const char* name, const Color& defaultValue);
Rect5 readRect(const TiXmlElement* element, const char* name);

// The catalogue's texture of the key, or a new one registered under it. A file
// that does not exist gives null and a message instead of ending the program.
Texture* findOrCreateTexture(ResourceManager* resources, const std::string& key,
                             int glFilter, ImageFilter* filter = nullptr);

// The text table's text for a key; the key itself when no application runs.
std::string lookupText(const std::string& key);

// The design area every screen is laid out in.
constexpr int kDesignWidth = 1366;
constexpr int kDesignHeight = 768;

}  // namespace layout

class Font;
namespace layout {
// The catalogue's font, else the application's global one (fonts are
// registered once at start-up); null when neither knows the id.
Font* findFont(ResourceManager* resources, const std::string& id);
}  // namespace layout
