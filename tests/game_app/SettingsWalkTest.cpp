// The settings and the progress question played through the real program as a
// player would (X input and the game's F8 screenshots): a music volume set in the
// options and found again after a restart, a resolution tried and abandoned with
// Escape, and a new game over progress answered "no" and then "yes". What the
// program stored is read back through the game's own save classes.
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "FileSaveGame.h"
#include "GameApp.h"
#include "GenericEntry.h"
#include "MyApp.h"
#include "ProgramPlayer.h"
#include "Profile/Profile.h"
#include "TestEnv.h"

#ifdef STARMOOR_EXE
namespace {

using namespace playtest;

// The program's save, opened as the program opens it.
class GameSave {
 public:
  explicit GameSave(const std::string& folder) : save_(folder + "/Starmoor.sav", &app_) {
    MyApp::addSettingEntries(&save_);
    profile_ = new Profile("Commander");
    save_.addEntry("PLAYER_PROFILE", profile_);
  }
  bool load() { return save_.load(); }
  bool save() { return save_.save(); }
  int entry(const char* key) const {
    const auto* e = save_.findEntryAs<GenericEntry<int>>(key);
    return e ? e->getValue() : -1;
  }
  Profile& profile() { return *profile_; }

 private:
  class Identity : public GameApp {
   public:
    std::string getSaveIdentifier() const override { return "VTQA_PL762"; }
  };
  Identity app_;
  FileSaveGame save_;
  Profile* profile_;  // owned by the save
};

// The options: the volume figures in their orange beside the sliders.
bool optionsShown(const Shot& s) {
  return s.count(540, 367, 101, 23, orange) > 40 && s.count(540, 457, 101, 23, orange) > 40;
}
// Where the music slider's thumb stands, as a share of its travel: the track is
// filled in cyan up to the thumb, whose bright middle ends a few pixels past its
// centre; the empty track beyond is dark.
double musicThumb(const Shot& s) {
  constexpr int kTrackX = 389, kMiddleY = 410, kHalfThumb = 14, kTravel = 224, kCentreToEdge = 4;
  int last = -1;
  for (int x = kTrackX + 4; x < kTrackX + kTravel + kHalfThumb; ++x)
    if (s.count(x, kMiddleY, 1, 5, cyan) >= 3) last = x;
  return last < 0 ? -1.0 : static_cast<double>(last - kTrackX - kHalfThumb - kCentreToEdge) / kTravel;
}
// The resolution screen: its panel and the one mode button of the X server.
bool resolutionShown(const Shot& s) { return s.count(363, 225, 256, 56, cyan) > 300 && !optionsShown(s); }
// The progress question over the darkened menu: its two buttons.
bool progressAsked(const Shot& s) {
  return s.count(427, 460, 240, 52, cyan) > 200 && s.count(699, 460, 240, 52, cyan) > 200 && !mainMenu(s);
}

constexpr int kOptionsResolution[2] = {683, 665};
constexpr int kOptionsBack[2] = {913, 665};
constexpr int kProgressYes[2] = {547, 486};
constexpr int kProgressNo[2] = {819, 486};
// The first mode button of the resolution screen.
constexpr int kFirstMode[2] = {491, 253};

class SettingsWalk : public WalkTest {
 protected:
  // Leaves the main menu through its quit button and waits for the program to end.
  static void quit(Player& p) {
    const int status = quitFromMenu(p);
    EXPECT_TRUE(status != -1 && WIFEXITED(status)) << p.output();
  }
  static bool notMainMenu(const Shot& s) { return !mainMenu(s); }
};

TEST_F(SettingsWalk, MusicVolumeSetInTheOptionsIsThereAfterARestart) {
  {
    Player p(dirs_.root(), "first");
    ASSERT_TRUE(p.start());
    ASSERT_TRUE(passLogos(p)) << p.lastShot();
    ASSERT_TRUE(clickUntil(p, kOptionsButton[0], kOptionsButton[1], 30, optionsShown)) << p.lastShot();
    EXPECT_NEAR(musicThumb(p.shot()), 0.5, 0.05) << p.lastShot();
    // A press on the track puts the thumb's middle under the pointer: a quarter.
    ASSERT_TRUE(clickUntil(p, 389 + 14 + 56, 412, 20, [](const Shot& s) { return musicThumb(s) < 0.35; }))
        << p.lastShot();
    ASSERT_TRUE(clickUntil(p, kOptionsBack[0], kOptionsBack[1], 30, mainMenu)) << p.lastShot();
    quit(p);
  }
  GameSave stored(folder());
  ASSERT_TRUE(stored.load());
  EXPECT_EQ(stored.entry("MUSIC_VOLUME"), 25);
  EXPECT_EQ(stored.entry("SOUND_VOLUME"), 50);

  Player p(dirs_.root(), "second");
  ASSERT_TRUE(p.start());
  ASSERT_TRUE(passLogos(p)) << p.lastShot();
  ASSERT_TRUE(clickUntil(p, kOptionsButton[0], kOptionsButton[1], 30, optionsShown)) << p.lastShot();
  EXPECT_NEAR(musicThumb(p.shot()), 0.25, 0.05) << p.lastShot();
  ASSERT_TRUE(clickUntil(p, kOptionsBack[0], kOptionsBack[1], 30, mainMenu)) << p.lastShot();
  quit(p);
  GameSave again(folder());
  ASSERT_TRUE(again.load());
  EXPECT_EQ(again.entry("MUSIC_VOLUME"), 25);
}

TEST_F(SettingsWalk, AResolutionLeftWithEscapeIsNotKept) {
  // The player's stored size is one the X server does not list: its only mode is
  // the screen's own 1366 x 768.
  {
    GameSave seed(folder());
    seed.profile().setScreenSize(1280, 720);
    ASSERT_TRUE(seed.save());
  }
  // The X server's window takes the size within a few of the game's frames.
  auto windowIs = [](Player& p, int width, int height) {
    return p.repeat(5, [&] {
      int w = 0, h = 0;
      p.windowSize(w, h);
      if (w == width && h == height) return true;
      p.shot();
      return false;
    });
  };
  {
    Player p(dirs_.root(), "first");
    ASSERT_TRUE(p.start());
    ASSERT_TRUE(windowIs(p, 1280, 720));
    ASSERT_TRUE(passLogos(p)) << p.lastShot();
    ASSERT_TRUE(clickUntil(p, kOptionsButton[0], kOptionsButton[1], 30, optionsShown)) << p.lastShot();
    ASSERT_TRUE(clickUntil(p, kOptionsResolution[0], kOptionsResolution[1], 30, resolutionShown)) << p.lastShot();
    // The mode is applied at once, so the player sees it.
    EXPECT_TRUE(p.repeat(10, [&] {
      p.click(kFirstMode[0], kFirstMode[1]);
      return windowIs(p, 1366, 768);
    }));
    const Shot tried = p.shot();
    EXPECT_EQ(tried.width(), 1366) << p.lastShot();
    EXPECT_TRUE(resolutionShown(tried)) << p.lastShot();
    // A second Escape only follows one that the screen plainly did not take.
    ASSERT_TRUE(p.repeat(5, [&] {
      p.key("Escape");
      return p.waitFor(10, optionsShown);
    })) << p.lastShot();
    ASSERT_TRUE(clickUntil(p, kOptionsBack[0], kOptionsBack[1], 30, mainMenu)) << p.lastShot();
    quit(p);
  }
  {
    GameSave stored(folder());
    ASSERT_TRUE(stored.load());
    EXPECT_EQ(stored.profile().screenSize().width, 1280);
    EXPECT_EQ(stored.profile().screenSize().height, 720);
  }
  Player p(dirs_.root(), "second");
  ASSERT_TRUE(p.start());
  EXPECT_TRUE(windowIs(p, 1280, 720));
  ASSERT_TRUE(passLogos(p)) << p.lastShot();
  EXPECT_EQ(p.shot().width(), 1280) << p.lastShot();
  quit(p);
}

TEST_F(SettingsWalk, ANewGameOverProgressKeepsItOnNoAndResetsItOnYes) {
  {
    // A campaign begun by playing: a new game and a look at mission control.
    Player first(dirs_.root(), "begin");
    ASSERT_TRUE(first.start());
    ASSERT_TRUE(passLogos(first)) << first.lastShot();
    ASSERT_TRUE(clickUntil(first, kNewGameButton[0], kNewGameButton[1], 30, notMainMenu)) << first.lastShot();
    ASSERT_TRUE(waitSkipping(first, 40, missionControl)) << first.lastShot();
    ASSERT_TRUE(clickUntil(first, 970, 720, 60, mainMenu)) << first.lastShot();  // back
    quit(first);
  }
  {
    // Then the first mission won with its badge, as the tally stores them.
    GameSave seed(folder());
    ASSERT_TRUE(seed.load());
    ASSERT_TRUE(seed.profile().hasProgress());
    seed.profile().setMissionWon(0);
    seed.profile().setBadge(0, 0, 1);
    ASSERT_TRUE(seed.save());
  }
  const std::vector<uint8_t> missions = readBytes(folder() + "/missions.dat");
  const std::vector<uint8_t> badges = readBytes(folder() + "/badges.dat");
  ASSERT_FALSE(missions.empty());
  ASSERT_EQ(missions[0], 1);

  Player p(dirs_.root(), "run");
  ASSERT_TRUE(p.start());
  ASSERT_TRUE(passLogos(p)) << p.lastShot();
  ASSERT_TRUE(p.waitFor(10, continueShown)) << p.lastShot();

  ASSERT_TRUE(clickUntil(p, kNewGameButton[0], kNewGameButton[1], 30, progressAsked)) << p.lastShot();
  ASSERT_TRUE(clickUntil(p, kProgressNo[0], kProgressNo[1], 30, mainMenu)) << p.lastShot();
  EXPECT_TRUE(p.waitFor(10, continueShown)) << p.lastShot();
  // The progress is still there to continue: mission control shows the win.
  ASSERT_TRUE(clickUntil(p, kContinueButton[0], kContinueButton[1], 30, notMainMenu)) << p.lastShot();
  ASSERT_TRUE(waitSkipping(p, 40, missionControl)) << p.lastShot();
  EXPECT_TRUE(p.waitFor(20, [](const Shot& s) { return slotWon(s, 0); })) << p.lastShot();
  ASSERT_TRUE(clickUntil(p, 970, 720, 60, mainMenu)) << p.lastShot();  // back
  EXPECT_EQ(readBytes(folder() + "/missions.dat"), missions);
  EXPECT_EQ(readBytes(folder() + "/badges.dat"), badges);
  {
    GameSave kept(folder());
    ASSERT_TRUE(kept.load());
    EXPECT_TRUE(kept.profile().hasProgress());
    EXPECT_TRUE(kept.profile().isMissionWon(0));
    EXPECT_TRUE(kept.profile().hasBadge(0, 0, 1));
  }

  ASSERT_TRUE(clickUntil(p, kNewGameButton[0], kNewGameButton[1], 30, progressAsked)) << p.lastShot();
  ASSERT_TRUE(clickUntil(p, kProgressYes[0], kProgressYes[1], 30, [](const Shot& s) { return !progressAsked(s); }))
      << p.lastShot();
  // A fresh campaign: mission control with nothing won and the second mission shut,
  // once the first-visit tutorial that opens over it a moment later is skipped.
  ASSERT_TRUE(waitSkipping(p, 40, [](const Shot& s) {
    return missionControl(s) && slotLocked(s, 1) && !slotWon(s, 0);
  })) << p.lastShot();
  {
    GameSave reset(folder());
    ASSERT_TRUE(reset.load());
    EXPECT_FALSE(reset.profile().isMissionWon(0));
    EXPECT_TRUE(reset.profile().hasBadge(0, 0, 1));  // badges outlast a new campaign
  }
  ASSERT_TRUE(clickUntil(p, 970, 720, 60, mainMenu)) << p.lastShot();  // back
  quit(p);
}

}  // namespace
#endif
