#include "Timer.h"

#include <SDL.h>

namespace {
uint64_t sdlTicks() { return SDL_GetTicks64(); }
TickSource g_tickSource = &sdlTicks;
}  // namespace

uint64_t engineTicks() { return g_tickSource(); }

TickSource setTickSource(TickSource source) {
  TickSource previous = g_tickSource;
  g_tickSource = source ? source : &sdlTicks;
  return previous;
}

Timer::Timer() : paused_(true), pauseStamp_(engineTicks()), startStamp_(pauseStamp_) {}

void Timer::start() {
  startStamp_ = pauseStamp_ = engineTicks();
  paused_ = false;
}

void Timer::pause() {
  if (paused_) return;
  pauseStamp_ = engineTicks();
  paused_ = true;
}

void Timer::resume() {
  if (!paused_) return;
  startStamp_ += engineTicks() - pauseStamp_;
  paused_ = false;
}

uint32_t Timer::getElapsed() const {
  const uint64_t end = paused_ ? pauseStamp_ : engineTicks();
  return static_cast<uint32_t>(end - startStamp_);
}
