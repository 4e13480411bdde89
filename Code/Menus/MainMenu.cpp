#include "Menus/MainMenu.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>

#include "AppConfig.h"
#include "DynamicResources/SceneMusicContainer.h"
#include "DynamicResources/SfxContainer.h"
#include "Font.h"
#include "GLGraphics.h"
#include "GLTexture.h"
#include "Graphics.h"
#include "Music.h"
#include "MyApp.h"
#include "Profile/Profile.h"
#include "ResourceManager.h"
#include "Store/CSteamLeaderboards.h"
#include "System/GameFonts.h"
#include "System/ResourceLists.h"
#include "Utilities.h"
#include "Menus/GameProgressDialog.h"
#include "Menus/MenuLayout.h"
#include "Menus/MissionControl.h"
#include "SDLGameApp.h"
#include "music/AnnounceMusicTrack.h"
#include "music/AudioAnalyserWidget.h"
#include "sdk/QuillonPhysicsSDK.h"
#include "tinyaction/TinyActions.h"
#include "widgets/Button.h"
#include "widgets/ImageWidget.h"


namespace {

constexpr int kSpectrumX = 343;
constexpr int kSpectrumY = 578;
constexpr int kBannerY = 520;
constexpr float kSpectrumScale = 0.18f;
constexpr int kSpectrumYAfterOptions = 544;
constexpr int kSpectrumWidth = 512;
constexpr int kSpectrumHeight = 200;
// The store-bundle message's box: at least this size, centred at this height.
constexpr int kBundleBoxX = 16;
constexpr int kBundleBoxWidth = 230;
constexpr int kBundleBoxHeight = 60;
constexpr int kBundleBoxMiddle = 636;

// The system pointer stays out of sight while the game draws its own.
SDL_Cursor* blankCursor() {
  static SDL_Cursor* blank = nullptr;
  if (!blank) {
    Uint8 data = 0, mask = 0;
    blank = SDL_CreateCursor(&data, &mask, 1, 1, 0, 0);
  }
  return blank;
}

}  // namespace

MainMenu::MainMenu(int keepMusic, Profile* profile)
    : MenuScreen("MainMenu"),
      keepMusic_(keepMusic),
      profile_(profile ? profile : (MyApp::instance() ? MyApp::instance()->profile() : nullptr)) {
  if (QuillonPHX2D::g_ptrSDK) QuillonPHX2D::g_ptrSDK->unpauseSimulation();
}

MainMenu::~MainMenu() = default;

// The level registers its own textures in its own catalogue; registering them
// here would leave the shared level list pointing into this screen's catalogue
// once the screen is gone.
void MainMenu::prepare() {}

void MainMenu::init() {
  if (MyApp* app = MyApp::instance()) {
    app->showCursor();
    if (AppConfig::instance()->loadCursor(0)) SDL_SetCursor(blankCursor());
    else if (app->systemCursor()) SDL_SetCursor(app->systemCursor());
  }
  startMusic();
  SceneMusicContainer* scenes = SceneMusicContainer::instance();
  // The store message and its button hold the menu's bottom-left corner: the track's
  // banner rises above them instead of covering the message for its few seconds.
  AnnounceMusicTrack* banner = new AnnounceMusicTrack(scenes->getAuthor(kMusicScene), scenes->getTrackName(kMusicScene));
  banner->setRect(0, kBannerY, 256, 128);
  addWidget(banner);
  stars_.build();
  loadLayout(kLayoutFile);
  hideContinueWithoutProgress();
  if (profile_ && profile_->isSpectrumEnabled()) addSpectrum(kSpectrumY);
  // The global list holds this picture for other screens too: one decode serves all.
  for (const ResourceEntry& entry : globalResourceList())
    if (!entry.font && entry.file == std::string(kBackgroundFile)) background_ = globalTexture(entry.key);
  ResourceManager* global = app_ ? app_->globalResourceManager() : nullptr;
  if (global && !background_) {
    background_ = global->findTexture(kBackgroundFile);
    if (!background_) {
      Texture* texture = new GLTexture(kBackgroundFile, nullptr, GLTexture::DropImage, GLTexture::kLinear);
      if (global->registerTexture(kBackgroundFile, texture)) background_ = texture;
      else delete texture;
    }
  }
  startFlyBy(kFirstFlyByMs);
}

void MainMenu::startMusic() {
  ResourceManager* global = app_ ? app_->globalResourceManager() : nullptr;
  if (!global) return;
  Music* music = global->findMusic(kMusicId);
  if (!music) {
    const std::string track = SceneMusicContainer::instance()->pickTrack(kMusicScene);
    if (track.empty()) return;
    music = new MixMusic(track);
    if (!global->registerMusic(kMusicId, music)) {
      delete music;
      return;
    }
    music->play(-1);
    return;
  }
  auto* mix = dynamic_cast<MixMusic*>(music);
  if (keepMusic_ == 0 && !(mix && mix->isPlaying())) music->play(-1);
}

void MainMenu::hideContinueWithoutProgress() {
  if (!profile_ || profile_->hasProgress()) return;
  if (bge::Button* resume = findButton(kContinue)) resume->setVisible(false);
}

void MainMenu::addSpectrum(int y) {
  spectrum_ = new DFTSpectralAnalayzerWidget();
  spectrum_->setRect(kSpectrumX, y, kSpectrumWidth, kSpectrumHeight);
  // Loud music reaches magnitudes of about a thousand: scaled so the line stays in
  // the widget's own strip below the buttons, as in mission control.
  spectrum_->setVerticalScale(kSpectrumScale);
  addWidget(spectrum_);
}

