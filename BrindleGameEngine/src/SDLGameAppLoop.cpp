// The frame loop, window events, rendering passes and the quit path.
#include <GL/glew.h>
#include <GL/glu.h>
#include <SDL_image.h>
#include <SDL_mixer.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <mutex>
#include <vector>

#include "AppCamera.h"
#include "AppConfig.h"
#include "AppCore.h"
#include "DisplayConfigurations.h"
#include "EventScript.h"
#include "FrameStep.h"
#include "GLGraphics.h"
#include "GameState.h"
#include "ProcessExit.h"
#include "ResourceManager.h"
#include "SDLGameApp.h"
#include "Texture.h"
#include "Utilities.h"
#include "sdk/QuillonPhysicsSDK.h"
#include "particles/ParticleEngine.h"
#include "xRenderingContext.h"

namespace {
std::mutex g_channelMutex;
std::vector<int> g_finishedChannels;

// Set by the SIGHUP handler; the frame loop turns it into a quit request.
volatile sig_atomic_t g_hangUp = 0;

void onHangUp(int) { g_hangUp = 1; }
}  // namespace

void SDLGameApp::watchHangUp() {
  // SDL turns SIGINT and SIGTERM into a quit event; a closed terminal must take
  // the same saving path instead of killing the game outright. A hang-up the
  // parent asked to ignore (nohup) stays ignored: the game outlives the terminal.
  struct sigaction inherited {};
  if (sigaction(SIGHUP, nullptr, &inherited) == 0 && !(inherited.sa_flags & SA_SIGINFO) &&
      inherited.sa_handler == SIG_IGN)
    return;
  struct sigaction action {};
  action.sa_handler = onHangUp;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGHUP, &action, nullptr);
}

bool SDLGameApp::hangUpReceived() { return g_hangUp != 0; }

void SDLGameApp::queueFinishedChannel(int channel) {
  std::lock_guard<std::mutex> lock(g_channelMutex);
  g_finishedChannels.push_back(channel);
}

void SDLGameApp::deliverFinishedChannels() {
  std::vector<int> channels;
  {
    std::lock_guard<std::mutex> lock(g_channelMutex);
    channels.swap(g_finishedChannels);
  }
  for (int channel : channels) onChannelFinished(channel);
}

void SDLGameApp::onChannelFinished(int channel) {
  visitStates(StateOrder::BottomUp, StateFilter::Active,
              [&](GameState* state) { state->onChannelFinished(channel); });
}

void SDLGameApp::run() {
  while (runFrame()) {
  }
}

bool SDLGameApp::runFrame() {
  if (quitDone_) return false;
  if (!loopStarted_) {
    lastFrameStamp_ = timer_->getElapsed();
    loopStarted_ = true;
  }
  SDL_JoystickUpdate();

  if (!active_) {
    waitForWindowEvent();
    if (!quitRequested_ && !immediateQuit_) SDL_Delay(kInactiveWaitMs);
  } else {
    if (eventScript_) eventScript_->pump(frameNumber_, window_ ? SDL_GetWindowID(window_) : 0);
    ++frameNumber_;
    pollEvents();
    uint32_t dt = timer_->getElapsed() - lastFrameStamp_;
    lastFrameStamp_ = timer_->getElapsed();
    if (dt > kFrameBudgetMs) dt = kFrameBudgetMs;

    stepPhysics(physicsStepForFrame(dt, timeScale_));
    if (appCore_ && threeD_) appCore_->preStep(static_cast<int>(dt));
    deliverFinishedChannels();
    update(static_cast<int>(dt));
    render();
    deleteQueuedStates();

    const int wait = static_cast<int>(kFrameBudgetMs) - static_cast<int>(timer_->getElapsed() - lastFrameStamp_);
    if (wait > 0 && frameLimit_) SDL_Delay(static_cast<uint32_t>(wait));
  }

  if (g_hangUp) requestQuit();
  if (immediateQuit_) {
    runQuitPath();
    return false;
  }
  if (quitRequested_) {
    if (confirmQuit()) {
      runQuitPath();
      return false;
    }
    clearQuitRequest();
  }
  return true;
}

void SDLGameApp::pollEvents() {
  SDL_Event event;
  while (SDL_PollEvent(&event)) handleEvent(event);
}

void SDLGameApp::waitForWindowEvent() {
  SDL_Event event;
  // Bounded, so a hang-up signal is seen while the window stays minimised.
  if (!SDL_WaitEventTimeout(&event, 1000)) return;
  // Input that arrives while minimised is dropped, but a quit still counts.
  if (event.type == SDL_WINDOWEVENT) handleWindowEvent(event.window);
  else if (event.type == SDL_QUIT) requestQuit();
}

void SDLGameApp::stepPhysics(float step) {
  if (QuillonPHX2D::g_ptrSDK) QuillonPHX2D::g_ptrSDK->updateF(step);
}

