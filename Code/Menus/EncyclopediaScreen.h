#pragma once
#include <memory>
#include <vector>

#include "ScreenBase.h"
#include "animation/AnimationListener.h"
#include "tinyaction/ActionListener.h"
#include "widgets/ButtonListener.h"

class AnimationPlayer;
class TinyAction;

// The encyclopedia's hub over the level or mission control: opens the tower
// and the enemy pages.
class EncyclopediaScreen : public ScreenBase,
                           public bge::ButtonListener,
                           public bge::ActionListener,
                           public AnimationPlayerListener {
 public:
  enum ButtonId { kTowersButton = 0, kAliensButton = 1, kSpeakButton = 2, kCloseButton = 3 };
  static constexpr int kExitClose = 3;
  static constexpr int kGreetingTimer = 1;
  static constexpr int kGreetingMs = 512;
  static constexpr const char* kLayoutFile = "content/images/menus/encyclopedia/Screen.xml";

  EncyclopediaScreen();
  ~EncyclopediaScreen() override;

  void prepare() override {}
  void init() override;
  void updateScreen(int dt) override;
  void drawBackground(Graphics* g) override;
  void drawForeground(Graphics* g) override;
  void onKeyEvent(const KeyEvent& event) override;
  void onButtonEvent(int buttonId, int kind) override;
  void onExitTransitionDone(int exitCode) override;
  // While a page lies over the hub, the hub's title and buttons step back.
  void pause(GameApp* app) override;
  void resume(GameApp* app) override;
  void actionFinished(int tag) override;
  void animationFinished(int id) override { (void)id; }

 private:
  bool assistantOn() const;

  std::unique_ptr<TinyAction> timer_;
  std::unique_ptr<AnimationPlayer> animations_;
  std::vector<Widget*> controls_;          // not owned: the widget list frees them
};
