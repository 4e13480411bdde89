// The level's heads-up display: everything drawn above the widgets.
#include "Game/LevelHud.h"

#include "Game/InfoPanelText.h"

#include <algorithm>
#include <limits>

#include "DesignSize.h"
#include "Font.h"
#include "Game/Entities/enemies/SimpleEnemyEntity.h"
#include "Game/Entities/enemies/xEnemySpawner.h"
#include "Game/Entities/towers/xBaseTowerEntity.h"
#include "Game/BridgeIds.h"
#include "Game/ColourWord.h"
#include "Game/LevelBridge.h"
#include "Game/LevelScreen.h"
#include "GameApp.h"
#include "Graphics.h"
#include "Game/TowerCommandWidget.h"
#include "ResourceManager.h"
#include "System/GameFonts.h"
#include "Texture.h"
#include "Utilities.h"
#include "WidgetManager.h"
#include "tinyaction/TinyAction.h"
#include "widgets/Button.h"
#include "widgets/CheckBox.h"
#include "widgets/ImageWidget.h"
#include "widgets/LayoutReading.h"

namespace {

// Colours of the panels' texts and marks.
const uint32_t kCaptionGrey = 0xFF404040u;
const uint32_t kRowOrange = 0xFF45C4FFu;
const uint32_t kAmber = 0xFF00AAFFu;
const uint32_t kGreen = 0xFF00FF00u;
const uint32_t kRed = 0xFF0000FFu;
const uint32_t kYellow = 0xFF00FFFFu;
const uint32_t kPreviewFree = 0x4000F000u;
const uint32_t kPreviewBlocked = 0x400000F0u;
const uint32_t kCrosshairLine = 0x20FFFFFFu;
const uint32_t kPointerRing = 0x80B8FF00u;
const uint32_t kSpeedOverlay = 0x40FFFF00u;

constexpr int kCaptionDx = 16;
constexpr int kCaptionDy = 2;
// The info texts' lines are 23 pixels apart from y 406 on; this margin keeps the
// panel's last 8 pixels, where a line's top would show cut in half, empty.
constexpr int kInfoBottomMargin = 4;
// The info texts' area inside its panel: below the caption band, inset from the edges.
constexpr float kInfoTop = 24.0f;
constexpr float kInfoInset = 6.0f;
// Between a build button's figures and its kind's description.
constexpr float kHoverGap = 4.0f;
// Between a placement hint and the trade section's caption below it.
constexpr float kHintGap = 4.0f;
// The playfield the banner, the countdown and the wave list are centred on.
constexpr int kFieldWidth = PlacementGrid::kFieldWidth;
constexpr int kFieldHeight = PlacementGrid::kFieldHeight;
// The pointer's cross-hair leaves this much room round the pointer.
constexpr int kCrosshairGap = 8;
// Checkpoint bar: 300 pixels for the whole level, a bracket every fifth of it.
constexpr float kBarLength = 300.0f;
constexpr float kBracketStep = 60.0f;
constexpr float kCheckpointBlock = 236.0f;
// Wave list: one entry per wave record from x 838 to the field's edge.
constexpr int kWaveListX = 838;
constexpr int kWaveListY = 6;
constexpr int kWaveIcon = 24;
constexpr int kWaveIconLarge = 30;
constexpr int kWavePitch = 26;
// An icon, its count below it and the endless run's energy: the list's height.
constexpr int kWaveListHeight = kWaveIconLarge + 1 + 2 * 16;
// How far a lane's entry or exit marker reaches round its point.
constexpr float kMarkerClearance = 36.0f;
// How far a lane's drawn tube reaches round its lines, and the step its segments are
// walked at when an area is tried against them.
constexpr float kLaneClearance = 12.0f;
constexpr float kLaneStep = 4.0f;
// The checkpoint message box.
constexpr int kMessageX = 892;
constexpr int kMessageY = 720;
constexpr int kMessageW = 128;
constexpr int kMessagePadding = 8;
constexpr int kMessageGap = 6;
constexpr int kMessageH = 40;

// Each enemy class's picture (the class badges of the global list) and colour.
struct ClassLook {
  const char* name;
  const char* image;
  uint32_t colour;
};
const ClassLook kClassLooks[] = {
    {"scout", "TEX_SHIELD_SCOUT", 0xFFFFFF00u},
    {"rower", "TEX_SHIELD_ROWER", 0xFF0000FFu},
    {"grasshopper", "TEX_SHIELD_GRASSHOPPER", 0xFF00FFFFu},
    {"spacedog", "TEX_SHIELD_SPACEDOG", 0xFFF03CBCu},
    {"bull", "TEX_SHIELD_BULL", 0xFFFF00FFu},
    {"catcher", "TEX_SHIELD_CATCHER", 0xFF008000u},
    {"hellraiser", "TEX_SHIELD_HELLRAISER", 0xFF00AAFFu},
    {"destroyer", "TEX_SHIELD_DESTROYER", 0xFFFFD200u},
};
// A class the table does not know looks like a scout in green.
const ClassLook kUnknownClass = {"", "TEX_SHIELD_SCOUT", 0xFF00FF00u};

const ClassLook& lookOf(const std::string& className) {
  for (const ClassLook& look : kClassLooks)
    if (className == look.name) return look;
  return kUnknownClass;
}

Rect5 box(float x, float y, float w, float h) { return Rect5(x, y, w, h); }

uint8_t byteOf(int value) { return static_cast<uint8_t>(std::clamp(value, 0, 255)); }

Color withAlpha(Color c, int alpha) {
  c.a = byteOf(alpha);
  return c;
}

void drawWhole(Graphics* g, Texture* t, int x, int y, int w, int h, const Color& c) {
  if (!t) return;
  const SourceRect whole(0.0f, 0.0f, static_cast<float>(t->getWidth()), static_cast<float>(t->getHeight()));
  g->drawImage(x, y, static_cast<unsigned>(w), static_cast<unsigned>(h), t, whole, c);
}

}  // namespace

