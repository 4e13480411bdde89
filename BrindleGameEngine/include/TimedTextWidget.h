#pragma once
#include <memory>
#include <string>
#include <vector>

#include "Widget.h"
#include "tinyaction/ActionListener.h"

class Font;
class TinyAction;

// A text widget that types its lines out: each line is started with
// startTimedTextLine, which wraps it to the widget's width and arms two
// actions, a 20 ms step (started, reporting tag 0 to this widget) and a
// line-end delay (built but left for the owner to start). The owner decides
// what a step does in actionFinished.
class TimedTextWidget : public Widget, public bge::ActionListener {
 public:
  static constexpr int kStepMs = 20;

  TimedTextWidget(Font* font, int configuredStep);
  ~TimedTextWidget() override;

  void startTimedTextLine(const std::string& text, int value, int delayMs);

  Font* getFont() const { return font_; }
  const std::vector<std::string>& getLines() const { return lines_; }
  TinyAction* getLineEndAction() const { return lineEndAction_.get(); }
  TinyAction* getStepAction() const { return stepAction_.get(); }

 protected:
  Font* font_;
  std::vector<std::string> lines_;
  std::unique_ptr<TinyAction> lineEndAction_;
  std::unique_ptr<TinyAction> stepAction_;
  int configuredStep_;

  // Per-line state, reset by each new line.
  int lineValue_ = 0;
  std::string text_;
  std::string shownText_;
  int step_ = 0;
  int characterCount_ = 0;
  int progress_ = 0;
  int lineProgress_ = 0;
  bool lineDone_ = false;
  bool waiting_ = false;
};
