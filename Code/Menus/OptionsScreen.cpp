#include "Menus/OptionsScreen.h"

#include <algorithm>

#include "AssertReport.h"
#include "DesignSize.h"
#include "DynamicResources/SfxContainer.h"
#include "Font.h"
#include "GameApp.h"
#include "Graphics.h"
#include "KeyEvent.h"
#include "Menus/CreditsScreen.h"
#include "Menus/MenuLayout.h"
#include "Menus/ResolutionScreen.h"
#include "Menus/SaveEntries.h"
#include "Menus/WindowSettings.h"
#include "MyApp.h"
#include "Profile/Profile.h"
#include "SoundSystem.h"
#include "System/DisplayText.h"
#include "System/GameFonts.h"
#include "Texture.h"
#include "ZoomTransitions.h"
#include "widgets/CheckBox.h"
#include "widgets/LayoutReading.h"
#include "widgets/Slider.h"

namespace {
const Color kTitleColor(255, 255, 255, 255);
const Color kPercentColor(255, 170, 0, 255);
const Color kZoomColor(255, 255, 255, 0);
// The rule under the title, across the panel.
const Color kRuleColor(80, 220, 255, 110);
constexpr int kRuleX = 331, kRuleY = 340, kRuleWidth = 704;
constexpr int kEscape = 27;
}  // namespace

OptionsScreen::OptionsScreen(bool openedFromPause, OptionsMenuListener* listener)
    : ScreenBase(""), openedFromPause_(openedFromPause), listener_(listener) {
  GameApp* app = GameApp::instance();
  BGE_REPORT_MSG(findIntEntry(app, "SOUND_VOLUME") && findIntEntry(app, "MUSIC_VOLUME"),
                 "Error in save game system!!! Check all entries & data types!!!");
  if (MyApp* game = MyApp::instance()) {
    listenerId_ = game->registerListener(this);
    game->subscribe(listenerId_);
  }
}

OptionsScreen::~OptionsScreen() {
  // The application may already be on its way out (its event table first).
  if (MyApp* game = MyApp::instance(); game && listenerId_ >= 0) game->unregisterListener(listenerId_);
}

int OptionsScreen::percentOf(float value) {
  // A value outside the slider's range is a fault of the widget: it is said,
  // and the stored volume stays a percentage.
  BGE_REPORT_MSG(value >= 0.0f && value <= 1.0f, "ERROR: Slider value should be between 0 and 1!!!");
  if (!(value >= 0.0f)) value = 0.0f;
  if (value > 1.0f) value = 1.0f;
  return static_cast<int>(value * 100.0f);
}

int OptionsScreen::musicVolume() const {
  GenericEntry<int>* entry = findIntEntry(app_ ? app_ : GameApp::instance(), "MUSIC_VOLUME");
  return entry ? entry->getValue() : 0;
}

int OptionsScreen::soundVolume() const {
  GenericEntry<int>* entry = findIntEntry(app_ ? app_ : GameApp::instance(), "SOUND_VOLUME");
  return entry ? entry->getValue() : 0;
}

bge::CheckBox* OptionsScreen::findCheckBox(int id) const {
  for (bge::CheckBox* box : checkBoxes_)
    if (box->getCheckBoxId() == id) return box;
  return nullptr;
}

bge::Slider* OptionsScreen::findSlider(int id) const {
  for (bge::Slider* slider : sliders_)
    if (slider->getSliderId() == id) return slider;
  return nullptr;
}

void OptionsScreen::init() {
  setInTransition(new ZoomInTransition(kZoomMs, kZoomColor));
  setOutTransition(new ZoomOutTransition(kZoomMs, kZoomColor));
  controls_ = loadMenuLayout(this, kLayoutFile, "OptionsMenu", layoutListeners(this));
  for (Widget* widget : controls_) {
    if (auto* box = dynamic_cast<bge::CheckBox*>(widget)) checkBoxes_.push_back(box);
    if (auto* slider = dynamic_cast<bge::Slider*>(widget)) sliders_.push_back(slider);
  }
  background_ = layout::findOrCreateTexture(getResourceManager(), kBackgroundFile, 0x2601);
  readCheckBoxes();
  // The thumbs start where the stored volumes are.
  for (bge::Slider* slider : sliders_) {
    const int percent = slider->getSliderId() == kMusicSlider ? musicVolume()
                        : slider->getSliderId() == kSoundSlider ? soundVolume() : -1;
    if (percent >= 0) slider->setThumbPosition(slider->getThumbMaxPosition() * std::clamp(percent, 0, 100) / 100.0f);
  }
}

void OptionsScreen::readCheckBoxes() {
  Profile* profile = findProfile(app_);
  GenericEntry<int>* assistant = findIntEntry(app_, "BATTLE_ASSISTANT");
  for (bge::CheckBox* box : checkBoxes_) {
    switch (box->getCheckBoxId()) {
      // The window as it is: a profile asking for full screen under "-windowed"
      // would otherwise show a tick over a window.
      case kFullScreenBox: box->setChecked(windowIsFullScreen(app_)); break;
      case kBattleAssistantBox: box->setChecked(assistant && assistant->getValue() != 0); break;
      case kSpectrumBox: box->setChecked(!profile || profile->isSpectrumEnabled()); break;
      // An unset flag (-1) shows as set, as the game reads it.
      case kAllShotsBox: box->setChecked(!profile || profile->flag(CustomFlag::AllShotsHeard) != 0); break;
      default: break;
    }
  }
}