LevelHud::LevelHud(const LevelScreen& level) : level_(level) {}

LevelHud::~LevelHud() = default;

void LevelHud::beginFrame(Graphics* g) {
  g_ = g;
  small_ = font("FONT_NOTOSANS16");
}

std::string LevelHud::shortCount(int n) {
  if (n <= 1000) return formatString("%d", n);
  return formatString("%d.%ck", n / 1000, static_cast<char>('0' + (n % 1000) / 100));
}

std::string LevelHud::countdownText(long long remainingMs) {
  const long long s = remainingMs > 0 ? remainingMs / 1000 : 0;
  return formatString("%d min %d sec", static_cast<int>(s / 60), static_cast<int>(s % 60));
}

Texture* LevelHud::texture(const char* key) const {
  // The level's own list first; the difficulty badges are in the global one.
  if (ResourceManager* r = level_.getResourceManager())
    if (Texture* t = r->findTexture(key)) return t;
  GameApp* app = GameApp::instance();
  ResourceManager* global = app ? app->globalResourceManager() : nullptr;
  return global ? global->findTexture(key) : nullptr;
}

Font* LevelHud::font(const char* id) const { return findOrLoadFont(level_.getResourceManager(), id); }

std::string LevelHud::label(const std::string& key) const { return layout::lookupText(key); }

void LevelHud::caption(float x, float y, const char* key) {
  if (small_)
    small_->drawText(g_, static_cast<int>(x) + kCaptionDx, static_cast<int>(y) + kCaptionDy, label(key),
                     colourWord(kCaptionGrey));
}

void LevelHud::draw(Graphics* g) {
  beginFrame(g);
  if (level_.getPhase() == PhaseExiting) {
    // While the level fades out nothing of it shows through the fade.
    GameApp* app = GameApp::instance();
    const int w = app && app->getScreenWidth() > 0 ? app->getScreenWidth() : bge::kDesignWidth;
    const int h = app && app->getScreenHeight() > 0 ? app->getScreenHeight() : kFieldHeight;
    g_->fillRect(-100, -100, w + 200, h + 200, colourWord(0xFF000000u));
    return;
  }
  drawBadge();
  drawStatistics();
  drawTowersPanel();
  drawCommandPanel();
  drawInfoPanel();
  drawPlacementPreview();
  drawPlacementHints();
  drawCrosshair();
  drawBanner();
  drawCountdown();
  drawMessage();
  drawWaveList();
}

