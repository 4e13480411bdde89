#include "Game/TowerCommandWidget.h"

#include "DesignSize.h"
#include "Font.h"
#include "GLTexture.h"
#include "Game/BridgeIds.h"
#include "Game/Entities/towers/DeploymentTowerEntity.h"
#include "Game/Entities/towers/xBaseTowerEntity.h"
#include "Game/SceneEntityManager.h"
#include "GameApp.h"
#include "Graphics.h"
#include "Utilities.h"
#include "widgets/Button.h"
#include "widgets/LayoutReading.h"

namespace {

constexpr const char* kUpgradeIcon = "content/images/game/UpgradeIcon.png";
const Color kCaptionColour(255, 255, 255, 255);
const Color kMarkBought(255, 255, 255, 255);
const Color kMarkOpen(200, 200, 200, 128);
const Color kHighlight(255, 255, 0, 128);

bool isTargeting(const bge::Button* b) { return bridgeids::strategyOfCommand(b->getButtonId()) >= 0; }

// A hidden button is not updated either: its fades wait until it shows again.
void showButton(bge::Button* b, bool shown) {
  b->setVisible(shown);
  b->setActive(shown);
}

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

TowerCommandWidget::TowerCommandWidget(const SceneEntityManager& scene) : scene_(scene) {
  setRect(0, 0, bge::kDesignWidth, bge::kDesignHeight);
}

void TowerCommandWidget::addButton(bge::Button* button) {
  if (button) buttons_.push_back(button);
}

xBaseTowerEntity* TowerCommandWidget::tower() {
  if (tower_ && !scene_.findLiveEntity(tower_)) tower_ = nullptr;
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

void TowerCommandWidget::showCommand(int id, bool shown) {
  for (bge::Button* b : buttons_)
    if (b->getButtonId() == id) showButton(b, shown);
}

void TowerCommandWidget::setCommandButtonsEnabled(bool shown) {
  // A tower that aims at nothing is offered no targeting.
  for (bge::Button* b : buttons_)
    if (isTargeting(b)) showButton(b, shown && selectedStrategy_ >= 0);
  showCommand(bridgeids::kUpgrade, shown && towerUpgradeLevel() != -1);
}

void TowerCommandWidget::showStrategyButtons() {
  showCommand(bridgeids::kSell, false);
  showCommand(bridgeids::kShowStrategies, false);
  showCommand(bridgeids::kShowTrade, true);
  setCommandButtonsEnabled(true);
}

void TowerCommandWidget::showTradeButtons() {
  showCommand(bridgeids::kSell, true);
  showCommand(bridgeids::kShowStrategies, true);
  showCommand(bridgeids::kShowTrade, false);
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
  const int lit = selectedStrategy_ >= 0 ? bridgeids::commandOfStrategy(selectedStrategy_) : 0;
  for (const bge::Button* b : buttons_)
    // A highlight over a button the page does not show would mark empty space.
    if (b->getButtonId() == lit && b->isVisible())
      g->fillRect(Rect5(b->getX(), b->getY(), b->getWidth(), b->getHeight()), kHighlight);
}
