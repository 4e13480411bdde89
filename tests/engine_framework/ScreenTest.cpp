// A screen's life: the order of its hooks, its transitions, and the exit code
// reaching the hand-over.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "FadeTransitions.h"
#include "GameApp.h"
#include "MouseListeningWidget.h"
#include "NullGraphics.h"
#include "PointingDeviceEvent.h"
#include "RecordingGraphics.h"
#include "ScreenBase.h"
#include "WidgetManager.h"
#include "ZoomTransitions.h"

namespace {

using Log = std::vector<std::string>;

class DyingWidget : public Widget {
 public:
  DyingWidget(Log* log, int x, int y, int w, int h) : log_(log) { setRect(x, y, w, h); }
  ~DyingWidget() override { log_->push_back("widget deleted"); }
  void draw(Graphics*, ScreenBase*) override { log_->push_back("widget draw"); }
  void mousePressed(const PointingDeviceEvent&) override { log_->push_back("widget press"); }

 private:
  Log* log_;
};

class TestScreen : public ScreenBase {
 public:
  explicit TestScreen(Log* log) : ScreenBase("test"), log_(log) {}
  ~TestScreen() override { log_->push_back("screen deleted"); }

  void prepare() override { note("prepare"); }
  void init() override { note("init"); }
  void postWidgetUpdate(int) override { note("postWidgetUpdate"); }
  void updateScreen(int) override { note("update"); }
  void onShown() override { note("shown"); }
  void onExitTransitionDone(int code) override {
    note("exit " + std::to_string(code));
    if (next) {
      GameApp* app = GameApp::instance();
      app->popState();
      app->changeState(next);
      next = nullptr;
    }
  }
  void drawBackground(Graphics*) override { note("background"); }
  void drawForeground(Graphics*) override { note("foreground"); }
  void mousePressed(const PointingDeviceEvent&) override { note("screen press"); }

  TestScreen* next = nullptr;

 private:
  void note(const std::string& what) { log_->push_back(what); }
  Log* log_;
};

class ScreenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app_.setScreenSize(1366, 768);
    app_.setScaleFactors(1.0f, 1.0f);
  }
  void TearDown() override { app_.deleteQueuedStates(); }
  Log take() {
    Log out;
    out.swap(log_);
    return out;
  }
  // Updates until the screen leaves the given phase; returns how many it took.
  int updatesWhile(ScreenBase* s, ScreenPhase phase, int limit = 100) {
    for (int i = 1; i <= limit; ++i) {
      s->update(16);
      if (s->getPhase() != phase) return i;
    }
    return -1;
  }

  Log log_;  // outlives the application, whose destructor deletes screens that log
  GameApp app_;
};

TEST_F(ScreenTest, EmptyTransitionsShowAtEnterAndHandOverOnTheNextUpdate) {
  TestScreen* screen = new TestScreen(&log_);
  app_.changeState(screen);
  // Shown before activate returns, after init; input is on from then.
  EXPECT_EQ(take(), (Log{"prepare", "init", "shown"}));
  EXPECT_EQ(app_.topState(), screen);
  EXPECT_EQ(screen->getPhase(), PhaseIdle);
  EXPECT_TRUE(screen->getWidgetManager()->isInputEnabled());

  TestScreen* second = new TestScreen(&log_);
  screen->next = second;
  screen->close(7, true);
  EXPECT_EQ(screen->getPhase(), PhaseExiting);
  EXPECT_FALSE(screen->getWidgetManager()->isInputEnabled());
  EXPECT_TRUE(take().empty());
  screen->update(16);
  EXPECT_EQ(take(), (Log{"postWidgetUpdate", "update", "exit 7", "prepare", "init", "shown"}));
  EXPECT_EQ(app_.topState(), second);
  app_.deleteQueuedStates();
  EXPECT_EQ(take(), (Log{"screen deleted"}));
}

