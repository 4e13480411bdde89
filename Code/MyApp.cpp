#include "MyApp.h"

#include <SDL_image.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "AppConfig.h"
#include "AppCore.h"
#include "AssertReport.h"
#include "ConfigFile.h"
#include "DesignSize.h"
#include "DynamicResources/SceneMusicContainer.h"
#include "DynamicResources/SfxContainer.h"
#include "FileSaveGame.h"
#include "GenericEntry.h"
#include "ImageFile.h"
#include "LabelManager.h"
#include "Menus/MainMenu.h"
#include "Profile/Profile.h"
#include "ResourceManager.h"
#include "SoundSystem.h"
#include "Texture.h"
#include "Store/CSteamLeaderboards.h"
#include "Store/CStatsAndAchievements.h"
#include "Store/LocalStore.h"
#include "System/CollisionSetup.h"
#include "System/ResourceLists.h"
#include "Utilities.h"
#include "VideoClips/AnimationPlayerClip.h"
#include "VideoClips/LogoSequenceManager.h"
#include "VideoClips/StaticImageClip.h"
#include "music/AnnounceMusicTrack.h"
#include "platform/RegistryValue.h"
#include "xRenderingContext.h"

namespace {

MyApp* g_MyApp = nullptr;

constexpr const char* kStoreFileName = "store.dat";

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

// A save killed between writing its temporary file and renaming it leaves the
// temporary ("<file>.tmp" and six characters) behind. Once the profile is ours
// no other copy is writing one, so any still there is such a leftover.
void removeLeftoverTemporaries(const std::string& folder) {
  constexpr size_t kUniquePart = 6;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
    const std::string name = entry.path().filename().string();
    const size_t at = name.rfind(".tmp");
    if (at == std::string::npos || at == 0 || name.size() != at + 4 + kUniquePart) continue;
    std::error_code kind;
    if (entry.is_symlink(kind) || !entry.is_regular_file(kind)) continue;
    std::filesystem::remove(entry.path(), kind);
  }
}

}  // namespace

MyApp* MyApp::instance() { return g_MyApp; }

MyApp::MyApp() {
  g_MyApp = this;
  Profile::setScreenSizeSource([] { return g_MyApp->chooseDefaultResolution(); });
  initSDL();
  AppConfig* config = AppConfig::instance();
  fillConfigDefaults(config, config->loadFromFile("content/config/config.xml"));
  std::string unopened;
  try {
    gameParameters_ = std::make_unique<ConfigFile>(kGameParametersFile, "=", "#", "EndConfigFile");
  } catch (const ConfigFile::file_not_found& missing) {
    unopened = missing.filename;
  }
  if (!BGE_ERROR_MSG(unopened.empty(),
                     ("the game parameter file " + unopened + " cannot be opened; defaults are used").c_str()))
    gameParameters_ = std::make_unique<ConfigFile>();
  setDisplayConfigurations(new DisplayConfigurations("content/config/SystemInfo.xml"));
  if (BGE_REPORT(gameMessages_ != 0) && !config->getLabelsFile().empty())
    gameMessages()->loadFromXml(config->getLabelsFile());
  setWindowTitle(config->getCaption());
  saving_ = lockProfile();
  startStore();
  openSaveGame();
}

MyApp::~MyApp() {
  // Leaderboards, then statistics, then the store they both use.
  leaderboards_.reset();
  g_leaderboards = nullptr;
  stats_.reset();
  g_statsAndAchievements = nullptr;
  store_.reset();
  gameParameters_.reset();
  if (g_MyApp == this) {
    g_MyApp = nullptr;
    Profile::setScreenSizeSource(nullptr);
  }
}

std::string MyApp::saveFolder() const {
  // Without a user data folder there is nowhere safe to write: an empty folder
  // makes the save game and the store do nothing rather than write at the root.
  const std::string data = getUserDataFolder();
  if (data.empty()) return std::string();
  return stripTrailingSlash(data) + "/" + stripTrailingSlash(AppConfig::instance()->getSaveFolder());
}

