#pragma once
// Where a level leads: the codes a level is closed with, and the screens it lays over
// itself or hands over to. The level names them here; which screen answers each is
// decided in one place beside the menus (Menus/LevelRoutes.cpp), so no level file
// includes a menu.
class LevelStats;
class ScreenBase;
class TutorialEventListener;

// The exit codes a level's closing fade carries to LevelScreen::onExitTransitionDone.
enum LevelExitCode {
  kLevelToMainMenu = 1000,        // the pause screen's way out to the title
  kLevelToMissionControl = 2000,  // back to the bridge, from the pause or the results screen
  kLevelRestart = 3000,           // the same mission again, as it was launched
};

namespace levelroutes {

// The screen that follows a level closed with the code; null for a restart (the
// level makes its successor itself) and for any other code.
ScreenBase* screenAfter(int exitCode);
// The overlays a level opens over itself; the application's stack owns each once pushed.
ScreenBase* pauseScreen();
ScreenBase* helpScreen();
ScreenBase* encyclopediaScreen();
ScreenBase* resultsScreen(const LevelStats& stats);
// The level tutorial, telling the listener (the level) which slide was clicked.
ScreenBase* tutorialScreen(TutorialEventListener* listener);
// Moves an open level tutorial to its next slide.
void nextTutorialSlide(ScreenBase* tutorial);

}  // namespace levelroutes
