#pragma once
#include <vector>

#include "ScreenBase.h"
#include "widgets/ButtonListener.h"

class DisplayMode;

// Picks the window resolution from the display modes the engine read at
// start. A mode button applies its size at once so the player sees it; "OK"
// stores the shown size in the profile and saves; Escape and the back button
// leave without storing (the applied size lasts until the program ends).
class ResolutionScreen : public ScreenBase, public bge::ButtonListener {
 public:
  static constexpr int kMaxModeButtons = 10;
  static constexpr int kBackButton = 10;
  static constexpr int kApplyButton = 200;
  static constexpr int kExitEscape = 1;
  static constexpr int kExitBack = 10;
  static constexpr const char* kLayoutFile = "content/images/menus/calibration/Screen.xml";

  ResolutionScreen();

  void prepare() override {}
  void init() override;
  // The title's own backdrop, whole: the screens beneath (the title's name, the
  // options' panel) showed through this one's panel.
  void drawBackground(Graphics* g) override;
  void drawForeground(Graphics* g) override;
  void onKeyEvent(const KeyEvent& event) override;
  void onButtonEvent(int buttonId, int kind) override;
  void onExitTransitionDone(int exitCode) override;

  // The index of the last mode of the list with the size, or -1.
  static int findMode(const std::vector<DisplayMode*>& modes, int width, int height);
  // Where the mode button of a list index stands, for a button of that size.
  static void modeButtonPlace(int index, int buttonWidth, int buttonHeight, int& x, int& y);

  // -1 while the window's size is not one of the modes: no row is chosen.
  int currentIndex() const { return idxCurrentResolution_; }
  // The size shown and stored by "OK": the chosen mode, else the window's size.
  void shownSize(int& width, int& height) const;
  void applyResolution();

 private:
  int idxCurrentResolution_ = -1;
  int openedWidth_ = 0;
  int openedHeight_ = 0;
};
