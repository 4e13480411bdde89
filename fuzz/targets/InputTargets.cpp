// The game-controller mapping file: SDL's reader fills its database from the
// file the way start-up does, then every mapping it kept, and every raw line,
// goes through our own mapping reader and is used the way a pad's events are.
#include <SDL.h>

#include <iostream>
#include <sstream>
#include <string>

#include "FuzzSupport.h"
#include "JoystickButtonMapping.h"
#include "SDLGameApp.h"
#include "Targets.h"

namespace fuzz {

namespace {

// The mapping reader reports every binding on the console; at fuzzing speed
// that would be all the work done.
class QuietConsole {
 public:
  QuietConsole() : saved_(std::cout.rdbuf(sink_.rdbuf())) {}
  ~QuietConsole() { std::cout.rdbuf(saved_); }
  QuietConsole(const QuietConsole&) = delete;
  QuietConsole& operator=(const QuietConsole&) = delete;

 private:
  std::ostringstream sink_;
  std::streambuf* saved_;
};

// What the event handlers ask of a mapping: every SDL button and axis, the
// ones we do not map included, looked up and held against the tables. A raw
// number is a device index or -1 (unbound); anything below would be used as
// an index into the device's buttons.
void useMapping(const JoystickButtonMapping& mapping) {
  for (int b = -1; b <= SDL_CONTROLLER_BUTTON_MAX; ++b) {
    const int raw = mapping.getButton(b);
    if ((b < 0 || b >= mapping.getButtonCount()) && raw != -1) {
      finding("a button outside the table mapped to " + std::to_string(raw));
    }
    if (raw < -1) finding("button " + std::to_string(b) + " mapped to raw " + std::to_string(raw));
  }
  for (int a = -1; a <= SDL_CONTROLLER_AXIS_MAX; ++a) {
    const int raw = mapping.getAxis(a);
    const std::pair<int, int> range = mapping.getAxisRange(a);
    const std::pair<int, int> inner = mapping.getInnerRange(a);
    if ((a < 0 || a >= mapping.getAxisCount()) && raw != -1) {
      finding("an axis outside the table mapped to " + std::to_string(raw));
    }
    if (raw < -1) finding("axis " + std::to_string(a) + " mapped to raw " + std::to_string(raw));
    if (range.first > inner.first || inner.second > range.second) {
      finding("an axis dead zone wider than its range");
    }
    (void)mapping.getAxisButton(a);
  }
}

void readMapping(const std::string& line) {
  SDLGameApp* app = sdlApplicationWithDefaultMapping();
  app->readJoystickMapping(line);
  useMapping(app->joystickMapping());
}

}  // namespace

void fuzzGamepadMapping(const uint8_t* data, size_t size) {
  const std::string path = writeInput(data, size, "gamepadconfigs.txt");
  // Joysticks stay up (starting them scans the devices); the mapping database
  // lives as long as the controller subsystem, so each input starts afresh.
  static const bool joysticks = SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0;
  if (!joysticks || SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
    finding(std::string("the game-controller subsystem did not start: ") + SDL_GetError());
    return;
  }
  QuietConsole quiet;
  // SDL's own mappings come first; the file's new ones are added after them.
  const int builtIn = SDL_GameControllerNumMappings();
  SDL_GameControllerAddMappingsFromRW(SDL_RWFromFile(path.c_str(), "rb"), 1);
  const int count = SDL_GameControllerNumMappings();
  for (int i = builtIn; i < count; ++i) {
    char* mapping = SDL_GameControllerMappingForIndex(i);
    if (!mapping) continue;
    readMapping(mapping);
    SDL_free(mapping);
  }
  // The generic entry start-up falls back to for pads nobody knows.
  SDL_JoystickGUID zero;
  SDL_memset(zero.data, 0, sizeof zero.data);
  if (char* generic = SDL_GameControllerMappingForGUID(zero)) {
    readMapping(generic);
    SDL_free(generic);
  }
  SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);

  // Our reader also gets lines SDL never checked (the built-in fallback).
  std::istringstream lines(asText(data, size));
  std::string line;
  while (std::getline(lines, line)) readMapping(line);
}

}  // namespace fuzz
