#pragma once
#include <string>

class Font;
class ResourceManager;

// The game's bitmap fonts: the ids layouts and screens name them by, and the
// files they are made from. The application registers all of them in its
// global catalogue at start-up.
struct GameFont {
  const char* id;
  const char* file;
};
constexpr GameFont kGameFonts[] = {
    {"FONT_NOTOSANS16", "content/fonts/NotoSans16.fnt"},
    {"FONT_NOTOSANS20", "content/fonts/NotoSans20.fnt"},
    {"FONT_NOTOSANS24", "content/fonts/NotoSans24.fnt"},
    {"FONT_NOTOSANS46", "content/fonts/NotoSans46.fnt"},
};

// The font of the id as layout widgets find it (the given catalogue's own,
// else the application's global one); failing both, one of the game's fonts
// is loaded and registered in the given catalogue, which then owns it. Null
// for an id the table does not know or without a catalogue to keep it in.
Font* findOrLoadFont(ResourceManager* resources, const std::string& id);

// Every font of the table, found or loaded into the catalogue.
void loadGameFonts(ResourceManager* resources);
