// The level screen's life: construction with a fresh physics world, initialisation,
// the per-frame update through the level states, timed actions and the exit.
#include "Game/LevelScreen.h"
#include "MyApp.h"
#include "Profile/Profile.h"

#include <cstdlib>

#include "Configurator/ConfigContext.h"
#include "DynamicResources/SfxContainer.h"
#include "FadeTransitions.h"
#include "Game/CheckPointManager.h"
#include "Game/Entities/drones/PatrolShipEntity.h"
#include "Game/Entities/enemies/xEnemySpawner.h"
#include "Game/Entities/towers/xBaseSupportTowerEntity.h"
#include "Game/Entities/shots/xEnemyBulletEntity.h"
#include "Game/LevelRoutes.h"
#include "GameApp.h"
#include "Game/TowerCommandWidget.h"
#include "LabelManager.h"
#include "SaveGame.h"
#include "System/ResourceLists.h"
#include "WidgetManager.h"
#include "sdk/QuillonPhysicsSDK.h"
#include "tinyaction/TinyActionDelay.h"
#include "tinyaction/TinyActionSequence.h"
#include "tinyaction/TinyLoopAction.h"
#include "tinyaction/TinyRelIncrementator.h"
#include "tinyaction/TinySetter.h"

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

template <typename T>
TinyAction* rel(T* target, T amount, int ms, TinyActionOperatorFunction curve) {
  return new TinyRelIncrementator<T>(TinyTimer(ms), target, amount, curve, 1.0f);
}

}  // namespace

LevelScreen* LevelScreen::current() { return g_currentLevel; }

bool LevelScreen::shotsAudible() const {
  MyApp* app = MyApp::instance();
  const Profile* profile = app ? app->profile() : nullptr;
  if (!profile || profile->customFlagCount() < 2) return true;
  return profile->customFlag(1) != 0;
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
  pathColours_ = {0xFFFFFF00u, 0xFFF03CBCu, 0xFF00AAFFu, 0xFFFFFFFFu, 0xFF00FFFFu, 0xFF00FF00u};
}

LevelScreen::~LevelScreen() {
  if (g_currentLevel == this) g_currentLevel = nullptr;
  stopServingEntities();
  safeDelete(spawner_);
  checkPoints_.reset();
  safeDelete(bootAnimation_);
  safeDelete(pulseAction_);
  safeDelete(announceAction_);
  safeDelete(messageAction_);
  safeDelete(sweepAction_);
  safeDelete(endAction_);
  removeAllEntities();
  selectedTower_ = nullptr;
  pickedEnemy_ = nullptr;
  releaseMusic();
}

bool LevelScreen::isBattleAssistantOn() const { return battleAssistant_ && battleAssistant_->getValue() == 1; }

void LevelScreen::playIfAssisted(const char* sound) const {
  if (isBattleAssistantOn()) SfxContainer::instance()->playSound(sound);
}

void LevelScreen::makeAnimations() {
  TinyActionSequence* pulse = new TinyActionSequence(false);
  pulse->addAction(rel(&pulse_, 0.5f, 512, logarithmicOperatorFunction));
  pulse->addAction(new TinySetter<float>(&pulse_, 1.5f));
  pulse->addAction(rel(&pulse_, -1.0f, 1024, exponentialOperatorFunction));
  pulse->addAction(new TinySetter<float>(&pulse_, 0.5f));
  pulse->addAction(rel(&pulse_, 0.5f, 512, logarithmicOperatorFunction));
  pulse->addAction(new TinySetter<float>(&pulse_, 1.0f));
  pulseAction_ = new TinyLoopAction(pulse, -1);
  pulseAction_->start(nullptr, -1);

  TinyActionSequence* announce = new TinyActionSequence(false);
  announce->addAction(new TinySetter<int>(&announceAlpha_, 0));
  announce->addAction(rel(&announceAlpha_, 255, 512, exponentialOperatorFunction));
  announce->addAction(new TinyActionDelay(TinyTimer(1024)));
  announce->addAction(rel(&announceAlpha_, -255, 512, logarithmicOperatorFunction));
  announceAction_ = announce;

  TinyActionSequence* message = new TinyActionSequence(false);
  message->addAction(new TinySetter<int>(&messageAlpha_, 0));
  message->addAction(rel(&messageAlpha_, 255, 512, linearOperatorFunction));
  message->addAction(new TinyActionDelay(TinyTimer(3084)));
  message->addAction(rel(&messageAlpha_, -255, 512, linearOperatorFunction));
  messageAction_ = message;

  TinyActionSequence* sweep = new TinyActionSequence(false);
  sweep->addAction(new TinySetter<float>(&sweep_, 1024.0f));
  sweep->addAction(rel(&sweep_, -1024.0f, 2048, logarithmicOperatorFunction));
  sweepAction_ = sweep;
}

