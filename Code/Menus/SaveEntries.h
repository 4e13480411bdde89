#pragma once
#include <string>

#include "GameApp.h"
#include "GenericEntry.h"
#include "SaveGame.h"

class Profile;

// The settings screens read and write the save game's entries in place; each
// is looked up by key when needed, so a screen keeps nothing that could go
// stale. Null without an application, a save game or an entry of that type.
inline GenericEntry<int>* findIntEntry(GameApp* app, const std::string& key) {
  SaveGame* save = app ? app->getSaveGame() : nullptr;
  return save ? save->findEntryAs<GenericEntry<int>>(key) : nullptr;
}

Profile* findProfile(GameApp* app);
