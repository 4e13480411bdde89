#include "LayoutDemoScreen.h"

#include <SDL.h>
#include <SDL_opengl.h>
#include <tinyxml.h>

#include <cstdio>

#include "DynamicResources/SceneMusicContainer.h"
#include "DynamicResources/SfxContainer.h"
#include "FadeTransitions.h"
#include "GameApp.h"
#include "KeyEvent.h"
#include "Music.h"
#include "music/AnnounceMusicTrack.h"
#include "music/AudioAnalyserWidget.h"
#include "ResourceManager.h"
#include "SoundSystem.h"
#include "System/GameFonts.h"
#include "animation/AnimationPlayer.h"
#include "widgets/Button.h"
#include "widgets/CheckBox.h"
#include "widgets/Dialog.h"
#include "widgets/ImageWidget.h"
#include "widgets/Label.h"
#include "widgets/LayoutReading.h"
#include "widgets/RadioButtonList.h"
#include "widgets/Slider.h"
#include "XmlAttributes.h"
#include "widgets/LayoutWidgetFactory.h"

namespace {

constexpr int kFadeMs = 400;

Sound* sfxSound(const char* key) {
  return SfxContainer::instance()->findVariantSound(std::string(key) + "_0");
}

}  // namespace

LayoutDemoScreen::LayoutDemoScreen() : ScreenBase("LayoutDemoScreen") {
  setInTransition(new FadeInTransition(kFadeMs, Color(0, 0, 0, 255)));
  setOutTransition(new FadeOutTransition(kFadeMs, Color(0, 0, 0, 255)));
}

LayoutDemoScreen::~LayoutDemoScreen() {
  // The player's animations on this screen are deleted with its widgets.
  delete animations_;
  animations_ = nullptr;
}

void LayoutDemoScreen::prepare() {}

void LayoutDemoScreen::onKeyEvent(const KeyEvent& event) {
  ScreenBase::onKeyEvent(event);
  if (getPhase() == PhaseIdle && !dialog_ && event.kind == KeyEvent::Pressed && event.key == SDLK_ESCAPE) {
    close(0, true);
  }
}

void LayoutDemoScreen::onExitTransitionDone(int /*exitCode*/) {
  if (!app_) return;
  GameApp* app = app_;
  setMusic(false);
  app->popState();
}

void LayoutDemoScreen::init() {
  // The application loads both catalogues at start-up; a screen started on its
  // own (tests, tools) still finds its sounds.
  SfxContainer* sfx = SfxContainer::instance();
  if (!sfx->isLoaded()) sfx->load("content/config/sfx.xml");
  SceneMusicContainer* music = SceneMusicContainer::instance();
  if (!music->findTracks(0)) music->load("content/config/music.xml");
  loadGameFonts(getResourceManager());
  animations_ = new AnimationPlayer(this);
  loadLayout(kLayoutFile);
  // The spectrum of whatever the mixer plays, along the bottom of the screen.
  auto* spectrum = new DFTSpectralAnalayzerWidget();
  spectrum->setRect(0, 608, 683, 160);
  spectrum->setVerticalScale(0.2f);
  addWidget(spectrum);
}

void LayoutDemoScreen::loadLayout(const std::string& file) {
  const bge::XmlReader xml(file);
  TiXmlDocument doc;
  if (!xml.load(doc)) return;
  TiXmlElement* root = xml.root(doc, "Screen");
  if (!root) return;
  bge::LayoutContext context;
  context.resources = getResourceManager();
  context.path = xml.readString(root, "path", "");
  context.buttons = this;
  context.checkBoxes = this;
  context.sliders = this;
  context.lists = this;
  for (TiXmlElement* element = root->FirstChildElement(); element;
       element = element->NextSiblingElement()) {
    if (element->ValueStr() == "Animation") {
      playAnimationElement(xml, element);
    } else if (Widget* widget = bge::createLayoutWidget(context, element)) {
      adoptWidget(widget);
    }
  }
}

