#include "Color.h"

#include <cmath>

const Color Color::white(255, 255, 255, 255);
const Color Color::black(0, 0, 0, 255);
const Color Color::green(0, 255, 0, 255);
const Color Color::yellow(255, 255, 0, 255);
const Color Color::cyan(0, 255, 255, 255);
const Color Color::magenta(255, 0, 255, 255);
const Color Color::transparentWhite(255, 255, 255, 0);

namespace {
// Truncates toward zero and keeps the low byte (so 300 becomes 44). Done in
// floating point so that no factor, however large, overflows an integer.
uint8_t scaleByte(uint8_t value, float factor) {
  const double scaled = std::trunc(static_cast<double>(value) * factor);
  if (!std::isfinite(scaled)) return 0;
  double low = std::fmod(scaled, 256.0);
  if (low < 0.0) low += 256.0;
  return static_cast<uint8_t>(low);
}
}  // namespace

Color Color::scaleRgb(const Color& c, float factor) {
  Color out = c;
  out.r = scaleByte(c.r, factor);
  out.g = scaleByte(c.g, factor);
  out.b = scaleByte(c.b, factor);
  return out;
}
