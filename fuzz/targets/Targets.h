#pragma once
// Every reader of outside data, one entry each. The fuzzer builds one program
// per entry; the regression suite replays kept inputs through the same entries.
#include <cstddef>
#include <cstdint>

#define STARMOOR_FUZZ_TARGETS(X)                          \
  X(app_config, fuzzAppConfig)                            \
  X(config_file, fuzzConfigFile)                          \
  X(display_configurations, fuzzDisplayConfigurations)    \
  X(shader_list, fuzzShaderList)                          \
  X(angel_font, fuzzAngelFont)                            \
  X(screen_layout, fuzzScreenLayout)                      \
  X(dialog, fuzzDialog)                                   \
  X(animation, fuzzAnimation)                             \
  X(static_image_logo, fuzzStaticImageLogo)               \
  X(particle_element, fuzzParticleElement)                \
  X(strings_file, fuzzStringsFile)                        \
  X(sfx_catalogue, fuzzSfxCatalogue)                      \
  X(music_catalogue, fuzzMusicCatalogue)                  \
  X(save_file, fuzzSaveFile)                              \
  X(gamepad_mapping, fuzzGamepadMapping)                  \
  X(image_file, fuzzImageFile)                            \
  X(entity_file, fuzzEntityFile)                          \
  X(level_file, fuzzLevelFile)                            \
  X(station_list, fuzzStationList)                        \
  X(station_file, fuzzStationFile)                        \
  X(mission_level_info, fuzzMissionLevelInfo)             \
  X(collision_categories, fuzzCollisionCategories)        \
  X(materials, fuzzMaterials)                             \
  X(side_files, fuzzSideFiles)                            \
  X(store_file, fuzzStoreFile)                            \
  X(menu_screens, fuzzMenuScreens)                        \
  X(game_screens, fuzzGameScreens)

namespace fuzz {
#define STARMOOR_DECLARE_FUZZ_TARGET(name, function) void function(const uint8_t* data, size_t size);
STARMOOR_FUZZ_TARGETS(STARMOOR_DECLARE_FUZZ_TARGET)
#undef STARMOOR_DECLARE_FUZZ_TARGET
}  // namespace fuzz
