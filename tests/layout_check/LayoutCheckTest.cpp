// The layout check: the game's screens, and the level's heads-up panels in each
// state a player meets, drawn into a recording graphics with fonts that measure
// every line by the real fonts' metrics. A scene fails when a text leaves the box
// it was given or the panel it stands on, when two texts print over each other,
// when a label is missing, or when a button no longer says what its layout says;
// also when a line is drawn across a text, when the music banner stands half drawn
// under another screen or over a lane's entry, and when a tower that aims at
// nothing is offered targeting. What a screen lays over the ones beneath hides them
// only where it leaves them unreadable; whatever still reads through a screen's
// panels is a fault.
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "LayoutWalk.h"

using namespace layoutcheck;

// The level's panels: the battle, the hover text of every build button, every
// tower kind selected at every upgrade level, the trade page used and left, and
// the results over the level, won and lost, with a full scores panel.
TEST(LayoutCheck, LevelPanelsInEveryState) {
  Walk& w = walk();
  w.clear();
  // The first mission opens under its tutorial.
  w.app().changeState(new LevelScreen(0, "content/levels/mission_00.xml", MODE_CLASSIC, 1));
  w.frames(200);
  w.check("first mission with its tutorial");
  // Put away, it lets the music banner slide in, clear of the lane's entry.
  ASSERT_NE(dynamic_cast<TutorialScreen*>(w.app().topState()), nullptr);
  w.app().popState();
  w.app().deleteQueuedStates();
  w.frames(40);
  w.check("first mission, its music banner in");
  w.clear();
  // The third mission's lanes enter where the wave list would stand by default.
  auto* third = new LevelScreen(2, "content/levels/mission_02.xml", MODE_CLASSIC, 1);
  w.app().changeState(third);
  for (int i = 0; i < 600 && !third->bridge().ready(); ++i) w.frames(1);
  w.check("third mission at its start");
  w.clear();

  store::FakeStore fake(CSteamLeaderboards::allLeaderboardNames());
  fillBoard(fake, CSteamLeaderboards::leaderboardName(1, MODE_ALLTOWERS));
  CSteamLeaderboards boards(&fake);
  g_leaderboards = &boards;

  // The second mission: the first one lays its tutorial over the whole level.
  auto* level = new LevelScreen(1, "content/levels/mission_01.xml", MODE_ALLTOWERS, 1);
  w.app().changeState(level);
  for (int i = 0; i < 600 && !level->bridge().ready(); ++i) w.frames(1);
  ASSERT_TRUE(level->bridge().ready());
  level->economy().add(1.0e6);
  w.frames(2);
  w.check("battle, before the first tower");

  const std::vector<xBaseTowerDesc*> kinds = level->towerDescriptions();
  ASSERT_GE(kinds.size(), 10u);
  size_t longest = 0;
  for (size_t k = 0; k < kinds.size(); ++k) {
    const bge::Button* button = level->bridge().findTowerButton(bridgeids::kTowerButtonBase + int(k));
    ASSERT_NE(button, nullptr);
    pointAt(w, *level, button->getX() + button->getWidth() / 2, button->getY() + button->getHeight() / 2);
    level->onButtonEvent(bridgeids::kTowerButtonBase + int(k), bge::ButtonListener::PointerEntered);
    w.check("hover over the build button of " + kinds[k]->towerType);
    if (kinds[k]->towerType == "TOWER_NAME_DT") {
      EXPECT_TRUE(w.saw(layout::lookupText("DRONE_DAMAGE"))) << "a drone station's figure";
    }
    level->onButtonEvent(bridgeids::kTowerButtonBase + int(k), bge::ButtonListener::PointerLeft);
    if (layout::lookupText(kinds[k]->info).size() > layout::lookupText(kinds[longest]->info).size()) longest = k;
  }
  level->onButtonEvent(bridgeids::kTowerButtonBase + int(longest), bge::ButtonListener::PointerEntered);
  w.check("hover over the build button with the longest description");
  level->onButtonEvent(bridgeids::kTowerButtonBase + int(longest), bge::ButtonListener::PointerLeft);

  std::vector<std::pair<int, int>> cells = freeCells(*level);
  ASSERT_GE(cells.size(), 2 * kinds.size());
  size_t nextCell = 0;
  size_t selectedKinds = 0;
  for (xBaseTowerDesc* desc : kinds) {
    const auto [column, row] = cells[nextCell++];
    level->selection().chooseTowerDesc(desc);
    level->placement().buyTower(column, row, desc);
    // A drone station stands in pairs; the second half goes on the next cell.
    if (level->selection().placingPair()) {
      level->towerCommands().showTowerInfo(level->selection().tower());  // as the click that placed it does
      w.check("placing the second half of " + desc->towerType);
      const auto [c2, r2] = cells[nextCell++];
      level->placement().buyTower(c2, r2, desc);
    }
    // A placed beacon waits for a click on a drone station, and the panel says so:
    // a hint to click anything else leaves the player clicking the field in vain.
    if (level->selection().attachingBeacon()) {
      w.check("the placed beacon waiting for a drone station");
      EXPECT_TRUE(w.saw(layout::lookupText("TOWER_WT_STEP_2"))) << "the beacon's second step";
      std::string hint = layout::lookupText("TOWER_WT_STEP_2_DESC"), station = layout::lookupText("TOWER_NAME_DT");
      for (std::string* s : {&hint, &station})
        for (char& c : *s) c = char(std::tolower(static_cast<unsigned char>(c)));
      EXPECT_NE(hint.find("click a " + station), std::string::npos) << "the beacon's second step: " << hint;
    }
    level->placement().cancelPendingPlacement();
    level->selection().chooseTowerDesc(nullptr);
    xBaseTowerEntity* tower = levelrunner::towerAt(*level, column, row);
    if (!tower) continue;  // the beacon needs a drone station's path to stand on
    ++selectedKinds;
    // A click on it, as the runner's "select" makes one: a tower placed a
    // moment ago is let go first.
    if (tower->isSelected()) tower->toggleSelected();
    tower->toggleSelected();
    w.frames(1);
    EXPECT_EQ(level->bridge().shownTower(), tower) << desc->towerType;
    for (int upgrade = 0;; ++upgrade) {
      w.check(desc->towerType + " selected at upgrade " + std::to_string(upgrade));
      // Every figure the panel writes says what it is: no bare ": 0%", no "[800]".
      for (const Line& l : w.lastLines())
        EXPECT_TRUE(l.text.find(": 0%") == std::string::npos && l.text.find('[') == std::string::npos) << l.text;
      if (upgrade >= 3 || !level->towerCommands().upgradeTower(tower)) break;
      w.frames(1);
    }
    // The trade page, used and left: the strategy page comes back as it was.
    level->onButtonEvent(bridgeids::kShowTrade, bge::ButtonListener::Released);
    w.check(desc->towerType + " with the trade page open");
    level->onButtonEvent(bridgeids::kShowStrategies, bge::ButtonListener::Released);
    w.check(desc->towerType + " after the trade page was closed");
    tower->toggleSelected();
    level->towerCommands().showTowerInfo(nullptr);
  }
  EXPECT_GE(selectedKinds, kinds.size() - 1) << "every kind but the beacon stands on its own";
  // The towers the stations reach, with the boosts they get in their panels.
  int boosted = 0;
  for (size_t i = 0; i < nextCell; ++i) {
    xBaseTowerEntity* t = levelrunner::towerAt(*level, cells[i].first, cells[i].second);
    if (!t || t->isSupportTower() || (t->getLastDamageFactor() <= 1.0f && t->getLastInterestBonus() <= 0)) continue;
    ++boosted;
    t->toggleSelected();
    w.frames(1);
    w.check(t->getName() + " with the boosts of the stations around it");
    t->toggleSelected();
    level->towerCommands().showTowerInfo(nullptr);
  }
  EXPECT_GT(boosted, 0);

  level->sendNextWave();
  w.frames(30);
  pointAt(w, *level, 500, 54);  // on the field, level with the bridge's counters
  w.check("battle, towers standing");

  for (bool won : {true, false}) {
    LevelStats stats = level->makeStats();
    stats.victory = won;
    stats.lives = won ? 12 : 0;
    auto* results = new PostLevelScreen(stats);
    w.app().changeState(results);
    w.frames(60, &fake);
    ASSERT_NE(results->leaderboard(), nullptr);
    EXPECT_FALSE(results->leaderboard()->entries().empty()) << "the full board arrived";
    w.check(std::string("results, ") + (won ? "won" : "lost") + ", full scores panel");
    w.app().popState();
    w.app().deleteQueuedStates();
  }

  auto* pause = new GamePauseScreen();
  w.app().changeState(pause);
  w.frames(30);
  w.check("pause over the level");
  w.app().popState();
  w.app().deleteQueuedStates();
  auto* help = new GameHelpScreen();
  w.app().changeState(help);
  w.frames(30);
  w.check("help over the level");
  w.clear();

  g_leaderboards = nullptr;
}

