#pragma once
#include <SDL.h>

#include <map>

// The devices the application holds open, by SDL instance id: an id stays
// with its device for as long as it is plugged in, unlike a device index.
struct JoystickTables {
  std::map<SDL_JoystickID, SDL_Joystick*> joysticks;
  std::map<SDL_JoystickID, SDL_Haptic*> haptics;  // only those whose rumble works
  std::map<SDL_JoystickID, SDL_GameController*> controllers;
};
