#include "widgets/LayoutReading.h"

#include <tinyxml.h>

#include <cmath>
#include <memory>

#include "GLTexture.h"
#include "GameApp.h"
#include "LabelManager.h"
#include "ResourceManager.h"

namespace layout {

bge::XmlReader readerFor(const TiXmlElement* element) {
  return bge::XmlReader::forDocumentOf(element, "layout");
}

Texture* findOrCreateTexture(ResourceManager* resources, const std::string& key, int glFilter,
                             ImageFilter* filter) {
  if (!resources || key.empty()) return nullptr;
  if (Texture* texture = resources->findTexture(key)) return texture;
  auto texture = std::make_unique<GLTexture>(key, filter, GLTexture::KeepImage, glFilter);
  // The texture named what is wrong with the file; a widget goes without it.
  if (!texture->isLoaded()) return nullptr;
  // The catalogue owns it from here on.
  GLTexture* registered = texture.release();
  resources->registerTexture(key, registered);
  return registered;
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
