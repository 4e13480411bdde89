// What the player does to a standing tower: upgrade, sell, retarget, and the info
// panel and buttons that follow the credits.
#include "Game/Entities/towers/xBaseBrain.h"
#include "Game/LevelScreen.h"
#include "GameApp.h"
#include "LabelManager.h"
#include "Utilities.h"
#include "widgets/Button.h"

namespace {

// Share of a tower's value the player gets back when selling it.
constexpr float kSellRatio = 0.6f;
constexpr int kUpgradeCommand = 615;
constexpr int kTowerLimit = 10;

// The worth of a tower at its level: its price and a third of it per level reached.
double towerValue(const xBaseTowerEntity& tower) {
  const double p = tower.getPrice();
  return p + p * (tower.getUpgradeLevel() + 1) / 3.0;
}

bge::Button* findButton(const std::vector<bge::Button*>& buttons, int id) {
  for (bge::Button* b : buttons)
    if (b && b->getButtonId() == id) return b;
  return nullptr;
}

}  // namespace

int LevelScreen::upgradePrice(const xBaseTowerEntity& tower) { return static_cast<int>(towerValue(tower)); }

double LevelScreen::sellPrice(const xBaseTowerEntity& tower) const { return towerValue(tower) * kSellRatio; }

bool LevelScreen::upgradeTower(xBaseTowerEntity* tower) {
  tower = tower && findLiveEntity(tower) ? tower : nullptr;
  if (!tower || tower->getUpgradeLevel() >= xBaseTowerEntity::kMaxUpgradeLevel) return false;
  const int price = upgradePrice(*tower);
  if (price > credits_) {
    updateTowerButtons();
    return false;
  }
  addCredits(-price);
  if (tower->getUpgradeLevel() == 0) ++towersUpgraded_;
  tower->upgrade();
  playIfAssisted("SFX_TOWER_UPGRADED");
  if (shownTower() == tower) shownSellPrice_ = sellPrice(*tower);
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

xBaseTowerEntity* LevelScreen::shownTower() const {
  return shownTower_ && findLiveEntity(shownTower_) ? shownTower_ : nullptr;
}

void LevelScreen::showTowerInfo(xBaseTowerEntity* tower) {
  if (tower && !findLiveEntity(tower)) tower = nullptr;
  shownTower_ = tower;
  shownSellPrice_ = tower ? sellPrice(*tower) : 0.0;
  updateTowerButtons();
}

void LevelScreen::updateTowerButtons() {
  const bool limit = gameMode_ == MODE_LIMITEDTOWERS && towersBuilt_ >= kTowerLimit;
  for (bge::Button* button : towerButtons_) {
    const int index = button->getButtonId() - 100;
    if (index < 0 || index >= static_cast<int>(towerDescriptions_.size())) continue;
    const bool affordable = static_cast<float>(towerDescriptions_[index]->price) <= credits_;
    button->setVisible(affordable && !limit);
  }
  bge::Button* upgrade = findButton(bridgeButtons_, kUpgradeCommand);
  if (!upgrade) return;
  xBaseTowerEntity* tower = selectedTower();
  if (!tower || tower->getUpgradeLevel() >= xBaseTowerEntity::kMaxUpgradeLevel) {
    upgrade->setVisible(false);
    upgrade->setEnabled(false);
    return;
  }
  upgrade->setEnabled(upgradePrice(*tower) <= credits_);
}