TEST_F(ScreenTest, FadeInThenFadeOutDrawOverTheDesignArea) {
  TestScreen* screen = new TestScreen(&log_);
  screen->setInTransition(new FadeInTransition(100, Color(10, 20, 30, 77)));
  screen->setOutTransition(new FadeOutTransition(100, Color(10, 20, 30, 77)));
  app_.changeState(screen);
  EXPECT_EQ(take(), (Log{"prepare", "init"}));
  EXPECT_EQ(screen->getPhase(), PhaseEntering);
  EXPECT_FALSE(screen->getWidgetManager()->isInputEnabled());

  RecordingGraphics g;
  screen->render(&g);
  const std::vector<GraphicsCall> fills = g.callsOf("fillRect");
  ASSERT_EQ(fills.size(), 1u);
  EXPECT_FLOAT_EQ(fills[0].x, -100.0f);
  EXPECT_FLOAT_EQ(fills[0].y, -100.0f);
  EXPECT_FLOAT_EQ(fills[0].w, 1566.0f);
  EXPECT_FLOAT_EQ(fills[0].h, 968.0f);
  EXPECT_EQ(fills[0].color, Color(10, 20, 30, 255));  // the colour's own alpha is not used
  // The quad comes after the screen's content and inside its scale.
  const std::vector<GraphicsCall> scales = g.callsOf("scale");
  ASSERT_EQ(scales.size(), 2u);
  for (const GraphicsCall& c : scales) EXPECT_TRUE(c.x == 1.0f && c.y == 1.0f);
  take();

  // 100 ms at 16 ms a step ends on the 7th update; the fade reports on the 8th.
  EXPECT_EQ(updatesWhile(screen, PhaseEntering), 8);
  EXPECT_EQ(take().back(), "shown");
  EXPECT_TRUE(screen->getWidgetManager()->isInputEnabled());
  g.calls.clear();
  screen->render(&g);
  EXPECT_TRUE(g.callsOf("fillRect").empty());

  screen->close(3, false);
  EXPECT_TRUE(screen->getWidgetManager()->isInputEnabled());
  screen->update(16);
  g.calls.clear();
  screen->render(&g);
  ASSERT_EQ(g.callsOf("fillRect").size(), 1u);
  EXPECT_EQ(g.callsOf("fillRect")[0].color.a, 40);  // 255 * 16 / 100
  take();
  // The fade ends on the 6th more update, reports on the 7th; the hand-over is on the 8th.
  EXPECT_EQ(updatesWhile(screen, PhaseExiting), 8);
  EXPECT_EQ(take().back(), "exit 3");
}

TEST_F(ScreenTest, WidgetsRemovedLaterVanishAtOnceAndDieOnTheNextUpdate) {
  TestScreen* screen = new TestScreen(&log_);
  app_.changeState(screen);
  DyingWidget* w = new DyingWidget(&log_, 10, 10, 100, 100);
  screen->addWidget(w);
  take();
  PointingDeviceEvent press;
  press.kind = PointingDeviceEvent::Pressed;
  press.x = 20;
  press.y = 20;
  screen->onPointingDeviceEvent(press);
  EXPECT_EQ(take(), (Log{"widget press"}));

  screen->removeWidgetLater(w);
  screen->removeWidgetLater(w);  // a second request deletes it once (ASan)
  screen->onPointingDeviceEvent(press);
  EXPECT_EQ(take(), (Log{"screen press"}));
  NullGraphics g;
  screen->render(&g);
  EXPECT_EQ(take(), (Log{"background", "foreground"}));
  screen->update(16);
  EXPECT_EQ(take(), (Log{"postWidgetUpdate", "widget deleted", "update"}));
  screen->update(16);
  EXPECT_EQ(take(), (Log{"postWidgetUpdate", "update"}));
}

// On its way out it hands one widget back to its owner and queues another.
class HostWidget : public Widget {
 public:
  HostWidget(ScreenBase* screen, Widget* handBack, Widget* queue)
      : screen_(screen), handBack_(handBack), queue_(queue) {}
  void onDetached() override {
    if (handBack_) screen_->removeWidget(handBack_);
    if (queue_) screen_->removeWidgetLater(queue_);
    handBack_ = queue_ = nullptr;
  }

 private:
  ScreenBase* screen_;
  Widget* handBack_;
  Widget* queue_;
};

TEST_F(ScreenTest, DestroyingAScreenDeletesEachWidgetOnceWhateverTheyDoOnTheWayOut) {
  TestScreen* screen = new TestScreen(&log_);
  app_.changeState(screen);
  DyingWidget* returned = new DyingWidget(&log_, 0, 0, 10, 10);
  DyingWidget* lent = new DyingWidget(&log_, 0, 0, 10, 10);   // only in the manager
  DyingWidget* queued = new DyingWidget(&log_, 0, 0, 10, 10);  // queued, never added
  screen->addWidget(new HostWidget(screen, returned, lent));
  screen->addWidget(returned);
  screen->getWidgetManager()->addWidget(lent);
  screen->removeWidgetLater(queued);
  take();
  app_.popState();
  app_.deleteQueuedStates();
  Log log = take();
  EXPECT_EQ(std::count(log.begin(), log.end(), "widget deleted"), 2);  // lent and queued
  EXPECT_EQ(log.front(), "screen deleted");  // the screen's own part goes first
  delete returned;  // handed back: ours to delete (ASan: exactly once)
}

