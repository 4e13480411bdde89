#pragma once
#include <cstdint>
#include <string>

#include "Color.h"
#include "Rect5.h"

class Font;
class Graphics;
class LevelScreen;
class Texture;

// A colour written as one word with red in the lowest byte and alpha in the highest
// (0xAABBGGRR), as the level's drawing names its colours.
inline Color colourWord(uint32_t word) {
  return Color(word & 0xFF, (word >> 8) & 0xFF, (word >> 16) & 0xFF, (word >> 24) & 0xFF);
}

// The level's heads-up display, drawn above the widgets every frame: the bridge
// panels' captions and counters, the checkpoint bar, the info panel, the placement
// preview and hints, the cross-hair, the new-wave banner, the countdown, the
// checkpoint message, the wave list and the difficulty badge. It reads the level and
// changes nothing. Made for one frame's drawing.
class LevelHud {
 public:
  LevelHud(LevelScreen& level, Graphics* g);

  void draw();
  // Outlines the widget under the pointer and names the station and mission.
  void drawDebugOverlay();

  // A count of the wave list: "%d", or above 1000 the thousands and the hundreds
  // digit ("1.2k").
  static std::string shortCount(int n);
  // The time left of a timed level, "%d min %d sec"; nothing left reads 0 min 0 sec.
  static std::string countdownText(long long remainingMs);

 private:
  Texture* texture(const char* key) const;
  Font* font(const char* id) const;
  std::string label(const std::string& key) const;
  void caption(float x, float y, const char* key);

  void drawBadge();
  void drawStatistics();
  void drawTowersPanel();
  void drawCommandPanel();
  void drawCheckpointBar(float x, float y);
  void drawInfoPanel();
  void drawInfoText(const Rect5& area);
  void drawPlacementPreview();
  void drawPlacementHints();
  void drawCrosshair();
  void drawBanner();
  void drawCountdown();
  void drawMessage();
  void drawWaveList();
  int waveListY() const;

  LevelScreen& level_;
  Graphics* g_;
  Font* small_;  // not owned: the panel font, or null when it cannot be had
};
