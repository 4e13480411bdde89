#pragma once
#include <cstdint>

#include "Color.h"

// A colour written as one word with red in the lowest byte and alpha in the highest
// (0xAABBGGRR), as the level's drawing names its colours.
inline Color colourWord(uint32_t word) {
  return Color(word & 0xFF, (word >> 8) & 0xFF, (word >> 16) & 0xFF, (word >> 24) & 0xFF);
}
