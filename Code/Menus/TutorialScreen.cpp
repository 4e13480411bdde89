#include "Menus/TutorialScreen.h"

#include <tinyxml.h>

#include <algorithm>

#include "AssertReport.h"
#include "DesignSize.h"
#include "DynamicResources/SfxContainer.h"
#include "FadeTransitions.h"
#include "Font.h"
#include "Game/LevelScreen.h"
#include "GameApp.h"
#include "Graphics.h"
#include "Menus/MenuScreen.h"
#include "PointingDeviceEvent.h"
#include "System/GameFonts.h"
#include "System/ResourceLists.h"
#include "Texture.h"
#include "XmlAttributes.h"
#include "widgets/Button.h"
#include "widgets/ImageWidget.h"
#include "widgets/LayoutReading.h"
#include "widgets/LayoutWidgetFactory.h"

namespace {

const Color kBlack(0, 0, 0, 255);
const Color kContinueColor(255, 255, 0, 255);  // 0xFFFFFF00
// The slide's words stand on a panel of their own, whole: the dimmed screen
// beneath still shows its texts, which would otherwise run through the slide's.
const Color kTextPanel(4, 12, 26, 255);
const Color kTextPanelBorder(90, 200, 235, 255);
constexpr int kTextPanelMargin = 12;

}  // namespace

// --- TutorialSlide ---

TutorialSlide::TutorialSlide(const Color& textColor, const Color& fillColor, int id, const Rect5& highlight,
                             const Rect5& textRect, const std::string& textLabel, const Rect5& continueTextRect,
                             const Rect5& continueClickRect, int eventId, const std::string& customContinueLabel)
    : textColor_(textColor),
      fillColor_(fillColor),
      slideId_(id),
      highlight_(highlight),
      textRect_(textRect),
      textLabel_(textLabel),
      continueTextRect_(continueTextRect),
      continueClickRect_(continueClickRect),
      eventId_(eventId),
      customContinueLabel_(customContinueLabel) {
  setId(id);
  setEnabled(false);
  buildDimRects();
}

void TutorialSlide::buildDimRects() {
  const int left = static_cast<int>(highlight_.x);
  const int top = static_cast<int>(highlight_.y);
  const int right = static_cast<int>(highlight_.x + highlight_.width);
  const int bottom = static_cast<int>(highlight_.y + highlight_.height);
  dimRects_.clear();
  dimRects_.push_back(Rect5(0, 0, bge::kDesignWidth, top));
  dimRects_.push_back(Rect5(0, bottom, bge::kDesignWidth, bge::kDesignHeight - bottom));
  dimRects_.push_back(Rect5(0, top, left, bottom - top));
  dimRects_.push_back(Rect5(right, top, bge::kDesignWidth - right, bottom - top));
}

bool TutorialSlide::inContinueClick(int x, int y) const {
  const float px = static_cast<float>(x), py = static_cast<float>(y);
  return continueClickRect_.x <= px && px < continueClickRect_.x + continueClickRect_.width &&
         continueClickRect_.y <= py && py < continueClickRect_.y + continueClickRect_.height;
}

void TutorialSlide::draw(Graphics* g, ScreenBase* screen) {
  for (const Rect5& r : dimRects_)
    if (r.width > 0 && r.height > 0) g->fillRect(r, fillColor_);
  Font* font = findOrLoadFont(screen ? screen->getResourceManager() : nullptr, kFont);
  if (!font) return;
  drawTextPanel(g, font);
  if (!textLabel_.empty())
    font->drawTextAligned(g, textRect_, layout::lookupText(textLabel_), textColor_, Font::AlignLeft, Font::AlignTop,
                          true);
  font->drawTextAligned(g, continueTextRect_, layout::lookupText(continueLabel()), kContinueColor, Font::AlignLeft,
                        Font::AlignMiddle, true);
}

