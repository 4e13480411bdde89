#include "Menus/StarfieldBackdrop.h"

#include <cmath>

#include "Graphics.h"
#include "Utilities.h"

using QuillonPHX2D::Vec3;

namespace {

// Turn per frame and per unit of depth: set A creeps, set B snaps a quarter
// turn every frame plus the same creep, which makes the band shimmer.
constexpr float kTurnA = 0.0005f;
constexpr float kTurnB = 90.0005f;
constexpr float kDegToRad = 3.14159265358979f / 180.0f;

void turn(Vec3& star, float radians) {
  const float c = std::cos(radians), s = std::sin(radians);
  const float x = star.x, y = star.y;
  star.x = c * x - s * y;
  star.y = s * x + c * y;
}

void advance(Vec3& star, float turnDegrees, float speed) {
  turn(star, turnDegrees * kDegToRad * star.z);
  star.z += speed;
  // Only a depth below 0 wraps; a star at exactly 0 waits one frame (unseen).
  if (star.z < 0.0f) star.z = MenuStarfield::kFarDepth;
}

}  // namespace

void MenuStarfield::build() {
  setA_.clear();
  setB_.clear();
  speeds_.clear();
  colours_.clear();
  setA_.reserve(kStarCount);
  setB_.reserve(kStarCount);
  for (int i = 0; i < kStarCount; ++i) {
    float x = static_cast<float>(20480 - randomRange(0, 40960));
    float y = static_cast<float>(10240 - randomRange(0, 20480));
    // The sine spreads x over the whole width; the tangent gathers y about the
    // middle with long tails: a band across the screen.
    x = 30000.0f * std::sin(x);
    y = 30000.0f * std::tan(y);
    const float depth = static_cast<float>(randomRange(-1000, 1000));
    const float speed = -static_cast<float>(randomRange(1, 6));
    addStar(Vec3(x, y, depth), speed);
  }
}

void MenuStarfield::addStar(const Vec3& at, float speed) {
  setA_.push_back(at);
  setB_.push_back(at);
  speeds_.push_back(speed);
  colours_.push_back(Color(200, 255, 255, 255));
}

void MenuStarfield::update() {
  for (size_t i = 0; i < setA_.size(); ++i) {
    advance(setA_[i], kTurnA, speeds_[i]);
    advance(setB_[i], kTurnB, speeds_[i]);
  }
}

bool MenuStarfield::project(const Vec3& star, int* x, int* y) {
  if (!(star.z > 0.0f)) return false;
  const float fx = kCentreX + 40.0f * star.x / (10.0f * star.z);
  const float fy = kCentreY + 40.0f * star.y / (10.0f * star.z);
  // Far outside the screen (and beyond int) is simply not drawn.
  if (!(std::fabs(fx) < 1.0e6f && std::fabs(fy) < 1.0e6f)) return false;
  *x = static_cast<int>(fx);
  *y = static_cast<int>(fy);
  return true;
}

void MenuStarfield::draw(Graphics* g) const {
  for (size_t i = 0; i < setA_.size(); ++i) {
    const Vec3& a = setA_[i];
    const int alpha = static_cast<int>(100.0f * (kFarDepth - a.z) / kFarDepth);
    if (alpha <= 0) continue;
    Color c = colours_[i];
    c.r = 0;
    c.a = static_cast<uint8_t>(alpha > 255 ? 255 : alpha);
    int x = 0, y = 0;
    if (project(a, &x, &y)) g->fillRect(x, y, 2, 2, c);
    if (project(setB_[i], &x, &y)) g->fillRect(x, y, 2, 2, c);
  }
}
