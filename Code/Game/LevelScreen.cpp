// The level screen's life: construction with a fresh physics world, initialisation,
// the per-frame update through the level states, timed actions and the exit.
#include "Game/LevelScreen.h"
#include "MyApp.h"
#include "Profile/Profile.h"

#include <cstdio>
#include <cstdlib>

#include "AssertReport.h"
#include "Configurator/ConfigContext.h"
#include "DynamicResources/SfxContainer.h"
#include "FadeTransitions.h"
#include "Game/CheckPointManager.h"
#include "Game/Entities/drones/PatrolShipEntity.h"
#include "Game/Entities/enemies/xEnemySpawner.h"
#include "Game/Entities/towers/xBaseSupportTowerEntity.h"
#include "Game/Entities/shots/xEnemyBulletEntity.h"
#include "Game/LevelBackground.h"
#include "Game/LevelRoutes.h"
#include "GameApp.h"
#include "Game/TowerCommandWidget.h"
#include "LabelManager.h"
#include "Music.h"
#include "SaveGame.h"
#include "System/ResourceLists.h"
#include "WidgetManager.h"
#include "XmlAttributes.h"
#include "sdk/QuillonPhysicsSDK.h"
#include "tinyaction/TinyAction.h"

using namespace QuillonPHX2D;

namespace {

LevelScreen* g_currentLevel = nullptr;

// Screen fades in and out of a level.
constexpr int kFadeMs = 256;
constexpr const char* kBridgeLayout = "content/images/game/userinterface/CommandBridgeUI.xml";
// Physics settings every level runs with (the configurator's record order).
constexpr float kRestSpeed = 0.01822f;
constexpr float kDamping = 0.998f;
constexpr int kIterationLimit = 4;

const char* const kModeLabels[] = {"MODE_CLASSIC",    "MODE_ALLTOWERS",     "MODE_REVERSAL",
                                   "MODE_MAXCREDITS", "MODE_LIMITEDTOWERS", "MODE_ENDLESS"};

// Rolls the support boosts and the towers' sensors before the widget update: the
// sensors then take the ranges the boosts give.
void resizeSensors(const SceneEntityManager& scene) {
  for (xBaseSupportTowerEntity* support : findSupportTowers(scene)) support->applySupport();
  for (xBaseTowerEntity* tower : findTowers(scene)) tower->setSensorRadius(tower->getEffectiveRange());
}

// The towers under the restore sweep's column flash as it passes.
void markTowersInColumn(const SceneEntityManager& scene, int column) {
  for (xBaseTowerEntity* tower : findTowers(scene)) {
    if (PlacementGrid::columnAt(tower->absPlacement().x) == column) tower->startFlash();
  }
}

}  // namespace

LevelScreen* LevelScreen::current() { return g_currentLevel; }

bool LevelScreen::shotsAudible() const {
  MyApp* app = MyApp::instance();
  const Profile* profile = app ? app->profile() : nullptr;
  return !profile || profile->flag(CustomFlag::AllShotsHeard) != 0;
}

LevelScreen::LevelScreen(int missionId, const std::string& levelFile, int gameMode, int difficulty)
    : ScreenBase(""),
      levelFile_(levelFile),
      missionId_(missionId),
      gameMode_(gameMode),
      difficulty_(difficulty),
      economy_(gameMode == MODE_MAXCREDITS) {
  setOwner(getWidgetManager());
  // A level starts with a new world, paused until the level is set up.
  qlnCreateQuillonSDK();
  if (g_ptrSDK) g_ptrSDK->pauseSimulation();
  g_currentLevel = this;

  GameApp* app = GameApp::instance();
  // Every level starts at normal speed, whatever speed the last one was left at.
  if (app) app->setTimeScale(1.0f);
  if (app && app->getSaveGame()) {
    battleAssistant_ = app->getSaveGame()->findEntryAs<GenericEntry<int>>("BATTLE_ASSISTANT");
  }
  if (app && gameMode_ >= 0 && gameMode_ <= MODE_ENDLESS) {
    if (LabelManager* labels = app->gameMessages()) modeName_ = labels->getLabel(kModeLabels[gameMode_]);
  }
  for (const TowerKindFile& kind : towerKindFiles())
    if (auto desc = makeTowerDescription(kind.typeId)) towerKinds_[kind.typeId] = std::move(desc);
}

