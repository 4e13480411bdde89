// Joysticks and game controllers: opening, mappings, rumble, unplugging.
#include <climits>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "RegularFile.h"
#include "SDLGameApp.h"
#include "Utilities.h"

namespace {

const char* const kMappingDatabase = "content/config/gamepadconfigs.txt";
const char* const kFallbackMapping =
    "00000000000000000000000000000000,X360 Controller,a:b0,b:b1,back:b8,dpdown:b16,dpleft:b13,"
    "dpright:b14,dpup:b15,guide:b10,leftshoulder:b4,leftstick:b11,lefttrigger:b6,leftx:a0,"
    "lefty:a1,rightshoulder:b5,rightstick:b12,righttrigger:b7,rightx:a2,righty:a3,start:b9,"
    "x:b2,y:b3";
const char* const kDashes = "--------------------------------------------------";

std::string sdlText(const char* text) { return text ? text : ""; }

// The raw button or axis number after a binding's letter. A number no device
// can have (negative, or beyond int) leaves the binding unbound rather than
// handing the event code an index it would read outside its tables with.
int rawIndex(const std::string& binding) {
  const long value = std::strtol(binding.c_str() + 1, nullptr, 10);
  return value < 0 || value > INT_MAX ? -1 : static_cast<int>(value);
}

}  // namespace

void SDLGameApp::initJoysticks() {
  const int count = SDL_NumJoysticks();
  std::cout << kDashes << "\n";
  std::cout << "Joysticks detected and registered = " << count << "\n";
  std::string mappings;
  const bge::FileReadResult read = bge::readRegularFile(kMappingDatabase, bge::kMaxContentFileBytes, mappings);
  int loaded = -1;
  if (read != bge::FileReadResult::Read) {
    std::cout << "ERROR: the game-controller mappings " << kMappingDatabase << " "
              << bge::describeFileRead(read, bge::kMaxContentFileBytes) << "\n";
  } else {
    loaded = SDL_GameControllerAddMappingsFromRW(
        SDL_RWFromConstMem(mappings.data(), static_cast<int>(mappings.size())), 1);
    if (loaded < 0) {
      std::cout << "ERROR: the game-controller mappings " << kMappingDatabase
                << " could not be read: " << sdlText(SDL_GetError()) << "\n";
    }
  }
  std::cout << "GamePad mappings loaded from database = " << loaded << "\n";

  for (int i = 0; i < count; ++i) {
    const SDL_JoystickID instance = SDL_JoystickGetDeviceInstanceID(i);
    // A device we hold already keeps its handle: opening it again would leak a reference.
    if (instance < 0 || joysticks_.joysticks.count(instance)) continue;
    SDL_Joystick* joystick = SDL_JoystickOpen(i);
    if (!joystick) continue;
    joysticks_.joysticks[instance] = joystick;

    if (SDL_Haptic* haptic = SDL_HapticOpenFromJoystick(joystick)) {
      if (SDL_HapticRumbleInit(haptic) == 0) {
        joysticks_.haptics[instance] = haptic;
      } else {
        std::cout << "Warning: Unable to initialize rumble! SDL Error: " << SDL_GetError() << "\n";
        SDL_HapticClose(haptic);
      }
    } else {
      std::cout << "Warning: Controller does not support haptics! SDL Error: " << SDL_GetError()
                << "\n";
    }
    const std::string prefix = "JOYSTICK #" + std::to_string(i);
    std::cout << prefix << " - NAME =" << sdlText(SDL_JoystickName(joystick)) << "\n";
    std::cout << prefix << " - SDL_JoystickNumAxes =" << SDL_JoystickNumAxes(joystick) << "\n";
    std::cout << prefix << " - SDL_JoystickNumBalls =" << SDL_JoystickNumBalls(joystick) << "\n";
    std::cout << prefix << " - SDL_JoystickNumHats =" << SDL_JoystickNumHats(joystick) << "\n";
    std::cout << prefix << " - SDL_JoystickNumButtons =" << SDL_JoystickNumButtons(joystick)
              << "\n";

    if (SDL_GameController* controller = SDL_GameControllerOpen(i)) {
      joysticks_.controllers[instance] = controller;
      std::cout << "GAMEPAD #" << i << " - NAME =" << sdlText(SDL_GameControllerName(controller))
                << "\n";
    } else {
      std::cout << "GAMEPAD #" << i
                << " not detected as gamepad but I will try to read the mappings.\n";
    }

    joystickMapping_.setName(sdlText(SDL_JoystickName(joystick)));
    SDL_JoystickGUID guid = SDL_JoystickGetGUID(joystick);
    char* mapping = SDL_GameControllerMappingForGUID(guid);
    if (!mapping) {
      // The database may hold a generic entry under the all-zero GUID.
      SDL_memset(guid.data, 0, sizeof guid.data);
      mapping = SDL_GameControllerMappingForGUID(guid);
    }
    readJoystickMapping(mapping ? mapping : kFallbackMapping);
    if (mapping) SDL_free(mapping);
    std::cout << kDashes << std::endl;
  }
  SDL_JoystickEventState(SDL_ENABLE);
  SDL_GameControllerEventState(SDL_ENABLE);
}

