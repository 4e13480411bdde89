#include "MyApp.h"

#include <SDL_image.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include <GL/glew.h>

#include "AngelFont.h"
#include "AppConfig.h"
#include "ConfigFile.h"
#include "DisplayConfigurations.h"
#include "DynamicResources/SceneMusicContainer.h"
#include "DynamicResources/SfxContainer.h"
#include "FileSaveGame.h"
#include "GenericEntry.h"
#include "ImageFile.h"
#include "LabelManager.h"
#include "Menus/WelcomeScreen.h"
#include "ResourceManager.h"
#include "Texture.h"
#include "Utilities.h"
#include "VideoClips/AnimationPlayerClip.h"
#include "VideoClips/LogoSequenceManager.h"
#include "VideoClips/StaticImageClip.h"
#include "music/AnnounceMusicTrack.h"
#include "platform/RegistryValue.h"
#include "AppCore.h"
#include "xRenderingContext.h"

namespace {
// The game's own values for what a missing or damaged config.xml leaves unset.
const char* const kSaveFolder = "Starmoor";
const char* const kSaveFileName = "Starmoor.sav";
const char* const kLabelsFile = "content/strings/english.xml";
const char* const kCaption = "Starmoor";
const char* const kGameParametersFile = "content/config/GameParameters.cfg";

// A name from the configuration is used only when it stays one plain name, so
// the game's files never land in the data folder's root or outside it.
bool isPlainName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

bool isOwnFolder(const std::string& folder) {
  if (folder.empty() || folder[0] == '/') return false;
  std::vector<std::string> parts;
  splitString(stripTrailingSlash(folder), '/', parts);
  for (const std::string& part : parts) {
    if (!isPlainName(part)) return false;
  }
  return true;
}

void fillConfigDefaults(AppConfig* config, bool fileRead) {
  if (!isOwnFolder(config->getSaveFolder())) {
    if (fileRead && !config->getSaveFolder().empty()) {
      std::printf("WARNING: config.xml names the save folder \"%s\"; the game's own folder %s is used\n",
                  config->getSaveFolder().c_str(), kSaveFolder);
    }
    config->setSaveFolder(kSaveFolder);
  }
  if (!isPlainName(config->getSaveFileName())) config->setSaveFileName(kSaveFileName);
  if (config->getLabelsFile().empty()) config->setLabelsFile(kLabelsFile);
  if (!fileRead) config->setCaption(kCaption);
}
}  // namespace

MyApp::MyApp() {
  initSDL();
  AppConfig* config = AppConfig::instance();
  fillConfigDefaults(config, config->loadFromFile("content/config/config.xml"));
  try {
    gameParameters_ = new ConfigFile(kGameParametersFile, "=", "#", "EndConfigFile");
  } catch (const ConfigFile::file_not_found& missing) {
    std::printf("ERROR: the game parameter file %s cannot be opened; defaults are used\n",
                missing.filename.c_str());
    gameParameters_ = new ConfigFile();
  }
  setDisplayConfigurations(new DisplayConfigurations("content/config/SystemInfo.xml"));
  if (!config->getLabelsFile().empty()) gameMessages()->loadFromXml(config->getLabelsFile());
  setWindowTitle(config->getCaption());
  openSaveGame();
}

void MyApp::openSaveGame() {
  const AppConfig* config = AppConfig::instance();
  const std::string dataFolder = getUserDataFolder();
  // Without a user data folder there is nowhere safe to write: an empty path
  // makes the save game do nothing rather than write at the filesystem root.
  std::string path;
  if (!dataFolder.empty()) {
    path = stripTrailingSlash(dataFolder) + "/" + stripTrailingSlash(config->getSaveFolder()) + "/" +
           config->getSaveFileName();
  } else {
    std::printf("ERROR: there is no user data folder; the game will not be saved\n");
  }
  FileSaveGame* save = new FileSaveGame(path, this);
  save->addEntry("SOUND_VOLUME", new GenericEntry<int>(50, 50));
  save->addEntry("MUSIC_VOLUME", new GenericEntry<int>(50, 50));
  save->addEntry("BATTLE_ASSISTANT", new GenericEntry<int>(1, 1));
  setSaveGame(save);
  if (!loadGame()) saveGame();
}

