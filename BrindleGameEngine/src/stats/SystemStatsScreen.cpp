#include "SystemStatsScreen.h"

#include <SDL.h>

#include <cstdio>

#include "AppConfig.h"
#include "Color.h"
#include "DesignSize.h"
#include "DisplayConfigurations.h"
#include "FadeTransitions.h"
#include "Font.h"
#include "GameApp.h"
#include "Graphics.h"
#include "KeyEvent.h"
#include "MouseListeningWidget.h"
#include "ResourceManager.h"
#include "SDLGameApp.h"
#include "Utilities.h"

namespace {

constexpr int kEscape = 27;
const char* const kSupportText =
    "Trouble? Send LOG-Stats.txt and Stats-Image.png to support@starmoor.example";

const char* orUnknown(const char* text) { return text ? text : "unknown"; }

}  // namespace

SystemStatsScreen::SystemStatsScreen() : ScreenBase("SystemStatsScreen") {
  setInTransition(new FadeInTransition(kFadeMs, Color(0, 0, 0, 255)));
  setOutTransition(new FadeOutTransition(kFadeMs, Color(0, 0, 0, 255)));
}

void SystemStatsScreen::onKeyEvent(const KeyEvent& event) {
  if (getPhase() == PhaseExiting) return;
  if (event.kind == KeyEvent::Pressed && event.key == kEscape) close(0, true);
}

void SystemStatsScreen::onExitTransitionDone(int /*exitCode*/) {
  if (app_) app_->finishState(this);
}

void SystemStatsScreen::appendDisplayLines(std::vector<std::string>& lines, const char* name,
                                           const SDL_Rect& bounds, int desktopW, int desktopH,
                                           int currentW, int currentH) {
  lines.push_back(std::string("display =") + orUnknown(name) +
                  formatString("[%d, %d]", bounds.w, bounds.h));
  lines.push_back(formatString("desktop res [%d x %d]", desktopW, desktopH));
  lines.push_back(formatString("current res [%d x %d]", currentW, currentH));
  lines.push_back("");
}

void SystemStatsScreen::buildLines() {
  lines_.clear();
  lines_.push_back("[ESC - exit from this screen]");
  lines_.push_back("");
  lines_.push_back("Application Title: " + AppConfig::instance()->getCaption());
  lines_.push_back(kSupportText);
  lines_.push_back("");

  const SDLGameApp* sdlApp = SDLGameApp::instance();
  SDL_Window* window = sdlApp ? sdlApp->window() : nullptr;
  const bool fullScreen = window && (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN) != 0;
  lines_.push_back(formatString("full screen = %d", fullScreen ? 1 : 0));
  lines_.push_back("");

  const int drivers = SDL_GetNumVideoDrivers();
  lines_.push_back(formatString("Drivers count = %d", drivers));
  for (int i = 0; i < drivers; ++i) {
    lines_.push_back(std::string("driver =") + orUnknown(SDL_GetVideoDriver(i)));
  }
  lines_.push_back("");

  const int displays = SDL_GetNumVideoDisplays();
  lines_.push_back(formatString("Displays count = %d", displays));
  for (int i = 0; i < displays; ++i) {
    SDL_Rect bounds{0, 0, 0, 0};
    SDL_GetDisplayBounds(i, &bounds);
    SDL_DisplayMode desktop{};
    SDL_DisplayMode current{};
    SDL_GetDesktopDisplayMode(i, &desktop);
    SDL_GetCurrentDisplayMode(i, &current);
    appendDisplayLines(lines_, SDL_GetDisplayName(i), bounds, desktop.w, desktop.h, current.w,
                       current.h);
  }

  lines_.push_back("Supported resolutions:");
  const DisplayConfigurations* configurations =
      sdlApp ? sdlApp->getDisplayConfigurations() : nullptr;
  if (configurations) {
    for (const auto& entry : configurations->getConfigurations()) {
      if (entry.second) {
        lines_.push_back(formatString("[%d x %d]", entry.second->width, entry.second->height));
      }
    }
  }
  lines_.push_back("");

  const DisplayMode* picked = configurations ? configurations->getCurrentResolution() : nullptr;
  const DisplayMode* artwork = configurations ? configurations->getArtworkResolution() : nullptr;
  lines_.push_back(formatString("game picked display res [%d x %d]", picked ? picked->width : 0,
                                picked ? picked->height : 0));
  lines_.push_back(formatString("artwork res [%d x %d]", artwork ? artwork->width : bge::kDesignWidth,
                                artwork ? artwork->height : bge::kDesignHeight));
}

