#include "SDLGameApp.h"

#include <GL/glew.h>
#include <SDL_image.h>
#include <SDL_mixer.h>

#include <cstdio>
#include <cstring>
#include <iostream>

#include "AppCore.h"
#include "DisplayConfigurations.h"
#include "EventScript.h"
#include "GLGraphics.h"
#include "GameState.h"
#include "Log.h"
#include "ProcessExit.h"
#include "ResourceManager.h"
#include "SoundSystem.h"
#include "Texture.h"
#include "shader/GLSupport.h"
#include "shader/glShaderManager.h"
#include "xRenderingContext.h"

namespace {
SDLGameApp* g_sdlGameApp = nullptr;

// The mixer reports finished channels on its own thread.
void channelFinishedCallback(int channel) { SDLGameApp::queueFinishedChannel(channel); }

const char* const kControllerConfig =
    "6d0416c2000000000000504944564944,Generic DirectInput Controller,a:b1,b:b2,back:b8,"
    "dpdown:h0.4,dpleft:h0.8,dpright:h0.2,dpup:h0.1,leftshoulder:b4,leftstick:b10,"
    "lefttrigger:b6,leftx:a0,lefty:a1,rightshoulder:b5,rightstick:b11,righttrigger:b7,"
    "rightx:a2,righty:a3,start:b9,x:b0,y:b3";
}  // namespace

SDLGameApp* SDLGameApp::instance() { return g_sdlGameApp; }

SDLGameApp::SDLGameApp() {
  createGlobalResourceManager();
  graphics_ = std::make_unique<GLGraphics>();
  g_sdlGameApp = this;
  appCore_ = std::make_unique<AppCore>();
  buildShiftKeyMap();

  const int imgFlags = IMG_Init(IMG_INIT_JPG | IMG_INIT_PNG | IMG_INIT_WEBP);
  Log().info() << "IMG_Init result " << imgFlags;
  const int mixFlags = Mix_Init(MIX_INIT_MP3);
  Log().info() << "MixInit: " << mixFlags;
}

SDLGameApp::~SDLGameApp() {
  // States free their textures, so they go while the GL context still exists.
  releaseStates();
  if (audioOpen_) {
    Mix_ChannelFinished(nullptr);
    Mix_CloseAudio();
    audioOpen_ = false;
  }
  eventScript_.reset();
  displayConfigurations_.reset();
  closeJoysticks();
  destroyWindow();
  graphics_.reset();
  soundSystem_.reset();
  icon_.reset();
  appCore_.reset();
  cursorTexture_.reset();
  globalResourceManager_.reset();
  IMG_Quit();
  Mix_Quit();
  if (g_sdlGameApp == this) g_sdlGameApp = nullptr;
}

bool SDLGameApp::windowedRequested(int argc, const char* const* argv) {
  if (argc <= 1) return false;
  for (int i = 0; i < argc; ++i) {
    if (argv[i] && std::strcmp(argv[i], "-windowed") == 0) return true;
  }
  return false;
}

void SDLGameApp::init() {
  if (appCore_) appCore_->init();
  // EGL-only displays answer "no GLX display" with every entry point loaded.
  const GLenum glew = glewInit();
  if (glew != GLEW_OK && glew != GLEW_ERROR_NO_GLX_DISPLAY) {
    std::cout << "glewInit failed: " << glewGetErrorString(glew) << std::endl;
  }
  if (!shaderManager_ && gsx::initGLExtensions() && gsx::isGLSLAvailable()) {
    shaderManager_ = std::make_unique<gsx::glShaderManager>();
  }
}

void SDLGameApp::initSDL() {
  if (SDL_Init(SDL_INIT_TIMER | SDL_INIT_AUDIO | SDL_INIT_VIDEO | SDL_INIT_GAMECONTROLLER) != 0) {
    fatalStartupError(0, "SDL_Init");
  }
  watchHangUp();
}

void SDLGameApp::initAudio() {
  if (Mix_OpenAudio(44100, AUDIO_S16LSB, 2, 1024) != 0) {
    onError(1);
    Log().error() << "Unable to open audio!";
    audioOpen_ = false;
    return;
  }
  soundSystem_.reset();
  soundSystem_ = std::make_unique<SDLSoundSystem>();
  audioOpen_ = true;
  const int channels = Mix_AllocateChannels(16);
  std::cout << "Sound system allocated [" << channels << "] audio channels for mixing." << std::endl;
  Mix_ChannelFinished(&channelFinishedCallback);
}

void SDLGameApp::fatalStartupError(int code, const char* what) {
  onError(code);
  // Running on without SDL or a GL context only crashes later; say why and stop.
  std::fprintf(stderr, "ERROR: %s failed: %s\n", what, SDL_GetError());
  exitProcess(1);
}

void SDLGameApp::setDisplayMode(int width, int height, bool fullScreen) {
  setScreenSize(width, height);
  fullScreen_ = fullScreen;
  displayMode_ = fullScreen ? 0 : 2;
}

void SDLGameApp::setWindowTitle(const std::string& title) {
  caption_ = title;
  if (window_) SDL_SetWindowTitle(window_, caption_.c_str());
}

void SDLGameApp::setCursorTexture(Texture* texture) {
  if (texture != cursorTexture_.get()) cursorTexture_.reset(texture);
}

void SDLGameApp::setEventScript(EventScript* script) {
  if (script != eventScript_.get()) eventScript_.reset(script);
}

