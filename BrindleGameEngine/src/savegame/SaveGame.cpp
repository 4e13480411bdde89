#include "SaveGame.h"

#include "AssertReport.h"
#include "SaveGameEntry.h"

SaveGame::SaveGame() = default;

SaveGame::~SaveGame() = default;

void SaveGame::addEntry(const std::string& name, SaveGameEntry* entry) {
  auto it = entryMap_.find(name);
  if (it != entryMap_.end()) {
    BGE_REPORT(false);
    if (it->second.get() != entry) it->second.reset(entry);
    return;
  }
  entryMap_[name].reset(entry);
}

SaveGameEntry* SaveGame::findEntry(const std::string& name) const {
  auto sgIter = entryMap_.find(name);
  if (!BGE_REPORT(sgIter != entryMap_.end())) return nullptr;
  return sgIter->second.get();
}
