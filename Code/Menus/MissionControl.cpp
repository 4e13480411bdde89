#include "Menus/MissionControl.h"
#include "Menus/TutorialScreen.h"

#include <cstdio>

#include "AssertReport.h"
#include "DynamicResources/SceneMusicContainer.h"
#include "DynamicResources/SfxContainer.h"
#include "FadeTransitions.h"
#include "Game/LevelScreen.h"
#include "GameApp.h"
#include "GenericEntry.h"
#include "LabelManager.h"
#include "Menus/EncyclopediaScreen.h"
#include "Menus/LeaderboardQueryWidget.h"
#include "Menus/MainMenu.h"
#include "Music.h"
#include "music/AudioAnalyserWidget.h"
#include "MyApp.h"
#include "Profile/Mission.h"
#include "Profile/Profile.h"
#include "Profile/SpaceStation.h"
#include "ResourceManager.h"
#include "SaveGame.h"
#include "Store/CSteamLeaderboards.h"
#include "System/ResourceLists.h"
#include "Texture.h"
#include "Utilities.h"
#include "XmlAttributes.h"
#include "tinyaction/TinyActionDelay.h"
#include "tinyaction/TinyActionSequence.h"
#include "tinyaction/TinyLoopAction.h"
#include "tinyaction/TinyRelIncrementator.h"
#include "tinyaction/TinySetter.h"
#include "widgets/Button.h"
#include "widgets/ImageWidget.h"
#include "widgets/LayoutReading.h"
#include "widgets/LayoutWidgetFactory.h"
#include "widgets/RadioButtonList.h"

namespace {

const char* const kModeDescriptionLabels[MissionSelection::kModeCount] = {
    "MODE_CLASSIC_DESC", "MODE_ALLTOWERS_DESC", "MODE_REVERSAL_DESC",
    "MODE_MAXCREDITS_DESC", "MODE_LIMITEDTOWERS_DESC", "MODE_ENDLESS_DESC"};

constexpr int kFirstFlyByMs = 10000;
constexpr int kFlyByMinMs = 8000;
constexpr int kFlyBySpreadMs = 7000;
constexpr int kPulseHalfMs = 2048;
constexpr int kArmStepMs = 256;
// Where the leaderboard panel stands.
constexpr int kBoardX = 510, kBoardY = 340, kBoardW = 222, kBoardH = 334;
// The music's spectrum in the bottom row, in the gap between the encyclopedia
// (ends at 680) and back (starts at 860) buttons: it draws across nothing the
// player reads or clicks. Its line rises at most about 60 px, into the gap between
// the scores and mission panels.
constexpr int kSpectrumGapLeft = 680, kSpectrumGapRight = 860;
constexpr int kSpectrumY = 694, kSpectrumH = 50;
constexpr float kSpectrumScale = 0.1f;

Profile* applicationProfile() {
  MyApp* app = MyApp::instance();
  return app ? app->profile() : nullptr;
}

}  // namespace

MissionControl::MissionControl(int keepMusic, Profile* profile)
    : ScreenBase(""),
      profile_(profile ? profile : applicationProfile()),
      selection_(profile_),
      keepMusic_(keepMusic),
      armReference_(kArmReferenceX, -1.0f, -1.0f, -1.0f) {
  setInTransition(new FadeInTransition(kFadeMs, Color(0, 0, 0, 255)));
  setOutTransition(new FadeOutTransition(kFadeMs, Color(0, 0, 0, 255)));
  GameApp* app = GameApp::instance();
  if (app && app->getSaveGame())
    battleAssistant_ = app->getSaveGame()->findEntryAs<GenericEntry<int>>("BATTLE_ASSISTANT");
}

MissionControl::~MissionControl() = default;

void MissionControl::prepare() { registerLevelResources(getResourceManager()); }

