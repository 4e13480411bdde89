// The level's field below the widgets, and the star field's life.
#include "Game/LevelBackground.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <set>

#include "DesignSize.h"
#include "Game/Entities/enemies/xEnemySpawner.h"
#include "Game/BridgeIds.h"
#include "Game/ColourWord.h"
#include "Game/LevelBridge.h"
#include "Game/LevelHud.h"
#include "Game/LevelScreen.h"
#include "GameApp.h"
#include "Graphics.h"
#include "ResourceManager.h"
#include "Texture.h"
#include "widgets/Button.h"

using namespace QuillonPHX2D;

namespace {

constexpr int kCell = PlacementGrid::kCellSize;
constexpr int kFieldWidth = PlacementGrid::kFieldWidth;
constexpr int kFieldHeight = PlacementGrid::kFieldHeight;
// A star falls this far per frame at depth 0, nothing at the deepest.
constexpr float kStarFall = 0.6f;
// Stars live on a 1024-pixel tall band that wraps.
constexpr float kStarBand = 1024.0f;
constexpr int kStarSize = 2;
// Hovered-cell and buildable-cell squares.
const uint32_t kCellFree = 0xA400FF00u;
const uint32_t kCellBlocked = 0xA40000FFu;
const uint32_t kPairLink = 0xFF00FFFFu;
const uint32_t kEntryMarker = 0xFF00FF00u;
const uint32_t kExitMarker = 0xFF0000FFu;
constexpr float kMarkerBrightness = 0.6f;
constexpr float kMarkerRadius = 20.0f;
// Path detail strokes ('v'): wide, faint, a few pixels out along the normals.
constexpr float kDetailWidth = 16.0f;
constexpr float kDetailReach = 3.0f;
constexpr int kDetailAlpha = 40;
// Arrows along a path: one every so many pixels of path, from the path's offset on.
constexpr float kArrowSpacing = 96.0f;
// The coming wave's paths glow under the path lines with the pulse.
constexpr float kComingWidth = 10.0f;
constexpr float kComingAlpha = 56.0f;
// The enemy paths' colours, path by path: yellow, violet, amber, white, cyan, green.
const uint32_t kPathColours[] = {0xFFFFFF00u, 0xFFF03CBCu, 0xFF00AAFFu, 0xFFFFFFFFu, 0xFF00FFFFu, 0xFF00FF00u};

bool onField(const Vec2& p) { return p.x >= 0.0f && p.y >= 0.0f && p.x < kFieldWidth && p.y < kFieldHeight; }

}  // namespace

// --- the star field's life ---

void LevelBackground::makeStars(std::vector<Vec3>& stars) {
  GameApp* app = GameApp::instance();
  const int w = app && app->getScreenWidth() > 0 ? app->getScreenWidth() : bge::kDesignWidth;
  stars.clear();
  stars.reserve(kStarCount);
  for (int i = 0; i < kStarCount; ++i) {
    const float x = static_cast<float>(std::rand() % (2 * w) - w);
    const float y = static_cast<float>(std::rand() % 2048 - 1024);
    const float depth = static_cast<float>(std::rand() % static_cast<int>(kStarDepth));
    stars.push_back(Vec3(x, y, depth));
  }
}

void LevelBackground::moveStars(std::vector<Vec3>& stars) {
  for (Vec3& star : stars) {
    star.y += starStep(star.z);
    if (star.y > kStarBand) star.y -= kStarBand;
  }
}

void LevelScreen::drawBackground(Graphics* g) { LevelBackground(*this, g).draw(); }

// --- drawing ---

LevelBackground::LevelBackground(const LevelScreen& level, Graphics* g) : level_(level), g_(g) {}

uint8_t LevelBackground::starAlpha(float depth) {
  // NaN and out-of-range depths are taken as the nearest edge of the field.
  const float d = depth > 0.0f ? std::min(depth, kStarDepth - 1.0f) : 0.0f;
  return static_cast<uint8_t>(255.0f - d * 255.0f / kStarDepth);
}

float LevelBackground::starStep(float depth) {
  const float d = depth > 0.0f ? std::min(depth, kStarDepth) : 0.0f;
  return kStarFall - d * kStarFall / kStarDepth;
}

