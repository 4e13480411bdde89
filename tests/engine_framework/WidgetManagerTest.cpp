// Depth order, hit testing and the pointer dispatch across overlapping widgets.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "GameApp.h"
#include "KeyEvent.h"
#include "PointingDeviceEvent.h"
#include "RecordingGraphics.h"
#include "Widget.h"
#include "WidgetManager.h"

namespace {

using Log = std::vector<std::string>;

// Writes every call it gets into a shared log as "<name> <call>".
class LogWidget : public Widget {
 public:
  LogWidget(const std::string& name, Log* log, int x, int y, int w, int h) : name_(name), log_(log) {
    setRect(x, y, w, h);
  }
  void mousePressed(const PointingDeviceEvent&) override { note("press"); }
  void mouseMoved(const PointingDeviceEvent&) override { note("move"); }
  void mouseReleased(const PointingDeviceEvent&) override {
    note("release");
    if (onRelease) onRelease(this);
  }
  void onWheelUp(const PointingDeviceEvent&) override { note("wheelup"); }
  void onWheelDown(const PointingDeviceEvent&) override { note("wheeldown"); }
  void onKeyEvent(const KeyEvent&) override { note("key"); }
  void onPointerEnter() override { note("enter"); }
  void onPointerExit() override { note("exit"); }
  void onFocusGained() override { note("focus"); }
  void onFocusLost() override { note("blur"); }
  void update(int, ScreenBase*) override {
    note("update");
    if (onUpdate) onUpdate(this);
  }
  void draw(Graphics* g, ScreenBase*) override {
    note("draw");
    if (layer >= 0) getManager()->addToLayer(this, layer);
    (void)g;
  }
  void drawLayer(Graphics*, ScreenBase*) override { note("layer"); }

  void (*onRelease)(LogWidget*) = nullptr;
  void (*onUpdate)(LogWidget*) = nullptr;
  int layer = -1;
  WidgetManager* removeFrom = nullptr;

 private:
  void note(const char* what) { log_->push_back(name_ + " " + what); }
  std::string name_;
  Log* log_;
};

PointingDeviceEvent pointer(int kind, int x, int y, int buttons = 0) {
  PointingDeviceEvent e;
  e.kind = kind;
  e.x = x;
  e.y = y;
  e.buttons = buttons;
  return e;
}

class WidgetManagerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app_.setMousePosition(-1000, -1000);
    // Back to front: the full-area one, then B, then A over part of B.
    back_ = new LogWidget("back", &log_, 0, 0, 1366, 768);
    b_ = new LogWidget("B", &log_, 100, 100, 200, 200);
    a_ = new LogWidget("A", &log_, 150, 150, 50, 50);
    for (LogWidget* w : {back_, b_, a_}) manager_.addWidget(w);
    manager_.setInputEnabled(true);
    log_.clear();
  }
  void TearDown() override {
    for (LogWidget* w : {back_, b_, a_}) {
      manager_.removeWidget(w);
      delete w;
    }
  }
  void send(int kind, int x, int y, int buttons = 0) {
    manager_.handlePointerEvent(pointer(kind, x, y, buttons));
  }
  Log take() {
    Log out;
    out.swap(log_);
    return out;
  }

  GameApp app_;
  Log log_;
  WidgetManager manager_{nullptr};
  LogWidget* back_ = nullptr;
  LogWidget* b_ = nullptr;
  LogWidget* a_ = nullptr;
};

