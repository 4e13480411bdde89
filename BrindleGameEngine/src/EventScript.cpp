#include "EventScript.h"

#include <SDL.h>

#include <algorithm>
#include <iostream>
#include <sstream>

#include "RegularFile.h"

bool EventScript::loadFromFile(const std::string& path) {
  steps_.clear();
  next_ = 0;
  // Refused unread when it is a pipe, a device or a folder: a run that cannot
  // have its script must not wait on one, nor start without one.
  std::string text;
  const bge::FileReadResult read = bge::readRegularFile(path, kMaxFileBytes, text);
  if (read == bge::FileReadResult::Missing) {
    std::cout << "ERROR: event script not found [" << path << "]" << std::endl;
    return false;
  }
  if (read != bge::FileReadResult::Read) {
    std::cout << "ERROR: event script [" << path << "] " << bge::describeFileRead(read, kMaxFileBytes) << std::endl;
    return false;
  }
  return parse(text);
}

bool EventScript::parse(const std::string& text) {
  steps_.clear();
  next_ = 0;
  std::istringstream lines(text);
  std::string line;
  int number = 0;
  while (std::getline(lines, line)) {
    ++number;
    const size_t hash = line.find('#');
    if (hash != std::string::npos) line.erase(hash);
    std::istringstream words(line);
    Step step;
    if (!(words >> step.frame)) {
      std::string rest;
      if (words.clear(), words >> rest) {
        std::cout << "ERROR: event script line " << number << ": no frame number" << std::endl;
        steps_.clear();
        return false;
      }
      continue;  // blank or comment line
    }
    words >> step.command;
    std::getline(words >> std::ws, step.argument);
    step.argument.erase(step.argument.find_last_not_of(" \t\r") + 1);
    const bool known = (step.command == "key" && !step.argument.empty()) || step.command == "quit";
    if (!known || step.frame < 0) {
      std::cout << "ERROR: event script line " << number << ": bad command" << std::endl;
      steps_.clear();
      return false;
    }
    steps_.push_back(step);
  }
  std::stable_sort(steps_.begin(), steps_.end(),
                   [](const Step& a, const Step& b) { return a.frame < b.frame; });
  return true;
}

namespace {
void pushKey(Uint32 type, SDL_Keycode key, unsigned int windowId) {
  SDL_Event event;
  SDL_zero(event);
  event.type = type;
  event.key.windowID = windowId;
  event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
  event.key.keysym.sym = key;
  event.key.keysym.scancode = SDL_GetScancodeFromKey(key);
  event.key.keysym.mod = KMOD_NONE;
  SDL_PushEvent(&event);
}
}  // namespace

int EventScript::pump(int frame, unsigned int windowId) {
  int pushed = 0;
  while (next_ < steps_.size() && steps_[next_].frame <= frame) {
    const Step& step = steps_[next_++];
    if (step.command == "key") {
      const SDL_Keycode key = SDL_GetKeyFromName(step.argument.c_str());
      if (key == SDLK_UNKNOWN) {
        std::cout << "ERROR: event script: unknown key [" << step.argument << "]" << std::endl;
        continue;
      }
      pushKey(SDL_KEYDOWN, key, windowId);
      pushKey(SDL_KEYUP, key, windowId);
      pushed += 2;
    } else if (step.command == "quit") {
      SDL_Event event;
      SDL_zero(event);
      event.type = SDL_QUIT;
      SDL_PushEvent(&event);
      ++pushed;
    }
  }
  return pushed;
}
