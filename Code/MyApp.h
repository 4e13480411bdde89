#pragma once
#include <SDL.h>

#include <memory>
#include <string>

#include "DisplayConfigurations.h"
#include "Profile/ProfileLock.h"
#include "SDLGameApp.h"
#include "System/GlobalEventManager.h"
#include "System/NoticeBoard.h"

class ConfigFile;
class CStatsAndAchievements;
class CSteamLeaderboards;
class Profile;
namespace store { class StoreClient; }

// Starmoor's application: reads its configuration files, starts the store
// client when there is one, opens the save game with the player profile,
// fills the content catalogues and the physics tables, loads the campaign and
// shows the first screen.
class MyApp : public SDLGameApp, public GlobalEventManager {
 public:
  // Size used when the desktop lists no display modes at all.
  static constexpr int kNoModesWidth = 1024;
  static constexpr int kNoModesHeight = 768;

  MyApp();
  ~MyApp() override;

  // The one application; null before it is constructed and after it is gone.
  static MyApp* instance();
  // The settings every save game holds beside the profile: sound and music volume
  // and the battle assistant's voice.
  static void addSettingEntries(SaveGame* save);

  void init() override;
  void enterFirstScreen() override;
  bool confirmQuit() override { return true; }  // a quit is never put to the player
  bool saveGame() override;
  bool loadGame() override;
  // The quit hook: saves, then writes the registry value.
  void onQuit() override { writeCheckValue(); }
  void writeCheckValue();
  std::string getSaveIdentifier() const override { return "VTQA_PL762"; }
  void onResume() override;
  void onPause() override;
  // The engine's per-frame hook: store answers, then a pending maximise.
  void onFrame(int dt) override;
  void onWindowMaximized(uint32_t windowId) override;
  // Shown over every screen by the notice board.
  void tellPlayer(const std::string& text) override { notices_.post(text); }
  const NoticeBoard& notices() const { return notices_; }
  // The engine's window-mode hook (also called after every window creation).
  bool changeWindowMode(int width, int height, bool fullScreen) override {
    return toggleFullscreen(width, height, fullScreen);
  }
  bool toggleFullscreen(int width, int height, bool fullscreen);

  // A fallback screen size from the desktop's display modes.
  DisplayMode chooseDefaultResolution() const;
  // The same choice over any list (last to first printed, as the game logs it).
  static DisplayMode pickDefaultResolution(const std::vector<DisplayMode*>& modes, int configWidth,
                                           int configHeight);
  void reportStationMapWon(int missionId);

  void setWindowed(bool windowed) { windowed_ = windowed; }
  bool isWindowed() const { return windowed_; }
  const ConfigFile* gameParameters() const { return gameParameters_.get(); }
  Profile* profile() const { return profile_; }
  // The pointer SDL showed at start-up, for screens that do not draw their own.
  SDL_Cursor* systemCursor() const { return systemCursor_; }
  store::StoreClient* storeClient() const { return store_.get(); }
  // The folder of the save file and the profile's side files.
  std::string saveFolder() const;

 private:
  // Takes the profile folder for this copy of the game; false when another copy has it.
  bool lockProfile();
  void startStore();
  void openSaveGame();
  void computeScaleFactors();
  void startLogoSequence();
  void loadCollisionCategories(const std::string& path);
  void loadMaterials(const std::string& path);
  void restoreVolumes();
  void afterRenderStates(Graphics* graphics) override;

  SDL_Cursor* systemCursor_ = nullptr;
  bool maximizeRequested_ = false;
  std::unique_ptr<ConfigFile> gameParameters_;
  Profile* profile_ = nullptr;  // not owned: an entry of the save game
  bool windowed_ = false;
  std::unique_ptr<store::StoreClient> store_;
  // g_statsAndAchievements and g_leaderboards point at these while the store runs.
  std::unique_ptr<CStatsAndAchievements> stats_;
  std::unique_ptr<CSteamLeaderboards> leaderboards_;
  ProfileLock profileLock_;
  NoticeBoard notices_;
  bool saving_ = true;  // false while another copy of the game owns the profile
};
