#include "TimedTextWidget.h"

#include "Font.h"
#include "Utilities.h"
#include "tinyaction/TinyActionDelay.h"
#include "tinyaction/TinyActionSequence.h"

TimedTextWidget::TimedTextWidget(Font* font, int configuredStep)
    : font_(font), configuredStep_(configuredStep) {}

TimedTextWidget::~TimedTextWidget() = default;

void TimedTextWidget::startTimedTextLine(const std::string& text, int value, int delayMs) {
  lineValue_ = value;
  text_ = text;
  shownText_.clear();
  step_ = configuredStep_;
  characterCount_ = 0;
  progress_ = 0;
  lineProgress_ = 0;
  lineDone_ = false;
  waiting_ = false;

  lines_.clear();
  if (font_) {
    std::string wrapped;
    font_->wrapText(text, wrapped, static_cast<int>(getWidth()));
    splitString(wrapped, '\n', lines_);
  } else {
    lines_.push_back(text);
  }

  lineEndAction_.reset();
  stepAction_.reset();

  TinyActionSequence* lineEnd = new TinyActionSequence(false);
  lineEnd->addAction(new TinyActionDelay(TinyTimer(delayMs)));
  lineEndAction_.reset(lineEnd);

  TinyActionSequence* step = new TinyActionSequence(false);
  step->addAction(new TinyActionDelay(TinyTimer(kStepMs)));
  stepAction_.reset(step);
  stepAction_->start(this, 0);
}
