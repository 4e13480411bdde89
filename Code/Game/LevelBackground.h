#pragma once
#include <cstdint>
#include <vector>

#include "Foundation/Math/QlnMath.h"

class Graphics;
class LevelScreen;
class Texture;

// The level's field below the widgets and entities, drawn every frame: the drifting
// star field, the level image, the hovered cell and the buildable cells, the paths
// of the coming wave, the enemy paths with their arrows, the grid, the link line of
// a half-placed pair, the path markers and the checkpoint-restore sweep. It reads
// the level and changes nothing. Made for one frame's drawing.
class LevelBackground {
 public:
  // Stars of the field and how deep they go.
  static constexpr int kStarCount = 500;
  static constexpr float kStarDepth = 8192.0f;

  LevelBackground(const LevelScreen& level, Graphics* g);

  void draw();

  // A star's alpha: near stars (depth 0) opaque, the deepest ones faint. Depth only
  // scales the alpha, so a star at depth 0 (or one outside the range) is as safe
  // as any other.
  static uint8_t starAlpha(float depth);
  // The step of a star's drift in one frame: near stars fall fastest.
  static float starStep(float depth);
  // The star field of a new level (x across twice the screen, y over a band that
  // wraps, a depth each), and one frame of its drift.
  static void makeStars(std::vector<QuillonPHX2D::Vec3>& stars);
  static void moveStars(std::vector<QuillonPHX2D::Vec3>& stars);

 private:
  Texture* texture(const char* key) const;
  // The texture centred on the point and turned to the direction (its picture
  // points up).
  void drawTurned(Texture* t, const QuillonPHX2D::Vec2& at, const QuillonPHX2D::Vec2& direction);
  static uint32_t pathColour(size_t index);

  void drawStars();
  void drawHoveredCell();
  void drawBuildableCells();
  void drawComingPaths();
  void drawPaths();
  void drawPathArrows(const std::vector<QuillonPHX2D::Vec2>& lane, int offset);
  void drawPairLine();
  void drawMarkers();
  void drawSweep();

  const LevelScreen& level_;
  Graphics* g_;  // not owned: the application's graphics
};
