#pragma once
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Foundation/Math/QlnMath.h"
#include "Game/Entities/enemies/WaveDescription.h"
#include "Game/Entities/missiles/xPlayerSmartMissileEntity.h"
#include "Game/Entities/shots/xSimpleParticle.h"
#include "Game/Entities/towers/TowerCatalogue.h"
#include "Game/Entities/towers/xBaseTowerEntity.h"
#include "Game/LevelEconomy.h"
#include "Game/LevelForEntities.h"
#include "Game/PlacementGrid.h"
#include "Game/SceneEntityManager.h"
#include "Game/WaveFlow.h"
#include "GenericEntry.h"
#include "Point2i.h"
#include "ScreenBase.h"
#include "Game/TutorialEventListener.h"
#include "Timer.h"
#include "tinyaction/ActionListener.h"
#include "widgets/ButtonListener.h"
#include "widgets/CheckBoxListener.h"

class ImageWidget;
class MixMusic;
class Texture;
class TowerCommandWidget;
class TiXmlElement;
class TinyAction;
class xEnemyBulletEntityDesc;
class xEnemySpawner;
class xSimpleEnemy;
class xBaseTowerEntity;
class xBaseSupportTowerEntity;
class xDeploymentTowerEntity;
class xWavePointTowerEntity;
class xSimpleEnemyDesc;
class CheckPointManager;
struct CheckPoint;
struct KeyEvent;
struct PointingDeviceEvent;
namespace bge {
class Button;
class CheckBox;
class XmlReader;
}

// Level states.
enum LevelState { kLevelBooting = 0, kLevelWaiting = 1, kLevelBattle = 3, kLevelRestorePending = 5, kLevelOver = 7 };

// Game modes; their names are also the label keys of the mode names.
enum GameMode {
  MODE_CLASSIC = 0,
  MODE_ALLTOWERS = 1,
  MODE_REVERSAL = 2,
  MODE_MAXCREDITS = 3,
  MODE_LIMITEDTOWERS = 4,
  MODE_ENDLESS = 5
};

// How a level is won or lost besides its waves and lives.
enum GameplayType { kGameplayClassic = 0, kGameplayStationStatic = 1, kGameplayStationMoving = 2, kGameplayTimer = 3 };

// One wave of the level file as the heads-up display previews it.
struct EnemyCatalogueEntry {
  int attackId = -1;
  int count = 0;
  std::string className;
  int energy = 0;
  Texture* texture = nullptr;  // not owned: the resource catalogue keeps it
};

// Results of a finished level.
class LevelStats {
 public:
  LevelStats() = default;
  LevelStats(const LevelStats&) = default;
  LevelStats& operator=(const LevelStats&) = default;
  virtual ~LevelStats() = default;

  int missionId = 0;
  int gameMode = 0;
  bool victory = false;
  int lives = 0;
  double credits = 0.0;
  long long score = 0;
  int towersBuilt = 0;
  int towersUpgraded = 0;
  int towersSold = 0;
  int enemiesDestroyed = 0;
  int enemiesTotal = 1;
  int destroyedPercent = 0;
  int timeSeconds = 0;
  int difficulty = 0;
};

