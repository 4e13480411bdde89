#pragma once
// The towers on the placement grid: placing one on a cell (bought by a click, or put
// back by a restore), the drone-station pair and the navigation beacon placed in two
// steps, finding the towers that stand, and which of them is selected. It numbers the
// towers it makes and knows whether the first one stands, which starts the battle.
#include <string>

class LevelCheckpoints;
class LevelEconomy;
class LevelScreen;
class LevelSelection;
class PlacementGrid;
class TowerCommands;
class TowerTally;
class xBaseTowerDesc;
class xBaseTowerEntity;
class xDeploymentTowerEntity;

class TowerPlacement {
 public:
  struct Parts {
    PlacementGrid& grid;
    LevelSelection& selection;
    LevelEconomy& economy;
    TowerTally& tally;
    TowerCommands& commands;
    LevelCheckpoints& checkpoints;
  };
  TowerPlacement(LevelScreen& level, const Parts& parts) : level_(level), parts_(parts) {}

  // Each false when refused: a cell that is not free, the mode's tower limit; a purchase
  // (as a click makes it) also when the credits do not reach.
  bool placeTower(int column, int row, xBaseTowerDesc* description);
  bool buyTower(int column, int row, xBaseTowerDesc* description);
  // One tower on a cell, as a restore puts it; null on a cell that is not free.
  xBaseTowerEntity* recreateTower(xBaseTowerDesc* desc, int column, int row);
  // A right click: takes back a half-placed pair or a beacon still to attach, with its price.
  void cancelPendingPlacement();
  // Both stations stand: the second becomes the first's partner and the first launches a ship.
  static void linkDeploymentPair(xDeploymentTowerEntity* first, xDeploymentTowerEntity* second);

  xBaseTowerEntity* liveTowerAt(int column, int row) const;
  xBaseTowerDesc* findDescriptionByKind(const std::string& kindName) const;  // by its info key
  void clearOccupiedCells();  // a restore puts its towers on an empty grid
  void clearSelection();      // no tower stays selected

  bool firstTowerPlaced() const { return firstTowerPlaced_; }
  // The id the next tower gets, so a restored level numbers on from the record.
  int nextEntityId() const { return nextEntityId_; }
  void restoreNextEntityId(int id) { nextEntityId_ = id; }

 private:
  // After a placement: drone-station pairing and beacon attachment.
  void notePlacedTower(xBaseTowerEntity* tower, int column, int row, xBaseTowerDesc* chosen);

  LevelScreen& level_;
  Parts parts_;
  int nextEntityId_ = 0;
  bool firstTowerPlaced_ = false;
};
