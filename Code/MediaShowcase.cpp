#include "MediaShowcase.h"

#include <string>

#include "Color.h"
#include "Font.h"
#include "GLTexture.h"
#include "GameApp.h"
#include "Graphics.h"
#include "ResourceManager.h"
#include "System/GameFonts.h"

namespace {

struct ShowcaseLine {
  const char* fontId;
  const char* text;
};

const ShowcaseLine kLines[] = {
    {"FONT_NOTOSANS16", "Sensors: 16 px - hull at 100%, shields nominal"},
    {"FONT_NOTOSANS20", "Comms: 20 px - incoming wave in 00:30"},
    {"FONT_NOTOSANS24", "Docking: 24 px - credits 1,250"},
    {"FONT_NOTOSANS46", "Starmoor Station"},
};

const char* kPicture = "content/images/menus/demo/button_normal.png";
const Color kPaleCyan(190, 240, 255, 255);

}  // namespace

void drawMediaShowcase(Graphics* graphics, ResourceManager* resources) {
  if (!graphics || !resources) return;
  int y = 24;
  for (const ShowcaseLine& line : kLines) {
    Font* font = findOrLoadFont(resources, line.fontId);
    if (!font) continue;
    font->drawText(graphics, 40, y, line.text, kPaleCyan);
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
