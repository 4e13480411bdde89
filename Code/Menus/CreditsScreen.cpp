#include "Menus/CreditsScreen.h"

#include "DesignSize.h"
#include "DynamicResources/SfxContainer.h"
#include "FadeTransitions.h"
#include "GameApp.h"
#include "Graphics.h"
#include "KeyEvent.h"
#include "Menus/SwarmText.h"
#include "ResourceManager.h"
#include "System/GameFonts.h"
#include "System/ResourceLists.h"
#include "Texture.h"
#include "Utilities.h"
#include "tinyaction/TinyActionDelay.h"
#include "widgets/Button.h"
#include "widgets/LayoutReading.h"

namespace {

constexpr int kFadeMs = 256;
constexpr int kEscape = 27;
const Color kHeadingColor(0, 255, 255, 255);
const Color kNamesColor(255, 170, 0, 255);

// Heading key and the key of its names ('|' between two names).
struct CreditPart {
  const char* heading;
  const char* names;
};
constexpr CreditPart kLeftParts[] = {
    {"GAME_DESIGN", "CREDITS_NAMES_DESIGN"},
    {"CODING", "CREDITS_NAMES_CODING"},
    {"WEB_PROGRAMMING", "CREDITS_NAMES_WEB"},
    {"CREDITS_LEGAL_1", "CREDITS_LEGAL_1_TEXT"},
};
constexpr CreditPart kRightParts[] = {
    {"MUSIC_PRODUCTION", "CREDITS_NAMES_MUSIC"},
    {"SPECIAL_THANKS", "CREDITS_NAMES_THANKS"},
    {"CREDITS_LEGAL_2", "CREDITS_LEGAL_2_TEXT"},
    {"CREDITS_LEGAL_3", "CREDITS_LEGAL_3_TEXT"},
};

std::string names(const std::string& listed) {
  std::string out = listed;
  for (char& c : out)
    if (c == '|') c = '\n';
  return out;
}

}  // namespace

CreditsScreen::CreditsScreen() : ScreenBase("CreditsScreen") {
  setInTransition(new FadeInTransition(kFadeMs, Color(0, 0, 0, 255)));
  setOutTransition(new FadeOutTransition(kFadeMs, Color(0, 0, 0, 255)));
}

CreditsScreen::~CreditsScreen() = default;

std::string CreditsScreen::caption(const std::string& heading, const std::string& listed) {
  return heading + "#\n" + names(listed) + "#";
}

void CreditsScreen::buildCaptions() {
  left_.clear();
  right_.clear();
  for (const CreditPart& part : kLeftParts)
    left_.push_back(caption(layout::lookupText(part.heading), layout::lookupText(part.names)));
  for (const CreditPart& part : kRightParts)
    right_.push_back(caption(layout::lookupText(part.heading), layout::lookupText(part.names)));
}

void CreditsScreen::init() {
  buildCaptions();
  Font* font = findOrLoadFont(getResourceManager(), "FONT_NOTOSANS20");
  SwarmText::Settings settings;
  settings.font = font;
  settings.y = kColumnY;
  settings.width = bge::kDesignWidth;
  settings.height = bge::kDesignHeight;
  settings.firstColor = kHeadingColor;
  settings.secondColor = kNamesColor;
  settings.text = left_[leftIndex_].c_str();
  settings.x = kLeftColumnX;
  leftText_ = new SwarmText(settings);
  settings.text = right_[rightIndex_].c_str();
  settings.x = kRightColumnX;
  rightText_ = new SwarmText(settings);
  for (SwarmText* text : {leftText_, rightText_}) {
    // The glyphs draw in screen coordinates and take no pointer: a click
    // anywhere reaches the screen.
    text->setRect(0, 0, 0, 0);
    text->setEnabled(false);
    text->build();
    text->setVisible(true);
    addWidget(text);
  }

  Texture* normal = globalTexture("GLOBAL_BTN_N");
  Texture* over = globalTexture("GLOBAL_BTN_O");
  if (normal) {
    auto* close = new bge::Button(this, kCloseButton, normal, over, layout::lookupText("SCREENS_CLOSE"),
                                  findOrLoadFont(getResourceManager(), "FONT_NOTOSANS24"),
                                  Color(255, 255, 255, 255));
    close->setRect((bge::kDesignWidth - normal->getWidth()) / 2, kCloseButtonY, normal->getWidth(),
                   normal->getHeight());
    addWidget(close);
  }

  hold_.reset(new TinyActionDelay(TinyTimer(kHoldMs)));
  hold_->start(this, kHoldOver);
  scatter_.reset(new TinyActionDelay(TinyTimer(kScatterMs)));
}

void CreditsScreen::actionFinished(int tag) {
  if (tag == kHoldOver) {
    leftText_->scatter();
    rightText_->scatter();
    scatter_->start(this, kScatterOver);
  } else if (tag == kScatterOver) {
    leftIndex_ = (leftIndex_ + 1) % left_.size();
    rightIndex_ = (rightIndex_ + 1) % right_.size();
    leftText_->setText(left_[leftIndex_].c_str());
    leftText_->setBox(kLeftColumnX, kColumnY, 0, bge::kDesignWidth, bge::kDesignHeight);
    rightText_->setText(right_[rightIndex_].c_str());
    rightText_->setBox(kRightColumnX, kColumnY, 0, bge::kDesignWidth, bge::kDesignHeight);
    for (SwarmText* text : {leftText_, rightText_}) {
      text->setScattered(false);
      text->build();
    }
    hold_->start(this, kHoldOver);
  }
}

void CreditsScreen::updateScreen(int dt) {
  if (hold_ && hold_->isRunning()) hold_->update(dt);
  if (scatter_ && scatter_->isRunning()) scatter_->update(dt);
}

void CreditsScreen::drawForeground(Graphics* g) {
  if (Texture* emblem = globalTexture("GLOBAL_WITHLOVE_FROM_CROATIA")) g->drawImage(1238, 618, emblem, Color(255, 255, 255, 255));
}

void CreditsScreen::leave() {
  if (getPhase() == PhaseExiting) return;
  SfxContainer::instance()->playSound("SFX_BTN_CLICK");
  close(0, true);
}

void CreditsScreen::onKeyEvent(const KeyEvent& event) {
  ScreenBase::onKeyEvent(event);
  if (event.kind == KeyEvent::Pressed && event.key == kEscape) leave();
}

void CreditsScreen::mousePressed(const PointingDeviceEvent& event) {
  (void)event;
  leave();
}

void CreditsScreen::onButtonEvent(int buttonId, int kind) {
  if (kind != bge::ButtonListener::Released || getPhase() == PhaseExiting) return;
  SfxContainer::instance()->playSound("SFX_BTN_CLICK");
  close(buttonId, true);
}

void CreditsScreen::onExitTransitionDone(int exitCode) {
  (void)exitCode;
  if (app_) app_->finishState(this);
}
