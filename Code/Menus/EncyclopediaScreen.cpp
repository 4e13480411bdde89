#include "Menus/EncyclopediaScreen.h"

#include "DesignSize.h"
#include "DynamicResources/SfxContainer.h"
#include "FadeTransitions.h"
#include "Font.h"
#include "GameApp.h"
#include "Graphics.h"
#include "KeyEvent.h"
#include "Menus/EncyclopediaPages.h"
#include "Menus/MenuLayout.h"
#include "Menus/SaveEntries.h"
#include "System/GameFonts.h"
#include "System/ResourceLists.h"
#include "animation/AnimationPlayer.h"
#include "tinyaction/TinyActionDelay.h"
#include "widgets/LayoutReading.h"
#include "Menus/MenuPalette.h"

namespace {
constexpr int kFadeMs = 256;
constexpr int kEscape = 27;
const Color kShade = palette::veil(200);
}  // namespace

EncyclopediaScreen::EncyclopediaScreen() : ScreenBase("") {
  setInTransition(new FadeInTransition(kFadeMs, Color(0, 0, 0, 255)));
  setOutTransition(new FadeOutTransition(kFadeMs, Color(0, 0, 0, 255)));
}

EncyclopediaScreen::~EncyclopediaScreen() = default;

bool EncyclopediaScreen::assistantOn() const {
  GenericEntry<int>* assistant = findIntEntry(app_, "BATTLE_ASSISTANT");
  return assistant && assistant->getValue() != 0;
}

void EncyclopediaScreen::init() {
  SfxContainer::instance()->playSound("SFX_SHIELD_UP");
  animations_.reset(new AnimationPlayer(this));
  if (animations_->loadAnimation(0, "content/images/menus/pause/anim/Anim.xml")) animations_->play(0, 0.0f, 0, 0, this);
  if (animations_->loadAnimation(1, "content/images/menus/pause/anim/Anim-2.xml")) animations_->play(1, 0.0f, 0, 0, this);
  controls_ = loadMenuLayout(this, kLayoutFile, "EncyclopediaScreen", layoutListeners(this));
  timer_.reset(new TinyActionDelay(TinyTimer(kGreetingMs)));
  timer_->start(this, kGreetingTimer);
}

void EncyclopediaScreen::actionFinished(int tag) {
  if (tag == kGreetingTimer && assistantOn()) SfxContainer::instance()->playSound("SFX_LEVEL_PAUSED");
}

void EncyclopediaScreen::updateScreen(int dt) {
  if (timer_ && timer_->isRunning()) timer_->update(dt);
}

void EncyclopediaScreen::drawBackground(Graphics* g) {
  if (Texture* background = globalTexture("TEX_BG_MAIN")) g->drawImage(0, 0, background, Color(255, 255, 255, 255));
  g->fillRect(0, 0, bge::kDesignWidth, bge::kDesignHeight, kShade);
}

void EncyclopediaScreen::pause(GameApp* app) {
  ScreenBase::pause(app);
  showControls(controls_, false);
}

void EncyclopediaScreen::resume(GameApp* app) {
  ScreenBase::resume(app);
  showControls(controls_, true);
}

void EncyclopediaScreen::drawForeground(Graphics* g) {
  if (!isActive()) return;
  if (Font* title = findOrLoadFont(getResourceManager(), "FONT_NOTOSANS46"))
    title->drawTextAligned(g, Rect5(0, 208, bge::kDesignWidth, 32), layout::lookupText("ENCYCLOPEDIA"),
                           Color(255, 255, 255, 255), Font::AlignCenter, 2, false);
}

void EncyclopediaScreen::onKeyEvent(const KeyEvent& event) {
  ScreenBase::onKeyEvent(event);
  if (event.kind == KeyEvent::Pressed && event.key == kEscape && getPhase() != PhaseExiting) close(kExitClose, true);
}

void EncyclopediaScreen::onButtonEvent(int buttonId, int kind) {
  if (kind == bge::ButtonListener::PointerEntered) {
    SfxContainer::instance()->playSound("SFX_BTN_OVER");
    return;
  }
  if (kind != bge::ButtonListener::Released || getPhase() == PhaseExiting) return;
  SfxContainer::instance()->playSound("SFX_BTN_CLICK");
  const bool speak = assistantOn();
  switch (buttonId) {
    case kTowersButton:
      if (speak) SfxContainer::instance()->playSound("SFX_VO_YES");
      if (app_) {
        app_->setOverlayFlag(true);
        app_->changeState(new EncyclopediaTowersScreen());
      }
      break;
    case kAliensButton:
      if (speak) SfxContainer::instance()->playSound("SFX_VO_YES");
      if (app_) app_->changeState(new EncyclopediaAliensScreen());
      break;
    case kSpeakButton:
      if (speak) SfxContainer::instance()->playSound("SFX_VO_YES");
      break;
    case kCloseButton:
      if (speak) SfxContainer::instance()->playSound("SFX_TOWER_SELECTED");
      close(kExitClose, true);
      break;
    default: break;
  }
}

void EncyclopediaScreen::onExitTransitionDone(int exitCode) {
  (void)exitCode;
  if (app_) app_->finishState(this);
}
