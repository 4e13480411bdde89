// Timing and ownership of the timed action family at the frame steps the game uses.
#include <gtest/gtest.h>

#include <vector>

#include "tinyaction/TinyActions.h"

namespace {

struct Recorder : bge::ActionListener {
  std::vector<int> tags;
  void actionFinished(int tag) override { tags.push_back(tag); }
};

// Counts updates until the action reports, or gives up.
int updatesUntilFinished(TinyAction* action, Recorder& rec, int ms, int limit = 1000) {
  for (int i = 1; i <= limit; ++i) {
    action->update(ms);
    if (!rec.tags.empty()) return i;
  }
  return -1;
}

TEST(TinyActionDelay, EndsOnTheUpdateThatReachesItsDuration) {
  Recorder rec;
  TinyActionDelay delay(TinyTimer(500));
  delay.start(&rec, 7);
  EXPECT_EQ(updatesUntilFinished(&delay, rec, 16), 32);
  EXPECT_EQ(delay.getTimer().elapsed, 512);
  ASSERT_EQ(rec.tags.size(), 1u);
  EXPECT_EQ(rec.tags[0], 7);
  EXPECT_FALSE(delay.isRunning());

  // Zero duration ends on the first update, not during start; restart resets the timer.
  TinyActionDelay zero(TinyTimer(0));
  Recorder rec2;
  zero.start(&rec2, 1);
  EXPECT_TRUE(rec2.tags.empty());
  zero.update(0);
  EXPECT_EQ(rec2.tags.size(), 1u);
  delay.start(&rec, 8);
  EXPECT_EQ(delay.getTimer().elapsed, 0);
}

TEST(TinyActionSequence, StepsOnTheUpdateAfterAChildEnds) {
  for (bool chain : {false, true}) {
    SCOPED_TRACE(chain ? "chain at once" : "plain");
    TinyActionSequence* seq = new TinyActionSequence(chain);
    seq->addAction(new TinyActionDelay(TinyTimer(500)));
    TinyActionDelay* second = new TinyActionDelay(TinyTimer(100));
    seq->addAction(second);
    Recorder rec;
    seq->start(&rec, 3);
    for (int i = 0; i < 32; ++i) seq->update(16);
    EXPECT_FALSE(second->isRunning());
    seq->update(16);  // the 33rd update starts the second child
    EXPECT_TRUE(second->isRunning());
    EXPECT_EQ(second->getTimer().elapsed, chain ? 16 : 0);
    EXPECT_EQ(seq->getCurrentIndex(), 1u);
    EXPECT_TRUE(rec.tags.empty());
    int more = updatesUntilFinished(seq, rec, 16);
    // 100 ms takes 7 updates (6 with the first 16 ms already in); the sequence reports one later.
    EXPECT_EQ(more, chain ? 7 : 8);
    EXPECT_EQ(rec.tags, std::vector<int>{3});
    delete seq;
  }
}

TEST(TinyActionComposites, EmptyOnesReportFromStart) {
  Recorder rec;
  TinyActionSequence seq;
  seq.start(&rec, 4);
  TinyParalelAction par;
  par.start(&rec, 5);
  EXPECT_EQ(rec.tags, (std::vector<int>{4, 5}));
  EXPECT_FALSE(seq.isRunning());
  EXPECT_FALSE(par.isRunning());
}

TEST(TinyActionComposites, ThenAndParallelFlattenIntoOneComposite) {
  TinyAction* a = new TinyAction();
  TinyAction* b = new TinyAction();
  TinyAction* c = new TinyAction();
  TinyAction* seq = a->then(b)->then(c);
  auto* asSeq = dynamic_cast<TinyActionSequence*>(seq);
  ASSERT_NE(asSeq, nullptr);
  ASSERT_EQ(asSeq->getActionCount(), 3u);
  EXPECT_EQ(asSeq->getAction(0), a);
  EXPECT_EQ(asSeq->getAction(1), b);
  EXPECT_EQ(asSeq->getAction(2), c);

  TinyAction* d = new TinyAction();
  TinyAction* e = new TinyAction();
  TinyAction* f = new TinyAction();
  TinyAction* par = d->parallel(e)->parallel(f);
  auto* asPar = dynamic_cast<TinyParalelAction*>(par);
  ASSERT_NE(asPar, nullptr);
  ASSERT_EQ(asPar->getActionCount(), 3u);
  EXPECT_EQ(asPar->getAction(2), f);

  // Mixing builds a new composite around the existing one.
  TinyAction* mixed = seq->parallel(par);
  auto* mixedPar = dynamic_cast<TinyParalelAction*>(mixed);
  ASSERT_NE(mixedPar, nullptr);
  EXPECT_EQ(mixedPar->getAction(0), seq);
  EXPECT_EQ(mixedPar->getAction(1), par);
  delete mixed;  // owns everything
}

TEST(TinyActionComposites, ParallelEndsAfterItsLongestChild) {
  TinyParalelAction par;
  TinyActionDelay* shortOne = new TinyActionDelay(TinyTimer(32));
  TinyActionDelay* longOne = new TinyActionDelay(TinyTimer(64));
  par.addAction(shortOne);
  par.addAction(longOne);
  Recorder rec;
  par.start(&rec, 9);
  EXPECT_EQ(updatesUntilFinished(&par, rec, 16), 5);
  // The short child is not updated after it ended.
  EXPECT_EQ(shortOne->getTimer().elapsed, 32);
  EXPECT_EQ(rec.tags, std::vector<int>{9});
}

TEST(TinyActionComposites, StopHaltsTheCurrentChildAndRestartBeginsAgain) {
  TinyActionSequence seq;
  TinyActionDelay* first = new TinyActionDelay(TinyTimer(16));
  TinyActionDelay* second = new TinyActionDelay(TinyTimer(1000));
  seq.addAction(first);
  seq.addAction(second);
  Recorder rec;
  seq.start(&rec, 0);
  seq.update(16);
  seq.update(16);
  ASSERT_TRUE(second->isRunning());
  seq.stop();
  EXPECT_FALSE(second->isRunning());
  EXPECT_FALSE(seq.isRunning());
  seq.update(16);
  EXPECT_TRUE(rec.tags.empty());
  seq.start(&rec, 0);
  EXPECT_TRUE(first->isRunning());
  EXPECT_FALSE(second->isRunning());
  EXPECT_EQ(seq.getCurrentIndex(), 0u);
}

TEST(TinyRelIncrementator, LinearStepsAndExactEnd) {
  struct Case {
    int step;
    std::vector<int> values;
  };
  for (const Case& c : {Case{100, {50, 100, 150, 200}}, Case{150, {75, 150, 200}}}) {
    SCOPED_TRACE(c.step);
    int value = 0;
    TinyRelIncrementator<int> inc(TinyTimer(400), &value, 200, linearOperatorFunction, 1.0f);
    Recorder rec;
    inc.start(&rec, 2);
    std::vector<int> seen;
    while (rec.tags.empty() && seen.size() < 10) {
      inc.update(c.step);
      seen.push_back(value);
    }
    EXPECT_EQ(seen, c.values);
    EXPECT_EQ(rec.tags, std::vector<int>{2});
  }
}

TEST(TinyRelIncrementator, CurvesAndZeroDuration) {
  int value = 0;
  TinyRelIncrementator<int> expo(TinyTimer(400), &value, 200, exponentialOperatorFunction, 1.0f);
  expo.start(nullptr, 0);
  expo.update(200);
  EXPECT_EQ(value, 82);

  for (auto op : {linearOperatorFunction, exponentialOperatorFunction, logarithmicOperatorFunction}) {
    EXPECT_NEAR(op(0.0f, 300.0f, 0.0f), 0.0, 1e-6);
    EXPECT_NEAR(op(300.0f, 300.0f, 0.0f), 1.0, 1e-6);
  }

  // No time to animate over: report from start, leave the target alone.
  int untouched = 13;
  Recorder rec;
  TinyRelIncrementator<int> zero(TinyTimer(0), &untouched, 50, linearOperatorFunction, 1.0f);
  zero.start(&rec, 6);
  EXPECT_EQ(rec.tags, std::vector<int>{6});
  EXPECT_EQ(untouched, 13);
  unsigned char alpha = 200;
  TinyRelDecrementator<unsigned char> fadeZero(TinyTimer(0), &alpha, 100, linearOperatorFunction,
                                               1.0f);
  fadeZero.start(&rec, 7);
  EXPECT_EQ(rec.tags.back(), 7);
  EXPECT_EQ(alpha, 200);
}

TEST(TinyRelIncrementator, BytesClampInsteadOfWrapping) {
  unsigned char up = 200;
  TinyRelIncrementator<unsigned char> inc(TinyTimer(100), &up, 100, exponentialOperatorFunction,
                                          1.0f);
  inc.start(nullptr, 0);
  inc.update(90);
  EXPECT_EQ(up, 255);  // 200 + 86 would wrap to 30
  inc.update(90);
  EXPECT_EQ(up, 255);

  unsigned char down = 60;
  TinyRelDecrementator<unsigned char> dec(TinyTimer(100), &down, 80, linearOperatorFunction, 1.0f);
  dec.start(nullptr, 0);
  dec.update(50);
  EXPECT_EQ(down, 20);
  dec.update(50);
  EXPECT_EQ(down, 0);  // 60 - 80 would wrap to 236
  EXPECT_FALSE(dec.isRunning());
}

TEST(TinySetter, SetsDuringStartAndReportsOnFirstUpdate) {
  float target = 1.0f;
  TinySetter<float> setter(&target, 0.25f);
  Recorder rec;
  setter.start(&rec, 11);
  EXPECT_FLOAT_EQ(target, 0.25f);
  EXPECT_TRUE(rec.tags.empty());
  setter.update(16);
  EXPECT_EQ(rec.tags, std::vector<int>{11});
}

TEST(TinyLoopAction, CountsIterations) {
  struct Case {
    int count;
    int expectedUpdates;  // -1: never reports
  };
  for (const Case& c : {Case{3, 21}, Case{0, 7}, Case{1, 7}, Case{-1, -1}}) {
    SCOPED_TRACE(c.count);
    TinyLoopAction loop(new TinyActionDelay(TinyTimer(100)), c.count);
    Recorder rec;
    loop.start(&rec, 12);
    EXPECT_EQ(updatesUntilFinished(&loop, rec, 16, 200), c.expectedUpdates);
    if (c.count == -1) {
      EXPECT_TRUE(loop.isRunning());
      EXPECT_GE(loop.getCompletedIterations(), 20);
    } else {
      EXPECT_EQ(rec.tags, std::vector<int>{12});
      loop.update(16);
      EXPECT_EQ(rec.tags.size(), 1u);
    }
  }
}

TEST(TinyLoopAction, ChildThatEndsInsideItsStartRestartsNextUpdate) {
  // An empty sequence ends while being started; an endless loop over it used to
  // recurse without end.
  TinyLoopAction endless(new TinyActionSequence(), -1);
  Recorder rec;
  endless.start(&rec, 1);
  EXPECT_EQ(endless.getCompletedIterations(), 1);
  for (int i = 0; i < 5; ++i) endless.update(16);
  EXPECT_EQ(endless.getCompletedIterations(), 6);
  EXPECT_TRUE(rec.tags.empty());

  int v = 0;
  TinyLoopAction counted(new TinyRelIncrementator<int>(TinyTimer(0), &v, 5, linearOperatorFunction, 1.0f), 3);
  counted.start(&rec, 2);
  counted.update(16);
  EXPECT_TRUE(rec.tags.empty());
  counted.update(16);
  EXPECT_EQ(rec.tags, std::vector<int>{2});
  EXPECT_EQ(v, 0);
}

// A listener that drops the action that reports to it; ASan sees any later touch.
struct Dropper : bge::ActionListener {
  TinyAction* owned = nullptr;
  int calls = 0;
  void actionFinished(int) override {
    ++calls;
    delete owned;
    owned = nullptr;
  }
};

TEST(TinyActionOwnership, ListenerMayDeleteTheReportingAction) {
  {
    Dropper d;
    d.owned = new TinyActionDelay(TinyTimer(16));
    d.owned->start(&d, 0);
    d.owned->update(16);
    EXPECT_EQ(d.calls, 1);
  }
  {
    Dropper d;
    d.owned = new TinyLoopAction(new TinyActionDelay(TinyTimer(16)), 2);
    d.owned->start(&d, 0);
    TinyAction* a = d.owned;
    for (int i = 0; i < 3 && d.owned; ++i) a->update(16);
    EXPECT_EQ(d.calls, 1);
    EXPECT_EQ(d.owned, nullptr);
  }
  {
    // The loop over a child that ends during start reports from within start.
    Dropper d;
    d.owned = new TinyLoopAction(new TinyParalelAction(), 1);
    d.owned->start(&d, 0);
    EXPECT_EQ(d.calls, 1);
    EXPECT_EQ(d.owned, nullptr);
  }
  {
    Dropper d;
    TinyActionSequence* seq = new TinyActionSequence();
    seq->addAction(new TinyActionDelay(TinyTimer(16)));
    d.owned = seq;
    seq->start(&d, 0);
    for (int i = 0; i < 3 && d.owned; ++i) seq->update(16);
    EXPECT_EQ(d.calls, 1);
  }
  {
    Dropper d;
    int v = 0;
    d.owned = new TinyRelIncrementator<int>(TinyTimer(16), &v, 4, linearOperatorFunction, 1.0f);
    d.owned->start(&d, 0);
    d.owned->update(16);
    EXPECT_EQ(d.calls, 1);
    EXPECT_EQ(v, 4);
  }
}

TEST(TinyActionClone, CopiesTheTreeNotTheChildren) {
  TinyActionSequence* seq = new TinyActionSequence(true);
  seq->addAction(new TinyActionDelay(TinyTimer(32)));
  seq->addAction(new TinyLoopAction(new TinyActionDelay(TinyTimer(16)), 2));
  TinyAction* copy = seq->clone();
  auto* copySeq = dynamic_cast<TinyActionSequence*>(copy);
  ASSERT_NE(copySeq, nullptr);
  EXPECT_TRUE(copySeq->chainsAtOnce());
  ASSERT_EQ(copySeq->getActionCount(), 2u);
  EXPECT_NE(copySeq->getAction(0), seq->getAction(0));
  delete seq;  // the copy must survive its original
  Recorder rec;
  copy->start(&rec, 5);
  // 2 updates for the delay, then (chained) 2 iterations of one update each
  // inside the loop, then one more for the sequence to notice.
  EXPECT_EQ(updatesUntilFinished(copy, rec, 16), 5);
  delete copy;
}

}  // namespace