void MissionControl::init() {
  if (keepMusic_ == 0) startMusic();
  buildStars();
  initFromXml(kLayoutFile);
  for (const char* key : kModeDescriptionLabels) modeDescriptions_.push_back(layout::lookupText(key));

  if (profile_) {
    const int stationId = selection_.initialStation();
    BGE_REPORT_MSG(stationId >= 0, "ptrStation");
    for (int id = 0; id < Profile::kStationCount; ++id) {
      SpaceStation* station = profile_->findStationById(id);
      if (!station) continue;
      station->loadIconTexture();
      if (bge::Button* button = findButton(id)) button->setVisible(station->isUnlocked());
    }
    if (stationId >= 0) selectStation(stationId);
  }
  background_ = sharedImage(kBackgroundFile);
  panels_ = sharedImage(kPanelsFile);
  slotHover_ = sharedImage(kSlotHoverFile);

  flyBy_.reset(makeFlyBy(kFirstFlyByMs));
  flyBy_->start(this, kFlyByTag);

  // The glow on the chosen station breathes between 1.0 and 1.2.
  TinyActionSequence* breath = new TinyActionSequence(false);
  breath->addAction(new TinyRelIncrementator<float>(TinyTimer(kPulseHalfMs), &pulseScale_, 0.2f,
                                                    linearOperatorFunction, 1.0f));
  breath->addAction(new TinySetter<float>(&pulseScale_, 1.2f));
  breath->addAction(new TinyRelIncrementator<float>(TinyTimer(kPulseHalfMs), &pulseScale_, -0.2f,
                                                    linearOperatorFunction, 1.0f));
  breath->addAction(new TinySetter<float>(&pulseScale_, 1.0f));
  pulse_.reset(new TinyLoopAction(breath, -1));
  pulse_->start(this, -1);

  if (profile_ && profile_->isSpectrumEnabled()) {
    auto* spectrum = new DFTSpectralAnalayzerWidget();
    // The widget draws its fixed logarithmic axis well right of its own left edge,
    // so the edge is placed from where the axis really lies.
    const float axisLeft = DFTSpectralAnalayzerWidget::xOfBin(DFTSpectralAnalayzerWidget::kFirstBin);
    const float axisRight = DFTSpectralAnalayzerWidget::xOfBin(DFTSpectralAnalayzerWidget::kLastBin + 1);
    const int x = (kSpectrumGapLeft + kSpectrumGapRight) / 2 -
                  static_cast<int>((axisLeft + axisRight) / 2.0f);
    spectrum->setRect(x, kSpectrumY, static_cast<int>(axisRight) + 1, kSpectrumH);
    spectrum->setVerticalScale(kSpectrumScale);
    addWidget(spectrum);
    spectrum_ = spectrum;
  }

  leaderboard_ = new LeaderboardQueryWidget(g_leaderboards, profile_);
  leaderboard_->setRect(kBoardX, kBoardY, kBoardW, kBoardH);
  addWidget(leaderboard_);

  initialised_ = true;
  restoreLastLaunch();
}

Texture* MissionControl::sharedImage(const char* file) {
  ResourceManager* global = app_ ? app_->globalResourceManager() : getResourceManager();
  if (!global) return nullptr;
  if (Texture* known = global->findTexture(file)) return known;
  Texture* texture = global->createTexture(file);
  if (texture && !global->registerTexture(file, texture)) {
    delete texture;
    texture = global->findTexture(file);
  }
  return texture;
}

void MissionControl::startMusic() {
  ResourceManager* global = app_ ? app_->globalResourceManager() : nullptr;
  if (!global) return;
  Music* music = global->findMusic("MAIN_MUSIC");
  if (!music) {
    const std::string track = SceneMusicContainer::instance()->pickTrack(kMenuMusicScene);
    if (track.empty()) return;
    music = new MixMusic(track);
    if (!global->registerMusic("MAIN_MUSIC", music)) {
      delete music;
      music = global->findMusic("MAIN_MUSIC");
    }
  }
  if (music) music->play(-1);
}

void MissionControl::buildStars() {
  stars_.resize(kStarCount);
  for (DriftingStar& s : stars_) {
    s.x = static_cast<float>(20480 - randomRange(0, 40960));
    s.y = static_cast<float>(10240 - randomRange(0, 20480));
    s.depth = static_cast<float>(randomRange(100, 1000));
    s.speed = static_cast<float>(-randomRange(1, 6));
  }
}

void MissionControl::moveStars(std::vector<DriftingStar>& stars) {
  for (DriftingStar& s : stars) {
    s.depth += s.speed;
    // Depth 0 would put the star at infinity on screen: it starts again far away.
    if (s.depth <= 0.0f) s.depth = 1000.0f;
  }
}

