#include "Menus/ResolutionScreen.h"

#include <cstdio>

#include "AppConfig.h"
#include "DesignSize.h"
#include "DisplayConfigurations.h"
#include "DynamicResources/SfxContainer.h"
#include "FadeTransitions.h"
#include "Font.h"
#include "Graphics.h"
#include "KeyEvent.h"
#include "Log.h"
#include "Menus/MenuLayout.h"
#include "Menus/SaveEntries.h"
#include "Menus/WindowSettings.h"
#include "Profile/Profile.h"
#include "SDLGameApp.h"
#include "System/GameFonts.h"
#include "System/ResourceLists.h"
#include "Texture.h"
#include "Utilities.h"
#include "widgets/Button.h"
#include "widgets/LayoutReading.h"

namespace {
constexpr int kFadeMs = 256;
constexpr int kEscape = 27;
constexpr int kColumnRows = 5;
constexpr int kFirstRowY = 225;
constexpr int kRowGap = 16;
constexpr int kLeftColumnRight = 619;
constexpr int kRightColumnX = 747;
constexpr int kApplyY = 610;
const Color kCaptionColor(0, 255, 255, 255);
const Color kTitleColor(255, 170, 0, 255);
const Color kShade(0, 0, 0, 32);

const DisplayConfigurations* displays(GameApp* app) {
  auto* sdl = dynamic_cast<SDLGameApp*>(app ? app : GameApp::instance());
  return sdl ? sdl->getDisplayConfigurations() : nullptr;
}
}  // namespace

ResolutionScreen::ResolutionScreen() : ScreenBase("") {
  if (GameApp* app = GameApp::instance()) {
    openedWidth_ = app->getScreenWidth();
    openedHeight_ = app->getScreenHeight();
  }
  if (const DisplayConfigurations* d = displays(nullptr)) {
    if (const DisplayMode* current = d->getCurrentResolution()) {
      openedWidth_ = current->width;
      openedHeight_ = current->height;
      // A window size the list does not hold (a desktop without that mode, a
      // virtual display) chooses no row.
      idxCurrentResolution_ = findMode(d->getDisplayModes(), current->width, current->height);
    }
  }
  setInTransition(new FadeInTransition(kFadeMs, Color(0, 0, 0, 255)));
  setOutTransition(new FadeOutTransition(kFadeMs, Color(0, 0, 0, 255)));
}

int ResolutionScreen::findMode(const std::vector<DisplayMode*>& modes, int width, int height) {
  for (int i = static_cast<int>(modes.size()) - 1; i >= 0; --i)
    if (modes[i] && modes[i]->width == width && modes[i]->height == height) return i;
  return -1;
}

void ResolutionScreen::modeButtonPlace(int index, int buttonWidth, int buttonHeight, int& x, int& y) {
  const int row = index < kColumnRows ? index : index - kColumnRows;
  x = index < kColumnRows ? kLeftColumnRight - buttonWidth : kRightColumnX;
  y = kFirstRowY + row * (buttonHeight + kRowGap);
}

void ResolutionScreen::shownSize(int& width, int& height) const {
  width = openedWidth_;
  height = openedHeight_;
  const DisplayConfigurations* d = displays(app_);
  if (!d || idxCurrentResolution_ < 0) return;
  const std::vector<DisplayMode*>& modes = d->getDisplayModes();
  if (idxCurrentResolution_ >= static_cast<int>(modes.size()) || !modes[idxCurrentResolution_]) return;
  width = modes[idxCurrentResolution_]->width;
  height = modes[idxCurrentResolution_]->height;
}

void ResolutionScreen::init() {
  loadMenuLayout(this, kLayoutFile, "ResolutionScreen", layoutListeners(this));
  Texture* normal = globalTexture("GLOBAL_BTN_N");
  Texture* over = globalTexture("GLOBAL_BTN_O");
  Font* font = findOrLoadFont(getResourceManager(), "FONT_NOTOSANS24");
  const DisplayConfigurations* d = displays(app_);
  if (!normal || !d) return;
  const int bw = normal->getWidth();
  const int bh = normal->getHeight();
  const std::vector<DisplayMode*>& modes = d->getDisplayModes();
  const int count = std::min(static_cast<int>(modes.size()), kMaxModeButtons);
  for (int i = 0; i < count; ++i) {
    if (!modes[i]) continue;
    auto* button = new bge::Button(this, i, normal, over, formatString("%d x %d", modes[i]->width, modes[i]->height),
                                   font, kCaptionColor);
    int x = 0, y = 0;
    modeButtonPlace(i, bw, bh, x, y);
    button->setRect(x, y, bw, bh);
    addWidget(button);
  }
  auto* apply = new bge::Button(this, kApplyButton, normal, over, layout::lookupText("OK"), font, kCaptionColor);
  apply->setRect((bge::kDesignWidth - bw) / 2, kApplyY, bw, bh);
  addWidget(apply);
}

