// The command bridge's widgets: built from their layout, sliding in at the level's
// start, found by id and shown or hidden.
#include "Game/LevelBridge.h"

#include <tinyxml.h>

#include <algorithm>
#include <cmath>

#include "AssertReport.h"
#include "GLTexture.h"
#include "Game/BridgeIds.h"
#include "DynamicResources/SfxContainer.h"
#include "Game/LevelRoutes.h"
#include "Game/LevelScreen.h"
#include "Game/TowerCommandWidget.h"
#include "ResourceManager.h"
#include "XmlAttributes.h"
#include "tinyaction/TinyActionDelay.h"
#include "tinyaction/TinyActionSequence.h"
#include "tinyaction/TinyParalelAction.h"
#include "tinyaction/TinyRelIncrementator.h"
#include "widgets/Button.h"
#include "widgets/ButtonListener.h"
#include "widgets/CheckBox.h"
#include "widgets/ImageWidget.h"
#include "widgets/LayoutReading.h"
#include "widgets/LayoutWidgetFactory.h"

namespace {

// Depths of the bridge: images under their buttons, the command buttons and the
// command panel above everything on the field.
constexpr int kImageDepth = 200;
constexpr int kButtonDepth = 201;
constexpr int kCommandDepth = 600;
constexpr int kCommandWidgetDepth = 204;
constexpr int kCommandWidgetX = 160;
// The boot slides every numbered image up from this far below its place.
constexpr float kBootDrop = 1024.0f;
constexpr int kBootSlideMs = 512;
// Enough steps of a long enough time to run the boot to its end at once.
constexpr int kBootSteps = 64;
constexpr int kBootStepMs = 2000;
// Game-speed factors.
constexpr float kNormalSpeed = 1.0f;
constexpr float kFastSpeed = 0.36f;

}  // namespace

LevelBridge::LevelBridge(LevelScreen& level, LevelHud& hud) : level_(level), hud_(hud) {}

LevelBridge::~LevelBridge() = default;

void LevelBridge::show(Widget* w, bool shown) {
  if (!w) return;
  w->setVisible(shown);
  w->setEnabled(shown);
}

ImageWidget* LevelBridge::findBridgeImage(int id) const {
  for (ImageWidget* w : images_)
    if (w->getId() == id) return w;
  return nullptr;
}

bge::Button* LevelBridge::findCommandButton(int id) const {
  for (bge::Button* b : buttons_)
    if (b->getId() == id) return b;
  return nullptr;
}

bge::Button* LevelBridge::findTowerButton(int id) const {
  for (bge::Button* b : towerButtons_)
    if (b->getId() == id) return b;
  return nullptr;
}

bool LevelBridge::initFromXml(const std::string& fileName) {
  if (!BGE_REPORT_MSG(!fileName.empty(), "level: the command bridge is given no layout file")) return false;
  bge::XmlReader reader(fileName);
  TiXmlDocument doc;
  if (!BGE_REPORT_MSG(reader.load(doc), ("level: the command bridge layout " + fileName + " cannot be read").c_str()))
    return false;
  TiXmlElement* screen = doc.FirstChildElement("Screen");
  if (!BGE_REPORT_MSG(screen != nullptr,
                      ("level: the command bridge layout " + fileName + " has no Screen element").c_str()))
    return false;

  commandWidget_ = new TowerCommandWidget(level_);
  bge::LayoutContext context;
  context.resources = level_.getResourceManager();
  context.path = reader.readString(screen, "path", "");
  context.buttons = &level_;
  context.checkBoxes = &level_;
  for (TiXmlElement* e = screen->FirstChildElement(); e; e = e->NextSiblingElement()) {
    const std::string& kind = e->ValueStr();
    if (kind != "ImageWidget" && kind != "Button" && kind != "Checkbox") continue;
    Widget* w = bge::createLayoutWidget(context, e);
    if (!w) continue;
    if (auto* image = dynamic_cast<ImageWidget*>(w)) {
      image->setId(image->getLayoutId());
      image->setZ(kImageDepth);
      images_.push_back(image);
      level_.addWidget(image);
    } else if (auto* button = dynamic_cast<bge::Button*>(w)) {
      const int id = button->getButtonId();
      button->setId(id);
      button->setZ(kButtonDepth);
      buttons_.push_back(button);
      if (id >= bridgeids::kFirstCommand && id <= bridgeids::kLastCommand) {
        button->setZ(kCommandDepth);
        commandWidget_->addButton(button);
      }
      level_.addWidget(button);
    } else if (auto* box = dynamic_cast<bge::CheckBox*>(w)) {
      autoWaveBox_ = box;
      box->setVisible(true);
      level_.addWidget(box);
    } else {
      delete w;
    }
  }

  startBoot();
  addTowerButtons();

  commandWidget_->setPosition(kCommandWidgetX, 0);
  commandWidget_->setZ(kCommandWidgetDepth);
  commandWidget_->setVisible(false);
  level_.addWidget(commandWidget_);

  hideTowerInfo();
  for (int id : {bridgeids::kPathsShow, bridgeids::kPathsHide, bridgeids::kSpeedFast, bridgeids::kSpeedNormal,
                 bridgeids::kSendWave, bridgeids::kGrid}) show(findCommandButton(id), false);
  return true;
}

