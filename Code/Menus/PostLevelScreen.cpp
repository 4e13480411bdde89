#include "Menus/PostLevelScreen.h"

#include <climits>
#include <cmath>

#include "DesignSize.h"
#include "Font.h"
#include "GameApp.h"
#include "Graphics.h"
#include "LabelManager.h"
#include "Menus/LeaderboardQueryWidget.h"
#include "Menus/SaveEntries.h"
#include "MyApp.h"
#include "Profile/Profile.h"
#include "ResourceManager.h"
#include "Texture.h"
#include "Store/CSteamLeaderboards.h"
#include "System/DisplayText.h"
#include "System/GameFonts.h"
#include "System/ResourceLists.h"
#include "animation/AnimationPlayer.h"
#include "sdk/QuillonPhysicsSDK.h"
#include "Menus/MenuPalette.h"

namespace {

const Color kRowColour(0x00, 0xD2, 0xFF, 0xFF);    // 0xFFFFD200 as bytes r, g, b, a
const Color kHeadingColour(0xFF, 0xAA, 0x00, 0xFF);  // 0xFF00AAFF
const Color kWhite(255, 255, 255, 255);
constexpr int kDialogY = 150;
constexpr int kRowX = 386;
constexpr int kRowWidth = 596;
constexpr int kRowHeight = 32;
constexpr int kRowY[] = {270, 294, 318, 342, 366, 390, 414, 438, 462};
constexpr const char* kCaptions[] = {"LABEL_LIVES", "LABEL_CREDITS", "TOWERS_BUILT", "TOWERS_UPGRADED", "TOWERS_SOLD",
                                     "LABEL_ENEMIES_CLEARED", "LEVEL_SCORE", "BONUS_SCORE", "TOTAL_SCORE"};
// The leaderboard panel the scores are shown in.
// Right of the dialog panel (which ends at 1078), not over its edge.
constexpr int kBoardX = 1092;
constexpr int kBoardHeadingY = 170;
constexpr int kBoardY = 190;
constexpr int kBoardWidth = 222;
constexpr int kBoardHeight = 334;
constexpr int kBoardMargin = 8;
const Color kShade = palette::veil(palette::kCoveringAlpha);
const Color kBoardFill = palette::panelFill();
const Color kBoardBorder = palette::panelEdge();

}  // namespace

