#include "Menus/GameHelpScreen.h"

#include "DesignSize.h"
#include "DynamicResources/SfxContainer.h"
#include "Font.h"
#include "GameApp.h"
#include "Graphics.h"
#include "KeyEvent.h"
#include "LabelManager.h"
#include "System/GameFonts.h"
#include "animation/AnimationPlayer.h"
#include "Menus/MenuPalette.h"

namespace {

// The level is covered: its texts showed through the page and between its rows.
const Color kTint = palette::veil(palette::kCoveringAlpha);

}  // namespace

GameHelpScreen::GameHelpScreen() : MenuScreen("GameHelpScreen") {}

GameHelpScreen::~GameHelpScreen() = default;

void GameHelpScreen::init() {
  SfxContainer::instance()->playSound("SFX_SHIELD_UP");
  animations_.reset(new AnimationPlayer(this));
  if (animations_->loadAnimation(0, kAnimFile)) animations_->play(0, 1.0f, 0, 0, this);
  loadLayout(kLayoutFile);
}

void GameHelpScreen::drawBackground(Graphics* g) {
  g->fillRect(0, 0, bge::kDesignWidth, bge::kDesignHeight, kTint);
  Font* font = findOrLoadFont(getResourceManager(), "FONT_NOTOSANS46");
  LabelManager* labels = app_ ? app_->gameMessages() : nullptr;
  if (!font || !labels) return;
  font->drawTextAligned(g, Rect5(0, 20, bge::kDesignWidth, 64), labels->getLabel("LABEL_HELP"),
                        Color(255, 255, 255, 255), 2, 2, false);
}

void GameHelpScreen::onKeyEvent(const KeyEvent& event) {
  MenuScreen::onKeyEvent(event);
  if (event.kind == KeyEvent::Pressed && getPhase() != PhaseExiting) leave(0);
}

void GameHelpScreen::onButtonClicked(int buttonId) {
  if (buttonId == kCloseButton) leave(0);
}