void LevelHud::drawBadge() {
  static const char* const kBadges[] = {"TEX_DIFF_EASY_ON", "TEX_DIFF_NORMAL_ON", "TEX_DIFF_HARD_ON"};
  const int d = level_.difficulty();
  if (d < 0 || d > 2) return;
  if (Texture* t = texture(kBadges[d])) g_->drawImage(bge::kDesignWidth - t->getWidth(), 6, t, Color::white);
}

void LevelHud::drawStatistics() {
  const ImageWidget* panel = level_.bridge().findBridgeImage(bridgeids::kStatsStrip);
  if (!panel || !small_) return;
  const float x = panel->getX(), y = panel->getY();
  caption(x, y, "CAPTION_STATS");
  const Color grey = colourWord(kCaptionGrey), orange = colourWord(kRowOrange);
  small_->drawTextAligned(g_, box(x + 140, y + 2, 100, 20), label("LABEL_LEVEL_TIME"), grey, Font::AlignLeft, 3,
                          false);
  small_->drawTextAligned(g_, box(x + 200, y + 2, 100, 20),
                          formatString("%u", static_cast<unsigned>(level_.flow().levelSeconds())), grey, Font::AlignRight, 3,
                          false);

  const bool endless = level_.gameMode() == MODE_ENDLESS;
  const xEnemySpawner* spawner = level_.spawner();
  const int wave = spawner ? spawner->currentWave() + 1 : 0;
  const int waves = spawner ? spawner->waveCount() : 0;
  struct Row {
    float x, y;
    const char* key;
    std::string value;
  };
  const Row rows[] = {
      {8, 26, "LABEL_WAVE", endless ? formatString("%d / ?", wave) : formatString("%d / %d", wave, waves)},
      {8, 42, "LABEL_LIVES", formatString("%d", level_.flow().lives())},
      {8, 58, "LABEL_SCORE", formatThousands(level_.flow().score())},
      {140, 26, "LABEL_CREDITS", formatThousands(static_cast<int>(level_.economy().credits()))},
      {140, 42, "LABEL_INTEREST", formatString("%d%%", level_.economy().interestPercent())},
      {140, 58, "LABEL_DESTROYED", formatString("%d", level_.flow().enemiesDestroyed())},
  };
  for (const Row& row : rows) {
    small_->drawTextAligned(g_, box(x + row.x, y + row.y, 150, 20), label(row.key), orange, Font::AlignLeft, 3,
                            false);
    // Values end at the right edge of their column, clear of the labels.
    const float valueX = row.x < 100 ? x + 18 : x + 200;
    small_->drawTextAligned(g_, box(valueX, y + row.y, 100, 20), row.value, orange, Font::AlignRight, 3, false);
  }
}

void LevelHud::drawTowersPanel() {
  const ImageWidget* panel = level_.bridge().findBridgeImage(bridgeids::kTowerBay);
  if (!panel || !small_) return;
  small_->drawText(g_, static_cast<int>(panel->getX()) + kCaptionDx, static_cast<int>(panel->getY()) + kCaptionDy,
                   label("CAPTION_TOWERS") + "-" + label("GAMEMODE") + level_.modeName(), colourWord(kCaptionGrey));
  if (const Widget* check = level_.bridge().autoWaveBox()) {
    if (!check->isVisible()) return;
    // Above the check box, centred on it: the buttons fill the row beside it.
    const float cx = check->getX() + check->getWidth() / 2;
    small_->drawTextAligned(g_, box(cx - 30, check->getY() - 22, 60, 18), label("AUTO_SEND"),
                            Color::white, Font::AlignCenter, 3, false);
  }
}

void LevelHud::drawCommandPanel() {
  const ImageWidget* panel = level_.bridge().findBridgeImage(bridgeids::kCommandStrip);
  if (!panel || level_.gameMode() == MODE_ENDLESS) return;
  caption(panel->getX(), panel->getY(), "CAPTION_TOWERCOMMANDS");
  // The bar keeps to the panel's foot, below the tower commands, however tall
  // the panel is: its offsets count from 236 above the panel's bottom edge.
  if (level_.firstTowerPlaced())
    drawCheckpointBar(panel->getX(), panel->getY() + panel->getHeight() - kCheckpointBlock);
}

