#pragma once
#include <string>
#include <vector>

#include "Color.h"
#include "Widget.h"

class Font;

// A caption drawn as one particle per glyph: the letters fly in from random
// places and settle on the places the font lays them out at, or fly apart
// while scattered. '#' switches between the two colours and takes no room.
class SwarmText : public Widget {
 public:
  // Pull towards (or away from) the glyph's place, and the velocity's damping.
  static constexpr float kSteer = 46.0f;
  static constexpr float kDamping = 0.5f;
  // Beyond this distance a glyph is fully transparent.
  static constexpr float kFadeDistance = 150.0f;
  // A gathering glyph this close (squared) snaps onto its place.
  static constexpr float kSnapDistanceSq = 2.0f;

  struct Settings {
    const char* text = nullptr;  // not owned; outlives the widget or the next setText
    Font* font = nullptr;        // not owned
    float x = 0.0f, y = 0.0f, z = 0.0f, width = 0.0f, height = 0.0f;
    float unused = -1.0f;
    Color firstColor;
    Color secondColor;
  };

  struct Particle {
    char character = 0;
    float x = 0.0f, y = 0.0f;
    float vx = 0.0f, vy = 0.0f;
    float targetX = 0.0f, targetY = 0.0f;
    int alpha = 0;
    Color color;
  };

  explicit SwarmText(const Settings& settings);

  // Rebuilds the particles from the text: new random start places and speeds.
  void build();
  void scatter();
  void update(int dt, ScreenBase* screen) override;
  void draw(Graphics* g, ScreenBase* screen) override;

  void setText(const char* text) { settings_.text = text; }
  // The box lines are laid out in; its x is the centre line of the column.
  void setBox(float x, float y, float z, float width, float height);
  void setScattered(bool on) { scattered_ = on; }
  bool isScattered() const { return scattered_; }
  const std::vector<Particle>& particles() const { return particles_; }
  // Every glyph resting on its place.
  bool isSettled() const;

 private:
  void target(const std::string& text, int index, float& x, float& y) const;

  Settings settings_;
  bool scattered_ = false;
  std::vector<Particle> particles_;
};