void SDLGameApp::update(int dt) {
  onFrame(dt);
  visitStates(StateOrder::BottomUp, StateFilter::ActiveOrAll,
              [&](GameState* state) { state->update(dt); });
}

void SDLGameApp::render() {
  if (threeD_) {
    setup3DProjection();
    if (appCore_) appCore_->getRenderingContext()->render();
  } else if (graphics_) {
    graphics_->clear();
  }
  setup2DProjection();
  beforeRenderStates(graphics_.get());
  visitStates(StateOrder::BottomUp, StateFilter::OnStack,
              [&](GameState* state) { state->render(graphics_.get()); });
  afterRenderStates(graphics_.get());
  afterRender(graphics_.get());
  drawCursor();
  // Taken here, from the finished frame: after the swap the back buffer is undefined.
  if (screenshotPending_) {
    screenshotPending_ = false;
    takeScreenshot();
  }
  if (window_) SDL_GL_SwapWindow(window_);
}

namespace {
void currentResolution(const DisplayConfigurations* configurations, int fallbackW, int fallbackH,
                       int& w, int& h) {
  w = fallbackW;
  h = fallbackH;
  if (configurations && configurations->getCurrentResolution()) {
    w = configurations->getCurrentResolution()->width;
    h = configurations->getCurrentResolution()->height;
  }
}
}  // namespace

void SDLGameApp::setup2DProjection() {
  int w = 0;
  int h = 0;
  currentResolution(displayConfigurations_.get(), screenWidth_, screenHeight_, w, h);
  glDisable(GL_POLYGON_SMOOTH);
  glDisable(GL_LIGHTING);
  glEnable(GL_TEXTURE_2D);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, w, h, 0, -1000, 1);
  glMatrixMode(GL_MODELVIEW);
  glEnable(GL_BLEND);
  glEnable(GL_ALPHA_TEST);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_STENCIL_TEST);
  glDisable(GL_SCISSOR_TEST);
  glDisable(GL_COLOR_MATERIAL);
  glDisable(GL_LIGHTING);
  glDisable(GL_CULL_FACE);
  glLoadIdentity();
}

void SDLGameApp::setup3DProjection() {
  int w = 0;
  int h = 0;
  currentResolution(displayConfigurations_.get(), screenWidth_, screenHeight_, w, h);
  glEnable(GL_TEXTURE_2D);
  glHint(GL_POLYGON_SMOOTH_HINT, GL_NICEST);
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
  glEnable(GL_POLYGON_SMOOTH);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  if (appCore_ && appCore_->getCamera()) {
    appCore_->getCamera()->setProjection(w, h);
  } else {
    const double aspect = h != 0 ? static_cast<double>(w) / h : 1.0;
    gluPerspective(60.0, aspect, 0.1, 10000.0);
  }
  glMatrixMode(GL_MODELVIEW);
  glEnable(GL_BLEND);
  glEnable(GL_LIGHTING);
  glEnable(GL_LIGHT0);
  glDisable(GL_ALPHA_TEST);
  glEnable(GL_DEPTH_TEST);
  glDisable(GL_STENCIL_TEST);
  glDisable(GL_SCISSOR_TEST);
  glEnable(GL_COLOR_MATERIAL);
  glEnable(GL_CULL_FACE);
  glCullFace(GL_BACK);
  glFrontFace(GL_CCW);
}

void SDLGameApp::drawCursor() {
  if (!cursorTexture_ || !cursorVisible_ || !graphics_) return;
  int x = 0;
  int y = 0;
  SDL_GetMouseState(&x, &y);
  x += cursorHotspot_.x;
  y += cursorHotspot_.y;
  if (cursorIdleTimer_.getElapsed() > 3000 && cursorAutoHideMode_ == 1 && cursorColor_.a == 255) {
    cursorColor_.a = 0;
  }
  graphics_->drawImage(x, y, cursorTexture_.get(), cursorColor_);
}

void SDLGameApp::handleWindowEvent(const SDL_WindowEvent& event) {
  const uint32_t id = event.windowID;
  switch (event.event) {
    case SDL_WINDOWEVENT_SHOWN: onWindowShown(id); break;
    case SDL_WINDOWEVENT_HIDDEN: onWindowHidden(id); break;
    case SDL_WINDOWEVENT_EXPOSED: onWindowExposed(id); break;
    case SDL_WINDOWEVENT_MOVED: onWindowMoved(id, event.data1, event.data2); break;
    case SDL_WINDOWEVENT_RESIZED: onWindowResized(id, event.data1, event.data2); break;
    case SDL_WINDOWEVENT_MINIMIZED:
      onMinimized();
      onWindowMinimizedHook(id);
      break;
    case SDL_WINDOWEVENT_MAXIMIZED:
      onRestored();
      onWindowMaximized(id);
      break;
    case SDL_WINDOWEVENT_RESTORED:
      onRestored();
      onWindowRestored(id);
      break;
    case SDL_WINDOWEVENT_ENTER: onWindowEnter(id); break;
    case SDL_WINDOWEVENT_LEAVE: onWindowLeave(id); break;
    case SDL_WINDOWEVENT_FOCUS_GAINED: onWindowFocusGained(id); break;
    case SDL_WINDOWEVENT_FOCUS_LOST: onWindowFocusLost(id); break;
    case SDL_WINDOWEVENT_CLOSE: onWindowClose(id); break;
    default: onWindowOther(id, event.event); break;
  }
}

