#pragma once
#include <memory>

#include "Color.h"
#include "Rect5.h"
#include "Transition.h"

class TinyAction;

// A colour quad over the whole design area whose alpha runs from opaque to
// clear. The quad overhangs the area by 100 units on every side.
class FadeInTransition : public Transition {
 public:
  FadeInTransition(int durationMs, const Color& color);
  ~FadeInTransition() override;

  void endDraw(Graphics* g) override;
  void update(int dt) override;
  void start() override;

  int getAlpha() const { return alpha_; }
  const Rect5& getQuad() const { return quad_; }

 protected:
  void startFade(int fromAlpha, int change);

  int alpha_ = 255;
  int duration_;
  Rect5 quad_;
  Color color_;
  std::unique_ptr<TinyAction> fade_;
};

// The same quad from clear to opaque.
class FadeOutTransition : public FadeInTransition {
 public:
  FadeOutTransition(int durationMs, const Color& color) : FadeInTransition(durationMs, color) {}
  void start() override;
};