void TutorialSlide::drawTextPanel(Graphics* g, Font* font) {
  const std::string text = textLabel_.empty() ? std::string() : layout::lookupText(textLabel_);
  const Rect5 words = font->measureWrapped(text, static_cast<int>(textRect_.width));
  const Rect5 caption = font->measureWrapped(layout::lookupText(continueLabel()), static_cast<int>(continueTextRect_.width));
  const float left = std::min(textRect_.x, continueTextRect_.x) - kTextPanelMargin;
  const float top = textRect_.y - kTextPanelMargin;
  const float right = std::max(textRect_.x + words.width, continueTextRect_.x + caption.width) + kTextPanelMargin;
  // The caption is centred in its box: the panel ends just below its line.
  const float bottom = continueTextRect_.y + (continueTextRect_.height + caption.height) / 2 + kTextPanelMargin;
  const Rect5 panel(left, top, right - left, bottom - top);
  g->fillRect(panel, kTextPanel);
  g->drawRect(panel, kTextPanelBorder, true);
}

// --- TutorialScreen ---

TutorialScreen::TutorialScreen(TutorialEventListener* listener, const std::string& path)
    : ScreenBase("TUTORIAL SCREEN"), listener_(listener), path_(path) {
  if (GameApp* app = GameApp::instance()) app->setOverlayFlag(true);
  setInTransition(new FadeInTransition(kFadeInMs, kBlack));
  setOutTransition(new FadeOutTransition(kFadeOutMs, kBlack));
}

TutorialEventListener* TutorialScreen::listener() {
  // A listener that is a screen is only used while it is on the stack: one
  // that has been popped may already be deleted.
  if (auto* state = dynamic_cast<GameState*>(listener_)) {
    GameApp* app = app_ ? app_ : GameApp::instance();
    if (!app || !app->isOnStack(state)) listener_ = nullptr;
  }
  return listener_;
}

void TutorialScreen::init() {
  initFromXml(path_);
  Texture* normal = globalTexture("GLOBAL_BTN_N");
  Texture* over = globalTexture("GLOBAL_BTN_O");
  if (normal) {
    auto* skipButton = new bge::Button(this, kSkipButton, normal, over, layout::lookupText("SKIP"),
                                       findOrLoadFont(getResourceManager(), TutorialSlide::kFont),
                                       Color(255, 255, 255, 255));
    skipButton->setRect(32, 748 - normal->getHeight(), normal->getWidth(), normal->getHeight());
    skipButton->setZ(1000);
    addWidget(skipButton);
  }
  const size_t steps = std::max(slides_.size(), pictures_.size());
  for (size_t i = 1; i < steps; ++i) showStep(static_cast<unsigned>(i), false);
  current_ = 0;
  showStep(0, true);
}

bool TutorialScreen::initFromXml(const std::string& path) {
  if (path.empty()) {
    bge::assertReport("TutorialScreen: Filename is empty.", "false", __FILE__, __LINE__);
    return false;
  }
  const bge::XmlReader xml(path);
  TiXmlDocument doc;
  if (!xml.load(doc)) {
    bge::assertReport("TutorialScreen::initFromXml: Xml load failed.", "false", __FILE__, __LINE__);
    return false;
  }
  TiXmlElement* root = doc.FirstChildElement("Screen");
  if (!root) {
    bge::assertReport("TutorialScreen::initFromXml: Missing 'TutorialScreen' node in xml file.", "false", __FILE__,
                      __LINE__);
    return false;
  }
  bge::LayoutContext context;
  context.resources = getResourceManager();
  context.path = xml.readString(root, "path", "");
  context.buttons = this;
  for (TiXmlElement* e = root->FirstChildElement(); e; e = e->NextSiblingElement()) {
    const std::string kind = e->ValueStr();
    if (kind == "TutorialSlide") {
      readSlide(e, xml);
    } else if (kind == "ImageWidget") {
      auto* picture = dynamic_cast<ImageWidget*>(bge::createLayoutWidget(context, e));
      if (!picture) continue;
      picture->setVisible(false);
      picture->setActive(false);
      picture->setEnabled(false);  // the pointer goes through to the screen
      addWidget(picture);
      pictures_.push_back(picture);
    } else if (kind == "TextLabel" || kind == "Label") {
      Widget* label = bge::createLayoutWidget(context, e);
      if (!label) continue;
      label->setEnabled(false);
      label->setZ(xml.readInt(e, "layer", 0));
      addWidget(label);
      textLabel_ = label;
    }
  }
  return true;
}

