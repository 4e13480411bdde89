#pragma once
#include <string>

#include "Color.h"
#include "Rect5.h"

class Font;
class Graphics;

// Writes the info panel's texts one row under another, each row a step of the
// font's own line height, so no row ever prints over the one above. A row has a
// left text and may have a second one in the right column; a long text wraps to
// the whole width and takes as many rows as it needs.
class InfoPanelText {
 public:
  // Where the right column starts, from the area's left edge.
  static constexpr float kRightColumn = 180.0f;

  // g and font: not owned; area: the panel below its title band.
  InfoPanelText(Graphics* g, Font* font, const Rect5& area);

  void row(const std::string& left, const Color& leftColour, const std::string& right = std::string(),
           const Color& rightColour = Color::white);
  void wrapped(const std::string& text, const Color& colour);
  // Leaves the rest of a row's height empty, as a gap before what follows.
  void gap(float pixels) { y_ += pixels; }
  float y() const { return y_; }

 private:
  Graphics* g_;  // not owned
  Font* font_;   // not owned
  Rect5 area_;
  float y_;
};
