#include "SaveGame.h"

#include "AssertReport.h"
#include "SaveGameEntry.h"

SaveGame::~SaveGame() {
  for (auto& item : entryMap_) delete item.second;
  entryMap_.clear();
}

void SaveGame::addEntry(const std::string& name, SaveGameEntry* entry) {
  auto it = entryMap_.find(name);
  if (it != entryMap_.end()) {
    BGE_REPORT(false);
    if (it->second != entry) delete it->second;
    it->second = entry;
    return;
  }
  entryMap_[name] = entry;
}

SaveGameEntry* SaveGame::findEntry(const std::string& name) const {
  auto sgIter = entryMap_.find(name);
  if (!BGE_REPORT(sgIter != entryMap_.end())) return nullptr;
  return sgIter->second;
}
