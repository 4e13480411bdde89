#pragma once
// The commands on a standing tower (upgrade, sell, retarget) with its info panel, and
// the build buttons: hovered, chosen, and shown as far as the credits and the mode's
// limit reach. The bridge hands it the events of those buttons.

class LevelBridge;
class LevelEconomy;
class LevelScreen;
class LevelSelection;
class TowerTally;
class xBaseTowerEntity;

class TowerCommands {
 public:
  TowerCommands(LevelScreen& level, LevelBridge& bridge, LevelSelection& selection, LevelEconomy& economy,
                TowerTally& tally)
      : level_(level), bridge_(bridge), selection_(selection), economy_(economy), tally_(tally) {}

  // An event of a build button (ids from bridgeids::kTowerButtonBase): its hover
  // text, or the kind chosen (or let go) for the next click on the field.
  void towerButtonEvent(int id, int event);
  // A click on a command of the tower panel; ids without a meaning do nothing.
  void commandEvent(int id);

  bool upgradeTower(xBaseTowerEntity* tower);  // false at the top level or without the credits
  void sellTower(xBaseTowerEntity* tower);
  void retargetTower(xBaseTowerEntity* tower, int strategy);
  // Fills the command panel for the tower; null hides it.
  void showTowerInfo(xBaseTowerEntity* tower);
  // The build buttons and the upgrade command after every change of the credits.
  void updateTowerButtons();

 private:
  LevelScreen& level_;
  LevelBridge& bridge_;
  LevelSelection& selection_;
  LevelEconomy& economy_;
  TowerTally& tally_;
};
