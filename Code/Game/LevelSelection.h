#pragma once
// What the player has in hand on the field: the tower kind chosen on a build button,
// the standing tower selected, the enemy picked, the cell and build button under the
// pointer, and a drone-station pair or navigation beacon half placed. Entities are
// kept by pointer and looked up in the scene before each use.
#include <string>

#include "Foundation/Math/QlnMath.h"

class SceneEntityManager;
class xBaseTowerDesc;
class xBaseTowerEntity;
class xDeploymentTowerEntity;
class xSimpleEnemy;
class xWavePointTowerEntity;

class LevelSelection {
 public:
  explicit LevelSelection(const SceneEntityManager& scene) : scene_(scene) {}

  // --- the kind chosen on a build button: the next click on a free cell buys it ---
  xBaseTowerDesc* towerDesc() const { return towerDesc_; }
  void chooseTowerDesc(xBaseTowerDesc* description) { towerDesc_ = description; }

  // --- the standing tower selected, while it is still in the scene, else null ---
  xBaseTowerEntity* tower() const;
  void setTower(xBaseTowerEntity* tower) { tower_ = tower; }
  // Whether the tower is the one selected, live or not (a tower leaving asks).
  bool isTower(const xBaseTowerEntity* tower) const { return tower_ == tower; }

  // --- the enemy picked by a click, while it is still in the scene, else null ---
  xSimpleEnemy* enemy() const;
  void pickEnemy(xSimpleEnemy* enemy) { enemy_ = enemy; }

  // --- the placement cell under the pointer, -1 when the pointer is off the field ---
  int hoveredCell() const { return hoveredCell_; }
  // The hovered cell's centre; it keeps its value while the pointer is off the field.
  const QuillonPHX2D::Vec2& hoveredCellCentre() const { return hoveredCellCentre_; }
  void hoverCell(int cell, const QuillonPHX2D::Vec2& centre);
  void leaveCell() { hoveredCell_ = -1; }

  // --- the build button under the pointer: where its frame goes and what it says ---
  bool buttonHovered() const { return buttonX_ != -1.0f; }
  float buttonX() const { return buttonX_; }
  float buttonY() const { return buttonY_; }
  const std::string& buttonText() const { return buttonText_; }
  // The info label key of the hovered button's kind.
  const std::string& buttonInfoKey() const { return buttonInfoKey_; }
  void hoverButton(float x, float y, const std::string& text, const std::string& infoKey);
  void leaveButton();
  // The frame goes; the texts stay until the pointer leaves the button.
  void clearButtonFrame() { buttonX_ = buttonY_ = -1.0f; }

  // --- a drone-station pair whose first station stands, and a placed beacon ---
  bool placingPair() const { return placingPair_; }
  // The first station of the half-placed pair while it stands, else null.
  xDeploymentTowerEntity* pairStation() const;
  // The first station as kept, live or not (a station leaving asks).
  const xDeploymentTowerEntity* pairStationAsKept() const { return pairStation_; }
  void startPair(xDeploymentTowerEntity* first, const QuillonPHX2D::Vec2& anchor);
  void endPair();
  // A placed beacon waits for the player to click the drone station it joins.
  bool attachingBeacon() const { return beaconPlaced_ && beacon(); }
  xWavePointTowerEntity* beacon() const;
  void placeBeacon(xWavePointTowerEntity* beacon, const QuillonPHX2D::Vec2& anchor);
  void endBeacon();
  // Where the link line of a half-placed pair or beacon starts.
  const QuillonPHX2D::Vec2& anchor() const { return anchor_; }

 private:
  const SceneEntityManager& scene_;
  xBaseTowerDesc* towerDesc_ = nullptr;  // not owned: the level's description
  xBaseTowerEntity* tower_ = nullptr;    // not owned; looked up before use
  xSimpleEnemy* enemy_ = nullptr;        // not owned; looked up before use
  int hoveredCell_ = -1;
  QuillonPHX2D::Vec2 hoveredCellCentre_{0.0f, 0.0f};
  float buttonX_ = -1.0f;
  float buttonY_ = -1.0f;
  std::string buttonText_;
  std::string buttonInfoKey_;
  bool placingPair_ = false;
  xDeploymentTowerEntity* pairStation_ = nullptr;  // not owned; looked up before use
  bool beaconPlaced_ = false;
  xWavePointTowerEntity* beacon_ = nullptr;  // not owned; looked up before use
  QuillonPHX2D::Vec2 anchor_{0.0f, 0.0f};
};
