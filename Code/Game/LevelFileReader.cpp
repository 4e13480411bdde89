// Reading a level file (root `Stage`): credits, grid, paths, exit zones, station
// parts, timer, attack waves, the tower kinds on offer, the drone stations' patrol ship,
// and in a second pass the enemy catalogue.
#include <tinyxml.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <map>

#include "AssertReport.h"
#include "GLTexture.h"
#include "Game/Entities/drones/PatrolShipEntity.h"
#include "Game/Entities/enemies/xEnemySpawner.h"
#include "Game/Entities/xExitZoneEntity.h"
#include "Game/LevelAttackPaths.h"
#include "Game/LevelScreen.h"
#include "Game/LevelSplines.h"
#include "GameApp.h"
#include "Image.h"
#include "ResourceManager.h"
#include "XmlAttributes.h"
#include "sdk/QuillonPhysicsSDK.h"

using namespace QuillonPHX2D;

namespace {

constexpr int kGridColumns = PlacementGrid::kColumns;
constexpr int kGridRows = PlacementGrid::kRows;
constexpr int kCellSize = PlacementGrid::kCellSize;
constexpr int kFieldWidth = PlacementGrid::kFieldWidth;
constexpr int kFieldHeight = PlacementGrid::kFieldHeight;
// Station-part splines are written in fractions of the field.
constexpr float kPartSplineScaleX = static_cast<float>(kFieldWidth);
constexpr float kPartSplineScaleY = static_cast<float>(kFieldHeight);
// A wave's spawn timers are told apart by (wave + 1) * 100 + record.
constexpr int kMaxRecordsPerWave = 99;
// Generous bounds on wave numbers, far from any overflow.
constexpr int kMaxCount = 100000;
constexpr int kMaxDelayMs = 3600000;
constexpr double kMaxCreditsInFile = 1.0e9;
// A wave's walk over the whole field takes at least one frame: 0 could not be
// played. A quick walk is a level maker's choice. -1 is the enemy's own pace.
constexpr int kShortestWalkMs = 16;


// The enemy paths, reversed in the reversal mode. A path that gives its ships nowhere to
// fly is left out, and why goes into gaps; a spline file that cannot be read ends the
// reading of paths.
void readPaths(const TiXmlElement* stage, const bge::XmlReader& reader, bool reversed, LevelFileModel& model,
               PathGaps& gaps) {
  for (const TiXmlElement* e = stage->FirstChildElement("Path"); e; e = e->NextSiblingElement("Path")) {
    const int id = reader.readInt(e, "id", -1);
    const std::string centerLine = reader.readString(e, "centerLine", "");
    const std::string sides = reader.readString(e, "sides", "");
    const float distance = reader.readFloat(e, "distance", 0.0f, -kFieldWidth, kFieldWidth);
    const int arrows = reader.readInt(e, "offsetArrows", 0);
    const std::string spline = "its spline \"" + centerLine + "\"";
    SplineFile file;
    if (!readSplineFile(centerLine, 1.0f, 1.0f, file)) {
      gaps.paths[id] = spline + " " + file.refusal;
      if (file.opened) {
        reportLevelContent(reader, e, gaps.paths[id] + "; the path is left out");
        continue;
      }
      reportLevelContent(reader, e, gaps.paths[id] + "; this path and the ones after it are left out");
      for (const TiXmlElement* later = e->NextSiblingElement("Path"); later; later = later->NextSiblingElement("Path")) {
        const int laterId = reader.readInt(later, "id", -1);
        if (!gaps.paths.count(laterId))
          gaps.paths[laterId] = "it comes after path " + std::to_string(id) + ", whose spline cannot be read";
      }
      return;
    }
    PathDescription path;
    std::vector<Vec2> centre = sampleSpline(file.controlPoints, file.t, file.resolution);
    if (!spansDistance(centre)) {
      gaps.paths[id] = spline + (spansDistance(file.controlPoints) ? " has resolution 1, which samples one point"
                                                                   : " has all its control points on one spot");
      reportLevelContent(reader, e, gaps.paths[id] + "; the path is left out");
      continue;
    }
    std::vector<Vec2> fine = sampleSpline(file.controlPoints, file.t, kFineSamples);
    if (reversed) {
      std::reverse(centre.begin(), centre.end());
      std::reverse(fine.begin(), fine.end());
    }
    path.points[PathDescription::Centre] = centre;
    path.finePoints[PathDescription::Centre] = fine;
    path.arrows[PathDescription::Centre] = arrows;
    gaps.sides.erase(id);
    const bool left = sides == "LEFT" || sides == "BOTH";
    const bool right = sides == "RIGHT" || sides == "BOTH";
    for (int lane : {PathDescription::Left, PathDescription::Right}) {
      if ((lane == PathDescription::Left && !left) || (lane == PathDescription::Right && !right)) continue;
      const std::vector<Vec2> offset =
          offsetControlPolygon(file.controlPoints, lane == PathDescription::Left ? distance : -distance);
      if (offset.empty()) {
        gaps.sides[id] = "two control points in a row of " + spline + " lie on one spot, giving no side to offset to";
        reportLevelContent(reader, e, gaps.sides[id] + "; its side lines are left out");
        break;
      }
      std::vector<Vec2> side = sampleSpline(offset, file.t, file.resolution);
      if (reversed) std::reverse(side.begin(), side.end());
      path.points[lane] = side;
    }
    model.paths[id] = path;
  }
}

void readExitZones(const TiXmlElement* stage, const bge::XmlReader& reader, SceneEntityManager& scene) {
  for (const TiXmlElement* e = stage->FirstChildElement("ExitZone"); e; e = e->NextSiblingElement("ExitZone")) {
    xExitZoneEntityDesc desc;
    const std::string templ = reader.readString(e, "template", "");
    // The area's x and y are the zone's centre; its width is a circular zone's radius.
    const Rect5 area = reader.readRect(e, "area", Rect5(0.0f, 0.0f, 1.0f, 1.0f));
    if (!desc.loadFromFile(templ) || !desc.complete) {
      reader.warn(e, "the exit zone's template did not load; the zone is left out");
      continue;
    }
    desc.areaX = area.x;
    desc.areaY = area.y;
    desc.areaWidth = area.width;
    desc.areaHeight = area.height;
    if (!(area.width > 0.0f) || !(area.height > 0.0f)) {
      reader.warn(e, "an exit zone needs a positive size; it is made 1 x 1");
      desc.areaWidth = desc.areaHeight = 1.0f;
    }
    desc.sceneEntityManager = &scene;
    auto* zone = g_ptrSDK ? dynamic_cast<xSharkEntity*>(g_ptrSDK->createEntity(&desc)) : nullptr;
    if (zone) scene.addEntity(zone, true);
  }
}

void readStationParts(const TiXmlElement* stage, const bge::XmlReader& reader, SceneEntityManager& scene) {
  const TiXmlElement* parts = stage->FirstChildElement("StationParts");
  if (!parts) return;
  for (const TiXmlElement* e = parts->FirstChildElement("Part"); e; e = e->NextSiblingElement("Part")) {
    xSimpleEnemyDesc desc;
    const std::string file = reader.readString(e, "entityFile", "");
    const float x = reader.readFloat(e, "x", 0.0f, -1.0e5f, 1.0e5f);
    const float y = reader.readFloat(e, "y", 0.0f, -1.0e5f, 1.0e5f);
    const float angle = reader.readFloat(e, "angle", 0.0f, -360.0f, 360.0f);
    const float angVel = reader.readFloat(e, "angVel", 0.0f, -3600.0f, 3600.0f);
    const std::string splinePath = reader.readString(e, "spline", "");
    const int delay = reader.readInt(e, "delay", 0, -1, kMaxDelayMs);
    std::vector<Vec2> walk;
    if (!splinePath.empty()) {
      SplineFile spline;
      if (!readSplineFile(splinePath, kPartSplineScaleX, kPartSplineScaleY, spline)) {
        const std::string why = "its spline \"" + splinePath + "\" " + spline.refusal;
        if (!spline.opened) {
          reportLevelContent(reader, e, why + "; this part and the ones after it are left out");
          return;
        }
        reportLevelContent(reader, e, why + "; the part is left out");
        continue;
      }
      walk = sampleSpline(spline.controlPoints, spline.t, spline.resolution);
    }
    if (!desc.loadFromFile(file) || !desc.complete) {
      reader.warn(e, "the station part's entity file did not load; the part is left out");
      continue;
    }
    desc.sceneEntityManager = &scene;
    auto* part = g_ptrSDK ? dynamic_cast<xSimpleEnemy*>(g_ptrSDK->createEntity(&desc)) : nullptr;
    if (!part) continue;
    part->setAbsPlacement(Vec3(x, y, qlnDegToRad(angle)));
    scene.addEntity(part, true);
    if (angVel != 0.0f) part->setRotationSpeed(qlnDegToRad(angVel));
    if (!walk.empty()) part->followPath(walk, delay);
  }
}

// The waves are the attacks 0, 1, 2 ... in turn up to the first id missing: an attack
// of any other id would never come, so it is named and left out, and the wave count
// and the preview show only what is played.
void keepPlayedAttacks(const bge::XmlReader& reader, LevelFileModel& model, AttackElements& elements) {
  int played = 0;
  while (model.attacks.count(played)) ++played;
  for (auto it = elements.attacks.begin(); it != elements.attacks.end();) {
    const auto [id, element] = *it;
    if (id >= 0 && id < played) {
      ++it;
      continue;
    }
    reader.warn(element, "attack " + std::to_string(id) + " is left out: the waves play attacks 0, 1, 2 ... in turn" +
                             (id < 0 ? std::string(", and a negative id is none of them")
                                     : ", and there is no attack " + std::to_string(played)));
    model.attacks.erase(id);
    elements.waves.erase(id);
    it = elements.attacks.erase(it);
  }
}

void readAttacks(const TiXmlElement* stage, const bge::XmlReader& reader, LevelFileModel& model,
                 AttackElements& elements) {
  for (const TiXmlElement* a = stage->FirstChildElement("Attack"); a; a = a->NextSiblingElement("Attack")) {
    const int id = reader.readInt(a, "id", -1);
    std::vector<WaveDescription> records;
    std::vector<const TiXmlElement*> waves;
    for (const TiXmlElement* w = a->FirstChildElement("Wave"); w; w = w->NextSiblingElement("Wave")) {
      if (static_cast<int>(records.size()) >= kMaxRecordsPerWave) {
        reader.warn(w, "an attack holds at most 99 waves; the rest are left out");
        break;
      }
      WaveDescription r;
      r.id = reader.readInt(w, "id", -1);
      r.pathId = reader.readInt(w, "pathId", -1);
      r.count = reader.readInt(w, "count", -1, -1, kMaxCount);
      r.spawnDelay = reader.readInt(w, "spawnDelay", -1, -1, kMaxDelayMs);
      r.speed = reader.readString(w, "speed", "") == "-1" ? -1 : reader.readInt(w, "speed", -1, kShortestWalkMs, kMaxDelayMs);
      r.pathSubId = reader.readString(w, "pathSubId", r.pathSubId);
      r.enemy = reader.readString(w, "enemy", r.enemy);
      records.push_back(r);
      waves.push_back(w);
    }
    auto it = model.attacks.find(id);
    if (it != model.attacks.end()) {
      reader.warn(a, "attack " + std::to_string(id) + " is given twice; the first stands");
      continue;
    }
    model.attacks.emplace(id, std::move(records));
    elements.attacks.emplace(id, a);
    elements.waves.emplace(id, std::move(waves));
  }
  keepPlayedAttacks(reader, model, elements);
}

void readEnemyCatalogue(const xEnemySpawner* spawner, LevelFileModel& model) {
  // The spawner has read and scaled every wave's enemy file already; the
  // preview shows what it will send, and a bad value is reported once, there.
  model.enemyCatalogue.clear();
  if (!spawner) return;
  for (const auto& attack : spawner->attacks()) {
    for (const WaveDescription& record : attack.second) {
      EnemyCatalogueEntry entry;
      entry.attackId = attack.first;
      entry.count = record.count;
      entry.className = record.enemyDesc.className;
      entry.energy = record.enemyDesc.energy;
      const std::string& texturePath = record.enemyDesc.texturePath;
      if (!texturePath.empty() && texturePath != "NONE")
        entry.texture = obtainEntityTexture(texturePath, GLTexture::kLinear);
      model.enemyCatalogue.push_back(entry);
    }
  }
}

}  // namespace