std::string SystemStatsScreen::reportFolder() {
  const std::string data = getUserDataFolder();
  if (data.empty()) return std::string();
  std::string folder = stripTrailingSlash(data) + "/";
  const std::string& save = AppConfig::instance()->getSaveFolder();
  if (!save.empty()) folder += stripTrailingSlash(save) + "/";
  return folder + "Stats";
}

void SystemStatsScreen::writeReport() {
  const std::string folder = reportFolder();
  if (folder.empty()) {
    std::printf("SystemStatsScreen: no user data folder; report not written\n");
    return;
  }
  makeDirectories(folder);
  const std::string report = folder + "/LOG-Stats.txt";
  bool written = false;
  if (FILE* file = std::fopen(report.c_str(), "w")) {
    written = true;
    for (const std::string& line : lines_) {
      written = std::fputs(line.c_str(), file) >= 0 && std::fputs("\n", file) >= 0 && written;
    }
    written = std::fclose(file) == 0 && written;
  }
  if (!written) std::printf("ERROR: could not write the report %s\n", report.c_str());
  if (SDLGameApp* sdlApp = dynamic_cast<SDLGameApp*>(app_)) {
    sdlApp->saveScreenshot(folder + "/Stats-Image.png");
  }
}

Font* SystemStatsScreen::pickFont() const {
  const ResourceManager* resources = app_ ? app_->globalResourceManager() : nullptr;
  if (!resources) return nullptr;
  for (const auto& entry : resources->getFonts()) {
    Font* font = entry.second;
    if (font && font->getLineHeight() >= 8 && font->getLineHeight() <= 20) return font;
  }
  return nullptr;
}

void SystemStatsScreen::drawForeground(Graphics* g) {
  Rect5 whole(0.0f, 0.0f, static_cast<float>(bge::kDesignWidth), static_cast<float>(bge::kDesignHeight));
  if (const Widget* screen = getFullScreenWidget()) whole = screen->getGeometry();
  const int w = static_cast<int>(whole.width);
  const int h = static_cast<int>(whole.height);

  Font* font = pickFont();
  if (!font) {
    g->fillRect(0, 0, w, h, Color(96, 0, 0, 196));
    const Color yellow(255, 255, 0, 255);
    g->drawLine(Graphics::Vec2(0.0f, 0.0f), Graphics::Vec2(whole.width, whole.height), 2.0f, false,
                yellow, 0, 0);
    g->drawLine(Graphics::Vec2(whole.width, 0.0f), Graphics::Vec2(0.0f, whole.height), 2.0f, false,
                yellow, 0, 0);
    return;
  }
  g->fillRect(0, 0, w, h, Color(0, 0, 96, 196));
  font->drawText(g, 32, 8, "LOG: " + reportFolder(), Color(0, 255, 0, 255));
  const int step = font->getLineHeight() + 2;
  for (size_t i = 0; i < lines_.size(); ++i) {
    const int column = static_cast<int>(i) / kLinesPerColumn;
    const int row = static_cast<int>(i) % kLinesPerColumn;
    const int x = column == 0 ? 32 : column * 400;
    const int y = step * row + 32;
    const Color color = static_cast<int>(i) == kSupportLine ? Color(0, 255, 255, 255)
                                                            : Color(255, 255, 0, 255);
    font->drawText(g, x, y, lines_[i], color);
  }
}
