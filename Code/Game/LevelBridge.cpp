// The command bridge: built from its layout, booting in, and what each of its
// buttons does (bridge buttons, tower buttons, tower commands).
#include <tinyxml.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "AssertReport.h"
#include "DynamicResources/SfxContainer.h"
#include "Game/Entities/enemies/xEnemySpawner.h"
#include "Game/Entities/towers/DeploymentTowerEntity.h"
#include "Game/Entities/towers/TowerFigures.h"
#include "Game/Entities/towers/WavePointTowerEntity.h"
#include "Game/Entities/towers/xBaseBrain.h"
#include "Game/Entities/towers/xBaseTowerEntity.h"
#include "Game/LevelScreen.h"
#include "GLTexture.h"
#include "GameApp.h"
#include "Game/LevelRoutes.h"
#include "Game/TowerCommandWidget.h"
#include "ResourceManager.h"
#include "SafeDelete.h"
#include "Utilities.h"
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
// Command ids the panel owns.
constexpr int kFirstCommand = 601;
constexpr int kLastCommand = 620;
// The boot slides every numbered image up from this far below its place.
constexpr float kBootDrop = 1024.0f;
constexpr int kBootSlideMs = 512;
constexpr int kBridgeX = 1038;
// Tower buttons: a 6 x 4 grid right of the field.
constexpr int kTowerButtonBase = 100;
constexpr int kTowerButtonLast = 599;
constexpr int kTowerColumns = 6;
constexpr int kTowerRows = 4;
constexpr int kTowerGridX = 1054;
constexpr int kTowerGridY = 174;
constexpr int kTowerPitch = 50;
// Towers standing at which the limited-towers mode sells no more.
constexpr int kTowerLimit = 10;
// Game-speed factors.
constexpr float kNormalSpeed = 1.0f;
constexpr float kFastSpeed = 0.36f;

enum BridgeId { kPause = 1, kHelp = 2, kPathsShow = 3, kPathsHide = 4, kSpeedFast = 5, kSpeedNormal = 6,
                kNextWave = 7, kGrid = 8 };
enum CommandId { kSell = 610, kShowStrategies = 611, kShowTrade = 612, kUpgrade = 615 };

// Strategy of each targeting command 601..608.
constexpr int kStrategyOfCommand[] = {kTargetClosest, kTargetDistant, kTargetLast, kTargetFirst,
                                      kTargetWeakest, kTargetStrongest, kTargetSlowest, kTargetFastest};

void show(Widget* w, bool shown) {
  if (!w) return;
  w->setVisible(shown);
  w->setEnabled(shown);
}

}  // namespace

ImageWidget* LevelScreen::findBridgeImage(int id) const {
  for (ImageWidget* w : bridgeImages_)
    if (w->getId() == id) return w;
  return nullptr;
}

bge::Button* LevelScreen::findCommandButton(int id) const {
  for (bge::Button* b : bridgeButtons_)
    if (b->getId() == id) return b;
  return nullptr;
}

bge::Button* LevelScreen::findTowerButton(int id) const {
  for (bge::Button* b : towerButtons_)
    if (b->getId() == id) return b;
  return nullptr;
}

