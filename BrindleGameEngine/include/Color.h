#pragma once
#include <cstdint>

// An RGBA colour of four bytes; OpenGL gets each byte times 1/255.
struct Color {
  uint8_t r = 255;
  uint8_t g = 255;
  uint8_t b = 255;
  uint8_t a = 255;

  Color() = default;
  Color(int red, int green, int blue, int alpha)
      : r(static_cast<uint8_t>(red)),
        g(static_cast<uint8_t>(green)),
        b(static_cast<uint8_t>(blue)),
        a(static_cast<uint8_t>(alpha)) {}

  bool operator==(const Color& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
  bool operator!=(const Color& o) const { return !(*this == o); }

  // Red, green and blue times factor, each truncated to a byte (wrapping); alpha kept.
  static Color scaleRgb(const Color& c, float factor);

  static const Color white;
  static const Color black;
  static const Color green;
  static const Color yellow;
  static const Color cyan;
  static const Color magenta;
  static const Color transparentWhite;
};
