#pragma once
#include <memory>

#include "tinyaction/TinyAction.h"

// Repeats its child count times (-1: for ever).
class TinyLoopAction : public TinyAction, public bge::ActionListener {
 public:
  TinyLoopAction(TinyAction* child, int count, int iterationTag = -1);
  ~TinyLoopAction() override;

  void update(int ms) override;
  void start(bge::ActionListener* listener, int tag) override;
  void stop() override;
  TinyAction* clone() const override;
  void actionFinished(int tag) override;

  int getCount() const { return count_; }
  int getIterationTag() const { return iterationTag_; }
  int getCompletedIterations() const { return completed_; }

 private:
  TinyLoopAction(const TinyLoopAction& other);
  TinyLoopAction& operator=(const TinyLoopAction&) = delete;
  void startChild();

  std::unique_ptr<TinyAction> child_;
  int count_;
  int iterationTag_;
  int completed_ = 0;
  // A child that ends inside its own start would restart itself without end;
  // such a restart waits for the next update instead.
  bool startingChild_ = false;
  bool restartPending_ = false;
  bool* deletedWhileStarting_ = nullptr;
};
