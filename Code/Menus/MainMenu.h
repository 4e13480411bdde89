#pragma once
#include <memory>
#include <vector>

#include "Menus/MenuScreen.h"
#include "Menus/OptionsScreen.h"
#include "Menus/StarfieldBackdrop.h"
#include "tinyaction/ActionListener.h"

class DFTSpectralAnalayzerWidget;
class Profile;
class Texture;
class TinyAction;

// The title screen: the star band over the background picture, the menu music
// with its announcement, the optional spectrum, five buttons, the version and
// the bundle message.
class MainMenu : public MenuScreen, public bge::ActionListener, public OptionsMenuListener {
 public:
  static constexpr const char* kLayoutFile = "content/images/menus/main/Screen.xml";
  static constexpr const char* kBackgroundFile = "content/images/menus/main/BG.png";
  static constexpr const char* kMusicId = "MAIN_MUSIC";
  static constexpr int kMusicScene = 9999;
  static constexpr int kFlyByTag = 9966;
  static constexpr int kFirstFlyByMs = 10000;
  static constexpr int kFlyByMs = 8000;
  static constexpr int kFlyBySpreadMs = 7000;
  static constexpr const char* kVersion = "v1.015";
  static constexpr const char* kBundleMessage = "Kelvaro Bundle is LIVE!\nGet Kelvaro 30% OFF anytime!!!";
  static constexpr const char* kStorePage = "https://store.example.invalid/bundle/kelvaro";
  // Layout images with this id are switched off with the buttons under the options.
  static constexpr int kOverlayImageId = 2;
  enum ButtonId { kNewGame = 0, kContinue = 1, kOptions = 2, kQuit = 3, kStorePageButton = 4 };
  enum ExitCode { kToIntro = 0, kToMissionControl = 1 };

  // keepMusic: non-zero leaves a stopped menu music stopped. The profile (not
  // owned) is the application's when none is given.
  explicit MainMenu(int keepMusic = 0, Profile* profile = nullptr);
  ~MainMenu() override;

  void prepare() override;
  void init() override;
  void updateScreen(int dt) override;
  void drawBackground(Graphics* g) override;
  void drawForeground(Graphics* g) override;
  void onShown() override;
  // Under the options or the progress question the buttons and the spectrum step
  // back, so nothing of the menu shows through the panel laid over it.
  void pause(GameApp* app) override;
  void resume(GameApp* app) override;
  void onExitTransitionDone(int code) override;
  void actionFinished(int tag) override;
  // The options screen is gone: buttons and layout images back on, the
  // spectrum follows the profile's setting.
  void optionsMenuClosed() override;

  DFTSpectralAnalayzerWidget* spectrum() const { return spectrum_; }
  const MenuStarfield& starfield() const { return stars_; }
  TinyAction* flyBy() const { return flyBy_.get(); }

 protected:
  void onButtonClicked(int buttonId) override;
  GameState* makeNextScreen(int code) override;

 private:
  void startMusic();
  void hideContinueWithoutProgress();
  void startFlyBy(int delayMs);
  void setControlsEnabled(bool on);
  void setMenuOverlay(bool on);
  void addSpectrum(int y);
  void followSpectrumSetting();

  int keepMusic_;
  Profile* profile_;  // not owned; may be null
  MenuStarfield stars_;
  DFTSpectralAnalayzerWidget* spectrum_ = nullptr;  // not owned: the screen's widget
  Texture* background_ = nullptr;                   // not owned: the global catalogue keeps it
  std::unique_ptr<TinyAction> flyBy_;
  std::unique_ptr<TinyAction> retiredFlyBy_;  // finished, deleted on the next update
  bool firstFrameLogged_ = false;
};
