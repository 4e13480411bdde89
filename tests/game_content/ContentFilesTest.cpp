// Checks the shipped campaign, level and entity files as data: what they name exists, the
// missions unlock in order, the placement image keeps every path clear, and no shot can
// step through the thinnest thing it has to hit.
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>
#include <tinyxml.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "FrameStep.h"
#include "Foundation/Math/QlnFunctions.h"

namespace fs = std::filesystem;
using QuillonPHX2D::Vec2;

namespace {

const std::string kRoot = STARMOOR_SOURCE_DIR;
constexpr int kMissions = 45;
constexpr int kFieldW = 1024, kFieldH = 768, kCellsX = 32, kCellsY = 24;
// How shots are fired and damped in a level: enemies fire with velocity 0.25 and a push of
// 15, patrol ships with 1.0 and 25; the level damps velocities by 0.998 per step.
constexpr float kEnemyShotVelocity = 0.25f, kEnemyShotPush = 15.0f;
constexpr float kPatrolShotVelocity = 1.0f, kPatrolShotPush = 25.0f;
constexpr float kDamping = 0.998f;
constexpr float kFastSpeedFactor = 0.36f;
// The longest frame that still steps by its length (a 16 ms frame steps less).
constexpr float kWorstFrameMs = 15.0f;

std::string full(const std::string& rel) { return kRoot + "/" + rel; }

bool load(TiXmlDocument& doc, const std::string& rel) {
  return doc.LoadFile(full(rel).c_str());
}

std::string attr(const TiXmlElement* e, const char* name) {
  const char* v = e->Attribute(name);
  return v ? v : "";
}

double num(const TiXmlElement* e, const char* name) {
  double v = 0;
  return e->QueryDoubleAttribute(name, &v) == TIXML_SUCCESS ? v : NAN;
}

std::string missionFile(int id) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "content/levels/mission_%02d.xml", id);
  return buf;
}

// A spline file sampled the way the level reads a path's centre line.
std::vector<Vec2> centreLine(const std::string& rel) {
  TiXmlDocument doc;
  if (!load(doc, rel)) return {};
  const TiXmlElement* s = doc.RootElement();
  std::vector<Vec2> pts;
  for (const TiXmlElement* c = s->FirstChildElement("ControlPoint"); c; c = c->NextSiblingElement("ControlPoint"))
    pts.push_back(Vec2(float(num(c, "x")), float(num(c, "y"))));
  EXPECT_EQ(int(num(s, "n")), int(pts.size())) << rel;
  EXPECT_LE(int(num(s, "t")) + 1, int(pts.size())) << rel;
  if (pts.size() < 2) return {};
  return QuillonPHX2D::qlnBSpline2D(int(pts.size()) - 1, int(num(s, "t")) + 1, pts.data(), int(num(s, "resolution")));
}

float length(const std::vector<Vec2>& line) {
  float sum = 0;
  for (size_t i = 1; i < line.size(); ++i) sum += std::hypot(line[i].x - line[i - 1].x, line[i].y - line[i - 1].y);
  return sum;
}

// Buildable flags of the 32 x 24 cells, sampled at each cell's centre as the level does.
std::vector<bool> buildableCells(const std::string& rel, int cellW, int cellH) {
  std::vector<bool> cells;
  SDL_Surface* raw = IMG_Load(full(rel).c_str());
  if (!raw) return cells;
  SDL_Surface* rgba = SDL_ConvertSurfaceFormat(raw, SDL_PIXELFORMAT_RGBA32, 0);
  SDL_FreeSurface(raw);
  if (!rgba) return cells;
  for (int r = 0; r < kCellsY; ++r)
    for (int c = 0; c < kCellsX; ++c) {
      int x = c * cellW + cellW / 2, y = r * cellH + cellH / 2;
      if (x >= rgba->w || y >= rgba->h) return {};
      const Uint8* px = static_cast<const Uint8*>(rgba->pixels) + y * rgba->pitch + x * 4;
      cells.push_back(px[3] != 0);
    }
  SDL_FreeSurface(rgba);
  return cells;
}

bool onField(const Vec2& p) { return p.x >= 0 && p.y >= 0 && p.x < kFieldW && p.y < kFieldH; }

}  // namespace