bool LevelScreen::loadLevel() {
  // Each refusal says why in words that follow the file's name, for whoever opened it.
  refusal_.clear();
  bge::XmlReader reader(levelFile_);
  TiXmlDocument doc;
  if (!reader.load(doc)) {
    refusal_ = "cannot be read";
    return false;
  }
  const TiXmlElement* stage = reader.root(doc, "Stage");
  if (!stage) {
    refusal_ = "has no <Stage> root";
    return false;
  }

  const TiXmlElement* funds = stage->FirstChildElement("InitialFunds");
  if (!funds) {
    refusal_ = "has no <InitialFunds>";
    return false;
  }
  const double credits = reader.readDouble(funds, "credits", 0.0, 0.0, kMaxCreditsInFile);
  economy_.setStartingCredits(credits);
  readTowers(stage, reader);

  const TiXmlElement* grid = stage->FirstChildElement("Grid");
  if (!grid) {
    refusal_ = "has no <Grid>";
    return false;
  }
  if (!readGrid(grid, reader)) return false;
  PathGaps pathGaps;
  readPaths(stage, reader, gameMode_ == MODE_REVERSAL, model_, pathGaps);
  readExitZones(stage, reader, *this);
  readStationParts(stage, reader, *this);

  if (const TiXmlElement* timer = stage->FirstChildElement("Timer")) {
    model_.timerLimitMs = reader.readInt(timer, "delay", 0, 0, INT_MAX / 1000) * 1000;
    model_.gameplayType = kGameplayTimer;
  }
  AttackElements attackElements;
  readAttacks(stage, reader, model_, attackElements);
  const std::string grounded = keepFlyableAttacks(attackElements, pathGaps, reader, model_);
  spawner_.reset();
  spawner_ = std::make_unique<xEnemySpawner>(model_.attacks, this, gameMode_ == MODE_ENDLESS);
  flow_.followSpawner(*spawner_);

  if (const TiXmlElement* force = stage->FirstChildElement("ForceGameplayType")) {
    const std::string type = reader.readString(force, "type", "");
    if (type == "CLASSIC") model_.gameplayType = kGameplayClassic;
    else if (type == "STATION_PART_STATIC") model_.gameplayType = kGameplayStationStatic;
    else if (type == "STATION_PART_MOVING") model_.gameplayType = kGameplayStationMoving;
    else if (type == "TIMER") model_.gameplayType = kGameplayTimer;
  }
  readEnemyCatalogue(spawner_.get(), model_);
  // Played, a level without a wave would be won by the first wave sent.
  if (model_.attacks.empty())
    refusal_ = grounded.empty() ? "has no attack 0, where the waves start"
                                : "has no attack whose ships have a path to fly (" + grounded + ")";
  return true;
}