bool MissionControl::projectStar(const DriftingStar& star, int* x, int* y, int* alpha) {
  if (!(star.depth > 0.0f)) return false;
  *x = static_cast<int>(683.0f + 40.0f * star.x / (10.0f * star.depth));
  *y = static_cast<int>(384.0f + 40.0f * star.y / (10.0f * star.depth));
  *alpha = static_cast<int>(100.0f * (1000.0f - star.depth) / 1000.0f);
  if (*alpha < 0) *alpha = 0;
  return true;
}

bool MissionControl::initFromXml(const std::string& fileName) {
  if (!BGE_REPORT_MSG(!fileName.empty(), "false && \"MissionControl: Filename is empty.\"")) return false;
  const bge::XmlReader xml(fileName);
  TiXmlDocument doc;
  const std::string without = "; mission control shows without its buttons and pictures";
  if (!BGE_ERROR_MSG(xml.load(doc), ("the layout file " + fileName + " cannot be read" + without).c_str()))
    return false;
  TiXmlElement* root = xml.root(doc, "Screen");
  if (!BGE_ERROR_MSG(root != nullptr, ("the layout file " + fileName + " holds no <Screen>" + without).c_str()))
    return false;
  bge::LayoutContext context;
  context.resources = getResourceManager();
  context.path = xml.readString(root, "path", "");
  context.buttons = this;
  context.lists = this;
  for (TiXmlElement* e = root->FirstChildElement(); e; e = e->NextSiblingElement()) {
    const std::string kind = e->ValueStr();
    if (kind != "ImageWidget" && kind != "Button" && kind != "RadioButtonList" && kind != "TextLabel" &&
        kind != "Label")
      continue;
    Widget* widget = bge::createLayoutWidget(context, e);
    if (!widget) continue;
    if (auto* image = dynamic_cast<ImageWidget*>(widget)) {
      // Layout pictures appear only when the screen moves them into place.
      image->setVisible(false);
      if (image->getLayoutId() > 0) layoutWidgets_.push_back(image);
      if (image->getLayoutId() == kArmImage) arm_ = image;
    } else if (auto* button = dynamic_cast<bge::Button*>(widget)) {
      button->setBoxHit(true);
      layoutWidgets_.push_back(button);
    } else if (auto* list = dynamic_cast<bge::RadioButtonList*>(widget)) {
      lists_.push_back(list);
      if (list->getListId() == kModeList) modeList_ = list;
      if (bge::RadioButtonListRow* first = list->findRow(0)) {
        list->setAllChecked(false);
        first->setChecked(true);
      }
    }
    addWidget(widget);
  }
  // Mission slots show once a station with missions is chosen, the launch
  // button once a mission that can be launched is.
  for (int j = 0; j < MissionSelection::kSlots; ++j)
    if (bge::Button* slot = findButton(kFirstSlotButton + j)) slot->setVisible(false);
  if (bge::Button* launch = findButton(kLaunchButton)) launch->setVisible(false);
  return true;
}

bge::Button* MissionControl::findButton(int id) const {
  for (Widget* w : layoutWidgets_) {
    auto* button = dynamic_cast<bge::Button*>(w);
    if (button && button->getButtonId() == id) return button;
  }
  return nullptr;
}

void MissionControl::restoreLastLaunch() {
  if (!profile_) return;
  // The record comes back from "customflags.dat": its values are only ever
  // used as a station, a slot and a mode, never replayed as button presses.
  const MissionSelection::Restore last = selection_.lastLaunch();
  if (profile_->lastStation() == -1) {
    selectMission(kFirstSlotButton);
    return;
  }
  if (last.station >= 0) {
    SfxContainer::instance()->playSound("SFX_BTN_CLICK");
    selectStation(last.station);
  }
  selectMission(kFirstSlotButton + last.slot);
  if (last.mode >= 0) {
    if (modeList_) {
      modeList_->setAllChecked(false);
      if (bge::RadioButtonListRow* row = modeList_->findRow(last.mode)) row->setChecked(true);
    }
    onSelectionChanged(kModeList, last.mode, 0);
  }
}

