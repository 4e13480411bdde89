// The tally of towers a level's results count.
#include "Game/LevelStats.h"

void TowerTally::uncountBuilt() {
  if (standing_ > 0) --standing_;
  if (built_ > 0) --built_;
}

void TowerTally::countSold() {
  ++sold_;
  uncountBuilt();
}