bool MyApp::lockProfile() {
  const std::string folder = saveFolder();
  if (folder.empty()) return true;
  makeDirectories(folder);
  std::string why;
  switch (profileLock_.acquire(folder, &why)) {
    case ProfileLock::Result::Held:
      removeLeftoverTemporaries(folder);
      return true;
    case ProfileLock::Result::InUse:
      // Saving here would put this copy's older progress over the other's.
      std::printf("The profile in %s is in use by another copy of the game: this copy runs without saving\n",
                  folder.c_str());
      std::fflush(stdout);
      return false;
    case ProfileLock::Result::Unavailable:
      std::printf("WARNING: the profile cannot be locked (%s); a second copy of the game would not be noticed\n",
                  why.c_str());
      return true;
  }
  return true;
}

void MyApp::startStore() {
  // The switch for a machine without the store: the game takes its no-store path.
  const char* choice = std::getenv("STARMOOR_STORE");
  if (choice && std::strcmp(choice, "none") == 0) {
    std::printf("Store platform switched off: no statistics, achievements or leaderboards\n");
    return;
  }
  const std::string folder = saveFolder();
  auto* local = new store::LocalStore(folder.empty() ? std::string() : folder + "/" + kStoreFileName,
                                      CSteamLeaderboards::allLeaderboardNames());
  local->load();  // a broken file is kept aside and the store starts empty
  if (!saving_) local->stopSaving();
  store_.reset(local);
  stats_ = std::make_unique<CStatsAndAchievements>(local);
  g_statsAndAchievements = stats_.get();
  leaderboards_ = std::make_unique<CSteamLeaderboards>(local);
  g_leaderboards = leaderboards_.get();
  g_leaderboards->findLeaderboard("YORK_001");
}

void MyApp::addSettingEntries(SaveGame* save) {
  // Volumes are percentages and the assistant is on or off; anything else read
  // back is a damaged save.
  save->addEntry("SOUND_VOLUME", new RangedEntry<int>(50, 50, 0, 100));
  save->addEntry("MUSIC_VOLUME", new RangedEntry<int>(50, 50, 0, 100));
  save->addEntry("BATTLE_ASSISTANT", new RangedEntry<int>(1, 1, 0, 1));
}

void MyApp::openSaveGame() {
  const std::string folder = saveFolder();
  std::string path;
  if (BGE_ERROR_MSG(!folder.empty(), "there is no user data folder; the game runs without saving")) {
    makeDirectories(folder);
    path = folder + "/" + AppConfig::instance()->getSaveFileName();
    std::printf("SAVE GAME FILE = %s\n", path.c_str());
  }
  FileSaveGame* save = new FileSaveGame(path, this);
  addSettingEntries(save);
  profile_ = new Profile("Commander");
  save->addEntry("PLAYER_PROFILE", profile_);
  BGE_REPORT(saveGame_ == 0);
  if (!saving_) save->stopSaving();
  setSaveGame(save);
  if (loadGame()) return;
  // The record could not be used (a damaged one is kept aside by the save
  // game): the side files still hold the player's wins and badges, so they
  // are read before the defaults are written over everything. A record that
  // failed past its profile has read them already; a second read would keep a
  // second copy of a damaged one.
  if (!folder.empty() && !profile_->sideFilesRead()) profile_->readSideFiles(folder);
  saveGame();
}

bool MyApp::saveGame() {
  if (!BGE_REPORT(saveGame_ != 0)) return false;
  return saveGame_->save();
}

bool MyApp::loadGame() {
  if (!BGE_REPORT(saveGame_ != 0)) return false;
  return saveGame_->load();
}

