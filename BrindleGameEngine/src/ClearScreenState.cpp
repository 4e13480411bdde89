#include "ClearScreenState.h"

#include "GameApp.h"
#include "Graphics.h"

void ClearScreenState::activate(GameApp* app) { app->pushState(this); }

void ClearScreenState::enter(GameApp* app) {
  setActive(true);
  if (app->getScreenWidth() > 0 && app->getScreenHeight() > 0) {
    width_ = app->getScreenWidth();
    height_ = app->getScreenHeight();
  }
}

void ClearScreenState::leave(GameApp*) { setActive(false); }

void ClearScreenState::pause(GameApp*) { setActive(false); }

void ClearScreenState::resume(GameApp*) { setActive(true); }

void ClearScreenState::render(Graphics* graphics) {
  if (graphics) graphics->fillRect(0, 0, width_, height_, color_);
}

void ClearScreenState::update(int) {}
