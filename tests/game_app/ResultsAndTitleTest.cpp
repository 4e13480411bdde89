// What the post-level screen makes of a level's results (points, badges, wins
// and unlocks) and the title screen's star band at the depths that have no
// projection.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <filesystem>
#include <limits>

#include "Menus/PostLevelScreen.h"
#include "Menus/StarfieldBackdrop.h"
#include "Profile/Profile.h"
#include "RecordingGraphics.h"

using QuillonPHX2D::Vec3;

namespace {

LevelStats stats(int lives, double credits, int built, int upgraded, int sold, int enemies, long long score) {
  LevelStats s;
  s.lives = lives;
  s.credits = credits;
  s.towersBuilt = built;
  s.towersUpgraded = upgraded;
  s.towersSold = sold;
  s.enemiesDestroyed = enemies;
  s.score = score;
  s.victory = lives > 0;
  return s;
}

TEST(ScoreTally, RowsBonusAndTotal) {
  // A defeat with three towers built: their row, and what it adds to the bonus.
  ScoreTally lost = ScoreTally::fromStats(stats(0, 0.0, 3, 0, 0, 0, 0));
  EXPECT_EQ(lost.points[ScoreTally::kBuilt], 3000);
  EXPECT_EQ(lost.bonus, 3000);
  EXPECT_EQ(lost.total, 3000);  // a level score of 0 leaves the bonus

  // Credits count truncated toward zero.
  ScoreTally t = ScoreTally::fromStats(stats(12, 123.9, 7, 4, 2, 85, 45678));
  EXPECT_EQ(t.counts[ScoreTally::kCredits], 123);
  const int32_t expected[] = {120000, 1230, 7000, 2000, 20, 8500};
  for (int row = 0; row < ScoreTally::kRowCount; ++row) EXPECT_EQ(t.points[row], expected[row]) << row;
  EXPECT_EQ(t.bonus, 120000 + 1230 + 7000 + 2000 + 20 + 8500);
  EXPECT_EQ(t.total, 45678 + t.bonus);

  PostLevelScreen screen(stats(12, 123.9, 7, 4, 2, 85, 45678));
  EXPECT_EQ(screen.countText(ScoreTally::kLives), "12 x 10,000");
  EXPECT_EQ(screen.countText(ScoreTally::kCredits), "123 x 10");
  EXPECT_EQ(screen.countText(ScoreTally::kBuilt), "7 x 1,000");
  // A count is grouped as its points are.
  EXPECT_EQ(PostLevelScreen(stats(0, 1900.5, 0, 0, 0, 0, 0)).countText(ScoreTally::kCredits), "1,900 x 10");
}

TEST(ScoreTally, HugeFiguresClampInsteadOfWrapping) {
  // An endless run's counts: every product and sum stays at the top of the range.
  ScoreTally t = ScoreTally::fromStats(stats(INT_MAX, 1e300, INT_MAX, INT_MAX, INT_MAX, INT_MAX, 1LL << 40));
  for (int row = 0; row < ScoreTally::kRowCount; ++row) EXPECT_EQ(t.points[row], INT32_MAX) << row;
  EXPECT_EQ(t.levelScore, INT32_MAX);
  EXPECT_EQ(t.bonus, INT32_MAX);
  EXPECT_EQ(t.total, INT32_MAX);
  // Credits that are no number count nothing; debts stay negative, clamped.
  EXPECT_EQ(ScoreTally::creditsToInt32(std::numeric_limits<double>::quiet_NaN()), 0);
  EXPECT_EQ(ScoreTally::creditsToInt32(-1e12), INT32_MIN);
  EXPECT_EQ(ScoreTally::creditsToInt32(-7.9), -7);
  ScoreTally low = ScoreTally::fromStats(stats(0, -1e12, 0, 0, 0, 0, -(1LL << 40)));
  EXPECT_EQ(low.points[ScoreTally::kCredits], INT32_MIN);
  EXPECT_EQ(low.total, INT32_MIN);
}

class RecordWin : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(STARMOOR_SOURCE_DIR);
    ASSERT_TRUE(profile_.loadStations("content/config/stations.xml"));
    profile_.resetProgress();
  }
  void TearDown() override { std::filesystem::current_path(previous_); }
  static LevelStats win(int mission, int mode, int difficulty) {
    LevelStats s = stats(5, 0.0, 0, 0, 0, 0, 0);
    s.missionId = mission;
    s.gameMode = mode;
    s.difficulty = difficulty;
    return s;
  }
  int badgeCount() const {
    int n = 0;
    for (int m = 0; m < Profile::kMissionCount; ++m)
      for (int mode = 0; mode < Profile::kModeCount; ++mode)
        for (int d = 0; d < Profile::kDifficultyCount; ++d) n += profile_.hasBadge(m, mode, d);
    return n;
  }

  Profile profile_{"Commander"};
  std::filesystem::path previous_;
};

