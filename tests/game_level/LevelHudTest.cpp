// What the player reads and sees of a level in battle: the heads-up display's
// counters and info panel, and the field's path overlay, drawn into a recording
// graphics with a recording font.
#include <gtest/gtest.h>

#include <cmath>

#include "AngelFont.h"
#include "GLTexture.h"
#include "Game/BridgeIds.h"
#include "Game/Entities/enemies/xEnemySpawner.h"
#include "Game/Entities/towers/xBaseTowerEntity.h"
#include "Game/LevelBackground.h"
#include "Game/LevelHud.h"
#include "LevelFiles.h"
#include "RecordingFont.h"
#include "RecordingGraphics.h"
#include "ResourceManager.h"
#include "SDLGameApp.h"
#include "Utilities.h"
#include "widgets/ImageWidget.h"
#include "widgets/LayoutReading.h"

using levelfiles::runner;

namespace {

constexpr const char* kPanelFont = "FONT_NOTOSANS16";

// Puts a recording font in the place of the panel font for one drawing, and the
// real one back afterwards.
class FontSwap {
 public:
  FontSwap() : global_(runner().app().globalResourceManager()), font_(new RecordingFont) {
    global_->registerFont(kPanelFont, font_);
  }
  ~FontSwap() { global_->registerFont(kPanelFont, new AngelFont("content/fonts/NotoSans16.fnt", GLTexture::kLinear)); }
  RecordingFont& font() { return *font_; }

 private:
  ResourceManager* global_;
  RecordingFont* font_;  // owned by the catalogue
};

// The value written next on the label's line, right of it.
std::string valueBeside(const RecordingFont& font, const std::string& labelKey) {
  const TextCall* label = font.find(layout::lookupText(labelKey));
  if (!label) return "(no label " + labelKey + ")";
  for (const TextCall* c = label + 1; c < font.calls.data() + font.calls.size(); ++c)
    if (c->y == label->y && c->x > label->x) return c->text;
  return "(no value beside " + labelKey + ")";
}

levelrunner::RunOptions battle(int frames) {
  levelrunner::RunOptions o;
  o.levelFile = "content/levels/mission_00.xml";
  o.maxFrames = frames;
  std::string error;
  levelrunner::parseScript("100 place 10 6\n120 start\n400 select 10 6\n", o.script, error);
  return o;
}

}  // namespace

TEST(HeadsUpDisplay, CountersAndTheSelectedTowersInfoShowTheLevelsValues) {
  bool drawn = false;
  runner().run(battle(601), [&](LevelScreen& level, int frame) {
    if (frame != 600) return;
    drawn = true;
    ASSERT_EQ(kLevelBattle, level.state());
    ASSERT_NE(nullptr, level.spawner());
    // Values no fresh level has, so a display of defaults cannot pass.
    level.economy().add(1234.0);
    level.addScore(4321);
    FontSwap swap;
    RecordingGraphics g;
    level.drawForeground(&g);
    const RecordingFont& f = swap.font();
    EXPECT_EQ(formatString("%d / %d", level.spawner()->currentWave() + 1, level.spawner()->waveCount()),
              valueBeside(f, "LABEL_WAVE"));
    EXPECT_EQ(std::to_string(level.flow().lives()), valueBeside(f, "LABEL_LIVES"));
    EXPECT_EQ(formatThousands(level.flow().score()), valueBeside(f, "LABEL_SCORE"));
    EXPECT_EQ(formatThousands(static_cast<int>(level.economy().credits())), valueBeside(f, "LABEL_CREDITS"));
    EXPECT_EQ(std::to_string(level.flow().enemiesDestroyed()), valueBeside(f, "LABEL_DESTROYED"));
    EXPECT_EQ(formatString("%d%%", level.economy().interestPercent()), valueBeside(f, "LABEL_INTEREST"));

    // The selected tower tells about itself in the info panel, below its caption.
    xBaseTowerEntity* tower = levelrunner::towerAt(level, 10, 6);
    ASSERT_NE(nullptr, tower);
    ASSERT_EQ(tower, level.bridge().shownTower());
    const TextCall* name = f.find(tower->getName());
    ASSERT_NE(nullptr, name);
    const ImageWidget* info = level.bridge().findBridgeImage(bridgeids::kInfoStrip);
    ASSERT_NE(nullptr, info);
    EXPECT_GT(name->y, info->getY());
    EXPECT_GE(name->x, info->getX());
    EXPECT_TRUE(f.wrote(layout::lookupText("ENERGY")));

    // A lost life and spent credits show in the next frame's drawing.
    swap.font().calls.clear();
    level.loseLife();
    level.economy().add(-1000.0);
    level.drawForeground(&g);
    EXPECT_EQ(std::to_string(level.flow().lives()), valueBeside(f, "LABEL_LIVES"));
    EXPECT_EQ(formatThousands(static_cast<int>(level.economy().credits())), valueBeside(f, "LABEL_CREDITS"));
  });
  EXPECT_TRUE(drawn);
}

