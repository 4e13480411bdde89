#pragma once
#include <memory>

#include "Menus/MenuScreen.h"
#include "animation/AnimationListener.h"

class AnimationPlayer;

// The help page over a level: the keys and mouse buttons of the battle. Any
// key or its close button closes it; the level below then runs on.
class GameHelpScreen : public MenuScreen, public AnimationPlayerListener {
 public:
  static constexpr const char* kLayoutFile = "content/images/menus/help/Screen.xml";
  static constexpr const char* kAnimFile = "content/images/menus/pause/anim/Anim-3.xml";
  static constexpr int kCloseButton = 0;

  GameHelpScreen();
  ~GameHelpScreen() override;

  void init() override;
  void drawBackground(Graphics* g) override;
  void onKeyEvent(const KeyEvent& event) override;
  void animationFinished(int id) override { (void)id; }

 protected:
  void onButtonClicked(int buttonId) override;

 private:
  std::unique_ptr<AnimationPlayer> animations_;
};
