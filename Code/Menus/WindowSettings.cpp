#include "Menus/WindowSettings.h"

#include "Menus/SaveEntries.h"
#include "MyApp.h"
#include "Profile/Profile.h"
#include "SDLGameApp.h"

bool wantsFullScreen(GameApp* app) {
  Profile* profile = findProfile(app);
  if (!profile || !profile->isFullscreen()) return false;
  MyApp* game = MyApp::instance();
  return !(game && game == app && game->isWindowed());
}

bool applyFullScreenSetting(GameApp* app) {
  auto* sdl = dynamic_cast<SDLGameApp*>(app);
  if (!sdl || !findProfile(app)) return false;
  const bool wanted = wantsFullScreen(app);
  if (wanted == sdl->isFullScreen()) return false;
  sdl->setDisplayMode(sdl->getScreenWidth(), sdl->getScreenHeight(), wanted);
  sdl->createWindow(0);
  return true;
}

bool windowIsFullScreen(GameApp* app) {
  auto* sdl = dynamic_cast<SDLGameApp*>(app);
  if (sdl) return sdl->isFullScreen();
  Profile* profile = findProfile(app);
  return profile && profile->isFullscreen();
}

void releaseForcedWindow(GameApp* app) {
  MyApp* game = MyApp::instance();
  if (game && game == app) game->setWindowed(false);
}
