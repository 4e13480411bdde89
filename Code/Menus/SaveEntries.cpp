#include "Menus/SaveEntries.h"

#include "Profile/Profile.h"

Profile* findProfile(GameApp* app) {
  SaveGame* save = app ? app->getSaveGame() : nullptr;
  return save ? save->findEntryAs<Profile>("PLAYER_PROFILE") : nullptr;
}