bool LevelScreen::initFromXml(const std::string& fileName) {
  if (!BGE_REPORT_MSG(!fileName.empty(), "level: the command bridge is given no layout file")) return false;
  bge::XmlReader reader(fileName);
  TiXmlDocument doc;
  if (!BGE_REPORT_MSG(reader.load(doc), ("level: the command bridge layout " + fileName + " cannot be read").c_str()))
    return false;
  TiXmlElement* screen = doc.FirstChildElement("Screen");
  if (!BGE_REPORT_MSG(screen != nullptr,
                      ("level: the command bridge layout " + fileName + " has no Screen element").c_str()))
    return false;

  commandWidget_ = new TowerCommandWidget();
  bge::LayoutContext context;
  context.resources = getResourceManager();
  context.path = reader.readString(screen, "path", "");
  context.buttons = this;
  context.checkBoxes = this;
  for (TiXmlElement* e = screen->FirstChildElement(); e; e = e->NextSiblingElement()) {
    const std::string& kind = e->ValueStr();
    if (kind != "ImageWidget" && kind != "Button" && kind != "Checkbox") continue;
    Widget* w = bge::createLayoutWidget(context, e);
    if (!w) continue;
    if (auto* image = dynamic_cast<ImageWidget*>(w)) {
      image->setId(image->getLayoutId());
      image->setZ(kImageDepth);
      bridgeImages_.push_back(image);
      addWidget(image);
    } else if (auto* button = dynamic_cast<bge::Button*>(w)) {
      const int id = button->getButtonId();
      button->setId(id);
      button->setZ(kButtonDepth);
      bridgeButtons_.push_back(button);
      if (id >= kFirstCommand && id <= kLastCommand) {
        button->setZ(kCommandDepth);
        commandWidget_->addButton(button);
      }
      addWidget(button);
    } else if (auto* box = dynamic_cast<bge::CheckBox*>(w)) {
      autoWaveBox_ = box;
      box->setVisible(true);
      addWidget(box);
    } else {
      delete w;
    }
  }

  playBridgeIntro();
  createTowerButtons();

  commandWidget_->setPosition(kCommandWidgetX, 0);
  commandWidget_->setZ(kCommandWidgetDepth);
  commandWidget_->setVisible(false);
  addWidget(commandWidget_);

  hideTowerInfo();
  for (int id : {kPathsShow, kPathsHide, kSpeedFast, kSpeedNormal, kNextWave, kGrid}) show(findCommandButton(id), false);
  return true;
}