TEST_F(WidgetManagerTest, NewWidgetsStackInFrontAndHitTestIsHalfOpen) {
  EXPECT_FLOAT_EQ(back_->getZ(), 1.0f);
  EXPECT_FLOAT_EQ(b_->getZ(), 2.0f);
  EXPECT_FLOAT_EQ(a_->getZ(), 3.0f);
  ASSERT_EQ(manager_.widgets().front(), a_);
  EXPECT_EQ(manager_.findWidgetAt(150, 150), a_);
  EXPECT_EQ(manager_.findWidgetAt(199, 199), a_);
  EXPECT_EQ(manager_.findWidgetAt(200, 199), b_);  // right edge is outside A
  EXPECT_EQ(manager_.findWidgetAt(160, 200), b_);  // bottom edge too

  // Disabled and hidden widgets let the pointer through to what lies beneath.
  a_->setEnabled(false);
  EXPECT_EQ(manager_.findWidgetAt(160, 160), b_);
  a_->hoverWhenDisabled_ = true;
  EXPECT_EQ(manager_.findWidgetAt(160, 160), a_);
  a_->setVisible(false);
  EXPECT_EQ(manager_.findWidgetAt(160, 160), b_);

  // Raising puts a widget first again (sorted on the next update).
  a_->setVisible(true);
  b_->raise();
  manager_.update(16, reinterpret_cast<ScreenBase*>(this));
  EXPECT_EQ(manager_.widgets().front(), b_);
  EXPECT_EQ(manager_.findWidget(-1), b_);
}

TEST_F(WidgetManagerTest, ClickHoverAndLeave) {
  send(PointingDeviceEvent::Moved, 160, 160);
  EXPECT_EQ(take(), (Log{"A enter", "A move"}));
  send(PointingDeviceEvent::Pressed, 160, 160, 1);
  EXPECT_EQ(take(), (Log{"A enter", "A press", "A focus"}));
  send(PointingDeviceEvent::Released, 160, 160);
  EXPECT_EQ(take(), (Log{"A release", "A exit"}));
  EXPECT_EQ(manager_.getPointerWidget(), a_);
  // Moving within it after the click sends only moves.
  send(PointingDeviceEvent::Moved, 170, 170);
  EXPECT_EQ(take(), (Log{"A move"}));
  // Leaving A onto B, then onto the background.
  send(PointingDeviceEvent::Moved, 250, 250);
  EXPECT_EQ(take(), (Log{"A exit", "B enter", "B move"}));
  send(PointingDeviceEvent::Moved, 900, 600);
  EXPECT_EQ(take(), (Log{"B exit", "back enter", "back move"}));
  // Wheel goes to the pointer widget, not to what is under the event.
  app_.setMousePosition(160, 160);
  send(PointingDeviceEvent::WheelUp, 0, 1);
  send(PointingDeviceEvent::WheelDown, 0, -1);
  EXPECT_EQ(take(), (Log{"back wheelup", "back wheeldown"}));
  // Keys go to the focused widget.
  manager_.onKeyEvent(KeyEvent());
  EXPECT_EQ(take(), (Log{"A key"}));
  // Off every widget: the pointer widget is told and forgotten.
  send(PointingDeviceEvent::Moved, 5000, 5000);
  EXPECT_EQ(take(), (Log{"back exit"}));
  EXPECT_EQ(manager_.getPointerWidget(), nullptr);
}

TEST_F(WidgetManagerTest, DragAcrossOthersStaysWithThePressedWidget) {
  send(PointingDeviceEvent::Moved, 160, 160);
  send(PointingDeviceEvent::Pressed, 160, 160, 1);
  take();
  send(PointingDeviceEvent::Moved, 250, 250, 1);  // over B
  send(PointingDeviceEvent::Moved, 900, 600, 1);  // over the background
  EXPECT_EQ(take(), (Log{"A exit", "A move", "A move"}));
  EXPECT_EQ(manager_.getPointerWidget(), a_);
  EXPECT_EQ(manager_.getExitedWidget(), a_);
  send(PointingDeviceEvent::Moved, 160, 160, 1);  // back onto A
  EXPECT_EQ(take(), (Log{"A enter", "A move"}));
  EXPECT_EQ(manager_.getExitedWidget(), nullptr);
  // Released elsewhere: the pressed widget hears the release.
  send(PointingDeviceEvent::Moved, 250, 250, 1);
  take();
  send(PointingDeviceEvent::Released, 250, 250);
  EXPECT_EQ(take(), (Log{"A release", "A exit"}));
  EXPECT_EQ(manager_.getPointerWidget(), b_);
  EXPECT_EQ(manager_.getExitedWidget(), nullptr);
}

