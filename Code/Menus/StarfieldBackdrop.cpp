#include "Menus/StarfieldBackdrop.h"

#include <cstdint>

#include "Color.h"
#include "Graphics.h"

void drawStarfieldBackdrop(Graphics* g, int seed) {
  g->fillRect(0, 0, 1366, 768, Color(4, 8, 20, 255));
  // A fixed little generator so the stars stay put from frame to frame.
  uint32_t state = 2166136261u ^ static_cast<uint32_t>(seed);
  auto next = [&state]() {
    state = state * 1664525u + 1013904223u;
    return state >> 8;
  };
  for (int i = 0; i < 140; ++i) {
    const int x = static_cast<int>(next() % 1366);
    const int y = static_cast<int>(next() % 768);
    const int shade = 120 + static_cast<int>(next() % 136);
    const int size = next() % 9 == 0 ? 2 : 1;
    g->fillRect(x, y, size, size, Color(shade, shade, 255, 255));
  }
}