void LevelHud::drawCheckpointBar(float x, float y) {
  if (small_) small_->drawText(g_, static_cast<int>(x) + 4, static_cast<int>(y) + 190, label("CHECK_POINTS"), Color::white);
  const Color amber = colourWord(kAmber);
  const float left = x + 8, bar = y + 222;
  g_->fillRect(static_cast<int>(left), static_cast<int>(bar), static_cast<int>(kBarLength), 4, amber);
  for (float tick : {left, left + kBarLength})
    g_->drawLine(Graphics::Vec2(tick, y + 220), Graphics::Vec2(tick, y + 228), 2.0f, false, amber, 0, 0);
  const float p = level_.spawner() ? std::clamp(level_.spawner()->waveProgress(), 0.0f, 1.0f) : 0.0f;
  const float mark = left + p * kBarLength;
  g_->drawLine(Graphics::Vec2(mark, bar - 4), Graphics::Vec2(mark, bar + 8), 4.0f, false, amber, 0, 0);
  for (int i = 1; i <= 4; ++i) {
    const bool reached = p * kBarLength >= i * kBracketStep;
    g_->drawCircle(left + i * kBracketStep, bar + 2, 5.0f, 1.0f, reached ? amber : Color::scaleRgb(amber, 0.5f));
  }
  if (Texture* arrow = texture("TEX_PROGRESS_ARROW"))
    g_->drawImage(static_cast<int>(mark) - 12, static_cast<int>(bar) - 4 - arrow->getHeight(), arrow, Color::white);
}

void LevelHud::drawInfoPanel() {
  const ImageWidget* panel = level_.bridge().findBridgeImage(bridgeids::kInfoStrip);
  if (!panel) return;
  caption(panel->getX(), panel->getY(), "CAPTION_INFO");

  if (xBaseTowerDesc* chosen = level_.selection().towerDesc()) {
    const auto& kinds = level_.towerDescriptions();
    const auto it = std::find(kinds.begin(), kinds.end(), chosen);
    const bge::Button* button =
        it == kinds.end() ? nullptr : level_.bridge().findTowerButton(bridgeids::kTowerButtonBase + static_cast<int>(it - kinds.begin()));
    Texture* frame = texture("TEX_TOWERSELECTED");
    if (button && button->isVisible() && frame)
      g_->drawImage(static_cast<int>(button->getX()) - 3, static_cast<int>(button->getY()) - 4, frame, Color::white);
  }
  if (level_.selection().buttonHovered())
    if (Texture* over = texture("TEX_TOWER_OVER"))
      g_->drawImage(static_cast<int>(level_.selection().buttonX()) - 5, static_cast<int>(level_.selection().buttonY()) - 5, over,
                    Color::white);

  // The button under the pointer tells about its kind; else the picked enemy or
  // the tower in the command panel tells about itself, below the caption band.
  // Nothing is cut: every text is written to fit the panel (the layout check
  // draws each of them and fails on any line past its edge).
  drawInfoText(Rect5(panel->getX() + kInfoInset, panel->getY() + kInfoTop, panel->getWidth() - 2 * kInfoInset,
                     panel->getHeight() - kInfoTop - kInfoBottomMargin));
}

void LevelHud::drawInfoText(const Rect5& area) {
  if (!level_.selection().buttonText().empty()) {
    if (!small_) return;
    // The figures, one per line, then the kind's description below them,
    // however many lines each takes.
    InfoPanelText text(g_, small_, area);
    text.wrapped(level_.selection().buttonText(), Color::white);
    text.gap(kHoverGap);
    if (!level_.selection().buttonInfoKey().empty()) text.wrapped(label(level_.selection().buttonInfoKey()), Color::white);
  } else if (xSimpleEnemy* enemy = level_.selection().enemy()) {
    // The enemy also marks itself on the field, outside the panel.
    enemy->infoText(*g_, area);
  } else if (xBaseTowerEntity* tower = level_.bridge().shownTower()) {
    tower->infoText(g_, area);
  }
}

