#pragma once
#include "ScreenBase.h"

// The second screen: zooms in from the centre and, on Return, Space or
// Escape, fades back to the welcome screen.
class DockedScreen : public ScreenBase {
 public:
  static constexpr int kZoomMs = 400;
  static constexpr int kFadeMs = 500;

  DockedScreen();

  void prepare() override {}
  void init() override;
  void onKeyEvent(const KeyEvent& event) override;
  void drawBackground(Graphics* g) override;
  void onExitTransitionDone(int exitCode) override;
};