void SDLGameApp::readJoystickMapping(const std::string& mapping) {
  std::vector<std::string> fields;
  splitString(mapping, ',', fields);
  if (fields.size() > 0) std::cout << "GUID = " << fields[0] << "\n";
  if (fields.size() > 1) std::cout << "Name = " << fields[1] << "\n";
  for (size_t f = 2; f < fields.size(); ++f) {
    const std::string& field = fields[f];
    if (field.empty()) continue;
    std::cout << field << " --> ";
    const size_t colon = field.find(':');
    if (colon == std::string::npos || colon + 1 >= field.size()) {
      std::cout << "\n";
      continue;
    }
    const std::string name = field.substr(0, colon);
    const std::string binding = field.substr(colon + 1);
    const int number = rawIndex(binding);
    const SDL_GameControllerAxis axis = SDL_GameControllerGetAxisFromString(name.c_str());
    const SDL_GameControllerButton button = SDL_GameControllerGetButtonFromString(name.c_str());
    switch (binding[0]) {
      case 'b':
        std::cout << "Button #" << number << " binding to ";
        if (axis != SDL_CONTROLLER_AXIS_INVALID) {
          std::cout << "Axis #" << axis << " - ODD CASE\n";
          joystickMapping_.setAxis(axis, -1);
        } else if (button != SDL_CONTROLLER_BUTTON_INVALID) {
          std::cout << "Button #" << button << "\n";
          joystickMapping_.setButton(button, number);
        } else {
          std::cout << "\n";
        }
        break;
      case 'a':
        std::cout << "Button #" << number << "binding to ";
        if (axis != SDL_CONTROLLER_AXIS_INVALID) {
          std::cout << "Axis #" << axis << "\n";
          joystickMapping_.setAxis(axis, number);
        } else if (button != SDL_CONTROLLER_BUTTON_INVALID) {
          std::cout << "Button #" << button << " - ODD CASE\n";
          joystickMapping_.setButton(button, -1);
        } else {
          std::cout << "\n";
        }
        break;
      default:
        // Hats (the d-pad on many pads) are not mapped.
        std::cout << "\n";
        break;
    }
  }
  std::cout.flush();
}

void SDLGameApp::removeJoystick(SDL_JoystickID instance) {
  joystickMapping_.setName("N/A");
  auto haptic = joysticks_.haptics.find(instance);
  if (haptic != joysticks_.haptics.end()) {
    SDL_HapticClose(haptic->second);
    joysticks_.haptics.erase(haptic);
  }
  auto controller = joysticks_.controllers.find(instance);
  if (controller != joysticks_.controllers.end()) {
    SDL_GameControllerClose(controller->second);
    joysticks_.controllers.erase(controller);
  }
  auto joystick = joysticks_.joysticks.find(instance);
  if (joystick != joysticks_.joysticks.end()) {
    SDL_JoystickClose(joystick->second);
    joysticks_.joysticks.erase(joystick);
  }
  onJoystickRemoved();
}

void SDLGameApp::closeJoysticks() {
  for (auto& entry : joysticks_.haptics) SDL_HapticClose(entry.second);
  for (auto& entry : joysticks_.controllers) SDL_GameControllerClose(entry.second);
  for (auto& entry : joysticks_.joysticks) SDL_JoystickClose(entry.second);
  joysticks_.haptics.clear();
  joysticks_.controllers.clear();
  joysticks_.joysticks.clear();
}