TEST(CampaignFiles, FortyFiveMissionsUnlockOneAfterAnother) {
  for (int id = 0; id < kMissions; ++id) {
    SCOPED_TRACE(missionFile(id));
    TiXmlDocument doc;
    ASSERT_TRUE(load(doc, missionFile(id)));
    const TiXmlElement* stage = doc.RootElement();
    ASSERT_STREQ(stage->Value(), "Stage");
    EXPECT_GE(num(stage, "music"), 0.0);
    EXPECT_EQ(attr(stage, "enabled"), id == 0 ? "true" : "false");
    const TiXmlElement* reward = stage->FirstChildElement("Reward");
    ASSERT_NE(reward, nullptr);
    ASSERT_NE(reward->FirstChildElement(), nullptr);
    EXPECT_GT(num(reward->FirstChildElement(), "amount"), 0.0);
    const TiXmlElement* unlock = stage->FirstChildElement("UnlockMissions");
    if (id == kMissions - 1) {
      EXPECT_EQ(unlock, nullptr);
    } else {
      ASSERT_NE(unlock, nullptr);
      EXPECT_EQ(attr(unlock, "missions"), std::to_string(id + 1));
    }
    char shot[64];
    std::snprintf(shot, sizeof shot, "content/images/mission/shots/mission_%02d.png", id);
    EXPECT_TRUE(fs::exists(full(shot)));
  }
}

TEST(LevelFiles, NamedFilesExistAndThePlacementImageKeepsEveryPathClear) {
  int filled = 0;
  for (int id = 0; id < kMissions; ++id) {
    SCOPED_TRACE(missionFile(id));
    TiXmlDocument doc;
    ASSERT_TRUE(load(doc, missionFile(id)));
    const TiXmlElement* stage = doc.RootElement();
    const TiXmlElement* grid = stage->FirstChildElement("Grid");
    if (!grid) continue;
    ++filled;
    ASSERT_NE(stage->FirstChildElement("InitialFunds"), nullptr);
    EXPECT_EQ(num(grid, "cellsX"), kCellsX);
    EXPECT_EQ(num(grid, "cellsY"), kCellsY);
    std::vector<bool> cells = buildableCells(attr(grid, "levelImage"), int(num(grid, "cellWidth")), int(num(grid, "cellHeight")));
    ASSERT_EQ(cells.size(), size_t(kCellsX * kCellsY)) << "placement image missing or too small";
    EXPECT_GT(std::count(cells.begin(), cells.end(), true), kCellsX * kCellsY / 3);
    for (const TiXmlElement* w = grid->FirstChildElement("ImageWidget"); w; w = w->NextSiblingElement("ImageWidget"))
      EXPECT_TRUE(fs::exists(full(attr(w, "textureFilename"))));

    std::map<std::string, std::vector<Vec2>> paths;
    for (const TiXmlElement* p = stage->FirstChildElement("Path"); p; p = p->NextSiblingElement("Path")) {
      std::vector<Vec2> line = centreLine(attr(p, "centerLine"));
      ASSERT_GT(line.size(), 2u) << attr(p, "centerLine");
      // Ships appear and leave out of sight, and never stand where a tower may be built.
      EXPECT_FALSE(onField(line.front()));
      EXPECT_FALSE(onField(line.back()));
      for (const Vec2& q : line)
        if (onField(q)) {
          EXPECT_FALSE(cells[int(q.y) / 32 * kCellsX + int(q.x) / 32]) << q.x << "," << q.y;
        }
      paths[attr(p, "id")] = line;
    }
    int killZones = 0;
    for (const TiXmlElement* z = stage->FirstChildElement("ExitZone"); z; z = z->NextSiblingElement("ExitZone")) {
      EXPECT_TRUE(fs::exists(full(attr(z, "template"))));
      if (attr(z, "template").find("killzone") != std::string::npos) ++killZones;
    }
    EXPECT_EQ(killZones, 4) << "one kill zone per field border";
    for (const TiXmlElement* part = stage->FirstChildElement("StationParts") ? stage->FirstChildElement("StationParts")->FirstChildElement("Part") : nullptr;
         part; part = part->NextSiblingElement("Part"))
      EXPECT_TRUE(fs::exists(full(attr(part, "entityFile"))));
    int waves = 0;
    for (const TiXmlElement* a = stage->FirstChildElement("Attack"); a; a = a->NextSiblingElement("Attack"), ++waves) {
      EXPECT_EQ(num(a, "id"), waves) << "attack ids run 0, 1, 2 ...";
      for (const TiXmlElement* w = a->FirstChildElement("Wave"); w; w = w->NextSiblingElement("Wave")) {
        EXPECT_TRUE(paths.count(attr(w, "pathId"))) << "wave on an unknown path";
        EXPECT_TRUE(fs::exists(full(attr(w, "enemy"))));
        EXPECT_GT(num(w, "count"), 0.0);
        EXPECT_GT(num(w, "spawnDelay"), 0.0);
        EXPECT_GT(num(w, "speed"), 0.0);
      }
    }
    EXPECT_GE(waves, 6);
  }
  EXPECT_GE(filled, 3) << "station 0's missions have contents";
}

