#include "Menus/SwarmText.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "DesignSize.h"
#include "Font.h"
#include "Graphics.h"
#include "Point2i.h"

SwarmText::SwarmText(const Settings& settings) : settings_(settings) { setVisible(false); }

void SwarmText::setBox(float x, float y, float z, float width, float height) {
  settings_.x = x;
  settings_.y = y;
  settings_.z = z;
  settings_.width = width;
  settings_.height = height;
}

void SwarmText::target(const std::string& text, int index, float& x, float& y) const {
  // Each line is centred on the column's centre line, so the caret's place
  // moves left by half the width of its line ('#' is markup, not a glyph).
  size_t start = text.rfind('\n', static_cast<size_t>(index));
  start = start == std::string::npos ? 0 : start + 1;
  size_t end = text.find('\n', static_cast<size_t>(index));
  if (end == std::string::npos) end = text.size();
  std::string line = text.substr(start, end - start);
  line.erase(std::remove(line.begin(), line.end(), '#'), line.end());
  const Point2i caret = settings_.font->caretPosition(text, index, QuillonPHX2D::Vec2(settings_.x, settings_.y), 0);
  x = static_cast<float>(caret.x) - static_cast<float>(settings_.font->textWidth(line)) * 0.5f;
  y = static_cast<float>(caret.y);
}

void SwarmText::build() {
  particles_.clear();
  if (!settings_.text) return;
  const std::string text = settings_.text;
  bool second = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\n' || c == ' ' || c == '\t' || c == '\r') continue;
    if (c == '#') {
      second = !second;
      continue;
    }
    Particle p;
    p.character = c;
    if (settings_.font) target(text, static_cast<int>(i), p.targetX, p.targetY);
    p.x = static_cast<float>(std::rand() % bge::kDesignWidth);
    p.y = static_cast<float>(std::rand() % bge::kDesignHeight);
    p.vx = static_cast<float>(std::rand() % 200 - 100);
    p.vy = static_cast<float>(std::rand() % 200 - 100);
    p.color = second ? settings_.secondColor : settings_.firstColor;
    particles_.push_back(p);
  }
}

void SwarmText::scatter() {
  scattered_ = true;
  for (Particle& p : particles_) {
    p.x += static_cast<float>(std::rand() % 100) / 25.0f;
    p.y += static_cast<float>(std::rand() % 100) / 25.0f;
    p.vx = static_cast<float>(std::rand() % 200 - 100);
    p.vy = static_cast<float>(std::rand() % 200 - 100);
  }
}

void SwarmText::update(int dt, ScreenBase* screen) {
  (void)screen;
  // A frame that took no time moves nothing (the step is scaled by 1 / dt).
  if (dt <= 0) return;
  const float k = 1.0f / static_cast<float>(dt);
  for (Particle& p : particles_) {
    const float dx = p.targetX - p.x;
    const float dy = p.targetY - p.y;
    const float length = std::sqrt(dx * dx + dy * dy);
    const float dist = std::min(length, kFadeDistance);
    p.alpha = std::clamp(static_cast<int>(255.0f - dist * 255.0f / kFadeDistance), 0, 255);
    float sx = 0.0f, sy = 0.0f;
    if (length > 0.0f) {
      const float pull = scattered_ ? -kSteer : kSteer;
      sx = dx / length * pull;
      sy = dy / length * pull;
    }
    p.vx += k * (-kDamping * p.vx + sx);
    p.vy += k * (-kDamping * p.vy + sy);
    p.x += k * p.vx;
    p.y += k * p.vy;
    if (!scattered_) {
      const float ex = p.x - p.targetX;
      const float ey = p.y - p.targetY;
      if (ex * ex + ey * ey < kSnapDistanceSq) {
        p.x = p.targetX;
        p.y = p.targetY;
        p.vx = 0.0f;
        p.vy = 0.0f;
      }
    }
  }
}

bool SwarmText::isSettled() const {
  for (const Particle& p : particles_)
    if (p.x != p.targetX || p.y != p.targetY) return false;
  return true;
}

void SwarmText::draw(Graphics* g, ScreenBase* screen) {
  (void)screen;
  if (!settings_.font) return;
  const char glyph[2] = {0, 0};
  std::string one(glyph, 1);
  for (const Particle& p : particles_) {
    one[0] = p.character;
    Color c = p.color;
    c.a = static_cast<uint8_t>(p.alpha);
    settings_.font->drawText(g, static_cast<int>(p.x), static_cast<int>(p.y), one, c);
  }
}