void LevelHud::drawPlacementPreview() {
  xBaseTowerDesc* desc = level_.selection().towerDesc();
  const int cell = level_.selection().hoveredCell();
  if (!desc || !level_.grid().contains(cell)) return;
  const QuillonPHX2D::Vec2 centre = PlacementGrid::centreOf(cell);
  const float cx = centre.x, cy = centre.y;
  const bool free = level_.grid().stateOf(cell) == PlacementGrid::kFree;
  // The range reaches as far as the field does, not over the bridge.
  g_->setScissor(0, 0, kFieldWidth, kFieldHeight);
  g_->enableScissor(true, 0);
  g_->fillCircle(cx, cy, desc->range, 0.0f, colourWord(free ? kPreviewFree : kPreviewBlocked));
  g_->drawCircle(cx, cy, desc->range, 1.0f, colourWord(free ? kGreen : kRed));
  g_->enableScissor(false, 0);
  // The ghost tower: the chosen button's picture on the cell.
  const auto& kinds = level_.towerDescriptions();
  const auto it = std::find(kinds.begin(), kinds.end(), desc);
  const bge::Button* button =
      it == kinds.end() ? nullptr : level_.bridge().findTowerButton(bridgeids::kTowerButtonBase + static_cast<int>(it - kinds.begin()));
  Texture* ghost = button ? button->getNormalTexture() : desc->texture;
  if (ghost)
    g_->drawImage(static_cast<int>(cx) - ghost->getWidth() / 2, static_cast<int>(cy) - ghost->getHeight() / 2, ghost,
                  Color::white);
}

void LevelHud::drawPlacementHints() {
  const ImageWidget* panel = level_.bridge().findBridgeImage(bridgeids::kCommandStrip);
  const xBaseTowerDesc* desc = level_.selection().towerDesc();
  if (!panel) return;
  const char* step = nullptr;
  // The second step first: once the first half stands the build choice is let go.
  if (level_.selection().placingPair()) step = "TOWER_DT_STEP_2";
  else if (level_.selection().attachingBeacon()) step = "TOWER_WT_STEP_2";
  else if (desc && desc->towerType == "TOWER_NAME_DT") step = "TOWER_DT_STEP_1";
  else if (desc && desc->towerType == "TOWER_NAME_WT") step = "TOWER_WT_STEP_1";
  Font* f = font("FONT_NOTOSANS20");
  if (!step || !f) return;
  // A place of its own: the panel's top, which a drone station or a beacon (no
  // targeting, no upgrades) leaves empty, down to the trade section.
  const float x = panel->getX() + 6, w = panel->getWidth() - 12;
  const float top = panel->getY() + 26, descTop = panel->getY() + 58;
  const float bottom = std::max(descTop, static_cast<float>(bridgeids::kTradeCaptionY) - kHintGap);
  f->drawTextAligned(g_, box(x, top, w, descTop - top), label(step), Color::white, Font::AlignLeft, 3, true);
  f->drawTextAligned(g_, box(x, descTop, w, bottom - descTop), label(std::string(step) + "_DESC"), colourWord(kGreen),
                     Font::AlignLeft, 3, true);
}

void LevelHud::drawCrosshair() {
  const float px = static_cast<float>(pointerPos_.x), py = static_cast<float>(pointerPos_.y);
  const float gap = kCrosshairGap;
  if (crosshair_) {
    // The lines belong to the field, as the ring does: cut at its edge, never drawn
    // over the bridge, wherever the pointer is.
    const Color c = colourWord(kCrosshairLine);
    g_->setScissor(0, 0, kFieldWidth, kFieldHeight);
    g_->enableScissor(true, 0);
    g_->drawLine(Graphics::Vec2(0, py), Graphics::Vec2(px - gap, py), 1.0f, false, c, 0, 0);
    g_->drawLine(Graphics::Vec2(px + gap, py), Graphics::Vec2(bge::kDesignWidth, py), 1.0f, false, c, 0, 0);
    g_->drawLine(Graphics::Vec2(px, 0), Graphics::Vec2(px, py - gap), 1.0f, false, c, 0, 0);
    g_->drawLine(Graphics::Vec2(px, py + gap), Graphics::Vec2(px, kFieldHeight), 1.0f, false, c, 0, 0);
    g_->enableScissor(false, 0);
  }
  if (level_.selection().towerDesc() && level_.selection().hoveredCell() != -1) {
    if (Texture* aimer = texture("TEX_AIMER")) {
      g_->pushMatrix();
      g_->translate(px, py);
      g_->rotate(pulse_ * 180.0f, 0.0f, 0.0f, 1.0f);
      g_->drawImage(-aimer->getWidth() / 2, -aimer->getHeight() / 2, aimer, Color::white);
      g_->popMatrix();
    }
  } else if (!level_.selection().towerDesc() && crosshair_ && px < kFieldWidth) {
    // The ring belongs to the field: near its edge it is cut there, never drawn
    // over the bridge.
    g_->setScissor(0, 0, kFieldWidth, kFieldHeight);
    g_->enableScissor(true, 0);
    g_->drawCircle(px, py, pulse_ * 66.0f * 0.75f, 1.0f, colourWord(kPointerRing));
    g_->enableScissor(false, 0);
  }
}

