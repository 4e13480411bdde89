#pragma once
#include <string>
#include <vector>

class Font;
class Graphics;

// Failures the player must know of at once (a save that did not happen), shown on
// top of whatever screen is up: a dark panel with a thin cyan edge at the top centre,
// one per failure, for a few seconds. The application posts, updates and draws it.
class NoticeBoard {
 public:
  static constexpr int kShowMs = 10000;
  static constexpr int kFadeMs = 600;
  // More would reach down over the screens' own texts; the oldest goes first.
  static constexpr size_t kMostShown = 3;
  static constexpr int kTop = 8;
  static constexpr int kWidestPanel = 900;
  static constexpr int kPadding = 10;
  static constexpr int kGap = 6;

  // A notice already showing is not shown twice.
  void post(const std::string& text);
  void update(int dt);
  // The notices over a screen of the given width.
  void draw(Graphics* g, Font* font, int screenWidth) const;
  size_t shownCount() const { return notices_.size(); }

 private:
  struct Notice {
    std::string text;
    int ageMs = 0;
  };
  std::vector<Notice> notices_;
};
