// Mission control: what a player can pick and launch, the last launch read
// back from a file the player can edit, the leaderboard panel against the
// scripted store, and the screen itself drawn once in a hidden window.
#include <SDL.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "DynamicResources/SfxContainer.h"
#include "Font.h"
#include "Menus/LeaderboardQueryWidget.h"
#include "Menus/MissionControl.h"
#include "Menus/MissionSelection.h"
#include "Profile/Mission.h"
#include "Profile/Profile.h"
#include "Profile/ProfileSideFiles.h"
#include "Profile/SpaceStation.h"
#include "RecordingGraphics.h"
#include "ResourceManager.h"
#include "SDLGameApp.h"
#include "Sound.h"
#include "Texture.h"
#include "Game/LevelScreen.h"
#include "LabelManager.h"
#include "Store/CSteamLeaderboards.h"
#include "Store/FakeStore.h"
#include "KeyEvent.h"
#include "Menus/EncyclopediaScreen.h"
#include "System/AtomicFile.h"
#include "System/ResourceLists.h"
#include "TestEnv.h"
#include "widgets/Button.h"

namespace {

// The game's own campaign, read from the source tree.
std::unique_ptr<Profile> campaign() {
  std::filesystem::current_path(STARMOOR_SOURCE_DIR);
  auto p = std::make_unique<Profile>("Commander");
  EXPECT_TRUE(p->loadStations("content/config/stations.xml"));
  p->resetProgress();
  // A player who has met mission control's tutorial already.
  p->setFlag(CustomFlag::MissionControlTutorial, 0);
  return p;
}

TEST(MissionSelection, OnlyUnlockedStationsAndMissionsCanBePickedAndLaunched) {
  auto p = campaign();
  MissionSelection pick(p.get());
  // A new game: station 0 and its first mission only.
  EXPECT_EQ(pick.initialStation(), 0);
  EXPECT_FALSE(pick.selectStation(1));
  EXPECT_FALSE(pick.selectStation(-1));
  EXPECT_FALSE(pick.selectStation(15));
  ASSERT_TRUE(pick.selectStation(0));
  ASSERT_TRUE(pick.selectSlot(1));
  EXPECT_FALSE(pick.canLaunch()) << "a locked mission shows but does not launch";
  EXPECT_FALSE(pick.selectSlot(3));
  ASSERT_TRUE(pick.selectSlot(0));
  EXPECT_TRUE(pick.canLaunch());

  // Winning unlocks along the campaign; a current station that is locked
  // gives way to the first unlocked one.
  p->unlockMission(4);
  EXPECT_TRUE(pick.selectStation(1));
  EXPECT_EQ(p->currentStation(), 1);
  ASSERT_TRUE(pick.selectSlot(1));
  EXPECT_TRUE(pick.canLaunch());
  p->setCurrentStation(9);
  EXPECT_EQ(pick.initialStation(), 0);
}

TEST(MissionSelection, LaunchArgumentsFollowStationSlotModeAndDifficulty) {
  auto p = campaign();
  for (int m = 0; m < Profile::kMissionCount; ++m) p->unlockMission(m);
  MissionSelection pick(p.get());
  for (int station = 0; station < Profile::kStationCount; ++station)
    for (int slot = 0; slot < MissionSelection::kSlots; ++slot) {
      ASSERT_TRUE(pick.selectStation(station));
      ASSERT_TRUE(pick.selectSlot(slot));
      const LaunchArguments a = pick.launchArguments();
      EXPECT_EQ(a.missionId, station * 3 + slot);
      EXPECT_EQ(a.levelFile, p->findStationById(station)->missions()[static_cast<size_t>(slot)]->config());
      EXPECT_TRUE(std::filesystem::exists(a.levelFile)) << a.levelFile;
    }

  ASSERT_TRUE(pick.selectStation(2));
  pick.setSlotDifficulty(0, 2);
  pick.setSlotDifficulty(1, 0);
  ASSERT_TRUE(pick.selectSlot(0));
  pick.setMode(3);
  EXPECT_EQ(pick.launchArguments().difficulty, 2) << "the launched slot's own difficulty, not the last one touched";
  EXPECT_EQ(pick.launchArguments().mode, 3);
  EXPECT_FALSE(pick.setSlotDifficulty(0, 3));
  // Endless always runs on normal, whatever the slot says.
  for (int d = 0; d < 3; ++d) {
    pick.setSlotDifficulty(0, d);
    pick.setMode(5);
    EXPECT_EQ(pick.launchArguments().difficulty, 1);
  }
  pick.setMode(6);
  EXPECT_EQ(pick.mode(), 0);

  pick.recordLaunch(17);
  EXPECT_EQ(p->lastStation(), 2);
  EXPECT_EQ(p->lastMissionId(), 6);
  EXPECT_EQ(p->lastMode(), 0);
  EXPECT_EQ(p->previousRank(), 17);
}

// Writes customflags.dat with the last launch in slots 2, 3 and 4 and reads it back.
void readLastLaunch(Profile& p, const std::string& folder, int station, int mission, int mode) {
  std::vector<int32_t> flags(10, -1);
  flags[2] = station;
  flags[3] = mission;
  flags[4] = mode;
  const auto bytes = sidefiles::encodeInts(flags);
  ASSERT_TRUE(writeFileAtomically(folder + "/" + sidefiles::kCustomFlags, bytes.data(), bytes.size()));
  p.readSideFiles(folder);
}

TEST(MissionSelection, TheLastLaunchIsCheckedBeforeItIsUsed) {
  testenv::TempUserDirs dirs;
  auto p = campaign();
  p->unlockMission(3);
  MissionSelection pick(p.get());

  readLastLaunch(*p, dirs.data(), 1, 5, 4);
  MissionSelection::Restore r = pick.lastLaunch();
  EXPECT_EQ(r.station, 1);
  EXPECT_EQ(r.slot, 2);
  EXPECT_EQ(r.mode, 4);

  // Button ids of other actions, a locked station, nonsense: the first
  // unlocked station, its first slot and classic.
  for (int bogus : {100, 101, 102, 300, 200, 7, -5}) {
    readLastLaunch(*p, dirs.data(), bogus, 301, 42);
    r = pick.lastLaunch();
    EXPECT_EQ(r.station, 0) << bogus;
    EXPECT_EQ(r.slot, 0) << bogus;
    EXPECT_EQ(r.mode, 0) << bogus;
  }
  // A mission of another station does not move the slot.
  readLastLaunch(*p, dirs.data(), 1, 2, -1);
  r = pick.lastLaunch();
  EXPECT_EQ(r.station, 1);
  EXPECT_EQ(r.slot, 0);
  EXPECT_EQ(r.mode, -1) << "no mode recorded keeps the screen's";
}

TEST(MissionControlStars, NoStarIsEverDrawnFromDepthZero) {
  std::vector<DriftingStar> stars = {{100.0f, 50.0f, 5.0f, -5.0f}, {-3.0f, 9.0f, 1.0f, -1.0f},
                                     {0.0f, 0.0f, 3.0f, -2.0f}};
  for (int frame = 0; frame < 3000; ++frame) {
    MissionControl::moveStars(stars);
    for (const DriftingStar& s : stars) {
      ASSERT_GT(s.depth, 0.0f);
      int x, y, a;
      ASSERT_TRUE(MissionControl::projectStar(s, &x, &y, &a));
      EXPECT_GE(a, 0);
    }
  }
  int x, y, a;
  EXPECT_FALSE(MissionControl::projectStar({1.0f, 1.0f, 0.0f, -1.0f}, &x, &y, &a));
}

// --- the leaderboard panel ---

constexpr int kFrameMs = 16;

struct Board {
  store::FakeStore fake{CSteamLeaderboards::allLeaderboardNames()};
  CSteamLeaderboards client{&fake};
  Profile profile{"Commander"};
  LeaderboardQueryWidget widget{&client, &profile};

