#include "LayoutValues.h"

#include <cmath>
#include <cstdlib>

#include "Utilities.h"

namespace {
// The comma-separated parts between the brackets after the word, or false when
// the word or a correctly ordered pair of brackets is missing.
bool bracketParts(const std::string& text, const char* word, std::vector<std::string>& parts) {
  if (text.empty() || text.find(word) == std::string::npos) return false;
  const size_t open = text.find('(');
  const size_t close = text.find(')');
  if (open == std::string::npos || close == std::string::npos || close < open) return false;
  splitString(text.substr(open + 1, close - open - 1), ',', parts);
  return true;
}
}  // namespace

Color parseColor(const std::string& text) {
  std::vector<std::string> parts;
  if (!bracketParts(text, "Color", parts) || parts.size() != 4) return Color::white;
  return Color(std::atoi(parts[0].c_str()), std::atoi(parts[1].c_str()),
               std::atoi(parts[2].c_str()), std::atoi(parts[3].c_str()));
}

Rect5 parseRect(const std::string& text) {
  std::vector<std::string> parts;
  if (!bracketParts(text, "Rect", parts) || parts.size() != 4) return Rect5();
  float v[4];
  for (int i = 0; i < 4; ++i) {
    const double value = std::atof(parts[static_cast<size_t>(i)].c_str());
    // "nan", "inf" and sizes no screen has are as malformed as a missing number:
    // widgets turn these into whole pixels.
    if (!std::isfinite(value) || std::fabs(value) > kLargestLayoutValue) return Rect5();
    v[i] = static_cast<float>(value);
  }
  return Rect5(v[0], v[1], v[2], v[3]);
}

std::vector<int> parseIntList(const std::string& text) {
  std::vector<int> out;
  if (text.empty()) return out;
  std::vector<std::string> parts;
  splitString(text, ',', parts);
  for (const std::string& part : parts) out.push_back(std::atoi(part.c_str()));
  return out;
}