Texture* LevelBackground::texture(const char* key) const {
  ResourceManager* r = level_.getResourceManager();
  return r ? r->findTexture(key) : nullptr;
}

uint32_t LevelBackground::pathColour(size_t index) {
  // A seventh path and later take the colours again from the first.
  return kPathColours[index % (sizeof(kPathColours) / sizeof(kPathColours[0]))];
}

void LevelBackground::drawTurned(Texture* t, const Vec2& at, const Vec2& direction) {
  if (!t) return;
  const float degrees = static_cast<float>(std::atan2(direction.y, direction.x) * 180.0 / M_PI) + 90.0f;
  g_->pushMatrix();
  g_->translate(at.x, at.y);
  g_->rotate(degrees, 0.0f, 0.0f, 1.0f);
  g_->drawImage(-t->getWidth() / 2, -t->getHeight() / 2, t, Color::white);
  g_->popMatrix();
}

void LevelBackground::draw() {
  drawStars();
  if (level_.model().background) g_->drawImage(0, 0, level_.model().background, Color::white);
  drawHoveredCell();
  drawBuildableCells();
  drawComingPaths();
  drawPaths();
  if (level_.hud().gridVisible())
    if (Texture* grid = texture("TEX_GRID")) g_->drawImage(0, 0, grid, Color::white);
  drawPairLine();
  drawMarkers();
  drawSweep();
}

void LevelBackground::drawStars() {
  for (const Vec3& star : level_.stars())
    g_->fillRect(static_cast<int>(star.x), static_cast<int>(star.y), kStarSize, kStarSize,
                 Color(255, 255, 255, starAlpha(star.z)));
}

void LevelBackground::drawHoveredCell() {
  const int cell = level_.selection().hoveredCell();
  if (!level_.selection().towerDesc() || !level_.grid().contains(cell)) return;
  const int x = PlacementGrid::columnOf(cell) * kCell, y = PlacementGrid::rowOf(cell) * kCell;
  const int value = level_.grid().stateOf(cell);
  if (value == PlacementGrid::kFree) {
    g_->fillRect(x, y, kCell, kCell, colourWord(kCellFree));
  } else if (value == PlacementGrid::kForbidden) {
    g_->fillRect(x, y, kCell, kCell, colourWord(kCellBlocked));
    if (Texture* no = texture("TEX_CANT_PLACE")) g_->drawImage(x, y, no, Color::white);
  }
}

void LevelBackground::drawBuildableCells() {
  if (!level_.hud().buildableView()) return;
  const PlacementGrid& grid = level_.grid();
  for (int i = 0; i < grid.cellCount(); ++i)
    if (grid.stateOf(i) == PlacementGrid::kFree)
      g_->fillRect(PlacementGrid::columnOf(i) * kCell, PlacementGrid::rowOf(i) * kCell, kCell, kCell, colourWord(kCellFree));
}

void LevelBackground::drawComingPaths() {
  const bge::Button* send = level_.bridge().findCommandButton(bridgeids::kSendWave);
  const bool waiting = (send && send->isVisible()) || !level_.firstTowerPlaced();
  if (!waiting || !level_.spawner()) return;
  const std::vector<int> ids = level_.spawner()->nextWavePathIds();
  const std::set<int> coming(ids.begin(), ids.end());
  const float pulse = std::clamp(level_.hud().pulse(), 0.0f, 1.5f);
  size_t index = 0;
  for (const auto& path : level_.model().paths) {
    const size_t n = index++;
    if (!coming.count(path.first)) continue;
    auto lane = path.second.points.find(PathDescription::Centre);
    if (lane == path.second.points.end()) lane = path.second.points.begin();
    if (lane == path.second.points.end()) continue;
    Color c = colourWord(pathColour(n));
    c.a = static_cast<uint8_t>(kComingAlpha * pulse);
    const std::vector<Vec2>& points = lane->second;
    for (size_t i = 1; i < points.size(); ++i) g_->drawLine(points[i - 1], points[i], kComingWidth, true, c, 0, 0);
  }
}

