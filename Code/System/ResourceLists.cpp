#include "System/ResourceLists.h"

#include <GL/glew.h>

#include <filesystem>
#include <map>
#include <optional>

#include "AngelFont.h"
#include "ResourceManager.h"
#include "System/GameFonts.h"
#include "Texture.h"

namespace {

// The fonts' files come from the game's one font table.
ResourceEntry fontEntry(const char* id) {
  for (const GameFont& font : kGameFonts) {
    if (std::string(font.id) == id) return {font.id, font.file, true};
  }
  return {id, "", true};
}

const std::vector<ResourceEntry> kGlobal = {
    fontEntry("FONT_NOTOSANS24"),
    fontEntry("FONT_NOTOSANS46"),
    fontEntry("FONT_NOTOSANS20"),
    fontEntry("FONT_NOTOSANS16"),
    {"GLOBAL_BTN_N", "content/images/menus/BtnBtn_N.png", false},
    {"GLOBAL_BTN_O", "content/images/menus/BtnBtn_O.png", false},
    {"GLOBAL_WITHLOVE_FROM_CROATIA", "content/images/menus/cwlic-96-1.png", false},
    {"TEX_BG_MAIN", "content/images/menus/main/BG.png", false},
    {"TEX_RASTER_EVEN", "content/images/menus/pause/raster_even.png", false},
    {"TEX_RASTER_ODD", "content/images/menus/pause/raster_odd.png", false},
    {"TEX_ICON_CREDITS", "content/images/mission/icons/icon_credits.png", false},
    {"TEX_ITEM_GLOW", "content/images/mission/powersafe.png", false},
    {"TEX_SHIP", "content/images/mission/ship.png", false},
    {"TEX_SHIP_GLOW", "content/images/mission/ship_glow.png", false},
    {"TEX_SHIP_GUN", "content/images/mission/ship_gun.png", false},
    {"TEX_LEFT_ENGINE_GLOW", "content/images/mission/left_engine_glow.png", false},
    {"TEX_POST_LEVEL", "content/images/mission/PostLevelDialog.png", false},
    {"TEX_SHIELD_SCOUT", "content/images/game/scout.png", false},
    {"TEX_SHIELD_ROWER", "content/images/game/rower.png", false},
    {"TEX_SHIELD_GRASSHOPPER", "content/images/game/grasshopper.png", false},
    {"TEX_SHIELD_SPACEDOG", "content/images/game/spacedog.png", false},
    {"TEX_SHIELD_BULL", "content/images/game/bull.png", false},
    {"TEX_SHIELD_CATCHER", "content/images/game/catcher.png", false},
    {"TEX_SHIELD_HELLRAISER", "content/images/game/hellraiser.png", false},
    {"TEX_SHIELD_DESTROYER", "content/images/game/destroyer.png", false},
    {"TEX_DIFF_EASY_ON", "content/images/game/Difficulty_Easy_ON.png", false},
    {"TEX_DIFF_EASY_OFF", "content/images/game/Difficulty_Easy_OFF.png", false},
    {"TEX_DIFF_NORMAL_ON", "content/images/game/Difficulty_Normal_ON.png", false},
    {"TEX_DIFF_NORMAL_OFF", "content/images/game/Difficulty_Normal_OFF.png", false},
    {"TEX_DIFF_HARD_ON", "content/images/game/Difficulty_Hard_ON.png", false},
    {"TEX_DIFF_HARD_OFF", "content/images/game/Difficulty_Hard_OFF.png", false},
};

const std::vector<ResourceEntry> kLevel = {
    {"TEX_SHOWSONG", "content/images/mission/showsong.png", false},
    {"TEX_BG", "content/images/mission/BG.png", false},
    {"TEX_MISSION_FAILED", "content/images/mission/mission_failed.png", false},
    {"TEX_CROSSHAIR", "content/images/mission/crosshair-2.png", false},
    {"TEX_HEALTH", "content/images/mission/health_unit.png", false},
    {"TEX_POWER_BOSS", "content/images/mission/boss-powerbar.png", false},
    {"TEX_PST", "content/images/mission/portastellarum.png", false},
    {"TEX_RESTORE_RASTER", "content/images/mission/restore_raster.png", false},
    {"TEX_TOWERBUTTON_N", "content/images/game/Btntower_N.png", false},
    {"TEX_TOWERBUTTON_O", "content/images/game/Btntower_O.png", false},
    {"TEX_TOWERSELECTED", "content/images/game/towerselected.png", false},
    {"TEX_GRID", "content/images/game/grid.png", false},
    {"TEX_AIMER", "content/images/game/aimer.png", false},
    {"TEX_FG_TEST", "content/images/game/fg-test.png", false},
    {"TEX_CANT_PLACE", "content/images/game/cantplace.png", false},
    {"TEX_TOWER_OVER", "content/images/game/towerbtnover.png", false},
    {"TEX_UPGRADE_ICON", "content/images/game/UpgradeIcon.png", false},
    {"TEX_NEWGAME_BG", "content/images/game/newwavebg.png", false},
    {"TEX_UPGRADE_ICON_SMALL", "content/images/game/towerupgradeunit.png", false},
    {"TEX_PATH_ARROW", "content/images/game/patharrow.png", false},
    {"TEX_PROGRESS_ARROW", "content/images/game/progress_arrow.png", false},
    {"TEX_DIRECTION_ICON", "content/images/game/wave_direction.png", false},
    {"TEX_BOOST_BANK", "content/images/game/boost_bank.png", false},
    {"TEX_BOOST_RANGE", "content/images/game/boost_range.png", false},
    {"TEX_BOOST_POWER", "content/images/game/boost_power.png", false},
    {"TEX_DEFEAT_ICON", "content/images/game/defeat_icon.png", false},
    {"TEX_VICTORY_ICON", "content/images/game/victory_icon.png", false},
    {"TEX_T4_ROLL", "content/images/game/towers/T4_roll.png", false},
    {"TEX_T6_ROLL", "content/images/game/towers/T6_roll.png", false},
    {"TEX_T8_ROLL", "content/images/game/towers/T8_roll.png", false},
    {"TEX_T10_ROLL", "content/images/game/towers/T10_roll.png", false},
};

const std::vector<ResourceEntry> kIntro = {
    {"TEX_HUD", "content/images/intro/intro-hud.png", false},
};

// What each list made at its last registration (owned by the catalogue it
// was registered in).
std::map<std::string, Texture*> g_globalTextures;
std::map<std::string, Font*> g_globalFonts;
std::map<std::string, Texture*> g_levelTextures;
std::map<std::string, Texture*> g_introTextures;

void registerList(ResourceManager* resources, const std::vector<ResourceEntry>& list,
                  std::map<std::string, Texture*>& textures, std::map<std::string, Font*>* fonts) {
  if (!resources) return;
  for (const ResourceEntry& entry : list) {
    // Decoded when first looked up (the catalogue and the lookups below load them):
    // the title screen shows a few of these, the rest wait for the screens that do.
    // A missing file is loaded at once, so it is reported here as before rather
    // than in the middle of a later screen.
    std::optional<DeferableResource::Scope> lazily;
    if (std::filesystem::is_regular_file(entry.file)) lazily.emplace();
    if (entry.font) {
      Font* font = new AngelFont(entry.file, GL_LINEAR);
      if (!resources->registerFont(entry.key, font)) {
        delete font;
        continue;
      }
      if (fonts) (*fonts)[entry.key] = font;
      continue;
    }
    Texture* texture = resources->createTexture(entry.file);
    if (!texture) continue;
    // A key registered before now maps to the new texture; the old one stays
    // with the catalogue (widgets may still draw it) and goes with it.
    Texture* replaced = nullptr;
    if (!resources->registerTexture(entry.key, texture, &replaced)) {
      delete texture;
      continue;
    }
    if (replaced) resources->addTexture(replaced);
    textures[entry.key] = texture;
  }
}

template <typename T>
T* lookup(const std::map<std::string, T*>& made, const std::string& key) {
  auto it = made.find(key);
  T* found = it == made.end() ? nullptr : it->second;
  DeferableResource::ensureLoaded(found);
  return found;
}

}  // namespace

const std::vector<ResourceEntry>& globalResourceList() { return kGlobal; }
const std::vector<ResourceEntry>& levelResourceList() { return kLevel; }
const std::vector<ResourceEntry>& introResourceList() { return kIntro; }

void registerGlobalResources(ResourceManager* resources) {
  registerList(resources, kGlobal, g_globalTextures, &g_globalFonts);
}
void registerLevelResources(ResourceManager* resources) { registerList(resources, kLevel, g_levelTextures, nullptr); }
void registerIntroResources(ResourceManager* resources) { registerList(resources, kIntro, g_introTextures, nullptr); }

Texture* globalTexture(const std::string& key) { return lookup(g_globalTextures, key); }
Font* globalFont(const std::string& key) { return lookup(g_globalFonts, key); }
Texture* levelTexture(const std::string& key) { return lookup(g_levelTextures, key); }
Texture* introTexture(const std::string& key) { return lookup(g_introTextures, key); }