LevelScreen::~LevelScreen() {
  if (g_currentLevel == this) g_currentLevel = nullptr;
  stopServingEntities();
  spawner_.reset();
  checkpoints_.stop();
  endAction_.reset();
  removeAllEntities();
  selection_.setTower(nullptr);
  selection_.pickEnemy(nullptr);
  releaseMusic();
}

void LevelScreen::playIfAssisted(const char* sound) const {
  const bool assistantOn = battleAssistant_ && battleAssistant_->getValue() == 1;
  if (assistantOn) SfxContainer::instance()->playSound(sound);
}

void LevelScreen::init() {
  // The level's shared textures; the heads-up display and the field draw them by key.
  registerLevelResources(getResourceManager());
  startMusic();
  LevelBackground::makeStars(stars_);
  setInTransition(new FadeInTransition(kFadeMs, Color(0, 0, 0, 255)));
  setOutTransition(new FadeOutTransition(kFadeMs, Color(0, 0, 0, 255)));

  xConfigurator* ptrInstance_ = xConfigurator::Instance();
  if (ptrInstance_) {
    ptrInstance_->gravity = Vec2(0.0f, 0.0f);
    ptrInstance_->linearRestSpeed = kRestSpeed;
    ptrInstance_->angularRestSpeed = kRestSpeed;
    ptrInstance_->dampingFactor = kDamping;
    ptrInstance_->sleeping = false;
    ptrInstance_->substepping = true;
    ptrInstance_->tunnelling = true;
    ptrInstance_->separationTest = false;
    ptrInstance_->friction = false;
    ptrInstance_->iterationLimit = kIterationLimit;
  }

  // A level without a wave would be won by the first click on the send-wave button.
  bge::XmlReader::clearLastProblem();
  const bool loaded = loadLevel();
  playable_ = loaded && refusal_.empty() && spawner_ && spawner_->waveCount() > 0;
  BGE_ERROR_MSG(playable_, ("level: " + levelFile_ + " " + refusal_ +
                            ", so it gives no level to play; back to mission control").c_str());
  // Mission control tells the player why, on the mission's card, for the rest of the run.
  // A file that could not be read is best told by what its reader met there.
  std::string refusal;
  if (!playable_) {
    const std::string& lastProblem = bge::XmlReader::lastProblem();
    refusal = !loaded && !lastProblem.empty()
                  ? lastProblem
                  : levelFile_ + ": it " + (refusal_.empty() ? std::string("holds no wave to play") : refusal_);
  }
  if (MyApp* app = MyApp::instance(); app && app->profile()) app->profile()->setMissionRefusal(missionId_, refusal);
  effects_.loadMissileKinds();
  loadPatrolShips();
  checkpoints_.start();
  buildPathMarkers();
  bridge_.initFromXml(kBridgeLayout);
  SfxContainer::instance()->playSound("UI_BOOT");
  effects_.loadParticleKinds();
  state_ = kLevelBooting;
  hud_.makeAnimations();
  if (g_ptrSDK) g_ptrSDK->unpauseSimulation();
}

void LevelScreen::pause(GameApp* app) {
  ScreenBase::pause(app);
  if (g_ptrSDK) g_ptrSDK->pauseSimulation();
  // A covering screen stops the level time; it runs on when the level shows again.
  if (flow_.clocksRunning()) {
    flow_.pauseClocks();
    clocksHeldByCover_ = true;
  }
}

void LevelScreen::resume(GameApp* app) {
  ScreenBase::resume(app);
  if (clocksHeldByCover_) {
    clocksHeldByCover_ = false;
    flow_.resumeClocks();
  }
  if (!g_ptrSDK) return;
  if (getPhase() == PhaseExiting) g_ptrSDK->pauseSimulation();
  else g_ptrSDK->unpauseSimulation();
}

void LevelScreen::onMinimized() { flow_.pauseClocks(); }

void LevelScreen::onRestored() { flow_.resumeClocks(); }