int32_t ScoreTally::clampToInt32(int64_t value) {
  if (value > INT32_MAX) return INT32_MAX;
  if (value < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(value);
}

int32_t ScoreTally::creditsToInt32(double credits) {
  if (std::isnan(credits)) return 0;
  if (credits >= static_cast<double>(INT32_MAX)) return INT32_MAX;
  if (credits <= static_cast<double>(INT32_MIN)) return INT32_MIN;
  return static_cast<int32_t>(credits);  // toward zero
}

ScoreTally ScoreTally::fromStats(const LevelStats& stats) {
  ScoreTally t;
  t.counts[kLives] = stats.lives;
  t.counts[kCredits] = creditsToInt32(stats.credits);
  t.counts[kBuilt] = stats.towersBuilt;
  t.counts[kUpgraded] = stats.towersUpgraded;
  t.counts[kSold] = stats.towersSold;
  t.counts[kEnemies] = stats.enemiesDestroyed;
  int64_t sum = 0;
  for (int row = 0; row < kRowCount; ++row) {
    t.points[row] = clampToInt32(static_cast<int64_t>(t.counts[row]) * kPointsPerRow[row]);
    sum += t.points[row];
  }
  t.bonus = clampToInt32(sum);
  t.levelScore = clampToInt32(stats.score);
  t.total = clampToInt32(static_cast<int64_t>(t.levelScore) + t.bonus);
  return t;
}

PostLevelScreen::PostLevelScreen(LevelStats stats)
    : MenuScreen("PostLevelScreen"), stats_(stats), tally_(ScoreTally::fromStats(stats_)) {
  animations_.reset(new AnimationPlayer(this));
}

PostLevelScreen::~PostLevelScreen() = default;

void PostLevelScreen::init() {
  if (animations_->loadAnimation(0, kAnimFile)) animations_->play(0, 1.0f, 683 - 80, 8, this);
  loadLayout(kLayoutFile);
  // The score goes to the board of this mission and mode, whichever board the
  // client looked at last.
  if (g_leaderboards) {
    uploadSent_ = g_leaderboards->uploadScoreFor(stats_.missionId, stats_.gameMode, tally_.total);
    queryMade_ = -1;
  }
  MyApp* game = MyApp::instance();
  Profile* profile = game ? game->profile() : findProfile(app_);
  leaderboard_ = new LeaderboardQueryWidget(g_leaderboards, profile);
  leaderboard_->setRect(kBoardX, kBoardY, kBoardWidth, kBoardHeight);
  addWidget(leaderboard_);
  previousRank_ = profile ? profile->previousRank() : -1;
  // The win is kept as soon as the tally shows: a player who closes the program on
  // this screen keeps the mission, its unlocks and its badge.
  recordVictory();
}

void PostLevelScreen::updateScreen(int dt) {
  (void)dt;
  if (!leaderboard_) return;
  // The board is read only once the store confirmed this run's score, so the
  // rows already hold it. A score that was never sent (no campaign mission)
  // must not ride on the flag an earlier level's upload left set.
  if (uploadSent_ && g_leaderboards && g_leaderboards->uploadOk() && queryMade_ < 0) {
    queryMade_ = 0;
    leaderboard_->query(stats_.missionId, stats_.gameMode);
  }
  if (!leaderboard_->newRank()) {
    const int rank = leaderboard_->getUserRank();
    if (previousRank_ == -1 || (rank != -1 && rank < previousRank_)) leaderboard_->setNewRank(true);
  }
}

std::string PostLevelScreen::countText(int row) const {
  if (row < 0 || row >= ScoreTally::kRowCount) return std::string();
  return amountText(tally_.counts[row]) + " x " + amountText(ScoreTally::kPointsPerRow[row]);
}

// Beneath the widgets: the level is shaded almost away, so its panels and texts
// do not show through, and the panels stand under the buttons instead of over
// them (a panel drawn over a button made it look disabled).
void PostLevelScreen::drawBackground(Graphics* g) {
  g->fillRect(0, 0, bge::kDesignWidth, bge::kDesignHeight, kShade);
  // The shared dialog panel is smaller than the screen: it is centred behind the tally.
  if (Texture* dialog = globalTexture("TEX_POST_LEVEL"))
    g->drawImage((bge::kDesignWidth - dialog->getWidth()) / 2, kDialogY, dialog, kWhite);
  const Rect5 board(kBoardX - kBoardMargin, kBoardHeadingY - kBoardMargin, kBoardWidth + 2 * kBoardMargin,
                    kBoardY + kBoardHeight - kBoardHeadingY + 2 * kBoardMargin);
  g->fillRect(board, kBoardFill);
  g->drawRect(board, kBoardBorder, false);
}

void PostLevelScreen::drawForeground(Graphics* g) {
  LabelManager* labels = app_ ? app_->gameMessages() : nullptr;
  if (!labels) return;
  if (Font* title = findOrLoadFont(getResourceManager(), "FONT_NOTOSANS46")) {
    title->drawTextAligned(g, Rect5(0, 196, bge::kDesignWidth, 32),
                           labels->getLabel(stats_.victory ? "LABEL_VICTORY" : "LABEL_DEFEAT"), kWhite, 2, 3, false);
  }
  Font* font = findOrLoadFont(getResourceManager(), "FONT_NOTOSANS24");
  if (font) {
    for (int row = 0; row < 9; ++row) {
      const Rect5 box(static_cast<float>(kRowX), static_cast<float>(kRowY[row]), static_cast<float>(kRowWidth), static_cast<float>(kRowHeight));
      font->drawText(g, kRowX, kRowY[row], labels->getLabel(kCaptions[row]), kRowColour);
      std::string count, points;
      if (row < ScoreTally::kRowCount) {
        count = countText(row);
        points = amountText(tally_.points[row]);
      } else if (row == 6) {
        count = amountText(tally_.levelScore);
      } else {
        points = amountText(row == 7 ? tally_.bonus : tally_.total);
      }
      if (!count.empty()) font->drawTextAligned(g, box, count, kRowColour, 2, 3, false);
      if (!points.empty()) font->drawTextAligned(g, box, points, kRowColour, 1, 3, false);
    }
  }
  if (Font* heading = findOrLoadFont(getResourceManager(), "FONT_NOTOSANS20")) {
    heading->drawTextAligned(g, Rect5(kBoardX, kBoardHeadingY, 256, 32), labels->getLabel("MISSION_SCORES"),
                             kHeadingColour, 0, 3, false);
  }
}

void PostLevelScreen::onButtonClicked(int buttonId) {
  if (buttonId == kPlayAgain || buttonId == kToMissionControl) leave(buttonId);
}

int PostLevelScreen::recordWin(Profile& profile, const LevelStats& stats, bool classicLevel) {
  const int mission = stats.missionId == -1 ? 0 : stats.missionId;
  // Outside the badge table (an endless run, a foreign mission) nothing is set:
  // the index would otherwise land on another mission's badges.
  profile.setBadge(mission, stats.gameMode, stats.difficulty);
  if (!classicLevel || mission < 0 || mission >= Profile::kMissionCount) return -1;
  if (!profile.isMissionWon(mission)) profile.setMissionWon(mission);
  profile.applyMissionUnlocks(mission);
  return mission;
}

void PostLevelScreen::recordVictory() {
  if (!stats_.victory || victoryRecorded_) return;
  victoryRecorded_ = true;
  GameApp* app = app_ ? app_ : GameApp::instance();
  LevelScreen* level = LevelScreen::current();
  MyApp* game = MyApp::instance();
  if (Profile* profile = game ? game->profile() : findProfile(app)) {
    const int won = recordWin(*profile, stats_, level && level->gameMode() == MODE_CLASSIC);
    if (won >= 0 && game) game->reportStationMapWon(won);
  }
  if (app) app->saveGame();
}

void PostLevelScreen::onExitTransitionDone(int code) {
  GameApp* app = app_ ? app_ : GameApp::instance();
  if (!app) return;
  LevelScreen* level = LevelScreen::current();
  recordVictory();
  app->finishState(this);
  // Gone from here on: only locals and the level's global.
  level = LevelScreen::current();
  if (!level) return;
  if (code == kPlayAgain) level->close(kLevelRestart, true);
  else if (code == kToMissionControl) level->close(kLevelToMissionControl, true);
  else return;
  // Uncovering the level let its world run again; a level on its way out stays still.
  if (QuillonPHX2D::g_ptrSDK) QuillonPHX2D::g_ptrSDK->pauseSimulation();
}
