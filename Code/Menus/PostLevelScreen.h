#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "Game/LevelRoutes.h"
#include "Game/LevelScreen.h"
#include "Menus/MenuScreen.h"
#include "animation/AnimationListener.h"
#include "tinyaction/ActionListener.h"

class AnimationPlayer;
class LeaderboardQueryWidget;
class Profile;

// The level's results turned into points: six counted rows, their sum as the
// bonus, and the total with the level score. Every product is worked out in
// 64 bits and clamped to the 32-bit range, so a long endless run cannot wrap
// a score into the negative.
struct ScoreTally {
  enum Row { kLives, kCredits, kBuilt, kUpgraded, kSold, kEnemies, kRowCount };
  static constexpr int32_t kPointsPerRow[kRowCount] = {10000, 10, 1000, 500, 10, 100};

  int32_t counts[kRowCount] = {};  // lives, credits (truncated toward zero), ...
  int32_t points[kRowCount] = {};
  int32_t levelScore = 0;
  int32_t bonus = 0;
  int32_t total = 0;

  static ScoreTally fromStats(const LevelStats& stats);
  static int32_t clampToInt32(int64_t value);
  // Truncated toward zero and clamped; NaN counts as 0.
  static int32_t creditsToInt32(double credits);
};

// Pushed by the level when it ends, won or lost: the title, the tally, the
// mission's scores, and two ways on (the level again, mission control). A win
// is written into the profile and saved before the level is closed.
class PostLevelScreen : public MenuScreen, public bge::ActionListener, public AnimationPlayerListener {
 public:
  static constexpr const char* kLayoutFile = "content/images/menus/postlevel/Screen.xml";
  static constexpr const char* kAnimFile = "content/images/menus/postlevel/anim/Anim.xml";
  static constexpr const char* kDialogImage = "content/images/mission/PostLevelDialog.png";
  enum ButtonId { kPlayAgain = 0, kToMissionControl = 1 };

  explicit PostLevelScreen(LevelStats stats);
  ~PostLevelScreen() override;

  void init() override;
  void updateScreen(int dt) override;
  void drawBackground(Graphics* g) override;
  void drawForeground(Graphics* g) override;
  void actionFinished(int id) override { (void)id; }
  void animationFinished(int id) override { (void)id; }
  void onExitTransitionDone(int code) override;

  const LevelStats& stats() const { return stats_; }
  const ScoreTally& tally() const { return tally_; }
  LeaderboardQueryWidget* leaderboard() const { return leaderboard_; }
  int previousRank() const { return previousRank_; }
  bool queryMade() const { return queryMade_ == 0; }
  // The tally rows as drawn: caption key, count text and points text (empty
  // where a row shows none).
  std::string countText(int row) const;
  // Writes a win into the profile: the badge of the mission, mode and
  // difficulty, and in the classic mode the mission won and its unlocks.
  // The mission whose station map counts as won, or -1.
  static int recordWin(Profile& profile, const LevelStats& stats, bool classicLevel);
  // On a victory, once: the win into the profile, then a save.
  void recordVictory();

 protected:
  void onButtonClicked(int buttonId) override;

 private:
  LevelStats stats_;
  ScoreTally tally_;
  bool uploadSent_ = false;
  bool victoryRecorded_ = false;
  int queryMade_ = -1;  // 0 once the panel was asked for the mission's board
  LeaderboardQueryWidget* leaderboard_ = nullptr;  // not owned: the widget list frees it
  int previousRank_ = -1;  // the rank the profile held when the mission was launched
  std::unique_ptr<AnimationPlayer> animations_;
};
