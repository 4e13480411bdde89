#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "RecordingState.h"
#include "SDLGameApp.h"

using Journal = std::vector<std::string>;

TEST(StateStack, PushPopOrderAndDeferredDeletion) {
  Journal j;
  GameApp app;
  auto* a = new RecordingState("A", j);
  auto* b = new RecordingState("B", j);
  app.changeState(a);
  app.pushState(b);
  EXPECT_EQ(j, (Journal{"A:activate", "A:enter", "A:pause", "B:enter"}));
  EXPECT_EQ(app.topState(), b);
  j.clear();
  app.popState();
  EXPECT_EQ(j, (Journal{"B:leave", "A:resume"}));
  EXPECT_EQ(app.queuedForDeletion(), 1u);
  j.clear();
  app.deleteQueuedStates();
  EXPECT_EQ(j, (Journal{"B:deleted"}));
  j.clear();
  app.finishState(nullptr);  // pops the top whatever it is given
  EXPECT_EQ(j, (Journal{"A:leave"}));
  EXPECT_TRUE(app.states().empty());
  app.popState();  // empty: nothing
  app.deleteQueuedStates();
  EXPECT_EQ(j, (Journal{"A:leave", "A:deleted"}));
}

TEST(StateStack, StatePoppedAndPushedAgainInOneFrameSurvivesTheFrameEnd) {
  Journal j;
  GameApp app;
  auto* a = new RecordingState("A", j);
  app.pushState(a);
  app.popState();
  app.pushState(a);
  app.deleteQueuedStates();
  EXPECT_EQ(app.topState(), a);
  EXPECT_EQ(std::count(j.begin(), j.end(), "A:deleted"), 0);
}

// Every dispatch walks the stack through one operation: a state popped by an
// earlier visit is skipped and not deleted during the walk, a paused one is
// filtered, and a walk started from inside a visit sees the stack as it is then.
TEST(StateStack, VisitsSkipPoppedStatesAndNest) {
  Journal j;
  GameApp app;
  auto* a = new RecordingState("A", j);
  auto* b = new RecordingState("B", j);
  auto* c = new RecordingState("C", j);
  app.pushState(a);
  app.pushState(b);
  app.pushState(c);
  b->setActive(true);  // two active states over a paused one
  std::vector<std::string> seen;
  auto name = [&](GameState* s) { return s == a ? "A" : s == b ? "B" : "C"; };
  app.visitStates(GameApp::StateOrder::TopDown, GameApp::StateFilter::Active, [&](GameState* s) {
    seen.push_back(name(s));
    if (s != c) return;
    app.popState();  // C pops itself
    app.visitStates(GameApp::StateOrder::BottomUp, GameApp::StateFilter::OnStack,
                    [&](GameState* inner) { seen.push_back(std::string("in:") + name(inner)); });
  });
  EXPECT_EQ(seen, (std::vector<std::string>{"C", "in:A", "in:B", "B"}));
  EXPECT_EQ(std::count(j.begin(), j.end(), "C:deleted"), 0);
  seen.clear();
  app.popState();  // B goes; A resumes
  app.visitStates(GameApp::StateOrder::TopDown, GameApp::StateFilter::ActiveOrAll,
                  [&](GameState* s) { seen.push_back(name(s)); });
  EXPECT_EQ(seen, (std::vector<std::string>{"A"}));
  app.deleteQueuedStates();
  EXPECT_EQ(std::count(j.begin(), j.end(), "C:deleted"), 1);
}

TEST(StateStack, RemoveStateIfTopOnlyRemovesTheTop) {
  Journal j;
  GameApp app;
  auto* a = new RecordingState("A", j);
  auto* b = new RecordingState("B", j);
  app.pushState(a);
  app.pushState(b);
  j.clear();
  app.removeStateIfTop(a);
  EXPECT_EQ(app.states().size(), 2u);
  EXPECT_TRUE(j.empty());
  app.removeStateIfTop(b);
  EXPECT_EQ(app.states().size(), 1u);
  EXPECT_FALSE(b->isActive());
  EXPECT_TRUE(j.empty());  // no leave, no resume, no deletion
  delete b;
}