void MyApp::onQuit() {
  saveGame();
  // The last time the game was run, for support to read.
  if (!setRegistryDword("checkValue", static_cast<uint32_t>(std::time(nullptr)))) {
    const std::string folder = registryKeyFolder("SOFTWARE\\" + g_registryBaseKey);
    std::printf("ERROR: could not write the value file %s/checkValue\n",
                folder.empty() ? "(no configuration folder)" : folder.c_str());
  }
}

MyApp::~MyApp() {
  delete gameParameters_;
  gameParameters_ = nullptr;
}

void MyApp::init() {
  std::srand(static_cast<unsigned>(std::time(nullptr)));
  initAudio();
  if (SDL_Surface* icon = bge::loadImageSurfaceOrSay("content/Icon/Icon_32@x1.png", true)) {
    if (icon_) SDL_FreeSurface(icon_);
    icon_ = icon;
  }
  computeScaleFactors();
  if (window_ && icon_) SDL_SetWindowIcon(window_, icon_);
  SDLGameApp::init();
  loadGlobalResources();
  loadShaders("content/config/shaderslist.xml");
  SfxContainer::instance()->load("content/config/sfx.xml");
  SceneMusicContainer::instance()->load("content/config/music.xml");
  AppConfig::instance()->setScreenOffset(0, 0);
  if (AppConfig::instance()->getLogoScreens().empty()) {
    enterFirstScreen();
  } else {
    startLogoSequence();
  }
}

void MyApp::loadGlobalResources() {
  ResourceManager* global = globalResourceManager();
  if (!global) return;
  static const struct {
    const char* id;
    const char* file;
  } kFonts[] = {{"FONT_NOTOSANS16", "content/fonts/NotoSans16.fnt"},
                {"FONT_NOTOSANS20", "content/fonts/NotoSans20.fnt"},
                {"FONT_NOTOSANS24", "content/fonts/NotoSans24.fnt"},
                {"FONT_NOTOSANS46", "content/fonts/NotoSans46.fnt"}};
  for (const auto& font : kFonts) {
    if (!global->findFont(font.id)) global->registerFont(font.id, new AngelFont(font.file, GL_LINEAR));
  }
  g_announceFont = global->findFont("FONT_NOTOSANS24");
  const std::string banner = "content/images/mission/showsong.png";
  if (!global->findTexture(banner)) {
    Texture* texture = global->createTexture(banner);
    if (!global->registerTexture(banner, texture)) delete texture;
  }
  g_announceBanner = global->findTexture(banner);
}

void MyApp::startLogoSequence() {
  // The manager deletes itself after the last logo.
  auto* logos = new bge::LogoSequenceManager(100.0f);
  logos->registerCreator("IMAGE", [](int id, bge::VideoClipListener* listener) -> bge::VideoClip* {
    return new bge::StaticImageClip(id, listener);
  });
  logos->registerCreator("ANIMATION",
                         [](int id, bge::VideoClipListener* listener) -> bge::VideoClip* {
                           return new bge::AnimationPlayerClip(id, listener);
                         });
  logos->playNextClip();
}

void MyApp::computeScaleFactors() {
  const AppConfig* config = AppConfig::instance();
  // Without a configured size (missing or partial file) the design size still opens a window.
  int width = config->getWidth() > 0 ? config->getWidth() : kDesignWidth;
  int height = config->getHeight() > 0 ? config->getHeight() : kDesignHeight;
  const bool fullScreen = !windowed_ && config->getFullScreenMode() != AppConfig::ModeWindowed;
  setDisplayMode(width, height, fullScreen);
  getDisplayConfigurations()->setResolutions(new DisplayMode(width, height),
                                             new DisplayMode(kDesignWidth, kDesignHeight));
  setScaleFactors(static_cast<float>(width) / kDesignWidth, static_cast<float>(height) / kDesignHeight);
  createWindow(0);
}

void MyApp::enterFirstScreen() {
  set3D(false);
  if (getAppCore() && getAppCore()->getRenderingContext())
    getAppCore()->getRenderingContext()->setClearColor(Color(0, 0, 0, 255));
  changeState(new WelcomeScreen());
}
