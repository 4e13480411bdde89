// The player's keys, pointer moves and clicks on the field.
#include <SDL.h>

#include "Game/Entities/enemies/SimpleEnemyEntity.h"
#include "Game/Entities/enemies/xEnemySpawner.h"
#include "Game/LevelScreen.h"
#include "GameApp.h"
#include "GenericEntry.h"
#include "KeyEvent.h"
#include "Game/LevelRoutes.h"
#include "PointingDeviceEvent.h"
#include "widgets/Button.h"
#include "widgets/ImageWidget.h"

using namespace QuillonPHX2D;

namespace {

// Game-speed factors of normal play and fast forward.
constexpr float kNormalSpeed = 1.0f;
constexpr float kFastSpeed = 0.36f;
// Bridge buttons the keys stand in for.
enum { kPathsShow = 3, kPathsHide = 4, kSpeedFast = 5, kSpeedNormal = 6, kSendWave = 7 };

}  // namespace

void LevelScreen::onKeyEvent(const KeyEvent& event) {
  ScreenBase::onKeyEvent(event);
  keyPressed(event);
}

void LevelScreen::showBridgeButton(int id, bool shown) const {
  for (bge::Button* b : bridgeButtons_) {
    if (!b || b->getButtonId() != id) continue;
    b->setVisible(shown);
    b->setEnabled(shown);
    return;
  }
}

bool LevelScreen::sendWaveOffered() const {
  for (const bge::Button* b : bridgeButtons_)
    if (b && b->getButtonId() == 7) return b->isVisible();  // 7: send the next wave
  return false;
}

void LevelScreen::keyPressed(const KeyEvent& event) {
  if (event.kind != KeyEvent::Pressed || getPhase() == PhaseExiting) return;
  switch (event.key) {
    case SDLK_ESCAPE: openOverlay(levelroutes::pauseScreen()); break;
    case SDLK_F1: openOverlay(levelroutes::helpScreen()); break;
    case SDLK_e:
      playIfAssisted("SFX_VO_YES_SIR");
      openOverlay(levelroutes::encyclopediaScreen());
      break;
    case SDLK_g: gridVisible_ = !gridVisible_; break;
    case SDLK_r: crosshair_ = !crosshair_; break;
    case SDLK_v: pathDetail_ = !pathDetail_; break;
    case SDLK_t: buildableView_ = !buildableView_; break;
    case SDLK_a:
      if (battleAssistant_ && (battleAssistant_->getValue() == 0 || battleAssistant_->getValue() == 1))
        battleAssistant_->setValue(1 - battleAssistant_->getValue());
      break;
    case SDLK_p:
      if (pathDisplay_ == 0) {
        showBridgeButton(kPathsShow, false);
        showBridgeButton(kPathsHide, true);
        pathDisplay_ = 255;
      } else {
        showBridgeButton(kPathsShow, true);
        showBridgeButton(kPathsHide, false);
        pathDisplay_ = 0;
      }
      break;
    case SDLK_SPACE: {
      // Once the level is over no wave starts and the end is not run again.
      if (state_ == kLevelOver) break;
      bge::Button* send = nullptr;
      for (bge::Button* b : bridgeButtons_)
        if (b && b->getButtonId() == kSendWave) {
          send = b;
          break;
        }
      if (!send || !send->isVisible()) break;
      send->setEnabled(true);
      sendNextWave();
      send->setVisible(false);
      break;
    }
    case SDLK_BACKSPACE: requestRestore(); break;
    case SDLK_s:
      if (state_ != kLevelBattle) break;
      if (flow_.speedFactor() > 0.4f) {
        showBridgeButton(kSpeedFast, false);
        showBridgeButton(kSpeedNormal, true);
        playIfAssisted("SFX_VO_HURRYUP");
        setGameSpeed(kFastSpeed);
      } else {
        showBridgeButton(kSpeedFast, true);
        showBridgeButton(kSpeedNormal, false);
        setGameSpeed(kNormalSpeed);
      }
      break;
    default: break;
  }
}

void LevelScreen::mouseMove(const PointingDeviceEvent& event) {
  if (event.x >= 0 && event.x < PlacementGrid::kFieldWidth && event.y >= 0 && event.y < PlacementGrid::kFieldHeight) {
    const int column = event.x / PlacementGrid::kCellSize, row = event.y / PlacementGrid::kCellSize;
    hoveredCell_ = PlacementGrid::index(column, row);
    hoveredCellCentre_ = PlacementGrid::centre(column, row);
  } else {
    hoveredCell_ = -1;
  }
  // The bridge panel is the image without an id; a layout without one counts its
  // numbered strips instead.
  const ImageWidget* panel = nullptr;
  for (const ImageWidget* image : bridgeImages_)
    if (image->getId() == -1) {
      panel = image;
      break;
    }
  pointerOverBridge_ = false;
  for (const ImageWidget* image : bridgeImages_)
    if ((!panel || image == panel) && image->getGeometry().contains(event.x, event.y)) pointerOverBridge_ = true;
}

void LevelScreen::mouseButton(const PointingDeviceEvent& event) {
  if (event.kind != PointingDeviceEvent::Pressed) return;
  auto dropSelectedTower = [this]() {
    showTowerInfo(nullptr);
    clearSelection();
    if (xBaseTowerEntity* t = selectedTower()) t->setSelected(false);
    selectedTower_ = nullptr;
  };
  if (event.buttons & PointingDeviceEvent::Right) {
    // A half-placed pair or a beacon still to attach is taken back with its price.
    cancelPendingPlacement();
    // Cancelling a choice drops its ghost with it: nothing is left to place.
    selectedTowerDesc_ = nullptr;
    dropSelectedTower();
    return;
  }
  mouseMove(event);
  if (!grid_.contains(hoveredCell_)) return;
  if (grid_.stateOf(hoveredCell_) != PlacementGrid::kFree) {
    xSimpleEnemy* enemy = enemyNear(Vec2(static_cast<float>(event.x), static_cast<float>(event.y)));
    if (enemy) dropSelectedTower();
    pickedEnemy_ = enemy;
    return;
  }
  if (!selectedTowerDesc_) {
    dropSelectedTower();
    return;
  }
  buyTower(PlacementGrid::columnOf(hoveredCell_), PlacementGrid::rowOf(hoveredCell_), selectedTowerDesc_);
  pickedEnemy_ = nullptr;
  showTowerInfo(selectedTower());
}