TEST(StateStack, ApplicationEndsWithLeaveTopDownAndFreesItsStates) {
  Journal j;
  {
    GameApp app;
    app.pushState(new RecordingState("A", j));
    app.pushState(new RecordingState("B", j));
    app.pushState(new RecordingState("C", j));
    app.popState();  // C waits in the deletion queue
    j.clear();
  }
  EXPECT_EQ(j, (Journal{"B:leave", "A:leave", "C:deleted", "B:deleted", "A:deleted"}));
}

TEST(StateStack, StateThatFinishesItselfDuringUpdate) {
  Journal j;
  SDLGameApp app;
  auto* a = new RecordingState("A", j);
  auto* b = new RecordingState("B", j);
  auto* c = new RecordingState("C", j);
  app.pushState(a);
  app.pushState(b);
  app.pushState(c);
  a->setActive(true);  // A and B keep running under C
  b->setActive(true);
  b->onUpdate = [&] { app.finishState(b); };  // pops the top, C
  c->onUpdate = [&] { ADD_FAILURE() << "C was popped before its turn"; };
  a->onUpdate = [&] { app.finishState(a); };
  j.clear();
  app.update(16);
  // A pops C (the top) inside its own update; B, now the top, pops itself inside its update.
  EXPECT_EQ(j, (Journal{"A:update", "C:leave", "B:resume", "B:update", "B:leave", "A:resume"}));
  EXPECT_EQ(app.states(), (std::vector<GameState*>{a}));
  j.clear();
  app.deleteQueuedStates();  // ASan would catch a use after free above
  EXPECT_EQ(j, (Journal{"C:deleted", "B:deleted"}));
}

TEST(StateStack, StatePushedDuringUpdateWaitsForTheNextFrame) {
  Journal j;
  SDLGameApp app;
  auto* a = new RecordingState("A", j);
  app.pushState(a);
  bool pushed = false;
  a->onUpdate = [&] {
    if (pushed) return;
    pushed = true;
    app.changeState(new RecordingState("N", j));
  };
  j.clear();
  app.update(5);
  EXPECT_EQ(j, (Journal{"A:update", "N:activate", "A:pause", "N:enter"}));
  j.clear();
  app.update(5);
  EXPECT_EQ(j, (Journal{"N:update"}));  // A is paused now
  app.setUpdateInactiveStates(true);
  j.clear();
  app.update(5);
  EXPECT_EQ(j, (Journal{"A:update", "N:update"}));
}

TEST(StateStack, ExitAllStatesRunsExitHooksTopDownAndKeepsThem) {
  Journal j;
  SDLGameApp app;
  app.pushState(new RecordingState("A", j));
  app.pushState(new RecordingState("B", j));
  j.clear();
  app.exitAllStates();
  EXPECT_EQ(j, (Journal{"B:exitHook", "A:exitHook"}));
  EXPECT_EQ(app.states().size(), 2u);
}

TEST(StateStack, FinishedChannelsReachActiveStatesOnTheMainThread) {
  Journal j;
  SDLGameApp app;
  auto* a = new RecordingState("A", j);
  app.pushState(a);
  app.pushState(new RecordingState("B", j));
  j.clear();
  // The mixer calls back on its own thread; nothing may reach the states there.
  std::thread audio([] {
    SDLGameApp::queueFinishedChannel(3);
    SDLGameApp::queueFinishedChannel(7);
  });
  audio.join();
  EXPECT_TRUE(j.empty());
  app.deliverFinishedChannels();
  EXPECT_EQ(j, (Journal{"B:channel 3", "B:channel 7"}));  // A is paused
  j.clear();
  app.deliverFinishedChannels();
  EXPECT_TRUE(j.empty());
}

TEST(StateStack, MinimiseStopsTheClockAndTellsActiveStates) {
  Journal j;
  SDLGameApp app;
  app.pushState(new RecordingState("A", j));
  app.pushState(new RecordingState("B", j));
  j.clear();
  app.onMinimized();
  app.onMinimized();  // already minimised: nothing more
  EXPECT_FALSE(app.isWindowActive());
  EXPECT_TRUE(app.getTimer()->isPaused());
  app.onRestored();
  EXPECT_TRUE(app.isWindowActive());
  EXPECT_FALSE(app.getTimer()->isPaused());
  EXPECT_EQ(j, (Journal{"B:minimized", "B:restored"}));
}
