#include <SDL.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "AssertReport.h"
#include "EventScript.h"
#include "MyApp.h"
#include "platform/CrashReporter.h"

namespace {
// Content paths are relative to the program's own folder, wherever it is started
// from. Returns that folder (with its trailing slash), or empty.
std::string enterProgramFolder() {
  std::string folder;
  if (char* base = SDL_GetBasePath()) {
    folder = base;
    if (chdir(base) != 0) SDL_Log("cannot enter the program folder %s", base);
    SDL_free(base);
  }
  return folder;
}

bool isFolder(const char* path) {
  struct stat st {};
  return stat(path, &st) == 0 && S_ISDIR(st.st_mode);
}
}  // namespace

int main(int argc, char* argv[]) {
  installCrashHandler();
  // Past a file-size limit a write fails with its error, which the save reports
  // and survives; the signal's default would end the game in the middle of it.
  std::signal(SIGXFSZ, SIG_IGN);
  // Unattended runs (smoke checks) feed their input from a script; its path is
  // taken before leaving the starting folder.
  const char* scriptPath = std::getenv("STARMOOR_EVENT_SCRIPT");
  char* script = scriptPath ? realpath(scriptPath, nullptr) : nullptr;
  if (scriptPath && !script) {
    SDL_Log("event script not found: %s", scriptPath);
    return 2;
  }
  const std::string programFolder = enterProgramFolder();
  // Without its content the game has nothing to show: say where it looked.
  if (!BGE_REPORT_MSG(isFolder("content"), ("the game's content folder " +
                                            (programFolder.empty() ? std::string("./") : programFolder) +
                                            "content was not found beside the program; the game cannot start without it")
                                               .c_str())) {
    std::free(script);
    return 1;
  }
  MyApp app;
  if (SDLGameApp::windowedRequested(argc, argv)) app.setWindowed(true);
  if (script) {
    auto events = std::make_unique<EventScript>();
    const bool loaded = events->loadFromFile(script);
    std::free(script);
    if (!loaded) return 2;
    app.setEventScript(events.release());
  }
  app.init();
  app.run();
  return 0;
}
