#pragma once
#include "SDLGameApp.h"

class ConfigFile;

// Starmoor's application: reads its configuration, opens the window at the
// configured size and starts on the first screen.
class MyApp : public SDLGameApp {
 public:
  static constexpr int kDesignWidth = 1366;
  static constexpr int kDesignHeight = 768;

  MyApp();
  ~MyApp() override;

  void init() override;
  void enterFirstScreen() override;
  bool confirmQuit() override { return true; }  // a quit is never put to the player
  std::string getSaveIdentifier() const override { return "VTQA_PL762"; }
  // On the way out the player's options are written to the save file.
  void onQuit() override;

  void setWindowed(bool windowed) { windowed_ = windowed; }
  bool isWindowed() const { return windowed_; }
  const ConfigFile* gameParameters() const { return gameParameters_; }

 private:
  void computeScaleFactors();
  void openSaveGame();
  // The game's four fonts and the music banner, in the global catalogue.
  void loadGlobalResources();
  // Plays the configured logo screens; the last one hands over to enterFirstScreen.
  void startLogoSequence();

  bool windowed_ = false;
  ConfigFile* gameParameters_ = nullptr;
};
