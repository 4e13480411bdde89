// Starting a typed line: wrapping, fresh per-line state and the two actions.
#include <gtest/gtest.h>

#include <vector>

#include "Font.h"
#include "TimedTextWidget.h"
#include "tinyaction/TinyActionSequence.h"

namespace {

// Every character 10 units wide; nothing is drawn.
class FixedFont : public Font {
 public:
  bool loadDeferred() override { return true; }
  int textWidth(const std::string& text) override { return 10 * static_cast<int>(text.size()); }
  void drawTextToTarget(FontDrawTarget*, int, int, const std::string&, int, int) override {}
  void drawText(Graphics*, int, int, const std::string&, const Color&) override {}
  void reloadPages() override {}
  void unloadPages() override {}
  Point2i caretPosition(const std::string&, int, const QuillonPHX2D::Vec2&, int) override {
    return Point2i();
  }
};

class TypingText : public TimedTextWidget {
 public:
  explicit TypingText(Font* font) : TimedTextWidget(font, 3) {}
  void actionFinished(int tag) override {
    steps.push_back(tag);
    if (restartOnStep) startTimedTextLine("next", 2, 100);  // replaces the reporting action
  }
  int value() const { return lineValue_; }
  int step() const { return step_; }
  const std::string& shown() const { return shownText_; }
  void typeSome() {
    shownText_ = "par";
    characterCount_ = 3;
  }

  std::vector<int> steps;
  bool restartOnStep = false;
};

TEST(TimedTextWidget, StartsEachLineFreshWithAStepAndALineEndAction) {
  FixedFont font;
  TypingText text(&font);
  text.setSize(105, 40);  // ten characters and a half
  text.startTimedTextLine("parsec drive engaged now", 7, 900);
  EXPECT_EQ(text.getLines(), (std::vector<std::string>{"parsec", "drive", "engaged", "now"}));
  EXPECT_EQ(text.value(), 7);
  EXPECT_EQ(text.step(), 3);

  ASSERT_NE(text.getLineEndAction(), nullptr);
  EXPECT_FALSE(text.getLineEndAction()->isRunning());
  ASSERT_NE(text.getStepAction(), nullptr);
  EXPECT_TRUE(text.getStepAction()->isRunning());

  // The step reports tag 0 to the widget once 20 ms have passed (one update
  // later, as sequences do).
  TinyAction* step = text.getStepAction();
  step->update(16);
  step->update(16);
  EXPECT_TRUE(text.steps.empty());
  step->update(16);
  EXPECT_EQ(text.steps, std::vector<int>{0});

  // A new line drops what was typed and replaces both actions.
  text.typeSome();
  text.startTimedTextLine("short", 1, 50);
  EXPECT_TRUE(text.shown().empty());
  EXPECT_EQ(text.getLines(), std::vector<std::string>{"short"});
  EXPECT_NE(text.getLineEndAction(), nullptr);
}

TEST(TimedTextWidget, AStepListenerMayStartTheNextLine) {
  FixedFont font;
  TypingText text(&font);
  text.setSize(300, 40);
  text.restartOnStep = true;
  text.startTimedTextLine("first", 1, 100);
  // The reporting step action is deleted inside its own report (ASan).
  for (int i = 0; i < 3; ++i) text.getStepAction()->update(16);
  EXPECT_EQ(text.steps.size(), 1u);
  EXPECT_EQ(text.value(), 2);
  EXPECT_TRUE(text.getStepAction()->isRunning());
}

}  // namespace