  void frames(int n) {
    for (int i = 0; i < n; ++i) {
      fake.runCallbacks();
      widget.update(kFrameMs, nullptr);
    }
  }
  int framesFor(int ms) const { return ms / kFrameMs + 2; }
};

TEST(LeaderboardQueryWidget, NamesTheBoardOfTheMissionAndMode) {
  Board b;
  b.widget.query(44, 0);
  EXPECT_EQ(b.fake.foundNames.back(), "DUBROVNIKM2_003");
  b.widget.query(0, 5);
  EXPECT_EQ(b.fake.foundNames.back(), "YORK_001_5");
  b.widget.query(3, 3);
  EXPECT_EQ(b.fake.foundNames.back(), "BARTHON_001_3");
  const size_t asked = b.fake.foundNames.size();
  b.widget.query(45, 0);
  b.widget.query(-1, 0);
  EXPECT_EQ(b.fake.foundNames.size(), asked);
  EXPECT_EQ(b.widget.leaderboardIndex(), 3);
}

TEST(LeaderboardQueryWidget, RowsArriveWithThePlayersRankAndNoRetryFollows) {
  Board b;
  for (int i = 0; i < 11; ++i) b.fake.addScore("YORK_001_2", 1000 + i, 5000 - 100 * i, "pilot" + std::to_string(i));
  b.fake.addScore("YORK_001_2", b.fake.userId(), 4650, "me");
  b.fake.setDelayFrames(3);
  b.widget.query(0, 2);
  EXPECT_EQ(b.widget.state(), LeaderboardQueryWidget::kStateLoading);
  b.frames(3);
  EXPECT_EQ(b.widget.state(), LeaderboardQueryWidget::kStateLoading) << "a store never answers in the same frame";
  EXPECT_LE(b.widget.pulseHistory().size(), 10u);
  b.frames(10);
  ASSERT_EQ(b.widget.state(), LeaderboardQueryWidget::kStateIdle);
  ASSERT_FALSE(b.widget.entries().empty());
  EXPECT_LE(b.widget.entries().size(), 10u);
  // 5000, 4900, 4800, 4700, then ours.
  EXPECT_EQ(b.widget.getUserRank(), 5);
  // The first wait ends with the rows already there: the query is over.
  b.frames(b.framesFor(2 * LeaderboardQueryWidget::kWaitMs));
  EXPECT_EQ(b.widget.leaderboardIndex(), -1);
  EXPECT_EQ(b.fake.foundNames.size(), 1u);
  EXPECT_FALSE(b.widget.timerRunning());
}

TEST(LeaderboardQueryWidget, ASlowOrFailingStoreShowsTheFailureAndRetries) {
  Board b;
  b.fake.addScore("HAMBURG_002", 7, 900, "someone");
  b.fake.addScore("HAMBURG_002", b.fake.userId(), 800, "me");
  // Slower than the wait and the retry together: the first answer never counts.
  b.fake.setDelayFrames(3 * b.framesFor(LeaderboardQueryWidget::kWaitMs));
  b.widget.query(19, 0);
  b.frames(60);
  EXPECT_GE(b.widget.pulseHistory().size(), 9u);
  EXPECT_LE(b.widget.pulseHistory().size(), 10u) << "the rings keep the ten latest pulses";
  b.frames(b.framesFor(LeaderboardQueryWidget::kWaitMs) - 60);
  EXPECT_EQ(b.widget.state(), LeaderboardQueryWidget::kStateIdle);
  EXPECT_TRUE(b.widget.entries().empty()) << "the failure text shows";
  EXPECT_EQ(b.widget.getUserRank(), -1);
  // Three seconds later the same board is asked for again; this time the
  // store answers in time and the query ends there.
  b.fake.setDelayFrames(2);
  b.frames(b.framesFor(LeaderboardQueryWidget::kWaitMs) + 10);
  ASSERT_EQ(b.fake.foundNames.size(), 2u);
  EXPECT_EQ(b.fake.foundNames[1], "HAMBURG_002");
  EXPECT_EQ(b.widget.entries().size(), 2u);
  EXPECT_EQ(b.widget.getUserRank(), 2);
  b.frames(2 * b.framesFor(LeaderboardQueryWidget::kWaitMs));
  EXPECT_EQ(b.fake.foundNames.size(), 2u);

  Board failing;
  failing.fake.setFailFind(true);
  failing.widget.query(0, 0);
  failing.frames(2 * failing.framesFor(LeaderboardQueryWidget::kWaitMs) + 4);
  EXPECT_EQ(failing.widget.state(), LeaderboardQueryWidget::kStateLoading) << "retrying";
  EXPECT_EQ(failing.fake.foundNames.size(), 2u);
}

TEST(LeaderboardQueryWidget, WithoutAStoreItSaysSoInsteadOfLoadingForEver) {
  LeaderboardQueryWidget widget(nullptr, nullptr);
  widget.query(0, 0);
  EXPECT_EQ(widget.state(), LeaderboardQueryWidget::kStateIdle);
  for (int i = 0; i < 400; ++i) widget.update(kFrameMs, nullptr);
  EXPECT_EQ(widget.state(), LeaderboardQueryWidget::kStateIdle);
  EXPECT_TRUE(widget.entries().empty());
  EXPECT_FALSE(widget.timerRunning());
  EXPECT_EQ(widget.getUserRank(), -1);
  EXPECT_EQ(LeaderboardQueryWidget::shortName(std::string(25, 'x')), std::string(20, 'x') + "...");
  EXPECT_EQ(LeaderboardQueryWidget::shortName(std::string(20, 'x')), std::string(20, 'x'));
}

// --- the screen in a hidden window ---

class ShotApp : public SDLGameApp {
 public:
  // A hidden window at the design size.
  void openWindow() {
    initSDL();
    setDisplayMode(1366, 768, false);
    setScaleFactors(1.0f, 1.0f);
    createWindow(SDL_WINDOW_HIDDEN);
  }
  void afterRender(Graphics*) override {
    if (shotPath.empty()) return;
    saveScreenshot(shotPath);
    shotPath.clear();
  }
  std::string shotPath;
};

TEST(MissionControlScreen, OpensOnAValidatedLastLaunchAndDraws) {
  testenv::TempUserDirs dirs;
  ShotApp app;
  app.openWindow();
  app.setFrameLimit(false);
  // The campaign's pictures go into the window's catalogue.
  auto p = campaign();
  app.gameMessages()->loadFromXml("content/strings/english.xml");
  registerGlobalResources(app.globalResourceManager());
  p->unlockMission(3);
  p->setMissionWon(0);
  p->setBadge(0, 0, 1);
  // A damaged record naming the launch button and a mode no game has.
  p->setLastLaunch(1, 101, 9, 1);

  // The store has a board for the first mission with the player on it.
  store::FakeStore fake(CSteamLeaderboards::allLeaderboardNames());
  for (int i = 0; i < 12; ++i)
    fake.addScore("YORK_001", 500 + i, 90000 - 2500 * i, i == 3 ? "A pilot with a rather long call sign" : "pilot");
  fake.addScore("YORK_001", fake.userId(), 81000, "Commander");
  CSteamLeaderboards boards(&fake);
  g_leaderboards = &boards;
  auto frames = [&](int n) {
    for (int i = 0; i < n; ++i) {
      fake.runCallbacks();
      app.update(kFrameMs);
    }
  };

  MissionControl* screen = new MissionControl(-1, p.get());
  app.changeState(screen);
  frames(40);
  EXPECT_EQ(screen->getPhase(), PhaseIdle) << "the record fired no button";
  ASSERT_NE(screen->selection().station(), nullptr);
  EXPECT_EQ(screen->selection().station()->id(), 0);
  EXPECT_EQ(screen->selection().slot(), 0);
  EXPECT_EQ(screen->selection().mode(), 0);
  EXPECT_TRUE(p->hasProgress());
  ASSERT_NE(screen->findButton(0), nullptr);
  EXPECT_TRUE(screen->findButton(0)->isVisible());
  EXPECT_TRUE(screen->findButton(1)->isVisible());
  EXPECT_FALSE(screen->findButton(2)->isVisible()) << "locked stations stay hidden";
  EXPECT_FLOAT_EQ(screen->armX(), screen->findButton(200)->getX() - MissionControl::kArmOffset);

  // Picking the second station's middle mission moves the arm there.
  screen->onButtonEvent(1, bge::ButtonListener::Released);
  screen->onButtonEvent(201, bge::ButtonListener::Released);
  frames(40);
  EXPECT_EQ(fake.foundNames.back(), "BARTHON_002");
  EXPECT_EQ(screen->selection().launchArguments().missionId, 4);
  EXPECT_FLOAT_EQ(screen->armX(), screen->findButton(201)->getX() - MissionControl::kArmOffset);
  screen->onButtonEvent(0, bge::ButtonListener::Released);
  frames(40);
  EXPECT_EQ(fake.foundNames.back(), "YORK_001");
  EXPECT_EQ(screen->leaderboard()->getUserRank(), 5);

  const char* shots = std::getenv("STARMOOR_SHOT_DIR");
  app.shotPath = std::string(shots ? shots : dirs.root().c_str()) + "/missioncontrol.png";
  const std::string path = app.shotPath;
  app.render();
  EXPECT_TRUE(std::filesystem::exists(path));

  // A hovered mission is framed on its whole map shot, not on a smaller box inside it.
  bge::Button* slot = screen->findButton(MissionControl::kFirstSlotButton + 1);
  ASSERT_NE(slot, nullptr);
  slot->onPointerEnter();
  frames(20);
  RecordingGraphics drawn;
  screen->render(&drawn);
  int onShot = 0;
  for (const GraphicsCall& c : drawn.callsOf("drawImage"))
    onShot += c.screenX == MissionControl::kMapShotX + MissionControl::kMapShotStep && c.screenY == MissionControl::kMapShotY &&
              c.w == MissionControl::kMapShotW && c.h == MissionControl::kMapShotH && c.color.a > 0;
  EXPECT_EQ(onShot, 2) << "the map shot and its hover frame";
  slot->onPointerExit();

  // The encyclopedia lies over mission control and gives it back on Escape.
  screen->onButtonEvent(MissionControl::kEncyclopediaButton, bge::ButtonListener::Released);
  auto* hub = dynamic_cast<EncyclopediaScreen*>(app.topState());
  ASSERT_NE(hub, nullptr);
  EXPECT_TRUE(app.isOnStack(screen));
  frames(20);
  KeyEvent escape;
  escape.key = SDLK_ESCAPE;
  escape.kind = KeyEvent::Pressed;
  hub->onKeyEvent(escape);
  for (int i = 0; i < 30 && app.topState() == hub; ++i) {
    app.update(kFrameMs);
    app.deleteQueuedStates();
  }
  ASSERT_EQ(app.topState(), screen);
  EXPECT_EQ(screen->getPhase(), PhaseIdle);

  // Launch the first mission on hard: the record is written, mission control
  // fades out and leaves, and the level starts with the chosen values.
  screen->onSelectionChanged(1, 2, 0);
  screen->onButtonEvent(MissionControl::kLaunchButton, bge::ButtonListener::Released);
  EXPECT_EQ(p->lastStation(), 0);
  EXPECT_EQ(p->lastMissionId(), 0);
  EXPECT_EQ(p->lastMode(), 0);
  for (int i = 0; i < 30 && app.topState() == screen; ++i) {
    app.update(kFrameMs);
    app.deleteQueuedStates();
  }
  auto* level = dynamic_cast<LevelScreen*>(app.topState());
  ASSERT_NE(level, nullptr);
  EXPECT_EQ(app.states().size(), 1u);
  EXPECT_EQ(level->missionId(), 0);
  EXPECT_EQ(level->gameMode(), 0);
  EXPECT_EQ(level->difficulty(), 2);
  EXPECT_EQ(p->previousRank(), 5) << "the rank at launch, for the tally to compare";
  app.popState();
  app.deleteQueuedStates();
  g_leaderboards = nullptr;
}

// Start-up only names the map shots, the shared pictures and fonts, and the sound
// effects; each must be whole the first time a screen draws or plays it, whichever
// door it is fetched through.
TEST(MissionControlScreen, WhatStartUpOnlyNamesIsWholeWhenFirstUsed) {
  testenv::TempUserDirs dirs;
  ShotApp app;
  app.openWindow();
  app.initAudio();
  auto p = campaign();
  registerGlobalResources(app.globalResourceManager());
  SfxContainer::instance()->load("content/config/sfx.xml");

  for (const SpaceStation* station : p->stations())
    for (const Mission* m : station->missions()) {
      Texture* shot = m->mapShotTexture();
      ASSERT_NE(shot, nullptr) << "mission " << m->id();
      EXPECT_TRUE(shot->isLoaded() && shot->getWidth() > 0 && shot->getStorageWidth() >= shot->getWidth())
          << "mission " << m->id();
    }
  // Leaving mission control lets a preview's pixels go; shown again, it is read again.
  const Mission* first = p->stations().front()->missions().front();
  Texture* shot = first->mapShotTexture();
  const int width = shot->getWidth();
  first->releaseMapShot();
  EXPECT_FALSE(shot->isLoaded());
  EXPECT_EQ(shot->getImage(), nullptr);
  EXPECT_EQ(first->mapShotTexture(), shot);
  EXPECT_TRUE(shot->isLoaded() && shot->getImage() != nullptr && shot->getWidth() == width);
  for (const ResourceEntry& e : globalResourceList()) {
    if (e.font) {
      Font* font = globalFont(e.key);
      ASSERT_NE(font, nullptr) << e.key;
      EXPECT_GT(font->textWidth("Starmoor"), 0) << e.key;
      EXPECT_EQ(app.globalResourceManager()->findFont(e.key), font);
      continue;
    }
    // The catalogue's door first: a layout or the level finds the key there.
    Texture* byKey = app.globalResourceManager()->findTexture(e.key);
    ASSERT_NE(byKey, nullptr) << e.key;
    EXPECT_TRUE(byKey->isLoaded() && byKey->getWidth() > 0) << e.key;
    EXPECT_EQ(globalTexture(e.key), byKey);
  }

  // A sound effect decodes on its first play and plays then, not on the second.
  if (app.isAudioOpen()) {
    SfxContainer* sfx = SfxContainer::instance();
    sfx->playSound("SFX_BUTTON_CLICK");
    const std::vector<std::string>* ids = sfx->findVariants("SFX_BUTTON_CLICK");
    ASSERT_TRUE(ids && !ids->empty());
    bool played = false;
    for (const std::string& id : *ids)
      if (auto* sound = dynamic_cast<MixSound*>(sfx->findVariantSound(id))) played = played || sound->getChannel() >= 0;
    EXPECT_TRUE(played);
  }
  SfxContainer::destroyInstance();
}

}  // namespace