void LevelBackground::drawPaths() {
  const int value = level_.hud().pathDisplay();
  if (value == 0) return;
  const uint8_t alpha = static_cast<uint8_t>(std::clamp(value, 0, 255));
  const float width = 0.6f * static_cast<float>(value) / 255.0f;
  size_t index = 0;
  for (const auto& path : level_.model().paths) {
    Color c = colourWord(pathColour(index++));
    c.a = alpha;
    Color detail = c;
    detail.a = kDetailAlpha;
    for (const auto& lane : path.second.points) {
      const std::vector<Vec2>& points = lane.second;
      for (size_t i = 1; i < points.size(); ++i) {
        const Vec2& a = points[i - 1];
        const Vec2& b = points[i];
        g_->drawLine(a, b, width, true, c, 0, 0);
        if (!level_.hud().pathDetail()) continue;
        const float dx = b.x - a.x, dy = b.y - a.y;
        const float len = std::sqrt(dx * dx + dy * dy);
        if (len <= 0.0f) continue;  // two points on one spot have no normal
        const Vec2 normal(-dy / len * kDetailReach, dx / len * kDetailReach);
        g_->drawLine(a, a + normal, kDetailWidth, true, detail, 0, 0);
        g_->drawLine(a, a - normal, kDetailWidth, true, detail, 0, 0);
      }
    }
    const auto centre = path.second.points.find(PathDescription::Centre);
    if (centre == path.second.points.end()) continue;
    const auto offset = path.second.arrows.find(PathDescription::Centre);
    drawPathArrows(centre->second, offset == path.second.arrows.end() ? 0 : offset->second);
  }
}

void LevelBackground::drawPathArrows(const std::vector<Vec2>& lane, int offset) {
  Texture* arrow = texture("TEX_PATH_ARROW");
  Texture* entry = texture("TEX_DIRECTION_ICON");
  bool entered = false;
  // Arrows stand at whole spacings of path length, counted from the offset.
  float walked = -static_cast<float>(std::max(offset, 0)), next = kArrowSpacing / 2;
  for (size_t i = 1; i < lane.size(); ++i) {
    const Vec2 d = lane[i] - lane[i - 1];
    const float len = std::sqrt(d.x * d.x + d.y * d.y);
    if (len <= 0.0f) continue;
    if (!entered && onField(lane[i - 1])) {
      // Where the path comes onto the field, its direction shows.
      drawTurned(entry, lane[i - 1], d);
      entered = true;
    }
    walked += len;
    if (walked < next) continue;
    next = walked + kArrowSpacing;
    if (onField(lane[i])) drawTurned(arrow, lane[i], d);
  }
}

void LevelBackground::drawPairLine() {
  if (!level_.selection().placingPair() && !level_.selection().attachingBeacon()) return;
  g_->drawLine(level_.selection().anchor(), level_.selection().hoveredCellCentre(), 2.0f, true, colourWord(kPairLink), 0, 0);
}

void LevelBackground::drawMarkers() {
  const float r = level_.hud().pulse() * kMarkerRadius;
  const Color entry = Color::scaleRgb(colourWord(kEntryMarker), kMarkerBrightness);
  const Color exit = Color::scaleRgb(colourWord(kExitMarker), kMarkerBrightness);
  for (const Vec2& p : level_.model().entryMarkers) g_->drawCircle(p.x, p.y, r, 2.0f, entry);
  for (const Vec2& p : level_.model().exitMarkers) g_->drawCircle(p.x, p.y, r, 2.0f, exit);
}

void LevelBackground::drawSweep() {
  if (!level_.hud().sweepRunning()) return;
  const float x = level_.hud().sweep();
  const int alpha = std::clamp(static_cast<int>(x * 255.0f / 1024.0f), 0, 255);
  g_->drawLine(Vec2(x, 0.0f), Vec2(x, static_cast<float>(kFieldHeight)), 2.0f, false, Color(255, 255, 255, alpha), 0, 0);
  if (Texture* raster = texture("TEX_RESTORE_RASTER")) g_->drawImage(static_cast<int>(x), 0, raster, Color::white);
}