void MainMenu::startFlyBy(int delayMs) {
  flyBy_.reset();
  auto* sequence = new TinyActionSequence(false);
  sequence->addAction(new TinyActionDelay(TinyTimer(delayMs)));
  flyBy_.reset(sequence);
  flyBy_->start(this, kFlyByTag);
}

void MainMenu::updateScreen(int dt) {
  retiredFlyBy_.reset();
  if (flyBy_ && flyBy_->isRunning()) flyBy_->update(dt);
  stars_.update();
}

void MainMenu::actionFinished(int tag) {
  if (tag != kFlyByTag) return;
  SfxContainer::instance()->playSound("SFX_FLYBY_SPACETRAFFIC");
  // The finished action is replaced from inside its own report: it is deleted
  // only after its update has returned.
  std::unique_ptr<TinyAction> finished = std::move(flyBy_);
  startFlyBy(kFlyByMs + randomInt(kFlyBySpreadMs));
  retiredFlyBy_ = std::move(finished);
}

void MainMenu::drawBackground(Graphics* g) {
  if (!firstFrameLogged_) {
    // The start-up benchmark stops its clock at this line.
    firstFrameLogged_ = true;
    std::printf("main menu: first frame\n");
    std::fflush(stdout);
  }
  if (background_) g->drawImage(0, 0, background_, Color(0, 255, 255, 164));
  stars_.draw(g);
}

void MainMenu::drawForeground(Graphics* g) {
  Font* font = findOrLoadFont(getResourceManager(), "FONT_NOTOSANS16");
  if (!font) return;
  font->drawTextAligned(g, Rect5(0, 750, 1360, 18), kVersion, Color(255, 255, 255, 255), 1, 3, false);
  // The box grows about its middle to hold every line the message wraps to.
  std::string wrapped;
  font->wrapText(kBundleMessage, wrapped, kBundleBoxWidth);
  const int lines = 1 + static_cast<int>(std::count(wrapped.begin(), wrapped.end(), '\n'));
  const int height = std::max(kBundleBoxHeight, lines * font->getLineHeight());
  font->drawTextAligned(g, Rect5(kBundleBoxX, kBundleBoxMiddle - height / 2, kBundleBoxWidth, height), kBundleMessage,
                        Color(255, 255, 0, 255), 2, 2, true);
}

void MainMenu::onShown() { hideContinueWithoutProgress(); }

void MainMenu::pause(GameApp* app) {
  MenuScreen::pause(app);
  showControls(layoutWidgets(), false);
  if (spectrum_) spectrum_->setVisible(false);
}

void MainMenu::resume(GameApp* app) {
  MenuScreen::resume(app);
  showControls(layoutWidgets(), true);
  followSpectrumSetting();
  hideContinueWithoutProgress();
}

void MainMenu::setControlsEnabled(bool on) {
  for (bge::Button* b : buttons()) b->setEnabled(on);
  for (Widget* w : layoutWidgets()) {
    auto* image = dynamic_cast<ImageWidget*>(w);
    if (image && image->getLayoutId() == kOverlayImageId) image->setEnabled(on);
  }
}

void MainMenu::setMenuOverlay(bool on) {
  auto* sdl = dynamic_cast<SDLGameApp*>(app_);
  if (GLGraphics* g = sdl ? sdl->getGraphics() : nullptr) g->setMenuOverlay(on);
}

void MainMenu::optionsMenuClosed() {
  setMenuOverlay(false);
  setControlsEnabled(true);
  const bool wanted = profile_ && profile_->isSpectrumEnabled();
  if (!spectrum_ && wanted) addSpectrum(kSpectrumYAfterOptions);
  followSpectrumSetting();
}

// The spectrum shows exactly while the player's setting asks for it; the
// setting changes in the options, so it is read again whenever the menu is back.
void MainMenu::followSpectrumSetting() {
  if (!spectrum_) return;
  const bool wanted = profile_ && profile_->isSpectrumEnabled();
  spectrum_->setVisible(wanted);
  spectrum_->setEnabled(wanted);
}

void MainMenu::onButtonClicked(int buttonId) {
  switch (buttonId) {
    case kNewGame:
      if (!profile_) break;
      if (!profile_->hasProgress()) {
        profile_->resetProgress();
        if (app_) app_->saveGame();
        leave(kToMissionControl);
      } else if (app_) {
        // The dialog asks first; its "yes" closes this screen towards mission control.
        app_->changeState(new GameProgressDialog(this));
      }
      break;
    case kContinue: leave(kToMissionControl); break;
    case kOptions:
      if (!app_) break;
      setControlsEnabled(false);
      setMenuOverlay(true);
      app_->changeState(new OptionsScreen(false, this));
      break;
    case kQuit:
      if (app_) {
        app_->requestQuit();
        app_->requestImmediateQuit();
      }
      break;
    case kStorePageButton:
      if (g_leaderboards && g_leaderboards->client() && g_leaderboards->client()->overlayEnabled())
        g_leaderboards->client()->openOverlayWebPage(kStorePage);
      break;
    default: break;
  }
}

GameState* MainMenu::makeNextScreen(int code) {
  if (code == kToMissionControl) return new MissionControl(-1, profile_);
  return nullptr;
}

void MainMenu::onExitTransitionDone(int code) {
  if (QuillonPHX2D::g_ptrSDK) QuillonPHX2D::g_ptrSDK->pauseSimulation();
  MenuScreen::onExitTransitionDone(code);
}
