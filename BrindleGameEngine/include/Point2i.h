#pragma once
#include <cstdint>

struct Point2i {
  int32_t x = 0;
  int32_t y = 0;

  Point2i() = default;
  Point2i(int32_t x_, int32_t y_) : x(x_), y(y_) {}
  bool operator==(const Point2i& o) const { return x == o.x && y == o.y; }
  bool operator!=(const Point2i& o) const { return !(*this == o); }
};
