// Which screen a level opens over itself and which follows it when it closes: the
// one place that links the level to the menus.
#include "Game/LevelRoutes.h"

#include "Menus/EncyclopediaScreen.h"
#include "Menus/GameHelpScreen.h"
#include "Menus/GamePauseScreen.h"
#include "Menus/MainMenu.h"
#include "Menus/MissionControl.h"
#include "Menus/PostLevelScreen.h"
#include "Menus/TutorialScreen.h"

namespace levelroutes {

ScreenBase* screenAfter(int exitCode) {
  switch (exitCode) {
    case kLevelToMainMenu: return new MainMenu(0);
    case kLevelToMissionControl: return new MissionControl(0);
    default: return nullptr;
  }
}

ScreenBase* pauseScreen() { return new GamePauseScreen(); }

ScreenBase* helpScreen() { return new GameHelpScreen(); }

ScreenBase* encyclopediaScreen() { return new EncyclopediaScreen(); }

ScreenBase* resultsScreen(const LevelStats& stats) { return new PostLevelScreen(stats); }

ScreenBase* tutorialScreen(TutorialEventListener* listener) {
  return new TutorialScreen(listener, TutorialScreen::kLevelLayout);
}

void nextTutorialSlide(ScreenBase* tutorial) {
  if (auto* slides = dynamic_cast<TutorialScreen*>(tutorial)) slides->nextSlide();
}

}  // namespace levelroutes
