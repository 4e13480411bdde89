#pragma once
#include <cstdint>
#include <vector>

#include "Color.h"
#include "Foundation/Math/QlnMath.h"

class Graphics;

// The drifting star band of the title screen: two sets of stars at the same
// start points, one turning slowly with depth, one jumping by quarter turns,
// both flying toward the viewer and wrapping back to the far plane.
class MenuStarfield {
 public:
  static constexpr int kStarCount = 7500;
  static constexpr float kFarDepth = 1000.0f;
  static constexpr int kCentreX = 683;
  static constexpr int kCentreY = 384;

  // kStarCount stars from the standard random source.
  void build();
  void addStar(const QuillonPHX2D::Vec3& at, float speed);
  // One step of motion; frame-based, not time-based, as the band always was.
  void update();
  void draw(Graphics* g) const;

  // Screen point of a star; false for a depth of 0 or less, which has no
  // projection (the star sits on or behind the viewer until it wraps).
  static bool project(const QuillonPHX2D::Vec3& star, int* x, int* y);

  size_t size() const { return setA_.size(); }
  const std::vector<QuillonPHX2D::Vec3>& setA() const { return setA_; }
  const std::vector<QuillonPHX2D::Vec3>& setB() const { return setB_; }

 private:
  std::vector<QuillonPHX2D::Vec3> setA_;
  std::vector<QuillonPHX2D::Vec3> setB_;
  std::vector<float> speeds_;
  std::vector<Color> colours_;
};