TEST_F(ScreenTest, FullScreenWidgetCoversTheWindowInDesignUnits) {
  struct Case {
    int w, h;
    float factor;
    float expectW, expectH;
  };
  for (const Case& c : {Case{1600, 900, 1.25f, 2000, 1125}, Case{683, 384, 0.5f, 1366, 768}}) {
    app_.setScreenSize(c.w, c.h);
    app_.setScaleFactors(c.factor, c.factor);
    TestScreen* screen = new TestScreen(&log_);
    app_.changeState(screen);
    const MouseListeningWidget* full = screen->getFullScreenWidget();
    ASSERT_NE(full, nullptr);
    EXPECT_FLOAT_EQ(full->getWidth(), c.expectW);
    EXPECT_FLOAT_EQ(full->getHeight(), c.expectH);
    RecordingGraphics g;
    screen->render(&g);
    // Offsets of 0 translate nothing around the scale: every translate is a
    // widget's own, inside its push/pop.
    int depth = 0;
    for (const GraphicsCall& call : g.calls) {
      if (call.op == "pushMatrix") ++depth;
      if (call.op == "popMatrix") --depth;
      if (call.op == "translate") {
        EXPECT_GT(depth, 0) << call.x << " " << call.y;
      }
    }
    EXPECT_EQ(g.calls.front().op, "loadIdentity");
    app_.popState();
  }
}

TEST(ZoomTransition, BandsFrameTheScreenAndTheMatrixIsRestored) {
  ZoomInTransition zoom(100, Color(0, 0, 40, 255));
  zoom.begin(nullptr, -1000);
  EXPECT_FLOAT_EQ(zoom.getProgress(), 0.0f);
  RecordingGraphics g;
  zoom.beginDraw(&g);
  zoom.endDraw(&g);
  // At p = 0 nothing divides by zero and the matrix comes back by pop.
  EXPECT_EQ(g.depth(), 0);
  for (const GraphicsCall& call : g.calls) {
    EXPECT_TRUE(std::isfinite(call.x) && std::isfinite(call.y) && std::isfinite(call.w) &&
                std::isfinite(call.h)) << call.op;
  }
  // The bands were drawn after the pop, in design coordinates.
  ASSERT_EQ(g.callsOf("fillRect").size(), 4u);
  EXPECT_EQ(g.calls[3].op, "popMatrix");
  EXPECT_FLOAT_EQ(g.callsOf("fillRect")[0].h, 384.0f);

  for (int i = 0; i < 4; ++i) zoom.update(12);  // 48 of 100 ms
  zoom.update(2);                               // 50 ms: p = 0.5
  int bands[4][4];
  zoom.bandRects(bands);
  EXPECT_EQ(bands[0][3], 768 / 4);   // top height
  EXPECT_EQ(bands[1][2], 1366 / 4);  // left width (341.5 truncated)
  EXPECT_EQ(bands[2][3], 768 / 4);   // bottom height
  EXPECT_EQ(bands[3][2], 341);       // right width
  EXPECT_EQ(bands[2][1], 576);       // bottom starts below the screen

  for (int i = 0; i < 10; ++i) zoom.update(16);
  EXPECT_FALSE(zoom.isRunning());
  zoom.bandRects(bands);
  for (const auto& b : bands) EXPECT_TRUE(b[2] == 0 || b[3] == 0);
}

struct EndCounter : TransitionListener {
  std::vector<int> ids;
  void transitionFinished(int id) override { ids.push_back(id); }
};

TEST(ZoomTransition, ZoomOutShrinksAndReportsItsId) {
  EndCounter listener;
  ZoomOutTransition zoom(64, Color(0, 0, 0, 255));
  zoom.begin(&listener, -1001);
  EXPECT_FLOAT_EQ(zoom.getProgress(), 1.0f);
  for (int i = 0; i < 3; ++i) zoom.update(16);
  EXPECT_NEAR(zoom.getProgress(), 0.25f, 1e-6);
  EXPECT_TRUE(listener.ids.empty());
  zoom.update(16);
  EXPECT_EQ(listener.ids, std::vector<int>{-1001});
  EXPECT_FLOAT_EQ(zoom.getProgress(), 0.0f);
  // A restart drops the previous run.
  zoom.begin(&listener, -1001);
  EXPECT_TRUE(zoom.isRunning());
  EXPECT_FLOAT_EQ(zoom.getProgress(), 1.0f);
}

}  // namespace
