#include "ZoomTransitions.h"

#include "DesignSize.h"
#include "Graphics.h"
#include "tinyaction/TinyRelIncrementator.h"

ZoomTransition::ZoomTransition(int durationMs, const Color& color, float startProgress)
    : duration_(durationMs), p_(startProgress), color_(color),
      width_(static_cast<float>(bge::kDesignWidth)),
      height_(static_cast<float>(bge::kDesignHeight)) {}

ZoomTransition::~ZoomTransition() = default;

void ZoomTransition::startZoom(float from, float change) {
  zoom_.reset();
  p_ = from;
  zoom_ = std::make_unique<TinyRelIncrementator<float>>(TinyTimer(duration_), &p_, change,
                                                        linearOperatorFunction, 1.0f);
  zoom_->start(this, -1);
}

void ZoomInTransition::start() { startZoom(0.0f, 1.0f); }

void ZoomOutTransition::start() { startZoom(1.0f, -1.0f); }

void ZoomTransition::update(int dt) {
  if (zoom_) zoom_->update(dt);
}

void ZoomTransition::actionFinished(int /*tag*/) { finish(); }

void ZoomTransition::bandRects(int out[4][4]) const {
  const float ox = width_ * 0.5f * (1.0f - p_);
  const float oy = height_ * 0.5f * (1.0f - p_);
  const float bw = width_ * p_;
  const float bh = height_ * p_;
  const float top[4] = {0.0f, 0.0f, width_, oy};
  const float left[4] = {0.0f, 0.0f, ox, height_};
  const float bottom[4] = {0.0f, oy + bh, width_, height_ - oy - bh};
  const float right[4] = {ox + bw, 0.0f, width_ - ox - bw, height_};
  const float* bands[4] = {top, left, bottom, right};
  for (int i = 0; i < 4; ++i) {
    for (int k = 0; k < 4; ++k) out[i][k] = static_cast<int>(bands[i][k]);
  }
}

void ZoomTransition::drawBands(Graphics* g) const {
  int bands[4][4];
  bandRects(bands);
  for (const auto& b : bands) g->fillRect(b[0], b[1], b[2], b[3], color_);
}

// Both directions keep the zoom inside a push/pop pair: undoing it with a
// 1/p scale would divide by zero at p = 0. The bands are drawn afterwards in
// design coordinates, so they frame the zoomed screen.
void ZoomTransition::beginDraw(Graphics* g) {
  const float ox = width_ * 0.5f * (1.0f - p_);
  const float oy = height_ * 0.5f * (1.0f - p_);
  g->pushMatrix();
  g->translate(ox, oy);
  g->scale(p_, p_);
}

void ZoomTransition::endDraw(Graphics* g) {
  g->popMatrix();
  drawBands(g);
}