void LayoutDemoScreen::adoptWidget(Widget* widget) {
  if (auto* button = dynamic_cast<bge::Button*>(widget)) {
    button->setSounds(sfxSound("SFX_BUTTON_HOVER"), sfxSound("SFX_BUTTON_CLICK"));
  } else if (auto* slider = dynamic_cast<bge::Slider*>(widget)) {
    setSoundVolume(slider->getValue());
  }
  addWidget(widget);
  ++widgetsBuilt_;
}

// <Animation file="..." x="" y="" depth=""/>: this screen's own element.
void LayoutDemoScreen::playAnimationElement(const bge::XmlReader& xml, TiXmlElement* element) {
  const int id = nextAnimationId_++;
  if (!animations_->loadAnimation(id, xml.requireString(element, "file", ""))) return;
  if (animations_->play(id, xml.readFloat(element, "depth", 1.0f, -layout::kLargestValue, layout::kLargestValue),
                        xml.readInt(element, "x", 0), xml.readInt(element, "y", 0), this)) {
    ++widgetsBuilt_;
  }
}

void LayoutDemoScreen::onButtonEvent(int buttonId, int kind) {
  if (buttonId == kOpenDialogButton && kind == bge::ButtonListener::Released) openDialog();
}

void LayoutDemoScreen::openDialog() {
  if (dialog_) return;
  dialog_ = new bge::Dialog(this, kDialogFile, getResourceManager(), -1);
  dialog_->setButtonSounds(sfxSound("SFX_BUTTON_HOVER"), sfxSound("SFX_BUTTON_CLICK"));
  SfxContainer::instance()->playSound("SFX_DIALOG_OPEN");
  addWidget(dialog_);
}

void LayoutDemoScreen::onDialogEvent(int /*dialogId*/, int kind, bge::Dialog* dialog) {
  if (dialog != dialog_) return;
  if (kind == bge::DialogListener::AnimationStarted && dialog->isClosing()) {
    SfxContainer::instance()->playSound("SFX_DIALOG_CLOSE");
  } else if (kind == bge::DialogListener::Closed) {
    lastDialogResult_ = dialog->getResult();
    dialog_ = nullptr;  // the screen deletes it on its next update
  }
}

void LayoutDemoScreen::onCheckBoxChanged(int id, bool checked) {
  if (id != kMusicCheckBox) return;
  SfxContainer::instance()->playSound("SFX_TOGGLE");
  setMusic(checked);
}

void LayoutDemoScreen::setMusic(bool on) {
  musicOn_ = on;
  ResourceManager* resources = getResourceManager();
  if (!resources) return;
  if (!on) {
    if (Music* music = resources->findMusic(track_)) music->fadeOut(600);
    return;
  }
  track_ = SceneMusicContainer::instance()->pickTrack(0);
  if (track_.empty()) return;
  Music* music = resources->findMusic(track_);
  if (!music) {
    music = new MixMusic(track_);
    if (!resources->registerMusic(track_, music)) {
      delete music;
      music = resources->findMusic(track_);
    }
  }
  if (music) music->fadeIn(800, -1);
  SceneMusicContainer* scenes = SceneMusicContainer::instance();
  addWidget(new AnnounceMusicTrack(scenes->getAuthor(0), scenes->getTrackName(0)));
}

void LayoutDemoScreen::setSoundVolume(float value) {
  soundVolume_ = static_cast<int>(value * 128.0f);
  GameApp* app = GameApp::instance();
  if (app && app->getSoundSystem()) app->getSoundSystem()->setSoundVolume(-1, soundVolume_);
}

void LayoutDemoScreen::onSliderChanged(int id, float value) {
  if (id == kVolumeSlider) setSoundVolume(value);
}

void LayoutDemoScreen::onSliderReleased(int id, float value) {
  if (id != kVolumeSlider) return;
  setSoundVolume(value);
  // A sample at the new volume; the variants keep it from sounding mechanical.
  SfxContainer::instance()->playSound("SFX_CHIRP");
}

void LayoutDemoScreen::onSelectionChanged(int listId, int rowId, int initial) {
  if (listId != kDifficultyList) return;
  difficulty_ = rowId;
  if (!initial) SfxContainer::instance()->playSound("SFX_TOGGLE");
}