// Runs one level: the physics world, the level file's model, the waves, the lives
// and the end. Entities reach it through theLevel() (LevelForEntities.h). Its services are
// split over files by what they serve: lifecycle (LevelScreen.cpp), the level file
// (LevelFileReader.cpp, LevelSplines.cpp), the flow of waves, lives and the end
// (LevelFlow.cpp), and the drawing below the widgets (LevelBackground.cpp) and above
// them (LevelHud.cpp).
class LevelScreen : public ScreenBase, public bge::ActionListener, public SceneEntityManager,
                    public bge::ButtonListener, public bge::CheckBoxListener, public TutorialEventListener,
                    public LevelForEntities {
 public:
  // Action ids the level itself starts.
  enum { kBootEnded = 0, kCheckpointSavedMessage = -1, kRestoredMessage = 2468, kRestoreSweepEnded = 2469,
         kLevelEndDelayOver = 1280 };

  LevelScreen(int missionId, const std::string& levelFile, int gameMode, int difficulty);
  ~LevelScreen() override;

  // The level that runs now, or null.
  static LevelScreen* current();

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
  // Lays a screen (pause, help, results) over the level; the level's pause hook
  // stops its world and clocks, and its resume runs them on as they were.
  void openOverlay(ScreenBase* screen);
  void mousePressed(const PointingDeviceEvent& event) override { mouseButton(event); }
  void mouseMoved(const PointingDeviceEvent& event) override { mouseMove(event); }

  // --- drawing: the field below the widgets (LevelBackground.cpp), the heads-up
  // display above them (LevelHud.cpp) ---
  void drawBackground(Graphics* g) override;
  void drawForeground(Graphics* g) override;
  void drawDebugOverlay(Graphics* g) override;

  // --- player input (LevelInput.cpp) ---
  void keyPressed(const KeyEvent& event);
  void mouseMove(const PointingDeviceEvent& event);
  void mouseButton(const PointingDeviceEvent& event);

  // --- the placement grid and the towers on it (LevelGrid.cpp) ---
  // False when nothing was placed (a cell that is not free, the tower limit of the mode).
  bool placeTower(int column, int row, xBaseTowerDesc* description);
  // Buys the chosen tower for the cell, as a click on it does; false when refused.
  bool buyTower(int column, int row, xBaseTowerDesc* description);
  void freeCell(int cellIndex) override;
  void clearOccupiedCells();
  xSimpleEnemy* enemyNear(const QuillonPHX2D::Vec2& point) const;
  void clearSelection();
  void markTowersInColumn(int column);
  static std::vector<xBaseTowerEntity*> findTowers(const SceneEntityManager& manager);
  // A sold or destroyed tower: its cell is free and nothing shows it any more.
  void onTowerGone(xBaseTowerEntity* tower) override;
  void countSoldTower();
  void setSelectedTower(xBaseTowerEntity* tower) { selectedTower_ = tower; }
  // The selected tower while it is still in the scene, else null.
  xBaseTowerEntity* selectedTower() const;
  void selectTowerDesc(xBaseTowerDesc* description) { selectedTowerDesc_ = description; }
  xBaseTowerDesc* selectedTowerDesc() const { return selectedTowerDesc_; }
  void clearHover();

  // --- drone-station pairs, beacons and re-creating towers by kind (LevelPairs.cpp) ---
  // Both stations stand: the second becomes the first's partner and the first launches a ship.
  void linkDeploymentPair(xDeploymentTowerEntity* first, xDeploymentTowerEntity* second);
  // The first station on its cell and, when the record names one, its partner on its own.
  void restoreDeploymentPair(const CheckPoint& checkPoint, size_t towerIndex);
  // A beacon on the cell, or null when a tower stands there already.
  xWavePointTowerEntity* restoreWavePointTower(int column, int row);
  void restoreTowerByKind(const std::string& kindName, int column, int row, int upgradeLevel);
  void removeAllEnemies();
  // Restores the newest checkpoint and drops it unless it is the only one.
  void restoreFromCheckPoint();
  // Records a checkpoint now and shows its message, whatever the wave brackets say.
  void takeCheckPoint();
  // The live tower standing on a cell, or null.
  xBaseTowerEntity* liveTowerAt(int column, int row) const;
  // Lets go of everything that points at towers, before a restore removes them all.
  void prepareForRestore();
  int levelTimeMs() const { return flow_.levelTimeMs(); }
  // Puts the level clock back to a recorded time.
  void setLevelTimeMs(int ms) { flow_.setLevelTimeMs(ms); }
  // Built towers for the results: kept apart from the standing count a restore recounts.
  int towersBuiltTally() const { return towersBuiltTally_; }
  // Starts the restore sweep, as the backspace key does; false when none may start.
  bool requestRestore();
  // From the restore's request until the record is back: no checkpoint is taken.
  bool restoreUnderWay() const;
  // The description of a kind by its name (its info key), or null.
  xBaseTowerDesc* findDescriptionByKind(const std::string& kindName) const;
  // The first drone station of a half-placed pair, while it stands.
  xDeploymentTowerEntity* pendingDeploymentTower() const;
  bool placingDeploymentTowers() const { return placingDeploymentTowers_; }
  // Forgets a half-placed pair whose first station is leaving.
  void clearPendingPair(xDeploymentTowerEntity* station) override;
  // A right click: takes back a half-placed pair or a beacon still to attach, with its price.
  void cancelPendingPlacement();
  // A placed beacon waits for the player to click the drone station it joins.
  bool isAttachingBeacon() const override;
  xWavePointTowerEntity* ptrWaypointTower() const;
  void clearBeaconAttachment() override;
  const QuillonPHX2D::Vec2& pairAnchor() const override { return pairStartPos_; }
  bool radarPlaced() const { return radarPlaced_; }
  // The patrol-ship description at the index, or null outside the list.
  xSimpleEnemyDesc* patrolShipDesc(int index) const override;
  CheckPointManager* checkPoints() const { return checkPoints_.get(); }
  // The live support towers and beacons in the order the scene holds them.
  static std::vector<xBaseSupportTowerEntity*> findSupportTowers(const SceneEntityManager& manager);
  // What a restore puts back and a checkpoint reads.
  void setCounters(double credits, int score, int lives, int interest, int spawned, int destroyed, int nextId);
  int nextEntityId() const { return nextEntityId_; }
  // Towers standing now, recounted from the scene (a restore changes them all at once).
  void recountBuiltTowers();

  // --- tower commands and the info panel (LevelTowerCommands.cpp) ---
  static int upgradePrice(const xBaseTowerEntity& tower) { return LevelEconomy::upgradePrice(tower); }
  double sellPrice(const xBaseTowerEntity& tower) const { return LevelEconomy::sellPrice(tower); }
  // False when the tower is at the top level or the credits do not reach.
  bool upgradeTower(xBaseTowerEntity* tower);
  void sellTower(xBaseTowerEntity* tower);
  void retargetTower(xBaseTowerEntity* tower, int strategy);
  void showTowerInfo(xBaseTowerEntity* tower);
  void updateTowerButtons();
  xBaseTowerEntity* shownTower() const;

  // --- the level file (LevelFileReader.cpp) ---
  // False when the file cannot give a level; the reason has been printed.
  bool loadLevel();
  void buildPathMarkers();
  PathDescription getPathDescription(int pathId) const override;

  // --- waves, lives and the end (LevelFlow.cpp) ---
  void addCredits(double amount) { economy_.add(amount); }
  void loseLife() override;
  // Takes lives one at a time, as that many leaking ships would.
  void loseLives(int count) override;
  void finishLevel() override;
  void onWaveSpawned() override;
  void onWaveFinished() override;
  void announceNewShip() override;
  // Starts the next wave; without one the level ends. What the send-wave key and
  // button do.
  void sendNextWave();
  void startLevelClock() { flow_.startLevelClock(); }
  void pauseClocks() { flow_.pauseClocks(); }
  void resumeClocks() { flow_.resumeClocks(); }
  void updateTimers();
  void saveCheckPointIfDue();
  void saveCheckPoint();
  void setGameSpeed(float factor);
  void addScore(int points) override { flow_.addScore(points); }
  // Whether towers that are not selected are heard firing.
  // Every tower's shots are heard unless the player turned them off in the options
  // (the profile's custom flag 1); a profile that lacks the flag hears them.
  bool shotsAudible() const override;
  int countLiveEnemies() const;
  // The bridge offers the next wave: its send-wave button stands, as between waves.
  bool sendWaveOffered() const;
  // A kill of an enemy: the kill count, its score and its reward.
  void bookKill(int score, float reward) override;
  LevelStats makeStats() const;

  // --- particle effects (LevelParticles.cpp) ---
  // Particle kinds: 0 the level's own (hits, rings, explosions), 1 plain sparks.
  enum { kParticleKinds = 2 };
  // 20 particles thrown back against the hit direction.
  void spawnHitParticle(const QuillonPHX2D::Vec2& hitDirection, const QuillonPHX2D::Vec2& position, float strength,
                        const Color& colour) override;
  // A ring of 12 particles at 30 degree steps, the first along +x, made from the
  // given kind (callers pass a copy of particleDescription()).
  void spawnRingParticle(const QuillonPHX2D::Vec2& position, float strength, const Color& colour,
                         xSimpleParticleEntityDesc description) override;
  // An explosion of count particles in random directions.
  void spawnScatterParticle(const QuillonPHX2D::Vec2& position, const Color& colour, int count) override;
  const xSimpleParticleEntityDesc& particleDescription(int kind = 0) const override;
  // Makes the particles asked for while the physics world was stepping.
  void flushParticleRequests();
  // At a wave's end every homing missile goes; one still over the field bursts first.
  void burstMissilesAtWaveEnd();

  // --- music (LevelMusic.cpp) ---
  // Starts the mission's music with its announcement; no track, no music.
  void startMusic();
  // The music scene of the mission: its campaign entry's music number, else the mission id.
  int musicScene() const;
  MixMusic* music() const { return music_; }

  // --- the command bridge (LevelBridge.cpp) ---
  // Builds the bridge from its layout and starts its boot; false (with a message)
  // when the layout gives nothing.
  bool initFromXml(const std::string& fileName);
  void onButtonEvent(int buttonId, int kind) override;
  void buttonEvent(int buttonId, int event);
  void onCheckBoxChanged(int id, bool checked) override;
  void onAutoWaveToggled();
  void hideTowerInfo();
  ImageWidget* findBridgeImage(int id) const;
  bge::Button* findCommandButton(int id) const;
  bge::Button* findTowerButton(int id) const;
  TowerCommandWidget* commandWidget() const { return commandWidget_; }
  bge::CheckBox* autoWaveBox() const { return autoWaveBox_; }
  const std::vector<ImageWidget*>& bridgeImages() const { return bridgeImages_; }
  bool bridgeReady() const { return bridgeReady_; }
  const std::string& towerHoverText() const { return towerHoverText_; }

  // --- the tutorial over the first mission (LevelTutorial.cpp) ---
  // The profile's custom flag that holds whether the level tutorial is still to
  // be shown (anything but 0: it is).
  static constexpr int kTutorialFlag = 6;
  static constexpr int kTutorialMission = 0;
  // Tutorial event ids: choose the first tower kind, press at the pointer, advance.
  enum { kTutorialChooseTower = 1, kTutorialPressAtPointer = 2, kTutorialAdvance = -1 };
  void onShown() override { openTutorialIfDue(); }
  // On mission 0, while the profile's flag asks for it, lays the tutorial over the level.
  void openTutorialIfDue();
  // Runs the bridge's boot animation to its end at once.
  void finishBridgeBoot();
  void onTutorialEvent(int eventId) override;
  // The open tutorial while it is still on the application's stack, else null.
  ScreenBase* tutorial();

  // --- homing missiles (LevelMissiles.cpp) ---
  // Reads the three missile kinds' files.
  void loadMissileKinds();
  // A copy of the description whose type is the kind, or a default one when no
  // file gave that type.
  xPlayerSmartMissileEntityDesc getMissileDescription(int kind) const override;
  // A missile of the kind from the tower at the point, aimed at the target; a fast
  // game gives faster missiles.
  void launchMissile(const QuillonPHX2D::Vec2& launchPoint, xBaseTowerEntity* tower, int kind, xSharkEntity* target,
                     float damageFactor) override;
  const std::vector<xPlayerSmartMissileEntityDesc>& missileDescriptions() const { return missileDescs_; }

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

  // --- scene queries ---
  static std::vector<xSimpleEnemy*> findEnemies(const SceneEntityManager& manager);
  // The level's one description of each enemy bullet file.
  xEnemyBulletEntityDesc* enemyBulletKind(const std::string& path) override;

  // --- what the rest of the game reads ---
  int state() const { return state_; }
  int gameMode() const { return gameMode_; }
  int difficulty() const override { return difficulty_; }
  int missionId() const { return missionId_; }
  const LevelEconomy& economy() const { return economy_; }
  const WaveFlow& flow() const { return flow_; }
  int lives() const { return flow_.lives(); }
  double credits() const { return economy_.credits(); }
  int score() const { return flow_.score(); }
  int enemiesDestroyed() const { return flow_.enemiesDestroyed(); }
  int enemiesSpawned() const { return flow_.enemiesSpawned(); }
  void countSpawn() override { flow_.countSpawn(); }
  float speedFactor() const override { return flow_.speedFactor(); }
  int gameplayType() const { return gameplayType_; }
  int nextWave() const { return flow_.nextWave(); }
  xEnemySpawner* spawner() const { return spawner_; }
  const std::map<int, PathDescription>& paths() const { return paths_; }
  const AttackMap& attacks() const { return attacks_; }
  const std::vector<int>& placementGrid() const { return grid_.cells(); }
  const PlacementGrid& grid() const { return grid_; }
  int timerLimitMs() const { return timerLimitMs_; }
  const std::vector<EnemyCatalogueEntry>& enemyCatalogue() const { return enemyCatalogue_; }
  const std::vector<QuillonPHX2D::Vec2>& entryMarkers() const { return entryMarkers_; }
  const std::vector<QuillonPHX2D::Vec2>& exitMarkers() const { return exitMarkers_; }
  bool isBattleAssistantOn() const;
  int hoveredCell() const { return hoveredCell_; }
  const QuillonPHX2D::Vec2& hoveredCellCentre() const { return hoveredCellCentre_; }
  int towersBuilt() const { return towersBuilt_; }
  int towersUpgraded() const { return towersUpgraded_; }
  int towersSold() const { return towersSold_; }
  int checkPointCount() const { return checkPointCount_; }
  int automaticCheckpoints() const { return automaticCheckpoints_; }
  void setInterestPercent(int percent) { economy_.setInterestPercent(percent); }
  int interestPercent() const { return economy_.interestPercent(); }
  bool autoNextWave() const { return autoNextWave_; }
  void setAutoNextWave(bool on) { autoNextWave_ = on; }
  bool firstTowerPlaced() const { return firstTowerPlaced_; }
  const std::vector<xBaseTowerDesc*>& towerDescriptions() const { return towerDescriptions_; }
  xSimpleEnemy* pickedEnemy() const;
  bool gridVisible() const { return gridVisible_; }
  bool crosshairVisible() const { return crosshair_; }
  bool pathDetail() const { return pathDetail_; }
  bool buildableView() const { return buildableView_; }
  int pathDisplay() const { return pathDisplay_; }
  int levelSeconds() const { return flow_.levelSeconds(); }
  bool levelClockRunning() const { return flow_.clocksRunning(); }
  const LevelStats& finalStats() const { return finalStats_; }
  std::vector<bge::Button*>& bridgeButtons() { return bridgeButtons_; }
  std::vector<bge::Button*>& towerButtons() { return towerButtons_; }
  double shownSellPrice() const;
  bool endDelayRunning() const;
  const std::string& modeName() const { return modeName_; }
  bool pointerOverBridge() const { return pointerOverBridge_; }
  const Point2i& pointerPos() const { return pointerPos_; }

 private:
  friend class LevelHud;
  friend class LevelBackground;

  // --- level file parts (LevelFileReader.cpp) ---
  bool readGrid(const TiXmlElement* grid, const bge::XmlReader& reader);
  bool readPaths(const TiXmlElement* stage, const bge::XmlReader& reader);
  void readExitZones(const TiXmlElement* stage, const bge::XmlReader& reader);
  void readStationParts(const TiXmlElement* stage, const bge::XmlReader& reader);
  void readAttacks(const TiXmlElement* stage, const bge::XmlReader& reader);
  void readEnemyCatalogue();
  void makeAnimations();
  void makeStars();
  // One frame of the star drift (LevelBackground.cpp).
  void moveStars();
  void playIfAssisted(const char* sound) const;
  void readTowers(const TiXmlElement* stage, const bge::XmlReader& reader);
  void showBridgeButton(int id, bool shown) const;
  // Rolls the tower passes around the widget update (support boosts, sensors).
  void resizeSensors();
  void loadParticleKinds();
  void releaseMusic();
  // A particle of the kind on the scene at the position, facing and thrown along the
  // angle with that speed and push; null when the world or the kind cannot make one.
  xSimpleParticle* throwParticle(xSimpleParticleEntityDesc& desc, const QuillonPHX2D::Vec2& position, float angle,
                                 const Color& colour, float speed, float push);
  // Puts one tower of a description on a cell as a restore does; null when the cell
  // is not free or the description makes no tower.
  xBaseTowerEntity* recreateTower(xBaseTowerDesc* desc, int column, int row);
  void loadPatrolShips();
  // After a placement: radar flag, drone-station pairing and beacon attachment.
  // The restore of a pending state: what the level does the frame after the sweep.
  void applyPendingRestore();
  // A tower taken back before it was paid for or used: neither built nor sold.
  void uncountBuiltTower();
  void notePlacedTower(xBaseTowerEntity* tower, int column, int row, xBaseTowerDesc* chosen);
  // --- command bridge parts (LevelBridge.cpp) ---
  void playBridgeIntro();
  // Puts every numbered bridge image at its boot offset.
  void moveBridgeImages();
  void createTowerButtons();
  void showBridgeAfterBoot();
  void startWaveFromBridge();
  void towerButtonEvent(int id, int event);
  std::string towerHoverText(const xBaseTowerDesc& desc) const;

  std::string modeName_;
  std::string levelFile_;
  int missionId_;
  int gameMode_;
  int difficulty_;
  int state_ = kLevelBooting;
  AttackMap attacks_;
  std::map<int, PathDescription> paths_;
  PlacementGrid grid_;
  Texture* levelBackground_ = nullptr;  // not owned
  std::vector<QuillonPHX2D::Vec2> entryMarkers_;
  std::vector<QuillonPHX2D::Vec2> exitMarkers_;
  std::vector<EnemyCatalogueEntry> enemyCatalogue_;
  int timerLimitMs_ = 0;
  int gameplayType_ = kGameplayClassic;
  xEnemySpawner* spawner_ = nullptr;  // owned
  // Enemy bullet descriptions by file; owned.
  std::map<std::string, std::unique_ptr<xEnemyBulletEntityDesc>> bulletKinds_;
  TinyAction* bootAnimation_ = nullptr;  // owned; the command bridge starts it
  // The vertical position the boot animation gives one numbered bridge image.
  struct BootOffset {
    ImageWidget* image;  // not owned: the screen's widget
    float y;
  };
  std::vector<ImageWidget*> bridgeImages_;   // not owned: the screen's widgets
  std::vector<BootOffset> bootOffsets_;      // filled before the animation points into it
  TowerCommandWidget* commandWidget_ = nullptr;  // not owned: the screen's widget
  bge::CheckBox* autoWaveBox_ = nullptr;         // not owned: the screen's widget
  // The first drone station of a pair stands and its partner is still to place.
  bool placingDeploymentTowers_ = false;
  xDeploymentTowerEntity* ptrDeploymentA_ = nullptr;  // not owned; looked up before use
  QuillonPHX2D::Vec2 pairStartPos_{0.0f, 0.0f};
  bool waypointPlaced_ = false;
  xWavePointTowerEntity* lastWaypointTower_ = nullptr;  // not owned; looked up before use
  bool radarPlaced_ = false;
  std::vector<std::unique_ptr<xSimpleEnemyDesc>> shipDescs_;  // owned: the patrol ship's
  std::unique_ptr<CheckPointManager> checkPoints_;           // none in the endless mode
  std::string towerHoverText_;
  std::string towerHoverInfo_;  // info label key of the hovered tower button's kind
  // The application's pointer position in design pixels, copied every frame.
  Point2i pointerPos_;

  // The missile kinds in file order (eagereagle, triton, doubleeagereagle).
  std::vector<xPlayerSmartMissileEntityDesc> missileDescs_;
  std::vector<QuillonPHX2D::Vec3> stars_;
  std::vector<uint32_t> pathColours_;

  int hoveredCell_ = -1;
  QuillonPHX2D::Vec2 hoveredCellCentre_{0.0f, 0.0f};
  int nextEntityId_ = 0;
  // One description object per tower kind, by typeId; owned, made with the screen.
  std::map<int, std::unique_ptr<xBaseTowerDesc>> towerKinds_;
  std::vector<xBaseTowerDesc*> towerDescriptions_;  // not owned: the descriptions above
  xBaseTowerDesc* selectedTowerDesc_ = nullptr;     // not owned
  xBaseTowerEntity* selectedTower_ = nullptr;       // not owned; looked up before use
  xSimpleEnemy* pickedEnemy_ = nullptr;             // not owned; looked up before use
  std::vector<bge::Button*> bridgeButtons_;         // not owned: the screen's widgets
  std::vector<bge::Button*> towerButtons_;          // not owned: the screen's widgets
  bool firstTowerPlaced_ = false;
  int towersBuilt_ = 0;
  int towersBuiltTally_ = 0;
  int towersUpgraded_ = 0;
  int towersSold_ = 0;
  bool autoNextWave_ = false;
  int automaticCheckpoints_ = 0;
  bool gridVisible_ = true;
  bool crosshair_ = true;
  bool pathDetail_ = false;
  bool buildableView_ = false;
  int pathDisplay_ = 255;
  bool pointerOverBridge_ = false;
  float hoveredButtonX_ = -1.0f;
  float hoveredButtonY_ = -1.0f;

  LevelEconomy economy_;
  WaveFlow flow_;
  bool bridgeReady_ = false;
  // The clocks were stopped because another screen covers the level.
  bool clocksHeldByCover_ = false;

  TinyAction* pulseAction_ = nullptr;     // owned
  float pulse_ = 1.0f;
  TinyAction* announceAction_ = nullptr;  // owned
  int announceAlpha_ = 0;
  TinyAction* messageAction_ = nullptr;   // owned
  int messageAlpha_ = 0;
  TinyAction* sweepAction_ = nullptr;     // owned
  float sweep_ = 0.0f;
  TinyAction* endAction_ = nullptr;       // owned
  int checkPointCount_ = -1;
  std::string message_;
  GenericEntry<int>* battleAssistant_ = nullptr;  // not owned: the save game's entry
  xSimpleParticleEntityDesc particleDescs_[kParticleKinds];
  // Particles asked for from inside a contact: the world cannot take new shapes while
  // it walks its own, so they are made when the step is over.
  std::vector<std::function<void()>> particleRequests_;
  // The level's music; owned, so a restarted level frees the old one and plays its own.
  MixMusic* music_ = nullptr;
  LevelStats finalStats_;
  // Not owned: the application's stack owns it once pushed; dropped when it ends or leaves the stack.
  ScreenBase* tutorial_ = nullptr;
};