void LevelScreen::preUpdate(int) {
  effects_.flushRequests();
  resizeSensors(*this);
  // Entities added while the widgets update are appended, not sorted in: a sort
  // would reorder the list the widget pass is walking.
  setSortOnAdd(false);
}

void LevelScreen::postWidgetUpdate(int) {
  for (xBaseSupportTowerEntity* support : findSupportTowers(*this)) support->resetFactors();
  setSortOnAdd(true);
}

void LevelScreen::updateScreen(int dt) {
  if (!playable_) {
    // Left on its first frame, before anything of it can be reached.
    if (getPhase() != PhaseExiting) close(kLevelToMissionControl, true);
    return;
  }
  hud_.updateFades(dt);

  switch (state_) {
    case kLevelBooting:
      bridge_.updateBoot(dt);
      break;
    case kLevelBattle:
      if (spawner_) spawner_->update(dt);
      if (!selection_.tower()) selection_.setTower(nullptr);
      // A tower that left the scene takes its command panel with it.
      if (TowerCommandWidget* panel = bridge_.commandWidget(); panel && panel->isVisible() && !panel->tower())
        bridge_.hideTowerInfo();
      updateTimers();
      if (hud_.sweepRunning()) markTowersInColumn(*this, PlacementGrid::columnAt(hud_.sweep()));
      break;
    case kLevelRestorePending: checkpoints_.applyPendingRestore(); break;
    case kLevelOver:
      if (endAction_ && endAction_->isRunning()) endAction_->update(dt);
      break;
    default: break;
  }

  LevelBackground::moveStars(stars_);
  processRemovals();
  if (GameApp* app = GameApp::instance()) hud_.setPointerPos(app->getMousePosition());
  hud_.updatePulse(dt);
}

void LevelScreen::actionFinished(int id) {
  switch (id) {
    case kBootEnded:
      if (state_ == kLevelBooting) state_ = kLevelWaiting;
      bridge_.showAfterBoot();
      break;
    case kCheckpointSavedMessage: playIfAssisted("SFX_CHECKPOINT_SAVED"); break;
    case kRestoreSweepEnded:
      // A sweep that ends after the level is over must not bring the level back.
      if (state_ == kLevelOver) break;
      state_ = kLevelRestorePending;
      placement_.clearSelection();
      playIfAssisted("SFX_CHECKPOINT_RESTORED");
      break;
    case kLevelEndDelayOver:
      flow_.readLevelTime();
      if (g_ptrSDK) g_ptrSDK->pauseSimulation();
      finalStats_ = makeStats();
      openOverlay(levelroutes::resultsScreen(finalStats_));
      playIfAssisted(finalStats_.victory ? "SFX_LEVEL_VICTORY" : "SFX_LEVEL_DEFEAT");
      break;
    default: break;
  }
}

bool LevelScreen::endDelayRunning() const { return endAction_ && endAction_->isRunning(); }

void LevelScreen::onExitTransitionDone(int exitCode) {
  GameApp* app = GameApp::instance();
  if (!app) return;
  app->saveGame();
  const std::string levelFile = levelFile_;
  const int missionId = missionId_, mode = gameMode_, difficulty = difficulty_;
  if (exitCode == kLevelToMainMenu || exitCode == kLevelToMissionControl) playIfAssisted("SFX_RETURN_TO_BRIDGE");
  // The old level lets go of its entities and of the current-level reference
  // before a restart builds the next one: the new level replaces the world they
  // live in.
  removeAllEntities();
  if (g_currentLevel == this) g_currentLevel = nullptr;
  stopServingEntities();
  // The game speed is the level's: the screens that follow run at normal speed.
  app->setTimeScale(1.0f);
  app->finishState(this);
  if (exitCode == kLevelRestart) app->changeState(new LevelScreen(missionId, levelFile, mode, difficulty));
  else if (ScreenBase* next = levelroutes::screenAfter(exitCode)) app->changeState(next);
}

void LevelScreen::openOverlay(ScreenBase* screen) {
  GameApp* app = GameApp::instance();
  if (!app) {
    delete screen;
    return;
  }
  app->changeState(screen);
}