void MissionControl::selectStation(int stationId) {
  if (!selection_.selectStation(stationId)) return;
  // A locked mission keeps its slot: it shows its cross and cannot be launched.
  const size_t missions = selection_.station()->missions().size();
  for (int j = 0; j < MissionSelection::kSlots; ++j)
    if (bge::Button* slot = findButton(kFirstSlotButton + j)) slot->setVisible(static_cast<size_t>(j) < missions);
  bge::Button* button = findButton(stationId);
  if (!button) return;
  Texture* glow = globalTexture("TEX_ITEM_GLOW");
  const Rect5& box = button->getGeometry();
  const float w = glow ? static_cast<float>(glow->getWidth()) : box.width;
  const float h = glow ? static_cast<float>(glow->getHeight()) : box.height;
  markerBox_ = Rect5(box.x - static_cast<float>(static_cast<int>((w - box.width) * 0.5f)),
                     box.y - static_cast<float>(static_cast<int>((h - box.height) * 0.5f)), w, h);
  selectMission(kFirstSlotButton);
}

TinyAction* MissionControl::makeFlyBy(int delayMs) {
  TinyActionSequence* seq = new TinyActionSequence(false);
  seq->addAction(new TinyActionDelay(TinyTimer(delayMs)));
  return seq;
}

void MissionControl::startArmMove(float firstStep, bool left) {
  TinyActionSequence* move = new TinyActionSequence(false);
  move->addAction(new TinyRelIncrementator<float>(TinyTimer(kArmStepMs), &armX_, firstStep,
                                                  exponentialOperatorFunction, 1.0f));
  move->addAction(new TinyRelIncrementator<float>(TinyTimer(kArmStepMs), &armX_,
                                                  left ? -kArmOvershoot : kArmOvershoot,
                                                  logarithmicOperatorFunction, 1.0f));
  std::unique_ptr<TinyAction>& slot = left ? armLeft_ : armRight_;
  slot.reset(move);
  slot->start(this, left ? kArmLeftTag : kArmRightTag);
}

void MissionControl::selectMission(int buttonId) {
  bge::Button* button = findButton(buttonId);
  if (!button) return;
  armX_ = armReference_.x - kArmOffset;
  const float buttonX = button->getX();
  const float delta = buttonX - armReference_.x;
  const bool left = buttonX < armReference_.x;
  const float firstStep = left ? delta + kArmOvershoot : delta - kArmOvershoot;
  armReference_ = button->getGeometry();
  if (!selection_.selectSlot(buttonId - kFirstSlotButton)) return;
  if (bge::Button* launch = findButton(kLaunchButton)) launch->setVisible(selection_.canLaunch());
  startArmMove(firstStep, left);
  if (arm_) arm_->setVisible(true);
  SfxContainer::instance()->playSound("SFX_ARM_MOVE");
  if (leaderboard_ && selection_.mission()) leaderboard_->query(selection_.mission()->id(), selection_.mode());
}

bool MissionControl::battleAssistantOn() const { return battleAssistant_ && battleAssistant_->getValue() == 1; }

void MissionControl::playVoice(const char* key) {
  if (battleAssistantOn()) SfxContainer::instance()->playSound(key);
}

void MissionControl::onButtonEvent(int buttonId, int kind) {
  if (kind == bge::ButtonListener::PointerEntered) {
    SfxContainer::instance()->playSound("SFX_BTN_OVER");
    return;
  }
  if (kind != bge::ButtonListener::Released || getPhase() == PhaseExiting) return;
  SfxContainer::instance()->playSound("SFX_BTN_CLICK");
  if (buttonId == kBackButton) {
    playVoice("SFX_VO_YES_SIR");
    close(kExitBack, true);
  } else if (buttonId == kTutorialButton) {
    playVoice("SFX_VO_YES_SIR");
    openTutorial();
  } else if (buttonId == kLaunchButton) {
    if (!selection_.canLaunch()) return;
    playVoice("SFX_VO_YES");
    selection_.recordLaunch(leaderboard_ ? leaderboard_->getUserRank() : -1);
    close(kExitLaunch, true);
  } else if (buttonId == kEncyclopediaButton) {
    playVoice("SFX_VO_YES_SIR");
    // Laid over this screen, which stays on the stack beneath it.
    if (app_) app_->changeState(new EncyclopediaScreen());
  } else if (buttonId >= 0 && buttonId < Profile::kStationCount) {
    selectStation(buttonId);
  } else if (buttonId >= kFirstSlotButton && buttonId < kFirstSlotButton + MissionSelection::kSlots) {
    selectMission(buttonId);
  }
}

