// The tutorial overlay: with a listener a click only reports the slide's event
// and the listener moves it on; without one any click moves it on. The last
// slide and SKIP end it the same way, telling the listener once. Mission
// control opens its own tutorial once after its flag is set, and from its button.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "GameApp.h"
#include "MenuApp.h"
#include "Menus/MissionControl.h"
#include "Menus/TutorialScreen.h"
#include "widgets/ImageWidget.h"

using menutest::app;

namespace {

class RecordingListener : public TutorialEventListener {
 public:
  void onTutorialEvent(int eventId) override { events.push_back(eventId); }
  int count(int eventId) const {
    int n = 0;
    for (int e : events) n += e == eventId ? 1 : 0;
    return n;
  }
  std::vector<int> events;
};

// Three slides and three pictures; the second slide reacts only to clicks in a small box.
std::string threeSlides() {
  const std::string path = app().dirs.data() + "/tutorial.xml";
  std::ofstream f(path);
  f << "<Screen path=\"content/images/menus/tutorial/game/\">\n";
  for (int i = 0; i < 3; ++i)
    f << "  <ImageWidget textureFilename=\"arrow_up.png\" x=\"" << 100 * i << "\" y=\"10\" width=\"72\" height=\"72\"/>\n";
  f << "  <TutorialSlide id=\"0\" highlightRect=\"Rect(100, 50, 200, 100)\" textLabel=\"TUTORIAL_GAME_1\" eventId=\"7\"/>\n"
       "  <TutorialSlide id=\"1\" continueClickRect=\"Rect(400, 400, 50, 50)\" eventId=\"1\"/>\n"
       "  <TutorialSlide id=\"2\" eventId=\"-1\" customContinueLabel=\"TUTORIAL_GAME_CONTINUE_START\"/>\n"
       "</Screen>\n";
  return path;
}

bool onStack(const GameState* s) { return app().isOnStack(s); }

// Pushes the tutorial and lets its fade-in end: input is off until then.
TutorialScreen* openTutorial(TutorialEventListener* listener) {
  auto* tutorial = app().open(new TutorialScreen(listener, threeSlides()));
  app().run(TutorialScreen::kFadeInMs);
  return tutorial;
}

TEST(TutorialScreen, AListenerHearsTheSlidesEventsAndTheEndOnce) {
  app().clear();
  RecordingListener rec;
  auto* tutorial = openTutorial(&rec);
  ASSERT_EQ(tutorial->slides().size(), 3u);
  ASSERT_EQ(tutorial->pictures().size(), 3u);
  EXPECT_TRUE(app().getOverlayFlag());
  EXPECT_TRUE(tutorial->slides()[0]->isVisible());
  EXPECT_FALSE(tutorial->slides()[1]->isVisible());
  EXPECT_TRUE(tutorial->pictures()[0]->isVisible());
  EXPECT_FALSE(tutorial->pictures()[2]->isVisible());

  // A click anywhere reports slide 0's event; the listener has not moved it on.
  app().click(700, 700);
  EXPECT_EQ(rec.events, std::vector<int>({7}));
  EXPECT_EQ(tutorial->current(), 0u);

  tutorial->nextSlide();
  EXPECT_FALSE(tutorial->slides()[0]->isVisible());
  EXPECT_TRUE(tutorial->slides()[1]->isVisible());
  EXPECT_TRUE(tutorial->pictures()[1]->isVisible());
  app().click(700, 700);  // outside slide 1's box
  app().click(449, 449);  // the box's last pixel
  app().click(450, 420);  // just past its right edge
  EXPECT_EQ(rec.events, std::vector<int>({7, 1}));

  tutorial->nextSlide();
  tutorial->nextSlide();
  EXPECT_EQ(rec.count(TutorialEventListener::kTutorialEnded), 1);
  EXPECT_TRUE(tutorial->finished());
  // A late advance during the fade-out neither tells the end again nor closes again.
  tutorial->nextSlide();
  app().click(700, 700);
  EXPECT_EQ(rec.count(TutorialEventListener::kTutorialEnded), 1);
  EXPECT_EQ(rec.events.size(), 3u);
  app().run(400);
  EXPECT_FALSE(onStack(tutorial));
  EXPECT_FALSE(app().getOverlayFlag());
  app().clear();
}

TEST(TutorialScreen, SkipEndsItAsTheLastSlideDoes) {
  app().clear();
  RecordingListener rec;
  auto* tutorial = openTutorial(&rec);
  tutorial->onButtonEvent(TutorialScreen::kSkipButton, bge::ButtonListener::Released);
  tutorial->onButtonEvent(TutorialScreen::kSkipButton, bge::ButtonListener::Released);
  tutorial->nextSlide();
  EXPECT_EQ(rec.events, std::vector<int>({TutorialEventListener::kTutorialEnded}));
  app().run(400);
  EXPECT_FALSE(onStack(tutorial));
  EXPECT_FALSE(app().getOverlayFlag());
  app().clear();
}

TEST(TutorialScreen, WithoutAListenerEveryClickMovesOn) {
  app().clear();
  auto* tutorial = openTutorial(nullptr);
  app().click(10, 10);
  EXPECT_EQ(tutorial->current(), 1u);
  app().click(700, 700);  // outside slide 1's box: still moves on
  EXPECT_EQ(tutorial->current(), 2u);
  app().click(700, 700);
  EXPECT_TRUE(tutorial->finished());
  app().run(400);
  EXPECT_FALSE(onStack(tutorial));
  app().clear();
}

TEST(TutorialSlide, TheDimBandsCoverTheScreenOutsideTheHighlightOnly) {
  TutorialSlide slide(Color(255, 255, 255, 255), Color(0, 0, 0, 200), 0, Rect5(100.7f, 50.2f, 200.0f, 100.0f),
                      Rect5(0, 0, 1, 1), "", Rect5(0, 0, 1, 1), Rect5(0, 0, 1366, 768), 0, "");
  long area = 0;
  for (const Rect5& r : slide.dimRects()) {
    ASSERT_GE(r.width, 0.0f);
    ASSERT_GE(r.height, 0.0f);
    area += static_cast<long>(r.width) * static_cast<long>(r.height);
    // No band reaches into the highlight.
    const bool apart = r.x + r.width <= 100 || r.x >= 300 || r.y + r.height <= 50 || r.y >= 150;
    EXPECT_TRUE(apart || r.width == 0 || r.height == 0);
  }
  EXPECT_EQ(area, 1366L * 768L - 200L * 100L);
}

TEST(MissionControlTutorial, OpensOnceAfterItsFlagAndFromItsButton) {
  app().clear();
  Profile* profile = app().profile;
  ASSERT_TRUE(profile->loadStations("content/config/stations.xml"));
  profile->setFlag(CustomFlag::MissionControlTutorial, 1);
  auto* mc = new MissionControl(-1, profile);
  app().changeState(mc);
  app().run(600 + TutorialScreen::kFadeInMs);
  auto* tutorial = dynamic_cast<TutorialScreen*>(app().topState());
  ASSERT_NE(tutorial, nullptr);
  EXPECT_EQ(tutorial->layoutPath(), TutorialScreen::kMissionControlLayout);
  EXPECT_FALSE(tutorial->slides().empty());
  EXPECT_EQ(profile->flag(CustomFlag::MissionControlTutorial), 0);
  // Each click moves on; past the last slide it goes.
  for (size_t i = 0; i < tutorial->slides().size(); ++i) app().click(700, 300);
  app().run(400);
  EXPECT_EQ(app().topState(), mc);

  // Shown again (after a screen over it) it does not come back; the button brings it.
  mc->onShown();
  EXPECT_EQ(app().topState(), mc);
  ASSERT_NE(mc->findButton(MissionControl::kTutorialButton), nullptr);
  mc->onButtonEvent(MissionControl::kTutorialButton, bge::ButtonListener::Released);
  EXPECT_NE(dynamic_cast<TutorialScreen*>(app().topState()), nullptr);
  app().clear();
}

}  // namespace
