#pragma once
#include <vector>

#include "ScreenBase.h"
#include "System/GlobalEventManager.h"
#include "widgets/ButtonListener.h"
#include "widgets/CheckBoxListener.h"
#include "widgets/SliderListener.h"

class Texture;
namespace bge { class CheckBox; class Slider; }

// Told by the options screen once it has closed.
class OptionsMenuListener {
 public:
  virtual ~OptionsMenuListener() = default;
  virtual void optionsMenuClosed() = 0;
};

// The settings: music and sound volume, voice cues, window mode and two
// profile flags, with the way to the credits and to the resolution choice.
// Volumes and voice cues live in the save game's entries, the rest in the
// profile; leaving saves the game and rebuilds the window when its mode
// changed.
class OptionsScreen : public ScreenBase,
                      public bge::ButtonListener,
                      public bge::SliderListener,
                      public bge::CheckBoxListener,
                      public GlobalEventListener {
 public:
  enum CheckBoxId { kFullScreenBox = 0, kBattleAssistantBox = 1, kSpectrumBox = 2, kAllShotsBox = 3 };
  enum SliderId { kMusicSlider = 6, kSoundSlider = 7 };
  enum ButtonId { kCreditsButton = 0, kResolutionButton = 1, kBackButton = 2 };
  static constexpr int kExitBack = 2;
  static constexpr int kZoomMs = 200;
  static constexpr const char* kLayoutFile = "content/images/menus/options/Screen.xml";
  static constexpr const char* kBackgroundFile = "content/images/menus/main/BG.png";

  // The listener (not owned, may be null) hears optionsMenuClosed once the
  // screen has gone; it must outlive the screen.
  OptionsScreen(bool openedFromPause, OptionsMenuListener* listener);
  ~OptionsScreen() override;

  void prepare() override {}
  void init() override;
  // Covered by the credits or the resolution choice, the controls step back
  // (the panel stays as their frame); they return with the screen.
  void pause(GameApp* app) override;
  void resume(GameApp* app) override;
  void drawBackground(Graphics* g) override;
  void drawForeground(Graphics* g) override;
  // Escape leaves as the back button does, like every other settings screen.
  void onKeyEvent(const KeyEvent& event) override;
  void onExitTransitionDone(int exitCode) override;

  void onButtonEvent(int buttonId, int kind) override;
  void onSliderChanged(int id, float value) override;
  void onSliderReleased(int id, float value) override { onSliderChanged(id, value); }
  void onCheckBoxChanged(int id, bool checked) override;
  void onGlobalEvent(int32_t eventId, int32_t argument) override;

  // A slider's value as a stored percentage: clamped to 0..1, truncated.
  static int percentOf(float value);
  int musicVolume() const;
  int soundVolume() const;
  const std::vector<bge::CheckBox*>& checkBoxes() const { return checkBoxes_; }
  bge::CheckBox* findCheckBox(int id) const;
  bge::Slider* findSlider(int id) const;

 private:
  void readCheckBoxes();
  void setChecksActive(bool active);

  int32_t listenerId_ = -1;
  bool openedFromPause_;
  bool fullScreenChosen_ = false;  // the player changed the full-screen box this visit
  OptionsMenuListener* listener_;         // not owned
  std::vector<bge::CheckBox*> checkBoxes_;  // not owned: the widget list frees them
  std::vector<bge::Slider*> sliders_;       // not owned: the widget list frees them
  std::vector<Widget*> controls_;           // the whole layout; not owned: the widget list frees it
  Texture* background_ = nullptr;         // the resource catalogue keeps it
};
