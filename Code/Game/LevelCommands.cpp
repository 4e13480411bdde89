// What the command bridge's buttons do: the bridge buttons, the tower build buttons,
// the auto-send box, and the commands on a standing tower (upgrade, sell, retarget)
// with the info panel and the buttons that follow the credits.
#include "DynamicResources/SfxContainer.h"
#include "Game/Entities/towers/DeploymentTowerEntity.h"
#include "Game/Entities/towers/TowerFigures.h"
#include "Game/Entities/towers/WavePointTowerEntity.h"
#include "Game/Entities/enemies/xEnemySpawner.h"
#include "Game/Entities/towers/xBaseBrain.h"
#include "Game/Entities/towers/xBaseTowerEntity.h"
#include "Game/LevelRoutes.h"
#include "Game/LevelScreen.h"
#include "Game/TowerCommandWidget.h"
#include "System/DisplayText.h"
#include "Utilities.h"
#include "widgets/Button.h"
#include "widgets/ButtonListener.h"
#include "widgets/CheckBox.h"
#include "widgets/LayoutReading.h"

namespace {

// Game-speed factors.
constexpr float kNormalSpeed = 1.0f;
constexpr float kFastSpeed = 0.36f;

enum BridgeId { kPause = 1, kHelp = 2, kPathsShow = 3, kPathsHide = 4, kSpeedFast = 5, kSpeedNormal = 6,
                kNextWave = 7, kGrid = 8 };
enum CommandId { kSell = 610, kShowStrategies = 611, kShowTrade = 612, kUpgrade = 615 };

// Strategy of each targeting command 601..608.
constexpr int kStrategyOfCommand[] = {kTargetClosest, kTargetDistant, kTargetLast, kTargetFirst,
                                      kTargetWeakest, kTargetStrongest, kTargetSlowest, kTargetFastest};

// The build button's hover text: what the tower does and what it costs.
std::string towerHoverText(const xBaseTowerDesc& desc) {
  std::string text;
  const TowerFigures figures = towerFigures(towerState(desc));
  if (figures.attacks) text += layout::lookupText("DAMAGE") + ": " + figureText(figures.dps) + "/s\n";
  // A drone station hurts nothing itself: what it brings is its patrol ship.
  if (dynamic_cast<const xDeploymentTowerDesc*>(&desc)) text += droneFiguresText() + "\n";
  else text += layout::lookupText("RANGE") + ": " + amountText(figures.range) + "m\n";
  text += layout::lookupText("LABEL_PRICE") + ": " + amountText(desc.price);
  return text;
}

}  // namespace

bool LevelScreen::initFromXml(const std::string& fileName) { return bridge_.build(fileName); }

void LevelScreen::onButtonEvent(int id, int event) {
  if (event == bge::ButtonListener::PointerEntered) SfxContainer::instance()->playSound("SFX_BTN_OVER");
  // The partner of a drone station must be placed before anything else is done.
  if (selection_.placingPair()) return;
  if (id >= LevelBridge::kTowerButtonBase && id <= LevelBridge::kTowerButtonLast) {
    towerButtonEvent(id, event);
    return;
  }
  if (event != bge::ButtonListener::Released) return;
  TowerCommandWidget* panel = bridge_.commandWidget();
  switch (id) {
    case kPause: openOverlay(levelroutes::pauseScreen()); break;
    case kHelp: openOverlay(levelroutes::helpScreen()); break;
    case kPathsShow: showPaths(true); break;
    case kPathsHide: showPaths(false); break;
    case kSpeedFast: fastForward(true); break;
    case kSpeedNormal: fastForward(false); break;
    case kNextWave: sendNextWave(); break;
    case kGrid: hud_.toggleGrid(); break;
    case kSell:
      if (xBaseTowerEntity* t = panel ? panel->tower() : nullptr) sellTower(t);
      break;
    case kShowStrategies:
      if (panel && panel->tower()) {
        panel->showStrategyButtons();
        // The page shows the upgrade command for any upgradable tower; at the top
        // level it goes again.
        updateTowerButtons();
      }
      break;
    case kShowTrade:
      if (panel && panel->tower()) panel->showTradeButtons();
      break;
    case kUpgrade:
      if (xBaseTowerEntity* t = selection_.tower()) {
        // Shown again so the panel's marks, sell price and upgrade caption follow.
        if (upgradeTower(t) && bridge_.shownTower() == t) showTowerInfo(t);
        else updateTowerButtons();
      }
      break;
    default:
      if (id >= 601 && id <= 608 && panel) {
        panel->resetStrategySelection(kStrategyOfCommand[id - 601]);
        if (xBaseTowerEntity* t = panel->tower()) showTowerInfo(t);
      }
      break;
  }
}

void LevelScreen::showPaths(bool shown) {
  // The bridge offers the opposite of what the field shows.
  bridge_.showButton(kPathsShow, !shown);
  bridge_.showButton(kPathsHide, shown);
  hud_.setPathDisplay(shown ? LevelHud::kPathsShown : LevelHud::kPathsHidden);
}

void LevelScreen::fastForward(bool on) {
  bridge_.showButton(kSpeedFast, !on);
  bridge_.showButton(kSpeedNormal, on);
  if (on) playIfAssisted("SFX_VO_HURRYUP");
  setGameSpeed(on ? kFastSpeed : kNormalSpeed);
}