void LevelScreen::init() {
  // The level's shared textures; the heads-up display and the field draw them by key.
  registerLevelResources(getResourceManager());
  startMusic();
  makeStars();
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

  loadLevel();
  loadMissileKinds();
  loadPatrolShips();
  if (gameMode_ != MODE_ENDLESS) checkPoints_ = std::make_unique<CheckPointManager>(this, spawner_);
  buildPathMarkers();
  initFromXml(kBridgeLayout);
  SfxContainer::instance()->playSound("UI_BOOT");
  loadParticleKinds();
  state_ = kLevelBooting;
  makeAnimations();
  if (g_ptrSDK) g_ptrSDK->unpauseSimulation();
}

void LevelScreen::pause(GameApp* app) {
  ScreenBase::pause(app);
  if (g_ptrSDK) g_ptrSDK->pauseSimulation();
  // A covering screen stops the level time; it runs on when the level shows again.
  if (flow_.clocksRunning()) {
    pauseClocks();
    clocksHeldByCover_ = true;
  }
}

void LevelScreen::resume(GameApp* app) {
  ScreenBase::resume(app);
  if (clocksHeldByCover_) {
    clocksHeldByCover_ = false;
    resumeClocks();
  }
  if (!g_ptrSDK) return;
  if (getPhase() == PhaseExiting) g_ptrSDK->pauseSimulation();
  else g_ptrSDK->unpauseSimulation();
}

void LevelScreen::onMinimized() { pauseClocks(); }

void LevelScreen::onRestored() { resumeClocks(); }

void LevelScreen::preUpdate(int) {
  flushParticleRequests();
  resizeSensors();
  // Entities added while the widgets update are appended, not sorted in: a sort
  // would reorder the list the widget pass is walking.
  setSortOnAdd(false);
}

void LevelScreen::postWidgetUpdate(int) {
  for (xBaseSupportTowerEntity* support : findSupportTowers(*this)) support->resetFactors();
  setSortOnAdd(true);
}

void LevelScreen::updateScreen(int dt) {
  for (TinyAction* a : {announceAction_, messageAction_, sweepAction_})
    if (a && a->isRunning()) a->update(dt);

  switch (state_) {
    case kLevelBooting:
      if (bootAnimation_ && bootAnimation_->isRunning()) bootAnimation_->update(dt);
      moveBridgeImages();
      break;
    case kLevelBattle:
      if (spawner_) spawner_->update(dt);
      if (!selectedTower()) selectedTower_ = nullptr;
      // A tower that left the scene takes its command panel with it.
      if (commandWidget_ && commandWidget_->isVisible() && !commandWidget_->tower()) hideTowerInfo();
      updateTimers();
      if (sweepAction_ && sweepAction_->isRunning()) markTowersInColumn(PlacementGrid::columnAt(sweep_));
      break;
    case kLevelRestorePending: applyPendingRestore(); break;
    case kLevelOver:
      if (endAction_ && endAction_->isRunning()) endAction_->update(dt);
      break;
    default: break;
  }

  moveStars();
  processRemovals();
  if (GameApp* app = GameApp::instance()) pointerPos_ = app->getMousePosition();
  if (pulseAction_ && pulseAction_->isRunning()) pulseAction_->update(dt);
}

void LevelScreen::actionFinished(int id) {
  switch (id) {
    case kBootEnded:
      if (state_ == kLevelBooting) state_ = kLevelWaiting;
      showBridgeAfterBoot();
      break;
    case kCheckpointSavedMessage: playIfAssisted("SFX_CHECKPOINT_SAVED"); break;
    case kRestoreSweepEnded:
      // A sweep that ends after the level is over must not bring the level back.
      if (state_ == kLevelOver) break;
      state_ = kLevelRestorePending;
      clearSelection();
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

xEnemyBulletEntityDesc* LevelScreen::enemyBulletKind(const std::string& path) {
  auto it = bulletKinds_.find(path);
  if (it != bulletKinds_.end()) return it->second.get();
  auto desc = std::make_unique<xEnemyBulletEntityDesc>();
  desc->loadFromFile(path);
  xEnemyBulletEntityDesc* kept = desc.get();
  bulletKinds_[path] = std::move(desc);
  return kept;
}

std::vector<xSimpleEnemy*> LevelScreen::findEnemies(const SceneEntityManager& manager) {
  std::vector<xSimpleEnemy*> found;
  for (xSharkEntity* e : manager.entities())
    if (auto* enemy = dynamic_cast<xSimpleEnemy*>(e)) found.push_back(enemy);
  return found;
}