void MissionControl::applyModeToLists() {
  const bool shown = selection_.mode() != MissionSelection::kEndlessMode;
  for (bge::RadioButtonList* list : lists_) {
    if (list->getListId() <= kModeList) continue;
    list->setVisible(shown);
    list->setEnabled(shown);
  }
}

void MissionControl::onSelectionChanged(int listId, int rowId, int initial) {
  // The layout's own first choice arrives while the screen is still being
  // built; init sets every list itself.
  if (initial && !initialised_) return;
  if (listId == kModeList) {
    selection_.setMode(rowId);
    if (leaderboard_ && selection_.mission()) leaderboard_->query(selection_.mission()->id(), selection_.mode());
    if (!initial) playVoice("SFX_TOWER_SELECTED");
    applyModeToLists();
  } else if (listId >= 1 && listId <= MissionSelection::kSlots) {
    selection_.setSlotDifficulty(listId - 1, rowId);
  }
}

void MissionControl::actionFinished(int tag) {
  if (tag != kFlyByTag) return;
  SfxContainer::instance()->playSound("SFX_FLYBY_SPACETRAFFIC");
  // The finished sequence is still inside its own update: it is swapped in
  // the next update, not deleted here.
  flyByDue_ = true;
}

void MissionControl::updateScreen(int dt) {
  moveStars(stars_);
  if (app_) {
    const Point2i p = app_->getMousePosition();
    pointerX_ = p.x;
    pointerY_ = p.y;
  }
  if (flyBy_ && flyBy_->isRunning()) flyBy_->update(dt);
  if (flyByDue_) {
    flyByDue_ = false;
    flyBy_.reset(makeFlyBy(kFlyByMinMs + randomInt(kFlyBySpreadMs)));
    flyBy_->start(this, kFlyByTag);
  }
  if (pulse_ && pulse_->isRunning()) pulse_->update(dt);
  const bool armMoving = (armLeft_ && armLeft_->isRunning()) || (armRight_ && armRight_->isRunning());
  if (armLeft_ && armLeft_->isRunning()) armLeft_->update(dt);
  if (armRight_ && armRight_->isRunning()) armRight_->update(dt);
  if (armMoving && arm_) arm_->setPosition(static_cast<int>(armX_), kArmY, false);
}

void MissionControl::onShown() {
  if (profile_ && !profile_->hasProgress()) {
    profile_->setHasProgress(true);
    if (app_) app_->saveGame();
  }
  // The first showing after the flag was set walks the player through the screen, once.
  if (profile_ && profile_->flag(CustomFlag::MissionControlTutorial) == 1) {
    profile_->setFlag(CustomFlag::MissionControlTutorial, 0);
    openTutorial();
  }
}

void MissionControl::openTutorial() {
  if (app_) app_->changeState(new TutorialScreen(nullptr, TutorialScreen::kMissionControlLayout));
}

void MissionControl::releaseMapShots() {
  if (!profile_) return;
  for (const SpaceStation* station : profile_->stations())
    for (const Mission* mission : station->missions()) mission->releaseMapShot();
}

void MissionControl::onExitTransitionDone(int exitCode) {
  // Everything the next screen needs is copied first: popping deletes this screen.
  const LaunchArguments launch = selection_.launchArguments();
  const bool voice = battleAssistantOn();
  GameApp* app = app_;
  if (!app) return;
  releaseMapShots();
  app->saveGame();
  app->popState();
  if (exitCode == kExitBack) {
    if (voice) SfxContainer::instance()->playSound("SFX_RETURN_TO_BRIDGE");
    app->changeState(new MainMenu(0));
  } else if (exitCode == kExitLaunch && launch.missionId >= 0) {
    app->changeState(new LevelScreen(launch.missionId, launch.levelFile, launch.mode, launch.difficulty));
  }
}
