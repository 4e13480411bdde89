#pragma once
#include <string>
#include <vector>

#include "Color.h"
#include "Game/TutorialEventListener.h"
#include "Rect5.h"
#include "ScreenBase.h"
#include "Widget.h"
#include "widgets/ButtonListener.h"

class Font;
class ImageWidget;
class TiXmlElement;
namespace bge { class XmlReader; }

// One step of a tutorial: the screen dimmed around a highlight rectangle, a
// text beside it and a "continue" caption. It draws only; the pointer goes
// past it to the tutorial screen.
class TutorialSlide : public Widget {
 public:
  static constexpr const char* kContinueLabel = "PRESENTER_CONTINUE";
  static constexpr const char* kFont = "FONT_NOTOSANS24";

  TutorialSlide(const Color& textColor, const Color& fillColor, int id, const Rect5& highlight, const Rect5& textRect,
                const std::string& textLabel, const Rect5& continueTextRect, const Rect5& continueClickRect,
                int eventId, const std::string& customContinueLabel);

  void draw(Graphics* g, ScreenBase* screen) override;
  // The pointer never stops on a slide.
  bool hitTest(int x, int y) const override { (void)x; (void)y; return false; }

  // Whether the point lies in the continue-click rectangle (right and bottom edges excluded).
  bool inContinueClick(int x, int y) const;
  int slideId() const { return slideId_; }
  int eventId() const { return eventId_; }
  const Rect5& highlight() const { return highlight_; }
  const std::vector<Rect5>& dimRects() const { return dimRects_; }
  // The label key of the continue caption: the custom one when the slide has it.
  const std::string& continueLabel() const { return customContinueLabel_.empty() ? continueLabel_ : customContinueLabel_; }

 private:
  // Four bands that cover the screen outside the highlight: above, below, and
  // left and right of it between those two.
  void buildDimRects();
  void drawTextPanel(Graphics* g, Font* font);

  Color textColor_;
  Color fillColor_;
  int slideId_;
  Rect5 highlight_;
  Rect5 textRect_;
  std::string textLabel_;
  std::vector<Rect5> dimRects_;
  Rect5 continueTextRect_;
  std::string continueLabel_ = kContinueLabel;
  Rect5 continueClickRect_;
  int eventId_;
  std::string customContinueLabel_;
};

// An overlay that walks the player through the slides of a layout file. With a
// listener (the level) a click on a slide only reports its event id and the
// listener decides when to advance; without one (mission control) any click
// advances. SKIP and the last slide both close it and tell the listener
// kTutorialEnded, once.
class TutorialScreen : public ScreenBase, public bge::ButtonListener {
 public:
  static constexpr const char* kLevelLayout = "content/images/menus/tutorial/game/Screen.xml";
  static constexpr const char* kMissionControlLayout = "content/images/menus/tutorial/missioncontrol/Screen.xml";
  static constexpr int kSkipButton = 0;
  static constexpr int kFadeInMs = 512;
  static constexpr int kFadeOutMs = 256;

  // listener: not owned, may be null. It must outlive the screen unless it is a
  // screen on the application's stack (a listener that has left it is dropped).
  TutorialScreen(TutorialEventListener* listener, const std::string& path);

  void prepare() override {}
  void init() override;
  void onButtonEvent(int buttonId, int kind) override;
  void onExitTransitionDone(int exitCode) override;
  void mousePressed(const PointingDeviceEvent& event) override;
  void mouseMoved(const PointingDeviceEvent& event) override;
  void mouseReleased(const PointingDeviceEvent& event) override;

  // Reads the pictures, the text label and the slides of a layout whose root is Screen.
  bool initFromXml(const std::string& path);
  // Shows the next step; past the last one the tutorial ends.
  void nextSlide();
  // Ends the tutorial at once, as SKIP does.
  void skip();

  unsigned current() const { return current_; }
  bool finished() const { return finished_; }
  const std::vector<TutorialSlide*>& slides() const { return slides_; }
  const std::vector<ImageWidget*>& pictures() const { return pictures_; }
  const std::string& layoutPath() const { return path_; }
  TutorialEventListener* listener();

 private:
  void readSlide(const TiXmlElement* element, const bge::XmlReader& xml);
  void showStep(unsigned step, bool shown);
  // Tells the listener the tutorial has ended and leaves; a second call does nothing.
  void finish();

  TutorialEventListener* listener_;  // not owned
  std::string path_;
  Widget* textLabel_ = nullptr;            // the screen's widget
  std::vector<ImageWidget*> pictures_;     // the screen's widgets
  std::vector<TutorialSlide*> slides_;     // the screen's widgets
  unsigned current_ = 0;
  bool finished_ = false;
};
