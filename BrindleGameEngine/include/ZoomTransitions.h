#pragma once
#include <memory>

#include "Color.h"
#include "Transition.h"
#include "tinyaction/ActionListener.h"

class TinyAction;

// The screen grows from (in) or shrinks to (out) its centre, with bands of a
// colour filling the rest of the design area. p is the share of the full size.
class ZoomTransition : public Transition, public bge::ActionListener {
 public:
  ~ZoomTransition() override;

  void beginDraw(Graphics* g) override;
  void endDraw(Graphics* g) override;
  void update(int dt) override;
  void actionFinished(int tag) override;

  float getProgress() const { return p_; }
  // The four bands for the current progress: top, left, bottom, right (x, y, w, h).
  void bandRects(int out[4][4]) const;

 protected:
  ZoomTransition(int durationMs, const Color& color, float startProgress);
  void startZoom(float from, float change);
  void drawBands(Graphics* g) const;

  int duration_;
  float p_;
  Color color_;
  std::unique_ptr<TinyAction> zoom_;
  float width_;
  float height_;
};

class ZoomInTransition : public ZoomTransition {
 public:
  ZoomInTransition(int durationMs, const Color& color) : ZoomTransition(durationMs, color, 0.0f) {}
  void start() override;
};

class ZoomOutTransition : public ZoomTransition {
 public:
  ZoomOutTransition(int durationMs, const Color& color) : ZoomTransition(durationMs, color, 1.0f) {}
  void start() override;
};
