#include "Menus/SaveEntries.h"

#include "Profile/Profile.h"

Profile* findProfile(GameApp* app) {
  SaveGame* save = app ? app->getSaveGame() : nullptr;
  // A level played without a player (the level runner's) has no profile; that
  // is no failed lookup to report.
  return save && save->hasEntry("PLAYER_PROFILE") ? save->findEntryAs<Profile>("PLAYER_PROFILE") : nullptr;
}