void LevelHud::drawBanner() {
  if (!announceAction_ || !announceAction_->isRunning()) return;
  const Color c = withAlpha(Color::white, announceAlpha_);
  if (Texture* bg = texture("TEX_NEWGAME_BG")) g_->drawImage((kFieldWidth - bg->getWidth()) / 2, 293, bg, c);
  if (Font* big = font("FONT_NOTOSANS46"))
    big->drawTextAligned(g_, box(0, 320, kFieldWidth, 46), label("LABEL_NEWWAVE"), c, Font::AlignCenter,
                         Font::AlignMiddle, false);
}

void LevelHud::drawCountdown() {
  if (!level_.bridge().ready()) return;
  if (level_.model().gameplayType == kGameplayTimer) {
    const long long left = level_.state() == kLevelOver ? 0
                                                       : static_cast<long long>(level_.model().timerLimitMs) -
                                                             level_.flow().countdownElapsedMs();
    if (Font* big = font("FONT_NOTOSANS46"))
      big->drawTextAligned(g_, box(0, 0, kFieldWidth, 64), countdownText(left), colourWord(kYellow), Font::AlignCenter,
                           Font::AlignMiddle, false);
    return;
  }
  // Fast forward is on while the normal-speed button shows: it glows.
  const bge::Button* normal = level_.bridge().findCommandButton(bridgeids::kSpeedNormal);
  if (normal && normal->isVisible())
    g_->fillRect(static_cast<int>(normal->getX()) + 2, static_cast<int>(normal->getY()) + 2,
                 static_cast<int>(normal->getWidth()) - 4, static_cast<int>(normal->getHeight()) - 4,
                 colourWord(kSpeedOverlay));
}

void LevelHud::drawMessage() {
  if (!messageAction_ || !messageAction_->isRunning()) return;
  const int alpha = messageAlpha_;
  // The box widens to the left for a message longer than it, keeping its right edge.
  const int textW = small_ ? small_->textWidth(message_) + 2 * kMessagePadding : 0;
  const int w = std::max(kMessageW, textW);
  const int x = kMessageX + kMessageW - w;
  // Above the wave list when that has gone down to the bottom corner.
  const int listY = waveListY();
  const int y = listY == kWaveListY ? kMessageY : listY - kMessageH - kMessageGap;
  g_->fillRect(x, y, w, kMessageH, Color(255, 0, 255, byteOf(alpha)));
  g_->drawRect(x, y, w, kMessageH, withAlpha(Color::white, alpha), false);
  if (small_)
    small_->drawTextAligned(g_, box(x, y, w, kMessageH), message_, withAlpha(Color::white, alpha),
                            Font::AlignCenter, Font::AlignMiddle, false);
}

// The list runs along the field's top right edge, unless a lane enters or leaves
// there: then it goes to the bottom right, where it would hide no marker.
int LevelHud::waveListY() const {
  const int top = kWaveListY;
  const int bottom = kFieldHeight - kWaveListY - kWaveListHeight;
  // Right to the end: a lane leaving past the field's edge there counts too.
  auto clear = [&](int y) {
    return clearOfLaneEnds(kWaveListX, static_cast<float>(y), std::numeric_limits<float>::infinity(), kWaveListHeight);
  };
  return clear(top) || !clear(bottom) ? top : bottom;
}

bool LevelHud::clearOfLaneEnds(float x, float y, float w, float h) const {
  for (const auto* markers : {&level_.model().entryMarkers, &level_.model().exitMarkers})
    for (const QuillonPHX2D::Vec2& p : *markers)
      if (p.x + kMarkerClearance > x && p.x - kMarkerClearance < x + w && p.y + kMarkerClearance > y &&
          p.y - kMarkerClearance < y + h)
        return false;
  return true;
}

