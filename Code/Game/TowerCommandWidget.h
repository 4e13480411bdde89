#pragma once
#include <string>
#include <vector>

#include "Game/Entities/towers/TowerFigures.h"
#include "Widget.h"

class Font;
class SceneEntityManager;
class Texture;
class xBaseTowerEntity;
namespace bge {
class Button;
}

// The selected tower's command area of the level: captions of the strategy, upgrade
// and trade sections, the upgrade marks, the highlight over the tower's targeting
// strategy, and the switch between the strategy page and the trade page of the
// command buttons. The level owns it and hands it the command buttons of its layout.
class TowerCommandWidget : public Widget {
 public:
  // Share of a tower's value paid back when it is sold: the level's rule.
  static constexpr float kSellRatio = kTowerSellRatio;

  // The scene is the level's, which outlives its widgets: the shown tower is looked up in it.
  explicit TowerCommandWidget(const SceneEntityManager& scene);
  ~TowerCommandWidget() override = default;

  void draw(Graphics* g, ScreenBase* screen) override;
  // It covers the whole screen only to draw: the pointer goes to what lies beneath.
  bool hitTest(int, int) const override { return false; }

  // Appended in layout order; the pages find each command by its id, so the layout
  // may order and place them as it likes.
  void addButton(bge::Button* button);
  // Applies the strategy to the shown tower's brain and remembers what to highlight.
  void resetStrategySelection(int strategy);
  void setCommandButtonsEnabled(bool shown);
  void showStrategyButtons();
  void showTradeButtons();
  std::string makeSellLabel() const;

  // The tower shown, or null. A tower that has left the scene since it was set is
  // forgotten here, so no caller ever reaches a dead tower through the panel.
  xBaseTowerEntity* tower();
  void setTower(xBaseTowerEntity* tower) { tower_ = tower; }
  // Whether the panel was set to this tower, live or not.
  bool shows(const xBaseTowerEntity* tower) const { return tower && tower_ == tower; }
  int selectedStrategy() const { return selectedStrategy_; }
  void setSelectedStrategy(int strategy) { selectedStrategy_ = strategy; }
  const std::vector<bge::Button*>& buttons() const { return buttons_; }
  float sellRatio() const { return sellRatio_; }
  double sellPrice() const { return sellPrice_; }
  void setSellPrice(double price) { sellPrice_ = price; }

 private:
  // Shows or hides the command's buttons; an id the list does not hold is skipped.
  void showCommand(int id, bool shown);
  int towerUpgradeLevel();
  void drawPanel(Graphics* g);

  const SceneEntityManager& scene_;
  xBaseTowerEntity* tower_ = nullptr;    // not owned; checked for liveness before each use
  int selectedStrategy_ = -1;
  std::vector<bge::Button*> buttons_;    // not owned: the level's widgets
  float sellRatio_ = kSellRatio;
  double sellPrice_ = 0.0;
};
