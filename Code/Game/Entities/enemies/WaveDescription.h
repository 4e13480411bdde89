#pragma once
#include <map>
#include <string>
#include <vector>

#include "Foundation/Math/QlnMath.h"
#include "Game/Entities/enemies/SimpleEnemyEntity.h"

// One spawn record of an attack wave, as the level file's `Wave` element gives it.
class WaveDescription {
 public:
  virtual ~WaveDescription() = default;

  int id = -1;
  int pathId = -1;
  std::string pathSubId;  // empty: the centre line; "LEFT" or "RIGHT": a side line
  std::string enemy;      // the enemy's entity description file
  int count = -1;
  int spawnDelay = -1;  // ms
  int speed = -1;       // ms for one whole walk; -1: the enemy's own
  xSimpleEnemyDesc enemyDesc;  // loaded from `enemy` by the spawner
};

// One enemy path: its lanes sampled at the spline's resolution, the centre line
// sampled finely, and the arrow setting. Lanes: 0 centre, 1 LEFT, 2 RIGHT.
class PathDescription {
 public:
  enum Lane { Centre = 0, Left = 1, Right = 2 };

  virtual ~PathDescription() = default;

  // A copy of the lane's points; empty when the path has no such lane.
  std::vector<QuillonPHX2D::Vec2> pointsForSide(int lane) const;

  std::map<int, int> arrows;
  std::map<int, std::vector<QuillonPHX2D::Vec2>> points;
  std::map<int, std::vector<QuillonPHX2D::Vec2>> finePoints;
};

using AttackMap = std::map<int, std::vector<WaveDescription>>;
