#pragma once
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Game/Entities/towers/TowerCatalogue.h"
#include "Game/Entities/towers/xBaseTowerEntity.h"
#include "Game/LevelBridge.h"
#include "Game/LevelCheckpoints.h"
#include "Game/LevelEconomy.h"
#include "Game/LevelEffects.h"
#include "Game/LevelFileModel.h"
#include "Game/LevelForEntities.h"
#include "Game/LevelHud.h"
#include "Game/LevelSelection.h"
#include "Game/LevelStats.h"
#include "Game/PlacementGrid.h"
#include "Game/SceneEntityManager.h"
#include "Game/SceneQueries.h"
#include "Game/TowerCommands.h"
#include "Game/TowerPlacement.h"
#include "Game/TutorialEventListener.h"
#include "Game/WaveFlow.h"
#include "GenericEntry.h"
#include "ScreenBase.h"
#include "tinyaction/ActionListener.h"
#include "widgets/ButtonListener.h"
#include "widgets/CheckBoxListener.h"

class MixMusic;
class TiXmlElement;
class xEnemySpawner;
class xDeploymentTowerEntity;
class xWavePointTowerEntity;
class xSimpleEnemyDesc;
struct KeyEvent;
struct PointingDeviceEvent;
namespace bge {
class XmlReader;
}