void SDLGameApp::setDisplayConfigurations(DisplayConfigurations* configurations) {
  if (configurations != displayConfigurations_.get()) displayConfigurations_.reset(configurations);
}

bool SDLGameApp::changeWindowMode(int width, int height, bool fullScreen) {
  (void)width;
  (void)height;
  (void)fullScreen;
  return true;
}

void SDLGameApp::actionFinished(int id) {
  if (id == 1) onActionOne();
  else if (id == 0) onActionZero();
}

void SDLGameApp::unloadContextResources() {
  if (globalResourceManager_) globalResourceManager_->unloadAll(ResourceManager::TexturesAndFonts);
  if (cursorTexture_) cursorTexture_->unload();
  visitStates(StateOrder::BottomUp, StateFilter::OnStack,
              [&](GameState* state) { state->onContextLost(); });
}

void SDLGameApp::reloadContextResources() {
  if (globalResourceManager_) globalResourceManager_->reloadAll(ResourceManager::TexturesAndFonts);
  if (cursorTexture_) cursorTexture_->reload();
  visitStates(StateOrder::TopDown, StateFilter::OnStack,
              [&](GameState* state) { state->onContextRestored(); });
}

void SDLGameApp::destroyWindow() {
  // GL programs can only be deleted while their context exists.
  shaderManager_.reset();
  if (glContext_) {
    SDL_GL_DeleteContext(glContext_);
    glContext_ = nullptr;
  }
  if (window_) {
    SDL_DestroyWindow(window_);
    window_ = nullptr;
  }
}

void SDLGameApp::createWindow(uint32_t extraWindowFlags) {
  beforeCreateWindow(fullScreen_);

  // The old context's textures can only be freed while it is still current.
  const bool recreating = window_ != nullptr;
  if (recreating) {
    if (glContext_) SDL_GL_MakeCurrent(window_, glContext_);
    unloadContextResources();
    destroyWindow();
  }

  SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
  SDL_GL_SetAttribute(SDL_GL_ACCELERATED_VISUAL, 1);
  // Immediate-mode drawing needs a compatibility context; outlines need a stencil.
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);

  SDL_SetHint("SDL_GAMECONTROLLERCONFIG", kControllerConfig);
  SDL_SetHint("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1");
  SDL_SetHint("SDL_IOS_ORIENTATIONS", "Portrait PortraitUpsideDown LandscapeLeft LandscapeRight");

  uint32_t flags = SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN | SDL_WINDOW_ALLOW_HIGHDPI;
  if (fullScreen_) flags |= SDL_WINDOW_FULLSCREEN | SDL_WINDOW_BORDERLESS;
  flags |= extraWindowFlags;

  window_ = SDL_CreateWindow(caption_.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                             screenWidth_, screenHeight_, flags);
  if (!window_) {
    fatalStartupError(2, "SDL_CreateWindow");
    return;
  }
  glContext_ = SDL_GL_CreateContext(window_);
  if (!glContext_) {
    fatalStartupError(2, "SDL_GL_CreateContext");
    return;
  }
  SDL_GL_MakeCurrent(window_, glContext_);

  int red = 0, green = 0, blue = 0, alpha = 0, depth = 0, doubleBuffer = 0, stencil = 0;
  SDL_GL_GetAttribute(SDL_GL_RED_SIZE, &red);
  SDL_GL_GetAttribute(SDL_GL_GREEN_SIZE, &green);
  SDL_GL_GetAttribute(SDL_GL_BLUE_SIZE, &blue);
  SDL_GL_GetAttribute(SDL_GL_ALPHA_SIZE, &alpha);
  SDL_GL_GetAttribute(SDL_GL_DEPTH_SIZE, &depth);
  SDL_GL_GetAttribute(SDL_GL_DOUBLEBUFFER, &doubleBuffer);
  SDL_GL_GetAttribute(SDL_GL_STENCIL_SIZE, &stencil);
  std::printf("Red size: %d\nGreen size: %d\nBlue size: %d\nAlpha size: %d\nDepth size: %d\n"
              "Double buffer: %d\nStencil size: %d\n",
              red, green, blue, alpha, depth, doubleBuffer, stencil);
  std::fflush(stdout);

  int width = screenWidth_;
  int height = screenHeight_;
  if (displayConfigurations_ && displayConfigurations_->getCurrentResolution()) {
    width = displayConfigurations_->getCurrentResolution()->width;
    height = displayConfigurations_->getCurrentResolution()->height;
  }
  graphics_->setup2D(width, height, 1000);
  if (gsx::isGLSLAvailable()) {
    shaderManager_ = std::make_unique<gsx::glShaderManager>();
    if (!shaderListPath_.empty()) loadShaders(shaderListPath_);
  }

  if (fullScreen_) {
    Log().info() << "switching to full screen";
  } else {
    Log().info() << "opened a window of " << screenWidth_ << "x" << screenHeight_;
  }
  if (recreating) reloadContextResources();
  if (appCore_) appCore_->getRenderingContext()->init();
  changeWindowMode(screenWidth_, screenHeight_, fullScreen_);
}

void SDLGameApp::loadShaders(const std::string& path) {
  // Needs the shader manager, which exists only where GLSL is usable.
  if (!shaderManager_) return;
  if (gsx::loadShaderList(*shaderManager_, path.c_str()) >= 0) shaderListPath_ = path;
}
