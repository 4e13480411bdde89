#include "Game/IntroScreen.h"

#include <cstdio>
#include <cstdlib>

#include "AppConfig.h"
#include "AssertReport.h"
#include "Configurator/ConfigContext.h"
#include "DesignSize.h"
#include "DynamicResources/SceneMusicContainer.h"
#include "FadeTransitions.h"
#include "Font.h"
#include "Game/Entities/xPhysicsPrimitiveEntity.h"
#include "GameApp.h"
#include "Graphics.h"
#include "KeyEvent.h"
#include "Music.h"
#include "ResourceManager.h"
#include "System/GameFonts.h"
#include "System/ResourceLists.h"
#include "Utilities.h"
#include "sdk/QuillonPhysicsSDK.h"
#include "tinyaction/TinyAction.h"

using namespace QuillonPHX2D;

namespace {
IntroScreen* g_intro = nullptr;

constexpr int kFadeMs = 256;
constexpr int kEscape = 27;
constexpr int kReturn = 13;
constexpr int kKeypadEnter = 0x40000058;
constexpr float kRestSpeed = 0.01822f;
constexpr float kDamping = 0.998f;
// Stars fall by this much a frame at depth 0, less the deeper they are; the
// deepest (8192) stand still.
constexpr float kFallSpeed = 2.2f;
constexpr float kFallPerDepth = 0.0002685547f;
constexpr float kAlphaPerDepth = 0.03112793f;
constexpr int kFieldHeight = 2048;
constexpr int kMaxDepth = 8192;
const Color kCountdownColor(0, 255, 255, 255);

void setPhysicsPaused(bool paused) {
  if (!g_ptrSDK) return;
  if (paused) g_ptrSDK->pauseSimulation();
  else g_ptrSDK->unpauseSimulation();
}
}  // namespace

IntroScreen* IntroScreen::current() { return g_intro; }

namespace {
IntroScreen::ScreenMaker g_screenMaker = nullptr;
}  // namespace

void IntroScreen::setScreenMaker(ScreenMaker maker) { g_screenMaker = maker; }

IntroScreen::IntroScreen(const std::string& file) : ScreenBase(""), file_(file) {
  setOwner(getWidgetManager());
  g_intro = this;
  setPhysicsPaused(false);
}

IntroScreen::~IntroScreen() {
  if (g_intro == this) g_intro = nullptr;
  action_.reset();
  // The descriptions go after the body, once no entity made from them is left.
  removeAllEntities();
}

void IntroScreen::prepare() { registerIntroResources(getResourceManager()); }

void IntroScreen::init() {
  const std::string track = SceneMusicContainer::instance()->pickTrack(kMusicScene);
  if (!track.empty()) {
    auto* music = new MixMusic(track);
    if (getResourceManager()->registerMusic("INTRO_GAME_MUSIC", music)) music->play(-1);
    else delete music;
  }
  setInTransition(new FadeInTransition(kFadeMs, Color(0, 0, 0, 255)));
  setOutTransition(new FadeOutTransition(kFadeMs, Color(0, 0, 0, 255)));

  xConfigurator* ptrInstance_ = xConfigurator::Instance();
  if (BGE_REPORT(ptrInstance_ != NULL)) {
    ptrInstance_->gravity = Vec2(0.0f, 0.0f);
    ptrInstance_->linearRestSpeed = kRestSpeed;
    ptrInstance_->angularRestSpeed = kRestSpeed;
    ptrInstance_->dampingFactor = kDamping;
  }
  particle_ = std::make_unique<xPhysicsPrimitiveEntityDesc>();
  particle_->loadFromFile(kParticleFile);
  escapePod_ = std::make_unique<xPhysicsPrimitiveEntityDesc>();
  escapePod_->loadFromFile(kEscapePodFile);
  makeStars();
}

void IntroScreen::makeStars() {
  const AppConfig* config = AppConfig::instance();
  // The configured width spreads the field; a configuration without one
  // (or a broken one) uses the design width instead of a modulo by zero.
  const int width = config->getWidth() > 0 ? config->getWidth() : bge::kDesignWidth;
  const int offsetX = config->getScreenOffsetX();
  const int offsetY = config->getScreenOffsetY();
  stars_.clear();
  stars_.reserve(kStarCount);
  for (int i = 0; i < kStarCount; ++i) {
    const int r1 = std::rand(), r2 = std::rand(), r3 = std::rand();
    stars_.emplace_back(static_cast<float>(r1 % (2 * width) - offsetX - width),
                        static_cast<float>(r2 % kFieldHeight - offsetY - kFieldHeight / 2),
                        static_cast<float>(r3 % kMaxDepth));
  }
}

void IntroScreen::onShown() {
  // The countdown runs from the moment the scene is fully in view.
  clock_.start();
}

int IntroScreen::countdown() const {
  const int left = kCountdownFrom - static_cast<int>(clock_.getElapsed() / 1000);
  return left > 0 ? left : 0;
}

void IntroScreen::updateScreen(int dt) {
  if (action_ && action_->isRunning()) action_->update(dt);
  for (Vec3& star : stars_) {
    star.y += kFallSpeed - star.z * kFallPerDepth;
    if (star.y > kFieldHeight / 2) star.y -= kFieldHeight / 2;
  }
  processRemovals();
}

void IntroScreen::drawBackground(Graphics* g) {
  // The scene is deep space whatever the window was cleared to.
  g->fillRect(0, 0, bge::kDesignWidth, bge::kDesignHeight, Color(0, 0, 0, 255));
  for (const Vec3& star : stars_) {
    const int alpha = static_cast<int>(255.0f - star.z * kAlphaPerDepth);
    g->fillRect(static_cast<int>(star.x), static_cast<int>(star.y), 2, 2, Color(255, 255, 255, alpha));
  }
}

void IntroScreen::drawForeground(Graphics* g) {
  if (Texture* hud = introTexture("TEX_HUD")) g->drawImage(0, 0, hud, Color(255, 255, 255, 255));
  if (Font* font = findOrLoadFont(getResourceManager(), "FONT_NOTOSANS46"))
    font->drawText(g, 316, 16, formatString("%d", countdown()), kCountdownColor);
}

void IntroScreen::onKeyEvent(const KeyEvent& event) {
  ScreenBase::onKeyEvent(event);
  if (event.kind != KeyEvent::Pressed || getPhase() == PhaseExiting) return;
  std::printf("keyboard key id = %d\n", event.key);
  if (!g_screenMaker) return;
  if (event.key == kEscape) {
    setPhysicsPaused(true);
    if (app_) app_->changeState(g_screenMaker(Next::Pause));
  } else if (event.key == kReturn || event.key == kKeypadEnter) {
    setPhysicsPaused(true);
    close(kExitMissionControl, true);
  }
}

void IntroScreen::actionFinished(int tag) {
  if (tag == kResumePhysics) setPhysicsPaused(false);
}

void IntroScreen::onExitTransitionDone(int exitCode) {
  GameApp* app = app_;
  if (!app || !g_screenMaker) return;
  // Made first, while the intro still exists; only locals are used after the pop.
  GameState* next = g_screenMaker(exitCode == kExitMainMenu ? Next::MainMenu : Next::MissionControl);
  app->finishState(this);
  app->changeState(next);
}
