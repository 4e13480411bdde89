#include "MediaShowcase.h"

#include <string>

#include "AngelFont.h"
#include "Color.h"
#include "GLTexture.h"
#include "GameApp.h"
#include "Graphics.h"
#include "ResourceManager.h"

namespace {

struct ShowcaseFont {
  const char* id;
  const char* file;
  const char* line;
};

const ShowcaseFont kFonts[] = {
    {"FONT_NOTOSANS16", "content/fonts/NotoSans16.fnt", "Sensors: 16 px - hull at 100%, shields nominal"},
    {"FONT_NOTOSANS20", "content/fonts/NotoSans20.fnt", "Comms: 20 px - incoming wave in 00:30"},
    {"FONT_NOTOSANS24", "content/fonts/NotoSans24.fnt", "Docking: 24 px - credits 1,250"},
    {"FONT_NOTOSANS46", "content/fonts/NotoSans46.fnt", "Starmoor Station"},
};

const char* kPicture = "content/images/menus/demo/button_normal.png";
const Color kPaleCyan(190, 240, 255, 255);

Font* findOrLoadFont(const ShowcaseFont& entry, ResourceManager* resources) {
  GameApp* app = GameApp::instance();
  if (app && app->globalResourceManager()) {
    if (Font* global = app->globalResourceManager()->findFont(entry.id)) return global;
  }
  if (Font* own = resources->findFont(entry.id)) return own;
  Font* font = new AngelFont(entry.file, GLTexture::kLinear);
  if (!resources->registerFont(entry.id, font)) {
    delete font;
    return nullptr;
  }
  return font;
}

}  // namespace

void drawMediaShowcase(Graphics* graphics, ResourceManager* resources) {
  if (!graphics || !resources) return;
  int y = 24;
  for (const ShowcaseFont& entry : kFonts) {
    Font* font = findOrLoadFont(entry, resources);
    if (!font) continue;
    font->drawText(graphics, 40, y, entry.line, kPaleCyan);
    y += font->getLineHeight() + 4;
  }

  Texture* picture = resources->findTexture(kPicture);
  if (!picture) {
    picture = resources->createTexture(kPicture);
    resources->registerTexture(kPicture, picture);
  }
  // Turned about its own centre.
  const float cx = 1160.0f;
  const float cy = 640.0f;
  graphics->pushMatrix();
  graphics->translate(cx, cy);
  graphics->rotate(-15.0f, 0.0f, 0.0f, 1.0f);
  graphics->drawImage(-picture->getWidth() / 2, -picture->getHeight() / 2, picture, Color::white);
  graphics->popMatrix();
}
