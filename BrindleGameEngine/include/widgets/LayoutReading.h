#pragma once
#include <string>

#include "XmlAttributes.h"

class ImageFilter;
class ResourceManager;
class Texture;

// Shared by the layout factories: the attribute reader of a layout file, textures
// shared through a resource catalogue under their file name.
namespace layout {

// A reader for a layout element, named after the file its document was read
// from, so every message names the layout file.
bge::XmlReader readerFor(const TiXmlElement* element);
// Coordinates, sizes and angles beyond this are malformed: widgets turn them
// into whole pixels.
constexpr float kLargestValue = static_cast<float>(bge::XmlReader::kLargestRectValue);

// The catalogue's texture of the key, or a new one registered under it. A file
// that is missing or cannot be used gives null; the texture loader names it.
Texture* findOrCreateTexture(ResourceManager* resources, const std::string& key,
                             int glFilter, ImageFilter* filter = nullptr);

// The text table's text for a key; the key itself when no application runs.
std::string lookupText(const std::string& key);

}  // namespace layout

class Font;
namespace layout {
// The catalogue's font, else the application's global one (fonts are
// registered once at start-up); null when neither knows the id.
Font* findFont(ResourceManager* resources, const std::string& id);
}  // namespace layout
