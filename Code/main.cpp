#include <SDL.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>

#include "EventScript.h"
#include "MyApp.h"
#include "platform/CrashReporter.h"

namespace {
// Content paths are relative to the program's own folder, wherever it is started from.
void enterProgramFolder() {
  if (char* base = SDL_GetBasePath()) {
    if (chdir(base) != 0) SDL_Log("cannot enter the program folder %s", base);
    SDL_free(base);
  }
}
}  // namespace

int main(int argc, char* argv[]) {
  installCrashHandler();
  // Unattended runs (smoke checks) feed their input from a script; its path is
  // taken before leaving the starting folder.
  const char* scriptPath = std::getenv("STARMOOR_EVENT_SCRIPT");
  char* script = scriptPath ? realpath(scriptPath, nullptr) : nullptr;
  if (scriptPath && !script) {
    SDL_Log("event script not found: %s", scriptPath);
    return 2;
  }
  enterProgramFolder();
  MyApp app;
  if (SDLGameApp::windowedRequested(argc, argv)) app.setWindowed(true);
  if (script) {
    EventScript* events = new EventScript();
    const bool loaded = events->loadFromFile(script);
    std::free(script);
    if (!loaded) {
      delete events;
      return 2;
    }
    app.setEventScript(events);
  }
  app.init();
  app.run();
  return 0;
}
