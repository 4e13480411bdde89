#include "Game/TowerCommandWidget.h"

#include "Font.h"
#include "GLTexture.h"
#include "Game/BridgeIds.h"
#include "Game/Entities/towers/DeploymentTowerEntity.h"
#include "Game/Entities/towers/xBaseTowerEntity.h"
#include "Game/LevelScreen.h"
#include "GameApp.h"
#include "Graphics.h"
#include "Utilities.h"
#include "widgets/Button.h"
#include "widgets/LayoutReading.h"

namespace {

// List entries by role: 0..5 the strategy page, 6 beside it, 7 and 8 the trade page,
// 9 the switch to it, 10 the upgrade command.
constexpr size_t kStrategyEntries = 6;
constexpr size_t kBesideStrategies = 6;
constexpr size_t kTradeA = 7;
constexpr size_t kTradeB = 8;
constexpr size_t kTradeSwitch = 9;
constexpr size_t kUpgrade = 10;
// The list entry beside the strategies is a strategy button of its own and keeps
// its caption: the sell command is found by its id.

constexpr const char* kUpgradeIcon = "content/images/game/UpgradeIcon.png";
const Color kCaptionColour(255, 255, 255, 255);
const Color kMarkBought(255, 255, 255, 255);
const Color kMarkOpen(200, 200, 200, 128);
const Color kHighlight(255, 255, 0, 128);

Texture* upgradeIcon() {
  GameApp* app = GameApp::instance();
  ResourceManager* resources = app ? app->globalResourceManager() : nullptr;
  if (!resources) return nullptr;
  return layout::findOrCreateTexture(resources, kUpgradeIcon, GLTexture::kLinear);
}

void caption(Graphics* g, Font* font, float y, const char* key) {
  if (!font) return;
  const Rect5 box(static_cast<float>(bridgeids::kCommandX), y, static_cast<float>(bridgeids::kCommandWidth), 12.0f);
  font->drawTextAligned(g, box, layout::lookupText(key), kCaptionColour, 0, 3, false);
}

}  // namespace

TowerCommandWidget::TowerCommandWidget() { setRect(0, 0, layout::kDesignWidth, layout::kDesignHeight); }

void TowerCommandWidget::addButton(bge::Button* button) {
  if (button) buttons_.push_back(button);
}

xBaseTowerEntity* TowerCommandWidget::tower() {
  LevelScreen* level = LevelScreen::current();
  if (tower_ && (!level || !level->findLiveEntity(tower_))) tower_ = nullptr;
  return tower_;
}

int TowerCommandWidget::towerUpgradeLevel() {
  xBaseTowerEntity* t = tower();
  return t ? t->getUpgradeLevel() : -1;
}

void TowerCommandWidget::resetStrategySelection(int strategy) {
  xBaseTowerEntity* t = tower();
  if (!t) return;
  // The tower writes the strategy into its brain as well.
  t->setTargetSelection(strategy);
  // Support towers, beacons and drone stations aim at nothing.
  selectedStrategy_ = t->isSupportTower() || dynamic_cast<xDeploymentTowerEntity*>(t) ? -1 : strategy;
}

void TowerCommandWidget::showEntry(size_t i, bool shown) {
  if (i < buttons_.size()) buttons_[i]->setVisible(shown);
}

void TowerCommandWidget::setEntryActive(size_t i, bool active) {
  if (i < buttons_.size()) buttons_[i]->setActive(active);
}

void TowerCommandWidget::setCommandButtonsEnabled(bool shown) {
  // A tower that aims at nothing is offered no targeting.
  for (size_t i = 0; i < kStrategyEntries; ++i) showEntry(i, shown && selectedStrategy_ >= 0);
  showEntry(kUpgrade, shown && towerUpgradeLevel() != -1);
}

void TowerCommandWidget::showStrategyButtons() {
  for (size_t i : {kTradeA, kTradeB, kBesideStrategies}) {
    showEntry(i, false);
    setEntryActive(i, false);
  }
  showEntry(kTradeSwitch, true);
  setEntryActive(kTradeSwitch, true);
  setCommandButtonsEnabled(true);
  showEntry(kBesideStrategies, selectedStrategy_ >= 0);
}

void TowerCommandWidget::showTradeButtons() {
  for (size_t i : {kTradeA, kTradeB}) {
    showEntry(i, true);
    setEntryActive(i, true);
  }
  showEntry(kTradeSwitch, false);
  setEntryActive(kTradeSwitch, false);
  showEntry(kBesideStrategies, false);
  setEntryActive(kBesideStrategies, true);
  for (bge::Button* b : buttons_)
    if (b->getButtonId() == bridgeids::kSell) b->setCaption(makeSellLabel());
  setCommandButtonsEnabled(false);
}

std::string TowerCommandWidget::makeSellLabel() const {
  return layout::lookupText("SELL") + " " + formatThousands(static_cast<int>(sellPrice_));
}

void TowerCommandWidget::draw(Graphics* g, ScreenBase*) {
  if (!g || !tower()) return;
  // The panel writes at screen positions wherever the level has put the widget.
  g->pushMatrix();
  g->translate(-getX(), -getY());
  drawPanel(g);
  g->popMatrix();
}

void TowerCommandWidget::drawPanel(Graphics* g) {
  GameApp* app = GameApp::instance();
  Font* font = layout::findFont(app ? app->globalResourceManager() : nullptr, "FONT_NOTOSANS16");
  if (selectedStrategy_ >= 0) caption(g, font, bridgeids::kStrategyCaptionY, "LABEL_STRATEGYTOWER");
  const int level = towerUpgradeLevel();
  if (level >= 0) {
    caption(g, font, bridgeids::kUpgradeCaptionY, "LABEL_UPGRADETOWER");
    if (Texture* mark = upgradeIcon()) {
      for (int i = 0; i < xBaseTowerEntity::kMaxUpgradeLevel; ++i)
        g->drawImage(bridgeids::kUpgradeMarksX + bridgeids::kUpgradeMarkPitch * i, bridgeids::kUpgradeY, mark,
                     i < level ? kMarkBought : kMarkOpen);
    }
  }
  caption(g, font, bridgeids::kTradeCaptionY, "LABEL_TRADETOWER");
  if (selectedStrategy_ >= 0 && static_cast<size_t>(selectedStrategy_) < buttons_.size()) {
    const bge::Button* b = buttons_[static_cast<size_t>(selectedStrategy_)];
    // A highlight over a button the page does not show would mark empty space.
    if (b->isVisible()) g->fillRect(Rect5(b->getX(), b->getY(), b->getWidth(), b->getHeight()), kHighlight);
  }
}
