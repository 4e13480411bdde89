#include "System/GameFonts.h"

#include "AngelFont.h"
#include "GLTexture.h"
#include "ResourceManager.h"
#include "widgets/LayoutReading.h"

Font* findOrLoadFont(ResourceManager* resources, const std::string& id) {
  if (Font* font = layout::findFont(resources, id)) return font;
  if (!resources) return nullptr;
  for (const GameFont& entry : kGameFonts) {
    if (id != entry.id) continue;
    Font* font = new AngelFont(entry.file, GLTexture::kLinear);
    if (!resources->registerFont(id, font)) {
      delete font;
      return nullptr;
    }
    return font;
  }
  return nullptr;
}

void loadGameFonts(ResourceManager* resources) {
  for (const GameFont& entry : kGameFonts) findOrLoadFont(resources, entry.id);
}