void TutorialScreen::readSlide(const TiXmlElement* e, const bge::XmlReader& xml) {
  auto* slide = new TutorialSlide(
      xml.readColor(e, "textColor", Color(255, 255, 255, 255)), xml.readColor(e, "fillColor", Color(0, 0, 0, 0xC8)),
      xml.readInt(e, "id", -1), xml.readRect(e, "highlightRect", Rect5(0, 0, 1, 1)),
      xml.readRect(e, "textRect", Rect5(0, 0, 1, 1)), xml.readString(e, "textLabel", ""),
      xml.readRect(e, "continueTextRect", Rect5(500, 645, 300, 50)),
      xml.readRect(e, "continueClickRect", Rect5(0, 0, bge::kDesignWidth, bge::kDesignHeight)),
      xml.readInt(e, "eventId", 0), xml.readString(e, "customContinueLabel", ""));
  slide->setZ(xml.readInt(e, "layer", 0));
  addWidget(slide);
  slides_.push_back(slide);
}

void TutorialScreen::showStep(unsigned step, bool shown) {
  if (step < pictures_.size()) {
    pictures_[step]->setVisible(shown);
    pictures_[step]->setActive(shown);
  }
  if (textLabel_) textLabel_->setActive(shown);
  if (step < slides_.size()) {
    slides_[step]->setVisible(shown);
    slides_[step]->setActive(shown);
  }
}

void TutorialScreen::nextSlide() {
  // Once ended, the tutorial stays ended: a late advance must not close twice.
  if (finished_) return;
  showStep(current_, false);
  ++current_;
  showStep(current_, true);
  if (current_ >= slides_.size() && current_ >= pictures_.size()) finish();
}

void TutorialScreen::skip() { finish(); }

void TutorialScreen::finish() {
  if (finished_) return;
  finished_ = true;
  // Told before the close: the listener lets go of this screen here.
  if (TutorialEventListener* l = listener()) l->onTutorialEvent(TutorialEventListener::kTutorialEnded);
  close(0, true);
}

void TutorialScreen::onButtonEvent(int buttonId, int kind) {
  if (kind == bge::ButtonListener::PointerEntered) {
    SfxContainer::instance()->playSound(MenuScreen::kOverSound);
  } else if (kind == bge::ButtonListener::Released) {
    SfxContainer::instance()->playSound(MenuScreen::kClickSound);
    if (buttonId == kSkipButton) skip();
  }
}

void TutorialScreen::mousePressed(const PointingDeviceEvent& event) {
  if (finished_ || current_ >= slides_.size()) return;
  TutorialSlide* slide = slides_[current_];
  if (!slide->inContinueClick(event.x, event.y)) return;
  if (TutorialEventListener* l = listener()) l->onTutorialEvent(slide->eventId());
}

void TutorialScreen::mouseMoved(const PointingDeviceEvent& event) {
  // The level's hover keeps following the pointer under the overlay.
  if (auto* level = dynamic_cast<LevelScreen*>(listener())) level->mouseMoved(event);
}

void TutorialScreen::mouseReleased(const PointingDeviceEvent& event) {
  (void)event;
  if (getPhase() == PhaseExiting || finished_) return;
  if (!listener()) nextSlide();
}

void TutorialScreen::onExitTransitionDone(int exitCode) {
  (void)exitCode;
  GameApp* app = app_ ? app_ : GameApp::instance();
  if (!app) return;
  app->setOverlayFlag(false);
  app->finishState(this);
}
