#pragma once
#include <SDL.h>

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "Color.h"
#include "GameApp.h"
#include "PinchZoomEvent.h"
#include "JoystickButtonMapping.h"
#include "JoystickEvent.h"
#include "JoystickTables.h"
#include "PhysicsMath.h"
#include "Timer.h"
#include "tinyaction/ActionListener.h"

class Graphics;
class GLGraphics;
class Texture;
class DisplayConfigurations;
class InputListener;
class AppCore;
class EventScript;
struct KeyEvent;
struct PointingDeviceEvent;
namespace gsx { class glShaderManager; }

// The application bound to SDL2: window and GL context, audio, input, the
// software cursor and the frame loop.
class SDLGameApp : public GameApp, public bge::ActionListener {
 public:
  SDLGameApp();
  ~SDLGameApp() override;

  // The one SDL application, or null.
  static SDLGameApp* instance();

  // --- start-up ---
  // True when the command line holds exactly "-windowed". With arguments, every
  // entry is compared, the program name included; the name alone never counts.
  static bool windowedRequested(int argc, const char* const* argv);
  virtual void init();
  // Initialises SDL and, like SIGINT and SIGTERM, makes SIGHUP a quit request.
  void initSDL();
  static void watchHangUp();
  static bool hangUpReceived();
  void initAudio();
  void setDisplayMode(int width, int height, bool fullScreen);
  void createWindow(uint32_t extraWindowFlags = 0);
  void setWindowTitle(const std::string& title);
  const std::string& getWindowTitle() const { return caption_; }
  void setCursorTexture(Texture* texture);
  SDL_Window* window() const { return window_; }
  bool isAudioOpen() const { return audioOpen_; }

  // --- the frame loop ---
  // Runs frames until the quit path has ended the process.
  virtual void run();
  // One pass of the loop; false once the quit path ran (only seen when a test's
  // exit hook returns instead of ending the process).
  bool runFrame();
  void pollEvents();
  void handleEvent(const SDL_Event& event);
  void waitForWindowEvent();
  void stepPhysics(float step);
  virtual void update(int dt);
  virtual void render();
  void quit();
  bool isWindowActive() const { return active_; }
  bool isWindowVisible() const { return visible_; }
  void setFrameLimit(bool on) { frameLimit_ = on; }
  // Takes ownership; its events are queued at the start of the frames it names.
  void setEventScript(EventScript* script);
  int frameNumber() const { return frameNumber_; }

  // --- input ---
  virtual char translateKey(int32_t key);
  virtual void buildShiftKeyMap();
  int32_t applyShiftMap(int32_t key, uint16_t modifiers) const;
  void handleKey(const SDL_Event& event);
  virtual void handleMouse(const SDL_Event& event);
  virtual void handleJoystick(const SDL_Event& event);
  virtual void handlePinch(const PinchZoomEvent& event);
  void handleWindowEvent(const SDL_WindowEvent& event);
  virtual void dispatchMouseToStates(const PointingDeviceEvent& event);
  void dispatchKeyToStates(const KeyEvent& event);
  void dispatchJoystickToStates(const JoystickEvent& event);
  void dispatchPinchToStates(const PinchZoomEvent& event);
  // Listeners hear key events before the states, last registered first. Not owned.
  void addInputListener(InputListener* listener);
  void removeInputListener(InputListener* listener);
  const PinchZoomEvent& pinchRecord() const { return pinch_; }
  const JoystickEvent& lastJoystickEvent() const { return lastJoystickEvent_; }

  // --- joysticks (SDLGameAppJoysticks.cpp) ---
  // Opens every attached joystick not yet open, with rumble and its mapping.
  void initJoysticks();
  void readJoystickMapping(const std::string& mapping);
  // A device was unplugged: its handles are closed and forgotten.
  void removeJoystick(SDL_JoystickID instance);
  void closeJoysticks();
  const JoystickButtonMapping& joystickMapping() const { return joystickMapping_; }
  const JoystickTables& joystickTables() const { return joysticks_; }
  int clickCount() const { return clickCount_; }

  // --- window state ---
  void onMinimized();
  void onRestored();

  // --- screenshots ---
  // Writes the next free ScreenShots/ScrShot<n>.png from the current back
  // buffer; returns its path, or empty. F8 asks for one at the end of the frame.
  std::string takeScreenshot();
  bool isScreenshotPending() const { return screenshotPending_; }
  virtual void saveScreenshot(const std::string& path);

  // --- audio ---
  // Safe to call from the mixer's thread: the channel is queued for the main thread.
  static void queueFinishedChannel(int channel);
  // Main thread: hands every queued channel to the states.
  void deliverFinishedChannels();
  virtual void onChannelFinished(int channel);

