#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "Color.h"
#include "Point2i.h"
#include "Rect5.h"

class Font;
class Graphics;
class LevelScreen;
class TinyAction;
class Texture;
namespace bge {
class ActionListener;
}

// The level's heads-up display above the widgets: the bridge panels' captions and
// counters, the checkpoint bar, the info panel, the placement preview and hints, the
// cross-hair, the new-wave banner, the countdown, the checkpoint message, the wave
// list and the difficulty badge. It owns what the display animates (the pulse, the
// banner and message fades, the restore sweep) and the views the player toggles; it
// reads the rest from the level and changes nothing there.
class LevelHud {
 public:
  // The path display: the overlay's alpha while shown, and hidden.
  static constexpr int kPathsShown = 255;
  static constexpr int kPathsHidden = 0;

  // It reads the level through its const accessors; the level owns it.
  explicit LevelHud(const LevelScreen& level);
  ~LevelHud();

  // The pulse (running from here on), the banner and message fades and the sweep.
  void makeAnimations();
  // One frame of the banner, the message and the sweep; the pulse runs at the frame's end.
  void updateFades(int dt);
  void updatePulse(int dt);
  // The new-wave banner fades in, stays and fades out.
  void announce();
  // The label's text fades in, stays and fades out; the listener hears the id at its
  // end. False when there is no fade to show it in.
  bool showMessage(const char* labelKey, bge::ActionListener* listener, int id);
  // The restore sweep crosses the field from right to left; the listener hears the id
  // when it has. False when it runs already or cannot run.
  bool startSweep(bge::ActionListener* listener, int id);
  bool sweepRunning() const;
  // The x the sweep has reached, and the pulse (1 at rest, 0.5 to 1.5).
  float sweep() const { return sweep_; }
  float pulse() const { return pulse_; }

  // --- the views the player toggles ---
  bool gridVisible() const { return gridVisible_; }
  void toggleGrid() { gridVisible_ = !gridVisible_; }
  bool crosshairVisible() const { return crosshair_; }
  void toggleCrosshair() { crosshair_ = !crosshair_; }
  bool pathDetail() const { return pathDetail_; }
  void togglePathDetail() { pathDetail_ = !pathDetail_; }
  bool buildableView() const { return buildableView_; }
  void toggleBuildableView() { buildableView_ = !buildableView_; }
  int pathDisplay() const { return pathDisplay_; }
  void setPathDisplay(int value) { pathDisplay_ = value; }

  // --- the pointer: its position copied every frame, and whether it is on the bridge ---
  const Point2i& pointerPos() const { return pointerPos_; }
  void setPointerPos(const Point2i& p) { pointerPos_ = p; }
  bool pointerOverBridge() const { return pointerOverBridge_; }
  void setPointerOverBridge(bool over) { pointerOverBridge_ = over; }

  // Whether the area keeps clear of every lane's entry and exit marker.
  bool clearOfLaneEnds(float x, float y, float w, float h) const;
  // Whether it also keeps clear of every lane's lines along their whole length.
  bool clearOfLanes(float x, float y, float w, float h) const;

  void draw(Graphics* g);
  // Outlines the widget under the pointer and names the station and mission.
  void drawDebugOverlay(Graphics* g);

  // A count of the wave list: "%d", or above 1000 the thousands and the hundreds
  // digit ("1.2k").
  static std::string shortCount(int n);
  // The time left of a timed level, "%d min %d sec"; nothing left reads 0 min 0 sec.
  static std::string countdownText(long long remainingMs);

 private:
  // Set for one frame's drawing.
  void beginFrame(Graphics* g);
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

  const LevelScreen& level_;
  Graphics* g_ = nullptr;  // not owned: the frame's graphics, while drawing
  Font* small_ = nullptr;  // not owned: the panel font, or null when it cannot be had

  std::unique_ptr<TinyAction> pulseAction_;
  float pulse_ = 1.0f;
  std::unique_ptr<TinyAction> announceAction_;
  int announceAlpha_ = 0;
  std::unique_ptr<TinyAction> messageAction_;
  int messageAlpha_ = 0;
  std::string message_;
  std::unique_ptr<TinyAction> sweepAction_;
  float sweep_ = 0.0f;

  bool gridVisible_ = true;
  bool crosshair_ = true;
  bool pathDetail_ = false;
  bool buildableView_ = false;
  int pathDisplay_ = kPathsShown;
  Point2i pointerPos_;
  bool pointerOverBridge_ = false;
};