// The menus: title, options (and what a toggled spectrum leaves), credits, the
// new-game question, mission control on a new profile with its tutorial and an
// empty scores panel, and every page of the encyclopedia.
TEST(LayoutCheck, MenuScreens) {
  Walk& w = walk();
  w.clear();
  store::FakeStore fake(CSteamLeaderboards::allLeaderboardNames());
  CSteamLeaderboards boards(&fake);
  g_leaderboards = &boards;
  Profile* profile = w.profile();
  profile->resetProgress();
  profile->setSpectrumEnabled(true);

  auto* title = new MainMenu(0, profile);
  w.app().changeState(title);
  w.frames(12);
  w.check("title screen, its music banner sliding in");

  // The profile asks for full screen, the window is not: the box shows the window.
  profile->setFullscreen(true);
  title->onButtonEvent(MainMenu::kOptions, bge::ButtonListener::Released);
  auto* options = dynamic_cast<OptionsScreen*>(w.app().topState());
  ASSERT_NE(options, nullptr);
  w.frames(30);
  w.check("options over the title");
  for (Widget* widget : options->getWidgets()) {
    auto* box = dynamic_cast<bge::CheckBox*>(widget);
    if (box && box->getCheckBoxId() == OptionsScreen::kFullScreenBox) {
      EXPECT_FALSE(box->isChecked()) << "the game runs in a window";
    }
  }
  profile->setFullscreen(false);
  for (Widget* widget : options->getWidgets()) {
    auto* box = dynamic_cast<bge::CheckBox*>(widget);
    if (box && box->getCheckBoxId() == OptionsScreen::kSpectrumBox) box->setChecked(false);
  }
  options->onCheckBoxChanged(OptionsScreen::kSpectrumBox, false);
  w.check("options after the spectrum was switched off");
  const KeyEvent escape = [] {
    KeyEvent e;
    e.key = 27;
    e.kind = KeyEvent::Pressed;
    return e;
  }();
  options->onButtonEvent(OptionsScreen::kResolutionButton, bge::ButtonListener::Released);
  w.frames(30);
  ASSERT_NE(dynamic_cast<ResolutionScreen*>(w.app().topState()), nullptr);
  w.check("resolution over the options");
  w.app().topState()->onKeyEvent(escape);
  w.frames(40);
  ASSERT_EQ(w.app().topState(), options);
  options->onButtonEvent(OptionsScreen::kCreditsButton, bge::ButtonListener::Released);
  w.frames(1);
  auto* credits = dynamic_cast<CreditsScreen*>(w.app().topState());
  ASSERT_NE(credits, nullptr);
  const size_t captions = std::max(credits->leftCaptions().size(), credits->rightCaptions().size());
  for (size_t i = 0; i < captions; ++i) {
    if (i > 0) credits->actionFinished(CreditsScreen::kScatterOver);  // the next caption of each column
    w.frames(400);  // the letters gather
    w.check(i == 0 ? std::string("credits") : "credits, caption " + std::to_string(i + 1));
  }
  w.app().topState()->onKeyEvent(escape);
  w.frames(40);
  ASSERT_EQ(w.app().topState(), options);
  options->onButtonEvent(OptionsScreen::kBackButton, bge::ButtonListener::Released);
  w.frames(40);
  ASSERT_EQ(w.app().topState(), title);
  w.check("title screen after the spectrum was switched off");
  EXPECT_TRUE(!title->spectrum() || !title->spectrum()->isVisible()) << "the spectrum goes when the options close";

  profile->setHasProgress(true);
  title->onButtonEvent(MainMenu::kNewGame, bge::ButtonListener::Released);
  w.frames(30);
  w.check("new-game question over the title");
  w.clear();

  // A new player's first visit: the tutorial lies over mission control at once.
  profile->resetProgress();
  profile->setSpectrumEnabled(true);
  auto* control = new MissionControl(-1, profile);
  w.app().changeState(control);
  w.frames(60, &fake);
  auto* tutorial = dynamic_cast<TutorialScreen*>(w.app().topState());
  EXPECT_NE(tutorial, nullptr) << "a new player meets the tutorial on the first visit";
  w.check("mission control with its tutorial");
  // Under the tutorial the screen stands still but its spectrum follows the music: two
  // frames of different sound draw different lines. The mixer's own feed is taken off,
  // so only the two tones reach the analyser.
  ASSERT_NE(control->spectrum(), nullptr);
  Mix_SetPostMix(nullptr, nullptr);
  auto linesOver = [&](int hz) {
    std::vector<uint8_t> tone(DFTSpectralAnalayzerWidget::kAnalysedBytes);
    for (size_t f = 0; f < DFTSpectralAnalayzerWidget::kFrames; ++f) {
      const auto v = static_cast<int16_t>(12000.0 * std::sin(2.0 * M_PI * hz * double(f) / 44100.0));
      for (size_t c = 0; c < 2; ++c) {
        tone[4 * f + 2 * c] = uint8_t(v & 0xff);
        tone[4 * f + 2 * c + 1] = uint8_t((v >> 8) & 0xff);
      }
    }
    spectrumTap(control->spectrum()->tapBuffer(), tone.data(), int(tone.size()));
    w.frames(1, &fake);
    RecordingGraphics g;
    control->render(&g);
    std::vector<float> ends;
    for (const GraphicsCall& c : g.callsOf("drawLine")) ends.insert(ends.end(), {c.x, c.y, c.w, c.h});
    return ends;
  };
  EXPECT_NE(linesOver(440), linesOver(3000)) << "the spectrum stands still under the tutorial";
  if (tutorial) {
    w.app().popState();
    w.app().deleteQueuedStates();
  }
  w.frames(200, &fake);
  ASSERT_EQ(w.app().topState(), control);
  w.check("mission control, empty scores panel");
  EXPECT_TRUE(w.saw(layout::lookupText("NO_SCORES_YET"))) << "an empty board is no failure";
  // Back from a launch whose level file was refused: the briefing says so and why, under
  // the job and clear of the modes, and the card says so.
  profile->setMissionRefusal(0, "content/levels/mission_00.xml: nests elements deeper than 64 levels; refused");
  w.check("mission control after its level file was refused");
  EXPECT_TRUE(w.saw(layout::lookupText("MISSION_REFUSED_BRIEF")));
  EXPECT_TRUE(w.saw("mission_00.xml: nests elements")) << "the file and why";
  EXPECT_TRUE(w.saw(layout::lookupText("MISSION_REFUSED"))) << "on the card";
  profile->setMissionRefusal(0, "");

  control->onButtonEvent(MissionControl::kEncyclopediaButton, bge::ButtonListener::Released);
  w.frames(30);
  ASSERT_NE(dynamic_cast<EncyclopediaScreen*>(w.app().topState()), nullptr);
  w.check("encyclopedia");
  for (int page = 0; page < 2; ++page) {
    EncyclopediaPage* shown = page == 0 ? static_cast<EncyclopediaPage*>(new EncyclopediaTowersScreen())
                                        : static_cast<EncyclopediaPage*>(new EncyclopediaAliensScreen());
    w.app().changeState(shown);
    w.frames(30);
    ASSERT_FALSE(shown->files().empty());
    for (size_t i = 0; i < shown->files().size(); ++i) {
      shown->showEntry(int(i));
      w.check("encyclopedia page " + shown->files()[i]);
      // A ship is named as a tower is, from its label, not by its class word in capitals.
      if (auto* aliens = dynamic_cast<EncyclopediaAliensScreen*>(shown)) {
        EXPECT_TRUE(w.saw(layout::lookupText("ENEMY_NAME_" + toUpperCase(aliens->enemyClass())))) << aliens->enemyClass();
      }
      // Each bar of a tower that deals damage has a length: an empty one reads as none.
      auto* towers = dynamic_cast<EncyclopediaTowersScreen*>(shown);
      for (const GraphicsCall& track : w.lastCalls()) {
        if (!towers || towers->damage() <= 0 || track.op != "drawRect" || track.w != EncyclopediaTowersScreen::kBarTrack)
          continue;
        EXPECT_TRUE(std::any_of(w.lastCalls().begin(), w.lastCalls().end(), [&](const GraphicsCall& bar) {
          return bar.op == "fillRect" && bar.x == track.x && bar.y == track.y && bar.w > 0;
        })) << shown->files()[i] << ": an empty bar at y " << track.y;
      }
    }
    w.app().popState();
    w.app().deleteQueuedStates();
  }
  w.clear();
  // The second visit comes without the tutorial.
  control = new MissionControl(-1, profile);
  w.app().changeState(control);
  w.frames(60, &fake);
  EXPECT_EQ(w.app().topState(), control) << "the tutorial shows once";
  w.clear();
  g_leaderboards = nullptr;
}
