#pragma once
#include <memory>
#include <string>
#include <vector>

#include "ScreenBase.h"
#include "tinyaction/ActionListener.h"
#include "widgets/ButtonListener.h"

class SwarmText;
class TinyAction;

// The credits: two columns of swarming glyph text. Each caption gathers,
// holds for ten seconds, scatters for two and gives way to the column's next
// caption. A click anywhere, the close button or Escape leaves.
class CreditsScreen : public ScreenBase, public bge::ButtonListener, public bge::ActionListener {
 public:
  static constexpr int kHoldMs = 10000;
  static constexpr int kScatterMs = 2000;
  static constexpr int kHoldOver = 0;
  static constexpr int kScatterOver = 1;
  // The columns' middles, a quarter of the panel in from its sides (the panel
  // spans 308..1057): the longest line of either stays inside it.
  static constexpr float kLeftColumnX = 496.0f;
  static constexpr float kRightColumnX = 870.0f;
  // The close button sits inside the panel's lower edge.
  static constexpr int kCloseButtonY = 660;
  static constexpr float kColumnY = 320.0f;
  static constexpr int kCloseButton = 0;

  CreditsScreen();
  ~CreditsScreen() override;

  void prepare() override {}
  void init() override;
  void updateScreen(int dt) override;
  void drawForeground(Graphics* g) override;
  void onKeyEvent(const KeyEvent& event) override;
  void mousePressed(const PointingDeviceEvent& event) override;
  void onExitTransitionDone(int exitCode) override;
  void onButtonEvent(int buttonId, int kind) override;
  void actionFinished(int tag) override;

  // The captions as they are shown: heading, '#', a newline, the names one
  // per line and a closing '#'.
  static std::string caption(const std::string& heading, const std::string& names);
  const std::vector<std::string>& leftCaptions() const { return left_; }
  const std::vector<std::string>& rightCaptions() const { return right_; }
  size_t leftIndex() const { return leftIndex_; }
  size_t rightIndex() const { return rightIndex_; }
  SwarmText* leftText() const { return leftText_; }
  SwarmText* rightText() const { return rightText_; }

 private:
  void buildCaptions();
  void leave();

  SwarmText* leftText_ = nullptr;   // not owned: the widget list frees it
  SwarmText* rightText_ = nullptr;  // not owned: the widget list frees it
  std::unique_ptr<TinyAction> hold_;
  std::unique_ptr<TinyAction> scatter_;
  std::vector<std::string> left_;
  size_t leftIndex_ = 0;
  std::vector<std::string> right_;
  size_t rightIndex_ = 0;
};
