#include "Menus/DockedScreen.h"

#include "FadeTransitions.h"
#include "GameApp.h"
#include "LabelManager.h"
#include "Menus/LayoutDemoScreen.h"
#include "Menus/PanelWidget.h"
#include "Menus/ScreenKeys.h"
#include "Menus/StarfieldBackdrop.h"
#include "Menus/WelcomeScreen.h"
#include "ZoomTransitions.h"
#include "System/GameFonts.h"

DockedScreen::DockedScreen() : ScreenBase("DockedScreen") {
  setInTransition(new ZoomInTransition(kZoomMs, Color(0, 0, 0, 255)));
  setOutTransition(new FadeOutTransition(kFadeMs, Color(0, 0, 0, 255)));
}

void DockedScreen::init() {
  LabelManager* labels = app_ ? app_->gameMessages() : nullptr;
  auto text = [labels](const char* id) { return labels ? labels->getLabel(id) : std::string(id); };
  Font* font = findOrLoadFont(getResourceManager(), "FONT_NOTOSANS24");

  PanelWidget* banner = new PanelWidget(font, text("LABEL_SECOND_SCREEN"));
  banner->setRect(433, 250, 500, 90);
  addWidget(banner);
  PanelWidget* hint = new PanelWidget(font, text("LABEL_CONTINUE"));
  hint->setRect(533, 470, 300, 60);
  addWidget(hint);
}

void DockedScreen::onKeyEvent(const KeyEvent& event) {
  ScreenBase::onKeyEvent(event);
  if (getPhase() == PhaseIdle && isAdvanceKey(event)) close(0, true);
}

void DockedScreen::drawBackground(Graphics* g) { drawStarfieldBackdrop(g, 2); }

void DockedScreen::onExitTransitionDone(int /*exitCode*/) {
  if (!app_) return;
  GameApp* app = app_;
  app->popState();
  app->changeState(new LayoutDemoScreen());
}
