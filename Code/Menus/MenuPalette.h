#pragma once
#include "Color.h"

// The one look of the game's screens: near-black blue veils and panels with
// thin cyan edges, text in white or pale cyan. Screens laid over others take
// their veil from here instead of tinting in colours of their own.
namespace palette {

// A veil over the screen beneath; its alpha says how much of that still shows.
inline Color veil(int alpha) { return Color(6, 12, 30, alpha); }
// Whole: the texts of the screen beneath cannot be read through it. At 235 a white
// text still showed as a grey one on our near-black screens, and at 250 as a faint
// one that could still be read.
constexpr int kCoveringAlpha = 255;
// A panel and its edge.
inline Color panelFill() { return Color(8, 16, 32, 235); }
inline Color panelEdge() { return Color(0, 200, 255, 200); }

}  // namespace palette
