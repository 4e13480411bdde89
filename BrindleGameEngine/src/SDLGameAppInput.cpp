// Keyboard, pointer, joystick and pinch input: SDL events to the engine's records.
#include <algorithm>
#include <iostream>
#include <limits>

#include "AppConfig.h"
#include "GameState.h"
#include "InputListener.h"
#include "KeyEvent.h"
#include "PointingDeviceEvent.h"
#include "FrameStep.h"
#include "SDLGameApp.h"
#include "SystemStatsScreen.h"

void SDLGameApp::handleEvent(const SDL_Event& event) {
  switch (event.type) {
    case SDL_QUIT:
      requestQuit();
      break;
    case SDL_WINDOWEVENT:
      handleWindowEvent(event.window);
      break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      handleKey(event);
      break;
    case SDL_MOUSEMOTION:
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
    case SDL_MOUSEWHEEL:
      cursorIdleTimer_.start();
      cursorColor_.a = 255;
      handleMouse(event);
      break;
    case SDL_JOYAXISMOTION:
    case SDL_JOYBALLMOTION:
    case SDL_JOYHATMOTION:
    case SDL_JOYBUTTONDOWN:
    case SDL_JOYBUTTONUP:
      handleJoystick(event);
      break;
    case SDL_JOYDEVICEADDED:
      initJoysticks();
      onJoystickAdded();
      break;
    case SDL_JOYDEVICEREMOVED:
      removeJoystick(event.jdevice.which);
      break;
    case SDL_MULTIGESTURE:
      if (event.mgesture.numFingers == 2) {
        PinchZoomEvent pinch;
        pinch.previousScale = pinch_.scale;
        pinch.scale = pinch_.scale + event.mgesture.dDist;
        pinch.delta = event.mgesture.dDist;
        if (!pinchInProgress_) {
          pinchInProgress_ = true;
          const AppConfig* config = AppConfig::instance();
          pinchCenter_ = Point2i(static_cast<int>(event.mgesture.x * config->getWidth()),
                                 static_cast<int>(event.mgesture.y * config->getHeight()));
          pinch.phase = PinchZoomEvent::Began;
          pinch_.centerX = pinchCenter_.x;
          pinch_.centerY = pinchCenter_.y;
          pinch_.phase = PinchZoomEvent::Began;
        } else {
          pinch.phase = PinchZoomEvent::Continuing;
        }
        pinch.centerX = pinchCenter_.x;
        pinch.centerY = pinchCenter_.y;
        handlePinch(pinch);
        pinch_.previousScale = pinch.previousScale;
        pinch_.scale = pinch.scale;
        pinch_.delta = pinch.delta;
        pinch_.phase = pinch.phase;
      }
      break;
    default:
      break;
  }
}

char SDLGameApp::translateKey(int32_t key) {
  // Only codes that are characters translate; F-keys and arrows have no character.
  if (key < 0 || key > 0xFF) return 0;
  return static_cast<char>(key);
}

void SDLGameApp::buildShiftKeyMap() {
  shiftKeyMap_.clear();
  for (int32_t c = 'a'; c <= 'z'; ++c) shiftKeyMap_[c] = c - 32;
  static const char* const pairs[] = {"1!", "2@", "3#", "4$", "5%", "6^", "7&", "8*", "9(", "0)",
                                      "-_", "=+", "[{", "]}", "\\|", ";:", "'\"", "`~", ",<", ".>",
                                      "/?"};
  for (const char* pair : pairs) shiftKeyMap_[pair[0]] = pair[1];
}

int32_t SDLGameApp::applyShiftMap(int32_t key, uint16_t modifiers) const {
  if ((modifiers & KMOD_SHIFT) == 0) return key;
  const auto it = shiftKeyMap_.find(key);
  return it == shiftKeyMap_.end() ? key : it->second;
}

