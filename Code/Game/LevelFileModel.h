#pragma once
// What the level file gives a level: its waves, the enemy paths, the field's image and
// lane markers, the wave list's preview and how the level is won or lost besides its
// waves and lives.
#include <map>
#include <string>
#include <vector>

#include "Foundation/Math/QlnMath.h"
#include "Game/Entities/enemies/WaveDescription.h"
#include "Game/GameModes.h"

class Texture;

// One wave of the level file as the heads-up display previews it.
struct EnemyCatalogueEntry {
  int attackId = -1;
  int count = 0;
  std::string className;
  int energy = 0;
  Texture* texture = nullptr;  // not owned: the resource catalogue keeps it
};

struct LevelFileModel {
  AttackMap attacks;
  std::map<int, PathDescription> paths;
  Texture* background = nullptr;  // not owned: the level's resource catalogue keeps it
  std::vector<QuillonPHX2D::Vec2> entryMarkers;
  std::vector<QuillonPHX2D::Vec2> exitMarkers;
  std::vector<EnemyCatalogueEntry> enemyCatalogue;
  int timerLimitMs = 0;
  int gameplayType = kGameplayClassic;
};
