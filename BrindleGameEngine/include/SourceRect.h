#pragma once
#include <cmath>

// A region of a texture in texels.
struct SourceRect {
  bool flag = false;  // carried along, never read
  float left = 0.0f;
  float right = 0.0f;
  float top = 0.0f;
  float bottom = 0.0f;

  SourceRect() = default;
  SourceRect(float l, float t, float r, float b) : left(l), right(r), top(t), bottom(b) {}

  float getWidth() const { return std::fabs(right - left); }
  float getHeight() const { return std::fabs(bottom - top); }
};