TEST_F(WidgetManagerTest, ReleaseHandlerThatLetsGoGetsOneRelease) {
  send(PointingDeviceEvent::Moved, 160, 160);
  send(PointingDeviceEvent::Pressed, 160, 160, 1);
  take();
  a_->onRelease = [](LogWidget* w) { w->getManager()->removeWidget(w); };
  send(PointingDeviceEvent::Released, 160, 160);
  EXPECT_EQ(take(), (Log{"A release", "A blur"}));
  EXPECT_EQ(manager_.getPointerWidget(), nullptr);
  EXPECT_EQ(manager_.getFocusedWidget(), nullptr);
  manager_.addWidget(a_);  // so TearDown finds it again
}

TEST_F(WidgetManagerTest, RemovalForgetsEveryRole) {
  send(PointingDeviceEvent::Moved, 160, 160);
  send(PointingDeviceEvent::Pressed, 160, 160, 1);
  send(PointingDeviceEvent::Moved, 250, 250, 1);
  ASSERT_EQ(manager_.getPointerWidget(), a_);
  ASSERT_EQ(manager_.getExitedWidget(), a_);
  ASSERT_EQ(manager_.getFocusedWidget(), a_);
  take();
  manager_.removeWidget(a_);
  EXPECT_EQ(manager_.getPointerWidget(), nullptr);
  EXPECT_EQ(manager_.getExitedWidget(), nullptr);
  EXPECT_EQ(manager_.getFocusedWidget(), nullptr);
  EXPECT_EQ(a_->getManager(), nullptr);
  EXPECT_TRUE(manager_.isListChanged());
  send(PointingDeviceEvent::Moved, 160, 160);
  EXPECT_EQ(take(), (Log{"A blur", "B enter", "B move"}));
  manager_.addWidget(a_);
}

TEST_F(WidgetManagerTest, EnablingUnderThePointerTakesTheHover) {
  a_->setEnabled(false);
  app_.setMousePosition(160, 160);
  send(PointingDeviceEvent::Moved, 160, 160);
  EXPECT_EQ(take(), (Log{"B enter", "B move"}));
  a_->setEnabled(true);
  EXPECT_EQ(take(), (Log{"B exit", "A enter"}));
  EXPECT_EQ(manager_.getPointerWidget(), a_);

  // Input off: nothing reaches anyone.
  manager_.setInputEnabled(false);
  send(PointingDeviceEvent::Pressed, 160, 160, 1);
  EXPECT_TRUE(take().empty());
}

TEST_F(WidgetManagerTest, UpdateStopsWhenTheListChangesAndLayersDrawLast) {
  ScreenBase* screen = reinterpret_cast<ScreenBase*>(this);  // only compared, never used
  EXPECT_FALSE(manager_.update(16, nullptr));
  EXPECT_TRUE(take().empty());
  b_->setActive(false);
  EXPECT_TRUE(manager_.update(16, screen));
  EXPECT_EQ(take(), (Log{"A update", "back update"}));

  a_->onUpdate = [](LogWidget* w) { w->getManager()->setListChanged(); };
  send(PointingDeviceEvent::Moved, 160, 160);
  take();
  EXPECT_FALSE(manager_.update(16, screen));
  EXPECT_EQ(take(), (Log{"A update"}));
  EXPECT_EQ(manager_.getPointerWidget(), nullptr);
  a_->onUpdate = nullptr;

  RecordingGraphics g;
  a_->layer = 2;
  b_->layer = 1;
  back_->setVisible(false);
  manager_.draw(&g, screen);
  EXPECT_EQ(take(), (Log{"B draw", "A draw", "B layer", "A layer"}));
  EXPECT_EQ(g.depth(), 0);
  // Each widget draws with its corner at the origin.
  EXPECT_EQ(g.calls[0].op, "pushMatrix");
  EXPECT_EQ(g.calls[1].op, "translate");
  EXPECT_FLOAT_EQ(g.calls[1].x, 100.0f);
  EXPECT_FLOAT_EQ(g.calls[1].y, 100.0f);
}

}  // namespace
