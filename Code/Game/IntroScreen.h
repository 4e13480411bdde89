#pragma once
#include <memory>
#include <string>
#include <vector>

#include "Game/SceneEntityManager.h"
#include "PhysicsMath.h"
#include "ScreenBase.h"
#include "Timer.h"
#include "tinyaction/ActionListener.h"

class xPhysicsPrimitiveEntityDesc;
class TinyAction;

// The intro scene: a drifting star field over its music with a countdown.
// Enter leaves for mission control; Escape opens the pause screen, from which
// the player may quit to the main menu. One intro exists at a time.
class IntroScreen : public ScreenBase, public bge::ActionListener, public SceneEntityManager {
 public:
  static constexpr int kStarCount = 500;
  static constexpr int kMusicScene = 20;
  static constexpr int kCountdownFrom = 88;
  static constexpr int kExitMissionControl = 2000;
  static constexpr int kExitMainMenu = 1000;
  static constexpr int kResumePhysics = 2;
  static constexpr const char* kParticleFile = "content/config/Entities/primitive_particle.xml";
  static constexpr const char* kEscapePodFile = "content/config/Entities/escapepod.xml";

  // The screens the intro leads to are made by a maker that whoever opens the
  // intro installs (the front end, or a test watching where it goes). While
  // none is installed, Enter and Escape only print their key: the intro never
  // leaves the player without a screen.
  enum class Next { MainMenu, MissionControl, Pause };
  using ScreenMaker = GameState* (*)(Next next);
  static void setScreenMaker(ScreenMaker maker);

  explicit IntroScreen(const std::string& file);
  ~IntroScreen() override;

  // The intro on the screen stack, or null; the pause screen closes it
  // through this when no level exists.
  static IntroScreen* current();

  void prepare() override;
  void init() override;
  void onShown() override;
  void updateScreen(int dt) override;
  void drawBackground(Graphics* g) override;
  void drawForeground(Graphics* g) override;
  void onKeyEvent(const KeyEvent& event) override;
  void onExitTransitionDone(int exitCode) override;
  void actionFinished(int tag) override;

  // The number the countdown shows: it stops at zero.
  int countdown() const;
  const std::vector<QuillonPHX2D::Vec3>& stars() const { return stars_; }
  const std::string& file() const { return file_; }
  int phase() const { return phase_; }
  Timer& clock() { return clock_; }

 private:
  void makeStars();

  std::string file_;
  int phase_ = 1;
  Timer clock_;
  std::vector<QuillonPHX2D::Vec3> stars_;
  std::unique_ptr<xPhysicsPrimitiveEntityDesc> particle_;
  std::unique_ptr<xPhysicsPrimitiveEntityDesc> escapePod_;
  std::unique_ptr<TinyAction> action_;  // none in this phase
};
