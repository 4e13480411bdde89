// The question before a new game over existing progress: "no" keeps the
// profile and returns to the menu; "yes" resets and saves it, then sends the
// menu on. And the progress the results screen writes: a win, never a loss.
#include <gtest/gtest.h>

#include "MenuApp.h"
#include "Menus/GameProgressDialog.h"
#include "Menus/PostLevelScreen.h"
#include "widgets/Dialog.h"

using menutest::app;

namespace {

// Stands in for the main menu beneath the dialog.
class ParentScreen : public ScreenBase {
 public:
  ParentScreen() : ScreenBase("") {}
  void prepare() override {}
  void init() override {}
  void onExitTransitionDone(int code) override { closedWith = code; }
  int closedWith = -1;
};

bge::Dialog* dialogOf(ScreenBase* screen) {
  for (Widget* w : screen->getWidgets())
    if (auto* d = dynamic_cast<bge::Dialog*>(w)) return d;
  return nullptr;
}

// Opens the dialog over the parent and answers with the button.
void answer(ParentScreen* parent, int button) {
  app().open(parent);
  auto* dialog = app().open(new GameProgressDialog(parent));
  app().run(600);  // the dialog's opening animation
  bge::Dialog* box = dialogOf(dialog);
  ASSERT_NE(box, nullptr);
  ASSERT_TRUE(box->isOpen());
  box->onButtonEvent(button, bge::ButtonListener::Released);
  app().run(1200);
}

void giveProgress() {
  app().profile->setHasProgress(true);
  app().profile->setMissionWon(0);
  app().profile->unlockMission(1);
  app().saveGame();
}

TEST(GameProgressDialog, NoKeepsTheProgressAndReturnsToTheMenu) {
  app().clear();
  giveProgress();
  auto* parent = new ParentScreen();
  answer(parent, GameProgressDialog::kNoButton);
  ASSERT_EQ(app().states().size(), 1u);
  EXPECT_EQ(app().topState(), parent);
  EXPECT_EQ(parent->closedWith, -1);
  app().openSave();
  EXPECT_TRUE(app().profile->hasProgress());
  EXPECT_TRUE(app().profile->isMissionWon(0));
  app().clear();
}

TEST(GameProgressDialog, YesResetsAndSavesThenSendsTheMenuOn) {
  app().clear();
  giveProgress();
  auto* parent = new ParentScreen();
  answer(parent, GameProgressDialog::kYesButton);
  EXPECT_EQ(parent->closedWith, 1);
  app().openSave();
  EXPECT_FALSE(app().profile->hasProgress());
  EXPECT_FALSE(app().profile->isMissionWon(0));
  EXPECT_FALSE(app().profile->isMissionUnlocked(1));
  app().clear();
}

TEST(PostLevelScreen, OnlyAWonMissionIsRecordedAndSaved) {
  app().clear();
  LevelStats run;
  run.missionId = 2;
  run.gameMode = 0;
  run.difficulty = 1;
  run.lives = 0;
  run.victory = false;
  PostLevelScreen(run).recordVictory();
  app().openSave();
  EXPECT_FALSE(app().profile->hasBadge(2, 0, 1)) << "a lost mission earns nothing";
  run.lives = 4;
  run.victory = true;
  PostLevelScreen(run).recordVictory();
  app().openSave();
  EXPECT_TRUE(app().profile->hasBadge(2, 0, 1)) << "a won one is saved";
}

}  // namespace