void MyApp::writeCheckValue() {
  saveGame();
  // Counted statistics go to the store only with the next store call; the
  // last ones of a session would otherwise be lost at quit.
  if (store_ && g_statsAndAchievements && g_statsAndAchievements->isInitialized()) store_->storeStats();
  // The last time the game was run, for support to read.
  const bool stamped = setRegistryDword("checkValue", static_cast<uint32_t>(std::time(nullptr)));
  if (!stamped) {
    const std::string folder = registryKeyFolder("SOFTWARE\\" + g_registryBaseKey);
    BGE_ERROR_MSG(stamped, ("could not write the value file " +
                            (folder.empty() ? std::string("(no configuration folder)") : folder) +
                            "/checkValue; the last run is not stamped, the game quits all the same")
                               .c_str());
  }
}

void MyApp::init() {
  std::srand(static_cast<unsigned>(std::time(nullptr)));
  initAudio();
  if (!icon_) icon_.reset(bge::loadImageSurfaceOrSay("content/Icon/Icon_32@x1.png", true));
  computeScaleFactors();
  if (window_ && icon_) SDL_SetWindowIcon(window_, icon_.get());
  SDLGameApp::init();
  registerGlobalResources(globalResourceManager());
  // Two lines of it fit the banner's box.
  g_announceFont = globalFont("FONT_NOTOSANS16");
  // The music banner is drawn by the engine's announcement widget on every screen.
  const std::string banner = "content/images/mission/showsong.png";
  if (ResourceManager* global = globalResourceManager()) {
    if (!global->findTexture(banner)) {
      Texture* texture = global->createTexture(banner);
      if (!global->registerTexture(banner, texture)) delete texture;
    }
    g_announceBanner = global->findTexture(banner);
  }
  loadShaders("content/config/shaderslist.xml");
  SfxContainer::instance()->load("content/config/sfx.xml");
  SceneMusicContainer::instance()->load("content/config/music.xml");
  loadCollisionCategories("content/config/CollisionCategories.xml");
  loadMaterials("content/config/Materials.xml");
  systemCursor_ = SDL_GetCursor();
  setCursorTexture(nullptr);
  SDL_ShowCursor(SDL_ENABLE);
  restoreVolumes();
  profile_->loadStations("content/config/stations.xml");
  AppConfig::instance()->setScreenOffset(0, 0);
  if (AppConfig::instance()->getLogoScreens().empty()) {
    enterFirstScreen();
  } else {
    startLogoSequence();
  }
}

void MyApp::loadCollisionCategories(const std::string& path) { loadCollisionCategoriesFile(path); }

void MyApp::loadMaterials(const std::string& path) { loadMaterialsFile(path); }

void MyApp::restoreVolumes() {
  SoundSystem* sound = getSoundSystem();
  if (!sound || !saveGame_) return;
  auto* music = saveGame_->findEntryAs<GenericEntry<int>>("MUSIC_VOLUME");
  auto* effects = saveGame_->findEntryAs<GenericEntry<int>>("SOUND_VOLUME");
  if (music) sound->setMusicVolume(music->getValue());
  if (effects) sound->setSoundVolume(-1, effects->getValue());
}

void MyApp::onResume() { restoreVolumes(); }

void MyApp::onPause() {
  SoundSystem* sound = getSoundSystem();
  if (!sound) return;
  sound->setMusicVolume(0);
  sound->setSoundVolume(-1, 0);
}

void MyApp::startLogoSequence() {
  // The manager deletes itself after the last logo.
  auto* logos = new bge::LogoSequenceManager(100.0f);
  logos->registerCreator("IMAGE", [](int id, bge::VideoClipListener* listener) -> bge::VideoClip* {
    return new bge::StaticImageClip(id, listener);
  });
  logos->registerCreator("ANIMATION", [](int id, bge::VideoClipListener* listener) -> bge::VideoClip* {
    return new bge::AnimationPlayerClip(id, listener);
  });
  logos->playNextClip();
}