void SDLGameApp::onMinimized() {
  if (!visible_) return;
  visible_ = false;
  active_ = false;
  timer_->pause();
  visitStates(StateOrder::BottomUp, StateFilter::ActiveOrAll,
              [&](GameState* state) { state->onMinimized(); });
  onPause();
}

void SDLGameApp::onRestored() {
  if (visible_) return;
  visible_ = true;
  active_ = true;
  timer_->resume();
  onResume();
  visitStates(StateOrder::BottomUp, StateFilter::ActiveOrAll,
              [&](GameState* state) { state->onRestored(); });
}

std::string SDLGameApp::takeScreenshot() {
  const std::string data = getUserDataFolder();
  if (data.empty()) {
    std::printf("ERROR: no user data folder; the screenshot was not saved\n");
    return std::string();
  }
  std::string folder = stripTrailingSlash(data) + "/";
  const std::string& save = AppConfig::instance()->getSaveFolder();
  if (!save.empty()) folder += stripTrailingSlash(save) + "/";
  folder += "ScreenShots/";
  makeDirectories(folder);
  struct stat st {};
  if (stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
    std::printf("ERROR: could not make the screenshot folder %s; the screenshot was not saved\n",
                folder.c_str());
    std::fflush(stdout);
    return std::string();
  }
  for (int n = 1; n <= 9998; ++n) {
    // The file holds PNG data, so it carries the PNG name.
    const std::string path = folder + "ScrShot" + std::to_string(n) + ".png";
    if (lstat(path.c_str(), &st) == 0) continue;
    saveScreenshot(path);
    return path;
  }
  return std::string();
}

void SDLGameApp::saveScreenshot(const std::string& path) {
  int width = screenWidth_;
  int height = screenHeight_;
  if (window_) SDL_GL_GetDrawableSize(window_, &width, &height);
  if (width <= 0 || height <= 0) return;
  const size_t rowBytes = static_cast<size_t>(width) * 4;
  std::vector<uint8_t> pixels(rowBytes * static_cast<size_t>(height));
  std::vector<uint8_t> flipped(pixels.size());
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  // OpenGL's first row is the bottom of the image.
  for (int row = 0; row < height; ++row) {
    std::copy_n(pixels.data() + rowBytes * static_cast<size_t>(height - 1 - row), rowBytes,
                flipped.data() + rowBytes * static_cast<size_t>(row));
  }
  // The window shows the frame opaque whatever alpha blending left in the buffer;
  // the picture must look the same.
  for (size_t i = 3; i < flipped.size(); i += 4) flipped[i] = 255;
  SDL_Surface* surface = SDL_CreateRGBSurfaceFrom(flipped.data(), width, height, 32,
                                                  static_cast<int>(rowBytes), 0x000000FF, 0x0000FF00,
                                                  0x00FF0000, 0xFF000000);
  if (!surface) return;
  // Written beside its name and renamed once whole: whoever watches the folder (a
  // player's viewer, the walk tests) never reads half a picture.
  const std::string partial = path + ".part";
  if (IMG_SavePNG(surface, partial.c_str()) != 0) {
    std::printf("ERROR: could not write the screenshot %s: %s\n", path.c_str(), SDL_GetError());
    std::fflush(stdout);
    std::remove(partial.c_str());
  } else if (std::rename(partial.c_str(), path.c_str()) != 0) {
    std::printf("ERROR: could not name the screenshot %s: %s\n", path.c_str(), std::strerror(errno));
    std::fflush(stdout);
    std::remove(partial.c_str());
  }
  SDL_FreeSurface(surface);
}

void SDLGameApp::exitAllStates() {
  visitStates(StateOrder::TopDown, StateFilter::OnStack,
              [&](GameState* state) { state->exitHook(); });
}

void SDLGameApp::runQuitPath() {
  exitAllStates();
  onQuit();
  quit();
}

void SDLGameApp::quit() {
  ParticleEngine::instance()->clear();
  if (audioOpen_) {
    Mix_ChannelFinished(nullptr);
    Mix_CloseAudio();
    audioOpen_ = false;
  }
  ResourceManager::setAudioClosed(true);
  destroyWindow();
  SDL_Quit();
  quitDone_ = true;
  exitProcess(0);
}
