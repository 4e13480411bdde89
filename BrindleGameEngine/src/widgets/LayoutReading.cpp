#include "widgets/LayoutReading.h"

#include <tinyxml.h>

#include <cmath>
#include <cstdio>
#include <cstring>

#include "GLTexture.h"
#include "GameApp.h"
#include "LabelManager.h"
#include "LayoutValues.h"
#include "ResourceManager.h"

namespace layout {

int readInt(const TiXmlElement* element, const char* name, int defaultValue) {
  int value = defaultValue;
  if (element && element->QueryIntAttribute(name, &value) != TIXML_SUCCESS) value = defaultValue;
  return value;
}

float readFloat(const TiXmlElement* element, const char* name, float defaultValue) {
  float value = defaultValue;
  if (element && element->QueryFloatAttribute(name, &value) != TIXML_SUCCESS) value = defaultValue;
  // "nan", "inf" and values no screen has read as numbers; they would reach drawing.
  if (element && (!std::isfinite(value) || std::fabs(value) > kLargestLayoutValue)) {
    std::printf("WARNING: layout element <%s>: %s=\"%s\" is out of range; %g used\n",
                element->Value(), name, element->Attribute(name), static_cast<double>(defaultValue));
    value = defaultValue;
  }
  return value;
}

bool readBool(const TiXmlElement* element, const char* name, bool defaultValue) {
  const char* text = element ? element->Attribute(name) : nullptr;
  if (!text) return defaultValue;
  if (!std::strcmp(text, "true") || !std::strcmp(text, "yes") || !std::strcmp(text, "1")) return true;
  if (!std::strcmp(text, "false") || !std::strcmp(text, "no") || !std::strcmp(text, "0")) return false;
  return defaultValue;
}

std::string readString(const TiXmlElement* element, const char* name) {
  const char* text = element ? element->Attribute(name) : nullptr;
  return text ? std::string(text) : std::string();
}

Color readColor(const TiXmlElement* element, const char* name, const Color& defaultValue) {
  const char* text = element ? element->Attribute(name) : nullptr;
  return text ? parseColor(text) : defaultValue;
}

Rect5 readRect(const TiXmlElement* element, const char* name) {
  const char* text = element ? element->Attribute(name) : nullptr;
  return text ? parseRect(text) : Rect5();
}

Texture* findOrCreateTexture(ResourceManager* resources, const std::string& key, int glFilter,
                             ImageFilter* filter) {
  if (!resources || key.empty()) return nullptr;
  if (Texture* texture = resources->findTexture(key)) return texture;
  std::FILE* file = std::fopen(key.c_str(), "rb");
  if (!file) {
    std::printf("ERROR: layout image [%s] not found\n", key.c_str());
    return nullptr;
  }
  std::fclose(file);
  Texture* texture = new GLTexture(key, filter, GLTexture::KeepImage, glFilter);
  resources->registerTexture(key, texture);
  return texture;
}

std::string lookupText(const std::string& key) {
  GameApp* app = GameApp::instance();
  LabelManager* table = app ? app->gameMessages() : nullptr;
  return table ? table->getLabel(key) : key;
}

}  // namespace layout

namespace layout {

Font* findFont(ResourceManager* resources, const std::string& id) {
  if (id.empty()) return nullptr;
  if (resources) {
    if (Font* font = resources->findFont(id)) return font;
  }
  GameApp* app = GameApp::instance();
  ResourceManager* global = app ? app->globalResourceManager() : nullptr;
  return global && global != resources ? global->findFont(id) : nullptr;
}

}  // namespace layout
