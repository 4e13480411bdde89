// What the player does to a standing tower: upgrade, sell, retarget, and the info
// panel and buttons that follow the credits.
#include "Game/Entities/towers/xBaseBrain.h"
#include "Game/LevelScreen.h"
#include "Game/TowerCommandWidget.h"
#include "GameApp.h"
#include "LabelManager.h"
#include "Utilities.h"
#include "widgets/Button.h"

bool LevelScreen::upgradeTower(xBaseTowerEntity* tower) {
  tower = tower && findLiveEntity(tower) ? tower : nullptr;
  if (!tower || tower->getUpgradeLevel() >= xBaseTowerEntity::kMaxUpgradeLevel) return false;
  const int price = upgradePrice(*tower);
  if (!economy_.affords(price)) {
    updateTowerButtons();
    return false;
  }
  addCredits(-price);
  if (tower->getUpgradeLevel() == 0) ++towersUpgraded_;
  tower->upgrade();
  playIfAssisted("SFX_TOWER_UPGRADED");
  if (commandWidget_ && shownTower() == tower) commandWidget_->setSellPrice(sellPrice(*tower));
  updateTowerButtons();
  return true;
}

void LevelScreen::sellTower(xBaseTowerEntity* tower) {
  // A tower already sold or destroyed this frame is not sold (or counted) again.
  if (!tower || !findLiveEntity(tower)) return;
  tower->sell(sellPrice(*tower));
  playIfAssisted("SFX_TOWER_SOLD");
  updateTowerButtons();
}

void LevelScreen::retargetTower(xBaseTowerEntity* tower, int strategy) {
  if (!tower || !findLiveEntity(tower) || strategy < kTargetDistant || strategy > kTargetFastest) return;
  tower->setTargetSelection(strategy);
  if (shownTower() == tower) showTowerInfo(tower);
}