void LevelScreen::playBridgeIntro() {
  // Each numbered image keeps its own offset: the animation writes it, the boot
  // update moves that image to it.
  bootOffsets_.clear();
  for (ImageWidget* w : bridgeImages_) {
    w->setVisible(false);
    if (w->getId() > 0) bootOffsets_.push_back(BootOffset{w, w->getY() + kBootDrop});
  }
  safeDelete(bootAnimation_);
  TinyParalelAction* boot = new TinyParalelAction();
  int k = 5;
  size_t slot = 0;
  for (ImageWidget* w : bridgeImages_) {
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
  bootAnimation_ = boot;
  bootAnimation_->start(this, kBootEnded);
  show(findCommandButton(kHelp), false);
}

void LevelScreen::moveBridgeImages() {
  for (const BootOffset& o : bootOffsets_) o.image->setPosition(kBridgeX, static_cast<int>(o.y));
}

void LevelScreen::createTowerButtons() {
  ResourceManager* resources = getResourceManager();
  const size_t count = std::min(towerDescriptions_.size(), static_cast<size_t>(kTowerColumns * kTowerRows));
  for (size_t i = 0; i < count; ++i) {
    xBaseTowerDesc* desc = towerDescriptions_[i];
    Texture* texture = nullptr;
    if (!desc->textureButton.empty())
      texture = layout::findOrCreateTexture(resources, desc->textureButton, GLTexture::kLinear);
    if (!texture) texture = desc->texture;
    const int id = kTowerButtonBase + static_cast<int>(i);
    auto* button = new bge::Button(this, id, texture, nullptr, std::string(), nullptr, Color::white);
    button->setId(id);
    button->setBoxHit(true);
    button->setPosition(kTowerGridX + kTowerPitch * static_cast<int>(i % kTowerColumns),
                        kTowerGridY + kTowerPitch * static_cast<int>(i / kTowerColumns));
    button->setZ(kButtonDepth);
    button->setVisible(false);
    towerButtons_.push_back(button);
    addWidget(button);
  }
}

void LevelScreen::showBridgeAfterBoot() {
  bridgeReady_ = true;
  for (bge::Button* b : towerButtons_) show(b, true);
  updateTowerButtons();
  for (int id : {kHelp, kPathsHide, kSpeedFast, kGrid, kNextWave}) show(findCommandButton(id), true);
  show(autoWaveBox_, true);
}

void LevelScreen::hideTowerInfo() {
  if (!commandWidget_) return;
  commandWidget_->setTower(nullptr);
  commandWidget_->setSelectedStrategy(-1);
  commandWidget_->setVisible(false);
  // Hidden only: the pages show them again and expect them usable.
  for (bge::Button* b : commandWidget_->buttons()) b->setVisible(false);
}

void LevelScreen::onButtonEvent(int buttonId, int kind) { buttonEvent(buttonId, kind); }

void LevelScreen::buttonEvent(int id, int event) {
  if (event == bge::ButtonListener::PointerEntered) SfxContainer::instance()->playSound("SFX_BTN_OVER");
  // The partner of a drone station must be placed before anything else is done.
  if (placingDeploymentTowers_) return;
  if (id >= kTowerButtonBase && id <= kTowerButtonLast) {
    towerButtonEvent(id, event);
    return;
  }
  if (event != bge::ButtonListener::Released) return;
  switch (id) {
    case kPause: openOverlay(levelroutes::pauseScreen()); break;
    case kHelp: openOverlay(levelroutes::helpScreen()); break;
    case kPathsShow:
      show(findCommandButton(kPathsShow), false);
      show(findCommandButton(kPathsHide), true);
      pathDisplay_ = 255;
      break;
    case kPathsHide:
      show(findCommandButton(kPathsShow), true);
      show(findCommandButton(kPathsHide), false);
      pathDisplay_ = 0;
      break;
    case kSpeedFast:
      show(findCommandButton(kSpeedFast), false);
      show(findCommandButton(kSpeedNormal), true);
      playIfAssisted("SFX_VO_HURRYUP");
      setGameSpeed(kFastSpeed);
      break;
    case kSpeedNormal:
      show(findCommandButton(kSpeedFast), true);
      show(findCommandButton(kSpeedNormal), false);
      setGameSpeed(kNormalSpeed);
      break;
    case kNextWave: startWaveFromBridge(); break;
    case kGrid: gridVisible_ = !gridVisible_; break;
    case kSell:
      if (xBaseTowerEntity* t = commandWidget_ ? commandWidget_->tower() : nullptr) sellTower(t);
      break;
    case kShowStrategies:
      if (commandWidget_ && commandWidget_->tower()) {
        commandWidget_->showStrategyButtons();
        // The page shows the upgrade command for any upgradable tower; at the top
        // level it goes again.
        updateTowerButtons();
      }
      break;
    case kShowTrade:
      if (commandWidget_ && commandWidget_->tower()) commandWidget_->showTradeButtons();
      break;
    case kUpgrade:
      if (xBaseTowerEntity* t = selectedTower()) {
        // Shown again so the panel's marks, sell price and upgrade caption follow.
        if (upgradeTower(t) && shownTower() == t) showTowerInfo(t);
        else updateTowerButtons();
      }
      break;
    default:
      if (id >= 601 && id <= 608 && commandWidget_) {
        commandWidget_->resetStrategySelection(kStrategyOfCommand[id - 601]);
        if (xBaseTowerEntity* t = commandWidget_->tower()) showTowerInfo(t);
      }
      break;
  }
}

void LevelScreen::startWaveFromBridge() {
  bge::Button* next = findCommandButton(kNextWave);
  if (!next) return;
  next->setEnabled(true);
  next->setVisible(false);
  if (state_ == kLevelOver) return;
  if (spawner_ && spawner_->startNextWave()) {
    state_ = kLevelBattle;
    startLevelClock();
    resumeClocks();
  } else {
    finishLevel();
  }
}

void LevelScreen::towerButtonEvent(int id, int event) {
  bge::Button* button = findTowerButton(id);
  const size_t index = static_cast<size_t>(id - kTowerButtonBase);
  if (!button || !button->isVisible() || index >= towerDescriptions_.size()) return;
  if (event == bge::ButtonListener::PointerEntered) {
    if (!selectedTowerDesc_) {
      towerHoverText_ = towerHoverText(*towerDescriptions_[index]);
      towerHoverInfo_ = towerDescriptions_[index]->info;
      hoveredButtonX_ = button->getX();
      hoveredButtonY_ = button->getY();
    }
    return;
  }
  if (event == bge::ButtonListener::PointerLeft) {
    towerHoverText_.clear();
    towerHoverInfo_.clear();
    hoveredButtonX_ = hoveredButtonY_ = -1.0f;
    return;
  }
  if (event != bge::ButtonListener::Released) return;
  // One button per description: the chosen description names the chosen button.
  if (selectedTowerDesc_ == towerDescriptions_[index]) {
    selectedTowerDesc_ = nullptr;
    return;
  }
  if (xBaseTowerEntity* t = selectedTower())
    if (t->isSelected()) t->toggleSelected();
  selectedTower_ = nullptr;
  showTowerInfo(nullptr);
  selectedTowerDesc_ = towerDescriptions_[index];
}

std::string LevelScreen::towerHoverText(const xBaseTowerDesc& desc) const {
  std::string text;
  const TowerFigures figures = towerFigures(towerState(desc));
  if (figures.attacks) text += layout::lookupText("DAMAGE") + ": " + figureText(figures.dps) + "/s\n";
  text += layout::lookupText("RANGE") + ": " + std::to_string(static_cast<int>(figures.range)) + "m\n";
  text += layout::lookupText("LABEL_PRICE") + ": " + std::to_string(static_cast<int>(desc.price));
  return text;
}

void LevelScreen::onCheckBoxChanged(int, bool) { onAutoWaveToggled(); }

void LevelScreen::onAutoWaveToggled() {
  autoNextWave_ = !autoNextWave_;
  if (!autoNextWave_) return;
  bge::Button* next = findCommandButton(kNextWave);
  if (!next) return;
  next->setEnabled(true);
  if (next->isVisible()) startWaveFromBridge();
}

void LevelScreen::showTowerInfo(xBaseTowerEntity* tower) {
  if (tower && !findLiveEntity(tower)) tower = nullptr;
  if (!tower) {
    hideTowerInfo();
    updateTowerButtons();
    return;
  }
  // A tower chosen for its panel ends a build choice: its ghost would stay on the
  // field, red over the tower that was clicked. A pair or a beacon being placed
  // keeps its choice until it stands.
  if (!placingDeploymentTowers_ && !isAttachingBeacon()) selectedTowerDesc_ = nullptr;
  if (!commandWidget_) return;
  commandWidget_->setTower(tower);
  commandWidget_->setSellPrice(sellPrice(*tower));
  const bool noStrategy = tower->isSupportTower() || dynamic_cast<xDeploymentTowerEntity*>(tower);
  commandWidget_->setSelectedStrategy(noStrategy ? -1 : tower->getTargetSelection());
  commandWidget_->setVisible(true);
  commandWidget_->showStrategyButtons();
  if (bge::Button* sell = findCommandButton(kSell)) sell->setCaption(commandWidget_->makeSellLabel());
  updateTowerButtons();
}

xBaseTowerEntity* LevelScreen::shownTower() const { return commandWidget_ ? commandWidget_->tower() : nullptr; }

double LevelScreen::shownSellPrice() const { return commandWidget_ ? commandWidget_->sellPrice() : 0.0; }

void LevelScreen::updateTowerButtons() {
  const bool limit = gameMode_ == MODE_LIMITEDTOWERS && towersBuilt_ >= kTowerLimit;
  bool stationStands = false;
  for (xBaseTowerEntity* t : findTowers(*this))
    stationStands = stationStands || (findLiveEntity(t) && dynamic_cast<xDeploymentTowerEntity*>(t));
  for (bge::Button* button : towerButtons_) {
    const size_t index = static_cast<size_t>(button->getId() - kTowerButtonBase);
    if (index >= towerDescriptions_.size()) continue;
    const bool affordable = static_cast<float>(towerDescriptions_[index]->price) <= economy_.credits();
    // A beacon is no use before a drone station stands to attach it to.
    const bool usable = stationStands || !dynamic_cast<xWavePointTowerDesc*>(towerDescriptions_[index]);
    show(button, bridgeReady_ && affordable && usable && !limit);
  }
  bge::Button* upgrade = findCommandButton(kUpgrade);
  if (!upgrade) return;
  xBaseTowerEntity* tower = shownTower();
  if (!tower || tower->getUpgradeLevel() >= xBaseTowerEntity::kMaxUpgradeLevel) {
    show(upgrade, false);
    return;
  }
  const int price = upgradePrice(*tower);
  upgrade->setCaption(layout::lookupText("UPGRADE_FOR") + " " + std::to_string(price));
  upgrade->setEnabled(economy_.affords(price));
}
