#pragma once
#include "ScreenBase.h"

class PanelWidget;

// The first screen: fades in over the starfield, shows a few panels, and on
// Return, Space or Escape fades out to the docking screen.
class WelcomeScreen : public ScreenBase {
 public:
  static constexpr int kFadeMs = 500;
  static constexpr int kExitToDocked = 1;

  WelcomeScreen();

  void prepare() override {}
  void init() override;
  void onKeyEvent(const KeyEvent& event) override;
  void drawBackground(Graphics* g) override;
  void onExitTransitionDone(int exitCode) override;

 private:
  PanelWidget* prompt_ = nullptr;
};
