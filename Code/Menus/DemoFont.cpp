#include "Menus/DemoFont.h"

#include <SDL_opengl.h>

#include "AngelFont.h"
#include "GameApp.h"
#include "ResourceManager.h"

Font* demoFont(ResourceManager* screenResources) {
  static const char* kId = "FONT_NOTOSANS24";
  GameApp* app = GameApp::instance();
  if (app && app->globalResourceManager()) {
    if (Font* global = app->globalResourceManager()->findFont(kId)) return global;
  }
  if (!screenResources) return nullptr;
  if (Font* own = screenResources->findFont(kId)) return own;
  Font* font = new AngelFont("content/fonts/NotoSans24.fnt", GL_LINEAR);
  screenResources->registerFont(kId, font);
  return font;
}
