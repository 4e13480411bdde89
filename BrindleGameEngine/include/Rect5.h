#pragma once

// A rectangle with a depth: x, y, z (depth, 0 unless set), width, height.
struct Rect5 {
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;
  float width = 0.0f;
  float height = 0.0f;

  Rect5() = default;
  Rect5(int x_, int y_, int w, int h)
      : x(static_cast<float>(x_)), y(static_cast<float>(y_)),
        width(static_cast<float>(w)), height(static_cast<float>(h)) {}
  Rect5(float x_, float y_, float w, float h) : x(x_), y(y_), width(w), height(h) {}

  // Half-open: the left and top edges are inside, the right and bottom ones are not.
  bool contains(int px, int py) const {
    const float fx = static_cast<float>(px);
    const float fy = static_cast<float>(py);
    return x <= fx && fx < x + width && y <= fy && fy < y + height;
  }
};
