#pragma once
#include <memory>
#include "GenericEntry.h"
#include "Menus/MenuScreen.h"
#include "animation/AnimationListener.h"
#include "tinyaction/ActionListener.h"

class AnimationPlayer;
class TinyAction;

// The overlay of a paused level: a tint over the frozen field, the heading and
// five choices (mission control, main menu, resume, restart, options), each
// confirmed by a voice cue while the battle assistant is on.
class GamePauseScreen : public MenuScreen, public bge::ActionListener, public AnimationPlayerListener {
 public:
  static constexpr const char* kLayoutFile = "content/images/menus/pause/Screen.xml";
  static constexpr const char* kAnimFile = "content/images/menus/pause/anim/Anim.xml";
  static constexpr const char* kAnimFile2 = "content/images/menus/pause/anim/Anim-2.xml";
  static constexpr int kCueDelayMs = 512;
  static constexpr int kCueAction = 1;
  enum ButtonId { kMissionControl = 1, kMainMenu = 2, kResume = 3, kRestart = 4, kOptions = 5 };

  GamePauseScreen();
  ~GamePauseScreen() override;

  void init() override;
  void updateScreen(int dt) override;
  void drawBackground(Graphics* g) override;
  void drawForeground(Graphics* g) override;
  void onKeyEvent(const KeyEvent& event) override;
  void actionFinished(int id) override;
  void animationFinished(int id) override { (void)id; }
  void onExitTransitionDone(int code) override;

  int escapeCount() const { return escapeCount_; }

 protected:
  void onButtonClicked(int buttonId) override;

 private:
  bool assistantOn() const { return battleAssistant_ && battleAssistant_->getValue() == 1; }
  void cue(const char* sound) const;

  int escapeCount_ = 0;
  GenericEntry<int>* battleAssistant_ = nullptr;  // not owned: the save game's entry
  std::unique_ptr<TinyAction> timer_;
  std::unique_ptr<AnimationPlayer> animations_;
};
