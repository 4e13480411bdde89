// The level's credits, interest and tower prices.
#include "Game/LevelEconomy.h"

#include "Game/Entities/towers/TowerFigures.h"
#include "Game/Entities/towers/xBaseTowerEntity.h"

void LevelEconomy::add(double amount) {
  if (maxCredits_) {
    credits_ = kMaxCredits;
    return;
  }
  credits_ += amount;
}

void LevelEconomy::payInterest() {
  if (!maxCredits_) credits_ = credits_ * (interestPercent_ / 100.0 + 1.0);
}

int LevelEconomy::upgradePrice(const xBaseTowerEntity& tower) {
  return towerUpgradePrice(tower.getPrice(), tower.getUpgradeLevel());
}

double LevelEconomy::sellPrice(const xBaseTowerEntity& tower) {
  return towerSellRefund(tower.getPrice(), tower.getUpgradeLevel());
}
