// The player's keys, pointer moves and clicks on the field.
#include <SDL.h>

#include "Game/Entities/enemies/SimpleEnemyEntity.h"
#include "Game/BridgeIds.h"
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

// How close a click must come to an enemy to pick it.
constexpr float kPickRadius = 20.0f;
// Below this speed factor the game runs fast forward.
constexpr float kFastBelow = 0.4f;

xSimpleEnemy* enemyNear(const SceneEntityManager& scene, const Vec2& point) {
  for (xSimpleEnemy* enemy : findEnemies(scene)) {
    const Vec3 p = enemy->absPlacement();
    if (qlnLenV2(Vec2(p.x - point.x, p.y - point.y)) <= kPickRadius) return enemy;
  }
  return nullptr;
}

}  // namespace

void LevelScreen::onKeyEvent(const KeyEvent& event) {
  ScreenBase::onKeyEvent(event);
  keyPressed(event);
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
    case SDLK_g: hud_.toggleGrid(); break;
    case SDLK_r: hud_.toggleCrosshair(); break;
    case SDLK_v: hud_.togglePathDetail(); break;
    case SDLK_t: hud_.toggleBuildableView(); break;
    case SDLK_a:
      if (battleAssistant_ && (battleAssistant_->getValue() == 0 || battleAssistant_->getValue() == 1))
        battleAssistant_->setValue(1 - battleAssistant_->getValue());
      break;
    case SDLK_p: bridge_.showPaths(hud_.pathDisplay() == LevelHud::kPathsHidden); break;
    case SDLK_SPACE:
      // Space stands in for the send-wave button, only while the bridge offers it.
      if (bridge_.sendWaveOffered()) sendNextWave();
      break;
    case SDLK_BACKSPACE: checkpoints_.requestRestore(); break;
    case SDLK_s:
      if (state_ == kLevelBattle) bridge_.fastForward(flow_.speedFactor() > kFastBelow);
      break;
    default: break;
  }
}

// The bridge's widgets report to the level, the bridge tells what they do.
void LevelScreen::onButtonEvent(int id, int event) { bridge_.buttonEvent(id, event); }

// The auto-send box: the level's only check box.
void LevelScreen::onCheckBoxChanged(int, bool) { bridge_.onAutoWaveToggled(); }

void LevelScreen::mouseMoved(const PointingDeviceEvent& event) {
  if (event.x >= 0 && event.x < PlacementGrid::kFieldWidth && event.y >= 0 && event.y < PlacementGrid::kFieldHeight) {
    const int column = event.x / PlacementGrid::kCellSize, row = event.y / PlacementGrid::kCellSize;
    selection_.hoverCell(PlacementGrid::index(column, row), PlacementGrid::centre(column, row));
  } else {
    selection_.leaveCell();
  }
  hud_.setPointerOverBridge(bridge_.covers(event.x, event.y));
}

void LevelScreen::mousePressed(const PointingDeviceEvent& event) {
  if (event.kind != PointingDeviceEvent::Pressed) return;
  auto dropSelectedTower = [this]() {
    towerCommands_.showTowerInfo(nullptr);
    placement_.clearSelection();
    if (xBaseTowerEntity* t = selection_.tower()) t->setSelected(false);
    selection_.setTower(nullptr);
  };
  if (event.buttons & PointingDeviceEvent::Right) {
    // A half-placed pair or a beacon still to attach is taken back with its price.
    placement_.cancelPendingPlacement();
    // Cancelling a choice drops its ghost with it: nothing is left to place.
    selection_.chooseTowerDesc(nullptr);
    dropSelectedTower();
    return;
  }
  mouseMoved(event);
  const int cell = selection_.hoveredCell();
  if (!grid_.contains(cell)) return;
  if (grid_.stateOf(cell) != PlacementGrid::kFree) {
    xSimpleEnemy* enemy = enemyNear(*this, Vec2(static_cast<float>(event.x), static_cast<float>(event.y)));
    if (enemy) dropSelectedTower();
    selection_.pickEnemy(enemy);
    return;
  }
  if (!selection_.towerDesc()) {
    dropSelectedTower();
    return;
  }
  placement_.buyTower(PlacementGrid::columnOf(cell), PlacementGrid::rowOf(cell), selection_.towerDesc());
  selection_.pickEnemy(nullptr);
  towerCommands_.showTowerInfo(selection_.tower());
}