void SDLGameApp::handleKey(const SDL_Event& event) {
  const SDL_KeyboardEvent& k = event.key;
  KeyEvent keyEvent;
  auto fill = [&](int kind) {
    keyEvent.keyFromScancode = SDL_GetKeyFromScancode(k.keysym.scancode);
    keyEvent.scancode = k.keysym.scancode;
    keyEvent.kind = kind;
    keyEvent.key = k.keysym.sym;
    keyEvent.modifiers = k.keysym.mod;
    keyEvent.shiftedKey = applyShiftMap(keyEvent.keyFromScancode, k.keysym.mod);
    keyEvent.character = translateKey(keyEvent.shiftedKey);
  };

  if (k.state == SDL_RELEASED) {
    fill(KeyEvent::Released);
  } else if (k.state == SDL_PRESSED) {
    std::cout << "key sym=" << k.keysym.sym << ", kmod =" << k.keysym.mod << std::endl;
    if (k.keysym.sym == SDLK_F4 && (k.keysym.mod & KMOD_ALT)) {
      requestQuit();
    } else if (k.keysym.sym == SDLK_F8) {
      screenshotPending_ = true;  // written once this frame has been drawn
    } else if (k.keysym.sym == SDLK_BACKQUOTE && (k.keysym.mod & KMOD_CTRL)) {
      // The states see an empty event.
      GameState* top = topState();
      if (!quitRequested_ && top && !dynamic_cast<SystemStatsScreen*>(top)) {
        changeState(new SystemStatsScreen());
      }
    } else {
      fill(KeyEvent::Pressed);
      if (keyEvent.shiftedKey == SDLK_AC_BACK) requestImmediateQuit();
    }
  } else {
    return;
  }
  dispatchKeyToStates(keyEvent);
}

void SDLGameApp::addInputListener(InputListener* listener) {
  if (listener) inputListeners_.push_back(listener);
}

void SDLGameApp::removeInputListener(InputListener* listener) {
  inputListeners_.erase(std::remove(inputListeners_.begin(), inputListeners_.end(), listener),
                        inputListeners_.end());
}

void SDLGameApp::dispatchKeyToStates(const KeyEvent& event) {
  const std::vector<InputListener*> listeners = inputListeners_;
  for (auto it = listeners.rbegin(); it != listeners.rend(); ++it) (*it)->onKeyEvent(event);
  visitStates(StateOrder::TopDown, StateFilter::Active,
              [&](GameState* state) { state->onKeyEvent(event); });
}

namespace {
int toDesign(int windowCoordinate, float scale) {
  // A zero scale would come from a zero-sized window; treat it as unscaled.
  if (!(scale > 0.0f)) return windowCoordinate;
  return static_cast<int>(static_cast<float>(windowCoordinate) / scale);
}

int buttonBit(uint8_t sdlButton) {
  switch (sdlButton) {
    case SDL_BUTTON_LEFT: return PointingDeviceEvent::Left;
    case SDL_BUTTON_RIGHT: return PointingDeviceEvent::Right;
    case SDL_BUTTON_MIDDLE: return PointingDeviceEvent::Middle;
    default: return 0;
  }
}

int buttonBits(uint32_t sdlState) {
  int bits = 0;
  if (sdlState & SDL_BUTTON_LMASK) bits |= PointingDeviceEvent::Left;
  if (sdlState & SDL_BUTTON_RMASK) bits |= PointingDeviceEvent::Right;
  if (sdlState & SDL_BUTTON_MMASK) bits |= PointingDeviceEvent::Middle;
  return bits;
}

constexpr uint64_t kNoClickYet = std::numeric_limits<uint64_t>::max();
}  // namespace

