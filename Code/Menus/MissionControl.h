#pragma once
#include <memory>
#include <string>
#include <vector>

#include "Menus/MissionSelection.h"
#include "Rect5.h"
#include "ScreenBase.h"
#include "tinyaction/ActionListener.h"
#include "widgets/ButtonListener.h"
#include "widgets/RadioButtonListListener.h"

class DFTSpectralAnalayzerWidget;
class ImageWidget;
class LeaderboardQueryWidget;
class Profile;
class Texture;
class TinyAction;
template <typename T> class GenericEntry;
namespace bge {
class Button;
class RadioButtonList;
}

// One star of the drifting field behind mission control.
struct DriftingStar {
  float x = 0.0f;
  float y = 0.0f;
  float depth = 1000.0f;
  float speed = -1.0f;
};

// The campaign's command screen between the main menu and a level: pick a
// station (only unlocked ones show), one of its three missions, a game mode
// and the difficulty of each slot; read the station's panel, the mission's
// name and job, its badges and the leaderboard of the mission and mode; then
// launch the level. An arm slides to the chosen slot, a glow pulses on the
// chosen station and a star field drifts behind.
class MissionControl : public ScreenBase,
                       public bge::ButtonListener,
                       public bge::ActionListener,
                       public bge::RadioButtonListListener {
 public:
  static constexpr int kFadeMs = 256;
  static constexpr int kExitBack = 100;
  static constexpr int kExitLaunch = 101;
  // Layout ids.
  static constexpr int kBackButton = 100;
  static constexpr int kLaunchButton = 101;
  static constexpr int kEncyclopediaButton = 102;
  static constexpr int kFirstSlotButton = 200;
  static constexpr int kTutorialButton = 300;
  static constexpr int kArmImage = 2;
  static constexpr int kModeList = 0;
  static constexpr int kStarCount = 1500;
  static constexpr int kFlyByTag = 9966;
  static constexpr int kArmLeftTag = 444;
  static constexpr int kArmRightTag = 555;
  static constexpr int kMenuMusicScene = 9999;
  static constexpr float kArmStartX = 800.0f;
  static constexpr float kArmReferenceX = 221.0f;
  // The arm image's left edge sits this far left of the slot it points at.
  static constexpr float kArmOffset = 70.0f;
  static constexpr float kArmOvershoot = 30.0f;
  static constexpr int kArmY = 14;
  static constexpr const char* kLayoutFile = "content/images/menus/missioncontrol/Screen.xml";
  static constexpr const char* kBackgroundFile = "content/images/menus/missioncontrol/BG.png";
  static constexpr const char* kPanelsFile = "content/images/menus/missioncontrol/panels.png";
  // The frame over the map shot of the mission slot under the pointer.
  static constexpr const char* kSlotHoverFile = "content/images/menus/missioncontrol/slot_over.png";
  // Where the map shot of slot j lies: x = kMapShotX + j x kMapShotStep; every
  // shot is fitted into it whatever size it was made at.
  static constexpr int kMapShotX = 498, kMapShotStep = 270, kMapShotY = 141;
  static constexpr unsigned kMapShotW = 232, kMapShotH = 160;

  // keepMusic: -1 from the main menu (its music plays on), 0 from a level or
  // the intro (the menu music starts again). profile: the campaign to pick
  // from; null means the application's. Not owned.
  explicit MissionControl(int keepMusic, Profile* profile = nullptr);
  ~MissionControl() override;

  void prepare() override;
  void init() override;
  void updateScreen(int dt) override;
  void drawBackground(Graphics* g) override;
  void drawForeground(Graphics* g) override;
  void onShown() override;
  void onExitTransitionDone(int exitCode) override;

  void onButtonEvent(int buttonId, int kind) override;
  void actionFinished(int tag) override;
  void onSelectionChanged(int listId, int rowId, int initial) override;

  bool initFromXml(const std::string& fileName);
  bge::Button* findButton(int id) const;
  void selectStation(int stationId);
  void selectMission(int buttonId);
  // Lays the tutorial of this screen over it.
  void openTutorial();

  const MissionSelection& selection() const { return selection_; }
  LeaderboardQueryWidget* leaderboard() const { return leaderboard_; }
  DFTSpectralAnalayzerWidget* spectrum() const { return spectrum_; }
  float armX() const { return armX_; }
  const Rect5& markerBox() const { return markerBox_; }
  const std::vector<DriftingStar>& stars() const { return stars_; }
  // Moves every star one frame nearer; a star that reaches the eye starts far
  // away again, so no star is ever at depth 0 or behind it.
  static void moveStars(std::vector<DriftingStar>& stars);
  // Screen position and alpha of a star; false for one that cannot be drawn.
  static bool projectStar(const DriftingStar& star, int* x, int* y, int* alpha);

 private:
  void startMusic();
  Texture* sharedImage(const char* file);
  void buildStars();
  void releaseMapShots();
  void restoreLastLaunch();
  void applyModeToLists();
  void playVoice(const char* key);
  bool battleAssistantOn() const;
  void startArmMove(float firstStep, bool left);
  TinyAction* makeFlyBy(int delayMs);
  void drawSlots(Graphics* g);
  void drawStationPanel(Graphics* g);
  void drawMissionTexts(Graphics* g);

  Profile* profile_;  // not owned
  MissionSelection selection_;
  std::vector<DriftingStar> stars_;
  std::vector<Widget*> layoutWidgets_;  // not owned: the screen's widget list frees them
  std::vector<bge::RadioButtonList*> lists_;  // not owned: the screen's widget list frees them
  int keepMusic_;
  Texture* background_ = nullptr;  // not owned: the global catalogue's
  Texture* panels_ = nullptr;      // not owned: the global catalogue's
  Texture* slotHover_ = nullptr;   // not owned: the global catalogue's
  Rect5 markerBox_;
  Rect5 armReference_;
  int pointerX_ = 0;
  int pointerY_ = 0;
  ImageWidget* arm_ = nullptr;  // not owned: one of layoutWidgets_
  std::unique_ptr<TinyAction> flyBy_;
  bool flyByDue_ = false;
  std::unique_ptr<TinyAction> pulse_;
  float pulseScale_ = 1.0f;
  std::unique_ptr<TinyAction> armRight_;
  std::unique_ptr<TinyAction> armLeft_;
  float armX_ = kArmStartX;
  LeaderboardQueryWidget* leaderboard_ = nullptr;  // not owned: the screen's widget list frees it
  DFTSpectralAnalayzerWidget* spectrum_ = nullptr;  // not owned: the screen's widget list frees it
  std::vector<std::string> modeDescriptions_;
  GenericEntry<int>* battleAssistant_ = nullptr;  // not owned: the save game's entry
  bge::RadioButtonList* modeList_ = nullptr;  // not owned: one of lists_
  bool initialised_ = false;
};