bool LevelHud::clearOfLanes(float x, float y, float w, float h) const {
  if (!clearOfLaneEnds(x, y, w, h)) return false;
  const float left = x - kLaneClearance, right = x + w + kLaneClearance;
  const float top = y - kLaneClearance, bottom = y + h + kLaneClearance;
  auto inside = [&](float px, float py) { return px > left && px < right && py > top && py < bottom; };
  for (const auto& path : level_.model().paths)
    for (const auto& lane : path.second.points) {
      const std::vector<QuillonPHX2D::Vec2>& points = lane.second;
      for (size_t i = 0; i < points.size(); ++i) {
        if (inside(points[i].x, points[i].y)) return false;
        if (i == 0) continue;
        const QuillonPHX2D::Vec2& a = points[i - 1];
        const QuillonPHX2D::Vec2& b = points[i];
        const float dx = b.x - a.x, dy = b.y - a.y;
        const int steps = static_cast<int>(std::sqrt(dx * dx + dy * dy) / kLaneStep);
        for (int k = 1; k < steps; ++k) {
          const float t = static_cast<float>(k) / static_cast<float>(steps);
          if (inside(a.x + dx * t, a.y + dy * t)) return false;
        }
      }
    }
  return true;
}

void LevelHud::drawWaveList() {
  const auto& entries = level_.model().enemyCatalogue;
  const xEnemySpawner* spawner = level_.spawner();
  // The running wave and the ones to come, as many as fit beside the field's edge.
  const int first = spawner ? std::max(spawner->currentWave(), 0) : 0;
  const bool endless = level_.gameMode() == MODE_ENDLESS;
  int x = kWaveListX;
  const int listY = waveListY();
  if (endless && spawner && small_) {
    // What every ship of the endless run carries now.
    small_->drawTextAligned(g_, box(x - 160, listY + kWaveIcon, 156, 16), label("LABEL_ENDLESS_ENERGY"),
                            Color::white, Font::AlignRight, Font::AlignMiddle, false);
    small_->drawTextAligned(g_, box(x - 160, listY + kWaveIcon + 16, 156, 16),
                            shortCount(spawner->endlessEnergy()), Color::white, Font::AlignRight, Font::AlignMiddle,
                            false);
  }
  for (const EnemyCatalogueEntry& entry : entries) {
    if (entry.attackId < first) continue;
    if (x + kWaveIcon > kFieldWidth) break;
    const ClassLook& look = lookOf(entry.className);
    const Color colour = colourWord(look.colour);
    const bool next = entry.attackId == level_.flow().nextWave();
    const int size = next && pointerOverBridge_ ? kWaveIconLarge : kWaveIcon;
    const int ix = x + (kWaveIcon - size) / 2, iy = listY;
    Texture* icon = texture(look.image);
    g_->fillRect(ix, iy, size, size, Color(colour.r, colour.g, colour.b, next ? 96 : 40));
    drawWhole(g_, icon, ix, iy, size, size, Color::white);
    g_->drawRect(ix, iy, size, size, next ? Color::white : colour, false);
    if (small_)
      small_->drawTextAligned(g_, box(x, iy + size + 1, kWaveIcon, 16), shortCount(entry.count), colour,
                              Font::AlignCenter, Font::AlignMiddle, false);
    x += kWavePitch;
  }
}

void LevelHud::drawDebugOverlay(Graphics* g) {
  beginFrame(g);
  const Point2i& p = pointerPos_;
  if (WidgetManager* manager = level_.getWidgetManager()) {
    if (Widget* w = manager->findWidgetAt(p.x, p.y)) {
      g_->fillRect(static_cast<int>(w->getX()), static_cast<int>(w->getY()), static_cast<int>(w->getWidth()),
                   static_cast<int>(w->getHeight()), Color(255, 0, 0, 48));
      g_->drawRect(static_cast<int>(w->getX()), static_cast<int>(w->getY()), static_cast<int>(w->getWidth()),
                   static_cast<int>(w->getHeight()), Color(255, 255, 0, 160), false);
    }
  }
  if (small_) small_->drawText(g_, 4, kFieldHeight - 20, formatString("%d-%d", level_.missionId() / 3, level_.missionId() % 3), Color::white);
}

void LevelScreen::drawForeground(Graphics* g) { hud_.draw(g); }

void LevelScreen::drawDebugOverlay(Graphics* g) { hud_.drawDebugOverlay(g); }