  // --- hooks and slots the game may override ---
  virtual void loadShaders(const std::string& path);
  virtual void exitAllStates();
  virtual void onResume() {}
  virtual void onPause() {}
  virtual void onFrame(int dt) { (void)dt; }
  virtual void beforeRenderStates(Graphics* graphics) { (void)graphics; }
  virtual void afterRenderStates(Graphics* graphics) { (void)graphics; }
  virtual void afterRender(Graphics* graphics) { (void)graphics; }
  virtual void onError(int code) { (void)code; }
  virtual void onJoystickRemoved() {}
  virtual void onJoystickAdded() {}
  virtual void onActionOne() {}
  virtual void onActionZero() {}
  virtual void showCursor() { cursorVisible_ = true; }
  virtual void hideCursor() { cursorVisible_ = false; }
  virtual void beforeCreateWindow(bool fullScreen) { (void)fullScreen; }
  virtual bool changeWindowMode(int width, int height, bool fullScreen);
  // Actions started with the application as listener: id 1 and id 0 have hooks.
  void actionFinished(int id) override;

  // Window-event hooks, one per SDL window event kind.
  virtual void onWindowShown(uint32_t windowId) { (void)windowId; }
  virtual void onWindowHidden(uint32_t windowId) { (void)windowId; }
  virtual void onWindowExposed(uint32_t windowId) { (void)windowId; }
  virtual void onWindowMoved(uint32_t windowId, int x, int y) { (void)windowId; (void)x; (void)y; }
  virtual void onWindowResized(uint32_t windowId, int w, int h) { (void)windowId; (void)w; (void)h; }
  virtual void onWindowMinimizedHook(uint32_t windowId) { (void)windowId; }
  virtual void onWindowMaximized(uint32_t windowId) { (void)windowId; }
  virtual void onWindowRestored(uint32_t windowId) { (void)windowId; }
  virtual void onWindowEnter(uint32_t windowId) { (void)windowId; }
  virtual void onWindowLeave(uint32_t windowId) { (void)windowId; }
  virtual void onWindowFocusGained(uint32_t windowId) { (void)windowId; }
  virtual void onWindowFocusLost(uint32_t windowId) { (void)windowId; }
  virtual void onWindowClose(uint32_t windowId) { (void)windowId; }
  virtual void onWindowOther(uint32_t windowId, int kind) { (void)windowId; (void)kind; }

  // --- accessors ---
  GLGraphics* getGraphics() const { return graphics_.get(); }
  DisplayConfigurations* getDisplayConfigurations() const { return displayConfigurations_.get(); }
  // Takes ownership; the previous one is deleted.
  void setDisplayConfigurations(DisplayConfigurations* configurations);
  bool isFullScreen() const { return fullScreen_; }
  int getDisplayMode() const { return displayMode_; }
  bool is3D() const { return threeD_; }
  void set3D(bool on) { threeD_ = on; }
  AppCore* getAppCore() const { return appCore_.get(); }

 protected:
  void setup2DProjection();
  void setup3DProjection();
  void drawCursor();
  void unloadContextResources();
  void reloadContextResources();
  void destroyWindow();
  void fatalStartupError(int code, const char* what);
  void runQuitPath();

  struct SurfaceFree {
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
  };

  // The destructor frees every owned member itself, in the order the GL context,
  // the mixer and SDL need; declaration order does not matter here.
  std::unique_ptr<GLGraphics> graphics_;
  std::unique_ptr<Texture> cursorTexture_;
  bool cursorVisible_ = true;
  bool audioOpen_ = false;
  std::unique_ptr<DisplayConfigurations> displayConfigurations_;
  std::unique_ptr<SDL_Surface, SurfaceFree> icon_;
  std::string caption_ = "BrindleGameEngine app";
  bool frameLimit_ = true;
  bool fullScreen_ = false;
  int displayMode_ = -1;
  // Both released by destroyWindow, the shaders first, then the context, then the
  // window: kept bare so that order stays in one place.
  SDL_Window* window_ = nullptr;
  SDL_GLContext glContext_ = nullptr;
  std::map<int32_t, int32_t> shiftKeyMap_;
  bool pinchInProgress_ = false;
  PinchZoomEvent pinch_;
  Point2i pinchCenter_;
  Point2i cursorHotspot_;
  JoystickEvent lastJoystickEvent_;
  JoystickButtonMapping joystickMapping_;
  JoystickTables joysticks_;
  Color cursorColor_ = Color::white;
  Timer cursorIdleTimer_;
  int cursorAutoHideMode_ = 0;
  std::unique_ptr<AppCore> appCore_;
  bool threeD_ = false;
  std::unique_ptr<gsx::glShaderManager> shaderManager_;
  std::string shaderListPath_;
  // Design-space positions of the last press and release; the undefined value
  // when the other was recorded since or the pointer moved.
  static constexpr float kUndefined = QuillonPHX2D::QLN_UNSET;
  float lastPressX_ = kUndefined, lastPressY_ = kUndefined;
  float lastReleaseX_ = kUndefined, lastReleaseY_ = kUndefined;

  std::vector<InputListener*> inputListeners_;  // not owned: whoever registered them
  uint32_t lastFrameStamp_ = 0;
  bool loopStarted_ = false;
  bool visible_ = true;
  bool active_ = true;
  uint64_t lastClickTicks_ = UINT64_MAX;  // no click yet
  int clickCount_ = 1;
  bool quitDone_ = false;
  std::unique_ptr<EventScript> eventScript_;
  int frameNumber_ = 0;
  bool screenshotPending_ = false;
};