bool LevelScreen::readGrid(const TiXmlElement* grid, const bge::XmlReader& reader) {
  int cellsX = reader.readInt(grid, "cellsX", 0);
  int cellsY = reader.readInt(grid, "cellsY", 0);
  const int cellW = reader.readInt(grid, "cellWidth", kCellSize, 1, kFieldWidth);
  const int cellH = reader.readInt(grid, "cellHeight", kCellSize, 1, kFieldHeight);
  if (cellsX != kGridColumns || cellsY != kGridRows) {
    // Placement, drawing and the towers all index a 32 x 24 grid.
    reader.warn(grid, "the grid must be 32 x 24 cells; it is read as 32 x 24");
    cellsX = kGridColumns;
    cellsY = kGridRows;
  }
  const std::string imagePath = reader.readString(grid, "levelImage", "");
  if (imagePath.empty()) {
    refusal_ = "names no levelImage in its <Grid>";
    return false;
  }
  GLTexture* ptrGridTex = new GLTexture(imagePath, nullptr, GLTexture::KeepImage, GLTexture::kLinear);
  Image* ptrImage = ptrGridTex->getImage();
  if (!ptrImage) {
    refusal_ = "has a level image \"" + imagePath + "\" without pixels";
    delete ptrGridTex;
    return false;
  }
  std::vector<int> cells;
  cells.reserve(static_cast<size_t>(cellsX) * cellsY);
  for (int r = 0; r < cellsY; ++r) {
    for (int c = 0; c < cellsX; ++c) {
      const int x = c * cellW + cellW / 2;
      const int y = r * cellH + cellH / 2;
      const bool open = ptrImage->contains(x, y) && ptrImage->getPixel(x, y).a != 0;
      cells.push_back(open ? PlacementGrid::kFree : PlacementGrid::kForbidden);
    }
  }
  grid_.assign(std::move(cells));
  delete ptrGridTex;

  if (const TiXmlElement* widget = grid->FirstChildElement("ImageWidget")) {
    const std::string name = reader.readString(widget, "textureFilename", "");
    // The picture belongs to this level: kept in the level's own catalogue, it goes with
    // the level instead of staying in the process for every background ever visited.
    ResourceManager* resources = getResourceManager();
    if (!name.empty() && resources) {
      model_.background = resources->findTexture(name);
      if (!model_.background) {
        model_.background = resources->createTexture(name);
        resources->registerTexture(name, model_.background);
      }
    }
  }
  return true;
}