void LevelScreen::towerButtonEvent(int id, int event) {
  bge::Button* button = bridge_.findTowerButton(id);
  const size_t index = static_cast<size_t>(id - LevelBridge::kTowerButtonBase);
  if (!button || !button->isVisible() || index >= towerDescriptions_.size()) return;
  if (event == bge::ButtonListener::PointerEntered) {
    if (!selection_.towerDesc())
      selection_.hoverButton(button->getX(), button->getY(), towerHoverText(*towerDescriptions_[index]),
                             towerDescriptions_[index]->info);
    return;
  }
  if (event == bge::ButtonListener::PointerLeft) {
    selection_.leaveButton();
    return;
  }
  if (event != bge::ButtonListener::Released) return;
  // One button per description: the chosen description names the chosen button.
  if (selection_.towerDesc() == towerDescriptions_[index]) {
    selection_.chooseTowerDesc(nullptr);
    return;
  }
  if (xBaseTowerEntity* t = selection_.tower())
    if (t->isSelected()) t->toggleSelected();
  selection_.setTower(nullptr);
  showTowerInfo(nullptr);
  selection_.chooseTowerDesc(towerDescriptions_[index]);
}

// The auto-send box: the level's only check box.
void LevelScreen::onCheckBoxChanged(int, bool) {
  autoNextWave_ = !autoNextWave_;
  if (autoNextWave_ && bridge_.sendWaveOffered()) sendNextWave();
}

void LevelScreen::showTowerInfo(xBaseTowerEntity* tower) {
  if (tower && !findLiveEntity(tower)) tower = nullptr;
  if (!tower) {
    bridge_.hideTowerInfo();
    updateTowerButtons();
    return;
  }
  // A tower chosen for its panel ends a build choice: its ghost would stay on the
  // field, red over the tower that was clicked. A pair or a beacon being placed
  // keeps its choice until it stands.
  if (!selection_.placingPair() && !selection_.attachingBeacon()) selection_.chooseTowerDesc(nullptr);
  TowerCommandWidget* panel = bridge_.commandWidget();
  if (!panel) return;
  panel->setTower(tower);
  panel->setSellPrice(LevelEconomy::sellPrice(*tower));
  const bool noStrategy = tower->isSupportTower() || dynamic_cast<xDeploymentTowerEntity*>(tower);
  panel->setSelectedStrategy(noStrategy ? -1 : tower->getTargetSelection());
  panel->setVisible(true);
  panel->showStrategyButtons();
  if (bge::Button* sell = bridge_.findCommandButton(kSell)) sell->setCaption(panel->makeSellLabel());
  updateTowerButtons();
}

void LevelScreen::updateTowerButtons() {
  const bool limit = gameMode_ == MODE_LIMITEDTOWERS && tally_.standing() >= kLimitedTowers;
  bool stationStands = false;
  for (xBaseTowerEntity* t : findTowers(*this))
    stationStands = stationStands || (findLiveEntity(t) && dynamic_cast<xDeploymentTowerEntity*>(t));
  for (bge::Button* button : bridge_.towerButtons()) {
    const size_t index = static_cast<size_t>(button->getId() - LevelBridge::kTowerButtonBase);
    if (index >= towerDescriptions_.size()) continue;
    const bool affordable = static_cast<float>(towerDescriptions_[index]->price) <= economy_.credits();
    // A beacon is no use before a drone station stands to attach it to.
    const bool usable = stationStands || !dynamic_cast<xWavePointTowerDesc*>(towerDescriptions_[index]);
    LevelBridge::show(button, bridge_.ready() && affordable && usable && !limit);
  }
  bge::Button* upgrade = bridge_.findCommandButton(kUpgrade);
  if (!upgrade) return;
  xBaseTowerEntity* tower = bridge_.shownTower();
  if (!tower || tower->getUpgradeLevel() >= xBaseTowerEntity::kMaxUpgradeLevel) {
    LevelBridge::show(upgrade, false);
    return;
  }
  const int price = LevelEconomy::upgradePrice(*tower);
  upgrade->setCaption(layout::lookupText("UPGRADE_FOR") + " " + amountText(price));
  upgrade->setEnabled(economy_.affords(price));
}

bool LevelScreen::upgradeTower(xBaseTowerEntity* tower) {
  tower = tower && findLiveEntity(tower) ? tower : nullptr;
  if (!tower || tower->getUpgradeLevel() >= xBaseTowerEntity::kMaxUpgradeLevel) return false;
  const int price = LevelEconomy::upgradePrice(*tower);
  if (!economy_.affords(price)) {
    updateTowerButtons();
    return false;
  }
  addCredits(-price);
  if (tower->getUpgradeLevel() == 0) tally_.countFirstUpgrade();
  tower->upgrade();
  playIfAssisted("SFX_TOWER_UPGRADED");
  if (bridge_.commandWidget() && bridge_.shownTower() == tower)
    bridge_.commandWidget()->setSellPrice(LevelEconomy::sellPrice(*tower));
  updateTowerButtons();
  return true;
}

void LevelScreen::sellTower(xBaseTowerEntity* tower) {
  // A tower already sold or destroyed this frame is not sold (or counted) again.
  if (!tower || !findLiveEntity(tower)) return;
  tower->sell(LevelEconomy::sellPrice(*tower));
  playIfAssisted("SFX_TOWER_SOLD");
  updateTowerButtons();
}

void LevelScreen::retargetTower(xBaseTowerEntity* tower, int strategy) {
  if (!tower || !findLiveEntity(tower) || strategy < kTargetDistant || strategy > kTargetFastest) return;
  tower->setTargetSelection(strategy);
  if (bridge_.shownTower() == tower) showTowerInfo(tower);
}
