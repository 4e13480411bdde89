#include "FadeTransitions.h"

#include <algorithm>

#include "DesignSize.h"
#include "Graphics.h"
#include "tinyaction/TinyRelIncrementator.h"

// The fade draws after the screen's design scale, so it covers the design
// area (plus an overhang), whatever the window size.
FadeInTransition::FadeInTransition(int durationMs, const Color& color)
    : duration_(durationMs),
      quad_(-100.0f, -100.0f, static_cast<float>(bge::kDesignWidth + 200),
            static_cast<float>(bge::kDesignHeight + 200)),
      color_(color) {}

FadeInTransition::~FadeInTransition() = default;

void FadeInTransition::startFade(int fromAlpha, int change) {
  fade_.reset();
  alpha_ = fromAlpha;
  fade_ = std::make_unique<TinyRelIncrementator<int>>(TinyTimer(duration_), &alpha_, change,
                                                      linearOperatorFunction, 1.0f);
  fade_->start(nullptr, -1);
}

void FadeInTransition::start() { startFade(255, -255); }

void FadeOutTransition::start() { startFade(0, 255); }

void FadeInTransition::update(int dt) {
  if (!running_) return;
  if (fade_ && fade_->isRunning()) {
    fade_->update(dt);
    alpha_ = std::clamp(alpha_, 0, 255);
    return;
  }
  finish();
}

void FadeInTransition::endDraw(Graphics* g) {
  g->fillRect(quad_, Color(color_.r, color_.g, color_.b, alpha_));
}