void LevelBridge::startBoot() {
  // Each numbered image keeps its own offset: the animation writes it, the boot
  // update moves that image to it.
  bootOffsets_.clear();
  for (ImageWidget* w : images_) {
    w->setVisible(false);
    if (w->getId() > 0) bootOffsets_.push_back(BootOffset{w, w->getY() + kBootDrop});
  }
  TinyParalelAction* boot = new TinyParalelAction();
  int k = 5;
  size_t slot = 0;
  for (ImageWidget* w : images_) {
    w->setVisible(true);
    if (w->getId() > 0) {
      w->setPosition(static_cast<int>(w->getX()), static_cast<int>(w->getY() + kBootDrop));
      TinyActionSequence* slide = new TinyActionSequence(false);
      const int delay = static_cast<int>(std::pow(4.0, k) * (w->getId() - 2));
      if (delay > 0) slide->addAction(new TinyActionDelay(TinyTimer(delay)));
      slide->addAction(new TinyRelIncrementator<float>(TinyTimer(kBootSlideMs), &bootOffsets_[slot].y, -kBootDrop,
                                                       logarithmicOperatorFunction, 1.0f));
      boot->addAction(slide);
      ++slot;
    }
    --k;
  }
  boot_.reset(boot);
  boot_->start(&level_, LevelScreen::kBootEnded);
  show(findCommandButton(bridgeids::kHelp), false);
}

void LevelBridge::moveImages() {
  for (const BootOffset& o : bootOffsets_) o.image->setPosition(bridgeids::kBridgeX, static_cast<int>(o.y));
}

void LevelBridge::updateBoot(int dt) {
  if (boot_ && boot_->isRunning()) boot_->update(dt);
  moveImages();
}

void LevelBridge::finishBoot() {
  // Each step ends at most one stage of the boot's delays and slides.
  for (int i = 0; i < kBootSteps && level_.state() == kLevelBooting && boot_ && boot_->isRunning(); ++i)
    boot_->update(kBootStepMs);
  moveImages();
}

void LevelBridge::addTowerButtons() {
  ResourceManager* resources = level_.getResourceManager();
  const std::vector<xBaseTowerDesc*>& descriptions = level_.towerDescriptions();
  const size_t count =
      std::min(descriptions.size(), static_cast<size_t>(bridgeids::kTowerColumns * bridgeids::kTowerRows));
  for (size_t i = 0; i < count; ++i) {
    xBaseTowerDesc* desc = descriptions[i];
    Texture* texture = nullptr;
    if (!desc->textureButton.empty())
      texture = layout::findOrCreateTexture(resources, desc->textureButton, GLTexture::kLinear);
    if (!texture) texture = desc->texture;
    const int id = bridgeids::kTowerButtonBase + static_cast<int>(i);
    auto* button = new bge::Button(&level_, id, texture, nullptr, std::string(), nullptr, Color::white);
    button->setId(id);
    button->setBoxHit(true);
    const int column = static_cast<int>(i % bridgeids::kTowerColumns);
    const int row = static_cast<int>(i / bridgeids::kTowerColumns);
    button->setPosition(bridgeids::kTowerGridX + bridgeids::kTowerPitch * column,
                        bridgeids::kTowerGridY + bridgeids::kTowerPitch * row);
    button->setZ(kButtonDepth);
    button->setVisible(false);
    towerButtons_.push_back(button);
    level_.addWidget(button);
  }
}

