#pragma once
#include <memory>
#include <vector>

class xBaseTowerDesc;

// The closed list of tower kinds a level file can name by typeId (11 and 12 name none).
struct TowerKindFile {
  int typeId;
  const char* file;
};

// Every kind in typeId order: the order of a level that lists no towers.
const std::vector<TowerKindFile>& towerKindFiles();

// The file of one kind, or null when the typeId names no tower.
const char* towerKindFile(int typeId);

// A fresh, unloaded description object of the class that builds this kind of tower;
// null when the typeId names no tower or the kind is not in the game.
std::unique_ptr<xBaseTowerDesc> makeTowerDescription(int typeId);