DisplayMode MyApp::pickDefaultResolution(const std::vector<DisplayMode*>& modes, int configWidth,
                                         int configHeight) {
  for (auto it = modes.rbegin(); it != modes.rend(); ++it)
    if (*it) std::printf("[ Resolution = %dx%d ]\n", (*it)->width, (*it)->height);
  for (const DisplayMode* m : modes)
    if (m && m->width == configWidth && m->height == configHeight) return *m;
  for (const DisplayMode* m : modes)
    if (m && m->width == 1360 && m->height == 768) return *m;
  const DisplayMode* first = nullptr;
  for (const DisplayMode* m : modes) {
    if (!m) continue;
    if (!first) first = m;
    if (m->width > bge::kDesignWidth) return *m;
  }
  return first ? *first : DisplayMode(kNoModesWidth, kNoModesHeight);
}

DisplayMode MyApp::chooseDefaultResolution() const {
  const AppConfig* config = AppConfig::instance();
  static const std::vector<DisplayMode*> kNone;
  const DisplayConfigurations* displays = getDisplayConfigurations();
  return pickDefaultResolution(displays ? displays->getDisplayModes() : kNone, config->getWidth(),
                               config->getHeight());
}

void MyApp::computeScaleFactors() {
  const DisplayMode size = profile_->screenSize();
  // The side file reader refuses sizes no window can have; this is the last guard
  // before the division.
  int width = size.width > 0 ? size.width : bge::kDesignWidth;
  int height = size.height > 0 ? size.height : bge::kDesignHeight;
  // A size saved on a bigger display (or a damaged file) would open a window
  // this one cannot show, and one that software rendering may never draw.
  SDL_Rect usable{};
  if (SDL_GetDisplayUsableBounds(0, &usable) == 0 && usable.w > 0 && usable.h > 0 &&
      (width > usable.w || height > usable.h)) {
    std::printf("WARNING: the saved screen size %dx%d is larger than the display shows (%dx%d); "
                "%dx%d is used\n",
                width, height, usable.w, usable.h, bge::kDesignWidth, bge::kDesignHeight);
    width = bge::kDesignWidth;
    height = bge::kDesignHeight;
    profile_->setScreenSize(width, height);
  }
  const bool fullScreen = profile_->isFullscreen() && !windowed_;
  setDisplayMode(width, height, fullScreen);
  getDisplayConfigurations()->setResolutions(new DisplayMode(width, height),
                                             new DisplayMode(bge::kDesignWidth, bge::kDesignHeight));
  const float x = static_cast<float>(width) / bge::kDesignWidth;
  const float y = static_cast<float>(height) / bge::kDesignHeight;
  std::printf("[NEW scale factors = %g, %g ]\n", x, y);
  setScaleFactors(x, y);
  createWindow(0);
}

void MyApp::onFrame(int dt) {
  notices_.update(dt);
  if (store_) store_->runCallbacks();
  if (!maximizeRequested_) return;
  maximizeRequested_ = false;
  // A click on the maximise box turns into full screen.
  if (window_) SDL_RestoreWindow(window_);
  const DisplayMode size = profile_->screenSize();
  setDisplayMode(size.width > 0 ? size.width : bge::kDesignWidth, size.height > 0 ? size.height : bge::kDesignHeight,
                 true);
  createWindow(0);
}

void MyApp::afterRenderStates(Graphics* graphics) {
  notices_.draw(graphics, globalFont("FONT_NOTOSANS16"), bge::kDesignWidth);
}

void MyApp::onWindowMaximized(uint32_t windowId) {
  (void)windowId;
  maximizeRequested_ = true;
}

bool MyApp::toggleFullscreen(int width, int height, bool fullscreen) {
  (void)width;
  (void)height;
  // A window forced by "-windowed" is not the player's choice: the profile
  // keeps asking for what the player chose.
  if (profile_ && !(windowed_ && !fullscreen)) profile_->setFullscreen(fullscreen);
  broadcast();
  return true;
}

void MyApp::reportStationMapWon(int missionId) {
  if (g_statsAndAchievements) g_statsAndAchievements->addStationMapWon(missionId);
}

void MyApp::enterFirstScreen() {
  set3D(false);
  if (getAppCore() && getAppCore()->getRenderingContext())
    getAppCore()->getRenderingContext()->setClearColor(Color(0, 0, 0, 255));
  changeState(new MainMenu(0));
}
