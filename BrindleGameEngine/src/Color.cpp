#include "Color.h"

const Color Color::white(255, 255, 255, 255);
const Color Color::black(0, 0, 0, 255);
const Color Color::green(0, 255, 0, 255);
const Color Color::yellow(255, 255, 0, 255);
const Color Color::cyan(0, 255, 255, 255);
const Color Color::magenta(255, 0, 255, 255);
const Color Color::transparentWhite(255, 255, 255, 0);

namespace {
// Truncates toward zero and keeps the low byte, as a plain C cast through int would.
uint8_t scaleByte(uint8_t value, float factor) {
  const float scaled = static_cast<float>(value) * factor;
  const long long whole = static_cast<long long>(scaled);
  return static_cast<uint8_t>(static_cast<unsigned long long>(whole) & 0xFFu);
}
}  // namespace

Color Color::scaleRgb(const Color& c, float factor) {
  Color out = c;
  out.r = scaleByte(c.r, factor);
  out.g = scaleByte(c.g, factor);
  out.b = scaleByte(c.b, factor);
  return out;
}