void LevelScreen::readTowers(const TiXmlElement* stage, const bge::XmlReader& reader) {
  towerDescriptions_.clear();
  auto load = [&](int typeId) {
    const char* file = towerKindFile(typeId);
    auto kind = towerKinds_.find(typeId);
    if (!file || kind == towerKinds_.end()) return;
    xBaseTowerDesc* desc = kind->second.get();
    desc->sceneEntityManager = this;
    if (!desc->complete) desc->loadFromFile(file);
    towerDescriptions_.push_back(desc);
  };
  const TiXmlElement* towers = stage->FirstChildElement("Towers");
  if (!towers || gameMode_ == MODE_ALLTOWERS) {
    for (const TowerKindFile& kind : towerKindFiles()) load(kind.typeId);
    return;
  }
  for (const TiXmlElement* t = towers->FirstChildElement("Tower"); t; t = t->NextSiblingElement("Tower"))
    load(reader.readInt(t, "typeId", -1));
}

void LevelScreen::loadPatrolShips() {
  auto ship = std::make_unique<xPatrolShipDesc>();
  ship->sceneEntityManager = this;
  ship->loadFromFile(xPatrolShipDesc::kFile);
  shipDescs_.push_back(std::move(ship));
}

void LevelScreen::buildPathMarkers() {
  model_.entryMarkers.clear();
  model_.exitMarkers.clear();
  auto onScreen = [](const Vec2& p) {
    const int x = static_cast<int>(p.x), y = static_cast<int>(p.y);
    return x >= 0 && y >= 0 && x < kFieldWidth && y < kFieldHeight;
  };
  for (const auto& path : model_.paths) {
    for (const auto& lane : path.second.points) {
      const std::vector<Vec2>& list = lane.second;
      size_t i = 0;
      while (i < list.size() && !onScreen(list[i])) ++i;
      if (i == list.size()) continue;
      model_.entryMarkers.push_back(list[i]);
      while (i < list.size() && onScreen(list[i])) ++i;
      if (i < list.size()) model_.exitMarkers.push_back(list[i]);
    }
  }
}

PathDescription LevelScreen::getPathDescription(int pathId) const {
  auto it = model_.paths.find(pathId);
  return it == model_.paths.end() ? PathDescription() : it->second;
}