TEST_F(RecordWin, EachModeAndDifficultySetsItsOwnBadgeOnly) {
  int set = 0;
  for (int mode = 0; mode < 5; ++mode)
    for (int d = 0; d < 3; ++d) {
      PostLevelScreen::recordWin(profile_, win(4, mode, d), false);
      ++set;
      EXPECT_TRUE(profile_.hasBadge(4, mode, d)) << mode << " " << d;
      EXPECT_EQ(badgeCount(), set) << mode << " " << d;
    }
  // An endless win has no badge: none of this mission or any other is touched.
  PostLevelScreen::recordWin(profile_, win(0, 5, 1), false);
  PostLevelScreen::recordWin(profile_, win(44, 5, 2), false);
  EXPECT_EQ(badgeCount(), set);
  // A level not started from the campaign counts as mission 0.
  PostLevelScreen::recordWin(profile_, win(-1, 2, 0), false);
  EXPECT_TRUE(profile_.hasBadge(0, 2, 0));
  // Nor does a mission beyond the campaign reach into the table.
  PostLevelScreen::recordWin(profile_, win(45, 0, 0), true);
  PostLevelScreen::recordWin(profile_, win(7, 0, 3), true);
  EXPECT_EQ(badgeCount(), set + 1);
}

TEST_F(RecordWin, OnlyAClassicWinMarksTheMissionAndUnlocksTheNext) {
  EXPECT_EQ(PostLevelScreen::recordWin(profile_, win(0, 2, 1), false), -1);
  EXPECT_FALSE(profile_.isMissionWon(0));
  EXPECT_FALSE(profile_.isMissionUnlocked(1));
  EXPECT_EQ(PostLevelScreen::recordWin(profile_, win(0, 0, 1), true), 0);
  EXPECT_TRUE(profile_.isMissionWon(0));
  EXPECT_TRUE(profile_.isMissionUnlocked(1));
  EXPECT_TRUE(profile_.hasBadge(0, 0, 1));
  // Won again: still reported, the unlocks applied again.
  EXPECT_EQ(PostLevelScreen::recordWin(profile_, win(0, 0, 1), true), 0);
  EXPECT_TRUE(profile_.isMissionWon(0));
}

TEST(MenuStarfield, StarsAtOrBehindTheViewerAreNotDrawnAndWrapOnlyBelowZero) {
  MenuStarfield field;
  field.addStar(Vec3(500.0f, 300.0f, 0.0f), -1.0f);    // on the viewer
  field.addStar(Vec3(500.0f, 300.0f, -40.0f), -2.0f);  // created behind it
  field.addStar(Vec3(500.0f, 300.0f, 1.0f), -1.0f);    // reaches 0 next frame
  field.addStar(Vec3(500.0f, 300.0f, 500.0f), -1.0f);
  RecordingGraphics g;
  field.draw(&g);
  // Only the two stars in front are drawn, each from both sets, all on screen.
  std::vector<GraphicsCall> dots = g.callsOf("fillRect");
  ASSERT_EQ(dots.size(), 4u);
  for (const GraphicsCall& c : dots) EXPECT_TRUE(std::isfinite(c.x) && std::isfinite(c.y));

  field.update();
  EXPECT_EQ(field.setA()[0].z, 1000.0f);  // -1: wrapped
  EXPECT_EQ(field.setA()[1].z, 1000.0f);  // was behind: wrapped on the first update
  EXPECT_EQ(field.setA()[2].z, 0.0f);     // exactly 0 waits a frame ...
  EXPECT_EQ(field.setB()[2].z, 0.0f);
  g.calls.clear();
  field.draw(&g);
  // ... unseen; the wrapped ones at the far plane are clear: only the last shows.
  EXPECT_EQ(g.callsOf("fillRect").size(), 2u);
  field.update();
  EXPECT_EQ(field.setA()[2].z, 1000.0f);

  field.build();
  EXPECT_EQ(field.size(), static_cast<size_t>(MenuStarfield::kStarCount));
  for (int frame = 0; frame < 1200; ++frame) field.update();
  for (const Vec3& s : field.setA()) ASSERT_TRUE(s.z >= 0.0f && s.z <= 1000.0f && std::isfinite(s.x)) << s.x << " " << s.y << " " << s.z;
}

}  // namespace
