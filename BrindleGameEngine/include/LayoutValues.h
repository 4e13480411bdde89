#pragma once
#include <string>
#include <vector>

#include "Color.h"
#include "Rect5.h"

// Readers for the value syntaxes of layouts and configuration files:
//   "Color(r, g, b, a)"  -> Color (anything malformed gives Color::white)
//   "Rect(x, y, w, h)"   -> Rect5 (anything malformed, a number that is not finite
//                           or beyond kLargestLayoutValue, gives the zero rectangle)
//   "1,2,3"              -> {1, 2, 3}
Color parseColor(const std::string& text);
// Coordinates, sizes and depths beyond this are malformed: they could not be
// turned into whole pixels.
constexpr double kLargestLayoutValue = 1.0e7;
Rect5 parseRect(const std::string& text);
std::vector<int> parseIntList(const std::string& text);
