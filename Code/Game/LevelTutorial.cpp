// The tutorial over the first mission: the overlay reports the slide the player
// clicked on, and the level acts as if the player had clicked the bridge or the
// field, then moves the tutorial on.
#include "Game/BridgeIds.h"
#include "Game/LevelScreen.h"
#include "GameApp.h"
#include "Game/LevelRoutes.h"
#include "SaveGame.h"
#include "PointingDeviceEvent.h"
#include "Profile/Profile.h"
#include "widgets/ButtonListener.h"

namespace {

constexpr const char* kProfileEntry = "PLAYER_PROFILE";
// The mission the level's tutorial is shown on.
constexpr int kTutorialMission = 0;

// The player's profile as the save game holds it.
Profile* currentProfile() {
  GameApp* app = GameApp::instance();
  SaveGame* save = app ? app->getSaveGame() : nullptr;
  return save && save->hasEntry(kProfileEntry) ? save->findEntryAs<Profile>(kProfileEntry) : nullptr;
}

}  // namespace

ScreenBase* LevelScreen::tutorial() {
  GameApp* app = GameApp::instance();
  if (tutorial_ && (!app || !app->isOnStack(tutorial_))) tutorial_ = nullptr;
  return tutorial_;
}

void LevelScreen::openTutorialIfDue() {
  if (missionId_ != kTutorialMission || tutorial()) return;
  const Profile* profile = currentProfile();
  if (!profile || profile->flag(CustomFlag::LevelTutorial) == 0) return;
  GameApp* app = GameApp::instance();
  if (!app) return;
  // The level stands still under the overlay: its bridge must be up before the
  // slides point at it and press its buttons.
  bridge_.finishBoot();
  tutorial_ = levelroutes::tutorialScreen(this);
  app->changeState(tutorial_);
}

void LevelScreen::onTutorialEvent(int eventId) {
  switch (eventId) {
    case kTutorialChooseTower:
      onButtonEvent(bridgeids::kTowerButtonBase, bge::ButtonListener::Released);
      levelroutes::nextTutorialSlide(tutorial());
      break;
    case kTutorialPressAtPointer: {
      PointingDeviceEvent press;
      if (GameApp* app = GameApp::instance()) {
        const Point2i p = app->getMousePosition();
        press.x = p.x;
        press.y = p.y;
      }
      press.kind = PointingDeviceEvent::Pressed;
      press.buttons = PointingDeviceEvent::Left;
      press.clicks = 1;
      // The slide asks for a tower: a click on a lane or a taken cell builds
      // nothing, and the slide stays until one stands.
      const int before = tally_.built();
      mousePressed(press);
      if (tally_.built() > before) levelroutes::nextTutorialSlide(tutorial());
      break;
    }
    case kTutorialEnded:
      tutorial_ = nullptr;
      if (Profile* profile = currentProfile())
        profile->setFlag(CustomFlag::LevelTutorial, 0);
      break;
    case kTutorialAdvance:
      levelroutes::nextTutorialSlide(tutorial());
      break;
    default: break;
  }
}