void SDLGameApp::handleMouse(const SDL_Event& event) {
  PointingDeviceEvent out;
  switch (event.type) {
    case SDL_MOUSEMOTION: {
      out.kind = PointingDeviceEvent::Moved;
      out.dx = event.motion.xrel;
      out.dy = event.motion.yrel;
      out.x = toDesign(event.motion.x, scaleX_);
      out.y = toDesign(event.motion.y, scaleY_);
      out.buttons = buttonBits(event.motion.state);
      lastPressX_ = lastPressY_ = lastReleaseX_ = lastReleaseY_ = kUndefined;
      setMousePosition(out.x, out.y);
      break;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      const bool down = event.type == SDL_MOUSEBUTTONDOWN;
      out.buttons = buttonBit(event.button.button);
      out.x = toDesign(event.button.x, scaleX_);
      out.y = toDesign(event.button.y, scaleY_);
      // Every button event, down or up, counts towards a multi-click.
      const uint64_t now = engineTicks();
      const bool quick = lastClickTicks_ != kNoClickYet && now - lastClickTicks_ < kDoubleClickMs;
      clickCount_ = quick ? clickCount_ + 1 : 1;
      lastClickTicks_ = now;
      if (displayMode_ == 1) {
        const Point2i stored = getMousePosition();
        out.x = stored.x;
        out.y = stored.y;
      }
      std::cout << "CLICK - mouse [x,y] = " << out.x << "," << out.y << std::endl;
      if (down) {
        out.kind = PointingDeviceEvent::Pressed;
        out.clicks = clickCount_;
        lastPressX_ = static_cast<float>(out.x);
        lastPressY_ = static_cast<float>(out.y);
        lastReleaseX_ = lastReleaseY_ = kUndefined;
      } else {
        out.kind = PointingDeviceEvent::Released;
        out.clicks = 1;
        lastReleaseX_ = static_cast<float>(out.x);
        lastReleaseY_ = static_cast<float>(out.y);
        lastPressX_ = lastPressY_ = kUndefined;
      }
      setMousePosition(out.x, out.y);
      break;
    }
    case SDL_MOUSEWHEEL:
      out.kind = event.wheel.y >= 1 ? PointingDeviceEvent::WheelUp : PointingDeviceEvent::WheelDown;
      out.x = event.wheel.x;
      out.y = event.wheel.y;
      out.buttons = static_cast<int>(event.wheel.which);
      out.clicks = 0;
      break;
    default:
      return;
  }
  dispatchMouseToStates(out);
}

void SDLGameApp::dispatchMouseToStates(const PointingDeviceEvent& event) {
  visitStates(StateOrder::TopDown, StateFilter::Active,
              [&](GameState* state) { state->onPointingDeviceEvent(event); });
}

void SDLGameApp::handleJoystick(const SDL_Event& event) {
  JoystickEvent out;
  out.type = static_cast<int32_t>(event.type);
  switch (event.type) {
    case SDL_JOYAXISMOTION:
      out.which = event.jaxis.which;
      out.axis = event.jaxis.axis;
      out.axisValue = event.jaxis.value;
      std::cout << "joy axis motion [axis=" << out.axis << "] move=" << out.axisValue << std::endl;
      break;
    case SDL_JOYBALLMOTION:
      out.which = event.jball.which;
      out.ball = event.jball.ball;
      out.ballDx = event.jball.xrel;
      out.ballDy = event.jball.yrel;
      std::cout << "joy ball motion [ball=" << out.ball << "] move=[" << out.ballDx << ", "
                << out.ballDy << "]" << std::endl;
      break;
    case SDL_JOYHATMOTION:
      out.which = event.jhat.which;
      out.hat = event.jhat.hat;
      out.hatValue = event.jhat.value;
      std::cout << "joy hat motion [hat=" << out.hat << "] move=[" << out.hatValue << "]" << std::endl;
      break;
    case SDL_JOYBUTTONDOWN:
    case SDL_JOYBUTTONUP:
      out.which = event.jbutton.which;
      out.button = event.jbutton.button;
      std::cout << "joy button event [button=" << out.button << "] state=["
                << static_cast<int>(event.jbutton.state) << "]" << std::endl;
      break;
    default:
      return;
  }
  out.joystick = SDL_JoystickFromInstanceID(out.which);
  dispatchJoystickToStates(out);
  lastJoystickEvent_ = out;
}

void SDLGameApp::dispatchJoystickToStates(const JoystickEvent& event) {
  visitStates(StateOrder::TopDown, StateFilter::Active,
              [&](GameState* state) { state->onJoystickEvent(event); });
}

void SDLGameApp::handlePinch(const PinchZoomEvent& event) { dispatchPinchToStates(event); }

void SDLGameApp::dispatchPinchToStates(const PinchZoomEvent& event) {
  visitStates(StateOrder::TopDown, StateFilter::Active,
              [&](GameState* state) { state->onPinchZoomEvent(event); });
}