void LevelBridge::showAfterBoot() {
  ready_ = true;
  for (bge::Button* b : towerButtons_) show(b, true);
  level_.towerCommands().updateTowerButtons();
  for (int id : {bridgeids::kHelp, bridgeids::kPathsHide, bridgeids::kSpeedFast, bridgeids::kGrid, bridgeids::kSendWave}) show(findCommandButton(id), true);
  show(autoWaveBox_, true);
}

void LevelBridge::buttonEvent(int id, int event) {
  if (event == bge::ButtonListener::PointerEntered) SfxContainer::instance()->playSound("SFX_BTN_OVER");
  // The partner of a drone station must be placed before anything else is done.
  if (level_.selection().placingPair()) return;
  if (id >= bridgeids::kTowerButtonBase && id <= bridgeids::kTowerButtonLast) {
    level_.towerCommands().towerButtonEvent(id, event);
    return;
  }
  if (event != bge::ButtonListener::Released) return;
  switch (id) {
    case bridgeids::kPause: level_.openOverlay(levelroutes::pauseScreen()); break;
    case bridgeids::kHelp: level_.openOverlay(levelroutes::helpScreen()); break;
    case bridgeids::kPathsShow: showPaths(true); break;
    case bridgeids::kPathsHide: showPaths(false); break;
    case bridgeids::kSpeedFast: fastForward(true); break;
    case bridgeids::kSpeedNormal: fastForward(false); break;
    case bridgeids::kSendWave: level_.sendNextWave(); break;
    case bridgeids::kGrid: hud_.toggleGrid(); break;
    default: level_.towerCommands().commandEvent(id); break;
  }
}

void LevelBridge::onAutoWaveToggled() {
  autoNextWave_ = !autoNextWave_;
  if (autoNextWave_ && sendWaveOffered()) level_.sendNextWave();
}

void LevelBridge::showPaths(bool shown) {
  // The bridge offers the opposite of what the field shows.
  showButton(bridgeids::kPathsShow, !shown);
  showButton(bridgeids::kPathsHide, shown);
  hud_.setPathDisplay(shown ? LevelHud::kPathsShown : LevelHud::kPathsHidden);
}

void LevelBridge::fastForward(bool on) {
  showButton(bridgeids::kSpeedFast, !on);
  showButton(bridgeids::kSpeedNormal, on);
  if (on) level_.playIfAssisted("SFX_VO_HURRYUP");
  level_.setGameSpeed(on ? kFastSpeed : kNormalSpeed);
}

void LevelBridge::showButton(int id, bool shown) const {
  for (bge::Button* b : buttons_) {
    if (!b || b->getButtonId() != id) continue;
    b->setVisible(shown);
    b->setEnabled(shown);
    return;
  }
}

bool LevelBridge::sendWaveOffered() const {
  for (const bge::Button* b : buttons_)
    if (b && b->getButtonId() == bridgeids::kSendWave) return b->isVisible();
  return false;
}

bool LevelBridge::covers(int x, int y) const {
  const ImageWidget* panel = nullptr;
  for (const ImageWidget* image : images_)
    if (image->getId() == -1) {
      panel = image;
      break;
    }
  for (const ImageWidget* image : images_)
    if ((!panel || image == panel) && image->getGeometry().contains(x, y)) return true;
  return false;
}

xBaseTowerEntity* LevelBridge::shownTower() const { return commandWidget_ ? commandWidget_->tower() : nullptr; }

double LevelBridge::shownSellPrice() const { return commandWidget_ ? commandWidget_->sellPrice() : 0.0; }

void LevelBridge::hideTowerInfo() {
  if (!commandWidget_) return;
  commandWidget_->setTower(nullptr);
  commandWidget_->setSelectedStrategy(-1);
  commandWidget_->setVisible(false);
  // Hidden only: the pages show them again and expect them usable.
  for (bge::Button* b : commandWidget_->buttons()) b->setVisible(false);
}
