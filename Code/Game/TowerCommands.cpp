// The commands on a standing tower (upgrade, sell, retarget) with the info panel, and
// the tower build buttons with the credits they follow.
#include "Game/TowerCommands.h"

#include "Game/BridgeIds.h"

#include "Game/Entities/towers/DeploymentTowerEntity.h"
#include "Game/Entities/towers/TowerFigures.h"
#include "Game/Entities/towers/WavePointTowerEntity.h"
#include "Game/Entities/towers/xBaseBrain.h"
#include "Game/Entities/towers/xBaseTowerEntity.h"
#include "Game/LevelScreen.h"
#include "Game/TowerCommandWidget.h"
#include "System/DisplayText.h"
#include "widgets/Button.h"
#include "widgets/ButtonListener.h"
#include "widgets/LayoutReading.h"

namespace {

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

void TowerCommands::commandEvent(int id) {
  TowerCommandWidget* panel = bridge_.commandWidget();
  switch (id) {
    case bridgeids::kSell:
      if (xBaseTowerEntity* t = panel ? panel->tower() : nullptr) sellTower(t);
      break;
    case bridgeids::kShowStrategies:
      if (panel && panel->tower()) {
        panel->showStrategyButtons();
        // The page shows the upgrade command for any upgradable tower; at the top
        // level it goes again.
        updateTowerButtons();
      }
      break;
    case bridgeids::kShowTrade:
      if (panel && panel->tower()) panel->showTradeButtons();
      break;
    case bridgeids::kUpgrade:
      if (xBaseTowerEntity* t = selection_.tower()) {
        // Shown again so the panel's marks, sell price and upgrade caption follow.
        if (upgradeTower(t) && bridge_.shownTower() == t) showTowerInfo(t);
        else updateTowerButtons();
      }
      break;
    default:
      if (bridgeids::strategyOfCommand(id) >= 0 && panel) {
        panel->resetStrategySelection(bridgeids::strategyOfCommand(id));
        if (xBaseTowerEntity* t = panel->tower()) showTowerInfo(t);
      }
      break;
  }
}

void TowerCommands::towerButtonEvent(int id, int event) {
  const std::vector<xBaseTowerDesc*>& descriptions = level_.towerDescriptions();
  bge::Button* button = bridge_.findTowerButton(id);
  const size_t index = static_cast<size_t>(id - bridgeids::kTowerButtonBase);
  if (!button || !button->isVisible() || index >= descriptions.size()) return;
  if (event == bge::ButtonListener::PointerEntered) {
    if (!selection_.towerDesc())
      selection_.hoverButton(button->getX(), button->getY(), towerHoverText(*descriptions[index]),
                             descriptions[index]->info);
    return;
  }
  if (event == bge::ButtonListener::PointerLeft) {
    selection_.leaveButton();
    return;
  }
  if (event != bge::ButtonListener::Released) return;
  // One button per description: the chosen description names the chosen button.
  if (selection_.towerDesc() == descriptions[index]) {
    selection_.chooseTowerDesc(nullptr);
    return;
  }
  if (xBaseTowerEntity* t = selection_.tower())
    if (t->isSelected()) t->toggleSelected();
  selection_.setTower(nullptr);
  showTowerInfo(nullptr);
  selection_.chooseTowerDesc(descriptions[index]);
}

void TowerCommands::showTowerInfo(xBaseTowerEntity* tower) {
  if (tower && !level_.findLiveEntity(tower)) tower = nullptr;
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
  if (bge::Button* sell = bridge_.findCommandButton(bridgeids::kSell)) sell->setCaption(panel->makeSellLabel());
  updateTowerButtons();
}

void TowerCommands::updateTowerButtons() {
  const std::vector<xBaseTowerDesc*>& descriptions = level_.towerDescriptions();
  const bool limit = level_.gameMode() == MODE_LIMITEDTOWERS && tally_.standing() >= kLimitedTowers;
  bool stationStands = false;
  for (xBaseTowerEntity* t : findTowers(level_))
    stationStands = stationStands || (level_.findLiveEntity(t) && dynamic_cast<xDeploymentTowerEntity*>(t));
  for (bge::Button* button : bridge_.towerButtons()) {
    const size_t index = static_cast<size_t>(button->getId() - bridgeids::kTowerButtonBase);
    if (index >= descriptions.size()) continue;
    const bool affordable = static_cast<float>(descriptions[index]->price) <= economy_.credits();
    // A beacon is no use before a drone station stands to attach it to.
    const bool usable = stationStands || !dynamic_cast<xWavePointTowerDesc*>(descriptions[index]);
    LevelBridge::show(button, bridge_.ready() && affordable && usable && !limit);
  }
  bge::Button* upgrade = bridge_.findCommandButton(bridgeids::kUpgrade);
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

bool TowerCommands::upgradeTower(xBaseTowerEntity* tower) {
  tower = tower && level_.findLiveEntity(tower) ? tower : nullptr;
  if (!tower || tower->getUpgradeLevel() >= xBaseTowerEntity::kMaxUpgradeLevel) return false;
  const int price = LevelEconomy::upgradePrice(*tower);
  if (!economy_.affords(price)) {
    updateTowerButtons();
    return false;
  }
  economy_.add(-price);
  if (tower->getUpgradeLevel() == 0) tally_.countFirstUpgrade();
  tower->upgrade();
  level_.playIfAssisted("SFX_TOWER_UPGRADED");
  if (bridge_.commandWidget() && bridge_.shownTower() == tower)
    bridge_.commandWidget()->setSellPrice(LevelEconomy::sellPrice(*tower));
  updateTowerButtons();
  return true;
}

void TowerCommands::sellTower(xBaseTowerEntity* tower) {
  // A tower already sold or destroyed this frame is not sold (or counted) again.
  if (!tower || !level_.findLiveEntity(tower)) return;
  tower->sell(LevelEconomy::sellPrice(*tower));
  level_.playIfAssisted("SFX_TOWER_SOLD");
  updateTowerButtons();
}

void TowerCommands::retargetTower(xBaseTowerEntity* tower, int strategy) {
  if (!tower || !level_.findLiveEntity(tower) || strategy < kTargetDistant || strategy > kTargetFastest) return;
  tower->setTargetSelection(strategy);
  if (bridge_.shownTower() == tower) showTowerInfo(tower);
}