// Runs one level: the physics world, the level file's model, the waves, the lives and the
// end; entities reach it through theLevel() (LevelForEntities.h). It owns its services
// (grid, economy, wave flow, selection, bridge, tower commands, tower placement, HUD,
// effects, checkpoints) and keeps the screen, the entity interface and the wiring
// between them; its own part is in the Level*.cpp files.
class LevelScreen : public ScreenBase, public bge::ActionListener, public SceneEntityManager,
                    public bge::ButtonListener, public bge::CheckBoxListener, public TutorialEventListener,
                    public LevelForEntities {
 public:
  // Action ids the level itself starts.
  enum { kBootEnded = 0, kCheckpointSavedMessage = -1, kRestoredMessage = 2468, kRestoreSweepEnded = 2469,
         kLevelEndDelayOver = 1280 };

  LevelScreen(int missionId, const std::string& levelFile, int gameMode, int difficulty);
  ~LevelScreen() override;
  static LevelScreen* current();  // the level that runs now, or null

  // --- screen ---
  void prepare() override {}
  void init() override;
  void pause(GameApp* app) override;
  void resume(GameApp* app) override;
  void onMinimized() override;
  void onRestored() override;
  void updateScreen(int dt) override;
  void preUpdate(int dt) override;
  void postWidgetUpdate(int dt) override;
  void onExitTransitionDone(int exitCode) override;
  void actionFinished(int id) override;
  void onKeyEvent(const KeyEvent& event) override;
  void onShown() override;
  // Lays a screen (pause, help, results) over the level, which stops under it.
  void openOverlay(ScreenBase* screen);
  void drawBackground(Graphics* g) override;
  void drawForeground(Graphics* g) override;
  void drawDebugOverlay(Graphics* g) override;

  // --- player input ---
  void mouseMoved(const PointingDeviceEvent& event) override;
  void mousePressed(const PointingDeviceEvent& event) override;

  // --- the placement grid and the towers on it (TowerPlacement places, finds and
  // selects them; the level frees a cell its tower leaves) ---
  TowerPlacement& placement() { return placement_; }
  const TowerPlacement& placement() const { return placement_; }
  void freeCell(int cellIndex) override;
  // A sold or destroyed tower: its cell is free and nothing shows it any more.
  void onTowerGone(xBaseTowerEntity* tower) override;

  // --- drone-station pairs and beacons ---
  void clearPendingPair(xDeploymentTowerEntity* station) override;  // its first station is leaving
  bool isAttachingBeacon() const override { return selection_.attachingBeacon(); }
  void clearBeaconAttachment() override { selection_.endBeacon(); }
  const QuillonPHX2D::Vec2& pairAnchor() const override { return selection_.anchor(); }
  xSimpleEnemyDesc* patrolShipDesc(int index) const override;  // null outside the list

  // --- checkpoints (LevelCheckpoints tells each) ---
  LevelCheckpoints& checkpoints() { return checkpoints_; }

  // --- the command bridge and the tower commands (LevelBridge and TowerCommands tell
  // each; the bridge's widgets report to the level, which hands their events on) ---
  void onButtonEvent(int buttonId, int event) override;
  void onCheckBoxChanged(int id, bool checked) override;
  TowerCommands& towerCommands() { return towerCommands_; }

  // --- the level file ---
  bool loadLevel();  // false (reported) when the file cannot give a level
  // Whether the file gave a level with a wave to play. One that did not goes back to
  // mission control as it opens: nothing of it is played, won or recorded.
  bool playable() const { return playable_; }
  // Why the file gave no level to play, in words that follow its name; empty when it did.
  const std::string& refusal() const { return refusal_; }
  void buildPathMarkers();
  PathDescription getPathDescription(int pathId) const override;

  // --- waves, lives, credits and the end ---
  void addScore(int points) override { flow_.addScore(points); }
  void countSpawn() override { flow_.countSpawn(); }
  void bookKill(int score, float reward) override;  // the kill count, its score and its reward
  void loseLife() override;
  void loseLives(int count) override;  // one at a time, as that many leaking ships would
  void finishLevel() override;
  void onWaveSpawned() override;
  void onWaveFinished() override;
  void announceNewShip() override;
  // The one wave start: hides the send button, lets go of a covering screen's hold on
  // the clocks and starts the battle; without a next wave the level ends.
  void sendNextWave();
  void setGameSpeed(float factor);
  bool shotsAudible() const override;  // unless the options turned them off
  int countLiveEnemies() const;
  LevelStats makeStats() const;

  // --- particles, missiles and bullet kinds (LevelEffects tells each) ---
  void spawnHitParticle(const QuillonPHX2D::Vec2& hitDirection, const QuillonPHX2D::Vec2& position, float strength,
                        const Color& colour) override;
  void spawnRingParticle(const QuillonPHX2D::Vec2& position, float strength, const Color& colour,
                         xSimpleParticleEntityDesc description) override;
  void spawnScatterParticle(const QuillonPHX2D::Vec2& position, const Color& colour, int count) override;
  const xSimpleParticleEntityDesc& particleDescription(int kind = 0) const override;
  xPlayerSmartMissileEntityDesc getMissileDescription(int kind) const override;
  void launchMissile(const QuillonPHX2D::Vec2& launchPoint, xBaseTowerEntity* tower, int kind, xSharkEntity* target,
                     float damageFactor) override;
  xEnemyBulletEntityDesc* enemyBulletKind(const std::string& path) override;

  // --- what entities ask and tell the level that it has no other method for
  // (LevelEntityRequests.cpp) ---
  bool countsTopUpgrades() const override;
  bool raidsStation() const override;
  bool isLive(const xSharkEntity* entity) const override;
  void addToScene(xSharkEntity* entity) override;
  xWavePointTowerEntity* beaconToAttach() const override;
  void onTowersSold(int count, double refund) override;
  void onTowerPicked(xBaseTowerEntity* tower) override;
  void onPointerOverStation(const PointingDeviceEvent& event) override;

  // --- music and the tutorial ---
  int musicScene() const;  // the campaign entry's music number, else the mission id
  MixMusic* music() const { return music_.get(); }
  void onTutorialEvent(int eventId) override;
  ScreenBase* tutorial();  // while it is still on the application's stack, else null
  // The voice and event cues play only while the battle assistant is on.
  void playIfAssisted(const char* sound) const;

  // --- what the rest of the game reads ---
  int state() const { return state_; }
  int gameMode() const { return gameMode_; }
  int difficulty() const override { return difficulty_; }
  int missionId() const { return missionId_; }
  const LevelFileModel& model() const { return model_; }
  const WaveFlow& flow() const { return flow_; }
  LevelEffects& effects() { return effects_; }
  float speedFactor() const override { return flow_.speedFactor(); }
  // The credits and the interest rate; tests and the runner set them as a level file would.
  LevelEconomy& economy() { return economy_; }
  const LevelEconomy& economy() const { return economy_; }
  const TowerTally& tally() const { return tally_; }
  xEnemySpawner* spawner() const { return spawner_.get(); }
  const std::vector<xBaseTowerDesc*>& towerDescriptions() const { return towerDescriptions_; }
  LevelSelection& selection() { return selection_; }
  const LevelBridge& bridge() const { return bridge_; }
  const LevelHud& hud() const { return hud_; }
  bool endDelayRunning() const;
  const LevelStats& finalStats() const { return finalStats_; }

  // --- what the HUD, the background and the checkpoints read, and what a restore puts back ---
  const std::string& modeName() const { return modeName_; }
  bool firstTowerPlaced() const { return placement_.firstTowerPlaced(); }
  const PlacementGrid& grid() const { return grid_; }
  const LevelSelection& selection() const { return selection_; }
  const std::vector<QuillonPHX2D::Vec3>& stars() const { return stars_; }
  // The id the next tower gets, so a restored level numbers on from the record.
  int nextEntityId() const { return placement_.nextEntityId(); }
  void restoreNextEntityId(int id) { placement_.restoreNextEntityId(id); }
  // The battle starts with the first tower, or goes on from a restored record.
  void resumeBattle() { state_ = kLevelBattle; }

 private:
  // The level's own keys, after the screen has offered the event to its widgets.
  void keyPressed(const KeyEvent& event);
  bool anyLiveEnemy() const;  // countLiveEnemies() > 0, stopping at the first
  // A ship of the wave still on the field: listed, not on its way out, and of an enemy
  // category.
  bool isLiveShip(xSharkEntity* e) const;

  bool readGrid(const TiXmlElement* grid, const bge::XmlReader& reader);
  void readTowers(const TiXmlElement* stage, const bge::XmlReader& reader);
  void loadPatrolShips();
  void startMusic();
  // The track's banner, once the level shows, where it hides no lane's end.
  void announceMusic();
  void releaseMusic();
  void updateTimers();
  void openTutorialIfDue();  // on the first mission, while the profile's flag asks

  std::string modeName_;
  std::string levelFile_;
  int missionId_;
  int gameMode_;
  int difficulty_;
  int state_ = kLevelBooting;
  bool playable_ = true;
  std::string refusal_;
  LevelFileModel model_;
  PlacementGrid grid_;
  std::unique_ptr<xEnemySpawner> spawner_;  // the level file's waves, made anew by each load
  std::vector<std::unique_ptr<xSimpleEnemyDesc>> shipDescs_;  // owned: the patrol ship's
  std::vector<QuillonPHX2D::Vec3> stars_;
  std::map<int, std::unique_ptr<xBaseTowerDesc>> towerKinds_;  // owned: one per kind, by typeId
  std::vector<xBaseTowerDesc*> towerDescriptions_;  // not owned: the descriptions above
  LevelEconomy economy_;
  WaveFlow flow_;
  TowerTally tally_;
  LevelSelection selection_{*this};
  LevelBridge bridge_{*this, hud_};
  LevelHud hud_{*this};
  TowerCommands towerCommands_{*this, bridge_, selection_, economy_, tally_};
  LevelEffects effects_{*this, flow_};
  LevelCheckpoints checkpoints_{*this, {economy_, flow_, tally_, selection_, bridge_, hud_}};
  TowerPlacement placement_{*this, {grid_, selection_, economy_, tally_, towerCommands_, checkpoints_}};
  bool clocksHeldByCover_ = false;  // the clocks stopped because a screen covers the level
  std::unique_ptr<TinyAction> endAction_;  // the delay before the results, once the level ends
  GenericEntry<int>* battleAssistant_ = nullptr;  // not owned: the save game's entry
  std::unique_ptr<MixMusic> music_;  // a restarted level frees the old one
  LevelStats finalStats_;
  ScreenBase* tutorial_ = nullptr;  // not owned: the application's stack owns it once pushed
};
