#pragma once
#include <string>
#include <vector>

#include "ScreenBase.h"
#include "widgets/ButtonListener.h"

class Font;
struct SDL_Rect;

// A diagnostic page over whatever is on screen (Ctrl+`): the window, video
// drivers, displays and resolutions, also written to a text report with a
// screenshot beside it. Escape closes it.
class SystemStatsScreen : public ScreenBase, public bge::ButtonListener {
 public:
  static constexpr int kFadeMs = 256;
  static constexpr int kLinesPerColumn = 20;
  static constexpr int kSupportLine = 3;

  SystemStatsScreen();

  void onKeyEvent(const KeyEvent& event) override;
  void prepare() override {}
  void init() override { buildLines(); }
  void drawForeground(Graphics* g) override;
  void onShown() override { writeReport(); }
  void onExitTransitionDone(int exitCode) override;
  void onButtonEvent(int id, int kind) override { (void)id; (void)kind; }

  void buildLines();
  void writeReport();

  // The folder the report goes to; empty when there is no user data folder
  // (the report is then not written at all, never at the filesystem root).
  static std::string reportFolder();
  // The lines for one display; a display without a name is named "unknown".
  static void appendDisplayLines(std::vector<std::string>& lines, const char* name,
                                 const SDL_Rect& bounds, int desktopW, int desktopH, int currentW,
                                 int currentH);
  // The font the page writes with, or null.
  Font* pickFont() const;

  const std::vector<std::string>& getLines() const { return lines_; }

 private:
  std::vector<std::string> lines_;
};
