#pragma once
// One hidden-window application for the settings and reference screens: the
// game's content folder, texts and shared textures, a save game in a private
// folder with the game's entries and a profile, a hand-driven clock, and the
// sounds the screens ask for.
#include <SDL.h>

#include <filesystem>
#include <string>
#include <vector>

#include "DisplayConfigurations.h"
#include "DynamicResources/SfxContainer.h"
#include "FileSaveGame.h"
#include "GenericEntry.h"
#include "KeyEvent.h"
#include "LabelManager.h"
#include "Profile/Profile.h"
#include "SDLGameApp.h"
#include "ScreenBase.h"
#include "System/CollisionSetup.h"
#include "System/ResourceLists.h"
#include "TestEnv.h"
#include "Timer.h"

namespace menutest {

inline uint64_t g_ticks = 1000;
inline uint64_t ticks() { return g_ticks; }
inline std::vector<std::string> g_sounds;
inline void recordSound(const std::string& name) { g_sounds.push_back(name); }

inline bool heard(const std::string& key) {
  for (const std::string& s : g_sounds)
    if (s == key) return true;
  return false;
}

class MenuApp : public SDLGameApp {
 public:
  MenuApp() {
    std::filesystem::current_path(STARMOOR_SOURCE_DIR);
    setTickSource(&ticks);
    initSDL();
    setDisplayMode(1366, 768, false);
    setScaleFactors(1.0f, 1.0f);
    createWindow(SDL_WINDOW_HIDDEN);
    setFrameLimit(false);
    gameMessages()->loadFromXml("content/strings/english.xml");
    registerGlobalResources(globalResourceManager());
    loadCollisionCategoriesFile("content/config/CollisionCategories.xml");
    loadMaterialsFile("content/config/Materials.xml");
    setDisplayConfigurations(new DisplayConfigurations(""));
    SfxContainer::setRequestHook(&recordSound);
    savePath = dirs.data() + "/menus.sav";
    openSave();
  }

  // A fresh save game object over the same file, as a restarted program opens it.
  void openSave() {
    auto* save = new FileSaveGame(savePath, this);
    save->addEntry("SOUND_VOLUME", new GenericEntry<int>(50, 50));
    save->addEntry("MUSIC_VOLUME", new GenericEntry<int>(50, 50));
    save->addEntry("BATTLE_ASSISTANT", new GenericEntry<int>(1, 1));
    profile = new Profile("Commander");
    save->addEntry("PLAYER_PROFILE", profile);
    setSaveGame(save);
    loadGame();
  }

  int intEntry(const char* key) const { return getSaveGame()->findEntryAs<GenericEntry<int>>(key)->getValue(); }

  // Frames of 16 ms for the given time.
  void run(int ms) {
    for (int t = 0; t < ms; t += 16) {
      g_ticks += 16;
      runFrame();
    }
  }

  // Pushes the screen and lets its fade-in end.
  template <typename S>
  S* open(S* screen) {
    changeState(screen);
    run(400);
    return screen;
  }

  // Pops every screen left by a test.
  void clear() {
    while (!states().empty()) popState();
    deleteQueuedStates();
  }

  // A press and release at a point of the design area, through SDL's queue as
  // the frame loop handles a player's click (the window is at scale 1).
  void click(int x, int y) {
    const Uint32 window = SDL_GetWindowID(this->window());
    for (Uint32 type : {SDL_MOUSEMOTION, SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP}) {
      SDL_Event e{};
      e.type = type;
      if (type == SDL_MOUSEMOTION) {
        e.motion.x = x;
        e.motion.y = y;
        e.motion.windowID = window;
      } else {
        e.button.x = x;
        e.button.y = y;
        e.button.button = SDL_BUTTON_LEFT;
        e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
        e.button.clicks = 1;
        e.button.windowID = window;
      }
      SDL_PushEvent(&e);
      run(16);
    }
  }

  void key(int code) {
    KeyEvent e;
    e.key = code;
    e.kind = KeyEvent::Pressed;
    if (GameState* top = topState()) top->onKeyEvent(e);
  }

  void afterRender(Graphics*) override {
    if (shotPath.empty()) return;
    saveScreenshot(shotPath);
    shotPath.clear();
  }

  std::string shotPath;
  testenv::TempUserDirs dirs;
  std::string savePath;
  Profile* profile = nullptr;  // owned by the save game
};

inline MenuApp& app() {
  static MenuApp a;
  return a;
}

}  // namespace menutest