void OptionsScreen::onCheckBoxChanged(int id, bool checked) {
  Profile* profile = findProfile(app_);
  switch (id) {
    case kFullScreenBox:
      if (profile) profile->setFullscreen(checked);
      fullScreenChosen_ = true;
      break;
    case kBattleAssistantBox:
      if (GenericEntry<int>* assistant = findIntEntry(app_, "BATTLE_ASSISTANT")) assistant->setValue(checked ? 1 : 0);
      break;
    case kSpectrumBox:
      if (!profile) break;
      profile->setSpectrumEnabled(checked);
      profile->setFlag(CustomFlag::Spectrum, checked ? 1 : 0);
      break;
    case kAllShotsBox:
      if (profile) profile->setFlag(CustomFlag::AllShotsHeard, checked ? 1 : 0);
      break;
    default: BGE_REPORT_MSG(false, "WARNING: Unknown checkbox id."); break;
  }
}

void OptionsScreen::onSliderChanged(int id, float value) {
  const int percent = percentOf(value);
  SoundSystem* sound = app_ ? app_->getSoundSystem() : nullptr;
  if (id == kMusicSlider) {
    if (GenericEntry<int>* music = findIntEntry(app_, "MUSIC_VOLUME")) music->setValue(percent);
    if (sound) sound->setMusicVolume(percent);
  } else if (id == kSoundSlider) {
    if (GenericEntry<int>* effects = findIntEntry(app_, "SOUND_VOLUME")) effects->setValue(percent);
    if (sound) sound->setSoundVolume(-1, percent);
  } else {
    BGE_REPORT_MSG(false, "WARNING: Unknown slider id.");
  }
}

void OptionsScreen::setChecksActive(bool active) {
  for (bge::CheckBox* box : checkBoxes_) box->setActive(active);
}

void OptionsScreen::onButtonEvent(int buttonId, int kind) {
  if (kind == bge::ButtonListener::PointerEntered) {
    SfxContainer::instance()->playSound("SFX_BTN_OVER");
    return;
  }
  if (kind != bge::ButtonListener::Released || getPhase() == PhaseExiting) return;
  SfxContainer::instance()->playSound("SFX_BTN_CLICK");
  switch (buttonId) {
    case kCreditsButton:
      // The credits fill the screen: the options' texts and boxes step back.
      setActive(false);
      setChecksActive(false);
      if (app_) app_->changeState(new CreditsScreen());
      break;
    case kResolutionButton:
      if (app_) app_->changeState(new ResolutionScreen());
      break;
    case kBackButton: close(kExitBack, true); break;
    default: BGE_REPORT_MSG(false, "WARNING: Unknown button id."); break;
  }
}

void OptionsScreen::onKeyEvent(const KeyEvent& event) {
  ScreenBase::onKeyEvent(event);
  if (event.kind == KeyEvent::Pressed && event.key == kEscape && getPhase() != PhaseExiting) close(kExitBack, true);
}

void OptionsScreen::pause(GameApp* app) {
  ScreenBase::pause(app);
  showControls(controls_, false);
}

void OptionsScreen::resume(GameApp* app) {
  ScreenBase::resume(app);
  setChecksActive(true);
  showControls(controls_, true);
}

void OptionsScreen::onGlobalEvent(int32_t eventId, int32_t argument) {
  (void)argument;
  if (eventId != 0) return;
  if (bge::CheckBox* box = findCheckBox(kFullScreenBox)) box->setChecked(windowIsFullScreen(app_));
}

void OptionsScreen::drawBackground(Graphics* g) {
  if (openedFromPause_ && background_) g->drawImage(0, 0, background_, Color(255, 255, 255, 255));
}

void OptionsScreen::drawForeground(Graphics* g) {
  if (!isActive()) return;
  ResourceManager* resources = getResourceManager();
  if (Font* title = findOrLoadFont(resources, "FONT_NOTOSANS46"))
    title->drawTextAligned(g, Rect5(0, 280, bge::kDesignWidth, 46), layout::lookupText("MENU_OPTIONS"), kTitleColor,
                           Font::AlignCenter, 2, false);
  g->fillRect(kRuleX, kRuleY, kRuleWidth, 1, kRuleColor);
  if (Font* font = findOrLoadFont(resources, "FONT_NOTOSANS24")) {
    font->drawTextAligned(g, Rect5(389, 367, 252, 23), percentText(musicVolume()), kPercentColor,
                          Font::AlignRight, 2, false);
    font->drawTextAligned(g, Rect5(389, 457, 252, 23), percentText(soundVolume()), kPercentColor,
                          Font::AlignRight, 2, false);
  }
}

void OptionsScreen::onExitTransitionDone(int exitCode) {
  GameApp* app = app_;
  if (!app) return;
  app->saveGame();
  if (fullScreenChosen_) releaseForcedWindow(app);
  applyFullScreenSetting(app);
  if (!BGE_REPORT_MSG(exitCode == kExitBack, "ERROR: Unknown exit transition!!!")) return;
  // Copied first: after the pop nothing of this screen is touched, and the
  // listener is told only while its screen is still on the stack.
  OptionsMenuListener* listener = listener_;
  app->finishState(this);
  auto* listenerState = dynamic_cast<GameState*>(listener);
  if (listener && (!listenerState || app->isOnStack(listenerState))) listener->optionsMenuClosed();
}