TEST(EntityFiles, NoShotStepsThroughTheThinnestThingItMustHit) {
  struct Entity {
    std::string category, primitive, klass;
    float mass, fx, fy;
  };
  std::map<std::string, Entity> entities;
  for (const auto& f : fs::recursive_directory_iterator(full("content/config/Entities"))) {
    if (f.path().extension() != ".xml") continue;
    std::string rel = fs::relative(f.path(), kRoot).string();
    TiXmlDocument doc;
    ASSERT_TRUE(load(doc, rel)) << rel;
    const TiXmlElement* e = doc.RootElement();
    ASSERT_STREQ(e->Value(), "Entity") << rel;
    EXPECT_EQ(attr(e, "descriptionName"), "xPhysicsPrimitiveEntityDesc") << rel;
    for (const char* file : {"texturePath", "texturePathHit", "templateBullet"})
      if (!attr(e, file).empty()) {
        EXPECT_TRUE(fs::exists(full(attr(e, file)))) << rel << " " << file;
      }
    entities[rel] = {attr(e, "collisionCategory"), attr(e, "primitiveType"), attr(e, "class"),
                     float(num(e, "bodyMass")), float(num(e, "shapeFeaturesX")), float(num(e, "shapeFeaturesY"))};
  }
  auto thickness = [](const Entity& e) { return e.primitive == "circle" ? 2 * e.fx : std::min(e.fx, e.fy); };

  // The worst step: the longest frame in fast forward.
  float worstStep = 0;
  for (uint32_t ms = 0; ms <= kFrameBudgetMs; ++ms)
    worstStep = std::max(worstStep, physicsStepForFrame(ms, 1.0f / kFastSpeedFactor));
  const float worstFrameGameMs = kWorstFrameMs / kFastSpeedFactor;

  // Room a player shot has against each ship that flies: its thickness less the distance the
  // ship itself covers in that frame (lanes are taken 10 % longer than the centre line).
  float playerRoom = 1e9f;
  std::string tightest;
  for (int id = 0; id < kMissions; ++id) {
    TiXmlDocument doc;
    ASSERT_TRUE(load(doc, missionFile(id)));
    std::map<std::string, float> lengths;
    for (const TiXmlElement* p = doc.RootElement()->FirstChildElement("Path"); p; p = p->NextSiblingElement("Path"))
      lengths[attr(p, "id")] = length(centreLine(attr(p, "centerLine"))) * 1.1f;
    for (const TiXmlElement* a = doc.RootElement()->FirstChildElement("Attack"); a; a = a->NextSiblingElement("Attack"))
      for (const TiXmlElement* w = a->FirstChildElement("Wave"); w; w = w->NextSiblingElement("Wave")) {
        const Entity& ship = entities.at(attr(w, "enemy"));
        float move = lengths[attr(w, "pathId")] / float(num(w, "speed")) * worstFrameGameMs;
        if (thickness(ship) - move < playerRoom) {
          playerRoom = thickness(ship) - move;
          tightest = ship.klass;
        }
      }
  }
  ASSERT_LT(playerRoom, 1e9f) << "no waves found";
  float enemyRoom = 1e9f;
  for (const auto& [rel, e] : entities)
    if (e.category == "actor" || e.category == "station_part") enemyRoom = std::min(enemyRoom, thickness(e));

  int shots = 0;
  for (const auto& [rel, e] : entities) {
    bool player = e.category == "player_bullet";
    if (!player && e.category != "enemy_bullet") continue;
    ++shots;
    ASSERT_GT(e.mass, 0.0f) << rel;
    float v = player ? kPatrolShotVelocity : kEnemyShotVelocity;
    float push = player ? kPatrolShotPush : kEnemyShotPush;
    // The push acts in the first step only; after it damping only slows the shot.
    float move = (v * kDamping + push / e.mass * worstStep) * worstStep;
    EXPECT_LT(move, player ? playerRoom : enemyRoom)
        << rel << " moves " << move << " px per step; " << (player ? "tightest ship: " + tightest : "towers and station");
  }
  EXPECT_EQ(shots, 2);
}
