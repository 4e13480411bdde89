#include "Menus/WelcomeScreen.h"

#include "FadeTransitions.h"
#include "GameApp.h"
#include "LabelManager.h"
#include "MediaShowcase.h"
#include "Menus/DockedScreen.h"
#include "Menus/PanelWidget.h"
#include "Menus/ScreenKeys.h"
#include "Menus/StarfieldBackdrop.h"
#include "System/GameFonts.h"

WelcomeScreen::WelcomeScreen() : ScreenBase("WelcomeScreen") {
  setInTransition(new FadeInTransition(kFadeMs, Color(0, 0, 0, 255)));
  setOutTransition(new FadeOutTransition(kFadeMs, Color(0, 0, 0, 255)));
}

void WelcomeScreen::init() {
  LabelManager* labels = app_ ? app_->gameMessages() : nullptr;
  auto text = [labels](const char* id) { return labels ? labels->getLabel(id) : std::string(id); };
  Font* font = findOrLoadFont(getResourceManager(), "FONT_NOTOSANS24");

  PanelWidget* title = new PanelWidget(font, text("LABEL_GAME_TITLE"));
  title->setRect(483, 170, 400, 80);
  addWidget(title);
  PanelWidget* welcome = new PanelWidget(font, text("LABEL_WELCOME"));
  welcome->setRect(433, 300, 500, 70);
  addWidget(welcome);
  prompt_ = new PanelWidget(font, text("LABEL_PRESS_KEY"));
  prompt_->setRect(433, 520, 500, 60);
  addWidget(prompt_);
}

void WelcomeScreen::onKeyEvent(const KeyEvent& event) {
  ScreenBase::onKeyEvent(event);
  if (getPhase() == PhaseIdle && isAdvanceKey(event)) close(kExitToDocked, true);
}

void WelcomeScreen::drawBackground(Graphics* g) {
  drawStarfieldBackdrop(g, 1);
  drawMediaShowcase(g, getResourceManager());
}

void WelcomeScreen::onExitTransitionDone(int exitCode) {
  if (exitCode != kExitToDocked || !app_) return;
  GameApp* app = app_;
  // The pop only queues this screen; it is deleted at the end of the frame.
  app->popState();
  app->changeState(new DockedScreen());
}
