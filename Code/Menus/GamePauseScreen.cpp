#include "Menus/GamePauseScreen.h"

#include <SDL.h>

#include "DesignSize.h"
#include "DynamicResources/SfxContainer.h"
#include "Font.h"
#include "Game/IntroScreen.h"
#include "Game/LevelRoutes.h"
#include "Game/LevelScreen.h"
#include "GameApp.h"
#include "Graphics.h"
#include "KeyEvent.h"
#include "LabelManager.h"
#include "Menus/OptionsScreen.h"
#include "SaveGame.h"
#include "System/GameFonts.h"
#include "animation/AnimationPlayer.h"
#include "sdk/QuillonPhysicsSDK.h"
#include "tinyaction/TinyActions.h"
#include "Menus/MenuPalette.h"

namespace {

// The frozen level is covered: dimmed only, its texts (a wave's banner) read
// through the buttons.
const Color kTint = palette::veil(palette::kCoveringAlpha);
// Where the two ring animations stand, either side of the buttons.
constexpr int kLeftRingX = 683 - 128 - 200;
constexpr int kRightRingX = 683 + 128 + 40;
constexpr int kRingY = 360;

}  // namespace

GamePauseScreen::GamePauseScreen() : MenuScreen("GamePauseScreen") {
  GameApp* app = GameApp::instance();
  if (app && app->getSaveGame())
    battleAssistant_ = app->getSaveGame()->findEntryAs<GenericEntry<int>>("BATTLE_ASSISTANT");
}

GamePauseScreen::~GamePauseScreen() = default;

void GamePauseScreen::init() {
  SfxContainer::instance()->playSound("SFX_SHIELD_UP");
  animations_.reset(new AnimationPlayer(this));
  if (animations_->loadAnimation(0, kAnimFile)) animations_->play(0, 1.0f, kLeftRingX, kRingY, this);
  if (animations_->loadAnimation(1, kAnimFile2)) animations_->play(1, 1.0f, kRightRingX, kRingY, this);
  loadLayout(kLayoutFile);
  auto* wait = new TinyActionSequence(false);
  wait->addAction(new TinyActionDelay(TinyTimer(kCueDelayMs)));
  timer_.reset(wait);
  timer_->start(this, kCueAction);
}

void GamePauseScreen::updateScreen(int dt) {
  if (timer_ && timer_->isRunning()) timer_->update(dt);
}

void GamePauseScreen::drawBackground(Graphics* g) { g->fillRect(0, 0, bge::kDesignWidth, bge::kDesignHeight, kTint); }

void GamePauseScreen::drawForeground(Graphics* g) {
  Font* font = findOrLoadFont(getResourceManager(), "FONT_NOTOSANS46");
  LabelManager* labels = app_ ? app_->gameMessages() : nullptr;
  if (!font || !labels) return;
  font->drawTextAligned(g, Rect5(0, 208, bge::kDesignWidth, 32), labels->getLabel("CONTROL"), Color(255, 255, 255, 255),
                        2, 2, false);
}

void GamePauseScreen::actionFinished(int id) {
  if (id == kCueAction) cue("SFX_LEVEL_PAUSED");
}

void GamePauseScreen::cue(const char* sound) const {
  if (assistantOn()) SfxContainer::instance()->playSound(sound);
}

void GamePauseScreen::onKeyEvent(const KeyEvent& event) {
  MenuScreen::onKeyEvent(event);
  if (event.kind != KeyEvent::Pressed || event.key != SDLK_ESCAPE || getPhase() == PhaseExiting) return;
  cue("SFX_VO_YES");
  leave(kResume);
  ++escapeCount_;
}

void GamePauseScreen::onButtonClicked(int buttonId) {
  switch (buttonId) {
    case kMissionControl: cue("SFX_VO_YES_SIR"); leave(kMissionControl); break;
    case kMainMenu: cue("SFX_VO_ROGER"); leave(kMainMenu); break;
    case kResume: cue("SFX_VO_YES"); leave(kResume); break;
    case kRestart: cue("SFX_VO_MISSED_OPPORTUNITY"); leave(kRestart); break;
    case kOptions:
      cue("SFX_VO_YES");
      // Over this screen, which stays open beneath it; nothing needs telling when it closes.
      if (app_) app_->changeState(new OptionsScreen(true, nullptr));
      break;
    default: break;
  }
}

void GamePauseScreen::onExitTransitionDone(int code) {
  GameApp* app = app_ ? app_ : GameApp::instance();
  if (!app) return;
  app->finishState(this);
  // This screen is gone from here on; the level is reached through its global.
  LevelScreen* level = LevelScreen::current();
  if (code == kResume) {
    // The level's clocks run on as the level itself resumes: only if they ran
    // when it was covered (between waves they stand still and stay so).
    if (QuillonPHX2D::g_ptrSDK) QuillonPHX2D::g_ptrSDK->unpauseSimulation();
    return;
  }
  int levelExit = 0;
  if (code == kMissionControl) levelExit = kLevelToMissionControl;
  else if (code == kMainMenu) levelExit = kLevelToMainMenu;
  else if (code == kRestart) levelExit = kLevelRestart;
  if (levelExit == 0) return;
  if (!level) {
    // Paused from the intro scene: only the way to the main menu leads anywhere.
    IntroScreen* intro = IntroScreen::current();
    if (code == kMainMenu && intro) intro->close(IntroScreen::kExitMainMenu, true);
    return;
  }
  level->close(levelExit, true);
  // Uncovering the level let its world run again; a level on its way out stays still.
  if (QuillonPHX2D::g_ptrSDK) QuillonPHX2D::g_ptrSDK->pauseSimulation();
}