TEST(LevelBackground, PathLinesAndArrowsFollowTheOverlayAlphaWhileMarkersStay) {
  bool drawn = false;
  runner().run(battle(301), [&](LevelScreen& level, int frame) {
    if (frame != 300) return;
    drawn = true;
    Texture* arrow = level.getResourceManager()->findTexture("TEX_PATH_ARROW");
    ASSERT_NE(nullptr, arrow);
    size_t segments = 0;
    for (const auto& path : level.model().paths)
      for (const auto& lane : path.second.points) segments += lane.second.empty() ? 0 : lane.second.size() - 1;
    ASSERT_GT(segments, 0u);
    const size_t markers = level.model().entryMarkers.size() + level.model().exitMarkers.size();
    ASSERT_GT(markers, 0u);

    auto pathLines = [](const RecordingGraphics& g, int alpha) {
      size_t n = 0;
      for (const GraphicsCall& c : g.callsOf("drawLine"))
        if (c.color.a == alpha && std::fabs(c.extra - 0.6f * alpha / 255.0f) < 1e-4f) ++n;
      return n;
    };
    auto arrows = [&](const RecordingGraphics& g) {
      size_t n = 0;
      for (const GraphicsCall& c : g.callsOf("drawImage"))
        if (c.texture == arrow) ++n;
      return n;
    };

    RecordingGraphics shown;
    ASSERT_EQ(255, level.hud().pathDisplay());
    level.drawBackground(&shown);
    EXPECT_EQ(segments, pathLines(shown, 255));
    EXPECT_GT(arrows(shown), 0u);
    EXPECT_EQ(markers, shown.callsOf("drawCircle").size());

    // The bridge's hide button takes the overlay away; the markers stay.
    level.onButtonEvent(bridgeids::kPathsHide, bge::ButtonListener::Released);
    ASSERT_EQ(0, level.hud().pathDisplay());
    RecordingGraphics hidden;
    level.drawBackground(&hidden);
    EXPECT_EQ(0u, pathLines(hidden, 0));
    EXPECT_EQ(0u, arrows(hidden));
    EXPECT_EQ(markers, hidden.callsOf("drawCircle").size());
  });
  EXPECT_TRUE(drawn);
}

TEST(LevelDrawing, CountsTimesAndStarsStayInRange) {
  // Counts switch to thousands only above 1000, with the hundreds digit kept.
  EXPECT_EQ("1000", LevelHud::shortCount(1000));
  EXPECT_EQ("1.0k", LevelHud::shortCount(1001));
  EXPECT_EQ("1.2k", LevelHud::shortCount(1234));
  EXPECT_EQ("25.9k", LevelHud::shortCount(25999));
  // A timed level never counts below nothing left.
  EXPECT_EQ("2 min 5 sec", LevelHud::countdownText(125999));
  EXPECT_EQ("0 min 0 sec", LevelHud::countdownText(0));
  EXPECT_EQ("0 min 0 sec", LevelHud::countdownText(-4000));
  // Near stars are opaque and the deepest vanish; a depth of 0, or one outside the
  // field's range, still gives a finite drift and a valid alpha.
  EXPECT_EQ(255, LevelBackground::starAlpha(0.0f));
  EXPECT_EQ(0, LevelBackground::starAlpha(8191.0f));
  EXPECT_EQ(255, LevelBackground::starAlpha(-3.0f));
  EXPECT_EQ(0, LevelBackground::starAlpha(1.0e9f));
  EXPECT_EQ(255, LevelBackground::starAlpha(std::nanf("")));
  for (float depth : {0.0f, -1.0f, 8192.0f, 1.0e9f, std::nanf("")}) {
    EXPECT_TRUE(std::isfinite(LevelBackground::starStep(depth))) << depth;
    EXPECT_GE(LevelBackground::starStep(depth), 0.0f) << depth;
  }
}