void ResolutionScreen::drawBackground(Graphics* g) {
  if (Texture* backdrop = globalTexture("TEX_BG_MAIN")) g->drawImage(0, 0, backdrop, Color(255, 255, 255, 255));
}

void ResolutionScreen::drawForeground(Graphics* g) {
  g->fillRect(0, 0, bge::kDesignWidth, bge::kDesignHeight, kShade);
  Font* title = findOrLoadFont(getResourceManager(), "FONT_NOTOSANS46");
  if (!title) return;
  int width = 0, height = 0;
  shownSize(width, height);
  title->drawTextAligned(g, Rect5(0, 4, bge::kDesignWidth, 32), formatString("%d x %d", width, height),
                         kTitleColor, Font::AlignCenter, 3, false);
  title->drawTextAligned(g, Rect5(0, 160, bge::kDesignWidth, 32), layout::lookupText("SELECT_RESOLUTION"),
                         kTitleColor, Font::AlignCenter, 3, false);
}

void ResolutionScreen::onKeyEvent(const KeyEvent& event) {
  ScreenBase::onKeyEvent(event);
  if (event.kind == KeyEvent::Pressed && event.key == kEscape && getPhase() != PhaseExiting) close(kExitEscape, true);
}

void ResolutionScreen::onButtonEvent(int buttonId, int kind) {
  if (kind == bge::ButtonListener::PointerEntered) {
    SfxContainer::instance()->playSound("SFX_BTN_OVER");
    return;
  }
  if (kind != bge::ButtonListener::Released || getPhase() == PhaseExiting) return;
  SfxContainer::instance()->playSound("SFX_BTN_CLICK");
  if (buttonId == kBackButton) {
    close(kExitBack, true);
  } else if (buttonId == kApplyButton) {
    int width = 0, height = 0;
    shownSize(width, height);
    if (Profile* profile = findProfile(app_)) profile->setScreenSize(width, height);
    if (app_) app_->saveGame();
    close(kExitEscape, true);
  } else {
    const DisplayConfigurations* d = displays(app_);
    if (!d || buttonId < 0 || buttonId >= static_cast<int>(d->getDisplayModes().size())) return;
    idxCurrentResolution_ = buttonId;
    applyResolution();
  }
}

void ResolutionScreen::applyResolution() {
  auto* sdl = dynamic_cast<SDLGameApp*>(app_);
  if (!sdl || idxCurrentResolution_ < 0) return;
  DisplayConfigurations* d = sdl->getDisplayConfigurations();
  if (!d || idxCurrentResolution_ >= static_cast<int>(d->getDisplayModes().size())) return;
  const DisplayMode* mode = d->getDisplayModes()[idxCurrentResolution_];
  if (!mode || mode->width <= 0 || mode->height <= 0) return;
  const int w = mode->width;
  const int h = mode->height;
  AppConfig::instance()->setResolution(w, h);
  sdl->setDisplayMode(w, h, true);
  d->setResolutions(new DisplayMode(w, h), new DisplayMode(bge::kDesignWidth, bge::kDesignHeight));
  const float sx = static_cast<float>(w) / bge::kDesignWidth;
  const float sy = static_cast<float>(h) / bge::kDesignHeight;
  Log().info() << "[NEW scale factors = " << sx << ", " << sy << " ]";
  sdl->setScaleFactors(sx, sy);
  sdl->setDisplayMode(w, h, wantsFullScreen(sdl));
  sdl->createWindow(0);
  sdl->setWindowTitle(AppConfig::instance()->getCaption());
}

void ResolutionScreen::onExitTransitionDone(int exitCode) {
  (void)exitCode;
  if (app_) app_->finishState(this);
}
